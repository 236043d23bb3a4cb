#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include <string>
#include <vector>

#include "edit/creation.h"
#include "edit/paste.h"
#include "json/json_clip.h"
#include "json/json_export.h"
#include "level/zr3error.h"
#include "level/zr3level.h"
#include "script/record_kinds.h"
#include "support/edit_levels.h"

using zr3::Category;
using zr3::NamedRecord;
using zr3::json::PasteRecordsJson;
using zr3::json::RecordsJson;

namespace {

// Sample: spells "Self" (learns itself), "Taught", "Teacher" (learns "Taught"); items "Sword",
// "Shield"; shop "Store" selling "Sword" in its fifth slot.
constexpr std::size_t kSelf = 0;
constexpr std::size_t kTaught = 1;
constexpr std::size_t kTeacher = 2;
constexpr std::size_t kStore = 0;

std::string StoreOfSample() {
  zr3::ZR3Level sample;
  zr3test::LoadSample(sample);
  return RecordsJson(sample, {{Category::Shops, kStore}});
}

bool RefersTo(const zr3::ZR3Level& level, Category category, std::size_t from, std::size_t to) {
  return level.List(category)[from]->RefersTo(*level.List(category)[to]);
}

const zr3::ZR3Base& Record(const zr3::ZR3Level& level, Category category, std::size_t index) {
  return *level.List(category)[index];
}

rapidjson::Document Parsed(const std::string& text) {
  rapidjson::Document document;
  document.Parse(text.c_str());
  return document;
}

}  // namespace

TEST(PasteRecords, AReferenceGoesToTheOneRecordOfItsNameInTheOtherLevel) {
  zr3::ZR3Level target;
  zr3test::LoadItems(target, {"Axe", "Sword", "Shield"});
  const zr3::json::PasteResult pasted = PasteRecordsJson(target, StoreOfSample(), std::nullopt);
  ASSERT_EQ(pasted.placed, (std::vector<NamedRecord>{{Category::Shops, 0}}));
  EXPECT_TRUE(pasted.unresolved.empty());
  const zr3::ZR3Base& store = Record(target, Category::Shops, 0);
  EXPECT_EQ(store.Name(), "Store");
  EXPECT_TRUE(store.RefersTo(Record(target, Category::Items, 1)));
  EXPECT_FALSE(store.RefersTo(Record(target, Category::Items, 0)));
  EXPECT_TRUE(target.Modified());
}

TEST(PasteRecords, ANameSharedOrMissingIsLeftUnresolvedAndListed) {
  for (const std::vector<std::string>& items :
       {std::vector<std::string>{"Sword", "Axe", "Sword"}, std::vector<std::string>{"Axe"}}) {
    zr3::ZR3Level target;
    zr3test::LoadItems(target, items);
    const zr3::json::PasteResult pasted = PasteRecordsJson(target, StoreOfSample(), std::nullopt);
    ASSERT_EQ(pasted.unresolved.size(), 1u);
    const zr3::UnresolvedReference& left = pasted.unresolved.front();
    EXPECT_EQ(left.record, (NamedRecord{Category::Shops, 0}));
    EXPECT_EQ(left.field, "items[4]");
    EXPECT_EQ(left.name, "Sword");
    EXPECT_EQ(left.target, Category::Items);
    for (std::size_t i = 0; i < items.size(); ++i) {
      EXPECT_FALSE(Record(target, Category::Shops, 0).RefersTo(Record(target, Category::Items, i)))
          << i;
    }
    const zr3::ResultLines lines = zr3::UnresolvedLines(target, pasted.unresolved);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[2].text, "Store, items[4]: no single item is named \"Sword\"");
    EXPECT_EQ(lines[2].record, left.record);
  }
}

