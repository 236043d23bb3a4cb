#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "support/blob.h"

namespace zr3test {

// Every field of a map record. The file always holds a 100 x 100 grid of cells.
struct MapFields {
  using Cell = std::array<std::uint32_t, 3>;
  static constexpr int kGridSide = 100;

  std::string name;
  std::uint16_t size = 0;
  std::string opaque = std::string(2, '\0');
  std::vector<Cell> cells = std::vector<Cell>(kGridSide * kGridSide);  // row by row
  std::array<std::uint32_t, 4> borders{};                              // N, E, S, W
  std::uint32_t nextId = 0;
  std::uint32_t prevId = 0;
  std::uint32_t id = 0;

  Cell& At(int row, int column) {
    return cells.at(static_cast<std::size_t>(row * kGridSide + column));
  }
};

Blob MapRecord(const MapFields& map);

// Offsets inside a map record.
inline constexpr std::size_t kMapCellsOffset = 36;
inline constexpr std::size_t kMapBordersOffset = 120036;

// A map with a name, a size and an own identifier; every cell and border empty.
MapFields NamedMap(std::string name, std::uint16_t size, std::uint32_t id);

}  // namespace zr3test
