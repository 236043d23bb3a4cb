#include <gtest/gtest.h>
#include <rapidjson/document.h>
#include <rapidjson/pointer.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <cctype>
#include <string>

#include "json/json_export.h"
#include "json/json_import.h"
#include "support/character_builder.h"
#include "support/edit_levels.h"
#include "support/record_helpers.h"
#include "support/shop_builder.h"
#include "support/song_builder.h"
#include "support/spell_builder.h"
#include "support/text_builder.h"

namespace {

using zr3::Category;

// The level of every kind, with one record of each kind the world lacks.
zr3test::LevelBuilder EveryKind() {
  zr3test::LevelBuilder builder = zr3test::World();
  builder.Add(Category::Spells, zr3test::SpellBlob({.name = "Spark", .id = 90}));
  builder.Add(Category::Shops, zr3test::ShopRecord({.name = "Store", .id = 91}));
  builder.Add(Category::Texts, zr3test::TextBlob({.name = "Sign", .text = "Welcome"}));
  builder.Add(Category::Characters, zr3test::CharacterBlob({.name = "Hero", .id = 92}));
  builder.Add(Category::Songs, zr3test::SongBlob({.name = "Tune", .id = 93}));
  return builder;
}

// Where a piece of the built file begins: a section's first record or a fixed block.
std::size_t SectionAt(const zr3test::LevelBuilder& builder, const std::string& section) {
  for (const auto& [name, offset] : builder.SectionOffsets()) {
    if (name == section) return offset;
  }
  ADD_FAILURE() << "no section " << section;
  return 0;
}

struct FieldEdit {
  std::string pointer;  // the field, as a JSON pointer into the export
  std::string value;    // its new value, as JSON
  std::string section;  // the section that holds it
  std::size_t offset;   // where the field begins within its section's first record or block
  std::string bytes;    // what the saved file holds there afterwards
};

std::ostream& operator<<(std::ostream& out, const FieldEdit& edit) {
  return out << edit.pointer;
}

class JsonFieldEdit : public ::testing::TestWithParam<FieldEdit> {};

// Edits one field of the export and imports it: the save differs from the save of the level
// in that field's bytes alone.
TEST_P(JsonFieldEdit, ChangesExactlyThatFieldInTheSavedFile) {
  const FieldEdit& edit = GetParam();
  const zr3test::LevelBuilder builder = EveryKind();
  const auto level = zr3test::LoadLevel(builder);
  const std::string before = level->SaveToBytes();

  rapidjson::Document document;
  document.Parse(zr3::json::LevelJson(*level).c_str());
  ASSERT_FALSE(document.HasParseError());
  rapidjson::Document value(&document.GetAllocator());
  value.Parse(edit.value.c_str());
  rapidjson::Value* field = rapidjson::Pointer(edit.pointer.c_str()).Get(document);
  ASSERT_NE(field, nullptr);
  field->CopyFrom(value, document.GetAllocator());
  rapidjson::StringBuffer text;
  rapidjson::Writer<rapidjson::StringBuffer> writer(text);
  document.Accept(writer);

  const std::string after = zr3::json::ImportLevelJson(text.GetString())->SaveToBytes();
  ASSERT_EQ(after.size(), before.size());
  const std::size_t begin = SectionAt(builder, edit.section) + edit.offset;
  EXPECT_EQ(after.substr(begin, edit.bytes.size()), edit.bytes);
  for (std::size_t i = 0; i < after.size(); ++i) {
    if (i >= begin && i < begin + edit.bytes.size()) continue;
    ASSERT_EQ(after[i], before[i])
        << "byte " << i << " changed, " << i - begin << " from the field";
  }
}

// Counted sections begin with their two-byte count.
INSTANTIATE_TEST_SUITE_P(
    EveryKind, JsonFieldEdit,
    ::testing::Values(
        FieldEdit{"/maps/0/opaque", "\"abcd\"", "Maps", 2 + 34, "\xAB\xCD"},
        FieldEdit{"/tiles/0/layer", "7", "Tiles", 2 + 68, "\x07"},
        FieldEdit{"/objects/0/location_y", "9", "Objects", 2 + 37, "\x09"},
        FieldEdit{"/global-scripts/0/condition_count", "3", "Global Scripts", 2 + 832, "\x03"},
        FieldEdit{"/death-scripts/0/commands/0/parameters/5", "-2", "Death Scripts",
                  2 + 432 + 2 + 5 * 2, "\xFE\xFF"},
        FieldEdit{"/items/0/cost", "-7", "Items", 2 + 34, "\xF9\xFF"},
        FieldEdit{"/spells/0/mastery", "300", "Spells", 2 + 36, "\x2C\x01"},
        FieldEdit{"/shops/0/markup", "258", "Shops", 2 + 74, "\x02\x01"},
        FieldEdit{"/monsters/0/experience", "65536", "Monsters", 2 + 52,
                  std::string("\x00\x00\x01\x00", 4)},
        FieldEdit{"/palettes/1/name", "\"Dusk\"", "Palettes", 2 + 812, std::string("Dusk\0", 5)},
        FieldEdit{"/texts/0/text", "\"Go \\u20ac\"", "Texts", 2 + 32,
                  std::string("Go \x80\0\0\0", 7)},
        FieldEdit{"/characters/0/name", "\"Zed\"", "Character Sets", 2, std::string("Zed\0", 4)},
        FieldEdit{"/songs/0/name", "\"Song\"", "Songs", 2, "Song"},
        FieldEdit{"/graphics/0/name", "\"Sun\"", "Graphics", 2, "Sun"},
        FieldEdit{"/lists/0/option_3", "\"Go\"", "Lists", 2 + 128, "Go"},
        FieldEdit{"/info/encounter_percent", "42", "Level Info", 155, "\x2A"},
        FieldEdit{"/flags/7", "\"Seven\"", "Flags", 7 * 32, "Seven"},
        FieldEdit{"/custom-text/1", "\"Loot\"", "Custom Text", 32, "Loot"},
        FieldEdit{"/opaque", "\"ee" + std::string(638, '0') + "\"", "Reserved Block", 0, "\xEE"}),
    [](const ::testing::TestParamInfo<FieldEdit>& info) {
      // "/maps/0/opaque" gives "maps_0_opaque".
      std::string name;
      for (const char c : info.param.pointer.substr(1)) {
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
      }
      return name;
    });

}  // namespace
