#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "level/category.h"

namespace zr3 {

// What the next save does with a stored value that the level cannot use as it stands.
enum class AtSave { Kept, WrittenAsZero };

// One field of a record whose stored value does not mean what its author meant: a
// reference that does not resolve, a code outside its table, a count beyond the slots.
struct RecordProblem {
  std::string field;  // as the details pane labels it: "Border N", "Script 3"
  std::string value;  // the stored value as the details pane shows it
  std::string issue;  // what is wrong with it
  AtSave atSave = AtSave::Kept;

  bool operator==(const RecordProblem&) const = default;
};
using RecordProblems = std::vector<RecordProblem>;

// An identifier that matches no record of the list.
RecordProblem UnresolvedIdentifier(std::string field, std::uint32_t id, Category list,
                                   AtSave atSave);
// A position that names no record of the list.
RecordProblem UnresolvedPosition(std::string field, int position, Category list);
// A stored count of slots in use above the ten slots the record has; only ten are used.
RecordProblem CountAboveSlots(std::string field, unsigned count, std::size_t slots);

}  // namespace zr3
