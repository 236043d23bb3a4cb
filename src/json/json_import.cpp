#include "json/json_import.h"

#include <rapidjson/error/en.h>
#include <rapidjson/memorystream.h>
#include <rapidjson/reader.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>
#include <unordered_map>
#include <unordered_set>

#include "json/json_export.h"
#include "json/json_tree.h"
#include "json/record_kind.h"
#include "level/field_access.h"
#include "level/fields.h"
#include "level/numbers.h"
#include "level/record_factory.h"
#include "level/record_names.h"
#include "level/windows1252.h"

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

constexpr int kMaxDepth = 64;
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
    if (!field.empty()) (text += '.') += field;
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

std::string_view TypeName(NodeType type) {
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

std::string Quoted(std::string_view text) {
  std::string quoted = "\"";
  quoted += text;
  quoted += '"';
  return quoted;
}

std::string NoRecordAt(Category list, std::int64_t position, std::size_t size) {
  return "no " + std::string(InfoOf(list).recordNoun) + " at position " + std::to_string(position) +
         " (the list holds " + std::to_string(size) + ")";
}

// What a reference value names, before the lists it points into are complete.
struct ReferenceValue {
  enum class Kind : std::uint8_t { Invalid, None, Index, Name, Unresolved } kind = Kind::Invalid;
  std::int64_t number = 0;  // the position, or the identifier kept as stored
  std::string name;         // Windows-1252
};

// A reference to be set once every list is complete.
struct PendingReference {
  void* ref;
  void (*setRecord)(void* ref, ZR3ChainRecord* record);   // a reference by identifier
  void (*setPosition)(void* ref, std::int16_t position);  // a position named by name
  Category list;
  std::int64_t index;  // -1 when named by name
  std::uint32_t name;  // into the importer's names when by name
  Place place;
};

// A map's cells waiting for the tiles: each slot an entry of the table, each entry a tile by
// position or name, or an identifier kept as stored.
struct CellEntry {
  ReferenceValue::Kind kind;
  std::int64_t number;
  std::uint32_t name;
  Place place;  // the first slot that names it
};
struct PendingCells {
  ZR3Map* map;
  std::vector<ZR3Map::Cell> cells;
  std::vector<CellEntry> entries;
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

// Builds the level from the values of each record as the parser completes them, and sets the
// references once every list is complete.
class Importer {
 public:
  explicit Importer(ZR3Level& level) : level_(level) {}

  ZR3Level& Level() { return level_; }
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

  // Exactly count bytes written as hex digits.
  void Hex(std::uint32_t node, std::uint8_t* bytes, std::size_t count, const Place& place) {
    if (tree_[node].type != NodeType::String) {
      WrongType(place, node, "a string of hex digits");
      return;
    }
    const std::string_view text = tree_.Text(node);
    if (text.size() != count * 2) {
      Problem(place, "takes " + std::to_string(count) + " bytes as " + std::to_string(count * 2) +
                         " hex digits, not " + std::to_string(text.size()) + " characters");
      return;
    }
    for (const char c : text) {
      if (HexDigitValue(c) < 0) {
        Problem(place, "holds " + Quoted(std::string(1, c)) + ", which is not a hex digit");
        return;
      }
    }
    for (std::size_t i = 0; i < count; ++i) {
      bytes[i] = static_cast<std::uint8_t>(HexDigitValue(text[2 * i]) << 4 |
                                           HexDigitValue(text[2 * i + 1]));
    }
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
      // The name is there for the reader; the position decides.
      if (const auto position = Integer(index, 0, kMaxPosition, place)) {
        value.kind = Kind::Index;
        value.number = *position;
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

  // A reference by identifier, set now when its list is complete, otherwise at the end.
  template <class Ref>
  void SetReference(std::uint32_t node, const Place& place, Ref& ref) {
    ReferenceValue value = Reference(node, place, true);
    using Kind = ReferenceValue::Kind;
    switch (value.kind) {
      case Kind::None:
        ref.Set(nullptr);
        return;
      case Kind::Unresolved:
        ref.SetStored(static_cast<std::uint32_t>(value.number), nullptr);
        return;
      case Kind::Index:
      case Kind::Name:
        break;
      case Kind::Invalid:
        return;
    }
    PendingReference pending{
        &ref,
        [](void* target, ZR3ChainRecord* record) { static_cast<Ref*>(target)->Set(record); },
        nullptr,
        Ref::kRule.list,
        value.kind == Kind::Index ? value.number : -1,
        AddName(std::move(value.name)),
        place};
    Defer(pending);
  }

  // A position held as a number; it links when every record is complete (FinishRecord).
  template <class Ref>
  void SetPosition(std::uint32_t node, const Place& place, Ref& ref) {
    if (tree_[node].type != NodeType::Object) {
      if (const auto position = Integer<std::int16_t>(node, place)) {
        ref.Set(static_cast<std::int16_t>(*position), nullptr);
      }
      return;
    }
    ReferenceValue value = Reference(node, place, false);
    if (value.kind == ReferenceValue::Kind::Index) {
      if (value.number > std::numeric_limits<std::int16_t>::max()) {
        Problem(place, std::to_string(value.number) + " is out of range 0..32767");
      } else {
        ref.Set(static_cast<std::int16_t>(value.number), nullptr);
      }
    } else if (value.kind == ReferenceValue::Kind::Name) {
      Defer({&ref, nullptr,
             [](void* target, std::int16_t position) {
               static_cast<Ref*>(target)->Set(position, nullptr);
             },
             Ref::kRule.list, -1, AddName(std::move(value.name)), place});
    }
  }

  void AddCells(ZR3Map& map, PendingCells cells) {
    cells.map = &map;
    if (complete_[IndexOf(Category::Tiles)]) {
      SetCells(cells);
    } else {
      pendingCells_.push_back(std::move(cells));
    }
  }

  std::uint32_t AddName(std::string name) {
    if (name.empty()) return 0;
    names_.push_back(std::move(name));
    return static_cast<std::uint32_t>(names_.size() - 1);
  }

  void MarkComplete(Category list) { complete_[IndexOf(list)] = true; }

  // Sets what waited for the lists; then positions and neighbours.
  void Finish();

 private:
  void Defer(const PendingReference& pending) {
    if (complete_[IndexOf(pending.list)]) {
      Resolve(pending);
    } else {
      pending_.push_back(pending);
    }
  }

  // The record a position or name of the pending reference names; reports it when none.
  ZR3Base* Find(Category list, std::int64_t index, std::uint32_t name, const Place& place);
  void Resolve(const PendingReference& pending);
  void SetCells(PendingCells& cells);
  void FinishRecords(Category list);

  ZR3Level& level_;
  Problems problems_;
  Tree tree_;
  std::vector<std::uint8_t> used_;
  std::string scratch_;
  std::vector<std::string> names_{std::string()};
  std::vector<PendingReference> pending_;
  std::vector<PendingCells> pendingCells_;
  std::array<bool, kCategoryCount> complete_{};
  // Per list, made on the first lookup by name.
  std::array<std::optional<RecordNames>, kCategoryCount> nameIndexes_;
};

ZR3Base* Importer::Find(Category list, std::int64_t index, std::uint32_t name, const Place& place) {
  const RecordList& records = level_.List(list);
  const std::string_view noun = InfoOf(list).recordNoun;
  if (index >= 0) {
    ZR3Base* record = level_.RecordAt(list, static_cast<int>(index));
    if (!record) Problem(place, NoRecordAt(list, index, records.size()));
    return record;
  }
  auto& names = nameIndexes_[IndexOf(list)];
  if (!names) names.emplace(records);
  std::string shown;
  AppendUtf8(shown, names_[name]);
  const std::int64_t found = names->Find(names_[name]);
  if (found == RecordNames::kNone) {
    Problem(place, "no " + std::string(noun) + " is named " + Quoted(shown));
    return nullptr;
  }
  if (found == RecordNames::kSeveral) {
    Problem(place, "more than one " + std::string(noun) + " is named " + Quoted(shown));
    return nullptr;
  }
  return records[static_cast<std::size_t>(found)].get();
}

void Importer::Resolve(const PendingReference& pending) {
  ZR3Base* record = Find(pending.list, pending.index, pending.name, pending.place);
  if (!record) return;
  if (pending.setRecord) {
    // Every list a reference by identifier points into is a list of chain records.
    pending.setRecord(pending.ref, static_cast<ZR3ChainRecord*>(record));
  } else if (record->Position() > std::numeric_limits<std::int16_t>::max()) {
    Problem(pending.place, "names a record at position " + std::to_string(record->Position()) +
                               ", beyond the field's 32767");
  } else {
    pending.setPosition(pending.ref, static_cast<std::int16_t>(record->Position()));
  }
}

void Importer::SetCells(PendingCells& cells) {
  std::vector<std::uint32_t> ids(cells.entries.size());
  std::vector<ZR3ChainRecord*> tiles(cells.entries.size());
  bool complete = true;
  for (std::size_t i = 0; i < cells.entries.size(); ++i) {
    const CellEntry& entry = cells.entries[i];
    if (entry.kind == ReferenceValue::Kind::Unresolved) {
      ids[i] = static_cast<std::uint32_t>(entry.number);
      continue;
    }
    const std::int64_t index = entry.kind == ReferenceValue::Kind::Index ? entry.number : -1;
    auto* tile =
        static_cast<ZR3ChainRecord*>(Find(Category::Tiles, index, entry.name, entry.place));
    complete = complete && tile;
    tiles[i] = tile;
    ids[i] = tile ? tile->StoredId() : 0;
  }
  if (!complete) return;
  try {
    cells.map->SetCells(std::move(cells.cells), std::move(ids), std::move(tiles));
  } catch (const ZR3Error& error) {
    problems_.Add(error.what());
  }
}

// After every reference by identifier is set: what a load's link does besides, without looking
// up an identifier again (records made by hand may all carry identifier 0 until the save).
class RecordFinisher {
 public:
  RecordFinisher(ZR3Level& level, Problems& problems, const Place& place)
      : level_(level), problems_(problems), place_(place) {}

  template <class Ref>
  void operator()(PositionField<Ref> f) {
    if (!f.active) {
      f.ref.Unlink();
      return;
    }
    const int position = f.ref.Stored();
    ZR3Base* record = level_.RecordAt(Ref::kRule.list, position);
    if (!record && position >= 0 && Ref::kRule.outside == OutsideList::LinkError) {
      problems_.Add(place_.Field(f.name),
                    NoRecordAt(Ref::kRule.list, position, level_.List(Ref::kRule.list).size()));
    }
    f.ref.Set(f.ref.Stored(), record);
  }
  template <class A>
  void operator()(ReferenceRunField<A> f) {
    // Slots beyond those in use are never linked.
    for (std::size_t i = f.linked; i < f.refs.size(); ++i) f.refs[i].Unlink();
  }
  template <class F>
  void operator()(const F&) {}

 private:
  ZR3Level& level_;
  Problems& problems_;
  const Place& place_;
};

void Importer::FinishRecords(Category list) {
  RecordList& records = level_.List(list);
  if (records.empty()) return;
  level_.Renumber(list, 0, records.size() - 1);
  WithKind(list, [&]<class Record>() {
    for (std::size_t i = 0; i < records.size(); ++i) {
      auto& record = static_cast<Record&>(*records[i]);
      if constexpr (FieldListed<Record>) {
        const Place place{InfoOf(list).commandName, static_cast<std::int32_t>(i)};
        RecordFinisher finish(level_, problems_, place);
        Record::Fields(record, finish);
      } else {
        // A script names records only by position: its link looks up no identifier.
        record.Link(level_);
      }
    }
  });
}

void Importer::Finish() {
  for (const PendingReference& pending : pending_) Resolve(pending);
  for (PendingCells& cells : pendingCells_) SetCells(cells);
  for (const Category list : kRecordLists) FinishRecords(list);
}

// Reads each field of a record from the members of its object.
template <class Record>
class FieldJsonReader {
 public:
  FieldJsonReader(Importer& importer, std::uint32_t object, Record& record, const Place& place)
      : importer_(importer),
        tree_(importer.T()),
        members_(importer.T(), object, importer.Used()),
        record_(record),
        place_(place) {}

  void Finish() { members_.Finish(importer_.Report(), place_); }

  template <class S>
  void operator()(TextField<S> f) {
    // A text the file does not hold (a path beside identifier 0) may be left out.
    const std::uint32_t node = Member(f.name, f.present);
    if (node != Tree::kNone) importer_.Text(node, f.width, place_.Field(f.name), f.value);
  }
  template <class T>
  void operator()(NumberField<T> f) {
    const std::uint32_t node = Member(f.name, true);
    if (node == Tree::kNone) return;
    if (const auto value = importer_.Integer<T>(node, place_.Field(f.name))) {
      f.value = static_cast<T>(*value);
    }
  }
  template <class T>
  void operator()(ChoiceField<T> f) {
    std::uint32_t node = Member(f.name, true);
    if (node == Tree::kNone) return;
    const Place place = place_.Field(f.name);
    if (tree_[node].type == NodeType::Object) {
      // {"value": 3, "word": "Usable"}: the word is for the reader.
      ObjectReader choice(tree_, node, importer_.Used());
      const std::uint32_t value = choice.Find("value");
      choice.Find("word");
      choice.Finish(importer_.Report(), place);
      if (value == Tree::kNone) {
        importer_.Problem(place, "a choice names its \"value\"");
        return;
      }
      node = value;
    }
    if (const auto value = importer_.Integer<T>(node, place)) f.value = static_cast<T>(*value);
  }
  template <class A>
  void operator()(OpaqueField<A> f) {
    // Left out, the bytes are zeros: a record written by hand need not carry them.
    const std::uint32_t node = Member(f.name, false);
    if (node != Tree::kNone) {
      importer_.Hex(node, f.bytes.data(), f.bytes.size(), place_.Field(f.name));
    }
  }
  template <class Ref>
  void operator()(ReferenceField<Ref> f) {
    const std::uint32_t node = Member(f.name, true);
    if (node != Tree::kNone) importer_.SetReference(node, place_.Field(f.name), f.ref);
  }
  template <class A>
  void operator()(ReferenceRunField<A> f) {
    const std::uint32_t node = Member(f.name, true);
    if (node == Tree::kNone) return;
    const Place place = place_.Field(f.name);
    if (tree_[node].type != NodeType::Array || tree_[node].count != f.refs.size()) {
      importer_.Problem(place,
                        "expected an array of " + std::to_string(f.refs.size()) + " references");
      return;
    }
    std::uint32_t slot = tree_.FirstChild(node);
    for (std::size_t i = 0; i < f.refs.size(); ++i, slot = tree_.Next(slot)) {
      importer_.SetReference(slot, place.Index(i), f.refs[i]);
    }
  }
  template <class Ref>
  void operator()(PositionField<Ref> f) {
    const std::uint32_t node = Member(f.name, true);
    if (node != Tree::kNone) importer_.SetPosition(node, place_.Field(f.name), f.ref);
  }
  template <class R>
  void operator()(ChainField<R> f) {
    // Left out, they are 0: a save gives every record identifiers of its own.
    std::uint32_t ids[] = {0, 0, 0};
    for (std::size_t i = 0; i < 3; ++i) {
      const std::uint32_t node = Member(kChainNames[i], false);
      if (node == Tree::kNone) continue;
      if (const auto id = importer_.Integer<std::uint32_t>(node, place_.Field(kChainNames[i]))) {
        ids[i] = static_cast<std::uint32_t>(*id);
      }
    }
    f.record.SetStoredIds(ids[0], ids[1], ids[2]);
  }
  template <class P>
  void operator()(PartField<P> f) {
    const std::uint32_t node = Member(f.name, true);
    if (node != Tree::kNone) ReadPart(node, place_.Field(f.name), record_);
  }
  template <class F>
  void operator()(const F&) {}

 private:
  std::uint32_t Member(std::string_view name, bool required) {
    const std::uint32_t node = members_.Find(name);
    if (node == Tree::kNone && required) importer_.Problem(place_.Field(name), "missing field");
    return node;
  }

  // A map's cells: rows of cells of three slots, each slot a tile reference.
  void ReadPart(std::uint32_t node, const Place& place, ZR3Map& map) {
    const auto side = static_cast<std::uint32_t>(map.Side());
    const auto isArrayOf = [&](std::uint32_t at, std::uint32_t count) {
      return tree_[at].type == NodeType::Array && tree_[at].count == count;
    };
    if (!isArrayOf(node, side)) {
      importer_.Problem(place, "expected an array of " + std::to_string(side) +
                                   " rows, one per row of a map of size " +
                                   std::to_string(map.Side()));
      return;
    }
    PendingCells cells;
    cells.cells.reserve(static_cast<std::size_t>(side) * side);
    // Entries by position, by name and by identifier.
    std::unordered_map<std::int64_t, std::uint16_t> byPosition;
    std::unordered_map<std::int64_t, std::uint16_t> byId;
    std::unordered_map<std::string, std::uint16_t> byName;
    const auto entryFor = [&](auto& entries, const auto& key, ReferenceValue& value,
                              const Place& at) {
      auto [found, added] =
          entries.try_emplace(key, static_cast<std::uint16_t>(cells.entries.size()));
      if (added) {
        cells.entries.push_back(
            {value.kind, value.number, importer_.AddName(std::move(value.name)), at});
      }
      return found->second;
    };
    bool valid = true;
    std::uint32_t row = tree_.FirstChild(node);
    for (std::uint32_t r = 0; r < side; ++r, row = tree_.Next(row)) {
      if (!isArrayOf(row, side)) {
        importer_.Problem(place.Index(r),
                          "expected an array of " + std::to_string(side) + " cells");
        valid = false;
        continue;
      }
      std::uint32_t cell = tree_.FirstChild(row);
      for (std::uint32_t c = 0; c < side; ++c, cell = tree_.Next(cell)) {
        const Place cellPlace = place.Index(r).Index(c);
        if (!isArrayOf(cell, ZR3Map::kSlotsPerCell)) {
          importer_.Problem(cellPlace, "expected an array of 3 tile slots");
          valid = false;
          continue;
        }
        ZR3Map::Cell& slots = cells.cells.emplace_back();
        std::uint32_t slot = tree_.FirstChild(cell);
        for (std::size_t s = 0; s < ZR3Map::kSlotsPerCell; ++s, slot = tree_.Next(slot)) {
          const Place slotPlace = cellPlace.Index(s);
          ReferenceValue value = importer_.Reference(slot, slotPlace, true);
          using Kind = ReferenceValue::Kind;
          slots[s] = ZR3Map::kEmptySlot;
          if (value.kind == Kind::Index) {
            slots[s] = entryFor(byPosition, value.number, value, slotPlace);
          } else if (value.kind == Kind::Unresolved && value.number != 0) {
            slots[s] = entryFor(byId, value.number, value, slotPlace);
          } else if (value.kind == Kind::Name) {
            const std::string key = value.name;
            slots[s] = entryFor(byName, key, value, slotPlace);
          } else if (value.kind == Kind::Invalid) {
            valid = false;
          }
        }
      }
    }
    if (valid) importer_.AddCells(map, std::move(cells));
  }

  Importer& importer_;
  const Tree& tree_;
  ObjectReader members_;
  Record& record_;
  Place place_;
};

// A script: its name, ten condition and ten command slots ({"code": c, "parameters": [9]}),
// the counts, the bytes kept as read and the chain identifiers.
void ReadScript(Importer& importer, const Place& place, ZR3Script& script) {
  const Tree& tree = importer.T();
  ObjectReader members(tree, 0, importer.Used());
  const auto member = [&](std::string_view name, bool required) {
    const std::uint32_t node = members.Find(name);
    if (node == Tree::kNone && required) importer.Problem(place.Field(name), "missing field");
    return node;
  };
  if (const std::uint32_t node = member("name", true); node != Tree::kNone) {
    std::string name;
    if (importer.Text(node, ZR3Script::kNameWidth, place.Field("name"), name)) {
      script.SetName(std::move(name));
    }
  }
  const auto slots = [&](std::string_view name, auto&& entryAt) {
    const std::uint32_t node = member(name, true);
    if (node == Tree::kNone) return;
    const Place at = place.Field(name);
    if (tree[node].type != NodeType::Array || tree[node].count != ZR3Script::kSlotCount) {
      importer.Problem(at,
                       "expected an array of " + std::to_string(ZR3Script::kSlotCount) + " slots");
      return;
    }
    std::uint32_t slot = tree.FirstChild(node);
    for (std::size_t i = 0; i < ZR3Script::kSlotCount; ++i, slot = tree.Next(slot)) {
      const Place slotPlace = at.Index(i);
      if (tree[slot].type != NodeType::Object) {
        importer.WrongType(slotPlace, slot, "an object with \"code\" and \"parameters\"");
        continue;
      }
      auto& entry = entryAt(i);
      ObjectReader fields(tree, slot, importer.Used());
      const std::uint32_t code = fields.Find("code");
      const std::uint32_t parameters = fields.Find("parameters");
      fields.Finish(importer.Report(), slotPlace);
      if (code == Tree::kNone || parameters == Tree::kNone) {
        importer.Problem(slotPlace, "a slot holds \"code\" and \"parameters\"");
        continue;
      }
      if (const auto value = importer.Integer<std::uint16_t>(code, slotPlace)) {
        entry.SetCode(static_cast<std::uint16_t>(*value));
      }
      if (tree[parameters].type != NodeType::Array ||
          tree[parameters].count != ZR3ScriptEntry::kParameterCount) {
        importer.Problem(slotPlace, "expected \"parameters\" of " +
                                        std::to_string(ZR3ScriptEntry::kParameterCount) +
                                        " whole numbers");
        continue;
      }
      std::uint32_t parameter = tree.FirstChild(parameters);
      for (std::size_t p = 0; p < ZR3ScriptEntry::kParameterCount;
           ++p, parameter = tree.Next(parameter)) {
        if (const auto value = importer.Integer<std::int16_t>(parameter, slotPlace)) {
          entry.SetParameter(p, static_cast<std::int16_t>(*value));
        }
      }
    }
  };
  slots("conditions", [&](std::size_t i) -> ZR3ScriptCondition& { return script.Condition(i); });
  ZR3Script::OpaqueBlock blockA{};
  if (const std::uint32_t node = member("opaque_a", false); node != Tree::kNone) {
    importer.Hex(node, blockA.data(), blockA.size(), place.Field("opaque_a"));
  }
  slots("commands", [&](std::size_t i) -> ZR3ScriptCommand& { return script.Command(i); });
  ZR3Script::OpaqueBlock blockB{};
  if (const std::uint32_t node = member("opaque_b", false); node != Tree::kNone) {
    importer.Hex(node, blockB.data(), blockB.size(), place.Field("opaque_b"));
  }
  script.SetBlocks(blockA, blockB);
  if (const std::uint32_t node = member("condition_count", true); node != Tree::kNone) {
    if (const auto count = importer.Integer<std::uint8_t>(node, place.Field("condition_count"))) {
      script.SetConditionCount(static_cast<std::uint8_t>(*count));
    }
  }
  if (const std::uint32_t node = member("command_count", true); node != Tree::kNone) {
    if (const auto count = importer.Integer<std::uint8_t>(node, place.Field("command_count"))) {
      script.SetCommandCount(static_cast<std::uint8_t>(*count));
    }
  }
  std::array<std::uint8_t, 2> opaque{};
  if (const std::uint32_t node = member("opaque", false); node != Tree::kNone) {
    importer.Hex(node, opaque.data(), opaque.size(), place.Field("opaque"));
  }
  script.SetOpaque(opaque);
  std::uint32_t ids[] = {0, 0, 0};
  for (std::size_t i = 0; i < 3; ++i) {
    const std::uint32_t node = member(kChainNames[i], false);
    if (node == Tree::kNone) continue;
    if (const auto id = importer.Integer<std::uint32_t>(node, place.Field(kChainNames[i]))) {
      ids[i] = static_cast<std::uint32_t>(*id);
    }
  }
  script.SetStoredIds(ids[0], ids[1], ids[2]);
  members.Finish(importer.Report(), place);
}

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
// one at a time, each record through a tree of its values.
class DocumentHandler {
 public:
  explicit DocumentHandler(Importer& importer)
      : importer_(importer), builder_(importer.CurrentTree()) {}

  const std::string& StopReason() const { return stopReason_; }
  // Reports the top-level members that are missing.
  void CheckComplete();

  bool Null() {
    return Value([&] { return builder_.Null(); });
  }
  bool Bool(bool b) {
    return Value([&] { return builder_.Bool(b); });
  }
  bool Int(int i) {
    return Value([&] { return builder_.Int(i); });
  }
  bool Uint(unsigned u) {
    return Value([&] { return builder_.Uint(u); });
  }
  bool Int64(std::int64_t i) {
    return Value([&] { return builder_.Int64(i); });
  }
  bool Uint64(std::uint64_t u) {
    return Value([&] { return builder_.Uint64(u); });
  }
  bool Double(double d) {
    return Value([&] { return builder_.Double(d); });
  }
  bool RawNumber(const char*, rapidjson::SizeType, bool) { return false; }
  bool String(const char* text, rapidjson::SizeType length, bool copy) {
    return Value([&] { return builder_.String(text, length, copy); });
  }
  bool StartObject() { return Open(false); }
  bool StartArray() { return Open(true); }
  bool Key(const char* text, rapidjson::SizeType length, bool copy) {
    if (capturing_) return Forward(builder_.Key(text, length, copy));
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
  bool Forward(bool ok) { return ok || Stop(builder_.Failure()); }

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
    return Forward(array ? builder_.StartArray() : builder_.StartObject());
  }
  bool Close(bool array, rapidjson::SizeType count) {
    --depth_;
    if (capturing_) {
      return Forward(array ? builder_.EndArray(count) : builder_.EndObject(count)) && AfterValue();
    }
    if (inList_) {
      inList_ = false;
      EndList();
    }
    return true;
  }
  void Capture() {
    capturing_ = true;
    builder_.Begin();
  }
  bool AfterValue() {
    if (builder_.Done()) {
      capturing_ = false;
      importer_.StartTree();
      if (inList_) {
        Element(elements_++);
      } else {
        Member();
      }
    }
    return true;
  }

  void Member();
  void Element(std::size_t index);
  void EndList();
  void ReadRecord(std::size_t index);

  Importer& importer_;
  TreeBuilder builder_;
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

void DocumentHandler::Member() {
  const Place place{key_ == "info" ? std::string_view("info") : std::string_view()};
  const Tree& tree = importer_.T();
  const auto expectString = [&](std::string_view wanted) {
    const Place at{std::string_view(role_ == Role::Format ? "format" : "header")};
    if (tree[0].type != NodeType::String || tree.Text(0) != wanted) {
      importer_.Problem(at, "expected " + Quoted(wanted));
    }
  };
  switch (role_) {
    case Role::Format:
      expectString(kFormatName);
      break;
    case Role::FormatVersion: {
      const Place at{std::string_view("format_version")};
      const auto version = importer_.Integer(0, 0, 1 << 30, at);
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
      if (tree[0].type != NodeType::Object) {
        importer_.WrongType(place, 0, "an object");
        break;
      }
      ZR3LevelInfo& info = importer_.Level().Info();
      FieldJsonReader<ZR3LevelInfo> read(importer_, 0, info, place);
      ZR3LevelInfo::Fields(info, read);
      read.Finish();
      break;
    }
    case Role::Opaque: {
      auto& bytes = importer_.Level().Opaque();
      importer_.Hex(0, bytes.data(), bytes.size(), Place{std::string_view("opaque")});
      break;
    }
    case Role::Names:
    case Role::Records:
      importer_.WrongType(Place{InfoOf(list_).commandName}, 0, "an array");
      break;
    case Role::Schema:
      if (tree[0].type != NodeType::String) {
        importer_.WrongType(Place{std::string_view("$schema")}, 0, "a string");
      }
      break;
    case Role::Repeated:
      break;
    case Role::Unknown:
      importer_.Problem(Place{}, "unknown field " + Quoted(key_));
      break;
  }
}

void DocumentHandler::Element(std::size_t index) {
  const Place place{InfoOf(list_).commandName, static_cast<std::int32_t>(index)};
  if (role_ == Role::Repeated) return;
  if (role_ == Role::Names) {
    RecordList& names = importer_.Level().List(list_);
    if (index >= FixedTableSize(list_)) return;
    auto entry = std::make_unique<ZR3String>();
    std::string name;
    importer_.Text(0, ZR3String::kSize, place, name);
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
  ReadRecord(index);
}

void DocumentHandler::ReadRecord(std::size_t index) {
  if (importer_.Report().Full()) return;
  const Place place{InfoOf(list_).commandName, static_cast<std::int32_t>(index)};
  const Tree& tree = importer_.T();
  std::unique_ptr<ZR3Base> record = NewRecord(list_);
  if (tree[0].type != NodeType::Object) {
    // The record stays, empty, so that the positions of those after it do not shift.
    importer_.WrongType(place, 0, "an object, one record");
  } else {
    WithKind(list_, [&]<class Record>() {
      auto& typed = static_cast<Record&>(*record);
      if constexpr (FieldListed<Record>) {
        FieldJsonReader<Record> read(importer_, 0, typed, place);
        Record::Fields(typed, read);
        read.Finish();
      } else {
        ReadScript(importer_, place, typed);
      }
    });
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
