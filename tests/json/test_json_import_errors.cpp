#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "json/json_export.h"
#include "json/json_import.h"
#include "level/zr3level.h"
#include "records/zr3item.h"
#include "support/edit_levels.h"
#include "support/item_builder.h"
#include "support/record_helpers.h"

namespace {

using ::testing::AllOf;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::SizeIs;
using zr3::Category;
using zr3::ZR3Level;
using zr3::json::ImportLevelJson;
using zr3::json::JsonImportError;
using zr3::json::LevelJson;

// The problems an import reports, or none when it builds a level.
std::vector<std::string> Problems(const std::string& document) {
  try {
    ImportLevelJson(document);
  } catch (const JsonImportError& error) {
    return error.Problems();
  }
  return {};
}

// The export of the level of every kind, with from replaced by to (once, where it must be).
std::string WorldWith(const std::string& from, const std::string& to) {
  std::string document = LevelJson(*zr3test::LoadLevel(zr3test::World().Build().Bytes()));
  const std::size_t at = document.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) document.replace(at, from.size(), to);
  return document;
}

TEST(JsonImportErrors, SyntaxErrorsNameLineAndColumn) {
  EXPECT_THAT(Problems("{\n  \"format\": \"zr3-level\",\n  \"header\" \"02012400\"\n}"),
              ElementsAre("line 3, column 12: Missing a colon after a name of object member."));
  EXPECT_THAT(Problems(""), ElementsAre(HasSubstr("line 1, column 1: The document is empty.")));
  // Cut anywhere, the document is refused, never half read.
  const std::string document = WorldWith("\"Menu\"", "\"Menu\"");
  for (std::size_t cut = 0; cut < document.size(); cut += 97) {
    EXPECT_THAT(Problems(document.substr(0, cut)), Contains(HasSubstr("line "))) << cut;
  }
}

TEST(JsonImportErrors, HostileShapesAreRefusedWithAMessage) {
  EXPECT_THAT(Problems(std::string(100000, '[')),
              ElementsAre(HasSubstr("the document is not a JSON object")));
  EXPECT_THAT(Problems("{\"info\":" + std::string(100000, '[')),
              ElementsAre(HasSubstr("nests deeper than 64 levels")));
  EXPECT_THAT(Problems("{\"format\": NaN}"), ElementsAre(HasSubstr("Invalid value.")));
  EXPECT_THAT(Problems("{\"format\": Infinity}"), ElementsAre(HasSubstr("Invalid value.")));
  EXPECT_THAT(Problems("[1, 2]"), ElementsAre(HasSubstr("the document is not a JSON object")));
  EXPECT_THAT(Problems("{} {}"), ElementsAre(HasSubstr("must not be followed by other values")));
  EXPECT_THAT(Problems("{\"format\": \"\xC3\x28\"}"), ElementsAre(HasSubstr("Invalid encoding")));
  // A string that claims more than the document holds is an unterminated string.
  EXPECT_THAT(Problems("{\"format\": \"" + std::string(1 << 20, 'a')),
              ElementsAre(HasSubstr("Missing a closing quotation mark in string.")));
  // One value is held whole while it is read, so its size has limits.
  std::string zeros = "0";
  for (int i = 0; i < 18; ++i) zeros += "," + zeros;
  EXPECT_THAT(Problems("{\"info\": [" + zeros + "]}"),
              ElementsAre(HasSubstr("a record holds more than 262144 values")));
  EXPECT_THAT(Problems("{\"info\": {\"a\": \"" + std::string(16 << 20, 'a') + "\"}}"),
              ElementsAre(HasSubstr("a record holds more than 16 MB of text")));
}

TEST(JsonImportErrors, NumbersAreCheckedBeforeTheyAreNarrowed) {
  // cost is a signed 16-bit field; gold unsigned 16-bit; experience unsigned 32-bit.
  const struct {
    std::string value;
    std::string problem;
  } cases[] = {
      {"70000", "$.items[0].cost: 70000 is out of range -32768..32767"},
      {"-32769", "$.items[0].cost: -32769 is out of range -32768..32767"},
      {"1.5", "$.items[0].cost: 1.5 is not a whole number"},
      {"1e300", "$.items[0].cost: 1.0000000000000001e+300 is out of range -32768..32767"},
      {"123456789012345678901234567890",
       "$.items[0].cost: 1.2345678901234566e+29 is out of range -32768..32767"},
      {"\"12\"", "$.items[0].cost: expected a whole number, not a string"},
      {"null", "$.items[0].cost: expected a whole number, not null"},
      {"true", "$.items[0].cost: expected a whole number, not a boolean"},
  };
  for (const auto& c : cases) {
    EXPECT_THAT(Problems(WorldWith("\"cost\": 0", "\"cost\": " + c.value)), ElementsAre(c.problem))
        << c.value;
  }
  EXPECT_THAT(Problems(WorldWith("\"gold\": 0", "\"gold\": -0")),
              ElementsAre("$.monsters[0].gold: -0 is not a value of an unsigned field (0..65535)"));
  EXPECT_THAT(Problems(WorldWith("\"gold\": 0", "\"gold\": -0.0")),
              ElementsAre("$.monsters[0].gold: -0 is not a value of an unsigned field (0..65535)"));
  // Whole numbers written with a fraction or an exponent are whole numbers, and -0 is 0 where
  // the field is signed.
  EXPECT_THAT(Problems(WorldWith("\"gold\": 0", "\"gold\": 2.5e1")), SizeIs(0));
  EXPECT_THAT(Problems(WorldWith("\"cost\": 0", "\"cost\": -0")), SizeIs(0));
}

