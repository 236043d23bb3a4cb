#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "level/category.h"
#include "level/zr3level.h"

namespace zr3::compare {

// One field that differs between the versions, named as `zr3 set` names it ("price",
// "items[3]", "colour 5"). A script's text is one field, "script", whose lines are marked as
// a unified diff marks them: ' ' kept, '-' only before, '+' only after.
struct FieldChange {
  std::string field;
  std::string before;
  std::string after;
  std::vector<std::string> lines;
};

// One changed cell slot of a map, with the tiles it held before and after.
struct CellChange {
  int row = 0;
  int column = 0;
  std::string before;
  std::string after;
};

// A group of touching changed cells of one layer (1 to 3): the rectangle that bounds them,
// how many cells of it changed, and the tiles of each when they are few.
struct CellRegion {
  int layer = 1;
  int firstRow = 0;
  int lastRow = 0;
  int firstColumn = 0;
  int lastColumn = 0;
  std::size_t cells = 0;
  std::vector<CellChange> tiles;
  // Every changed cell of the region as row and column, for drawing it.
  std::vector<std::pair<int, int>> members;
};

// A record as the report names it: its index in its version's list and its name.
struct RecordPlace {
  std::size_t index = 0;
  std::string name;
};

struct RecordMove {
  std::string name;
  std::size_t from = 0;
  std::size_t to = 0;
};

struct RecordRename {
  std::size_t index = 0;  // in the newer version
  std::string before;
  std::string after;
};

// A record present in both versions whose fields differ.
struct RecordChange {
  std::size_t beforeIndex = 0;
  std::size_t index = 0;  // in the newer version
  std::string name;       // the newer name
  std::vector<FieldChange> fields;
  std::vector<CellRegion> cells;
};

struct ListDiff {
  Category category = Category::Maps;
  std::vector<RecordPlace> added;
  std::vector<RecordPlace> removed;
  std::vector<RecordMove> moved;
  std::vector<RecordRename> renamed;
  std::vector<RecordChange> changed;

  bool Empty() const {
    return added.empty() && removed.empty() && moved.empty() && renamed.empty() && changed.empty();
  }
};

// What changed from one version of a level to another: the level information's fields, then
// each list that differs, in file order, every category's entries in the order of the list.
struct LevelDiff {
  std::vector<FieldChange> info;
  std::vector<ListDiff> lists;

  bool Empty() const { return info.empty() && lists.empty(); }
};

// Compares two loaded levels. Records are matched by content (see RecordMatching), so that
// identifiers and positions that changed only because records moved or a save renumbered them
// are never reported.
LevelDiff CompareLevels(const ZR3Level& before, const ZR3Level& after);

// The maps' cell regions of the diff, for drawing a change: the newer index of each map whose
// cells changed, with its regions.
struct MapCellChanges {
  std::size_t map = 0;
  std::vector<CellRegion> regions;
};
std::vector<MapCellChanges> ChangedCells(const LevelDiff& diff);

}  // namespace zr3::compare
