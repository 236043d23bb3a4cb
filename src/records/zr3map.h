#pragma once

#include <array>
#include <cstdint>
#include <mutex>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "level/field_record.h"

namespace zr3 {

// One playing area: a square grid of cells, each holding up to three tiles, and four border
// tiles. A map always occupies 120064 bytes: the file holds a 100 x 100 grid whatever the
// map's size, and only the cells inside the used square are kept.
class ZR3Map : public FieldRecord<ZR3Map> {
 public:
  static constexpr std::size_t kNameWidth = 32;
  static constexpr int kGridSide = 100;
  // The side of a map that Add Record makes: the smallest that has a cell to paint.
  static constexpr int kNewSide = 1;
  static constexpr std::size_t kSlotsPerCell = 3;
  static constexpr std::size_t kBorderCount = 4;
  static constexpr std::size_t kSize = 120064;

  ZR3Map() = default;
  explicit ZR3Map(ByteReader& in) { ReadFields(in); }
  ZR3Map(const ZR3Map& other);
  ZR3Map& operator=(const ZR3Map& other);

  Category ListCategory() const override { return Category::Maps; }
  void DecodeDeferred() const override { DecodeCells(); }
  // A new size keeps the cells inside both squares; cells outside the new one are dropped,
  // new ones are empty.
  void SetField(ZR3Level& level, std::string_view path, std::string_view value) override;

  // Borders and the tiles of the cells take the last tile of an equal identifier; a border
  // identifier 0 is looked up like any other and an unresolved border is not written back,
  // while an unresolved cell identifier is.
  template <class Self, class Visitor>
  static void Fields(Self& self, Visitor& visit) {
    visit(field::Text("name", self.name_, kNameWidth, "Name").Means(meaning::kName));
    visit(field::Number("size", self.size_, "Size")
              .Means("The side of the map's square, in cells (0 to 100)"));
    visit(field::Problems([&self](RecordProblems& problems) { self.CheckSize(problems); }));
    visit(field::Opaque("opaque", self.opaque_).Means(meaning::kOpaque));
    Cells<Self> cells{self};
    visit(field::Part("cells", cells)
              .About("Cells", "The tiles of each cell of the square, three layers each"));
    visit(
        field::Reference("border_north", self.borders_[0], "Border N", ReferenceStyle::HexThenName)
            .Means("The tile drawn along the north edge, outside the square"));
    visit(field::Reference("border_east", self.borders_[1], "Border E", ReferenceStyle::HexThenName)
              .Means("The tile drawn along the east edge, outside the square"));
    visit(
        field::Reference("border_south", self.borders_[2], "Border S", ReferenceStyle::HexThenName)
            .Means("The tile drawn along the south edge, outside the square"));
    visit(field::Reference("border_west", self.borders_[3], "Border W", ReferenceStyle::HexThenName)
              .Means("The tile drawn along the west edge, outside the square"));
    visit(field::Chain(self));
    // The tile table comes last in the details text and in the problem report.
    visit(field::Line([&self](Lines& lines) { self.DescribeTilesUsed(lines); }));
    visit(field::Problems([&self](RecordProblems& problems) { self.CheckTilesUsed(problems); }));
  }

  // The stored size (it may exceed 100) and the side of the square of kept cells.
  std::uint16_t Size() const { return size_; }
  int Side() const;
  // One tile slot (0 to 2) of the cell at row and column inside the side: the tile it resolved
  // to (none while empty or unresolved) and its stored identifier (0 for an empty slot).
  ZR3ChainRecord* CellTile(int row, int column, std::size_t slot) const;
  std::uint32_t CellTileId(int row, int column, std::size_t slot) const;
  // Sets one slot to a tile (none empties it), or to an identifier kept as stored with the tile
  // it resolves to, if any. The tile table keeps the tiles the cells use in their order of
  // first appearance, as a reload would have it.
  void SetCellTile(int row, int column, std::size_t slot, ZR3ChainRecord* tile);
  void SetCellTileId(int row, int column, std::size_t slot, std::uint32_t id, ZR3ChainRecord* tile);
  // The border tiles N, E, S, W, and their stored identifiers.
  ZR3ChainRecord* Border(std::size_t i) const { return borders_[i].Record(); }
  std::uint32_t BorderId(std::size_t i) const { return borders_[i].Stored(); }

  // Turns the cells as read into the tile table and the cells' indices into it. Every member
  // that needs the cells calls it first; a load calls it for all maps on another thread
  // while it reads the later sections. Safe from any thread, and once done it does nothing.
  void DecodeCells() const;

