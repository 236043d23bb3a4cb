// Writes the demo level that the README's run command opens.
#include <iostream>

#include "support/chain_ids.h"
#include "support/graphic_builder.h"
#include "support/level_builder.h"
#include "support/map_builder.h"
#include "support/object_builder.h"
#include "support/tile_builder.h"
#include "support/script_builder.h"

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

using zr3test::ScriptSpec;
using zr3test::ScriptWith;

// Scripts of every kind. Records of other lists are named by position 0 or 1.
void AddScripts(zr3test::LevelBuilder& level) {
  std::vector<ScriptSpec> global = {
      ScriptWith("Mayor greets", {{1, {0, 2, 0, 0}}, {2, {0, 0, 0, 0, 5, 0, 3}}, {8, {1, 0, 0, 8}}},
                 {{107, {0, 15, -1, 0, 0, 0, 1}},
                  {101, {2, 0, 0, 1}},
                  {104, {0, 0}},
                  {110, {-1}},
                  {120, {}}}),
      ScriptWith("Night falls", {{8, {1, 0, 0, 20}}, {9, {0}}, {7, {1}}},
                 {{116, {0}}, {121, {0, 1}}, {122, {0}}, {123, {}}}),
  };
  std::vector<ScriptSpec> death = {
      ScriptWith("Fallen hero", {{0, {}}},
                 {{103, {3, 2, 1, 6}}, {102, {0, 0, 0, 1, 0, 1}}, {115, {}}}),
  };
  std::vector<ScriptSpec> object = {
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
  std::vector<ScriptSpec> startup = {
      ScriptWith("Opening", {{0, {}}},
                 {{105, {0}},
                  {106, {0, -1}},
                  {112, {0, 0, 0, 4, 4}},
                  {117, {0, 0, -1}},
                  {127, {}},
                  {110, {500}}}),
  };
  // Only ten conditions are used even though the count says twelve.
  startup[0].conditionCount = 12;

  std::uint32_t id = 1000;
  auto add = [&](Category category, std::vector<ScriptSpec>& scripts) {
    zr3test::ChainIds(scripts, id);
    id += 100;
    for (const ScriptSpec& script : scripts) level.Add(category, zr3test::ScriptBlob(script));
  };
  add(Category::GlobalScripts, global);
  add(Category::DeathScripts, death);
  add(Category::ObjectScripts, object);
  add(Category::StartupScripts, startup);
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
  AddScripts(level);
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
