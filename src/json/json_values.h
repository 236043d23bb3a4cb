#pragma once

#include <rapidjson/document.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "json/json_capture.h"
#include "json/json_import.h"
#include "level/category.h"
#include "level/numbers.h"
#include "level/windows1252.h"
#include "level/zr3level.h"

// The value conversion of the JSON import: where a value sits, the problems found, and each
// JSON value turned into a field's value.
namespace zr3::json::import {

constexpr std::int64_t kMaxPosition = static_cast<std::int64_t>(ZR3Level::kMaxRecords) - 1;

// Where a value sits in the document. Small and made of views of names that outlive the
// import (list and field names), so that a reference resolved later can keep it.
struct Place {
  Place() = default;
  explicit Place(std::string_view top, std::int32_t index = -1) : list(top), record(index) {}

  std::string_view list;
  std::int32_t record = -1;
  std::string_view field;
  std::array<std::int32_t, 3> indices{};
  std::uint8_t indexCount = 0;

  Place Field(std::string_view name) const {
    Place place = *this;
    place.field = name;
    place.indexCount = 0;
    return place;
  }
  Place Index(std::size_t index) const {
    Place place = *this;
    if (place.indexCount < place.indices.size()) {
      place.indices[place.indexCount++] = static_cast<std::int32_t>(index);
    }
    return place;
  }
  // "$.items[3].price", "$.maps[0].cells[5][7][2]".
  std::string Text() const {
    std::string text = "$";
    if (!list.empty()) (text += '.') += list;
    if (record >= 0) ((text += '[') += std::to_string(record)) += ']';
    if (!field.empty()) text += '.';
    return text + FieldText();
  }
  // The field within its record: "price", "cells[5][7][2]".
  std::string FieldText() const {
    std::string text(field);
    for (std::size_t i = 0; i < indexCount; ++i) {
      ((text += '[') += std::to_string(indices[i])) += ']';
    }
    return text;
  }
};

class Problems {
 public:
  void Add(const Place& place, std::string_view message) {
    std::string line = place.Text();
    line += ": ";
    line += message;
    Add(std::move(line));
  }
  void Add(std::string line) {
    ++count_;
    if (lines_.size() < kMaxReportedProblems) lines_.push_back(std::move(line));
  }
  bool Any() const { return count_ > 0; }
  // Past the limit nothing more can be reported, and the import will fail: records are no
  // longer built, so that a document of junk cannot make a level far larger than itself.
  bool Full() const { return count_ > kMaxReportedProblems; }
  [[noreturn]] void Throw() {
    if (count_ > lines_.size()) {
      lines_.push_back("... and " + std::to_string(count_ - lines_.size()) + " more problems");
    }
    throw JsonImportError(std::move(lines_));
  }

 private:
  std::vector<std::string> lines_;
  std::size_t count_ = 0;
};

inline std::string_view TypeName(const rapidjson::Value& value) {
  switch (value.GetType()) {
    case rapidjson::kNullType:
      return "null";
    case rapidjson::kFalseType:
    case rapidjson::kTrueType:
      return "a boolean";
    case rapidjson::kNumberType:
      return "a number";
    case rapidjson::kStringType:
      return "a string";
    case rapidjson::kArrayType:
      return "an array";
    case rapidjson::kObjectType:
      break;
  }
  return "an object";
}

inline std::string_view TextOf(const rapidjson::Value& string) {
  return {string.GetString(), string.GetStringLength()};
}

inline std::string Quoted(std::string_view text) {
  std::string quoted = "\"";
  quoted += text;
  quoted += '"';
  return quoted;
}

inline std::string NoRecordAt(Category list, std::int64_t position, std::size_t size) {
  return "no " + std::string(InfoOf(list).recordNoun) + " at position " + std::to_string(position) +
         " (the list holds " + std::to_string(size) + ")";
}

// What a reference value names, before the lists it points into are complete.
struct ReferenceValue {
  enum class Kind : std::uint8_t { Invalid, None, Index, Name, Unresolved } kind = Kind::Invalid;
  std::int64_t number = 0;  // the position, or the identifier kept as stored
  std::string name;         // Windows-1252
};

// The members of one object: found by key, each marked when used, so that what is left over
// is reported as unknown or repeated. The marks of the objects read at once (a record, a
// reference inside it) stand one after another in a shared vector, each reader's taken back
// when it ends.
class ObjectReader {
 public:
  ObjectReader(const rapidjson::Value& object, std::vector<std::uint8_t>& used)
      : members_(object.MemberBegin()),
        count_(object.MemberCount()),
        used_(used),
        base_(used.size()) {
    used_.resize(base_ + count_, 0);
  }
  ObjectReader(const ObjectReader&) = delete;
  ObjectReader& operator=(const ObjectReader&) = delete;
  ~ObjectReader() { used_.resize(base_); }

