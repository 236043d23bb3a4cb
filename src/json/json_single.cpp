#include "json/json_single.h"

#include <rapidjson/document.h>
#include <rapidjson/error/en.h>
#include <rapidjson/memorystream.h>
#include <rapidjson/reader.h>

#include "json/json_records.h"
#include "level/record_factory.h"
#include "level/windows1252.h"
#include "level/zr3error.h"

namespace zr3::json {

namespace {

[[noreturn]] void Refuse(const FieldInfo& field, const std::string& reason) {
  throw ZR3Error(field.name + ": " + reason);
}

// A whole number as its decimal text; refused when the value is no whole number.
std::string WholeNumber(const FieldInfo& field, const rapidjson::Value& value) {
  if (value.IsInt64()) return std::to_string(value.GetInt64());
  if (value.IsUint64()) return std::to_string(value.GetUint64());
  Refuse(field, "expected a whole number");
}

// A text of the level: the string's characters in the level's code page.
std::string LevelText(const FieldInfo& field, const rapidjson::Value& value) {
  if (!value.IsString()) Refuse(field, "expected a string");
  std::string text;
  std::string error;
  if (!ToWindows1252(std::string_view(value.GetString(), value.GetStringLength()), text, error)) {
    Refuse(field, error);
  }
  return text;
}

// {"index": n, "name": ...} as n, {"name": ...} alone as the name, a bare number as itself.
std::string RecordNamed(const FieldInfo& field, const rapidjson::Value& value) {
  if (value.IsNumber()) return WholeNumber(field, value);
  if (!value.IsObject()) Refuse(field, "expected a reference");
  if (const auto index = value.FindMember("index"); index != value.MemberEnd()) {
    return WholeNumber(field, index->value);
  }
  if (const auto name = value.FindMember("name"); name != value.MemberEnd()) {
    return LevelText(field, name->value);
  }
  Refuse(field, "a reference names \"index\" or \"name\"");
}

}  // namespace

std::string FieldTextOfJson(const FieldInfo& field, std::string_view json) {
  rapidjson::Document value;
  value.Parse<rapidjson::kParseValidateEncodingFlag>(json.data(), json.size());
  if (value.HasParseError()) {
    Refuse(field,
           std::string("not a JSON value: ") + rapidjson::GetParseError_En(value.GetParseError()));
  }
  switch (field.kind) {
    case FieldKind::Text:
      return LevelText(field, value);
    case FieldKind::Opaque:
      if (!value.IsString()) Refuse(field, "expected a string of hex digits");
      return value.GetString();
    case FieldKind::Integer:
    case FieldKind::ChainId:
      return WholeNumber(field, value);
    case FieldKind::Choice:
      if (value.IsObject()) {
        const auto number = value.FindMember("value");
        if (number == value.MemberEnd()) Refuse(field, "a choice names its \"value\"");
        return WholeNumber(field, number->value);
      }
      return WholeNumber(field, value);
    case FieldKind::Position:
      return RecordNamed(field, value);
    case FieldKind::Reference:
      if (value.IsNull()) return "none";
      if (value.IsObject()) {
        if (const auto id = value.FindMember("unresolved"); id != value.MemberEnd()) {
          return std::string(kUnresolvedPrefix) + WholeNumber(field, id->value);
        }
      }
      return RecordNamed(field, value);
    case FieldKind::Run:
    case FieldKind::Part:
      break;
  }
  Refuse(field, "cannot be set as one value");
}

std::unique_ptr<ZR3Base> ReadRecordJson(ZR3Level& level, Category list, std::size_t index,
                                        std::string_view object) {
  import::Importer importer(level);
  const import::Place place{InfoOf(list).commandName, static_cast<std::int32_t>(index)};
  ValueCapture& capture = importer.Capture();
  capture.Begin();
  rapidjson::MemoryStream stream(object.data(), object.size());
  rapidjson::Reader reader;
  const rapidjson::ParseResult parsed =
      reader.Parse<rapidjson::kParseValidateEncodingFlag>(stream, capture);
  if (parsed.IsError()) {
    importer.Report().Add(place, parsed.Code() == rapidjson::kParseErrorTermination
                                     ? capture.Failure()
                                     : rapidjson::GetParseError_En(parsed.Code()));
    importer.Report().Throw();
  }
  const rapidjson::Value& value = capture.Finish();
  if (!value.IsObject()) {
    importer.WrongType(place, value, "an object, one record");
    importer.Report().Throw();
  }
  // Every list is whole: references resolve as they are read.
  for (std::size_t c = 0; c < kCategoryCount; ++c) importer.MarkComplete(static_cast<Category>(c));
  std::unique_ptr<ZR3Base> record = NewRecord(list);
  importer.ReadRecord(list, *record, value, place);
  record->SetPosition(static_cast<int>(index));
  importer.FinishRecord(list, *record, place);
  if (importer.Report().Any()) importer.Report().Throw();
  return record;
}

}  // namespace zr3::json
