#include <gtest/gtest.h>

#include "edit/copy.h"
#include "edit/deletion.h"
#include "edit/references.h"
#include "level/zr3level.h"
#include "script/zr3script.h"
#include "support/edit_checks.h"
#include "support/edit_levels.h"

using zr3::Category;
using zr3::CheckDeletion;
using zr3::Lines;
using zr3::SearchReferences;

namespace {

// The lines after the heading and the empty line.
Lines Referrers(const zr3::ZR3Level& level, Category category, std::size_t index) {
  Lines lines = SearchReferences(level, category, index);
  return Lines(lines.begin() + 2, lines.end());
}

class World : public ::testing::Test {
 protected:
  void SetUp() override { zr3test::LoadWorld(level); }
  zr3::ZR3Level level;
};

}  // namespace

TEST_F(World, SearchFindsEveryKindOfReferrerInThePartsOrder) {
  EXPECT_EQ(SearchReferences(level, Category::Maps, 0),
            (Lines{"Search results for Town", "", "Object: Door"}));
  // Scripts are searched global, object, startup, death.
  EXPECT_EQ(Referrers(level, Category::Maps, 1),
            (Lines{"Global script: Watcher", "Startup script: Opening", "Death script: Mourner"}));
  EXPECT_EQ(Referrers(level, Category::Tiles, 0), (Lines{"Map: Town"}));
  EXPECT_EQ(Referrers(level, Category::Tiles, 1), (Lines{"Map: Town"}));
  EXPECT_EQ(Referrers(level, Category::Tiles, 2), (Lines{"Monster: Troll"}));
  EXPECT_EQ(Referrers(level, Category::Objects, 0), (Lines{"Global script: Watcher"}));
  EXPECT_EQ(Referrers(level, Category::ObjectScripts, 0), (Lines{"Object: Door"}));
  EXPECT_EQ(Referrers(level, Category::ObjectScripts, 1), (Lines{"Item: Potion"}));
  EXPECT_EQ(Referrers(level, Category::ObjectScripts, 4), (Lines{"Object: Door", "List: Menu"}));
  EXPECT_EQ(Referrers(level, Category::Palettes, 0), (Lines{"General: Default palette"}));
  EXPECT_EQ(Referrers(level, Category::Graphics, 0),
            (Lines{"General: Background", "General: Inventory Screen"}));
  EXPECT_EQ(Referrers(level, Category::Graphics, 1), (Lines{"General: Combat Screen"}));
}

TEST_F(World, EverySearchLineNamesItsReferrer) {
  using zr3::NamedRecord;
  auto records = [this](Category category, std::size_t index) {
    std::vector<std::optional<NamedRecord>> named;
    for (const zr3::ResultLine& line : zr3::FindReferences(level, category, index)) {
      named.push_back(line.record);
    }
    return named;
  };
  // The heading names the record searched, the empty line nothing.
  EXPECT_EQ(
      records(Category::Maps, 1),
      (std::vector<std::optional<NamedRecord>>{
          NamedRecord{Category::Maps, 1}, std::nullopt, NamedRecord{Category::GlobalScripts, 0},
          NamedRecord{Category::StartupScripts, 0}, NamedRecord{Category::DeathScripts, 0}}));
  EXPECT_EQ(records(Category::ObjectScripts, 4),
            (std::vector<std::optional<NamedRecord>>{
                NamedRecord{Category::ObjectScripts, 4}, std::nullopt,
                NamedRecord{Category::Objects, 0}, NamedRecord{Category::Lists, 0}}));
  // The level information's own fields name no list.
  EXPECT_EQ(records(Category::Graphics, 0),
            (std::vector<std::optional<NamedRecord>>{NamedRecord{Category::Graphics, 0},
                                                     std::nullopt, NamedRecord{}, NamedRecord{}}));

  // Each referrer's line ends with the name of the record it names, in every category.
  for (Category category : {Category::Maps, Category::Tiles, Category::Objects,
                            Category::ObjectScripts, Category::Flags}) {
    for (std::size_t i = 0; i < level.List(category).size(); ++i) {
      const zr3::ResultLines lines = zr3::FindReferences(level, category, i);
      for (std::size_t l = 2; l < lines.size(); ++l) {
        ASSERT_TRUE(lines[l].record && lines[l].record->category) << lines[l].text;
        const zr3::NamedRecord& named = *lines[l].record;
        EXPECT_TRUE(
            lines[l].text.ends_with(": " + level.List(*named.category)[named.index]->Name()))
            << lines[l].text;
      }
    }
  }
}

TEST_F(World, FlagsAreSearchedInScriptsAndGroupsInItemsSpellsAndMonsters) {
  EXPECT_EQ(Referrers(level, Category::Flags, 5), (Lines{"Startup script: Opening"}));
  EXPECT_EQ(Referrers(level, Category::Flags, 6), Lines{});
  // The monster's group indexes are 0.
  EXPECT_EQ(Referrers(level, Category::Groups, 0), (Lines{"Monster: Troll"}));
  EXPECT_EQ(Referrers(level, Category::Groups, 5), Lines{});
}