  // The member with the key, or null. Members are looked for from just after the one found
  // last, so a document in the export's order finds each at once.
  const rapidjson::Value* Find(std::string_view key) {
    std::uint32_t at = cursor_;
    for (std::uint32_t seen = 0; seen < count_; ++seen, ++at) {
      if (at >= count_) at = 0;
      if (!used_[base_ + at] && TextOf(members_[at].name) == key) {
        used_[base_ + at] = 1;
        cursor_ = at + 1;
        return &members_[at].value;
      }
    }
    return nullptr;
  }

  // Reports every member that no Find took: a key found before appears more than once, any
  // other is unknown.
  void Finish(Problems& problems, const Place& place) const {
    const auto marks = used_.begin() + static_cast<std::ptrdiff_t>(base_);
    if (std::count(marks, marks + count_, 1) == static_cast<std::ptrdiff_t>(count_)) return;
    std::vector<std::string_view> found;
    for (std::uint32_t at = 0; at < count_; ++at) {
      if (used_[base_ + at]) found.push_back(TextOf(members_[at].name));
    }
    for (std::uint32_t at = 0; at < count_ && !problems.Full(); ++at) {
      if (used_[base_ + at]) continue;
      const std::string_view key = TextOf(members_[at].name);
      const bool repeated = std::find(found.begin(), found.end(), key) != found.end();
      problems.Add(place, repeated ? "the key " + Quoted(key) + " appears more than once"
                                   : "unknown field " + Quoted(key));
    }
  }

 private:
  rapidjson::Value::ConstMemberIterator members_;
  std::uint32_t count_;
  std::vector<std::uint8_t>& used_;
  std::size_t base_;
  std::uint32_t cursor_ = 0;
};

// Turns the values of the current record into the level's values, reporting every value that
// does not fit with its place.
class ValueReader {
 public:
  Problems& Report() { return problems_; }
  // The values of the record read now.
  ValueCapture& Capture() { return capture_; }
  // Marks for the members of the objects read now.
  std::vector<std::uint8_t>& Used() { return used_; }

  void Problem(const Place& place, std::string_view message) { problems_.Add(place, message); }
  void WrongType(const Place& place, const rapidjson::Value& value, std::string_view expected) {
    Problem(place, "expected " + std::string(expected) + ", not " + std::string(TypeName(value)));
  }

  // A whole number within min..max.
  std::optional<std::int64_t> Integer(const rapidjson::Value& value, std::int64_t min,
                                      std::int64_t max, const Place& place) {
    const auto range = [&] { return std::to_string(min) + ".." + std::to_string(max); };
    if (value.IsUint64()) {
      if (value.GetUint64() > static_cast<std::uint64_t>(max)) {
        Problem(place, std::to_string(value.GetUint64()) + " is out of range " + range());
        return std::nullopt;
      }
      return static_cast<std::int64_t>(value.GetUint64());
    }
    if (value.IsInt64()) {
      if (value.GetInt64() < min) {
        Problem(place, std::to_string(value.GetInt64()) + " is out of range " + range());
        return std::nullopt;
      }
      return value.GetInt64();
    }
    if (!value.IsDouble()) {
      WrongType(place, value, "a whole number");
      return std::nullopt;
    }
    // A fraction, an exponent, beyond 64 bits, or -0.
    const double d = value.GetDouble();
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", d);
    if (!std::isfinite(d) || std::trunc(d) != d) {
      Problem(place, std::string(text) + " is not a whole number");
    } else if (d < static_cast<double>(min) || d > static_cast<double>(max)) {
      Problem(place, std::string(text) + " is out of range " + range());
    } else if (d == 0 && std::signbit(d) && min == 0) {
      Problem(place, "-0 is not a value of an unsigned field (" + range() + ")");
    } else {
      return static_cast<std::int64_t>(d);
    }
    return std::nullopt;
  }