  // Cells as whole-map tools set them at once (the JSON import, where setting 30000 slots one
  // by one would cost a pass over the cells each): each slot an index into a tile table, or
  // kEmptySlot for an empty slot. A map has at most 30000 cell slots, so every index lies
  // below kEmptySlot.
  using Cell = std::array<std::uint16_t, kSlotsPerCell>;
  static constexpr std::uint16_t kEmptySlot = 0xFFFF;
  // Replaces the cells with Side() x Side() cells, row by row, and the tile table with ids and
  // tiles side by side (a tile that is none keeps its identifier, which the save writes back);
  // the table then holds the tiles in their order of first appearance, as a reload would have
  // it. Throws ZR3Error and changes nothing when a count or a slot does not fit.
  void SetCells(std::vector<Cell> cells, std::vector<std::uint32_t> ids,
                std::vector<ZR3ChainRecord*> tiles);
  // The cells as SetCells takes them, for readers of the whole map at once (a comparison of
  // two versions): Side() x Side() cells, row by row, and the tile table's identifiers and
  // tiles side by side. The table may hold entries that no cell uses any more.
  std::span<const Cell> CellSlots() const {
    DecodeCells();
    return cells_;
  }
  std::span<const std::uint32_t> TableIds() const {
    DecodeCells();
    return tileIds_;
  }
  std::span<ZR3ChainRecord* const> TableTiles() const {
    DecodeCells();
    return tiles_;
  }

 private:
  // The cells as one part of the map's layout, for the field list.
  template <class Map>
  struct Cells {
    Map& map;
    void Read(ByteReader& in) { map.ReadCells(in); }
    void Write(ByteWriter& out) { map.WriteCells(out); }
    void Link(ZR3Level& level) { map.LinkCells(level); }
    void Describe(Lines&) const {}
    void CollectKept(std::vector<std::uint32_t>& kept) const { map.CollectKeptCells(kept); }
    void CollectProblems(RecordProblems&) const {}
    bool RefersTo(const ZR3Base& record) const { return map.CellsReferTo(record); }
    std::string Summary() const { return map.CellsSummary(); }
    std::string ValueText() const { return map.CellsText(); }
    // The cells name their tiles by identifier, resolved by Link.
    void LinkPositions(ZR3Level&) {}

    // In JSON: a grid of Side() x Side() cells, each three tile references.
    template <class Json>
    void WriteJson(Json& json) const {
      map.CheckCellCount();
      json.ReferenceGrid(map.Side(), std::span<const Cell>(map.cells_), map.tileIds_.size(),
                         kEmptySlot, [this](std::size_t entry) {
                           return std::pair<const ZR3Base*, std::uint32_t>(map.tiles_[entry],
                                                                           map.tileIds_[entry]);
                         });
    }
    template <class Schema>
    static void JsonSchema(Schema& schema) {
      schema.ReferenceGrid(kGridSide, kSlotsPerCell);
    }
    // The tiles are set once the tile list is whole, all cells at once.
    template <class In, class Node, class Place>
    void ReadJson(In& in, const Node& node, const Place& place) {
      static_assert(kEmptySlot == In::kEmptySlot);
      in.ReferenceGrid(
          node, place, map.Side(), kSlotsPerCell, Category::Tiles,
          [&map = map](std::vector<std::uint16_t> cellSlots, std::vector<std::uint32_t> ids,
                       std::vector<ZR3ChainRecord*> tiles) {
            std::vector<Cell> cells(cellSlots.size() / kSlotsPerCell);
            for (std::size_t i = 0; i < cellSlots.size(); ++i) {
              cells[i / kSlotsPerCell][i % kSlotsPerCell] = cellSlots[i];
            }
            map.SetCells(std::move(cells), std::move(ids), std::move(tiles));
          });
    }
  };
  using BorderReference =
      IdReference<IdRule{Category::Tiles, Match::Last, false, AtSave::WrittenAsZero}>;

  // A stored size above 100 is kept as stored, but the file has no more than 100 cells per
  // row.
  bool IsKept(int row, int column) const { return row < Side() && column < Side(); }

  // Lays the cells out for a new side and keeps in the tile table only the tiles the cells
  // still use, in their order of first appearance, as a reload would.
  void ResizeCells(int oldSide, int newSide) const;
  // Decodes the cells and drops the table entries no cell uses any more.
  void PrepareTable() const;
  const Cell& CellAt(int row, int column) const;
  // Decodes the cells and throws when they are fewer than Side() x Side().
  void CheckCellCount() const;
  void ReadCells(ByteReader& in);
  void WriteCells(ByteWriter& out) const;
  void LinkCells(ZR3Level& level);
  void CollectKeptCells(std::vector<std::uint32_t>& kept) const;
  bool CellsReferTo(const ZR3Base& record) const;
  std::string CellsSummary() const;
  // Every cell, a row a line, each slot its tile's name, "#id" while unresolved, or "-".
  std::string CellsText() const;
  void CheckSize(RecordProblems& problems) const;
  void DescribeTilesUsed(Lines& lines) const;
  void CheckTilesUsed(RecordProblems& problems) const;

  std::uint16_t size_ = 0;
  std::array<std::uint8_t, 2> opaque_{};
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
  // False after a slot was set: the table may hold entries no cell uses, or out of order.
  mutable bool tableCompact_ = true;
  // N, E, S, W.
  std::array<BorderReference, kBorderCount> borders_{};
};

}  // namespace zr3
