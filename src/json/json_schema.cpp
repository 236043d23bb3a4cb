#include "json/json_schema.h"

#include <limits>
#include <vector>

#include "json/json_export.h"
#include "json/json_out.h"
#include "level/field_access.h"
#include "level/fields.h"
#include "level/zr3level.h"
#include "script/record_kinds.h"

namespace zr3::json {

namespace {

using Pretty = JsonOut::Pretty;

void Key(Pretty& out, std::string_view key) {
  out.Key(key.data(), static_cast<rapidjson::SizeType>(key.size()));
}
void String(Pretty& out, std::string_view text) {
  out.String(text.data(), static_cast<rapidjson::SizeType>(text.size()));
}
void Member(Pretty& out, std::string_view key, std::string_view text) {
  Key(out, key);
  String(out, text);
}
void Ref(Pretty& out, std::string_view definition) {
  out.StartObject();
  Member(out, "$ref", "#/$defs/" + std::string(definition));
  out.EndObject();
}
void IntegerSchema(Pretty& out, std::int64_t min, std::int64_t max) {
  out.StartObject();
  Member(out, "type", "integer");
  Key(out, "minimum");
  out.Int64(min);
  Key(out, "maximum");
  out.Int64(max);
  out.EndObject();
}
template <class T>
void IntegerSchema(Pretty& out) {
  using U = std::remove_const_t<T>;
  IntegerSchema(out, std::numeric_limits<U>::min(), std::numeric_limits<U>::max());
}
void HexSchema(Pretty& out, std::size_t bytes) {
  out.StartObject();
  Member(out, "type", "string");
  Member(out, "pattern", "^[0-9a-fA-F]{" + std::to_string(bytes * 2) + "}$");
  Member(out, "description",
         std::to_string(bytes) +
             " bytes kept as read, in hex; zeros when "
             "left out");
  out.EndObject();
}
void TextSchema(Pretty& out, std::size_t width) {
  out.StartObject();
  Member(out, "type", "string");
  Key(out, "maxLength");
  out.Uint64(width);
  out.EndObject();
}
void ArrayOf(Pretty& out, std::string_view definition, std::size_t min, std::size_t max) {
  out.StartObject();
  Member(out, "type", "array");
  Key(out, "items");
  Ref(out, definition);
  if (min > 0) {
    Key(out, "minItems");
    out.Uint64(min);
  }
  Key(out, "maxItems");
  out.Uint64(max);
  out.EndObject();
}

std::string Targets(Category list) {
  return "names " + std::string(IsFixedTable(list) ? "an entry of the " : "a record of the ") +
         std::string(InfoOf(list).commandName) + " list";
}

// Writes each field's schema into "properties" and notes which are required.
class FieldSchemaWriter {
 public:
  explicit FieldSchemaWriter(Pretty& out) : out_(out) {}

  const std::vector<std::string_view>& Required() const { return required_; }

  template <class S>
  void operator()(TextField<S> f) {
    Property(f.name, f.present);
    TextSchema(out_, f.width);
  }
  template <class T>
  void operator()(NumberField<T> f) {
    Property(f.name, true);
    IntegerSchema<T>(out_);
  }
  template <class T>
  void operator()(ChoiceField<T> f) {
    Property(f.name, true);
    std::string words;
    for (std::size_t i = 0; i < f.words.size(); ++i) {
      if (f.words[i].empty()) continue;
      if (!words.empty()) words += ", ";
      words += std::to_string(i) + " " + std::string(f.words[i]);
    }
    out_.StartObject();
    Member(out_, "description", "A number; the words: " + words);
    Key(out_, "oneOf");
    out_.StartArray();
    IntegerSchema<T>(out_);
    out_.StartObject();
    Member(out_, "type", "object");
    Key(out_, "properties");
    out_.StartObject();
    Key(out_, "value");
    IntegerSchema<T>(out_);
    Key(out_, "word");
    out_.StartObject();
    Member(out_, "type", "string");
    Member(out_, "description", "for the reader; ignored on import");
    out_.EndObject();
    out_.EndObject();
    Key(out_, "required");
    out_.StartArray();
    String(out_, "value");
    out_.EndArray();
    Key(out_, "additionalProperties");
    out_.Bool(false);
    out_.EndObject();
    out_.EndArray();
    out_.EndObject();
  }
  template <class A>
  void operator()(OpaqueField<A> f) {
    Property(f.name, false);
    HexSchema(out_, f.bytes.size());
  }
  template <class Ref>
  void operator()(ReferenceField<Ref> f) {
    Property(f.name, true);
    Described("reference", Targets(Ref::kRule.list));
  }
  template <class A>
  void operator()(ReferenceRunField<A> f) {
    Property(f.name, true);
    const Category list = std::remove_cvref_t<decltype(f.refs[0])>::kRule.list;
    out_.StartObject();
    Member(out_, "type", "array");
    Member(out_, "description", "each slot " + Targets(list));
    Key(out_, "items");
    Ref(out_, "reference");
    Key(out_, "minItems");
    out_.Uint64(f.refs.size());
    Key(out_, "maxItems");
    out_.Uint64(f.refs.size());
    out_.EndObject();
  }
  template <class Ref>
  void operator()(PositionField<Ref> f) {
    Property(f.name, true);
    Described("position", Targets(Ref::kRule.list) + " while it names a record");
  }
  template <class R>
  void operator()(ChainField<R>) {
    for (const std::string_view name : kChainNames) {
      Property(name, false);
      IntegerSchema<std::uint32_t>(out_);
    }
  }
  template <class P>
  void operator()(PartField<P> f) {
    Property(
        f.name, !requires { P::kOptionalInJson; });
    P::JsonSchema(*this);
  }
  template <class F>
  void operator()(const F&) {}

