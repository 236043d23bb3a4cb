#pragma once

#include <string>
#include <vector>

#include "compare/level_diff.h"
#include "compare/record_matching.h"
#include "level/field_access.h"
#include "level/field_compare.h"
#include "level/zr3level.h"

namespace zr3::compare {

// What changed in a matched pair of records, as the report says it. Which fields differ is
// decided by the fields' own comparison (CompareFields), references by the record the matching
// paired; the parts are shown here in their own terms: a map's cells as regions of changed
// cells, a script's conditions and commands as the lines of its script text, a palette's colours
// one by one.
class RecordChanges {
 public:
  RecordChanges(const ZR3Level& before, const ZR3Level& after, const RecordMatching& matching);

  // The fields of two matched records of one kind that differ, the name left out (a rename
  // is reported as such).
  void CompareRecords(const ZR3Base& before, const ZR3Base& after, RecordChange& change) const;
  // The level information's fields that differ.
  std::vector<FieldChange> CompareInfo() const;

 private:
  void CompareCells(const ZR3Base& before, const ZR3Base& after, RecordChange& change) const;
  void CompareScripts(const ZR3Base& before, const ZR3Base& after, RecordChange& change) const;

  const ZR3Level& before_;
  const ZR3Level& after_;
  const RecordMatching& matching_;
  // Whether two records are the one the matching paired.
  SameRecord matched_;
};

// How a field's value reads in a report: a text quoted, a choice by its word, a reference by
// the name of its record ("none" when empty, "unresolved 1234" when it named nothing).
std::string ValueText(const FieldInfo& field);

}  // namespace zr3::compare
