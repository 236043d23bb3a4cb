#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "compare/level_diff.h"
#include "level/text.h"

namespace zr3::compare {

// How a report marks its lines: plain, or with terminal colours (added and "+" lines green,
// removed and "-" lines red, headings bold, moves and renames cyan).
enum class Colour : unsigned char { Never, Always };

// What a line of the report is about: a record of the newer version (the level information
// when there is no list).
struct ReportSubject {
  std::optional<Category> list;
  std::size_t index = 0;
};
struct ReportLine {
  std::string text;
  std::optional<ReportSubject> subject;
  // A map region's line: the region's first changed cell (row, column).
  std::optional<std::pair<int, int>> cell;
};

// The readable report: a heading per part that changed ("Level information", then each list
// by its section name in file order), and under it one line per added, removed, moved,
// renamed and changed record, a changed record's fields indented below it. The lines are UTF-8.
Lines ReportLines(const LevelDiff& diff, Colour colour);
// The same lines, each with what it is about, for a viewer that follows them.
std::vector<ReportLine> ReportEntries(const LevelDiff& diff, Colour colour);

// How many records changed per category, one line a list, and a total line.
Lines StatLines(const LevelDiff& diff);

// One line of a map's region: "layer 2: rows 4-6, columns 10-12: 9 cells", and the tiles of a
// small one: "layer 1: row 3, column 5: 1 cell (Grass → Water)".
std::string RegionText(const CellRegion& region);

}  // namespace zr3::compare
