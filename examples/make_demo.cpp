// Writes the demo level that the README's run command opens.
#include <iostream>

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
  well.scriptIds[0] = kWellScriptId;
  well.scriptIds[1] = kWolfDenScriptId;
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

// Things to carry, magic to learn, a shop to buy them in and a monster to fight.
void AddGoodsAndFoes(zr3test::LevelBuilder& level) {
  std::vector<zr3test::ItemSpec> items(4);
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
  for (const zr3test::ItemSpec& item : items) level.Add(Category::Items, zr3test::ItemBlob(item));

  std::vector<zr3test::SpellSpec> spells(3);
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
  for (const zr3test::SpellSpec& spell : spells) {
    level.Add(Category::Spells, zr3test::SpellBlob(spell));
  }

  zr3test::ShopSpec store;
  store.name = "General Store";
  store.items = {kSwordId, kArmorId, kHerbId};
  store.buyback = 50;
  store.markup = 120;
  store.id = 801;
  level.Add(Category::Shops, zr3test::ShopRecord(store));

  zr3test::MonsterSpec wolf;
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
  level.Add(Category::Monsters, zr3test::MonsterRecord(wolf));
}

// The level's palette, a sign's text, a song, the hero's character set and a menu.
void AddPresentation(zr3test::LevelBuilder& level) {
  zr3test::PaletteSpec daylight;
  daylight.name = "Daylight";
  for (std::size_t i = 0; i < 256; ++i) {
    daylight.colours[3 * i] = static_cast<char>(i);
    daylight.colours[3 * i + 1] = static_cast<char>(i / 2);
    daylight.colours[3 * i + 2] = static_cast<char>(255 - i);
  }
  daylight.id = kPaletteId;
  level.Add(Category::Palettes, zr3test::PaletteBlob(daylight));
  level.info.paletteId = kPaletteId;

  zr3test::TextSpec sign;
  sign.name = "Town sign";
  sign.text = "Welcome to Hollowtree!";
  level.Add(Category::Texts, zr3test::TextBlob(sign));

  zr3test::SongSpec theme;
  theme.name = "Town theme";
  for (std::size_t i = 0; i < 64; ++i) theme.data[i] = static_cast<char>(i * 7 + 1);
  theme.id = 1501;
  level.Add(Category::Songs, zr3test::SongBlob(theme));

  zr3test::CharacterSpec hero;
  hero.name = "Hero";
  hero.imageIds = {1, 2, 0, 3, 0, 0, 0, 0};
  hero.imagePaths = {"chars\\hero_n.bmp", "chars\\hero_e.bmp", "", "chars\\hero_s.bmp"};
  hero.id = 1601;
  level.Add(Category::Characters, zr3test::CharacterBlob(hero));

  zr3test::ListSpec menu;
  menu.name = "Well menu";
  menu.optionTexts = {"Drink", "Look down", "Leave"};
  menu.resultIds = {kWellScriptId, kWolfDenScriptId, kTownDoorScriptId};
  menu.count = 3;
  menu.id = 1701;
  level.Add(Category::Lists, zr3test::ListBlob(menu));
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
  AddGoodsAndFoes(level);
  AddPresentation(level);
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
