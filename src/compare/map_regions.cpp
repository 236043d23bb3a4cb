#include "compare/map_regions.h"

#include <algorithm>
#include <utility>

namespace zr3::compare {

ChangedGrid::ChangedGrid(int side)
    : side_(side), changed_(static_cast<std::size_t>(side) * static_cast<std::size_t>(side)) {}

bool ChangedGrid::Any() const {
  return std::find(changed_.begin(), changed_.end(), true) != changed_.end();
}

std::vector<CellRegion> ChangedGrid::Regions(int layer) const {
  std::vector<CellRegion> regions;
  std::vector<bool> seen(changed_.size());
  std::vector<std::pair<int, int>> pending;
  for (int row = 0; row < side_; ++row) {
    for (int column = 0; column < side_; ++column) {
      if (!changed_[Index(row, column)] || seen[Index(row, column)]) continue;
      CellRegion region{layer, row, row, column, column, 0, {}, {}};
      std::vector<CellChange> cells;
      seen[Index(row, column)] = true;
      pending.emplace_back(row, column);
      while (!pending.empty()) {
        const auto [r, c] = pending.back();
        pending.pop_back();
        ++region.cells;
        region.members.emplace_back(r, c);
        if (cells.size() <= kFewCells) cells.push_back({r, c, {}, {}});
        region.firstRow = std::min(region.firstRow, r);
        region.lastRow = std::max(region.lastRow, r);
        region.firstColumn = std::min(region.firstColumn, c);
        region.lastColumn = std::max(region.lastColumn, c);
        const std::pair<int, int> neighbours[] = {{r - 1, c}, {r + 1, c}, {r, c - 1}, {r, c + 1}};
        for (const auto& [nr, nc] : neighbours) {
          if (nr < 0 || nc < 0 || nr >= side_ || nc >= side_) continue;
          const std::size_t at = Index(nr, nc);
          if (!changed_[at] || seen[at]) continue;
          seen[at] = true;
          pending.emplace_back(nr, nc);
        }
      }
      if (region.cells <= kFewCells) {
        std::sort(cells.begin(), cells.end(), [](const CellChange& x, const CellChange& y) {
          return std::pair(x.row, x.column) < std::pair(y.row, y.column);
        });
        region.tiles = std::move(cells);
      }
      regions.push_back(std::move(region));
    }
  }
  return regions;
}

}  // namespace zr3::compare
