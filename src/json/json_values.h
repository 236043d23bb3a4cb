#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "json/json_import.h"
#include "json/json_tree.h"
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

inline std::string_view TypeName(NodeType type) {
  switch (type) {
    case NodeType::Null:
      return "null";
    case NodeType::False:
    case NodeType::True:
      return "a boolean";
    case NodeType::Unsigned:
    case NodeType::Negative:
    case NodeType::Double:
      return "a number";
    case NodeType::String:
      return "a string";
    case NodeType::Array:
      return "an array";
    case NodeType::Object:
      break;
  }
  return "an object";
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
// is reported as unknown or repeated.
class ObjectReader {
 public:
  ObjectReader(const Tree& tree, std::uint32_t object, std::vector<std::uint8_t>& used)
      : tree_(tree), object_(object), used_(used), cursor_(tree.FirstChild(object)) {}

  // The member with the key, or Tree::kNone. Members are looked for from just after the one
  // found last, so a document in the export's order finds each at once.
  std::uint32_t Find(std::string_view key) {
    const std::uint32_t end = tree_.Next(object_);
    std::uint32_t at = cursor_;
    for (std::uint32_t seen = 0; seen < tree_[object_].count; ++seen) {
      if (at >= end) at = tree_.FirstChild(object_);
      if (!used_[at] && tree_.Key(at) == key) {
        used_[at] = 1;
        cursor_ = tree_.Next(at);
        return at;
      }
      at = tree_.Next(at);
    }
    return Tree::kNone;
  }

  // Reports every member that no Find took: a key found before appears more than once, any
  // other is unknown.
  void Finish(Problems& problems, const Place& place) const {
    const std::uint32_t end = tree_.Next(object_);
    std::uint32_t taken = 0;
    for (std::uint32_t at = tree_.FirstChild(object_); at < end; at = tree_.Next(at)) {
      taken += used_[at];
    }
    if (taken == tree_[object_].count) return;
    std::vector<std::string_view> found;
    for (std::uint32_t at = tree_.FirstChild(object_); at < end; at = tree_.Next(at)) {
      if (used_[at]) found.push_back(tree_.Key(at));
    }
    for (std::uint32_t at = tree_.FirstChild(object_); at < end && !problems.Full();
         at = tree_.Next(at)) {
      if (used_[at]) continue;
      const bool repeated = std::find(found.begin(), found.end(), tree_.Key(at)) != found.end();
      problems.Add(place, repeated ? "the key " + Quoted(tree_.Key(at)) + " appears more than once"
                                   : "unknown field " + Quoted(tree_.Key(at)));
    }
  }

 private:
  const Tree& tree_;
  std::uint32_t object_;
  std::vector<std::uint8_t>& used_;
  std::uint32_t cursor_;
};

// Turns the values of the current record's tree into the level's values, reporting every
// value that does not fit with its place.
class ValueReader {
 public:
  Problems& Report() { return problems_; }
  Tree& CurrentTree() { return tree_; }
  const Tree& T() const { return tree_; }
  // Marks for the members of the current tree.
  std::vector<std::uint8_t>& Used() { return used_; }
  void StartTree() { used_.assign(tree_.Size(), 0); }

  void Problem(const Place& place, std::string_view message) { problems_.Add(place, message); }
  void WrongType(const Place& place, std::uint32_t node, std::string_view expected) {
    Problem(place, "expected " + std::string(expected) + ", not " +
                       std::string(TypeName(tree_[node].type)));
  }

  // A whole number within min..max.
  std::optional<std::int64_t> Integer(std::uint32_t node, std::int64_t min, std::int64_t max,
                                      const Place& place) {
    const Node& value = tree_[node];
    const auto range = [&] { return std::to_string(min) + ".." + std::to_string(max); };
    switch (value.type) {
      case NodeType::Unsigned:
        if (value.number.u > static_cast<std::uint64_t>(max)) {
          Problem(place, std::to_string(value.number.u) + " is out of range " + range());
          return std::nullopt;
        }
        return static_cast<std::int64_t>(value.number.u);
      case NodeType::Negative:
        if (value.negativeZero && min == 0) {
          Problem(place, "-0 is not a value of an unsigned field (" + range() + ")");
          return std::nullopt;
        }
        if (value.number.i < min) {
          Problem(place, std::to_string(value.number.i) + " is out of range " + range());
          return std::nullopt;
        }
        return value.number.i;
      case NodeType::Double: {
        const double d = value.number.d;
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
      default:
        WrongType(place, node, "a whole number");
        return std::nullopt;
    }
  }

  template <class T>
  std::optional<std::int64_t> Integer(std::uint32_t node, const Place& place) {
    using U = std::remove_const_t<T>;
    return Integer(node, std::numeric_limits<U>::min(), std::numeric_limits<U>::max(), place);
  }

  // A string as the level's 8-bit text of at most width bytes.
  bool Text(std::uint32_t node, std::size_t width, const Place& place, std::string& out) {
    if (tree_[node].type != NodeType::String) {
      WrongType(place, node, "a string");
      return false;
    }
    std::string error;
    if (!ToWindows1252(tree_.Text(node), scratch_, error)) {
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
  bool Hex(std::uint32_t node, std::uint8_t* bytes, std::size_t count, const Place& place) {
    if (tree_[node].type != NodeType::String) {
      WrongType(place, node, "a string of hex digits");
      return false;
    }
    const std::string_view text = tree_.Text(node);
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
  ReferenceValue Reference(std::uint32_t node, const Place& place, bool allowUnresolved) {
    ReferenceValue value;
    using Kind = ReferenceValue::Kind;
    switch (tree_[node].type) {
      case NodeType::Null:
        value.kind = Kind::None;
        return value;
      case NodeType::Unsigned:
      case NodeType::Negative:
      case NodeType::Double:
        if (const auto index = Integer(node, 0, kMaxPosition, place)) {
          value.kind = Kind::Index;
          value.number = *index;
        }
        return value;
      case NodeType::Object:
        break;
      default:
        WrongType(place, node,
                  allowUnresolved ? "a reference: null, a position, {\"index\": ...}, "
                                    "{\"name\": ...} or {\"unresolved\": ...}"
                                  : "a position: a whole number, {\"index\": ...} or "
                                    "{\"name\": ...}");
        return value;
    }
    ObjectReader members(tree_, node, used_);
    const std::uint32_t index = members.Find("index");
    const std::uint32_t name = members.Find("name");
    const std::uint32_t unresolved = allowUnresolved ? members.Find("unresolved") : Tree::kNone;
    members.Finish(problems_, place);
    if (unresolved != Tree::kNone) {
      if (index != Tree::kNone || name != Tree::kNone) {
        Problem(place, "\"unresolved\" stands alone, without \"index\" or \"name\"");
      } else if (const auto id = Integer<std::uint32_t>(unresolved, place)) {
        value.kind = Kind::Unresolved;
        value.number = *id;
      }
    } else if (index != Tree::kNone) {
      // The name is there for the reader; the position decides. A paste looks the name up.
      if (const auto position = Integer(index, 0, kMaxPosition, place)) {
        value.kind = Kind::Index;
        value.number = *position;
      }
      if (keepNames_ && name != Tree::kNone) {
        Text(name, std::numeric_limits<std::size_t>::max(), place, value.name);
      }
    } else if (name != Tree::kNone) {
      if (Text(name, std::numeric_limits<std::size_t>::max(), place, value.name)) {
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
  Tree tree_;
  std::vector<std::uint8_t> used_;
  std::string scratch_;
  // Whether a reference by position keeps the name written beside it.
  bool keepNames_ = false;
};

}  // namespace zr3::json::import
