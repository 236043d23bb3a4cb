#pragma once

#include <array>
#include <cstdint>
#include <mutex>
#include <vector>

#include "level/zr3base.h"

namespace zr3 {

// One playing area: a square grid of cells, each holding up to three tiles, and four border
// tiles. A map always occupies 120064 bytes: the file holds a 100 x 100 grid whatever the
// map's size, and only the cells inside the used square are kept.
class ZR3Map : public ZR3ChainRecord {
 public:
  static constexpr std::size_t kNameWidth = 32;
  static constexpr int kGridSide = 100;
  static constexpr std::size_t kSlotsPerCell = 3;
  static constexpr std::size_t kBorderCount = 4;
  static constexpr std::size_t kSize = 120064;

  ZR3Map() = default;
  explicit ZR3Map(ByteReader& in);

  Category ListCategory() const override { return Category::Maps; }
  void Describe(Lines& lines) const override;
  void Write(ByteWriter& out) override;
  // Borders and tile table entries take the last tile of an equal identifier.
  void Link(ZR3Level& level) override;
  void CopyTo(ZR3Base& target) const override;
  void CollectKeptIdentifiers(std::vector<std::uint32_t>& kept) const override;
  void CollectProblems(RecordProblems& problems) const override;

  bool RefersToTile(const ZR3Base& record) const;

  // Turns the cells as read into the tile table and the cells' indices into it. Every member
  // that needs the cells calls it first; a load calls it for all maps on another thread
  // while it reads the later sections. Safe from any thread, and once done it does nothing.
  void DecodeCells() const;

 private:
  // Indices into the tile table; kEmptySlot where the file holds identifier 0. A map has at
  // most 30000 cell slots, so every index lies below kEmptySlot.
  using Cell = std::array<std::uint16_t, kSlotsPerCell>;
  static constexpr std::uint16_t kEmptySlot = 0xFFFF;

  // The side of the square of kept cells. A stored size above 100 is kept as stored, but
  // the file has no more than 100 cells per row.
  int Side() const;
  bool IsKept(int row, int column) const { return row < Side() && column < Side(); }

  std::uint16_t size_ = 0;
  std::array<std::uint8_t, 2> unknown_{};
  // The kept cells as read, 12 bytes each, until DecodeCells has made the three members
  // below from them; they are filled on first use, hence mutable.
  mutable std::vector<unsigned char> cellBytes_;
  mutable std::once_flag cellsDecoded_;
  // Row by row, Side() x Side() cells.
  mutable std::vector<Cell> cells_;
  // The distinct non-zero tile identifiers of the cells in order of first appearance, and
  // beside each the tile it resolved to (none while unresolved).
  mutable std::vector<std::uint32_t> tileIds_;
  mutable std::vector<ZR3ChainRecord*> tiles_;
  // N, E, S, W.
  std::array<std::uint32_t, kBorderCount> borderIds_{};
  std::array<ZR3ChainRecord*, kBorderCount> borders_{};
};

}  // namespace zr3
