#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "json/json_export.h"
#include "json/json_import.h"
#include "json/json_levels.h"
#include "level/file_source.h"
#include "level/zr3level.h"
#include "support/edit_levels.h"
#include "support/item_builder.h"
#include "support/level_builder.h"
#include "support/map_builder.h"
#include "support/record_helpers.h"
#include "support/script_builder.h"
#include "support/tile_builder.h"

namespace {

using zr3::Category;
using zr3::ZR3Level;
using zr3::json::ImportLevelJson;
using zr3::json::LevelJson;

// The level's export imports to a level that saves the same bytes as the level itself and
// exports the same document again.
void ExpectRoundTrip(const std::string& file) {
  const std::unique_ptr<ZR3Level> level = zr3test::LoadLevel(file);
  const std::string document = LevelJson(*level);
  const std::unique_ptr<ZR3Level> imported = ImportLevelJson(document);
  const std::string saved = level->SaveToBytes();
  // Compared as booleans: a failure would print megabytes.
  EXPECT_TRUE(imported->SaveToBytes() == saved);
  EXPECT_TRUE(LevelJson(*imported) == document);
}

TEST(JsonRoundTrip, DemoLevel) {
  ExpectRoundTrip(zr3::ReadWholeFile(ZR3_DEMO_PATH));
}

TEST(JsonRoundTrip, LevelWhereEveryKindRefersToAnother) {
  ExpectRoundTrip(zr3test::World().Build().Bytes());
}

TEST(JsonRoundTrip, UnresolvedReferencesEmptyListsAndMapsOfSizeZeroAndHundred) {
  ExpectRoundTrip(zr3test::UnresolvedLevel().Build().Bytes());
}

TEST(JsonRoundTrip, EmptyLevel) {
  ExpectRoundTrip(zr3test::LevelBuilder().Build().Bytes());
}

TEST(JsonRoundTrip, TextsWithEveryByteFromOneTo255) {
  const std::string file = zr3test::AllBytesLevel().Build().Bytes();
  ExpectRoundTrip(file);
  // The undefined bytes of the code page stand for the C1 controls of the same value.
  const std::string document = LevelJson(*zr3test::LoadLevel(file));
  EXPECT_NE(document.find("\xE2\x82\xAC\xC2\x81\xE2\x80\x9A"), std::string::npos);  // 80 81 82
  EXPECT_NE(document.find("\\u0001\\u0002"), std::string::npos);
}

TEST(JsonRoundTrip, RandomLevels) {
  for (std::uint32_t seed = 1; seed <= 40; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    ExpectRoundTrip(zr3test::RandomLevel(seed).Build().Bytes());
  }
}

TEST(JsonRoundTrip, ListOf65535Records) {
  zr3test::LevelBuilder builder;
  for (std::uint32_t i = 0; i < zr3::ZR3Level::kMaxRecords; ++i) {
    builder.Add(Category::Items,
                zr3test::ItemBlob({.name = "Item " + std::to_string(i), .id = i + 1}));
  }
  ExpectRoundTrip(builder.Build().Bytes());
}

TEST(JsonRoundTrip, ExportIsStableAndDiffable) {
  const std::unique_ptr<ZR3Level> level = zr3test::LoadLevel(zr3test::World().Build().Bytes());
  const std::string document = LevelJson(*level);
  EXPECT_EQ(LevelJson(*level), document);
  // One map row a line, references and choices on the line of their field.
  EXPECT_NE(document.find("\n        [[null,null,null],[0,null,null]],\n"), std::string::npos);
  EXPECT_NE(document.find("\"border_north\": {\"index\":1,\"name\":\"Water\"},\n"),
            std::string::npos);
  EXPECT_NE(document.find("\"type\": {\"value\":3,\"word\":\"Usable\"},\n"), std::string::npos);
  EXPECT_NE(document.find("\"parameter_1\": {\"index\":1,\"name\":\"Drink\"},\n"),
            std::string::npos);
}

// A map's rows and a script's slots are written out by hand as one-line values: each slot of
// a cell is its tile's position, {"unresolved":id} or null, and a slot's parameters are kept as
// stored where they name nothing, negative ones included. The import reads them back.
TEST(JsonRoundTrip, MapRowsAndScriptSlotsAreCompactLines) {
  zr3test::LevelBuilder builder;
  builder.Add(Category::Tiles, zr3test::TileRecord(zr3test::NamedTile("Grass", 10)));
  builder.Add(Category::Tiles, zr3test::TileRecord(zr3test::NamedTile("Water", 11)));
  zr3test::MapFields map = zr3test::NamedMap("Isle", 3, 20);
  map.At(0, 0) = {11, 10, 0};
  map.At(0, 1) = {999, 0, 11};
  map.At(2, 2) = {10, 10, 10};
  builder.Add(Category::Maps, zr3test::MapRecord(map));
  zr3test::ScriptFields script = zr3test::ScriptWith("Spare", {}, {});
  script.commands[9] = {.code = 65535, .p = {-32768, 32767, -1, 0, 1, 2, 3, 4, -5}};
  builder.Add(Category::ObjectScripts, zr3test::ScriptBlob(script));
  const std::unique_ptr<ZR3Level> level = zr3test::LoadLevel(builder.Build().Bytes());
  const std::string document = LevelJson(*level);
  EXPECT_NE(document.find("\n        [[1,0,null],[{\"unresolved\":999},null,1],[null,null,null]],\n"
                          "        [[null,null,null],[null,null,null],[null,null,null]],\n"
                          "        [[null,null,null],[null,null,null],[0,0,0]]\n"),
            std::string::npos);
  EXPECT_NE(document.find("\n        {\"code\":0,\"parameters\":[0,0,0,0,0,0,0,0,0]},\n        "
                          "{\"code\":65535,\"parameters\":[-32768,32767,-1,0,1,2,3,4,-5]}\n"),
            std::string::npos);
  EXPECT_TRUE(ImportLevelJson(document)->SaveToBytes() == level->SaveToBytes());
}

}  // namespace
