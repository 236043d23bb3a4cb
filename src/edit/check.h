#pragma once

#include <cstddef>

#include "edit/results.h"
#include "level/text.h"

namespace zr3 {

class ZR3Level;

// What the check found: one line per problem, grouped by category (in file order, the
// level information first) and by record, then a summary line with the number of problems.
struct LevelCheck {
  Lines lines;
  std::size_t problemCount = 0;
};

// The same lines, each problem's with the record it names (the level information for its own
// fields); the summary names none.
struct LevelProblems {
  ResultLines lines;
  std::size_t problemCount = 0;
};

// Finds every stored value that the level does not carry as its author meant: references
// that do not resolve and what the next save does with them, codes and counts outside their
// tables, map sizes above 100, group indexes outside the group table, and names that script
// text cannot bring back (shared within a list, or holding a line break).
// Each line names the record (category, index, name), the field, the stored value, what is
// wrong and whether the next save keeps the value or writes 0.
LevelProblems FindLevelProblems(const ZR3Level& level);
// The text of FindLevelProblems.
LevelCheck CheckLevel(const ZR3Level& level);

}  // namespace zr3
