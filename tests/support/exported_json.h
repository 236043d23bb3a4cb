#pragma once

#include <gtest/gtest.h>
#include <rapidjson/document.h>
#include <rapidjson/pointer.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <string>

#include "json/json_export.h"
#include "level/zr3level.h"

namespace zr3test {

// The value at a JSON pointer ("/items/0/cost") of the level's export, as compact JSON text:
// a side's value of a merge conflict as the merge writes it. Only for targets that link the
// JSON library.
inline std::string ExportedAt(const zr3::ZR3Level& level, const char* pointer) {
  rapidjson::Document document;
  document.Parse(zr3::json::LevelJson(level).c_str());
  const rapidjson::Value* value = rapidjson::Pointer(pointer).Get(document);
  if (value == nullptr) {
    ADD_FAILURE() << "the export has nothing at " << pointer;
    return "null";
  }
  rapidjson::StringBuffer text;
  rapidjson::Writer<rapidjson::StringBuffer> writer(text);
  value->Accept(writer);
  return text.GetString();
}

}  // namespace zr3test
