#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "compare/level_diff.h"
#include "edit/results.h"
#include "render/change_outline.h"
#include "ui/mapview.h"

namespace zr3::ui {

// The open level compared with another version of it (File > Compare With...): the
// differences as result lines that follow to the record of the open level, and for a map's
// cells to the region's first cell, and the changed cells of each map, which the Map tab
// outlines until the comparison is closed.
class Comparison {
 public:
  // The open level is the newer version.
  Comparison(const ZR3Level& older, const ZR3Level& current);

  const ResultLines& Lines() const { return lines_; }
  // The cell a result line leads to, for the lines of a map's regions.
  std::optional<MapCell> CellAt(std::size_t line) const;
  // The changed cells of the map at index of the open level; none when nothing changed.
  const render::CellSet* ChangedCells(std::size_t map) const;
  bool Same() const { return same_; }

 private:
  ResultLines lines_;
  std::vector<std::optional<MapCell>> cells_;
  std::map<std::size_t, render::CellSet> changed_;
  bool same_ = true;
};

}  // namespace zr3::ui
