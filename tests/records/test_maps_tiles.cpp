#include <gtest/gtest.h>

#include <algorithm>

#include "level/bytes.h"
#include "records/zr3map.h"
#include "records/zr3tile.h"
#include "support/chain_ids.h"
#include "support/compare.h"
#include "support/graphic_builder.h"
#include "support/map_builder.h"
#include "support/object_builder.h"
#include "support/record_helpers.h"
#include "support/tile_builder.h"

using namespace zr3test;
using zr3::Category;
using zr3::ZR3Map;
using zr3::ZR3Tile;

namespace {

std::size_t CellAt(int row, int column, int slot) {
  return kMapCellsOffset + static_cast<std::size_t>((row * 100 + column) * 12 + slot * 4);
}

std::vector<std::string> TilesUsed(const zr3::Lines& lines) {
  auto at = std::find(lines.begin(), lines.end(), "Tiles used: ");
  EXPECT_NE(at, lines.end());
  return at == lines.end() ? std::vector<std::string>{}
                           : std::vector<std::string>(at + 1, lines.end());
}

void AddTiles(LevelBuilder& builder, std::vector<TileFields> tiles) {
  ChainIds(tiles);
  for (const TileFields& tile : tiles) builder.Add(Category::Tiles, TileRecord(tile));
}

}  // namespace

TEST(MapRecord, AlwaysOccupies120064Bytes) {
  for (int size : {0, 1, 37, 100, 101, 150, 65535}) {
    MapFields spec = NamedMap("M", static_cast<std::uint16_t>(size), 1);
    spec.At(0, 0) = {4, 5, 6};
    spec.At(99, 99) = {7, 0, 8};
    const Blob blob = MapRecord(spec);
    ASSERT_EQ(blob.Size(), ZR3Map::kSize);
    std::size_t consumed = 0;
    auto map = ReadOne<ZR3Map>(blob.Bytes() + "tail", &consumed);
    EXPECT_EQ(consumed, ZR3Map::kSize) << "size " << size;
    EXPECT_EQ(WriteRecord(*map).size(), ZR3Map::kSize) << "size " << size;
  }
  ZR3Map empty;
  EXPECT_EQ(WriteRecord(empty), std::string(ZR3Map::kSize, '\0'));
}

TEST(MapRecord, CellsOutsideTheSquareAreDroppedAndWrittenAsZeros) {
  MapFields spec = NamedMap("M", 2, 1);
  spec.At(1, 1) = {3, 0, 0};
  spec.At(0, 2) = {77, 77, 77};  // right of the square
  spec.At(2, 0) = {78, 0, 0};    // below it
  auto map = ReadOne<ZR3Map>(MapRecord(spec).Bytes());
  EXPECT_EQ(TilesUsed(DescribeLines(*map)), std::vector<std::string>{"  (Tile not found)"});
  const std::string written = WriteRecord(*map);
  EXPECT_EQ(U32At(written, CellAt(1, 1, 0)), 3u);
  EXPECT_EQ(U32At(written, CellAt(0, 2, 0)), 0u);
  EXPECT_EQ(U32At(written, CellAt(2, 0, 0)), 0u);

  MapFields none = NamedMap("Empty", 0, 2);
  none.At(0, 0) = {9, 9, 9};
  auto sizeZero = ReadOne<ZR3Map>(MapRecord(none).Bytes());
  EXPECT_EQ(DescribeLines(*sizeZero).back(), "Tiles used: ");
  EXPECT_EQ(WriteRecord(*sizeZero).substr(kMapCellsOffset, 120000), std::string(120000, '\0'));
}

