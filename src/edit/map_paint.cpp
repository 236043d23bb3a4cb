#include "edit/map_paint.h"

#include <algorithm>

#include "level/zr3error.h"
#include "records/zr3map.h"

namespace zr3 {

MapPaint::MapPaint(ZR3Level& level, std::size_t map) : map_(map) {
  Map(level);
}

ZR3Map& MapPaint::Map(ZR3Level& level) const {
  return static_cast<ZR3Map&>(RecordOf(level, Category::Maps, map_));
}

bool MapPaint::Set(ZR3Level& level, int row, int column, std::size_t slot, ZR3ChainRecord* tile) {
  return Put(level, row, column, slot, Content{tile ? tile->StoredId() : 0, tile});
}

bool MapPaint::SetKept(ZR3Level& level, int row, int column, std::size_t slot, std::uint32_t id) {
  return Put(level, row, column, slot, Content{id, nullptr});
}

bool MapPaint::Put(ZR3Level& level, int row, int column, std::size_t slot, Content wanted) {
  ZR3Map& map = Map(level);
  const int side = map.Side();
  if (row < 0 || column < 0 || row >= side || column >= side || slot >= ZR3Map::kSlotsPerCell) {
    throw ZR3Error("Cell " + std::to_string(row) + ", " + std::to_string(column) + " slot " +
                   std::to_string(slot + 1) + " is outside the map");
  }
  const Content now{map.CellTileId(row, column, slot), map.CellTile(row, column, slot)};
  if (now == wanted) return false;
  map.SetCellTileId(row, column, slot, wanted.id, wanted.tile);
  level.SetModified(true);
  const std::size_t key =
      (static_cast<std::size_t>(row) * ZR3Map::kGridSide + static_cast<std::size_t>(column)) *
          ZR3Map::kSlotsPerCell +
      slot;
  const auto [place, added] = touched_.try_emplace(key, slots_.size());
  if (added) {
    slots_.push_back(Slot{row, column, slot, now, wanted});
  } else {
    slots_[place->second].after = wanted;
  }
  return true;
}

std::size_t MapPaint::Fill(ZR3Level& level, int row0, int column0, int row1, int column1,
                           std::size_t slot, ZR3ChainRecord* tile) {
  const int last = Map(level).Side() - 1;
  const int top = std::max(std::min(row0, row1), 0);
  const int bottom = std::min(std::max(row0, row1), last);
  const int left = std::max(std::min(column0, column1), 0);
  const int right = std::min(std::max(column0, column1), last);
  std::size_t changed = 0;
  for (int row = top; row <= bottom; ++row) {
    for (int column = left; column <= right; ++column) {
      if (Set(level, row, column, slot, tile)) ++changed;
    }
  }
  return changed;
}

void MapPaint::Put(ZR3Level& level, bool after) const {
  ZR3Map& map = Map(level);
  for (const Slot& s : slots_) {
    const Content& content = after ? s.after : s.before;
    map.SetCellTileId(s.row, s.column, s.slot, content.id, content.tile);
  }
  level.SetModified(true);
}

void MapPaint::Undo(ZR3Level& level) const {
  Put(level, false);
}

void MapPaint::Redo(ZR3Level& level) const {
  Put(level, true);
}

}  // namespace zr3
