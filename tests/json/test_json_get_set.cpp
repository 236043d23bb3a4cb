#include <gtest/gtest.h>
#include <rapidjson/document.h>
#include <rapidjson/pointer.h>

#include <memory>
#include <string>

#include "json/json_export.h"
#include "json/json_levels.h"
#include "level/field_access.h"
#include "level/zr3level.h"
#include "support/edit_levels.h"
#include "support/record_helpers.h"

namespace {

using zr3::FieldInfo;
using zr3::FieldKind;

// What the JSON value of a field says, in the words `zr3 get` uses for it.
std::string GetForm(const rapidjson::Value& json, const FieldInfo& field) {
  switch (field.kind) {
    case FieldKind::Reference:
      if (json.IsNull()) return "none";
      if (json.HasMember("unresolved")) {
        return std::string(zr3::kUnresolvedPrefix) + std::to_string(json["unresolved"].GetUint());
      }
      return std::to_string(json["index"].GetInt());
    case FieldKind::Position:
      return std::to_string(json.IsObject() ? json["index"].GetInt() : json.GetInt());
    case FieldKind::Choice:
      return std::to_string(json["value"].GetInt64());
    case FieldKind::Text:
    case FieldKind::Opaque:
      return json.GetString();
    default:
      return std::to_string(json.GetInt64());
  }
}

// Every field of every record: what get prints is what the JSON export holds, and setting
// that value back changes nothing in the saved file.
void ExpectGetMatchesJsonAndSetTakesIt(const std::string& file) {
  const std::unique_ptr<zr3::ZR3Level> level = zr3test::LoadLevel(file);
  const std::string saved = level->SaveToBytes();
  rapidjson::Document document;
  document.Parse(zr3::json::LevelJson(*level).c_str());
  ASSERT_FALSE(document.HasParseError());
  std::size_t checked = 0;
  const auto check = [&](zr3::ZR3Base* record, const FieldInfo& field, const std::string& at) {
    if (field.kind == FieldKind::Part) return;
    const rapidjson::Value* json = rapidjson::Pointer(at.c_str()).Get(document);
    ASSERT_NE(json, nullptr) << at;
    // The test levels' texts are ASCII, the same in both.
    EXPECT_EQ(field.value, GetForm(*json, field)) << at;
    if (field.kind == FieldKind::ChainId || !field.editable) return;
    if (record) {
      record->SetField(*level, field.name, field.value);
    } else {
      level->Info().SetField(*level, field.name, field.value);
    }
    ++checked;
  };
  for (const FieldInfo& field : level->Info().Fields())
    check(nullptr, field, "/info/" + field.name);
  for (const zr3::Category list : zr3::kFileOrder) {
    if (zr3::IsFixedTable(list)) continue;
    const std::string name(zr3::InfoOf(list).commandName);
    for (std::size_t i = 0; i < level->List(list).size(); ++i) {
      zr3::ZR3Base* record = level->List(list)[i].get();
      const std::string at = "/" + name + "/" + std::to_string(i) + "/";
      for (const FieldInfo& field : record->Fields()) {
        if (field.kind != FieldKind::Run) {
          check(record, field, at + field.name);
          continue;
        }
        for (std::size_t slot = 0; slot < field.elements.size(); ++slot) {
          FieldInfo element = field.elements[slot];
          check(record, element, at + field.name + "/" + std::to_string(slot));
        }
      }
    }
  }
  EXPECT_GT(checked, 100u);
  EXPECT_TRUE(level->SaveToBytes() == saved);
}

TEST(JsonGetSet, GetSaysWhatTheJsonSaysAndSetTakesIt) {
  ExpectGetMatchesJsonAndSetTakesIt(zr3test::World().Build().Bytes());
}

// References whose identifier 0 is looked up like any other say "unresolved 0" in both.
TEST(JsonGetSet, UnresolvedReferencesAgreeToo) {
  ExpectGetMatchesJsonAndSetTakesIt(zr3test::UnresolvedLevel().Build().Bytes());
}

}  // namespace
