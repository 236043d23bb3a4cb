#include "merge/merge_conflicts.h"

#include <rapidjson/document.h>
#include <rapidjson/error/en.h>
#include <rapidjson/prettywriter.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <array>
#include <limits>

#include "level/windows1252.h"
#include "level/zr3error.h"

namespace zr3::merge {

namespace {

constexpr std::string_view kFormat = "zr3-merge-conflicts";
constexpr int kVersion = 1;

constexpr std::array<std::pair<ConflictKind, std::string_view>, 3> kKindTexts = {{
    {ConflictKind::ChangedOnBoth, "changed on both sides"},
    {ConflictKind::DeletedAndChanged, "deleted and changed"},
    {ConflictKind::DeletedAndReferenced, "deleted and referenced"},
}};

std::string_view KindText(ConflictKind kind) {
  for (const auto& [each, text] : kKindTexts) {
    if (each == kind) return text;
  }
  return kKindTexts.front().second;
}

using Writer = rapidjson::PrettyWriter<rapidjson::StringBuffer>;

void Key(Writer& out, std::string_view key) {
  out.Key(key.data(), static_cast<rapidjson::SizeType>(key.size()));
}

void String(Writer& out, std::string_view text) {
  out.String(text.data(), static_cast<rapidjson::SizeType>(text.size()));
}

// A side's value is JSON text made by the merge; it is parsed again so that the document stays
// well formed and laid out as one whatever the text's own spacing.
void Value(Writer& out, const std::string& json) {
  rapidjson::Document value;
  value.Parse(json.data(), json.size());
  if (value.HasParseError()) {
    out.Null();
  } else {
    value.Accept(out);
  }
}

[[noreturn]] void Refuse(const std::string& path, std::string_view message) {
  throw ZR3Error("not a conflicts file: " + path + ": " + std::string(message));
}

const rapidjson::Value& Member(const rapidjson::Value& object, const char* key,
                               const std::string& path) {
  auto member = object.FindMember(key);
  if (member == object.MemberEnd()) Refuse(path, std::string("missing \"") + key + '"');
  return member->value;
}

int Integer(const rapidjson::Value& value, const std::string& path, int low, int high) {
  if (!value.IsInt() || value.GetInt() < low || value.GetInt() > high) {
    Refuse(path, "expected an integer from " + std::to_string(low) + " to " + std::to_string(high));
  }
  return value.GetInt();
}

std::string_view Text(const rapidjson::Value& value, const std::string& path) {
  if (!value.IsString()) Refuse(path, "expected a string");
  return {value.GetString(), value.GetStringLength()};
}

std::string Compact(const rapidjson::Value& value) {
  rapidjson::StringBuffer buffer;
  rapidjson::Writer<rapidjson::StringBuffer> out(buffer);
  value.Accept(out);
  return {buffer.GetString(), buffer.GetSize()};
}

MergeConflict ReadConflict(const rapidjson::Value& object, const std::string& path) {
  if (!object.IsObject()) Refuse(path, "expected an object");
  MergeConflict conflict;

  const std::string_view kind = Text(Member(object, "kind", path), path + ".kind");
  bool known = false;
  for (const auto& [each, text] : kKindTexts) {
    if (text == kind) {
      conflict.kind = each;
      known = true;
    }
  }
  if (!known) Refuse(path + ".kind", "unknown kind \"" + std::string(kind) + '"');

  if (object.HasMember("category")) {
    const std::string_view name = Text(object["category"], path + ".category");
    conflict.category = CategoryFromCommandName(name);
    if (!conflict.category) Refuse(path + ".category", "unknown list \"" + std::string(name) + '"');
  }

  const std::string recordPath = path + ".record";
  const rapidjson::Value& record = Member(object, "record", path);
  if (!record.IsObject()) Refuse(recordPath, "expected an object");
  conflict.index =
      static_cast<std::size_t>(Integer(Member(record, "index", recordPath), recordPath + ".index",
                                       0, std::numeric_limits<int>::max()));
  const std::string namePath = recordPath + ".name";
  std::string error;
  if (!ToWindows1252(Text(Member(record, "name", recordPath), namePath), conflict.name, error)) {
    Refuse(namePath, error);
  }

  int places = 0;
  if (object.HasMember("field")) {
    ++places;
    conflict.place.field = Text(object["field"], path + ".field");
    if (conflict.place.field.empty()) Refuse(path + ".field", "expected a field's name");
  }
  if (object.HasMember("cell")) {
    ++places;
    const std::string cellPath = path + ".cell";
    const rapidjson::Value& cell = object["cell"];
    if (!cell.IsObject()) Refuse(cellPath, "expected an object");
    conflict.place.cell = ConflictPlace::Cell{
        Integer(Member(cell, "layer", cellPath), cellPath + ".layer", 1, 3),
        Integer(Member(cell, "row", cellPath), cellPath + ".row", 0, 255),
        Integer(Member(cell, "column", cellPath), cellPath + ".column", 0, 255)};
  }
  if (object.HasMember("colour")) {
    ++places;
    conflict.place.colour = Integer(object["colour"], path + ".colour", 0, 255);
  }
  if (places > 1) Refuse(path, "more than one of \"field\", \"cell\" and \"colour\"");

  conflict.base = Compact(Member(object, "base", path));
  conflict.ours = Compact(Member(object, "ours", path));
  conflict.theirs = Compact(Member(object, "theirs", path));
  return conflict;
}

}  // namespace

std::string ConflictsFilePath(std::string_view levelPath) {
  return std::string(levelPath) + ".conflicts.json";
}

std::string ConflictsToJson(const std::vector<MergeConflict>& conflicts) {
  rapidjson::StringBuffer buffer;
  Writer out(buffer);
  out.SetIndent(' ', 2);
  out.StartObject();
  Key(out, "format");
  String(out, kFormat);
  Key(out, "version");
  out.Int(kVersion);
  Key(out, "conflicts");
  out.StartArray();
  for (const MergeConflict& conflict : conflicts) {
    out.StartObject();
    Key(out, "kind");
    String(out, KindText(conflict.kind));
    if (conflict.category) {
      Key(out, "category");
      String(out, InfoOf(*conflict.category).commandName);
    }
    Key(out, "record");
    out.StartObject();
    Key(out, "index");
    out.Uint64(conflict.index);
    Key(out, "name");
    String(out, ToUtf8(conflict.name));
    out.EndObject();
    const ConflictPlace& place = conflict.place;
    if (!place.field.empty()) {
      Key(out, "field");
      String(out, place.field);
    } else if (place.cell) {
      Key(out, "cell");
      out.StartObject();
      Key(out, "layer");
      out.Int(place.cell->layer);
      Key(out, "row");
      out.Int(place.cell->row);
      Key(out, "column");
      out.Int(place.cell->column);
      out.EndObject();
    } else if (place.colour) {
      Key(out, "colour");
      out.Int(*place.colour);
    }
    Key(out, "base");
    Value(out, conflict.base);
    Key(out, "ours");
    Value(out, conflict.ours);
    Key(out, "theirs");
    Value(out, conflict.theirs);
    out.EndObject();
  }
  out.EndArray();
  out.EndObject();
  std::string json(buffer.GetString(), buffer.GetSize());
  json += '\n';
  return json;
}

std::vector<MergeConflict> ConflictsFromJson(std::string_view json) {
  rapidjson::Document document;
  document.Parse(json.data(), json.size());
  if (document.HasParseError()) {
    throw ZR3Error("not a conflicts file: $: " +
                   std::string(rapidjson::GetParseError_En(document.GetParseError())) +
                   " (at byte " + std::to_string(document.GetErrorOffset()) + ")");
  }
  if (!document.IsObject()) Refuse("$", "expected an object");
  if (Text(Member(document, "format", "$"), "$.format") != kFormat) {
    Refuse("$.format", "expected \"" + std::string(kFormat) + '"');
  }
  if (Integer(Member(document, "version", "$"), "$.version", 0, std::numeric_limits<int>::max()) !=
      kVersion) {
    Refuse("$.version", "this version of zr3 reads version " + std::to_string(kVersion));
  }
  const rapidjson::Value& list = Member(document, "conflicts", "$");
  if (!list.IsArray()) Refuse("$.conflicts", "expected an array");
  std::vector<MergeConflict> conflicts;
  conflicts.reserve(list.Size());
  for (rapidjson::SizeType i = 0; i < list.Size(); ++i) {
    conflicts.push_back(ReadConflict(list[i], "$.conflicts[" + std::to_string(i) + ']'));
  }
  return conflicts;
}

}  // namespace zr3::merge
