// Writes the demo level that the README's run command opens, and the pictures it names beside
// it.
#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <iostream>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "support/chain_ids.h"
#include "support/character_builder.h"
#include "support/graphic_builder.h"
#include "support/item_builder.h"
#include "support/level_builder.h"
#include "support/list_builder.h"
#include "support/map_builder.h"
#include "support/monster_builder.h"
#include "support/object_builder.h"
#include "support/palette_builder.h"
#include "support/script_builder.h"
#include "support/shop_builder.h"
#include "support/song_builder.h"
#include "support/spell_builder.h"
#include "support/text_builder.h"
#include "support/tile_builder.h"

namespace {

using zr3::Category;

// Identifiers that records of other lists name.
constexpr std::uint32_t kGrassTileId = 101;
constexpr std::uint32_t kPaletteId = 501;
constexpr std::uint32_t kSwordId = 601;
constexpr std::uint32_t kArmorId = 602;
constexpr std::uint32_t kHerbId = 603;
constexpr std::uint32_t kKeyId = 604;
constexpr std::uint32_t kSparkId = 701;
constexpr std::uint32_t kMendId = 702;
// Object scripts are numbered from 1200 in AddScripts.
constexpr std::uint32_t kTownDoorScriptId = 1200;
constexpr std::uint32_t kWolfDenScriptId = 1201;
constexpr std::uint32_t kWellScriptId = 1202;

using Rgb = std::array<std::uint8_t, 3>;
constexpr Rgb kClear = {255, 0, 255};

// A picture of width x height pixels, row by row from the top, red, green and blue. Magenta
// is the transparent colour of the editor's drawing.
struct Picture {
  static constexpr int kTileSide = 16;
  Picture(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w * h)) {}
  int width;
  int height;
  std::vector<Rgb> pixels;
  Rgb& At(int x, int y) { return pixels[static_cast<std::size_t>(y * width + x)]; }
  const Rgb& At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

// A fixed scatter of values 0 to 99 over the pixels, so that the pictures are the same at
// every run.
int Noise(int x, int y, int seed) {
  const unsigned mixed = static_cast<unsigned>(x) * 73856093u ^
                         static_cast<unsigned>(y) * 19349663u ^
                         static_cast<unsigned>(seed) * 83492791u;
  return static_cast<int>((mixed ^ (mixed >> 13)) % 100u);
}

Picture Draw(int width, int height, const std::function<Rgb(int x, int y)>& colourAt) {
  Picture picture(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) picture.At(x, y) = colourAt(x, y);
  }
  return picture;
}

Picture DrawTile(const std::function<Rgb(int x, int y)>& colourAt) {
  return Draw(Picture::kTileSide, Picture::kTileSide, colourAt);
}

// A picture from rows of equal length, each character a colour of the key; '.' is
// transparent.
Picture Sprite(std::initializer_list<std::string_view> rows, const std::map<char, Rgb>& key) {
  const int width = static_cast<int>(rows.begin()->size());
  Picture picture(width, static_cast<int>(rows.size()));
  int y = 0;
  for (std::string_view row : rows) {
    if (static_cast<int>(row.size()) != width) throw std::logic_error("uneven sprite rows");
    for (int x = 0; x < width; ++x) {
      const char c = row[static_cast<std::size_t>(x)];
      picture.At(x, y) = c == '.' ? kClear : key.at(c);
    }
    ++y;
  }
  return picture;
}

// Writes a 24-bit BMP: a 14-byte file header, a 40-byte information header, then the rows
// from the bottom, each padded to four bytes.
void WriteBmp(const std::filesystem::path& path, const Picture& picture) {
  const auto width = static_cast<std::uint32_t>(picture.width);
  const auto height = static_cast<std::uint32_t>(picture.height);
  const std::uint32_t rowBytes = (width * 3 + 3) / 4 * 4;
  const std::uint32_t dataBytes = rowBytes * height;
  std::string bytes;
  auto u16 = [&bytes](std::uint32_t v) {
    bytes += static_cast<char>(v & 0xFF);
    bytes += static_cast<char>((v >> 8) & 0xFF);
  };
  auto u32 = [&u16](std::uint32_t v) {
    u16(v & 0xFFFF);
    u16(v >> 16);
  };
  bytes += "BM";
  u32(54 + dataBytes);
  u32(0);
  u32(54);
  u32(40);
  u32(width);
  u32(height);
  u16(1);
  u16(24);
  u32(0);
  u32(dataBytes);
  u32(2835);
  u32(2835);
  u32(0);
  u32(0);
  for (int y = picture.height - 1; y >= 0; --y) {
    for (int x = 0; x < picture.width; ++x) {
      const Rgb& rgb = picture.At(x, y);
      bytes += static_cast<char>(rgb[2]);
      bytes += static_cast<char>(rgb[1]);
      bytes += static_cast<char>(rgb[0]);
    }
    bytes.append(rowBytes - width * 3, '\0');
  }
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out.flush()) throw std::runtime_error("Cannot write " + path.string());
}

