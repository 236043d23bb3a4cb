#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "level/category.h"

namespace zr3::merge {

// What both sides of a merge did that cannot be taken together.
enum class ConflictKind {
  ChangedOnBoth,         // the same field, cell slot or colour set differently on each side
  DeletedAndChanged,     // a record deleted on one side and changed on the other
  DeletedAndReferenced,  // a record deleted on one side that the other side newly refers to
};

// Where a conflict lies within its record. Exactly one of the members says it, or none when the
// conflict is about the whole record (a deletion against a change).
struct ConflictPlace {
  std::string field;  // a field as `zr3 get` and `zr3 set` name it: "price", "items[3]"
  // A map cell slot: layer 1 to 3, row and column.
  struct Cell {
    int layer = 1;
    int row = 0;
    int column = 0;
    bool operator==(const Cell&) const = default;
  };
  std::optional<Cell> cell;
  std::optional<int> colour;  // a palette colour, 0 to 255

  bool WholeRecord() const { return field.empty() && !cell && !colour; }
  bool operator==(const ConflictPlace&) const = default;
};

// One conflict of a merge as the conflicts file keeps it. The record is named as it stands in
// the merged level (its index where the record would stand when our side deleted it); the
// level information has no category. The three values are JSON texts in the form export-json
// writes them: a field's or cell's value, a colour, or a whole record's object (null where
// that side has no such record).
struct MergeConflict {
  ConflictKind kind = ConflictKind::ChangedOnBoth;
  std::optional<Category> category;
  std::size_t index = 0;
  std::string name;
  ConflictPlace place;
  std::string base;
  std::string ours;
  std::string theirs;
  bool operator==(const MergeConflict&) const = default;
};

// The conflicts file that stands beside a merged level while it has unresolved conflicts.
std::string ConflictsFilePath(std::string_view levelPath);

// The conflicts file's JSON document, UTF-8, names converted from the level's text.
std::string ConflictsToJson(const std::vector<MergeConflict>& conflicts);

// Reads a conflicts file's document; throws ZR3Error with a JSON path when it is not one.
std::vector<MergeConflict> ConflictsFromJson(std::string_view json);

}  // namespace zr3::merge
