#include <gtest/gtest.h>

#include "edit/deletion.h"
#include "level/zr3level.h"
#include "support/edit_checks.h"
#include "support/edit_levels.h"

using zr3::Category;
using zr3::CheckDeletion;
using zr3::DeleteRecord;
using zr3test::LoadItems;
using zr3test::Names;

namespace {

const zr3::ZR3ChainRecord& Item(const zr3::ZR3Level& level, std::size_t index) {
  return level.At<zr3::ZR3ChainRecord>(Category::Items, index);
}

}  // namespace

TEST(Deletion, ARecordNothingRefersToIsConfirmedAndRemoved) {
  zr3::ZR3Level level;
  zr3test::LoadSample(level);
  const zr3::DeletionCheck check = CheckDeletion(level, Category::Items, 1);
  EXPECT_TRUE(check.Allowed());
  EXPECT_EQ(check.confirmation, "Delete Shield?");
  const zr3::DeletionResult result = DeleteRecord(level, Category::Items, 1);
  ASSERT_TRUE(result.Deleted());
  EXPECT_EQ(result.removed->Name(), "Shield");
  EXPECT_EQ(Names(level, Category::Items), (std::vector<std::string>{"Sword"}));
  EXPECT_TRUE(level.Modified());
}

TEST(Deletion, AReferredRecordIsRefusedAndNothingChanges) {
  zr3::ZR3Level level;
  zr3test::LoadSample(level);
  const zr3::DeletionCheck check = CheckDeletion(level, Category::Items, 0);
  EXPECT_EQ(check.refusal, "Cannot delete item while other items\nstill refer to it.");
  EXPECT_EQ(check.referrer, "Shop: Store");
  EXPECT_FALSE(DeleteRecord(level, Category::Items, 0).Deleted());
  EXPECT_EQ(Names(level, Category::Items), (std::vector<std::string>{"Sword", "Shield"}));
  EXPECT_FALSE(level.Modified());
}

TEST(Deletion, ASpellLearningItselfGoesWhileOneLearntByAnotherStays) {
  zr3::ZR3Level level;
  zr3test::LoadSample(level);
  EXPECT_EQ(CheckDeletion(level, Category::Spells, 1).referrer, "Spell: Teacher");
  EXPECT_FALSE(DeleteRecord(level, Category::Spells, 1).Deleted());
  ASSERT_TRUE(DeleteRecord(level, Category::Spells, 0).Deleted());
  EXPECT_EQ(Names(level, Category::Spells), (std::vector<std::string>{"Taught", "Teacher"}));
  EXPECT_TRUE(zr3test::ListIsConsistent(level, Category::Spells));
}

TEST(Deletion, TheLastRecordAndTheFixedTablesStay) {
  zr3::ZR3Level level;
  LoadItems(level, {"Only"});
  EXPECT_EQ(CheckDeletion(level, Category::Items, 0).refusal,
            "Cannot delete the last record of Items");
  EXPECT_EQ(CheckDeletion(level, Category::Groups, 3).refusal,
            "Groups is a fixed table: its records cannot be deleted");
  EXPECT_FALSE(DeleteRecord(level, Category::Flags, 0).Deleted());
  EXPECT_EQ(level.List(Category::Flags).size(), 256u);
  EXPECT_EQ(level.List(Category::Items).size(), 1u);
  EXPECT_FALSE(level.Modified());
}

TEST(Deletion, TheRecordsBehindMoveUpAndTheGapCloses) {
  zr3::ZR3Level level;
  LoadItems(level, {"P0", "P1", "P2", "P3", "P4", "P5"});
  const zr3::ZR3ChainRecord* formerFour = &Item(level, 4);
  ASSERT_TRUE(DeleteRecord(level, Category::Items, 3).Deleted());
  EXPECT_EQ(Names(level, Category::Items),
            (std::vector<std::string>{"P0", "P1", "P2", "P4", "P5"}));
  EXPECT_EQ(Item(level, 2).Next(), formerFour);
  EXPECT_EQ(formerFour->Prev(), &Item(level, 2));
  EXPECT_EQ(formerFour->Position(), 3);
  EXPECT_EQ(formerFour->LoadPosition(), 4);
  EXPECT_TRUE(zr3test::ListIsConsistent(level, Category::Items));

  zr3::ZR3Level reloaded;
  reloaded.LoadFromBytes(level.SaveToBytes());
  EXPECT_EQ(Names(reloaded, Category::Items), Names(level, Category::Items));
  EXPECT_TRUE(zr3test::StoredChainIsUnbroken(reloaded, Category::Items));
}

TEST(Deletion, TheEndsOfTheListLoseTheirNeighbour) {
  zr3::ZR3Level level;
  LoadItems(level, {"First", "Second", "Third", "Fourth"});
  ASSERT_TRUE(DeleteRecord(level, Category::Items, 3).Deleted());
  EXPECT_EQ(Item(level, 2).Next(), nullptr);
  ASSERT_TRUE(DeleteRecord(level, Category::Items, 0).Deleted());
  EXPECT_EQ(Item(level, 0).Name(), "Second");
  EXPECT_EQ(Item(level, 0).Prev(), nullptr);
  EXPECT_EQ(Item(level, 0).Position(), 0);
  EXPECT_EQ(Item(level, 0).LoadPosition(), 1);
  EXPECT_TRUE(zr3test::ListIsConsistent(level, Category::Items));
}
