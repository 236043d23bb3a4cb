#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "edit/check.h"
#include "level/zr3level.h"
#include "support/item_builder.h"
#include "support/level_builder.h"
#include "support/list_builder.h"
#include "support/map_builder.h"
#include "support/monster_builder.h"
#include "support/object_builder.h"
#include "support/script_builder.h"
#include "support/shop_builder.h"
#include "support/spell_builder.h"
#include "support/tile_builder.h"

namespace {

using zr3::Category;
using zr3test::SlotFields;

constexpr std::uint32_t kTalkId = 30;
constexpr std::uint32_t kFireId = 50;

SlotFields Slot(std::uint16_t code, std::size_t parameter = 0, std::int16_t value = 0) {
  SlotFields slot;
  slot.code = code;
  slot.p[parameter] = value;
  return slot;
}

// A level with one problem of every kind the check knows, beside references that resolve.
zr3test::LevelBuilder ProblemLevel() {
  zr3test::LevelBuilder builder;
  builder.info.paletteId = 99;  // no palette at all

  zr3test::MapFields town = zr3test::NamedMap("Town", 2, 1);
  town.At(0, 0) = {88, 0, 0};  // no tile carries 88
  town.At(0, 1) = {10, 0, 0};
  town.borders = {77, 10, 0, 0};  // N matches no tile, E is the grass
  builder.Add(Category::Maps, zr3test::MapRecord(town));
  builder.Add(Category::Maps, zr3test::MapRecord(zr3test::NamedMap("Big", 101, 2)));
  builder.Add(Category::Tiles, zr3test::TileRecord(zr3test::NamedTile("Grass", 10)));

  zr3test::ObjectFields chest = zr3test::NamedObject("Chest", 55);
  chest.scriptIds[0] = kTalkId;
  chest.scriptIds[3] = 66;
  chest.id = 60;
  builder.Add(Category::Objects, zr3test::ObjectRecord(chest));
  zr3test::ObjectFields sign = zr3test::NamedObject("Sign", 1);
  sign.id = 61;
  builder.Add(Category::Objects, zr3test::ObjectRecord(sign));

  // Ten conditions in use of twelve counted: code 10 has no kind, item 5 does not exist.
  std::vector<SlotFields> conditions(10, Slot(0));
  conditions[1] = Slot(10);
  conditions[2] = Slot(4, 1, 5);
  zr3test::ScriptFields door =
      zr3test::ScriptWith("Door", conditions, {Slot(99), Slot(101, 1, 300)});
  door.conditionCount = 12;
  door.id = 20;
  builder.Add(Category::GlobalScripts, zr3test::ScriptBlob(door));
  // The same name in another list is no problem.
  zr3test::ScriptFields globalTalk = zr3test::ScriptWith("Talk", {Slot(0)}, {Slot(100)});
  globalTalk.id = 21;
  builder.Add(Category::GlobalScripts, zr3test::ScriptBlob(globalTalk));

  zr3test::ScriptFields talk =
      zr3test::ScriptWith("Talk", {Slot(0)}, std::vector<SlotFields>(10, Slot(104, 1, 0)));
  talk.commandCount = 11;
  talk.id = kTalkId;
  builder.Add(Category::ObjectScripts, zr3test::ScriptBlob(talk));

  builder.flags[3] = "Gold";
  builder.flags[7] = "Gold";
  builder.flags[9] = "Say \"hi\"";  // script text doubles the quote and reads it back
  builder.flags[10] = "Two\nLines";
  // Scripts never name groups, so their names may repeat.
  builder.groups[0] = "Same";
  builder.groups[1] = "Same";

  zr3test::ItemFields sword{.name = "Sword", .id = 40};
  zr3test::ItemFields shield{.name = "Shield", .id = 41};
  builder.Add(Category::Items, zr3test::ItemBlob(sword));
  builder.Add(Category::Items, zr3test::ItemBlob(shield));

  zr3test::SpellFields fire{.name = "Fire", .learnId = 123, .id = kFireId};
  zr3test::SpellFields call{.name = "Call", .type = 5, .parameters = {4, 0, 0, 0}, .id = 51};
  builder.Add(Category::Spells, zr3test::SpellBlob(fire));
  builder.Add(Category::Spells, zr3test::SpellBlob(call));

  zr3test::ShopFields store{.name = "Store", .items = {40, 0, 77}, .id = 70};
  builder.Add(Category::Shops, zr3test::ShopRecord(store));

  zr3test::MonsterFields wolf;
  wolf.name = "Wolf";
  wolf.group1 = 20;
  wolf.group2 = -1;
  wolf.items[1] = 78;
  wolf.spells[0] = kFireId;
  wolf.id = 80;
  builder.Add(Category::Monsters, zr3test::MonsterRecord(wolf));

  zr3test::ListFields menu{.name = "Menu", .resultIds = {kTalkId, 555}, .count = 11, .id = 90};
  zr3test::ListFields shortList{.name = "Short", .count = 1, .id = 91};
  shortList.resultIds[0] = kTalkId;
  shortList.resultIds[4] = kTalkId;  // beyond the count
  builder.Add(Category::Lists, zr3test::ListBlob(menu));
  builder.Add(Category::Lists, zr3test::ListBlob(shortList));
  return builder;
}

const std::vector<std::string> kProblemLines = {
    "General, Palette = 63 00 00 00: no palette has this identifier; next save: kept",
    "Maps 0 \"Town\", Border N = 4d 00 00 00: no tile has this identifier; next save: written "
    "as 0",
    "Maps 0 \"Town\", Tiles used = 58 00 00 00: no tile has this identifier; next save: kept",
    "Maps 1 \"Big\", Size = 101: above 100; the file holds 100 x 100 cells; next save: kept",
    "Objects 0 \"Chest\", Map = 37 00 00 00: no map has this identifier; next save: kept",
    "Objects 0 \"Chest\", Script 3 = 42 00 00 00: no object script has this identifier; next "
    "save: written as 0",
    "Global Scripts 0 \"Door\", Condition 1 code = 10: no condition has this code; next save: "
    "kept",
    "Global Scripts 0 \"Door\", Condition 2 p1 = 5: no item at this position; next save: kept",
    "Global Scripts 0 \"Door\", Command 0 code = 99: no command has this code; next save: kept",
    "Global Scripts 0 \"Door\", Command 1 p1 = 300: no flag at this position; next save: kept",
    "Global Scripts 0 \"Door\", Conditions = 12: above 10; only the first 10 are used; next "
    "save: kept",
    "Object Scripts 0 \"Talk\", Commands = 11: above 10; only the first 10 are used; next save: "
    "kept",
    "Flags 7 \"Gold\", Name = \"Gold\": also the name of Flags 3, which the importer takes "
    "instead; next save: kept",
    "Flags 10 \"Two\\nLines\", Name = \"Two\\nLines\": holds a line break, which script text "
    "cannot carry back; next save: kept",
    "Spells 0 \"Fire\", Learn = 7b 00 00 00: no spell has this identifier; next save: kept",
    "Spells 1 \"Call\", Run script = 4: no object script at this position; next save: kept",
    "Shops 0 \"Store\", Item 2 = 4d 00 00 00: no item has this identifier; next save: kept",
    "Monsters 0 \"Wolf\", Group 1 = 20: outside the group table (0 to 19); next save: kept",
    "Monsters 0 \"Wolf\", Item 1 = 4e 00 00 00: no item has this identifier; next save: written "
    "as 0",
    "Lists 0 \"Menu\", Result 1 = 2b 02 00 00: no object script has this identifier; next save: "
    "written as 0",
    "Lists 0 \"Menu\", Count = 11: above 10; only the first 10 are used; next save: kept",
    "Lists 1 \"Short\", Result 4 = 1e 00 00 00: beyond the count, never linked; next save: "
    "written as 0",
};

std::vector<std::string> WithSummary(std::vector<std::string> lines) {
  lines.push_back("Problems: " + std::to_string(lines.size()));
  return lines;
}

TEST(CheckLevel, ReportsEachProblemOnceInCategoryAndRecordOrder) {
  zr3::ZR3Level level;
  level.LoadFromBytes(ProblemLevel().Build().Bytes());
  const zr3::LevelCheck check = zr3::CheckLevel(level);
  EXPECT_EQ(check.lines, WithSummary(kProblemLines));
  EXPECT_EQ(check.problemCount, kProblemLines.size());
}

// Every problem line names the record its text begins with, so that the editor can go there;
// the level information's lines name no list, the summary names nothing.
TEST(CheckLevel, EachProblemLineNamesTheRecordItReports) {
  zr3::ZR3Level level;
  level.LoadFromBytes(ProblemLevel().Build().Bytes());
  const zr3::LevelProblems found = zr3::FindLevelProblems(level);
  std::vector<std::string> text;
  for (const zr3::ResultLine& line : found.lines) text.push_back(line.text);
  ASSERT_EQ(text, WithSummary(kProblemLines));
  EXPECT_EQ(found.problemCount, kProblemLines.size());
  EXPECT_EQ(found.lines.front().record, zr3::NamedRecord{});
  EXPECT_EQ(found.lines.back().record, std::nullopt);
  for (std::size_t i = 1; i + 1 < found.lines.size(); ++i) {
    const zr3::ResultLine& line = found.lines[i];
    ASSERT_TRUE(line.record && line.record->category) << line.text;
    const std::string label = std::string(zr3::InfoOf(*line.record->category).sectionName) + " " +
                              std::to_string(line.record->index) + " \"";
    EXPECT_TRUE(line.text.starts_with(label)) << line.text;
  }
  EXPECT_EQ((found.lines[13].record), (zr3::NamedRecord{Category::Flags, 10}));
}

// What each line says of the next save is what the save does: after a save and a reload the
// values written as 0 are gone and every kept one is reported again, unchanged.
TEST(CheckLevel, SaysWhatTheNextSaveDoes) {
  zr3::ZR3Level level;
  level.LoadFromBytes(ProblemLevel().Build().Bytes());
  zr3::ZR3Level saved;
  saved.LoadFromBytes(level.SaveToBytes());

  std::vector<std::string> kept;
  for (const std::string& line : kProblemLines) {
    if (!line.ends_with("written as 0")) kept.push_back(line);
  }
  ASSERT_LT(kept.size(), kProblemLines.size());
  EXPECT_EQ(zr3::CheckLevel(saved).lines, WithSummary(kept));
}

TEST(CheckLevel, FindsNothingInTheDemoLevel) {
  zr3::ZR3Level level;
  level.Load(ZR3_DEMO_PATH);
  const zr3::LevelCheck check = zr3::CheckLevel(level);
  EXPECT_EQ(check.problemCount, 0u);
  EXPECT_EQ(check.lines, std::vector<std::string>{"Problems: 0"});
}

// Identifier 0 names no record wherever it may stand for "none": a save writes it back as 0,
// so nothing is lost.
TEST(CheckLevel, IdentifierZeroIsNoReference) {
  zr3test::LevelBuilder builder;
  builder.Add(Category::Maps, zr3test::MapRecord(zr3test::NamedMap("Town", 1, 1)));
  builder.Add(Category::Objects, zr3test::ObjectRecord(zr3test::NamedObject("Nowhere", 0)));
  zr3test::ListFields menu{.name = "Menu", .count = 3, .id = 90};
  builder.Add(Category::Lists, zr3test::ListBlob(menu));
  zr3::ZR3Level level;
  level.LoadFromBytes(builder.Build().Bytes());
  EXPECT_EQ(zr3::CheckLevel(level).lines, std::vector<std::string>{"Problems: 0"});
}

// A failed reference leaves every later reference of the entry null; only the first one is
// the author's mistake, and it is the one reported.
TEST(CheckLevel, ReportsTheFirstUnresolvedReferenceOfAnEntry) {
  SlotFields moveObject = Slot(112, 1, 9);  // object 9 does not exist; map 0 would
  zr3test::LevelBuilder builder;
  builder.Add(Category::Maps, zr3test::MapRecord(zr3test::NamedMap("Town", 1, 1)));
  builder.Add(Category::StartupScripts,
              zr3test::ScriptBlob(zr3test::ScriptWith("Start", {Slot(0)}, {moveObject})));
  zr3::ZR3Level level;
  level.LoadFromBytes(builder.Build().Bytes());
  EXPECT_EQ(zr3::CheckLevel(level).lines,
            WithSummary({"Startup Scripts 0 \"Start\", Command 0 p1 = 9: no object at this "
                         "position; next save: kept"}));
}

}  // namespace
