#include "json/json_export.h"

#include "json/json_out.h"
#include "json/record_kind.h"
#include "level/field_access.h"
#include "level/fields.h"

namespace zr3::json {

namespace {

// A map's cells: one row of the map per line, each cell [slot, slot, slot], each slot the
// position of its tile, null when empty, or {"unresolved": id}.
void WritePart(JsonOut& json, const ZR3Map& map) {
  const int side = map.Side();
  json.Document().StartArray();
  for (int row = 0; row < side; ++row) {
    json.OneLine([&](JsonOut::Compact& out) {
      out.StartArray();
      for (int column = 0; column < side; ++column) {
        out.StartArray();
        for (std::size_t slot = 0; slot < ZR3Map::kSlotsPerCell; ++slot) {
          if (const ZR3ChainRecord* tile = map.CellTile(row, column, slot)) {
            out.Int(tile->Position());
          } else if (const std::uint32_t id = map.CellTileId(row, column, slot)) {
            out.StartObject();
            out.Key("unresolved");
            out.Uint(id);
            out.EndObject();
          } else {
            out.Null();
          }
        }
        out.EndArray();
      }
      out.EndArray();
    });
  }
  json.Document().EndArray();
}

// A script's ten condition or command slots, one slot a line: {"code": c, "parameters": [...]},
// the parameters as the save writes them (positions of the records they name).
template <class Entry>
void WriteSlots(JsonOut& json, std::string_view name, const ZR3Script& script,
                const Entry& (ZR3Script::*slot)(std::size_t) const) {
  json.Key(name);
  json.Document().StartArray();
  for (std::size_t i = 0; i < ZR3Script::kSlotCount; ++i) {
    const Entry& entry = (script.*slot)(i);
    json.OneLine([&](JsonOut::Compact& out) {
      out.StartObject();
      out.Key("code");
      out.Uint(entry.Code());
      out.Key("parameters");
      out.StartArray();
      for (const std::int16_t parameter : entry.WrittenParameters()) out.Int(parameter);
      out.EndArray();
      out.EndObject();
    });
  }
  json.Document().EndArray();
}

// The two 200-byte blocks are almost always zeros: a script holds them, and the document
// shows them, only when either has another byte (left out, they import as zeros).
void WriteScript(JsonOut& json, const ZR3Script& script) {
  static const ZR3Script::OpaqueBlock kZeros{};
  const bool blocks = script.BlockA() != kZeros || script.BlockB() != kZeros;
  json.Document().StartObject();
  json.Key("name");
  json.Text(script.Name());
  WriteSlots<ZR3ScriptCondition>(json, "conditions", script, &ZR3Script::Condition);
  if (blocks) {
    json.Key("opaque_a");
    json.Hex(script.BlockA().data(), script.BlockA().size());
  }
  WriteSlots<ZR3ScriptCommand>(json, "commands", script, &ZR3Script::Command);
  if (blocks) {
    json.Key("opaque_b");
    json.Hex(script.BlockB().data(), script.BlockB().size());
  }
  json.Key("condition_count");
  json.Integer(script.ConditionCount());
  json.Key("command_count");
  json.Integer(script.CommandCount());
  json.Key("opaque");
  json.Hex(script.Opaque().data(), script.Opaque().size());
  const std::uint32_t ids[] = {script.StoredNextId(), script.StoredPrevId(), script.StoredId()};
  for (std::size_t i = 0; i < 3; ++i) {
    json.Key(kChainNames[i]);
    json.Integer(ids[i]);
  }
  json.Document().EndObject();
}

// Writes each field of a record as a member of the object that holds it.
template <class Record>
class FieldJsonWriter {
 public:
  FieldJsonWriter(JsonOut& json, const Record& record) : json_(json), record_(record) {}

  template <class S>
  void operator()(TextField<S> f) {
    json_.Key(f.name);
    json_.Text(f.value);
  }
  template <class T>
  void operator()(NumberField<T> f) {
    json_.Key(f.name);
    json_.Integer(f.value);
  }
  template <class T>
  void operator()(ChoiceField<T> f) {
    json_.Key(f.name);
    json_.Choice(f.value, f.words);
  }
  template <class A>
  void operator()(OpaqueField<A> f) {
    json_.Key(f.name);
    json_.Hex(f.bytes.data(), f.bytes.size());
  }
  template <class Ref>
  void operator()(ReferenceField<Ref> f) {
    json_.Key(f.name);
    json_.Reference(f.ref.Record(), f.ref.Stored(), f.ref.Empty());
  }
  template <class A>
  void operator()(ReferenceRunField<A> f) {
    json_.Key(f.name);
    json_.Document().StartArray();
    for (const auto& ref : f.refs) json_.Reference(ref.Record(), ref.Stored(), ref.Empty());
    json_.Document().EndArray();
  }
  template <class Ref>
  void operator()(PositionField<Ref> f) {
    json_.Key(f.name);
    if (f.active && f.ref.Record()) {
      json_.Reference(f.ref.Record(), 0, false);
    } else {
      json_.Integer(f.ref.Stored());
    }
  }
  template <class R>
  void operator()(ChainField<R> f) {
    const std::uint32_t ids[] = {f.record.StoredNextId(), f.record.StoredPrevId(),
                                 f.record.StoredId()};
    for (std::size_t i = 0; i < 3; ++i) {
      json_.Key(kChainNames[i]);
      json_.Integer(ids[i]);
    }
  }
  template <class P>
  void operator()(PartField<P> f) {
    json_.Key(f.name);
    WritePart(json_, record_);
  }
  template <class F>
  void operator()(const F&) {}

 private:
  JsonOut& json_;
  const Record& record_;
};

template <class Record>
void WriteObject(JsonOut& json, const Record& record) {
  json.Document().StartObject();
  FieldJsonWriter<Record> write(json, record);
  Record::Fields(record, write);
  json.Document().EndObject();
}

}  // namespace

void WriteLevelJson(const ZR3Level& level, ByteWriter& out) {
  JsonOut json(out);
  JsonOut::Pretty& document = json.Document();
  document.StartObject();
  json.Key("format");
  document.String(kFormatName.data(), static_cast<rapidjson::SizeType>(kFormatName.size()));
  json.Key("format_version");
  document.Int(kFormatVersion);
  json.Key("header");
  json.Text(ZR3Level::kHeader);
  json.Key("info");
  WriteObject(json, level.Info());
  for (const Category table : kNameTables) {
    json.Key(InfoOf(table).commandName);
    document.StartArray();
    for (const auto& entry : level.List(table)) json.Text(entry->Name());
    document.EndArray();
  }
  json.Key("opaque");
  json.Hex(level.Opaque().data(), level.Opaque().size());
  for (const Category list : kRecordLists) {
    json.Key(InfoOf(list).commandName);
    document.StartArray();
    WithKind(list, [&]<class Record>() {
      for (const auto& record : level.List(list)) {
        if constexpr (FieldListed<Record>) {
          WriteObject(json, static_cast<const Record&>(*record));
        } else {
          WriteScript(json, static_cast<const Record&>(*record));
        }
        json.FlushIfFull();
      }
    });
    document.EndArray();
  }
  document.EndObject();
  json.Finish();
  out.U8('\n');
}

std::string LevelJson(const ZR3Level& level) {
  ByteWriter out;
  WriteLevelJson(level, out);
  return out.Release();
}

}  // namespace zr3::json
