#include "records/zr3map.h"

#include <algorithm>

#include "level/bytes.h"
#include "level/id_map.h"
#include "level/zr3level.h"

namespace zr3 {

namespace {

constexpr const char* kBorderLabels[ZR3Map::kBorderCount] = {
    "Border N:", "Border E:", "Border S:", "Border W:"};

}  // namespace

namespace {
constexpr std::size_t kCellBytes = ZR3Map::kSlotsPerCell * 4;
}  // namespace

ZR3Map::ZR3Map(ByteReader& in) {
  name_ = in.FixedText(kNameWidth);
  size_ = in.U16();
  unknown_ = in.Array<2>();
  const auto side = static_cast<std::size_t>(Side());
  cellBytes_.resize(side * side * kCellBytes);
  unsigned char* kept = cellBytes_.data();
  for (int row = 0; row < kGridSide; ++row) {
    // A row at a time: the cells beyond the side are read and dropped.
    const unsigned char* bytes = in.Take(kGridSide * kCellBytes);
    if (static_cast<std::size_t>(row) >= side) continue;
    kept = std::copy(bytes, bytes + side * kCellBytes, kept);
  }
  for (std::uint32_t& id : borderIds_) id = in.U32();
  ReadChain(in);
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

void ZR3Map::Write(ByteWriter& out) {
  DecodeCells();
  out.FixedText(name_, kNameWidth);
  out.U16(size_);
  out.Array(unknown_);
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
  // An unresolved border is not written back.
  for (const ZR3ChainRecord* border : borders_) out.U32(SaveIdOf(border));
  WriteChain(out);
}

void ZR3Map::Link(ZR3Level& level) {
  DecodeCells();
  // A map makes many lookups: keep the tile index for all of them even outside the load.
  ZR3Level::IndexScope scope(level);
  // Identifier 0 is matched for borders like any other; the tile table never holds 0.
  for (std::size_t i = 0; i < kBorderCount; ++i) {
    borders_[i] = level.FindLastById(Category::Tiles, borderIds_[i]);
  }
  for (std::size_t i = 0; i < tileIds_.size(); ++i) {
    tiles_[i] = level.FindLastById(Category::Tiles, tileIds_[i]);
  }
  LinkNeighbours(level);
}

void ZR3Map::Describe(Lines& lines) const {
  DecodeCells();
  lines.push_back("Name: " + name_);
  lines.push_back("Size: " + std::to_string(size_));
  lines.push_back(HexDump("Unknown:", unknown_.data(), unknown_.size()));
  for (std::size_t i = 0; i < kBorderCount; ++i) {
    std::string line = HexDumpU32(kBorderLabels[i], borderIds_[i]);
    if (borders_[i]) line += " " + borders_[i]->Name();
    lines.push_back(std::move(line));
  }
  DescribeChain(lines);
  lines.push_back("Tiles used: ");
  for (const ZR3ChainRecord* tile : tiles_) {
    lines.push_back(tile ? "  " + tile->Name() : "  (Tile not found)");
  }
}

void ZR3Map::CopyTo(ZR3Base& target) const {
  DecodeCells();
  auto& copy = static_cast<ZR3Map&>(target);
  copy.name_ = name_;
  copy.size_ = size_;
  copy.unknown_ = unknown_;
  copy.cells_ = cells_;
  copy.tileIds_ = tileIds_;
  copy.tiles_ = tiles_;
  copy.borderIds_ = borderIds_;
  copy.borders_ = borders_;
  CopyChainTo(copy);
}

void ZR3Map::CollectKeptIdentifiers(std::vector<std::uint32_t>& kept) const {
  DecodeCells();
  for (std::size_t i = 0; i < tileIds_.size(); ++i) {
    if (!tiles_[i]) kept.push_back(tileIds_[i]);
  }
}

void ZR3Map::CollectProblems(RecordProblems& problems) const {
  DecodeCells();
  if (size_ > kGridSide) {
    problems.push_back({"Size", std::to_string(size_),
                        "above " + std::to_string(kGridSide) + "; the file holds " +
                            std::to_string(kGridSide) + " x " + std::to_string(kGridSide) +
                            " cells",
                        AtSave::Kept});
  }
  // Border identifier 0 is no border; the writer drops any other that matched no tile.
  for (std::size_t i = 0; i < kBorderCount; ++i) {
    if (borderIds_[i] != 0 && !borders_[i]) {
      std::string label = kBorderLabels[i];
      label.pop_back();  // the colon
      problems.push_back(
          UnresolvedIdentifier(label, borderIds_[i], Category::Tiles, AtSave::WrittenAsZero));
    }
  }
  for (std::size_t i = 0; i < tileIds_.size(); ++i) {
    if (!tiles_[i]) {
      problems.push_back(
          UnresolvedIdentifier("Tiles used", tileIds_[i], Category::Tiles, AtSave::Kept));
    }
  }
}

bool ZR3Map::RefersToTile(const ZR3Base& record) const {
  DecodeCells();
  auto is = [&record](const ZR3ChainRecord* tile) { return tile == &record; };
  return std::any_of(borders_.begin(), borders_.end(), is) ||
         std::any_of(tiles_.begin(), tiles_.end(), is);
}

}  // namespace zr3
