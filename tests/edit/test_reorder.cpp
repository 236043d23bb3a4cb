#include <gtest/gtest.h>

#include "edit/reorder.h"
#include "level/zr3level.h"
#include "support/edit_checks.h"
#include "support/edit_levels.h"

using zr3::Category;
using zr3::MoveDirection;
using zr3::MoveRecord;
using zr3test::ListIsConsistent;
using zr3test::LoadItems;
using zr3test::Names;

namespace {

const zr3::ZR3ChainRecord& Item(const zr3::ZR3Level& level, std::size_t index) {
  return level.At<zr3::ZR3ChainRecord>(Category::Items, index);
}

}  // namespace

TEST(Reorder, UpExchangesTheRecordWithItsPredecessorAndRelinksAround) {
  zr3::ZR3Level level;
  LoadItems(level, {"A", "B", "C"});
  const zr3::MoveResult result = MoveRecord(level, Category::Items, 1, MoveDirection::Up);
  ASSERT_TRUE(result.Moved()) << result.refusal;
  EXPECT_EQ(result.from, 1u);
  EXPECT_EQ(result.to, 0u);
  EXPECT_EQ(Names(level, Category::Items), (std::vector<std::string>{"B", "A", "C"}));
  const auto& b = Item(level, 0);
  const auto& a = Item(level, 1);
  const auto& c = Item(level, 2);
  EXPECT_EQ(b.Prev(), nullptr);
  EXPECT_EQ(b.Next(), &a);
  EXPECT_EQ(a.Prev(), &b);
  EXPECT_EQ(a.Next(), &c);
  EXPECT_EQ(c.Prev(), &a);
  EXPECT_EQ(c.Next(), nullptr);
  EXPECT_TRUE(ListIsConsistent(level, Category::Items));
  EXPECT_TRUE(level.Modified());
}

TEST(Reorder, DownInTheMiddleOfALongListRelinksBothSidesOfThePair) {
  zr3::ZR3Level level;
  LoadItems(level, {"A", "B", "C", "D", "E"});
  ASSERT_TRUE(MoveRecord(level, Category::Items, 1, MoveDirection::Down).Moved());
  EXPECT_EQ(Names(level, Category::Items), (std::vector<std::string>{"A", "C", "B", "D", "E"}));
  EXPECT_TRUE(ListIsConsistent(level, Category::Items));
}

TEST(Reorder, NothingHappensAtTheEndsOrInFixedTables) {
  zr3::ZR3Level level;
  LoadItems(level, {"A", "B", "C"});
  EXPECT_FALSE(MoveRecord(level, Category::Items, 0, MoveDirection::Up).Moved());
  EXPECT_FALSE(MoveRecord(level, Category::Items, 2, MoveDirection::Down).Moved());
  const zr3::MoveResult flag = MoveRecord(level, Category::Flags, 3, MoveDirection::Down);
  EXPECT_EQ(flag.refusal, "Flags is a fixed table: its records cannot be moved");
  EXPECT_EQ(Names(level, Category::Items), (std::vector<std::string>{"A", "B", "C"}));
  EXPECT_FALSE(level.Modified());
}

TEST(Reorder, SavingAfterAMoveWritesTheNewOrderAsAnUnbrokenChain) {
  zr3::ZR3Level level;
  LoadItems(level, {"A", "B", "C", "D"});
  ASSERT_TRUE(MoveRecord(level, Category::Items, 3, MoveDirection::Up).Moved());
  ASSERT_TRUE(MoveRecord(level, Category::Items, 0, MoveDirection::Down).Moved());
  zr3::ZR3Level reloaded;
  reloaded.LoadFromBytes(level.SaveToBytes());
  EXPECT_EQ(Names(reloaded, Category::Items), (std::vector<std::string>{"B", "A", "D", "C"}));
  EXPECT_TRUE(zr3test::StoredChainIsUnbroken(reloaded, Category::Items));
}
