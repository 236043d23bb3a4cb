#pragma once

#include <QImage>
#include <QPainter>
#include <functional>
#include <set>
#include <utility>

#include "compare/level_diff.h"
#include "render/map_renderer.h"

namespace zr3::render {

// Cells of a map as row and column.
using CellSet = std::set<std::pair<int, int>>;

// The cells of the map at index (in the newer level) that the diff found changed, in any layer;
// every cell of a map the older level did not have.
CellSet ChangedCellsOf(const compare::LevelDiff& diff, std::size_t map, int side);

// Draws a line of the given width around the cells where they border other cells; rectOf
// gives a cell's rectangle on the painter.
void OutlineCells(QPainter& painter, const CellSet& cells, int width,
                  const std::function<QRect(int, int)>& rectOf);

// Draws a change over a map the renderer drew: every other cell dimmed, and a line around the
// changed cells where they border unchanged ones.
void MarkChangedCells(QImage& image, const MapRenderer& renderer, const CellSet& changed, int side);

}  // namespace zr3::render
