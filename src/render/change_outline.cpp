#include "render/change_outline.h"

#include <QPainter>

namespace zr3::render {

CellSet ChangedCellsOf(const compare::LevelDiff& diff, std::size_t map, int side) {
  CellSet cells;
  for (const compare::ListDiff& list : diff.lists) {
    if (list.category != Category::Maps) continue;
    for (const compare::RecordPlace& added : list.added) {
      if (added.index != map) continue;
      for (int row = 0; row < side; ++row) {
        for (int column = 0; column < side; ++column) cells.emplace(row, column);
      }
    }
  }
  for (const compare::MapCellChanges& changes : compare::ChangedCells(diff)) {
    if (changes.map != map) continue;
    for (const compare::CellRegion& region : changes.regions) {
      cells.insert(region.members.begin(), region.members.end());
    }
  }
  return cells;
}

void OutlineCells(QPainter& painter, const CellSet& cells, int width,
                  const std::function<QRect(int, int)>& rectOf) {
  QPen pen(QColor(255, 40, 40));
  pen.setWidth(width);
  painter.setPen(pen);
  for (const auto& [row, column] : cells) {
    const QRect cell = rectOf(row, column);
    if (!cells.contains({row - 1, column})) painter.drawLine(cell.topLeft(), cell.topRight());
    if (!cells.contains({row + 1, column})) painter.drawLine(cell.bottomLeft(), cell.bottomRight());
    if (!cells.contains({row, column - 1})) painter.drawLine(cell.topLeft(), cell.bottomLeft());
    if (!cells.contains({row, column + 1})) painter.drawLine(cell.topRight(), cell.bottomRight());
  }
}

void MarkChangedCells(QImage& image, const MapRenderer& renderer, const CellSet& changed,
                      int side) {
  QPainter painter(&image);
  const QColor dim(0, 0, 0, 150);
  for (int row = 0; row < side; ++row) {
    for (int column = 0; column < side; ++column) {
      if (!changed.contains({row, column})) painter.fillRect(renderer.CellRect(row, column), dim);
    }
  }
  OutlineCells(painter, changed, std::max(1, renderer.Options().cell / 8),
               [&renderer](int row, int column) { return renderer.CellRect(row, column); });
}

}  // namespace zr3::render
