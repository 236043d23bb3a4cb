#include "json/json_export.h"

#include "json/json_out.h"
#include "level/field_access.h"
#include "level/fields.h"
#include "script/record_kinds.h"

namespace zr3::json {

namespace {

// Writes each field of a record as a member of the object that holds it.
class FieldJsonWriter {
 public:
  explicit FieldJsonWriter(JsonOut& json) : json_(json) {}

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
    // A position whose record has no place in the level written for stays as stored.
    if (f.active && f.ref.Record() && json_.PlaceOf(*f.ref.Record())) {
      json_.Reference(f.ref.Record(), 0, false);
    } else {
      json_.Integer(f.ref.Stored());
    }
  }
  template <class R>
  void operator()(ChainField<R> f) {
    const std::array<std::uint32_t, 3> ids = f.Ids();
    for (std::size_t i = 0; i < ids.size(); ++i) {
      json_.Key(kChainNames[i]);
      json_.Integer(ids[i]);
    }
  }
  template <class P>
  void operator()(PartField<P> f) {
    if constexpr (requires { f.part.InJson(); }) {
      if (!f.part.InJson()) return;
    }
    json_.Key(f.name);
    f.part.WriteJson(json_);
  }
  template <class F>
  void operator()(const F&) {}

 private:
  JsonOut& json_;
};

template <class Record>
void WriteObject(JsonOut& json, const Record& record) {
  json.Document().StartObject();
  FieldJsonWriter write(json);
  Record::Fields(record, write);
  json.Document().EndObject();
}

}  // namespace

void WriteRecordJson(JsonOut& json, Category list, const ZR3Base& record) {
  WithKind(list, [&]<class Record>() { WriteObject(json, static_cast<const Record&>(record)); });
}

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
        WriteObject(json, static_cast<const Record&>(*record));
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

namespace {

template <class Write>
std::string ObjectJson(const RecordPlaces& places, Write write) {
  ByteWriter out;
  JsonOut json(out);
  json.SetPlaces(places);
  write(json);
  json.Finish();
  return out.Release();
}

}  // namespace

std::string RecordJson(const ZR3Base& record, Category list, const RecordPlaces& places) {
  return ObjectJson(places, [&](JsonOut& json) { WriteRecordJson(json, list, record); });
}

std::string InfoJson(const ZR3LevelInfo& info, const RecordPlaces& places) {
  return ObjectJson(places, [&](JsonOut& json) { WriteObject(json, info); });
}

}  // namespace zr3::json
