// Writes the demo level that the README's run command opens.
#include <iostream>

#include "support/chain_ids.h"
#include "support/graphic_builder.h"
#include "support/level_builder.h"
#include "support/map_builder.h"
#include "support/object_builder.h"
#include "support/tile_builder.h"

namespace {

using zr3::Category;

// A small town map with its tiles, one object on it, and the level's screens.
void AddTown(zr3test::LevelBuilder& level) {
  std::vector<zr3test::TileSpec> tiles = {zr3test::NamedTile("Grass", 101),
                                          zr3test::NamedTile("Wall", 102),
                                          zr3test::NamedTile("Water", 103)};
  tiles[1].gfxId = 7;
  tiles[1].layer = 1;
  tiles[1].path = "tiles\\wall.bmp";
  zr3test::ChainIds(tiles);
  for (const zr3test::TileSpec& tile : tiles) level.Add(Category::Tiles, zr3test::TileRecord(tile));

  zr3test::MapSpec town = zr3test::NamedMap("Hollowtree", 10, 201);
  for (int row = 0; row < 10; ++row) {
    for (int column = 0; column < 10; ++column) {
      const bool edge = row == 0 || row == 9 || column == 0 || column == 9;
      town.At(row, column) = {101, edge ? 102u : 0u, 0};
    }
  }
  town.At(4, 4) = {103, 0, 0};
  town.borders = {102, 102, 103, 102};
  level.Add(Category::Maps, zr3test::MapRecord(town));

  zr3test::ObjectSpec well = zr3test::NamedObject("Well", 201);
  well.x = 4;
  well.y = 5;
  well.id = 301;
  well.path = "objects\\well.bmp";
  level.Add(Category::Objects, zr3test::ObjectRecord(well));

  std::vector<zr3test::GraphicSpec> graphics = {zr3test::NamedGraphic("Title Screen", 1, 401),
                                                zr3test::NamedGraphic("Combat Backdrop", 1, 402),
                                                zr3test::NamedGraphic("Inventory Panel", 1, 403)};
  graphics[0].path = "gfx\\title.bmp";
  graphics[1].path = "gfx\\combat.bmp";
  graphics[2].path = "gfx\\inventory.bmp";
  zr3test::ChainIds(graphics);
  for (const zr3test::GraphicSpec& graphic : graphics) {
    level.Add(Category::Graphics, zr3test::GraphicRecord(graphic));
  }
  level.info.backgroundId = 401;
  level.info.combatScreenId = 402;
  level.info.inventoryScreenId = 403;
}

zr3test::LevelBuilder DemoLevel() {
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
  AddTown(level);
  return level;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_demo OUT.zr3\n";
    return 2;
  }
  try {
    DemoLevel().WriteTo(argv[1]);
  } catch (const std::exception& e) {
    std::cerr << "make_demo: " << e.what() << '\n';
    return 1;
  }
  return 0;
}
