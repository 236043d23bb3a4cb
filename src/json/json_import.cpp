#include "json/json_import.h"

#include <rapidjson/error/en.h>
#include <rapidjson/memorystream.h>
#include <rapidjson/reader.h>

#include <algorithm>
#include <array>
#include <optional>
#include <unordered_set>

#include "json/json_export.h"
#include "json/json_records.h"
#include "level/record_factory.h"
#include "level/windows1252.h"
#include "script/record_kinds.h"

namespace zr3::json {

JsonImportError::JsonImportError(std::vector<std::string> problems)
    : ZR3Error([&] {
        std::string text;
        for (const std::string& problem : problems) {
          if (!text.empty()) text += '\n';
          text += problem;
        }
        return text;
      }()),
      problems_(std::move(problems)) {}

namespace {

using import::FieldJsonReader;
using import::Importer;
using import::Place;
using import::Quoted;

constexpr int kMaxDepth = 64;

// What the document's top-level keys hold.
enum class Role : std::uint8_t {
  Format,
  FormatVersion,
  Header,
  Info,
  Names,
  Opaque,
  Records,
  Schema,
  Repeated,
  Unknown
};

// Takes the reader's events: the top-level object member by member, and each list's records
// one at a time, each gathered into a document of its own.
class DocumentHandler {
 public:
  explicit DocumentHandler(Importer& importer)
      : importer_(importer), capture_(importer.Capture()) {}

  const std::string& StopReason() const { return stopReason_; }
  // Reports the top-level members that are missing.
  void CheckComplete();

  bool Null() {
    return Value([&] { return capture_.Null(); });
  }
  bool Bool(bool b) {
    return Value([&] { return capture_.Bool(b); });
  }
  bool Int(int i) {
    return Value([&] { return capture_.Int(i); });
  }
  bool Uint(unsigned u) {
    return Value([&] { return capture_.Uint(u); });
  }
  bool Int64(std::int64_t i) {
    return Value([&] { return capture_.Int64(i); });
  }
  bool Uint64(std::uint64_t u) {
    return Value([&] { return capture_.Uint64(u); });
  }
  bool Double(double d) {
    return Value([&] { return capture_.Double(d); });
  }
  bool RawNumber(const char*, rapidjson::SizeType, bool) { return false; }
  bool String(const char* text, rapidjson::SizeType length, bool copy) {
    return Value([&] { return capture_.String(text, length, copy); });
  }
  bool StartObject() { return Open(false); }
  bool StartArray() { return Open(true); }
  bool Key(const char* text, rapidjson::SizeType length, bool copy) {
    if (capturing_) return Forward(capture_.Key(text, length, copy));
    key_.assign(text, length);
    role_ = RoleOf(key_);
    return true;
  }
  bool EndObject(rapidjson::SizeType count) { return Close(false, count); }
  bool EndArray(rapidjson::SizeType count) { return Close(true, count); }

 private:
  struct TopKey {
    std::string_view name;
    Role role;
    Category list;
  };

  Role RoleOf(const std::string& key);
  bool Stop(std::string reason) {
    stopReason_ = std::move(reason);
    return false;
  }
  bool Forward(bool ok) { return ok || Stop(capture_.Failure()); }

  template <class Add>
  bool Value(Add add) {
    if (!capturing_) {
      if (depth_ == 0) return Stop("the document is not a JSON object");
      Capture();
    }
    return Forward(add()) && AfterValue();
  }
  bool Open(bool array) {
    if (depth_ >= kMaxDepth) {
      return Stop("the document nests deeper than " + std::to_string(kMaxDepth) + " levels");
    }
    ++depth_;
    if (!capturing_) {
      if (depth_ == 1) return !array || Stop("the document is not a JSON object");
      if (depth_ == 2 && array &&
          (role_ == Role::Records || role_ == Role::Names || role_ == Role::Repeated)) {
        inList_ = true;
        elements_ = 0;
        return true;
      }
      Capture();
    }
    return Forward(array ? capture_.StartArray() : capture_.StartObject());
  }
  bool Close(bool array, rapidjson::SizeType count) {
    --depth_;
    if (capturing_) {
      return Forward(array ? capture_.EndArray(count) : capture_.EndObject(count)) && AfterValue();
    }
    if (inList_) {
      inList_ = false;
      EndList();
    }
    return true;
  }
  void Capture() {
    capturing_ = true;
    capture_.Begin();
  }
  bool AfterValue() {
    if (capture_.Done()) {
      capturing_ = false;
      const rapidjson::Value& value = capture_.Finish();
      if (inList_) {
        Element(value, elements_++);
      } else {
        Member(value);
      }
    }
    return true;
  }

