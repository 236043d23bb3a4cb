#include "records/zr3map.h"

#include <algorithm>

#include "level/bytes.h"
#include "level/id_map.h"
#include "level/zr3error.h"
#include "level/zr3level.h"

namespace zr3 {

namespace {
constexpr std::size_t kCellBytes = ZR3Map::kSlotsPerCell * 4;
}  // namespace

ZR3Map::ZR3Map(const ZR3Map& other) : FieldRecord(other) {
  *this = other;
}

ZR3Map& ZR3Map::operator=(const ZR3Map& other) {
  if (this == &other) return *this;
  other.PrepareTable();
  // This map's own cells count as decoded from here on: it has no bytes left to decode.
  DecodeCells();
  FieldRecord::operator=(other);
  size_ = other.size_;
  opaque_ = other.opaque_;
  cells_ = other.cells_;
  tileIds_ = other.tileIds_;
  tiles_ = other.tiles_;
  borders_ = other.borders_;
  tableCompact_ = true;
  return *this;
}

void ZR3Map::SetField(ZR3Level& level, std::string_view path, std::string_view value) {
  DecodeCells();
  const int oldSide = Side();
  FieldRecord::SetField(level, path, value);
  if (Side() != oldSide) ResizeCells(oldSide, Side());
}

void ZR3Map::ResizeCells(int oldSide, int newSide) const {
  const auto side = static_cast<std::size_t>(newSide);
  std::vector<Cell> cells(side * side, Cell{kEmptySlot, kEmptySlot, kEmptySlot});
  std::vector<std::uint32_t> tileIds;
  std::vector<ZR3ChainRecord*> tiles;
  std::vector<std::uint16_t> newIndexOf(tileIds_.size(), kEmptySlot);
  const int kept = std::min(oldSide, newSide);
  for (int row = 0; row < kept; ++row) {
    for (int column = 0; column < kept; ++column) {
      const Cell& old = cells_[static_cast<std::size_t>(row * oldSide + column)];
      Cell& cell = cells[static_cast<std::size_t>(row) * side + static_cast<std::size_t>(column)];
      for (std::size_t i = 0; i < kSlotsPerCell; ++i) {
        if (old[i] == kEmptySlot) continue;
        std::uint16_t& index = newIndexOf[old[i]];
        if (index == kEmptySlot) {
          index = static_cast<std::uint16_t>(tileIds.size());
          tileIds.push_back(tileIds_[old[i]]);
          tiles.push_back(tiles_[old[i]]);
        }
        cell[i] = index;
      }
    }
  }
  cells_ = std::move(cells);
  tileIds_ = std::move(tileIds);
  tiles_ = std::move(tiles);
  tableCompact_ = true;
}

void ZR3Map::PrepareTable() const {
  DecodeCells();
  if (!tableCompact_) ResizeCells(Side(), Side());
}

const ZR3Map::Cell& ZR3Map::CellAt(int row, int column) const {
  DecodeCells();
  return cells_.at(static_cast<std::size_t>(row * Side() + column));
}

void ZR3Map::CheckCellCount() const {
  DecodeCells();
  const auto side = static_cast<std::size_t>(Side());
  if (cells_.size() < side * side) {
    throw ZR3Error("the map \"" + Name() + "\" holds fewer cells than its size");
  }
}

ZR3ChainRecord* ZR3Map::CellTile(int row, int column, std::size_t slot) const {
  const std::uint16_t entry = CellAt(row, column).at(slot);
  return entry == kEmptySlot ? nullptr : tiles_[entry];
}

std::uint32_t ZR3Map::CellTileId(int row, int column, std::size_t slot) const {
  const std::uint16_t entry = CellAt(row, column).at(slot);
  return entry == kEmptySlot ? 0 : tileIds_[entry];
}

void ZR3Map::SetCellTile(int row, int column, std::size_t slot, ZR3ChainRecord* tile) {
  SetCellTileId(row, column, slot, tile ? tile->StoredId() : 0, tile);
}

void ZR3Map::SetCellTileId(int row, int column, std::size_t slot, std::uint32_t id,
                           ZR3ChainRecord* tile) {
  CellAt(row, column);  // checks the place
  std::uint16_t entry = kEmptySlot;
  if (id != 0 || tile) {
    // A tile of the table already standing for the same record and identifier is shared.
    for (std::size_t i = 0; i < tileIds_.size() && entry == kEmptySlot; ++i) {
      if (tileIds_[i] == id && tiles_[i] == tile) entry = static_cast<std::uint16_t>(i);
    }
    if (entry == kEmptySlot) {
      entry = static_cast<std::uint16_t>(tileIds_.size());
      tileIds_.push_back(id);
      tiles_.push_back(tile);
    }
  }
  cells_[static_cast<std::size_t>(row * Side() + column)].at(slot) = entry;
  // Entries no cell uses any more are dropped when the table is next looked at, so that a
  // stroke of many cells rebuilds it once.
  tableCompact_ = false;
}

void ZR3Map::ReadCells(ByteReader& in) {
  const auto side = static_cast<std::size_t>(Side());
  cellBytes_.resize(side * side * kCellBytes);
  unsigned char* kept = cellBytes_.data();
  for (int row = 0; row < kGridSide; ++row) {
    // A row at a time: the cells beyond the side are read and dropped.
    const unsigned char* bytes = in.Take(kGridSide * kCellBytes);
    if (static_cast<std::size_t>(row) >= side) continue;
    kept = std::copy(bytes, bytes + side * kCellBytes, kept);
  }
}

void ZR3Map::DecodeCells() const {
  std::call_once(cellsDecoded_, [this] {
    if (cellBytes_.empty()) return;
    const std::size_t count = cellBytes_.size() / kCellBytes;
    cells_.reserve(count);
    // Identifier to table index, so that building the table stays linear in the cells while
    // the table itself keeps the order of first appearance.
    IdMap<std::uint16_t> tableIndexOf;
    // Identifier 0 is an empty slot, never a table entry.
    tableIndexOf.TryEmplace(0, kEmptySlot);
    // Neighbouring cells often hold the same tile: the last identifier looked up is kept.
    std::uint32_t lastId = 0;
    std::uint16_t lastIndex = kEmptySlot;
    const unsigned char* bytes = cellBytes_.data();
    for (std::size_t c = 0; c < count; ++c, bytes += kCellBytes) {
      Cell& cell = cells_.emplace_back();
      for (std::size_t i = 0; i < kSlotsPerCell; ++i) {
        const std::uint32_t id = LoadU32(bytes + 4 * i);
        if (id != lastId) {
          auto [index, added] =
              tableIndexOf.TryEmplace(id, static_cast<std::uint16_t>(tileIds_.size()));
          if (added) tileIds_.push_back(id);
          lastId = id;
          lastIndex = *index;
        }
        cell[i] = lastIndex;
      }
    }
    tiles_.assign(tileIds_.size(), nullptr);
    std::vector<unsigned char>().swap(cellBytes_);
  });
}

int ZR3Map::Side() const {
  return std::min<int>(size_, kGridSide);
}

void ZR3Map::WriteCells(ByteWriter& out) const {
  DecodeCells();
  const int side = Side();
  for (int row = 0; row < kGridSide; ++row) {
    for (int column = 0; column < kGridSide; ++column) {
      if (!IsKept(row, column)) {
        out.Zeros(kSlotsPerCell * 4);
        continue;
      }
      for (std::uint16_t slot : cells_[static_cast<std::size_t>(row * side + column)]) {
        if (slot == kEmptySlot) {
          out.U32(0);
          continue;
        }
        // An identifier that matched no tile is written back as it was read.
        const auto entry = static_cast<std::size_t>(slot);
        out.U32(tiles_[entry] ? tiles_[entry]->SaveId() : tileIds_[entry]);
      }
    }
  }
}

void ZR3Map::SetCells(std::vector<Cell> cells, std::vector<std::uint32_t> ids,
                      std::vector<ZR3ChainRecord*> tiles) {
  const auto side = static_cast<std::size_t>(Side());
  if (cells.size() != side * side) {
    throw ZR3Error("A map of size " + std::to_string(size_) + " holds " +
                   std::to_string(side * side) + " cells, not " + std::to_string(cells.size()));
  }
  if (ids.size() != tiles.size() || ids.size() >= kEmptySlot) {
    throw ZR3Error("A map's tile table needs a tile or identifier for each of its entries");
  }
  for (const Cell& cell : cells) {
    for (std::uint16_t slot : cell) {
      if (slot != kEmptySlot && slot >= ids.size()) {
        throw ZR3Error("A map cell names entry " + std::to_string(slot) + " of a tile table of " +
                       std::to_string(ids.size()));
      }
    }
  }
  // Whatever bytes were read are replaced, so they must never be decoded over these cells.
  DecodeCells();
  cells_ = std::move(cells);
  tileIds_ = std::move(ids);
  tiles_ = std::move(tiles);
  ResizeCells(Side(), Side());
}

void ZR3Map::LinkCells(ZR3Level& level) {
  PrepareTable();
  // A map makes many lookups: keep the tile index for all of them even outside the load.
  ZR3Level::IndexScope scope(level);
  for (std::size_t i = 0; i < tileIds_.size(); ++i) {
    tiles_[i] = level.FindLastById(Category::Tiles, tileIds_[i]);
  }
}

void ZR3Map::DescribeTilesUsed(Lines& lines) const {
  PrepareTable();
  lines.push_back("Tiles used: ");
  for (const ZR3ChainRecord* tile : tiles_) {
    lines.push_back(tile ? "  " + tile->Name() : "  (Tile not found)");
  }
}

void ZR3Map::CollectKeptCells(std::vector<std::uint32_t>& kept) const {
  PrepareTable();
  for (std::size_t i = 0; i < tileIds_.size(); ++i) {
    if (!tiles_[i]) kept.push_back(tileIds_[i]);
  }
}

void ZR3Map::CheckSize(RecordProblems& problems) const {
  if (size_ > kGridSide) {
    problems.push_back({"Size", std::to_string(size_),
                        "above " + std::to_string(kGridSide) + "; the file holds " +
                            std::to_string(kGridSide) + " x " + std::to_string(kGridSide) +
                            " cells",
                        AtSave::Kept});
  }
}

void ZR3Map::CheckTilesUsed(RecordProblems& problems) const {
  PrepareTable();
  for (std::size_t i = 0; i < tileIds_.size(); ++i) {
    if (!tiles_[i]) {
      problems.push_back(
          UnresolvedIdentifier("Tiles used", tileIds_[i], Category::Tiles, AtSave::Kept));
    }
  }
}

bool ZR3Map::CellsReferTo(const ZR3Base& record) const {
  PrepareTable();
  return std::find(tiles_.begin(), tiles_.end(), &record) != tiles_.end();
}

std::string ZR3Map::CellsSummary() const {
  const std::string side = std::to_string(Side());
  return side + " x " + side + " cells";
}

std::string ZR3Map::CellsText() const {
  std::string text;
  for (int row = 0; row < Side(); ++row) {
    for (int column = 0; column < Side(); ++column) {
      text += column == 0 ? "" : " ";
      for (std::size_t slot = 0; slot < kSlotsPerCell; ++slot) {
        text += slot == 0 ? "[" : "|";
        if (const ZR3ChainRecord* tile = CellTile(row, column, slot)) {
          text += tile->Name();
        } else if (const std::uint32_t id = CellTileId(row, column, slot)) {
          text += "#" + std::to_string(id);
        } else {
          text += "-";
        }
      }
      text += "]";
    }
    text += "\n";
  }
  return text;
}

}  // namespace zr3
