#include <gtest/gtest.h>

#include "level/zr3error.h"
#include "merge/merge_conflicts.h"

namespace {

using namespace zr3;
using namespace zr3::merge;

std::vector<MergeConflict> EveryPlace() {
  MergeConflict field{
      ConflictKind::ChangedOnBoth, Category::Items, 3, "Sword \xE9p\xE9", {}, "5", "7", "9"};
  field.place.field = "price";
  MergeConflict cell{ConflictKind::ChangedOnBoth, Category::Maps, 0, "Town", {}, "1", "2", "null"};
  cell.place.cell = ConflictPlace::Cell{2, 4, 10};
  MergeConflict colour{ConflictKind::ChangedOnBoth,
                       Category::Palettes,
                       1,
                       "Dusk",
                       {},
                       "[1,2,3]",
                       "[4,5,6]",
                       "[7,8,9]"};
  colour.place.colour = 255;
  const MergeConflict whole{ConflictKind::DeletedAndChanged,
                            Category::Monsters,
                            12,
                            "Orc",
                            {},
                            "{\"name\":\"Orc\",\"hp\":4}",
                            "null",
                            "{\"name\":\"Orc\",\"hp\":5}"};
  const MergeConflict info{ConflictKind::DeletedAndReferenced, std::nullopt, 0, "", {}, "0", "0",
                           "{\"index\":2,\"name\":\"Gone\"}"};
  return {field, cell, colour, whole, info};
}

TEST(MergeConflictsFile, ReadsBackWhatItWrites) {
  const std::vector<MergeConflict> conflicts = EveryPlace();
  const std::string json = ConflictsToJson(conflicts);
  EXPECT_NE(json.find("\"kind\": \"deleted and referenced\""), std::string::npos);
  EXPECT_NE(json.find("\"category\": \"palettes\""), std::string::npos);
  EXPECT_NE(json.find("Sword \xC3\xA9p\xC3\xA9"), std::string::npos) << "names go out as UTF-8";
  EXPECT_EQ(ConflictsFromJson(json), conflicts);
  EXPECT_TRUE(ConflictsFromJson(ConflictsToJson({})).empty());
  EXPECT_EQ(ConflictsFilePath("a/b.zr3"), "a/b.zr3.conflicts.json");
}

TEST(MergeConflictsFile, RefusesWhatIsNotOneNamingWhere) {
  const std::string good = ConflictsToJson(EveryPlace());
  const auto replaced = [&](std::string_view from, std::string_view to) {
    std::string json = good;
    const std::size_t at = json.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return json.replace(at, from.size(), to);
  };
  const std::pair<std::string, std::string> cases[] = {
      {"{", "$: "},
      {"[]", "$: expected an object"},
      {replaced("zr3-merge-conflicts", "zr3-level"), "$.format: "},
      {replaced("\"version\": 1", "\"version\": 2"), "$.version: "},
      {replaced("changed on both sides", "changed twice"), "$.conflicts[0].kind: "},
      {replaced("\"items\"", "\"swords\""), "$.conflicts[0].category: "},
      {replaced("\"layer\": 2", "\"layer\": 4"), "$.conflicts[1].cell.layer: "},
      {replaced("\"colour\": 255", "\"colour\": \"red\""), "$.conflicts[2].colour: "},
      {replaced("\"index\": 12", "\"index\": -1"), "$.conflicts[3].record.index: "},
      {replaced("\"ours\": null", "\"mine\": null"), "$.conflicts[3]: missing \"ours\""},
      {replaced("\"name\": \"Orc\"", "\"name\": \"\\u017c\""), "$.conflicts[3].record.name: "},
  };
  for (const auto& [json, where] : cases) {
    try {
      ConflictsFromJson(json);
      ADD_FAILURE() << "accepted, expected " << where;
    } catch (const ZR3Error& error) {
      EXPECT_NE(std::string(error.what()).find(where), std::string::npos) << error.what();
    }
  }
}

}  // namespace