TEST(PasteRecords, ReferencesAmongThePastedRecordsFollowThem) {
  zr3::ZR3Level level;
  zr3test::LoadSample(level);
  const std::string copied = RecordsJson(
      level,
      {{Category::Spells, kTeacher}, {Category::Spells, kSelf}, {Category::Spells, kTaught}});
  // Within one level, behind the selected "Teacher": Self, Taught, Teacher come at 3, 4, 5.
  const zr3::json::PasteResult pasted =
      PasteRecordsJson(level, copied, NamedRecord{Category::Spells, kTeacher});
  EXPECT_EQ(pasted.placed,
            (std::vector<NamedRecord>{
                {Category::Spells, 3}, {Category::Spells, 4}, {Category::Spells, 5}}));
  EXPECT_TRUE(pasted.unresolved.empty());
  EXPECT_TRUE(RefersTo(level, Category::Spells, 5, 4));
  EXPECT_FALSE(RefersTo(level, Category::Spells, 5, kTaught));
  EXPECT_TRUE(RefersTo(level, Category::Spells, 3, 3));
  EXPECT_FALSE(RefersTo(level, Category::Spells, 3, kSelf));
  // The originals keep theirs.
  EXPECT_TRUE(RefersTo(level, Category::Spells, kTeacher, kTaught));
  EXPECT_FALSE(RefersTo(level, Category::Spells, kTeacher, 4));
}

TEST(PasteRecords, EveryRecordOfALevelPastesIntoANewLevelAsItWas) {
  zr3::ZR3Level world;
  zr3test::LoadWorld(world);
  std::vector<NamedRecord> all;
  for (const Category list : zr3::kRecordLists) {
    for (std::size_t i = 0; i < world.List(list).size(); ++i) all.push_back({list, i});
  }
  std::unique_ptr<zr3::ZR3Level> target = zr3::NewLevel();
  const zr3::json::PasteResult pasted =
      PasteRecordsJson(*target, RecordsJson(world, all), std::nullopt);
  EXPECT_EQ(pasted.placed.size(), all.size());
  EXPECT_TRUE(pasted.unresolved.empty());
  const rapidjson::Document before = Parsed(zr3::json::LevelJson(world));
  const rapidjson::Document after = Parsed(zr3::json::LevelJson(*target));
  for (const Category list : zr3::kRecordLists) {
    const char* key = zr3::InfoOf(list).commandName.data();
    EXPECT_TRUE(before[key] == after[key]) << key;
  }
}

TEST(PasteRecords, TheTextHoldsEachRecordAsTheLevelsJsonWritesIt) {
  zr3::ZR3Level level;
  zr3test::LoadSample(level);
  const rapidjson::Document copied = Parsed(RecordsJson(
      level, {{Category::Items, 1}, {Category::Spells, kTeacher}, {Category::Items, 1}}));
  const rapidjson::Document whole = Parsed(zr3::json::LevelJson(level));
  ASSERT_EQ(copied["items"].Size(), 1u);
  EXPECT_TRUE(copied["items"][0] == whole["items"][1]);
  EXPECT_TRUE(copied["spells"][0] == whole["spells"][2]);
  EXPECT_EQ(copied["positions"]["items"][0].GetInt(), 1);
  EXPECT_EQ(copied["positions"]["spells"][0].GetInt(), 2);
}

TEST(PasteRecords, TextThatHoldsNoRecordsChangesNothing) {
  const std::string store = StoreOfSample();
  std::string badCost = store;
  badCost.replace(badCost.find("\"buyback\": "), 11, "\"buyback\": \"many\", \"x\": ");
  for (const std::string& text :
       {std::string("Sword"), std::string("{}"), std::string("[1, 2]"),
        std::string(R"({"format": "zr3-level", "format_version": 1})"),
        std::string(R"({"format": "zr3-records", "format_version": 1})"),
        std::string(R"({"format": "zr3-records", "format_version": 1, "flags": ["A"]})"),
        std::string(R"({"format": "zr3-records", "format_version": 1, "items": [{}]})"),
        store.substr(0, store.size() / 2), badCost}) {
    zr3::ZR3Level target;
    zr3test::LoadItems(target, {"Sword"});
    const std::string bytes = target.SaveToBytes();
    EXPECT_THROW(PasteRecordsJson(target, text, std::nullopt), zr3::ZR3Error) << text;
    EXPECT_FALSE(target.Modified()) << text;
    EXPECT_EQ(target.SaveToBytes(), bytes) << text;
  }
}
