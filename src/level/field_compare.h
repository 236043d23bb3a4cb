#pragma once

#include <functional>
#include <string>
#include <vector>

#include "level/field_access.h"

namespace zr3 {

// Whether two records, each of its own version of a level, are the one record a comparison
// matched (by content, never by position or identifier, which both change when a record is
// inserted earlier or the level is saved). Both are records of list.
using SameRecord = std::function<bool(const ZR3Base& before, const ZR3Base& after, Category list)>;

// One field whose value differs between two versions of a record, each value as get shows it.
struct FieldDifference {
  std::string name;  // "price", "items[3]"
  std::string before;
  std::string after;
};

// Whether two values of one field are equal. A reference or a position that names a record
// compares by the record it resolves to (asked of same), and by its stored value while it
// resolves on neither side; chain identifiers are always equal (every save replaces them);
// every other value by its text, a part by its value in the list (its whole value with
// FieldsToCompare), and so does a field whose kind differs between the versions (a position
// that a changed type turned into a plain number).
bool SameValue(const FieldInfo& before, const FieldInfo& after, const SameRecord& same);

// Receives the two versions of one field.
using FieldPair = std::function<void(const FieldInfo& before, const FieldInfo& after)>;

// Walks the fields of two versions of a record of one kind (or of the level information) in
// field order, a run slot by slot, and hands each field whose values differ to differs. With
// part given, every part goes to it instead, equal or not: a caller whose lists hold only
// the parts' summaries (Fields) compares the parts itself. Throws ZR3Error for lists of two
// kinds.
void VisitDifferences(const FieldList& before, const FieldList& after, const SameRecord& same,
                      const FieldPair& differs, const FieldPair& part = nullptr);

// The fields of two versions of a record of one kind whose values differ, in field order.
std::vector<FieldDifference> CompareFields(const FieldList& before, const FieldList& after,
                                           const SameRecord& same);

}  // namespace zr3