  template <class T>
  std::optional<std::int64_t> Integer(const rapidjson::Value& value, const Place& place) {
    using U = std::remove_const_t<T>;
    return Integer(value, std::numeric_limits<U>::min(), std::numeric_limits<U>::max(), place);
  }

  // A string as the level's 8-bit text of at most width bytes.
  bool Text(const rapidjson::Value& value, std::size_t width, const Place& place,
            std::string& out) {
    if (!value.IsString()) {
      WrongType(place, value, "a string");
      return false;
    }
    std::string error;
    if (!ToWindows1252(TextOf(value), scratch_, error)) {
      Problem(place, error);
      return false;
    }
    if (scratch_.size() > width) {
      Problem(place, "a text of " + std::to_string(scratch_.size()) +
                         " characters is longer than the field's " + std::to_string(width));
      return false;
    }
    out = scratch_;
    return true;
  }

  // Exactly count bytes written as hex digits; false, reported, otherwise.
  bool Hex(const rapidjson::Value& value, std::uint8_t* bytes, std::size_t count,
           const Place& place) {
    if (!value.IsString()) {
      WrongType(place, value, "a string of hex digits");
      return false;
    }
    const std::string_view text = TextOf(value);
    if (text.size() != count * 2) {
      Problem(place, "takes " + std::to_string(count) + " bytes as " + std::to_string(count * 2) +
                         " hex digits, not " + std::to_string(text.size()) + " characters");
      return false;
    }
    for (const char c : text) {
      if (HexDigitValue(c) < 0) {
        Problem(place, "holds " + Quoted(std::string(1, c)) + ", which is not a hex digit");
        return false;
      }
    }
    for (std::size_t i = 0; i < count; ++i) {
      bytes[i] = static_cast<std::uint8_t>(HexDigitValue(text[2 * i]) << 4 |
                                           HexDigitValue(text[2 * i + 1]));
    }
    return true;
  }

  // null, a position, {"index": n, "name": ...}, {"name": ...} or, where allowed,
  // {"unresolved": id}.
  ReferenceValue Reference(const rapidjson::Value& json, const Place& place, bool allowUnresolved) {
    ReferenceValue value;
    using Kind = ReferenceValue::Kind;
    if (json.IsNull()) {
      value.kind = Kind::None;
      return value;
    }
    if (json.IsNumber()) {
      if (const auto index = Integer(json, 0, kMaxPosition, place)) {
        value.kind = Kind::Index;
        value.number = *index;
      }
      return value;
    }
    if (!json.IsObject()) {
      WrongType(place, json,
                allowUnresolved ? "a reference: null, a position, {\"index\": ...}, "
                                  "{\"name\": ...} or {\"unresolved\": ...}"
                                : "a position: a whole number, {\"index\": ...} or "
                                  "{\"name\": ...}");
      return value;
    }
    ObjectReader members(json, used_);
    const rapidjson::Value* index = members.Find("index");
    const rapidjson::Value* name = members.Find("name");
    const rapidjson::Value* unresolved = allowUnresolved ? members.Find("unresolved") : nullptr;
    members.Finish(problems_, place);
    if (unresolved) {
      if (index || name) {
        Problem(place, "\"unresolved\" stands alone, without \"index\" or \"name\"");
      } else if (const auto id = Integer<std::uint32_t>(*unresolved, place)) {
        value.kind = Kind::Unresolved;
        value.number = *id;
      }
    } else if (index) {
      // The name is there for the reader; the position decides. A paste looks the name up.
      if (const auto position = Integer(*index, 0, kMaxPosition, place)) {
        value.kind = Kind::Index;
        value.number = *position;
      }
      if (keepNames_ && name) {
        Text(*name, std::numeric_limits<std::size_t>::max(), place, value.name);
      }
    } else if (name) {
      if (Text(*name, std::numeric_limits<std::size_t>::max(), place, value.name)) {
        value.kind = Kind::Name;
      }
    } else {
      Problem(place, allowUnresolved ? "a reference names \"index\", \"name\" or \"unresolved\""
                                     : "a position names \"index\" or \"name\"");
    }
    return value;
  }

 protected:
  Problems problems_;
  ValueCapture capture_;
  std::vector<std::uint8_t> used_;
  std::string scratch_;
  // Whether a reference by position keeps the name written beside it.
  bool keepNames_ = false;
};

}  // namespace zr3::json::import
