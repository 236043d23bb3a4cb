#include <gtest/gtest.h>

#include "edit/deletion.h"
#include "edit/references.h"
#include "level/zr3level.h"
#include "support/edit_levels.h"
#include "support/stand_in_record.h"

using zr3::Category;
using zr3::Lines;
using zr3::SearchReferences;
using zr3test::LoadSample;

TEST(ReferenceSearch, ARecordNothingRefersToGivesTheHeadingAndAnEmptyLine) {
  zr3::ZR3Level level;
  LoadSample(level);
  EXPECT_EQ(SearchReferences(level, Category::Items, 1), (Lines{"Search results for Shield", ""}));
  EXPECT_EQ(SearchReferences(level, Category::Flags, 7), (Lines{"Search results for ", ""}));
}

TEST(ReferenceSearch, ListsEveryReferrerOnceInThePlacesOrder) {
  zr3::ZR3Level level;
  LoadSample(level);
  // The monster carries the sword in two slots and is listed once, after the shop.
  EXPECT_EQ(SearchReferences(level, Category::Items, 0),
            (Lines{"Search results for Sword", "", "Shop: Store", "Monster: Orc"}));
  EXPECT_EQ(SearchReferences(level, Category::Spells, 1),
            (Lines{"Search results for Taught", "", "Spell: Teacher", "Monster: Orc"}));
  EXPECT_EQ(SearchReferences(level, Category::Groups, 2),
            (Lines{"Search results for ", "", "Item: Shield", "Spell: Teacher", "Monster: Orc"}));
}

TEST(ReferenceSearch, ASpellLearningItselfIsNotItsOwnReferrer) {
  zr3::ZR3Level level;
  LoadSample(level);
  EXPECT_EQ(SearchReferences(level, Category::Spells, 0), (Lines{"Search results for Self", ""}));
  EXPECT_FALSE(zr3::FirstReferrer(level, Category::Spells, 0));
}

TEST(ReferenceSearch, LevelInformationLinesAreTheLabelAloneInTheirOrder) {
  zr3::ZR3Level level;
  LoadSample(level);
  auto& sky = zr3test::AddStandIn(level, Category::Graphics, 1, "Sky");
  auto& arena = zr3test::AddStandIn(level, Category::Graphics, 2, "Arena");
  auto& colours = zr3test::AddStandIn(level, Category::Palettes, 3, "Colours");
  level.Info().inventoryScreen.Set(&sky);
  level.Info().background.Set(&sky);
  level.Info().combatScreen.Set(&arena);
  level.Info().palette.Set(&colours);
  EXPECT_EQ(
      SearchReferences(level, Category::Graphics, 0),
      (Lines{"Search results for Sky", "", "General: Background", "General: Inventory Screen"}));
  EXPECT_EQ(SearchReferences(level, Category::Graphics, 1),
            (Lines{"Search results for Arena", "", "General: Combat Screen"}));
  EXPECT_EQ(SearchReferences(level, Category::Palettes, 0),
            (Lines{"Search results for Colours", "", "General: Default palette"}));
  // The deletion check asks the same places.
  for (Category category : {Category::Graphics, Category::Palettes}) {
    zr3test::AddStandIn(level, category, 9, "Spare");
    EXPECT_EQ(zr3::CheckDeletion(level, category, 0).refusal, zr3::kReferredRefusal);
  }
}
