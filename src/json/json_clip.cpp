#include "json/json_clip.h"

#include <rapidjson/document.h>
#include <rapidjson/error/en.h>

#include <algorithm>
#include <map>
#include <optional>

#include "edit/edit_common.h"
#include "json/json_export.h"
#include "json/json_import.h"
#include "json/json_out.h"
#include "json/json_records.h"
#include "level/record_factory.h"

namespace zr3::json {

namespace {

constexpr std::string_view kPositions = "positions";

using import::Importer;
using import::Place;
using import::Quoted;

[[noreturn]] void Refuse(std::string problem) {
  throw JsonImportError({std::move(problem)});
}

// The records of the document, each read with its references waiting for the lookup.
struct ReadRecords {
  std::vector<PastedRecord> records;
  std::vector<Place> places;
};

// The positions the records of one list had, in the order of its records; -1 for each record
// the document gives no position.
std::vector<std::int64_t> PositionsOf(const rapidjson::Value& document, std::string_view list,
                                      std::size_t count) {
  std::vector<std::int64_t> positions(count, -1);
  const auto all = document.FindMember(kPositions.data());
  if (all == document.MemberEnd() || !all->value.IsObject()) return positions;
  const auto mine = all->value.FindMember(
      rapidjson::Value(list.data(), static_cast<rapidjson::SizeType>(list.size())));
  if (mine == all->value.MemberEnd() || !mine->value.IsArray()) return positions;
  const auto& given = mine->value.GetArray();
  for (std::size_t i = 0; i < std::min<std::size_t>(count, given.Size()); ++i) {
    if (given[static_cast<rapidjson::SizeType>(i)].IsInt64()) {
      positions[i] = given[static_cast<rapidjson::SizeType>(i)].GetInt64();
    }
  }
  return positions;
}

void CheckFormat(const rapidjson::Document& document) {
  if (!document.IsObject()) Refuse("the text is not a JSON object");
  const auto format = document.FindMember("format");
  if (format == document.MemberEnd() || !format->value.IsString() ||
      std::string_view(format->value.GetString(), format->value.GetStringLength()) !=
          kRecordsFormatName) {
    Refuse("the text holds no records: its \"format\" is not " + Quoted(kRecordsFormatName));
  }
  const auto version = document.FindMember("format_version");
  if (version == document.MemberEnd() || !version->value.IsInt() ||
      version->value.GetInt() != kFormatVersion) {
    Refuse("this program reads version " + std::to_string(kFormatVersion) +
           " of the records' format");
  }
}

ReadRecords Read(Importer& importer, const rapidjson::Document& document) {
  ReadRecords read;
  for (const auto& member : document.GetObject()) {
    const std::string_view key(member.name.GetString(), member.name.GetStringLength());
    if (key == "format" || key == "format_version" || key == kPositions) continue;
    const std::optional<Category> list = CategoryFromCommandName(key);
    if (!list) {
      importer.Problem(Place{}, "unknown field " + Quoted(key));
      continue;
    }
    const Place listPlace{InfoOf(*list).commandName};
    if (IsFixedTable(*list)) {
      importer.Problem(listPlace, FixedTableRefusal(*list, "pasted"));
      continue;
    }
    if (!member.value.IsArray()) {
      importer.Problem(listPlace, "expected an array of records");
      continue;
    }
    const auto& records = member.value.GetArray();
    const std::vector<std::int64_t> positions = PositionsOf(document, key, records.Size());
    for (rapidjson::SizeType i = 0; i < records.Size() && !importer.Report().Full(); ++i) {
      const Place place{InfoOf(*list).commandName, static_cast<std::int32_t>(i)};
      if (!records[i].IsObject()) {
        importer.Problem(place, "expected an object, one record");
        continue;
      }
      std::unique_ptr<ZR3Base> record = NewRecord(*list);
      importer.ReadRecord(*list, *record, records[i], place);
      read.records.push_back({*list, positions[i], std::move(record)});
      read.places.push_back(place);
    }
  }
  return read;
}

}  // namespace

std::string RecordsJson(const ZR3Level& level, std::vector<NamedRecord> records) {
  std::sort(records.begin(), records.end(), [](const NamedRecord& a, const NamedRecord& b) {
    return std::pair(IndexOf(*a.category), a.index) < std::pair(IndexOf(*b.category), b.index);
  });
  records.erase(std::unique(records.begin(), records.end()), records.end());
  ByteWriter out;
  JsonOut json(out);
  JsonOut::Pretty& document = json.Document();
  document.StartObject();
  json.Key("format");
  document.String(kRecordsFormatName.data(),
                  static_cast<rapidjson::SizeType>(kRecordsFormatName.size()));
  json.Key("format_version");
  document.Int(kFormatVersion);
  // Each list's run of records.
  const auto eachList = [&](auto write) {
    for (auto begin = records.begin(); begin != records.end();) {
      const auto end = std::find_if(begin, records.end(), [&](const NamedRecord& record) {
        return record.category != begin->category;
      });
      json.Key(InfoOf(*begin->category).commandName);
      document.StartArray();
      for (auto record = begin; record != end; ++record) write(*record);
      document.EndArray();
      begin = end;
    }
  };
  json.Key(kPositions);
  document.StartObject();
  eachList(
      [&](const NamedRecord& record) { json.Integer(static_cast<std::int64_t>(record.index)); });
  document.EndObject();
  eachList([&](const NamedRecord& record) {
    WriteRecordJson(json, *record.category,
                    RecordOf(level, *record.category, static_cast<long long>(record.index)));
  });
  document.EndObject();
  json.Finish();
  out.U8('\n');
  return out.Release();
}

PasteResult PasteRecordsJson(ZR3Level& level, std::string_view text,
                             std::optional<NamedRecord> after) {
  rapidjson::Document document;
  document.Parse<rapidjson::kParseValidateEncodingFlag>(text.data(), text.size());
  if (document.HasParseError()) {
    Refuse("offset " + std::to_string(document.GetErrorOffset()) + ": " +
           rapidjson::GetParseError_En(document.GetParseError()));
  }
  CheckFormat(document);

  PasteResult result;
  std::optional<PastedNames> names;
  // Which record a place of the document belongs to.
  std::map<std::pair<std::string_view, std::int32_t>, std::size_t> recordAt;
  Importer importer(level);
  importer.SetLookup(
      [&](Category list, std::int64_t index, const std::string& name, const Place& place) {
        ZR3Base* found = names->Find(list, index, name);
        if (found == nullptr) {
          result.unresolved.push_back({result.placed[recordAt.at({place.list, place.record})],
                                       place.FieldText(), name, list});
        }
        return found;
      });
  ReadRecords read = Read(importer, document);
  if (importer.Report().Any()) importer.Report().Throw();
  if (read.records.empty()) Refuse("the text holds no records");
  if (std::string refusal = PasteRefusal(level, read.records); !refusal.empty()) {
    throw ZR3Error(refusal);
  }

  std::vector<PastedNames::Pasted> origins;
  std::vector<Importer::Pasted> finishing;
  for (std::size_t i = 0; i < read.records.size(); ++i) {
    const PastedRecord& pasted = read.records[i];
    origins.push_back({pasted.list, pasted.sourceIndex, pasted.record.get()});
    finishing.push_back({pasted.list, pasted.record.get(), read.places[i]});
    recordAt.emplace(std::pair(read.places[i].list, read.places[i].record), i);
  }
  result.placed = InsertPasted(level, read.records, after);
  names.emplace(level, origins);
  importer.FinishPasted(finishing);
  if (importer.Report().Any()) {
    TakePasted(level, result.placed);
    importer.Report().Throw();
  }
  level.SetModified(true);
  return result;
}

}  // namespace zr3::json