TEST(MapRecord, TileTableKeepsOrderOfFirstAppearance) {
  LevelBuilder builder;
  AddTiles(builder, {NamedTile("Nine", 9), NamedTile("Three", 3), NamedTile("Five", 5)});
  MapFields map = NamedMap("M", 2, 1);
  map.At(0, 0) = {5, 3, 0};
  map.At(0, 1) = {3, 9, 5};  // file order puts (0,1) before (1,0)
  map.At(1, 0) = {0, 42, 3};
  map.At(1, 1) = {9, 9, 9};
  builder.Add(Category::Maps, MapRecord(map));
  auto level = LoadLevel(builder);
  EXPECT_EQ(TilesUsed(DescribeLines(level->At<ZR3Map>(Category::Maps, 0))),
            (std::vector<std::string>{"  Five", "  Three", "  Nine", "  (Tile not found)"}));
}

TEST(MapRecord, DescribesEveryField) {
  LevelBuilder builder;
  AddTiles(builder, {NamedTile("Grass", 0x11), NamedTile("Wall", 0x22)});
  MapFields map = NamedMap("Town", 3, 0x01020304);
  map.opaque = "\x01\xfe";
  map.At(0, 0) = {0x22, 0, 0x11};
  map.At(2, 2) = {0x0a0b0c0d, 0, 0};
  map.borders = {0x11, 0x1234, 0x22, 0x22};
  builder.Add(Category::Maps, MapRecord(map));
  auto level = LoadLevel(builder);
  EXPECT_EQ(
      DescribeLines(level->At<ZR3Map>(Category::Maps, 0)),
      (zr3::Lines{"Name: Town", "Size: 3", "Unknown: 01 fe", "Border N: 11 00 00 00 Grass",
                  "Border E: 34 12 00 00", "Border S: 22 00 00 00 Wall",
                  "Border W: 22 00 00 00 Wall", "Next Id: 00 00 00 00", "Prev Id: 00 00 00 00",
                  "Id: 04 03 02 01", "Tiles used: ", "  Wall", "  Grass", "  (Tile not found)"}));
}

TEST(MapLinking, BorderZeroMatchesTileWithIdentifierZero) {
  LevelBuilder builder;
  AddTiles(builder, {NamedTile("Zero", 0)});
  // Borders all 0, the only cell empty.
  builder.Add(Category::Maps, MapRecord(NamedMap("M", 1, 8)));
  auto level = LoadLevel(builder);
  const auto& map = level->At<ZR3Map>(Category::Maps, 0);
  const zr3::Lines lines = DescribeLines(map);
  EXPECT_EQ(lines[3], "Border N: 00 00 00 00 Zero");
  EXPECT_EQ(lines[6], "Border W: 00 00 00 00 Zero");
  EXPECT_TRUE(TilesUsed(lines).empty());  // an empty slot is not a tile
  EXPECT_TRUE(map.RefersTo(*level->List(Category::Tiles)[0]));
}

TEST(MapSave, UnresolvedBorderWrittenAsZeroWhileUnresolvedCellIsKept) {
  LevelBuilder builder;
  AddTiles(builder, {NamedTile("Grass", 5)});
  MapFields map = NamedMap("M", 4, 6);
  map.At(3, 3) = {0x5678, 5, 0};
  map.borders = {5, 0x1234, 0, 5};
  builder.Add(Category::Maps, MapRecord(map));
  auto level = LoadLevel(builder);
  const std::string saved = level->SaveToBytes();
  const std::size_t at = FirstRecordAt(builder, Category::Maps);
  const std::uint32_t grassId = U32At(saved, FirstRecordAt(builder, Category::Tiles) + 80);
  EXPECT_EQ(U32At(saved, at + CellAt(3, 3, 0)), 0x5678u);
  EXPECT_EQ(U32At(saved, at + CellAt(3, 3, 1)), grassId);
  EXPECT_EQ(U32At(saved, at + kMapBordersOffset), grassId);
  EXPECT_EQ(U32At(saved, at + kMapBordersOffset + 4), 0u);
  EXPECT_EQ(U32At(saved, at + kMapBordersOffset + 8), 0u);
  EXPECT_EQ(U32At(saved, at + kMapBordersOffset + 12), grassId);
}

