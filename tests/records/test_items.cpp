#include <gtest/gtest.h>

#include "level/bytes.h"
#include "level/record_factory.h"
#include "level/zr3error.h"
#include "level/zr3level.h"
#include "records/zr3item.h"
#include "support/chain_ids.h"
#include "support/compare.h"
#include "support/item_builder.h"
#include "support/level_builder.h"
#include "support/placeholder_script.h"
#include "support/record_checks.h"

using zr3::Category;
using zr3::ZR3Item;
using zr3test::Describe;
using zr3test::ItemFields;
using zr3test::LineStarting;
using zr3test::LoadFailure;

namespace {

zr3test::LevelBuilder WithItems(std::vector<ItemFields> items) {
  zr3test::ChainIds(items, 100);
  zr3test::LevelBuilder builder;
  for (const ItemFields& item : items) builder.Add(Category::Items, zr3test::ItemBlob(item));
  return builder;
}

}  // namespace

TEST(Item, DefinitionShowsEachTypeAndNumbersOutsideTheTables) {
  const std::vector<std::pair<ItemFields, std::pair<std::string, std::string>>> cases = {
      {{.type = 0, .parameters = {2, 8, 0, 0}}, {"Weapon", "Damage 2-8"}},
      {{.type = 1, .parameters = {5, 0, 0, 0}}, {"Armor", "AL 5"}},
      {{.type = 2, .parameters = {0, 2, 0, 0}}, {"Attribute Change", "STR +2"}},
      {{.type = 2, .parameters = {1, -1, 0, 0}}, {"Attribute Change", "AGL -1"}},
      {{.type = 2, .parameters = {15, 0, 0, 0}}, {"Attribute Change", "MONSTER-> (broken?) +0"}},
      {{.type = 2, .parameters = {16, 3, 0, 0}}, {"Attribute Change", "(16) +3"}},
      {{.type = 2, .parameters = {-1, 3, 0, 0}}, {"Attribute Change", "(-1) +3"}},
      {{.type = 3, .parameters = {-1, 3, 0, 0}}, {"Usable", "Run script -1, uses 3"}},
      {{.type = 4, .parameters = {1, 5, 9, 2}}, {"Heal", "Heal 5-9SP, uses 2"}},
      {{.type = 4, .parameters = {0, 10, 20, 3}}, {"Heal", "Heal 10-20HP, uses 3"}},
      {{.type = 4, .parameters = {7, 5, 9, 2}}, {"Heal", "Heal 5-9(7), uses 2"}},
      {{.type = 7, .parameters = {1, 2, 3, 4}}, {"(7)", ""}},
      {{.type = 0xFFFF, .parameters = {1, 2, 3, 4}}, {"(65535)", ""}},
  };
  std::vector<ItemFields> items;
  for (const auto& entry : cases) items.push_back(entry.first);
  zr3::ZR3Level level;
  level.LoadFromBytes(WithItems(items).Build().Bytes());
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const zr3::Lines lines = Describe(level.At<ZR3Item>(Category::Items, i));
    EXPECT_EQ(lines[1], "Type: " + cases[i].second.first) << "item " << i;
    EXPECT_EQ(lines[3], "Definition: " + cases[i].second.second) << "item " << i;
  }
}

TEST(Item, DescribesEveryLineWithUnsignedModifiers) {
  zr3test::LevelBuilder builder;
  builder.groups[3] = "Knights";
  builder.Add(Category::Items, zr3test::ItemBlob({.name = "Sword",
                                                  .cost = -5,
                                                  .parameters = {2, 8, 0, 0},
                                                  .groups = {3, -1},
                                                  .modifiers = {0xFFFF, 7},
                                                  .id = 0x04030201}));
  zr3::ZR3Level level;
  level.LoadFromBytes(builder.Build().Bytes());
  const zr3::Lines expected = {"Name: Sword",
                               "Type: Weapon",
                               "Cost: -5",
                               "Definition: Damage 2-8",
                               "Group 1: Knights",
                               "Group 2: -1",
                               "Group 1 mod: 65535",
                               "Group 2 mod: 7",
                               "Next Id: 00 00 00 00",
                               "Prev Id: 00 00 00 00",
                               "Id: 01 02 03 04"};
  EXPECT_EQ(Describe(level.At<ZR3Item>(Category::Items, 0)), expected);
}

TEST(Item, GroupIndexOfTwentyOrMoreFailsTheLoad) {
  zr3::ZR3Level first;
  EXPECT_EQ(LoadFailure(WithItems({{.groups = {20, -1}}}), first), "List index out of bounds (20)");
  EXPECT_FALSE(first.Loaded());
  zr3::ZR3Level second;
  EXPECT_EQ(LoadFailure(WithItems({{.groups = {19, 25}}}), second),
            "List index out of bounds (25)");
  EXPECT_FALSE(second.Loaded());
  zr3::ZR3Level last;
  EXPECT_EQ(LoadFailure(WithItems({{.groups = {19, 0}}}), last), "");
  EXPECT_TRUE(last.Loaded());
}

