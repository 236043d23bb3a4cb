#include <gtest/gtest.h>

#include "edit/creation.h"
#include "edit/references.h"
#include "level/zr3level.h"
#include "records/zr3map.h"
#include "support/edit_checks.h"
#include "support/edit_levels.h"
#include "support/level_builder.h"

using zr3::Category;

namespace {

// Every record's reference search, list by list, in list order.
std::vector<std::vector<zr3::Lines>> AllSearches(const zr3::ZR3Level& level) {
  std::vector<std::vector<zr3::Lines>> searches(zr3::kCategoryCount);
  for (std::size_t c = 0; c < zr3::kCategoryCount; ++c) {
    const auto category = static_cast<Category>(c);
    for (std::size_t i = 0; i < level.List(category).size(); ++i) {
      searches[c].push_back(zr3::SearchReferences(level, category, i));
    }
  }
  return searches;
}

}  // namespace

TEST(Creation, ANewLevelIsTheEmptyLevelByteForByte) {
  const std::unique_ptr<zr3::ZR3Level> level = zr3::NewLevel();
  EXPECT_TRUE(level->Loaded());
  EXPECT_FALSE(level->Modified());
  EXPECT_TRUE(level->FileName().empty());
  const std::string bytes = level->SaveToBytes();
  EXPECT_EQ(bytes.size(), 9754u);
  EXPECT_EQ(bytes, zr3test::LevelBuilder().Build().Bytes());
}

TEST(Creation, ANewRecordTakesTheNameOfItsKindAndRefusesFixedTables) {
  const std::unique_ptr<zr3::ZR3Level> level = zr3::NewLevel();
  const zr3::AddResult map = zr3::AddRecord(*level, Category::Maps, 0);
  ASSERT_TRUE(map.Added()) << map.refusal;
  EXPECT_EQ(map.name, "New map");
  // A new map has a cell to paint, and keeps it through a save.
  const auto& added = level->At<zr3::ZR3Map>(Category::Maps, 0);
  EXPECT_EQ(added.Side(), 1);
  EXPECT_EQ(added.CellTile(0, 0, 0), nullptr);
  EXPECT_EQ(zr3::AddRecord(*level, Category::Tiles, 0).name, "New tile");
  EXPECT_EQ(
      zr3::AddRecord(*level, Category::Items, 7, "Sword of a very long name indeed, cut").name,
      "Sword of a very long name indee");
  EXPECT_TRUE(level->Modified());
  EXPECT_EQ(zr3::AddRecord(*level, Category::Flags, 0).refusal,
            "Flags is a fixed table: its records cannot be added");
  EXPECT_EQ(level->List(Category::Flags).size(), 256u);

  zr3::ZR3Level reloaded;
  reloaded.LoadFromBytes(level->SaveToBytes());
  EXPECT_EQ(zr3test::Names(reloaded, Category::Items),
            std::vector<std::string>{"Sword of a very long name indee"});
  EXPECT_EQ(reloaded.At<zr3::ZR3Map>(Category::Maps, 0).Side(), 1);
}

// Wherever a record of any kind is added, every reference of the level, read back from the
// saved file, still finds the record it named; nothing refers to the new one and it refers to
// nothing, before the save and after it.
TEST(Creation, AnAddedRecordKeepsEveryReferenceOnItsTargetInEveryCategory) {
  zr3::ZR3Level world;
  zr3test::LoadWorld(world);
  const auto before = AllSearches(world);
  for (std::size_t c = 0; c < zr3::kCategoryCount; ++c) {
    const auto category = static_cast<Category>(c);
    if (zr3::IsFixedTable(category)) continue;
    const std::size_t size = world.List(category).size();
    for (const std::size_t position : {std::size_t{0}, size / 2, size}) {
      SCOPED_TRACE(std::string(zr3::InfoOf(category).sectionName) + " at " +
                   std::to_string(position));
      zr3::ZR3Level level;
      zr3test::LoadWorld(level);
      const zr3::AddResult added = zr3::AddRecord(level, category, position);
      ASSERT_TRUE(added.Added()) << added.refusal;
      ASSERT_EQ(added.index, position);
      EXPECT_TRUE(zr3test::ListIsConsistent(level, category));

      zr3::ZR3Level saved;
      saved.LoadFromBytes(level.SaveToBytes());
      // Texts are the one counted kind outside the record chain.
      if (category != Category::Texts) {
        EXPECT_TRUE(zr3test::StoredChainIsUnbroken(saved, category));
      }
      auto expected = before;
      expected[c].insert(expected[c].begin() + static_cast<std::ptrdiff_t>(position),
                         zr3::Lines{"Search results for " + added.name, ""});
      EXPECT_EQ(AllSearches(saved), expected);
      // The new record refers to nothing either (a group of the defaults is none).
      EXPECT_EQ(AllSearches(level), expected);
    }
  }
}