TEST(MapSave, KeptCellIdentifierNeverBecomesASaveIdentifier) {
  // Save identifiers count from 1; a kept cell identifier 1 must not be given to a tile,
  // or the reload would attach the cell to it.
  LevelBuilder builder;
  AddTiles(builder, {NamedTile("A", 50), NamedTile("B", 51)});
  MapFields map = NamedMap("M", 1, 60);
  map.At(0, 0) = {1, 2, 50};
  builder.Add(Category::Maps, MapRecord(map));
  auto level = LoadLevel(builder);
  auto reloaded = LoadLevel(level->SaveToBytes());
  EXPECT_EQ(TilesUsed(DescribeLines(reloaded->At<ZR3Map>(Category::Maps, 0))),
            (std::vector<std::string>{"  (Tile not found)", "  (Tile not found)", "  A"}));
}

TEST(MapSave, LargeStoredSizeKeepsEveryCell) {
  LevelBuilder builder;
  MapFields map = NamedMap("Huge", 150, 1);
  for (std::uint32_t k = 0; k < 10000; ++k) map.cells[k] = {0x10000 + k, 0, 0x20000 + k};
  builder.Add(Category::Maps, MapRecord(map));
  const Blob built = builder.Build();
  auto level = LoadLevel(built.Bytes());
  const zr3::Lines lines = DescribeLines(level->At<ZR3Map>(Category::Maps, 0));
  EXPECT_EQ(lines[1], "Size: 150");
  EXPECT_EQ(TilesUsed(lines).size(), 20000u);
  const std::string saved = level->SaveToBytes();
  const std::size_t at = FirstRecordAt(builder, Category::Maps);
  EXPECT_EQ(U16At(saved, at + 32), 150u);
  EXPECT_EQ(saved.substr(at + kMapCellsOffset, 120000),
            built.Bytes().substr(at + kMapCellsOffset, 120000));
}

// A level of several maps decodes their cells on another thread while it reads on: each map
// keeps its own cells and its own table, resolved against the tiles read after the maps.
TEST(MapSave, ManyMapsKeepTheirOwnCells) {
  LevelBuilder builder;
  AddTiles(builder, {NamedTile("A", 50), NamedTile("B", 51), NamedTile("C", 52)});
  for (std::uint32_t m = 0; m < 6; ++m) {
    MapFields map = NamedMap("Map " + std::to_string(m), 100, 60 + m);
    for (std::uint32_t k = 0; k < 10000; ++k) {
      map.cells[k] = {50 + (k + m) % 3, k % 2 == 0 ? 0u : 0x900 + m, 50 + m % 3};
    }
    builder.Add(Category::Maps, MapRecord(map));
  }
  const Blob built = builder.Build();
  auto level = LoadLevel(built.Bytes());
  for (std::size_t m = 0; m < 6; ++m) {
    const auto& map = level->At<ZR3Map>(Category::Maps, m);
    const std::vector<std::string> first = {"  A", "  B", "  C"};
    const std::vector<std::string> tiles = TilesUsed(DescribeLines(map));
    ASSERT_EQ(tiles.size(), 4u) << m;
    // In order of first appearance: cell 0 holds tile m, cell 1 tile m + 1 and the
    // unknown identifier, cell 2 tile m + 2.
    EXPECT_EQ(tiles[0], first[m % 3]) << m;
    EXPECT_EQ(tiles[1], first[(m + 1) % 3]) << m;
    EXPECT_EQ(tiles[2], "  (Tile not found)") << m;
    EXPECT_EQ(tiles[3], first[(m + 2) % 3]) << m;
  }
  const std::string saved = level->SaveToBytes();
  const std::size_t at = FirstRecordAt(builder, Category::Maps);
  for (std::size_t m = 0; m < 6; ++m) {
    const std::size_t cells = at + m * ZR3Map::kSize + kMapCellsOffset;
    EXPECT_EQ(U32At(saved, cells + 12 * 7 + 4), 0x900 + m) << m;  // kept, never a tile
    EXPECT_EQ(U32At(saved, cells + 12 * 6 + 4), 0u) << m;
  }
}