TEST(Item, UsableItemScriptPositionMustLieInsideTheList) {
  zr3::ZR3Level usable;
  EXPECT_EQ(LoadFailure(WithItems({{.type = 3, .parameters = {0, 1, 0, 0}}}), usable),
            "List index out of bounds (0)");
  EXPECT_FALSE(usable.Loaded());
  // Only usable items name a script.
  zr3::ZR3Level weapon;
  EXPECT_EQ(LoadFailure(WithItems({{.type = 0, .parameters = {5, 1, 0, 0}}}), weapon), "");
  EXPECT_EQ(weapon.At<ZR3Item>(Category::Items, 0).Script(), nullptr);
}

TEST(Item, UsableItemFollowsItsScriptWhenWritten) {
  zr3::ZR3Level level;
  level.LoadFromBytes(zr3test::LevelBuilder().Build().Bytes());
  zr3test::AddPlaceholderScripts(level, 5);
  const zr3test::Blob blob =
      zr3test::ItemBlob({.name = "Wand", .type = 3, .parameters = {4, 2, 0, 0}});
  zr3::ByteReader in(blob.Bytes());
  level.List(Category::Items).push_back(std::make_unique<ZR3Item>(in));
  auto& item = level.At<ZR3Item>(Category::Items, 0);
  item.Link(level);

  zr3::RecordList& scripts = level.List(Category::ObjectScripts);
  zr3::ZR3Base* script = scripts[4].get();
  EXPECT_EQ(LineStarting(Describe(item), "Definition: "), "Definition: Run Script 4, uses 2");
  EXPECT_TRUE(item.RefersTo(*script));
  EXPECT_FALSE(item.RefersTo(*scripts[3]));

  // Move the script from position 4 to position 2.
  std::unique_ptr<zr3::ZR3Base> moved = std::move(scripts[4]);
  scripts.erase(scripts.begin() + 4);
  scripts.insert(scripts.begin() + 2, std::move(moved));
  level.Renumber(Category::ObjectScripts, 0, scripts.size() - 1);

  zr3::ByteWriter out;
  item.Write(out);
  ASSERT_EQ(out.Size(), ZR3Item::kSize);
  EXPECT_EQ(zr3test::U16At(out.Data(), 36), 2);
  EXPECT_EQ(item.Parameter(0), 2);

  // A position the signed 16-bit field cannot hold refuses the save and changes nothing.
  script->SetPosition(40000);
  zr3::ByteWriter refused;
  try {
    item.Write(refused);
    ADD_FAILURE() << "a script position of 40000 was written";
  } catch (const zr3::ZR3Error& error) {
    EXPECT_NE(std::string(error.what()).find("\"Wand\""), std::string::npos) << error.what();
  }
  EXPECT_EQ(item.Parameter(0), 2);
}

TEST(Item, RoundTripKeepsEveryFieldAndWrites64Bytes) {
  std::vector<ItemFields> items = {
      {.name = "Dagger", .type = 0, .cost = 12, .parameters = {1, 4, -7, 300}},
      {.name = std::string(32, 'N'),
       .type = 0xFFFF,
       .cost = -1,
       .parameters = {-1, -2, -3, -4},
       .groups = {0, 19},
       .modifiers = {0xFFFF, 0x8000}},
      {.name = "Potion", .type = 4, .cost = 3, .parameters = {0, 5, 9, 2}, .groups = {-1, 2}},
  };
  const zr3test::LevelBuilder builder = WithItems(items);
  const zr3test::Blob built = builder.Build();
  zr3::ZR3Level level;
  level.LoadFromBytes(built.Bytes());
  const std::string saved = level.SaveToBytes();
  EXPECT_TRUE(zr3test::SameModuloIds(built, saved));
  EXPECT_EQ(saved.size() - zr3test::LevelBuilder().Build().Size(), 3 * ZR3Item::kSize);
  // The chain is rebuilt from the neighbours: the first has no previous, the last no next.
  const std::size_t first = zr3test::RecordOffset(builder, Category::Items, 0, ZR3Item::kSize);
  const std::size_t second = zr3test::RecordOffset(builder, Category::Items, 1, ZR3Item::kSize);
  const std::size_t last = zr3test::RecordOffset(builder, Category::Items, 2, ZR3Item::kSize);
  EXPECT_EQ(zr3test::U32At(saved, first + 56), 0u);
  EXPECT_EQ(zr3test::U32At(saved, last + 52), 0u);
  EXPECT_EQ(zr3test::U32At(saved, first + 52), zr3test::U32At(saved, second + 60));
}

TEST(Item, CopyRefersToTheSameRecords) {
  zr3test::LevelBuilder builder = WithItems(
      {{.name = "Ring", .type = 2, .cost = 9, .parameters = {3, 4, 5, 6}, .groups = {3, 4}}});
  zr3::ZR3Level level;
  level.LoadFromBytes(builder.Build().Bytes());
  const auto& source = level.At<ZR3Item>(Category::Items, 0);
  std::unique_ptr<zr3::ZR3Base> copy = zr3::NewRecord(Category::Items);
  source.CopyTo(*copy);
  const auto& item = static_cast<const ZR3Item&>(*copy);
  EXPECT_EQ(Describe(item), Describe(source));
  const zr3::RecordList& groups = level.List(Category::Groups);
  EXPECT_TRUE(item.RefersTo(*groups[3]));
  EXPECT_TRUE(item.RefersTo(*groups[4]));
  EXPECT_FALSE(item.RefersTo(*groups[5]));
}