// Writes the picture a record names by its game path under folder. The file is written in
// lower case, as game folders often differ in case from the paths their levels hold.
void WritePicture(const std::filesystem::path& folder, std::string gamePath,
                  const Picture& picture) {
  std::replace(gamePath.begin(), gamePath.end(), '\\', '/');
  std::transform(gamePath.begin(), gamePath.end(), gamePath.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  WriteBmp(folder / gamePath, picture);
}

// Base with a little texture: some pixels lighter, some darker.
Rgb Speckled(Rgb base, int x, int y, int seed) {
  const int n = Noise(x, y, seed);
  const int shift = n < 15 ? -30 : n > 88 ? 25 : 0;
  for (std::uint8_t& c : base) c = static_cast<std::uint8_t>(std::clamp(c + shift, 0, 255));
  return base;
}

struct DemoTile {
  const char* name;
  std::uint32_t id;
  std::uint8_t layer;
  // As the tile record names it.
  const char* path;
  Rgb (*colourAt)(int x, int y);
};

const DemoTile kDemoTiles[] = {
    {"Grass", 101, 0, "tiles\\grass.bmp",
     [](int x, int y) {
       return Speckled({70, 150, 60}, x, y, 1);
     }},
    {"Wall", 102, 1, "tiles\\wall.bmp",
     [](int x, int y) {
       // Bricks of 8 x 4 pixels, every other course shifted by half a brick.
       const bool mortar = y % 4 == 3 || (x + (y / 4 % 2) * 4) % 8 == 7;
       return mortar ? Rgb{190, 185, 170} : Speckled({150, 70, 50}, x, y, 2);
     }},
    {"Water", 103, 0, "tiles\\water.bmp",
     [](int x, int y) {
       const bool crest = (y + (x / 4 % 2)) % 5 == 0 && x % 4 != 3;
       return crest ? Rgb{170, 210, 250} : Rgb{40, 90, 190};
     }},
    {"Path", 104, 0, "tiles\\path.bmp",
     [](int x, int y) {
       return Noise(x, y, 4) < 8 ? Rgb{120, 115, 105} : Speckled({180, 145, 95}, x, y, 5);
     }},
    {"Floor", 105, 0, "tiles\\floor.bmp",
     [](int x, int y) {
       // Planks four pixels wide with their joints staggered.
       const bool joint = x % 4 == 3 || (y + x / 4 * 5) % 16 == 0;
       return joint ? Rgb{90, 60, 30} : Rgb{175, 125, 70};
     }},
    {"Sand", 106, 0, "tiles\\sand.bmp",
     [](int x, int y) {
       return Speckled({225, 205, 140}, x, y, 6);
     }},
    {"Tree", 107, 1, "tiles\\tree.bmp",
     [](int x, int y) {
       const int dx = x - 8;
       const int dy = y - 6;
       if (dx * dx + dy * dy <= 36) return Speckled({30, 110, 40}, x, y, 7);
       if (y > 10 && x >= 7 && x <= 8) return Rgb{100, 65, 30};
       return kClear;
     }},
    {"Fence", 108, 1, "tiles\\fence.bmp",
     [](int x, int y) {
       const bool post = (x % 8 == 1 || x % 8 == 2) && y >= 3 && y <= 14;
       const bool rail = y == 6 || y == 11;
       return post || rail ? Rgb{205, 185, 150} : kClear;
     }},
    {"Roof", 109, 2, "TILES\\Roof.bmp",
     [](int x, int y) {
       // Rows of round tiles.
       const int dx = (x + (y / 4 % 2) * 2) % 4 - 2;
       const bool edge = y % 4 == 3 || dx * dx + (y % 4) * (y % 4) > 6;
       return edge ? Rgb{110, 30, 25} : Rgb{190, 60, 45};
     }},
    {"Flowers", 110, 2, "tiles\\flowers.bmp",
     [](int x, int y) {
       // Three blossoms, each a centre with four petals.
       static constexpr int kCentres[3][2] = {{4, 4}, {11, 7}, {5, 12}};
       for (int i = 0; i < 3; ++i) {
         const int dx = x - kCentres[i][0];
         const int dy = y - kCentres[i][1];
         if (dx == 0 && dy == 0) return Rgb{250, 220, 60};
         if (std::abs(dx) + std::abs(dy) == 1) {
           return i == 1 ? Rgb{250, 250, 250} : Rgb{230, 80, 160};
         }
       }
       return kClear;
     }},
    {"Lamp", 111, 2, "tiles\\lamp.bmp",
     [](int x, int y) {
       if (y >= 2 && y <= 5 && x >= 6 && x <= 9) return Rgb{255, 230, 120};
       if (y >= 6 && y <= 14 && x >= 7 && x <= 8) return Rgb{50, 50, 60};
       if (y == 15 && x >= 5 && x <= 10) return Rgb{50, 50, 60};
       return kClear;
     }},
};

constexpr std::uint32_t kWallId = 102, kWaterId = 103, kPathId = 104, kFloorId = 105, kSandId = 106,
                        kTreeId = 107, kFenceId = 108, kRoofId = 109, kFlowersId = 110,
                        kLampId = 111;

// The tiles, with their pictures written under folder.
void AddTiles(zr3test::LevelBuilder& level, const std::filesystem::path& folder) {
  std::vector<zr3test::TileFields> tiles;
  for (const DemoTile& demo : kDemoTiles) {
    zr3test::TileFields tile = zr3test::NamedTile(demo.name, demo.id);
    tile.gfxId = demo.id - 100;
    tile.layer = demo.layer;
    tile.path = demo.path;
    tiles.push_back(tile);
    WritePicture(folder, demo.path, DrawTile(demo.colourAt));
  }
  zr3test::ChainIds(tiles);
  for (const zr3test::TileFields& tile : tiles)
    level.Add(Category::Tiles, zr3test::TileRecord(tile));
}

// The well on the town map: a roof on two posts over a bucket on its rope, and the stone rim.
Picture WellPicture() {
  return Sprite({"................",  //
                 "...rrrrrrrrrr...",  //
                 "..rrrrrrrrrrrr..",  //
                 ".rRRRRRRRRRRRRr.",  //
                 "...p........p...",  //
                 "...p...c....p...",  //
                 "...p...c....p...",  //
                 "...p..ggg...p...",  //
                 "...p..ggg...p...",  //
                 ".mmmmmmmmmmmmmm.",  //
                 ".sssmsssmsssmss.",  //
                 ".mmmmmmmmmmmmmm.",  //
                 ".smsssmsssmsssm.",  //
                 ".mmmmmmmmmmmmmm.",  //
                 ".sssmsssmsssmss.",  //
                 "................"},
                {{'r', {150, 60, 40}},
                 {'R', {110, 40, 30}},
                 {'p', {120, 80, 40}},
                 {'c', {210, 190, 140}},
                 {'g', {90, 90, 100}},
                 {'m', {90, 90, 95}},
                 {'s', {160, 160, 165}}});
}

// The grey wolf, facing right: pricked ears, a yellow eye, a pale belly and four legs.
Picture WolfPicture() {
  return Sprite(
      {"................",  //
       "...........#.#..",  //
       "...........###..",  //
       "..........#####.",  //
       "..........#o####",  //
       "..........#####k",  //
       "#.......#####...",  //
       ".#..##########..",  //
       "..############..",  //
       "..############..",  //
       "..##wwwwwwww##..",  //
       "..##........##..",  //
       "..#.#......#.#..",  //
       "..#.#......#.#..",  //
       ".##.##....##.##.",  //
       "................"},
      {{'#', {115, 115, 125}}, {'w', {195, 195, 200}}, {'o', {240, 200, 40}}, {'k', {25, 25, 25}}});
}

// The hero's figure: brown hair, a blue tunic with a belt, brown trousers and dark boots.
const std::map<char, Rgb> kHeroColours = {
    {'h', {110, 70, 30}},  {'s', {235, 190, 150}}, {'e', {20, 20, 40}}, {'b', {50, 90, 190}},
    {'y', {230, 190, 50}}, {'l', {100, 70, 45}},   {'k', {45, 35, 30}}};

// Seen from behind, walking north.
Picture HeroNorthPicture() {
  return Sprite({"................",  //
                 "......hhhh......",  //
                 ".....hhhhhh.....",  //
                 ".....hhhhhh.....",  //
                 ".....hhhhhh.....",  //
                 ".....shhhhs.....",  //
                 "......ssss......",  //
                 "....bbbbbbbb....",  //
                 "...bbbbbbbbbb...",  //
                 "...bbbbbbbbbb...",  //
                 "...sbbbbbbbbs...",  //
                 ".....bbbbbb.....",  //
                 ".....ll..ll.....",  //
                 ".....ll..ll.....",  //
                 "....kkk..kkk....",  //
                 "................"},
                kHeroColours);
}

// From the side, walking east: one eye, the nose, the hand in front and the legs in stride.
Picture HeroEastPicture() {
  return Sprite({"................",  //
                 ".....hhhh.......",  //
                 "....hhhhhh......",  //
                 "....hhhsss......",  //
                 "....hhsses......",  //
                 "....hssssss.....",  //
                 ".....sss........",  //
                 ".....bbbb.......",  //
                 "....bbbbbb......",  //
                 "....bbbbbb......",  //
                 "....bbyybs......",  //
                 ".....bbbb.......",  //
                 ".....ll.ll......",  //
                 "....ll...ll.....",  //
                 "...kkk...kkk....",  //
                 "................"},
                kHeroColours);
}

// From the front, walking south: the face with both eyes and the belt's buckle.
Picture HeroSouthPicture() {
  return Sprite({"................",  //
                 "......hhhh......",  //
                 ".....hhhhhh.....",  //
                 ".....hssssh.....",  //
                 ".....sesses.....",  //
                 ".....ssssss.....",  //
                 "......ssss......",  //
                 "....bbbbbbbb....",  //
                 "...bbbbbbbbbb...",  //
                 "...bbbbbbbbbb...",  //
                 "...sbbbyybbbs...",  //
                 ".....bbbbbb.....",  //
                 ".....ll..ll.....",  //
                 ".....ll..ll.....",  //
                 "....kkk..kkk....",  //
                 "................"},
                kHeroColours);
}

// The screens are larger than a tile: 64 x 48 pixels.
constexpr int kScreenWidth = 64;
constexpr int kScreenHeight = 48;

// The title screen: an evening sky over green hills with the sun setting, and a dark banner
// with a golden "H" for Hollowtree.
Picture TitlePicture() {
  return Draw(kScreenWidth, kScreenHeight, [](int x, int y) -> Rgb {
    const bool banner = y >= 8 && y <= 24 && x >= 20 && x <= 43;
    if (banner) {
      const bool letter = y >= 11 && y <= 21 &&
                          ((x >= 26 && x <= 28) || (x >= 35 && x <= 37) ||
                           (y >= 15 && y <= 17 && x > 28 && x < 35));
      const bool rim = y == 8 || y == 24 || x == 20 || x == 43;
      return letter ? Rgb{240, 200, 60} : rim ? Rgb{200, 160, 60} : Rgb{50, 30, 60};
    }
    const int hill = 36 - (x % 32 < 16 ? x % 16 : 16 - x % 16) / 3;
    if (y >= hill) return Speckled({60, 130, 50}, x, y, 20);
    const int dx = x - 52;
    const int dy = y - 27;
    if (dx * dx + dy * dy <= 25) return {250, 180, 70};
    const auto fade = static_cast<std::uint8_t>(y * 3);
    return {static_cast<std::uint8_t>(60 + fade), 70, static_cast<std::uint8_t>(150 - y)};
  });
}

// The combat screen: a red sky over a flagstone arena, two crossed swords in the middle.
Picture CombatPicture() {
  return Draw(kScreenWidth, kScreenHeight, [](int x, int y) -> Rgb {
    // The blades run corner to corner of a 24-pixel square; the hilts end them at the bottom.
    const int bx = x - 20;
    const int by = y - 8;
    if (bx >= 0 && bx < 24 && by >= 0 && by < 24) {
      const bool blade = std::abs(bx - by) <= 1 || std::abs(bx + by - 23) <= 1;
      const bool guard =
          by >= 17 && by <= 18 && (std::abs(bx - by) <= 3 || std::abs(bx + by - 23) <= 3);
      if (guard) return {200, 160, 60};
      if (blade) return by >= 19 ? Rgb{110, 70, 35} : Rgb{215, 220, 230};
    }
    if (y < 28) return {static_cast<std::uint8_t>(120 + y * 4), 40, 30};
    const bool joint = y % 5 == 0 || (x + (y / 5 % 2) * 4) % 8 == 0;
    return joint ? Rgb{70, 60, 55} : Speckled({140, 125, 105}, x, y, 21);
  });
}

// The inventory screen: a wooden panel with a grid of four by three slots.
Picture InventoryPicture() {
  return Draw(kScreenWidth, kScreenHeight, [](int x, int y) -> Rgb {
    // Slots of 12 pixels with a 2-pixel gap, the grid centred on the panel.
    const int sx = x - 5;
    const int sy = y - 4;
    if (sx >= 0 && sy >= 0 && sx < 4 * 14 - 2 && sy < 3 * 14 - 2 && sx % 14 < 12 && sy % 14 < 12) {
      const bool edge = sx % 14 == 0 || sy % 14 == 0 || sx % 14 == 11 || sy % 14 == 11;
      return edge ? Rgb{200, 170, 110} : Rgb{45, 30, 20};
    }
    return (y + x / 9) % 6 == 0 ? Rgb{110, 70, 35} : Speckled({150, 100, 55}, x, y, 22);
  });
}

// The small town: grass inside a wall, with a pond in the middle.
zr3test::MapFields Town() {
  zr3test::MapFields town = zr3test::NamedMap("Hollowtree", 10, 201);
  for (int row = 0; row < 10; ++row) {
    for (int column = 0; column < 10; ++column) {
      const bool edge = row == 0 || row == 9 || column == 0 || column == 9;
      town.At(row, column) = {kGrassTileId, edge ? kWallId : 0u, 0};
    }
  }
  town.At(4, 4) = {kWaterId, 0, 0};
  town.borders = {kWallId, kWallId, kWaterId, kWallId};
  return town;
}

// The village: a wood around a meadow, two roads crossing at a square with lamps, a pond with
// a beach, a fenced field and houses with floors, walls and roofs.
zr3test::MapFields Village() {
  constexpr int kSide = 48;
  zr3test::MapFields village = zr3test::NamedMap("Hollowtree Village", kSide, 202);
  auto cell = [&village](int row, int column) -> zr3test::MapFields::Cell& {
    return village.At(row, column);
  };
  for (int row = 0; row < kSide; ++row) {
    for (int column = 0; column < kSide; ++column) {
      const int edge = std::min({row, column, kSide - 1 - row, kSide - 1 - column});
      // The wood thins out towards the meadow.
      const bool wood = edge < 2 || (edge < 4 && Noise(column, row, 11) < 45);
      const bool flowers = !wood && Noise(column, row, 12) < 6;
      cell(row, column) = {kGrassTileId, wood ? kTreeId : 0u, flowers ? kFlowersId : 0u};
    }
  }
  // The roads, two cells wide, from the wood's edge on every side.
  for (int n = 2; n < kSide - 2; ++n) {
    for (int w : {23, 24}) {
      cell(w, n) = {kPathId, 0, 0};
      cell(n, w) = {kPathId, 0, 0};
    }
  }
  for (int row : {21, 26}) {
    for (int column : {21, 26}) cell(row, column)[2] = kLampId;
  }
  // The pond with its beach, in the north-east.
  for (int row = 4; row < 20; ++row) {
    for (int column = 28; column < 44; ++column) {
      const int dr = row - 11;
      const int dc = column - 36;
      const int distance = dr * dr + dc * dc;
      if (distance <= 20)
        cell(row, column) = {kWaterId, 0, 0};
      else if (distance <= 34)
        cell(row, column) = {kSandId, 0, 0};
    }
  }
  // The fenced field, in the south-east, with flowers in rows.
  for (int row = 30; row <= 42; ++row) {
    for (int column = 30; column <= 42; ++column) {
      const bool rim = row == 30 || row == 42 || column == 30 || column == 42;
      cell(row, column) = {kGrassTileId, rim ? kFenceId : 0u,
                           !rim && row % 3 == 0 ? kFlowersId : 0u};
    }
  }
  cell(36, 30)[1] = 0;  // the gate
  // Houses: a floor inside walls with a door towards the road, the roof over the northern
  // half.
  struct House {
    int top, left, height, width, doorRow, doorColumn;
  };
  const House houses[] = {{5, 6, 6, 8, 10, 10},   {13, 4, 6, 7, 16, 10},  {28, 5, 7, 9, 34, 9},
                          {37, 12, 6, 7, 42, 15}, {27, 15, 5, 6, 29, 20}, {5, 15, 5, 6, 9, 17}};
  for (const House& house : houses) {
    for (int row = house.top; row < house.top + house.height; ++row) {
      for (int column = house.left; column < house.left + house.width; ++column) {
        const bool wall = row == house.top || row == house.top + house.height - 1 ||
                          column == house.left || column == house.left + house.width - 1;
        const bool door = row == house.doorRow && column == house.doorColumn;
        const bool roof = row < house.top + house.height / 2;
        cell(row, column) = {kFloorId, wall && !door ? kWallId : 0u, roof ? kRoofId : 0u};
      }
    }
  }
  village.borders = {kTreeId, kWaterId, kTreeId, kTreeId};
  return village;
}

// The tiles and maps, one object on the town map, and the level's screens, with their
// pictures written under folder.
void AddTown(zr3test::LevelBuilder& level, const std::filesystem::path& folder) {
  AddTiles(level, folder);
  std::vector<zr3test::MapFields> maps = {Town(), Village()};
  zr3test::ChainIds(maps);
  for (const zr3test::MapFields& map : maps) level.Add(Category::Maps, zr3test::MapRecord(map));

  zr3test::ObjectFields well = zr3test::NamedObject("Well", 201);
  well.x = 4;
  well.y = 5;
  well.id = 301;
  well.path = "objects\\well.bmp";
  WritePicture(folder, well.path, WellPicture());
  well.scriptIds[0] = kWellScriptId;
  well.scriptIds[1] = kWolfDenScriptId;
  level.Add(Category::Objects, zr3test::ObjectRecord(well));

  std::vector<zr3test::GraphicFields> graphics = {zr3test::NamedGraphic("Title Screen", 1, 401),
                                                  zr3test::NamedGraphic("Combat Backdrop", 1, 402),
                                                  zr3test::NamedGraphic("Inventory Panel", 1, 403)};
  graphics[0].path = "gfx\\title.bmp";
  graphics[1].path = "gfx\\combat.bmp";
  graphics[2].path = "gfx\\inventory.bmp";
  WritePicture(folder, graphics[0].path, TitlePicture());
  WritePicture(folder, graphics[1].path, CombatPicture());
  WritePicture(folder, graphics[2].path, InventoryPicture());
  zr3test::ChainIds(graphics);
  for (const zr3test::GraphicFields& graphic : graphics) {
    level.Add(Category::Graphics, zr3test::GraphicRecord(graphic));
  }
  level.info.backgroundId = 401;
  level.info.combatScreenId = 402;
  level.info.inventoryScreenId = 403;
}

using zr3test::ScriptFields;
using zr3test::ScriptWith;

// Scripts of every kind. Records of other lists are named by position 0 or 1.
void AddScripts(zr3test::LevelBuilder& level) {
  std::vector<ScriptFields> global = {
      ScriptWith("Mayor greets", {{1, {0, 2, 0, 0}}, {2, {0, 0, 0, 0, 5, 0, 3}}, {8, {1, 0, 0, 8}}},
                 {{107, {0, 15, -1, 0, 0, 0, 1}},
                  {101, {2, 0, 0, 1}},
                  {104, {0, 0}},
                  {110, {-1}},
                  {120, {}}}),
      ScriptWith("Night falls", {{8, {1, 0, 0, 20}}, {9, {0}}, {7, {1}}},
                 {{116, {0}}, {121, {0, 1}}, {122, {0}}, {123, {}}}),
  };
  std::vector<ScriptFields> death = {
      ScriptWith("Fallen hero", {{0, {}}},
                 {{103, {3, 2, 1, 6}}, {102, {0, 0, 0, 1, 0, 1}}, {115, {}}}),
  };
  std::vector<ScriptFields> object = {
      ScriptWith("Town door", {{4, {0, 0}}, {1, {1, 0, 0, 0}}},
                 {{101, {2, 1, 0, 1}}, {113, {0, 1, 0, 3, 4}}, {109, {0}}, {100, {}}}),
      ScriptWith("Wolf den", {{3, {5, 0, 2, 10}}, {11, {3, 2, 0, 7, 1, 0}}},
                 {{119, {0, 0}}, {114, {0, 1, 2, 3}}, {132, {2}}, {128, {}}}),
      ScriptWith("Well", {{12, {1, 0}}, {13, {0, 0}}, {5, {0, 0}}, {6, {1, 0}}},
                 {{111, {0}},
                  {124, {0, 3, 0, 0, 40}},
                  {125, {0, 0, 0, 0, 6, 0, 6}},
                  {126, {0, 0, 3, 2, 0, 1, 0, 1}},
                  {131, {0, 1}},
                  {133, {0, 0}},
                  {134, {0, 0, 0, 2, 0, 2, 1}},
                  {129, {0, 7, -1}},
                  {118, {0}},
                  {130, {0}}}),
  };
  std::vector<ScriptFields> startup = {
      ScriptWith("Opening", {{0, {}}},
                 {{105, {0}},
                  {106, {0, -1}},
                  {112, {0, 0, 0, 4, 4}},
                  {117, {0, 0, -1}},
                  {127, {}},
                  {110, {500}}}),
  };

  std::uint32_t id = 1000;
  auto add = [&](Category category, std::vector<ScriptFields>& scripts) {
    zr3test::ChainIds(scripts, id);
    id += 100;
    for (const ScriptFields& script : scripts) level.Add(category, zr3test::ScriptBlob(script));
  };
  add(Category::GlobalScripts, global);
  add(Category::DeathScripts, death);
  add(Category::ObjectScripts, object);
  add(Category::StartupScripts, startup);
}

// Things to carry, magic to learn, a shop to buy them in and a monster to fight, with the
// monster's picture written under folder.
void AddGoodsAndFoes(zr3test::LevelBuilder& level, const std::filesystem::path& folder) {
  std::vector<zr3test::ItemFields> items(4);
  items[0].name = "Short Sword";
  items[0].type = 0;
  items[0].cost = 30;
  items[0].parameters = {2, 6, 0, 0};
  items[1].name = "Leather Armor";
  items[1].type = 1;
  items[1].cost = 25;
  items[1].parameters = {3, 0, 0, 0};
  items[1].groups = {0, -1};
  items[1].modifiers = {2, 0};
  items[2].name = "Healing Herb";
  items[2].type = 4;
  items[2].cost = 5;
  items[2].parameters = {0, 10, 20, 1};
  items[3].name = "Well Key";
  items[3].type = 3;
  items[3].cost = 1;
  items[3].parameters = {2, 1, 0, 0};  // runs the object script at position 2, "Well"
  zr3test::ChainIds(items, kSwordId);
  for (const zr3test::ItemFields& item : items) level.Add(Category::Items, zr3test::ItemBlob(item));

  std::vector<zr3test::SpellFields> spells(3);
  spells[0].name = "Spark";
  spells[0].minSp = 2;
  spells[0].spCost = 3;
  spells[0].mastery = 1;
  spells[0].type = 0;
  spells[0].parameters = {4, 9, 0, 0};
  spells[1].name = "Mend";
  spells[1].minSp = 4;
  spells[1].spCost = 5;
  spells[1].mastery = 2;
  spells[1].learnId = kSparkId;
  spells[1].type = 4;
  spells[1].parameters = {4, 9, 0, 0};
  spells[1].groups = {0, -1};
  spells[1].modifiers = {-1, 0};
  spells[2].name = "Call of the Well";
  spells[2].spCost = 1;
  spells[2].type = 5;
  spells[2].parameters = {2, 0, 0, 0};
  zr3test::ChainIds(spells, kSparkId);
  for (const zr3test::SpellFields& spell : spells) {
    level.Add(Category::Spells, zr3test::SpellBlob(spell));
  }

  zr3test::ShopFields store;
  store.name = "General Store";
  store.items = {kSwordId, kArmorId, kHerbId};
  store.buyback = 50;
  store.markup = 120;
  store.id = 801;
  level.Add(Category::Shops, zr3test::ShopRecord(store));

  zr3test::MonsterFields wolf;
  wolf.name = "Grey Wolf";
  wolf.gfxId = 12;
  wolf.level = 2;
  wolf.maxHp = wolf.hp = 18;
  wolf.str = 6;
  wolf.dex = 9;
  wolf.experience = 40;
  wolf.gold = 3;
  wolf.type = 1;
  wolf.build = 3;
  wolf.attackStyle = 2;
  wolf.group1 = 1;
  wolf.group2 = -1;
  wolf.items = {kHerbId};
  wolf.spells = {kSparkId};
  wolf.preScripts = {kWolfDenScriptId};
  wolf.postScripts = {kTownDoorScriptId};
  wolf.tiles = {kGrassTileId};
  wolf.id = 901;
  wolf.imagePath = "monsters\\wolf.bmp";
  WritePicture(folder, wolf.imagePath, WolfPicture());
  level.Add(Category::Monsters, zr3test::MonsterRecord(wolf));
}

// The level's palette, a sign's text, a song, the hero's character set (its pictures written
// under folder) and a menu.
void AddPresentation(zr3test::LevelBuilder& level, const std::filesystem::path& folder) {
  zr3test::PaletteFields daylight;
  daylight.name = "Daylight";
  for (std::size_t i = 0; i < 256; ++i) {
    daylight.colours[3 * i] = static_cast<char>(i);
    daylight.colours[3 * i + 1] = static_cast<char>(i / 2);
    daylight.colours[3 * i + 2] = static_cast<char>(255 - i);
  }
  daylight.id = kPaletteId;
  level.Add(Category::Palettes, zr3test::PaletteBlob(daylight));
  level.info.paletteId = kPaletteId;

  zr3test::TextFields sign;
  sign.name = "Town sign";
  sign.text = "Welcome to Hollowtree!";
  level.Add(Category::Texts, zr3test::TextBlob(sign));

  zr3test::SongFields theme;
  theme.name = "Town theme";
  for (std::size_t i = 0; i < 64; ++i) theme.data[i] = static_cast<char>(i * 7 + 1);
  theme.id = 1501;
  level.Add(Category::Songs, zr3test::SongBlob(theme));

  zr3test::CharacterFields hero;
  hero.name = "Hero";
  hero.imageIds = {1, 2, 0, 3, 0, 0, 0, 0};
  hero.imagePaths = {"chars\\hero_n.bmp", "chars\\hero_e.bmp", "", "chars\\hero_s.bmp"};
  WritePicture(folder, hero.imagePaths[0], HeroNorthPicture());
  WritePicture(folder, hero.imagePaths[1], HeroEastPicture());
  WritePicture(folder, hero.imagePaths[3], HeroSouthPicture());
  hero.id = 1601;
  level.Add(Category::Characters, zr3test::CharacterBlob(hero));

  zr3test::ListFields menu;
  menu.name = "Well menu";
  menu.optionTexts = {"Drink", "Look down", "Leave"};
  menu.resultIds = {kWellScriptId, kWolfDenScriptId, kTownDoorScriptId};
  menu.count = 3;
  menu.id = 1701;
  level.Add(Category::Lists, zr3test::ListBlob(menu));
}

zr3test::LevelBuilder DemoLevel(const std::filesystem::path& folder) {
  zr3test::LevelBuilder level;
  level.info.name = "Hollowtree Demo";
  level.info.author = "ZR3Tool developers";
  level.info.email = "demo@zr3tool.invalid";
  level.info.version = "1.0";
  level.info.statBuying = 0;
  level.info.encounterPercent = 15;
  level.info.inventorySize = 20;
  level.info.levelText = "A quiet town at the edge of the Hollow Wood.";
  level.flags[0] = "MetMayor";
  level.flags[1] = "DoorOpen";
  level.flags[2] = "QuestDone";
  level.groups[0] = "Townsfolk";
  level.groups[1] = "Wolves";
  level.customText = {"Spells", "Items", "Gold", "Exp"};
  AddTown(level, folder);
  AddScripts(level);
  AddGoodsAndFoes(level, folder);
  AddPresentation(level, folder);
  return level;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_demo OUT.zr3 (the pictures go to folders beside it)\n";
    return 2;
  }
  try {
    const std::filesystem::path out = std::filesystem::absolute(argv[1]);
    DemoLevel(out.parent_path()).WriteTo(out.string());
  } catch (const std::exception& e) {
    std::cerr << "make_demo: " << e.what() << '\n';
    return 1;
  }
  return 0;
}