TEST(MapCopy, CopyHasTheSameContentAndSharesTheTiles) {
  LevelBuilder builder;
  AddTiles(builder, {NamedTile("Grass", 5)});
  MapFields map = NamedMap("Town", 2, 12);
  map.opaque = "\x07\x08";
  map.At(1, 0) = {5, 6, 0};
  map.borders = {5, 0, 0, 9};
  builder.Add(Category::Maps, MapRecord(map));
  auto level = LoadLevel(builder);
  auto& original = level->At<ZR3Map>(Category::Maps, 0);
  ZR3Map copy;
  original.CopyTo(copy);
  EXPECT_EQ(DescribeLines(copy), DescribeLines(original));
  EXPECT_TRUE(copy.RefersTo(*level->List(Category::Tiles)[0]));
  EXPECT_EQ(WriteRecord(copy), WriteRecord(original));
}

TEST(TileRecord, PathStoredOnlyWithGraphicIdentifier) {
  const std::string tail = "following record";
  std::size_t consumed = 0;
  auto plain = ReadOne<ZR3Tile>(TileRecord(NamedTile("Plain", 1)).Bytes() + tail, &consumed);
  EXPECT_EQ(consumed, 84u);
  EXPECT_EQ(WriteRecord(*plain).size(), 84u);
  EXPECT_EQ(DescribeLines(*plain).back(), "Image path: ");

  TileFields spec = NamedTile("Own", 2);
  spec.gfxId = 3;
  auto own = ReadOne<ZR3Tile>(TileRecord(spec).Bytes() + tail, &consumed);
  EXPECT_EQ(consumed, 164u);
  const std::string written = WriteRecord(*own);
  ASSERT_EQ(written.size(), 164u);
  EXPECT_EQ(written.substr(84), std::string(80, '\0'));

  ZR3Tile copy;
  own->CopyTo(copy);
  EXPECT_EQ(WriteRecord(copy), written);
}

TEST(TileRecord, DescribesEveryField) {
  TileFields spec = NamedTile("Wall", 0xa1b2c3d4);
  spec.gfxId = 0x0102;
  spec.opaque = std::string(31, '\0') + "\xff";
  spec.layer = 200;
  spec.opaqueAfterLayer = "\x01\x02\x03";
  spec.nextId = 7;
  spec.path = "tiles\\wall.bmp";
  std::string unknown = "Unknown:";
  for (int i = 0; i < 31; ++i) unknown += " 00";
  unknown += " ff";
  EXPECT_EQ(DescribeLines(*ReadOne<ZR3Tile>(TileRecord(spec).Bytes())),
            (zr3::Lines{"Name: Wall", "GFX Id: 02 01 00 00", unknown, "Layer: 200",
                        "Unknown: 01 02 03", "Next Id: 07 00 00 00", "Prev Id: 00 00 00 00",
                        "Id: d4 c3 b2 a1", "Image path: tiles\\wall.bmp"}));
}