  void Member(const rapidjson::Value& value);
  void Element(const rapidjson::Value& value, std::size_t index);
  void EndList();
  void ReadRecord(const rapidjson::Value& value, std::size_t index);

  Importer& importer_;
  ValueCapture& capture_;
  int depth_ = 0;
  bool capturing_ = false;
  bool inList_ = false;
  std::size_t elements_ = 0;
  std::string key_;
  Role role_ = Role::Unknown;
  Category list_ = Category::Maps;
  std::unordered_set<std::string> seen_;
  std::string stopReason_;
};

Role DocumentHandler::RoleOf(const std::string& key) {
  if (!seen_.insert(key).second) {
    importer_.Problem(Place{}, "the key " + Quoted(key) + " appears more than once");
    return Role::Repeated;
  }
  static constexpr std::array<std::pair<std::string_view, Role>, 6> kFixed = {
      {{"format", Role::Format},
       {"format_version", Role::FormatVersion},
       {"header", Role::Header},
       {"info", Role::Info},
       {"opaque", Role::Opaque},
       {"$schema", Role::Schema}}};
  for (const auto& [name, role] : kFixed) {
    if (key == name) return role;
  }
  if (const std::optional<Category> list = CategoryFromCommandName(key)) {
    list_ = *list;
    return IsFixedTable(*list) ? Role::Names : Role::Records;
  }
  return Role::Unknown;
}

void DocumentHandler::Member(const rapidjson::Value& value) {
  const Place place{key_ == "info" ? std::string_view("info") : std::string_view()};
  const auto expectString = [&](std::string_view wanted) {
    const Place at{std::string_view(role_ == Role::Format ? "format" : "header")};
    if (!value.IsString() || import::TextOf(value) != wanted) {
      importer_.Problem(at, "expected " + Quoted(wanted));
    }
  };
  switch (role_) {
    case Role::Format:
      expectString(kFormatName);
      break;
    case Role::FormatVersion: {
      const Place at{std::string_view("format_version")};
      const auto version = importer_.Integer(value, 0, 1 << 30, at);
      if (version && *version != kFormatVersion) {
        importer_.Problem(at, "this program reads version " + std::to_string(kFormatVersion) +
                                  " of the format, not " + std::to_string(*version));
      }
      break;
    }
    case Role::Header:
      expectString(ZR3Level::kHeader);
      break;
    case Role::Info: {
      if (!value.IsObject()) {
        importer_.WrongType(place, value, "an object");
        break;
      }
      ZR3LevelInfo& info = importer_.Level().Info();
      FieldJsonReader read(importer_, value, place);
      ZR3LevelInfo::Fields(info, read);
      read.Finish();
      break;
    }
    case Role::Opaque: {
      auto& bytes = importer_.Level().Opaque();
      importer_.Hex(value, bytes.data(), bytes.size(), Place{std::string_view("opaque")});
      break;
    }
    case Role::Names:
    case Role::Records:
      importer_.WrongType(Place{InfoOf(list_).commandName}, value, "an array");
      break;
    case Role::Schema:
      if (!value.IsString()) {
        importer_.WrongType(Place{std::string_view("$schema")}, value, "a string");
      }
      break;
    case Role::Repeated:
      break;
    case Role::Unknown:
      importer_.Problem(Place{}, "unknown field " + Quoted(key_));
      break;
  }
}

void DocumentHandler::Element(const rapidjson::Value& value, std::size_t index) {
  const Place place{InfoOf(list_).commandName, static_cast<std::int32_t>(index)};
  if (role_ == Role::Repeated) return;
  if (role_ == Role::Names) {
    RecordList& names = importer_.Level().List(list_);
    if (index >= FixedTableSize(list_)) return;
    auto entry = std::make_unique<ZR3String>();
    std::string name;
    importer_.Text(value, ZR3String::kSize, place, name);
    entry->SetName(std::move(name));
    entry->SetLoadPosition(static_cast<std::uint16_t>(index));
    entry->SetPosition(static_cast<int>(index));
    names.push_back(std::move(entry));
    return;
  }
  if (index >= ZR3Level::kMaxRecords) {
    if (index == ZR3Level::kMaxRecords) {
      importer_.Problem(Place{InfoOf(list_).commandName},
                        "holds more than " + std::to_string(ZR3Level::kMaxRecords) +
                            " records, the most a list of the file can hold");
    }
    return;
  }
  ReadRecord(value, index);
}

void DocumentHandler::ReadRecord(const rapidjson::Value& value, std::size_t index) {
  if (importer_.Report().Full()) return;
  const Place place{InfoOf(list_).commandName, static_cast<std::int32_t>(index)};
  std::unique_ptr<ZR3Base> record = NewRecord(list_);
  if (!value.IsObject()) {
    // The record stays, empty, so that the positions of those after it do not shift.
    importer_.WrongType(place, value, "an object, one record");
  } else {
    importer_.ReadRecord(list_, *record, value, place);
  }
  record->SetLoadPosition(static_cast<std::uint16_t>(index));
  record->SetPosition(static_cast<int>(index));
  importer_.Level().List(list_).push_back(std::move(record));
}

void DocumentHandler::EndList() {
  if (role_ == Role::Repeated) return;
  if (role_ == Role::Names && elements_ != FixedTableSize(list_)) {
    importer_.Problem(Place{InfoOf(list_).commandName}, "holds " + std::to_string(elements_) +
                                                            " names; the level has exactly " +
                                                            std::to_string(FixedTableSize(list_)));
  }
  importer_.MarkComplete(list_);
}

void DocumentHandler::CheckComplete() {
  for (const std::string_view key : {"format", "format_version", "header", "info"}) {
    if (!seen_.contains(std::string(key))) importer_.Problem(Place{key}, "missing field");
  }
  for (std::size_t c = 0; c < kCategoryCount; ++c) {
    const std::string_view key = InfoOf(static_cast<Category>(c)).commandName;
    if (!seen_.contains(std::string(key))) {
      importer_.Problem(Place{key}, "missing field");
    }
  }
}

// "line 3, column 14" of a byte offset.
std::string LineAndColumn(std::string_view document, std::size_t offset) {
  offset = std::min(offset, document.size());
  const std::string_view before = document.substr(0, offset);
  const std::size_t line =
      1 + static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n'));
  const std::size_t lineStart = before.rfind('\n');
  const std::size_t column = offset - (lineStart == std::string_view::npos ? 0 : lineStart + 1) + 1;
  return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

}  // namespace

std::unique_ptr<ZR3Level> ImportLevelJson(std::string_view document) {
  // A byte-order mark that some editors write is no part of the document.
  std::size_t skipped = 0;
  if (document.starts_with("\xEF\xBB\xBF")) skipped = 3;
  auto level = std::make_unique<ZR3Level>();
  Importer importer(*level);
  DocumentHandler handler(importer);
  rapidjson::MemoryStream stream(document.data() + skipped, document.size() - skipped);
  rapidjson::Reader reader;
  const rapidjson::ParseResult result =
      reader.Parse<rapidjson::kParseIterativeFlag | rapidjson::kParseValidateEncodingFlag>(stream,
                                                                                           handler);
  if (result.IsError()) {
    const std::string reason = result.Code() == rapidjson::kParseErrorTermination
                                   ? handler.StopReason()
                                   : rapidjson::GetParseError_En(result.Code());
    importer.Report().Add(LineAndColumn(document, result.Offset() + skipped) + ": " + reason);
    importer.Report().Throw();
  }
  handler.CheckComplete();
  importer.Finish();
  if (importer.Report().Any()) importer.Report().Throw();
  level->FinishBuilt();
  return level;
}

}  // namespace zr3::json