TEST(JsonImportErrors, FieldsMissingUnknownRepeatedOrOfTheWrongType) {
  EXPECT_THAT(Problems(WorldWith("\"cost\": 0,", "")),
              ElementsAre("$.items[0].cost: missing field"));
  EXPECT_THAT(Problems(WorldWith("\"cost\": 0,", "\"cost\": 0, \"price\": 3,")),
              ElementsAre("$.items[0]: unknown field \"price\""));
  EXPECT_THAT(Problems(WorldWith("\"cost\": 0,", "\"cost\": 0, \"cost\": 1,")),
              ElementsAre("$.items[0]: the key \"cost\" appears more than once"));
  // The keys of an object inside a record are checked on their own, the record's after them.
  std::string nested = WorldWith("\"cost\": 0,", "\"cost\": 0, \"price\": 3,");
  const std::string group = "\"group_1\": -1";
  nested.replace(nested.find(group), group.size(),
                 "\"group_1\": {\"index\": 1, \"size\": 2, \"index\": 2}");
  EXPECT_THAT(Problems(nested),
              ElementsAre("$.items[0].group_1: unknown field \"size\"",
                          "$.items[0].group_1: the key \"index\" appears more than once",
                          "$.items[0]: unknown field \"price\""));
  EXPECT_THAT(Problems(WorldWith("\"header\": \"02012400\",",
                                 "\"header\": \"02012400\", \"header\": \"02012400\",")),
              ElementsAre("$: the key \"header\" appears more than once"));
  EXPECT_THAT(Problems(WorldWith("\"name\": \"Menu\"", "\"name\": [\"Menu\"]")),
              ElementsAre("$.lists[0].name: expected a string, not an array"));
  EXPECT_THAT(Problems(WorldWith("\"format_version\": 1", "\"format_version\": 2")),
              ElementsAre(HasSubstr("reads version 1 of the format, not 2")));
  EXPECT_THAT(Problems("{}"), AllOf(Contains("$.format: missing field"),
                                    Contains("$.items: missing field"), SizeIs(24)));
}

TEST(JsonImportErrors, TextsThatTheLevelCannotHold) {
  EXPECT_THAT(
      Problems(WorldWith("\"name\": \"Menu\"", "\"name\": \"" + std::string(33, 'M') + "\"")),
      ElementsAre("$.lists[0].name: a text of 33 characters is longer than the field's 32"));
  EXPECT_THAT(Problems(WorldWith("\"name\": \"Menu\"", "\"name\": \"\xE4\xB8\xAD\"")),
              ElementsAre("$.lists[0].name: '\xE4\xB8\xAD' cannot be stored in a level's text"));
  EXPECT_THAT(Problems(WorldWith("\"name\": \"Menu\"", "\"name\": \"a\\u0000b\"")),
              ElementsAre("$.lists[0].name: U+0000 cannot be stored in a level's text"));
  EXPECT_THAT(Problems(WorldWith("\"name\": \"Menu\"", "\"name\": \"\\u0080\"")),
              ElementsAre(HasSubstr("U+0080 cannot be stored")));
  // Two-byte UTF-8 of the code page's upper half is one byte each.
  EXPECT_THAT(Problems(WorldWith(
                  "\"name\": \"Menu\"", "\"name\": \"" +
                                            [] {
                                              std::string s;
                                              for (int i = 0; i < 32; ++i) s += "\xC3\xA9";
                                              return s;
                                            }() +
                                            "\"")),
              SizeIs(0));
}