TEST_F(World, AScriptRunningItselfIsNotItsOwnReferrer) {
  EXPECT_EQ(SearchReferences(level, Category::ObjectScripts, 3),
            (Lines{"Search results for Loop", ""}));
  EXPECT_TRUE(CheckDeletion(level, Category::ObjectScripts, 3).Allowed());
}

TEST_F(World, OnlyAResolvedScriptReferenceBlocksDeletion) {
  // The weapon's parameter 1 holds the position of "Spare" but names no script.
  EXPECT_EQ(Referrers(level, Category::ObjectScripts, 2), Lines{});
  EXPECT_EQ(CheckDeletion(level, Category::ObjectScripts, 2).confirmation, "Delete Spare?");
  const zr3::DeletionCheck usable = CheckDeletion(level, Category::ObjectScripts, 1);
  EXPECT_EQ(usable.refusal, zr3::kReferredRefusal);
  EXPECT_EQ(usable.referrer, "Item: Potion");
}

TEST_F(World, TheDeletionCheckAsksListsBeforeObjects) {
  EXPECT_EQ(CheckDeletion(level, Category::ObjectScripts, 4).referrer, "List: Menu");
  EXPECT_EQ(CheckDeletion(level, Category::ObjectScripts, 0).referrer, "Object: Door");
  EXPECT_EQ(CheckDeletion(level, Category::Maps, 1).referrer, "Global script: Watcher");
  EXPECT_EQ(CheckDeletion(level, Category::Tiles, 2).referrer, "Monster: Troll");
}

TEST_F(World, TheDefaultPaletteAndTheScreenGraphicsCannotBeDeleted) {
  EXPECT_EQ(CheckDeletion(level, Category::Palettes, 0).referrer, "General: Default palette");
  EXPECT_EQ(CheckDeletion(level, Category::Graphics, 0).referrer, "General: Background");
  EXPECT_EQ(CheckDeletion(level, Category::Graphics, 1).referrer, "General: Combat Screen");
  EXPECT_TRUE(CheckDeletion(level, Category::Palettes, 1).Allowed());
  EXPECT_TRUE(CheckDeletion(level, Category::Graphics, 2).Allowed());
  // The inventory screen alone blocks too.
  level.Info().background.Unlink();
  EXPECT_EQ(CheckDeletion(level, Category::Graphics, 0).referrer, "General: Inventory Screen");
}

TEST_F(World, CopyingTheLastOfThreeMapsAppendsAFourth) {
  const zr3::CopyResult result = zr3::CopyRecord(level, Category::Maps, 2);
  ASSERT_TRUE(result.Copied()) << result.refusal;
  EXPECT_EQ(result.index, 3u);
  EXPECT_EQ(zr3test::Names(level, Category::Maps),
            (std::vector<std::string>{"Town", "Cave", "Field", "Field"}));
  const auto& third = level.At<zr3::ZR3ChainRecord>(Category::Maps, 2);
  const auto& copy = level.At<zr3::ZR3ChainRecord>(Category::Maps, 3);
  EXPECT_EQ(third.Next(), &copy);
  EXPECT_EQ(copy.Position(), 3);
  EXPECT_EQ(copy.Next(), nullptr);
  EXPECT_TRUE(level.Modified());
}

TEST_F(World, AGlobalScriptCopiedIntoTheObjectScriptsTakesTheObjectKind) {
  const zr3::CopyResult result =
      zr3::CopyRecord(level, Category::GlobalScripts, 0, Category::ObjectScripts);
  ASSERT_TRUE(result.Copied()) << result.refusal;
  EXPECT_EQ(result.category, Category::ObjectScripts);
  EXPECT_EQ(result.index, 5u);
  EXPECT_EQ(level.List(Category::GlobalScripts).size(), 1u);
  const auto& copy = level.At<zr3::ZR3Script>(Category::ObjectScripts, 5);
  EXPECT_EQ(copy.Name(), "Watcher");
  EXPECT_EQ(copy.Kind(), 2);
  EXPECT_EQ(copy.ListCategory(), Category::ObjectScripts);
  EXPECT_TRUE(zr3test::ListIsConsistent(level, Category::ObjectScripts));
  EXPECT_TRUE(zr3test::ListIsConsistent(level, Category::GlobalScripts));
  // The copy names the same records as its source.
  EXPECT_EQ(Referrers(level, Category::Maps, 1),
            (Lines{"Global script: Watcher", "Object script: Watcher", "Startup script: Opening",
                   "Death script: Mourner"}));

  zr3::ZR3Level reloaded;
  reloaded.LoadFromBytes(level.SaveToBytes());
  EXPECT_EQ(Referrers(reloaded, Category::Objects, 0),
            (Lines{"Global script: Watcher", "Object script: Watcher"}));
  EXPECT_TRUE(zr3test::StoredChainIsUnbroken(reloaded, Category::ObjectScripts));
}
