#pragma once

#include <functional>
#include <string>
#include <vector>

#include "level/field_access.h"

namespace zr3 {

// Whether two records, each of its own version of a level, are the one record a comparison
// matched (by content, never by position or identifier, which both change when a record is
// inserted earlier or the level is saved).
using SameRecord = std::function<bool(const ZR3Base& before, const ZR3Base& after)>;

// One field whose value differs between two versions of a record, each value as get shows it.
struct FieldDifference {
  std::string name;  // "price", "items[3]"
  std::string before;
  std::string after;
};

// Whether two values of one field are equal. A reference or a position that names a record
// compares by the record it resolves to (asked of same), and by its stored value while it
// resolves on neither side; chain identifiers are always equal (every save replaces them);
// every other value by its text, a part by its whole value (FieldsToCompare).
bool SameValue(const FieldInfo& before, const FieldInfo& after, const SameRecord& same);

// The fields of two versions of a record of one kind (or of the level information) whose
// values differ, in field order, a run slot by slot.
std::vector<FieldDifference> CompareFields(const FieldList& before, const FieldList& after,
                                           const SameRecord& same);

}  // namespace zr3
