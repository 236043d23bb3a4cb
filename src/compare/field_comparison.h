#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "compare/level_diff.h"
#include "compare/record_matching.h"
#include "level/field_access.h"
#include "level/zr3level.h"

namespace zr3::compare {

// The one place that says how a field's two values compare and how a value reads in a report,
// over the field interface: identifiers of the record chain are left out, references and
// positions stand for the record they resolve to (by name in a key, by the matched record in
// a comparison, by the stored value while unresolved), a map's cells compare cell by cell and
// a script's conditions and commands as the lines of its script text.
class FieldComparison {
 public:
  // A hash of every field of a record that is not its name, an identifier, a chain identifier
  // or a position, references taken by the name of their record: equal for a record that
  // only moved or was renumbered by a save.
  static std::uint64_t ContentKey(const ZR3Base& record);
  // A key of each field of the record, in file order, for telling how alike two records are.
  static std::vector<std::uint64_t> FieldKeys(const ZR3Base& record);
  // The content key with the record's name.
  static std::uint64_t Key(const ZR3Base& record, std::uint64_t contentKey);

  FieldComparison(const ZR3Level& before, const ZR3Level& after, const RecordMatching& matching)
      : before_(before), after_(after), matching_(matching) {}

  // The fields of two matched records of one kind that differ, the name left out (a rename
  // is reported as such).
  void CompareRecords(const ZR3Base& before, const ZR3Base& after, RecordChange& change) const;
  // The level information's fields that differ.
  std::vector<FieldChange> CompareInfo() const;

 private:
  void CompareFields(const FieldList& before, const FieldList& after, bool skipName,
                     std::vector<FieldChange>& changes) const;
  bool SameValue(const FieldInfo& before, const FieldInfo& after) const;
  void CompareCells(const ZR3Base& before, const ZR3Base& after, RecordChange& change) const;
  void CompareScripts(const ZR3Base& before, const ZR3Base& after, RecordChange& change) const;
  void CompareColours(const FieldInfo& before, const FieldInfo& after,
                      std::vector<FieldChange>& changes) const;

  const ZR3Level& before_;
  const ZR3Level& after_;
  const RecordMatching& matching_;
};

// How a field's value reads in a report: a text quoted, a choice by its word, a reference by
// the name of its record ("none" when empty, "unresolved 1234" when it named nothing).
std::string ValueText(const FieldInfo& field);

}  // namespace zr3::compare
