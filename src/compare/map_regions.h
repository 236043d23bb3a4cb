#pragma once

#include <vector>

#include "compare/level_diff.h"

namespace zr3::compare {

// The changed cells of one layer of a map, gathered into regions of touching cells.
class ChangedGrid {
 public:
  // At most this many changed cells in a region are listed with their tiles.
  static constexpr std::size_t kFewCells = 4;

  explicit ChangedGrid(int side);

  void Mark(int row, int column) { changed_[Index(row, column)] = true; }
  bool Any() const;
  // Each group of cells that touch along an edge, as the rectangle bounding it, row by row
  // from its first cell; the cells of a small region are listed (their tiles left for the
  // caller).
  std::vector<CellRegion> Regions(int layer) const;

 private:
  std::size_t Index(int row, int column) const {
    return static_cast<std::size_t>(row) * static_cast<std::size_t>(side_) +
           static_cast<std::size_t>(column);
  }

  int side_;
  std::vector<bool> changed_;
};

}  // namespace zr3::compare