TEST(MapTileLevel, RoundTripKeepsEveryByteModuloIdentifiers) {
  LevelBuilder builder;
  // Names and paths carry bytes 0x80-0xFF and control characters, kept as they are.
  std::vector<TileFields> tiles = {NamedTile("Gr\xe4s\x01", 100),
                                   NamedTile(std::string(32, 'T'), 101), NamedTile("Water", 102)};
  tiles[0].gfxId = 4;
  tiles[0].layer = 1;
  tiles[0].path = "p\xff\r\nth";
  tiles[1].opaque = std::string(32, '\x5a');
  tiles[2].gfxId = 0xffffffff;
  tiles[2].opaqueAfterLayer = "\x09\x08\x07";
  tiles[2].path = std::string(80, '\x80');
  AddTiles(builder, tiles);

  std::vector<MapFields> maps = {NamedMap("First", 3, 200), NamedMap("Second\xc0", 100, 201)};
  maps[0].opaque = "\x10\x20";
  maps[0].At(0, 0) = {100, 101, 102};
  maps[0].At(2, 1) = {102, 0, 4242};  // 4242 matches no tile and is kept
  maps[0].borders = {100, 101, 102, 100};
  maps[1].At(99, 99) = {101, 0, 0};
  ChainIds(maps);
  for (const MapFields& map : maps) builder.Add(Category::Maps, MapRecord(map));

  std::vector<GraphicFields> graphics = {NamedGraphic("Sky", 1, 300),
                                         NamedGraphic("Ground", 0, 301)};
  graphics[0].path = "sky";
  ChainIds(graphics);
  for (const GraphicFields& graphic : graphics) {
    builder.Add(Category::Graphics, GraphicRecord(graphic));
  }

  std::vector<ObjectFields> objects = {NamedObject("Chest", 201), NamedObject("Lost", 777)};
  objects[0].x = 12;
  objects[0].y = 7;
  objects[0].opaque = "\x01\x02";
  objects[0].gfxId = 9;
  objects[0].id = 400;
  objects[0].path = "chest\xa0";
  objects[1].id = 401;
  ChainIds(objects);
  for (const ObjectFields& object : objects) builder.Add(Category::Objects, ObjectRecord(object));

  builder.info.backgroundId = 300;
  builder.info.combatScreenId = 999;
  const Blob built = builder.Build();
  auto level = LoadLevel(built.Bytes());
  EXPECT_TRUE(SameModuloIds(built, level->SaveToBytes()));
}

// Painting and resizing keep the map as a reload of its save would have it: the cells in the
// file, and the tile table in order of first appearance.
TEST(MapEdit, CellsAndSizeSetInMemoryMatchAReloadOfTheSave) {
  LevelBuilder builder;
  AddTiles(builder, {NamedTile("Nine", 9), NamedTile("Three", 3), NamedTile("Five", 5)});
  MapFields map = NamedMap("M", 2, 1);
  map.At(0, 0) = {5, 3, 0};
  map.At(1, 1) = {0, 42, 9};
  builder.Add(Category::Maps, MapRecord(map));
  auto level = LoadLevel(builder);
  auto& edited = level->At<ZR3Map>(Category::Maps, 0);
  zr3::ZR3ChainRecord* nine = &level->At<zr3::ZR3ChainRecord>(Category::Tiles, 0);

  edited.SetCellTile(0, 0, 0, nine);     // Five is used nowhere else now
  edited.SetCellTile(0, 1, 2, nullptr);  // stays empty
  edited.SetField(*level, "size", "3");
  edited.SetCellTile(2, 2, 1, nine);
  EXPECT_EQ(edited.CellTile(0, 0, 0), nine);
  EXPECT_EQ(edited.CellTileId(1, 1, 1), 42u);
  EXPECT_EQ(edited.CellTile(1, 1, 1), nullptr);
  EXPECT_EQ(TilesUsed(DescribeLines(edited)),
            (std::vector<std::string>{"  Nine", "  Three", "  (Tile not found)"}));

  const std::string saved = level->SaveToBytes();
  auto reloaded = LoadLevel(saved);
  EXPECT_EQ(DescribeLines(reloaded->At<ZR3Map>(Category::Maps, 0)), DescribeLines(edited));
  EXPECT_EQ(saved.substr(CellAt(2, 2, 1), 4), saved.substr(CellAt(0, 0, 0), 4));

  edited.SetField(*level, "size", "1");
  EXPECT_EQ(TilesUsed(DescribeLines(edited)), (std::vector<std::string>{"  Nine", "  Three"}));
  EXPECT_THROW(edited.CellTile(1, 0, 0), std::out_of_range);
}