TEST(JsonImportErrors, ReferencesOutOfRangeAmbiguousOrUnknown) {
  EXPECT_THAT(Problems(WorldWith("\"border_north\": {\"index\":1,\"name\":\"Water\"}",
                                 "\"border_north\": {\"index\":3}")),
              ElementsAre("$.maps[0].border_north: no tile at position 3 (the list holds 3)"));
  EXPECT_THAT(Problems(WorldWith("\"border_north\": {\"index\":1,\"name\":\"Water\"}",
                                 "\"border_north\": {\"name\":\"Mud\"}")),
              ElementsAre("$.maps[0].border_north: no tile is named \"Mud\""));
  EXPECT_THAT(Problems(WorldWith("[[null,null,null],[0,null,null]]",
                                 "[[null,null,null],[0,null,{\"index\":9}]]")),
              ElementsAre("$.maps[0].cells[0][1][2]: no tile at position 9 (the list holds 3)"));
  EXPECT_THAT(Problems(WorldWith("\"group_1\": -1", "\"group_1\": 20")),
              ElementsAre("$.items[0].group_1: no group at position 20 (the list holds 20)"));
  EXPECT_THAT(Problems(WorldWith("\"group_1\": -1", "\"group_1\": {\"name\":\"\"}")),
              ElementsAre("$.items[0].group_1: more than one group is named \"\""));
  EXPECT_THAT(Problems(WorldWith("\"map\": {\"index\":0,\"name\":\"Town\"}",
                                 "\"map\": {\"index\":0,\"unresolved\":5}")),
              ElementsAre(HasSubstr("\"unresolved\" stands alone")));
  EXPECT_THAT(Problems(WorldWith("\"map\": {\"index\":0,\"name\":\"Town\"}", "\"map\": \"Town\"")),
              ElementsAre(HasSubstr("$.objects[0].map: expected a reference")));
}

TEST(JsonImportErrors, ManyProblemsAreReportedAtOnceUpToALimit) {
  std::string document = LevelJson(*zr3test::LoadLevel(zr3test::World().Build().Bytes()));
  EXPECT_THAT(Problems(WorldWith("\"cost\": 0,", "\"cost\": 1.5, \"weight\": 2,")), SizeIs(2));
  // Every flag's name made too long: 256 problems, the first 50 listed and the rest counted.
  const std::string longName = "\"" + std::string(40, 'f') + "\"";
  std::string flags = "\"flags\": [" + longName;
  for (int i = 1; i < 256; ++i) flags += "," + longName;
  flags += "],";
  const std::size_t begin = document.find("\"flags\": [");
  const std::size_t end = document.find("],", begin) + 2;
  document.replace(begin, end - begin, flags);
  const std::vector<std::string> problems = Problems(document);
  ASSERT_THAT(problems, SizeIs(zr3::json::kMaxReportedProblems + 1));
  EXPECT_EQ(problems[0], "$.flags[0]: a text of 40 characters is longer than the field's 32");
  EXPECT_THAT(problems.back(),
              AllOf(::testing::StartsWith("... and "), HasSubstr(" more problems")));
}

TEST(JsonImportErrors, AListOfMoreThan65535RecordsIsRefused) {
  const std::string document =
      LevelJson(*zr3test::LoadLevel(zr3test::LevelBuilder().Build().Bytes()));
  std::string items = "\"items\": [";
  const std::string item = LevelJson(*[] {
    zr3test::LevelBuilder builder;
    builder.Add(Category::Items, zr3test::ItemBlob({.name = "I"}));
    return zr3test::LoadLevel(builder.Build().Bytes());
  }());
  const std::size_t begin = item.find("\"items\": [") + 10;
  const std::string one = item.substr(begin, item.find("\n    }", begin) + 6 - begin);
  for (std::size_t i = 0; i <= ZR3Level::kMaxRecords; ++i) (items += i ? "," : "") += one;
  items += "]";
  std::string many = document;
  many.replace(many.find("\"items\": []"), 11, items);
  EXPECT_THAT(Problems(many),
              ElementsAre("$.items: holds more than 65535 records, the most a list of the file "
                          "can hold"));
}

TEST(JsonImportErrors, ARecordWrittenByHandNeedsNoBytesOrIdentifiers) {
  const std::string byHand =
      "{\"name\": \"Gem\", \"type\": 3, \"cost\": 9, \"parameter_1\": {\"name\": \"Drink\"}, "
      "\"parameter_2\": 0, \"parameter_3\": 0, \"parameter_4\": 0, \"group_1\": -1, "
      "\"group_2\": {\"index\": 4}, \"group_1_modifier\": 0, \"group_2_modifier\": 7}";
  const std::string document = WorldWith("\"items\": [", "\"items\": [" + byHand + ",");
  const std::unique_ptr<ZR3Level> level = ImportLevelJson(document);
  const auto& gem = level->At<zr3::ZR3Item>(Category::Items, 0);
  EXPECT_EQ(gem.Name(), "Gem");
  EXPECT_EQ(gem.Script(), level->List(Category::ObjectScripts)[1].get());
  EXPECT_EQ(gem.Group(1), level->List(Category::Groups)[4].get());
  EXPECT_EQ(gem.StoredId(), 0u);
  // The save gives it an identifier of its own, and the level reads back with it first.
  const std::unique_ptr<ZR3Level> reread = zr3test::LoadLevel(level->SaveToBytes());
  const auto& saved = reread->At<zr3::ZR3Item>(Category::Items, 0);
  EXPECT_NE(saved.StoredId(), 0u);
  EXPECT_EQ(saved.Name(), "Gem");
  EXPECT_EQ(saved.Script(), reread->List(Category::ObjectScripts)[1].get());
  EXPECT_EQ(reread->List(Category::Items).size(), 3u);
}

}  // namespace