  // The schemas a part describes itself with.
  void Hex(std::size_t bytes) { HexSchema(out_, bytes); }
  // count slots, each {"code": c, "parameters": [parameters whole numbers]}.
  void CodeSlots(std::size_t count, std::size_t parameters);
  // At most side x side cells, each slots references.
  void ReferenceGrid(int side, std::size_t slots);

 private:
  void Property(std::string_view name, bool required) {
    Key(out_, name);
    if (required) required_.push_back(name);
  }
  void Described(std::string_view definition, const std::string& description) {
    out_.StartObject();
    Member(out_, "description", description);
    Member(out_, "$ref", "#/$defs/" + std::string(definition));
    out_.EndObject();
  }

  Pretty& out_;
  std::vector<std::string_view> required_;
};

void FieldSchemaWriter::CodeSlots(std::size_t count, std::size_t parameters) {
  out_.StartObject();
  Member(out_, "type", "array");
  Key(out_, "items");
  out_.StartObject();
  Member(out_, "description",
         "a condition or command: its code and nine parameters, positions of the records they "
         "name as the save writes them");
  Member(out_, "type", "object");
  Key(out_, "properties");
  out_.StartObject();
  Key(out_, "code");
  IntegerSchema<std::uint16_t>(out_);
  Key(out_, "parameters");
  out_.StartObject();
  Member(out_, "type", "array");
  Key(out_, "items");
  IntegerSchema<std::int16_t>(out_);
  Key(out_, "minItems");
  out_.Uint64(parameters);
  Key(out_, "maxItems");
  out_.Uint64(parameters);
  out_.EndObject();
  out_.EndObject();
  Key(out_, "required");
  out_.StartArray();
  String(out_, "code");
  String(out_, "parameters");
  out_.EndArray();
  Key(out_, "additionalProperties");
  out_.Bool(false);
  out_.EndObject();
  Key(out_, "minItems");
  out_.Uint64(count);
  Key(out_, "maxItems");
  out_.Uint64(count);
  out_.EndObject();
}

void FieldSchemaWriter::ReferenceGrid(int side, std::size_t slots) {
  out_.StartObject();
  Member(out_, "description",
         "size x size rows (at most " + std::to_string(side) +
             ") of cells, each cell its slots, each slot a reference");
  Member(out_, "type", "array");
  Key(out_, "maxItems");
  out_.Int(side);
  Key(out_, "items");
  out_.StartObject();
  Member(out_, "type", "array");
  Key(out_, "maxItems");
  out_.Int(side);
  Key(out_, "items");
  out_.StartObject();
  Member(out_, "type", "array");
  Key(out_, "minItems");
  out_.Uint64(slots);
  Key(out_, "maxItems");
  out_.Uint64(slots);
  Key(out_, "items");
  Ref(out_, "reference");
  out_.EndObject();
  out_.EndObject();
  out_.EndObject();
}

template <class Record>
void RecordSchema(Pretty& out, const Record& record, std::string_view description) {
  out.StartObject();
  Member(out, "description", description);
  Member(out, "type", "object");
  Key(out, "properties");
  out.StartObject();
  FieldSchemaWriter write(out);
  Record::Fields(record, write);
  out.EndObject();
  Key(out, "required");
  out.StartArray();
  for (const std::string_view name : write.Required()) String(out, name);
  out.EndArray();
  Key(out, "additionalProperties");
  out.Bool(false);
  out.EndObject();
}

// The shapes every reference shares.
void ReferenceDefinitions(Pretty& out) {
  const auto object = [&](std::initializer_list<std::string_view> keys, std::string_view required) {
    out.StartObject();
    Member(out, "type", "object");
    Key(out, "properties");
    out.StartObject();
    for (const std::string_view key : keys) {
      Key(out, key);
      if (key == "name") {
        out.StartObject();
        Member(out, "type", "string");
        out.EndObject();
      } else if (key == "index") {
        IntegerSchema(out, 0, ZR3Level::kMaxRecords - 1);
      } else {
        IntegerSchema<std::uint32_t>(out);
      }
    }
    out.EndObject();
    Key(out, "required");
    out.StartArray();
    String(out, required);
    out.EndArray();
    Key(out, "additionalProperties");
    out.Bool(false);
    out.EndObject();
  };
  Key(out, "reference");
  out.StartObject();
  Member(out, "description",
         "null for none; a record by its position (a number, or {\"index\": n} with the name for "
         "the reader), by its name alone ({\"name\": ...}, which must name exactly one record), "
         "or an identifier that matched no record, kept as stored ({\"unresolved\": id})");
  Key(out, "oneOf");
  out.StartArray();
  out.StartObject();
  Member(out, "type", "null");
  out.EndObject();
  IntegerSchema(out, 0, ZR3Level::kMaxRecords - 1);
  object({"index", "name"}, "index");
  object({"name"}, "name");
  object({"unresolved"}, "unresolved");
  out.EndArray();
  out.EndObject();

  Key(out, "position");
  out.StartObject();
  Member(out, "description",
         "a position in a list as stored (a number, which need not name a record), or a record "
         "by {\"index\": n} or by {\"name\": ...}");
  Key(out, "oneOf");
  out.StartArray();
  IntegerSchema<std::int16_t>(out);
  object({"index", "name"}, "index");
  object({"name"}, "name");
  out.EndArray();
  out.EndObject();
}

std::string DefinitionOf(Category list) {
  return IsScriptCategory(list) ? "script" : "record-" + std::string(InfoOf(list).commandName);
}

}  // namespace

void WriteLevelJsonSchema(ByteWriter& bytes) {
  JsonOut json(bytes);
  Pretty& out = json.Document();
  out.StartObject();
  Member(out, "$schema", "https://json-schema.org/draft/2020-12/schema");
  Member(out, "title", "ZR3 level");
  Member(out, "description",
         "A level file as zr3 export-json writes it and zr3 import-json reads it. Texts are "
         "Unicode for the level's Windows-1252 bytes; every record's fields in file order.");
  Member(out, "type", "object");
  Key(out, "properties");
  out.StartObject();
  Key(out, "$schema");
  out.StartObject();
  Member(out, "type", "string");
  out.EndObject();
  Key(out, "format");
  out.StartObject();
  Member(out, "const", kFormatName);
  out.EndObject();
  Key(out, "format_version");
  out.StartObject();
  Key(out, "const");
  out.Int(kFormatVersion);
  out.EndObject();
  Key(out, "header");
  out.StartObject();
  Member(out, "const", ZR3Level::kHeader);
  out.EndObject();
  Key(out, "info");
  Ref(out, "info");
  for (const Category table : kNameTables) {
    Key(out, InfoOf(table).commandName);
    out.StartObject();
    Member(out, "type", "array");
    Key(out, "items");
    TextSchema(out, ZR3String::kSize);
    Key(out, "minItems");
    out.Uint64(FixedTableSize(table));
    Key(out, "maxItems");
    out.Uint64(FixedTableSize(table));
    out.EndObject();
  }
  Key(out, "opaque");
  HexSchema(out, ZR3Level::kOpaqueSize);
  for (const Category list : kRecordLists) {
    Key(out, InfoOf(list).commandName);
    ArrayOf(out, DefinitionOf(list), 0, ZR3Level::kMaxRecords);
  }
  out.EndObject();
  Key(out, "required");
  out.StartArray();
  for (const std::string_view key : {"format", "format_version", "header", "info"}) {
    String(out, key);
  }
  for (const Category table : kNameTables) String(out, InfoOf(table).commandName);
  for (const Category list : kRecordLists) String(out, InfoOf(list).commandName);
  out.EndArray();
  Key(out, "additionalProperties");
  out.Bool(false);

  Key(out, "$defs");
  out.StartObject();
  ReferenceDefinitions(out);
  Key(out, "info");
  RecordSchema(out, ZR3LevelInfo{}, "The level information");
  for (const Category list : kRecordLists) {
    if (list != Category::GlobalScripts && IsScriptCategory(list)) continue;
    WithKind(list, [&]<class Record>() {
      const std::string lists = IsScriptCategory(list)
                                    ? std::string("four script lists")
                                    : std::string(InfoOf(list).commandName) + " list";
      Key(out, DefinitionOf(list));
      RecordSchema(out, Record(), "One record of the " + lists);
    });
  }
  out.EndObject();
  out.EndObject();
  json.Finish();
  bytes.U8('\n');
}

std::string LevelJsonSchema() {
  ByteWriter out;
  WriteLevelJsonSchema(out);
  return out.Release();
}

}  // namespace zr3::json
