#include <gtest/gtest.h>

#include "edit/copy.h"
#include "edit/references.h"
#include "level/zr3error.h"
#include "level/zr3level.h"
#include "support/edit_checks.h"
#include "support/edit_levels.h"
#include "support/stand_in_record.h"

using zr3::Category;
using zr3::CopyRecord;
using zr3test::Names;

TEST(Copy, AppendsTheCopyAfterTheLastRecordWithItsNeighbours) {
  zr3::ZR3Level level;
  zr3test::LoadItems(level, {"One", "Two", "Three"});
  const zr3::CopyResult result = CopyRecord(level, Category::Items, 2);
  ASSERT_TRUE(result.Copied()) << result.refusal;
  EXPECT_EQ(result.category, Category::Items);
  EXPECT_EQ(result.index, 3u);
  EXPECT_EQ(result.name, "Three");
  EXPECT_EQ(Names(level, Category::Items),
            (std::vector<std::string>{"One", "Two", "Three", "Three"}));
  const auto& third = level.At<zr3::ZR3ChainRecord>(Category::Items, 2);
  const auto& copy = level.At<zr3::ZR3ChainRecord>(Category::Items, 3);
  EXPECT_EQ(third.Next(), &copy);
  EXPECT_EQ(copy.Prev(), &third);
  EXPECT_EQ(copy.Next(), nullptr);
  EXPECT_EQ(copy.Position(), 3);
  EXPECT_EQ(copy.StoredId(), third.StoredId());
  EXPECT_TRUE(level.Modified());
}

TEST(Copy, TheCopySharesTheReferencesOfItsSource) {
  zr3::ZR3Level level;
  zr3test::LoadSample(level);
  ASSERT_TRUE(CopyRecord(level, Category::Monsters, 0).Copied());
  ASSERT_TRUE(CopyRecord(level, Category::Shops, 0).Copied());
  EXPECT_EQ(zr3::SearchReferences(level, Category::Items, 0),
            (zr3::Lines{"Search results for Sword", "", "Shop: Store", "Shop: Store",
                        "Monster: Orc", "Monster: Orc"}));
}

TEST(Copy, RefusesFixedTablesFullListsAndOtherTargetsButSetsTheModifiedFlag) {
  zr3::ZR3Level level;
  zr3test::LoadItems(level, {"One"});
  const zr3::CopyResult flag = CopyRecord(level, Category::Flags, 0);
  EXPECT_EQ(flag.refusal, "Flags is a fixed table: its records cannot be copied");
  EXPECT_EQ(level.List(Category::Flags).size(), 256u);
  EXPECT_TRUE(level.Modified());

  EXPECT_FALSE(CopyRecord(level, Category::Items, 0, Category::Spells).Copied());
  EXPECT_EQ(level.List(Category::Spells).size(), 0u);

  for (std::size_t i = level.List(Category::Items).size(); i < zr3::ZR3Level::kMaxRecords; ++i) {
    zr3test::AddStandIn(level, Category::Items, 0, "Filler");
  }
  const zr3::CopyResult full = CopyRecord(level, Category::Items, 0);
  EXPECT_EQ(full.refusal,
            "Cannot copy: Items already holds 65535 records, the most a level file can hold");
  EXPECT_EQ(level.List(Category::Items).size(), zr3::ZR3Level::kMaxRecords);
}
