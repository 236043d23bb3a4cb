#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "level/zr3level.h"

namespace zr3 {

class ZR3ChainRecord;
class ZR3Map;

// One stroke of painting on a map: every slot it set, with what the slot held before the
// stroke and after it. Undo and redo put those slots back, and since a map keeps its tile
// table in the order a reload would give, the saved bytes come back exactly.
class MapPaint {
 public:
  // A stroke on the map at index of the level's maps.
  MapPaint(ZR3Level& level, std::size_t map);

  std::size_t MapIndex() const { return map_; }
  ZR3Map& Map(ZR3Level& level) const;

  // Sets the slot (0 to 2) of the cell at row and column to tile, or empties it when tile is
  // none; answers whether the slot changed. A place outside the map's side is refused with
  // ZR3Error.
  bool Set(ZR3Level& level, int row, int column, std::size_t slot, ZR3ChainRecord* tile);
  // The same with an identifier that names no tile, kept as stored (0 empties the slot).
  bool SetKept(ZR3Level& level, int row, int column, std::size_t slot, std::uint32_t id);
  // Sets the slot of every cell of the rectangle between two corners, in any order, clipped
  // to the map; answers how many slots changed.
  std::size_t Fill(ZR3Level& level, int row0, int column0, int row1, int column1, std::size_t slot,
                   ZR3ChainRecord* tile);

  // How many slots the stroke touched.
  std::size_t Count() const { return slots_.size(); }

  void Undo(ZR3Level& level) const;
  void Redo(ZR3Level& level) const;

 private:
  struct Content {
    std::uint32_t id = 0;
    ZR3ChainRecord* tile = nullptr;
    bool operator==(const Content&) const = default;
  };
  struct Slot {
    int row;
    int column;
    std::size_t slot;
    Content before;
    Content after;
  };
  void Put(ZR3Level& level, bool after) const;
  bool Put(ZR3Level& level, int row, int column, std::size_t slot, Content wanted);

  std::size_t map_;
  std::vector<Slot> slots_;
  // Where each touched slot is in slots_, by cell and slot.
  std::unordered_map<std::size_t, std::size_t> touched_;
};

}  // namespace zr3
