#include "support/edit_levels.h"

#include "support/chain_ids.h"
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
#include "support/spell_builder.h"
#include "support/tile_builder.h"

using zr3::Category;

namespace zr3test {

void LoadItems(zr3::ZR3Level& level, std::vector<std::string> names) {
  std::vector<ItemFields> items;
  for (std::string& name : names) items.push_back({.name = std::move(name)});
  ChainIds(items, 50);
  LevelBuilder builder;
  for (const ItemFields& item : items) builder.Add(Category::Items, ItemBlob(item));
  level.LoadFromBytes(builder.Build().Bytes());
}

// Items 200..., spells 100...: "Self" learns itself, "Taught" is learnt through "Teacher";
// the shop "Store" sells "Sword", the monster "Orc" carries "Sword" twice, knows "Taught"
// and belongs to group 2, like the item "Shield" and the spell "Teacher".
void LoadSample(zr3::ZR3Level& level) {
  std::vector<SpellFields> spells = {
      {.name = "Self"}, {.name = "Taught"}, {.name = "Teacher", .groups = {-1, 2}}};
  ChainIds(spells, 100);
  spells[0].learnId = 100;
  spells[2].learnId = 101;
  std::vector<ItemFields> items = {{.name = "Sword"}, {.name = "Shield", .groups = {2, -1}}};
  ChainIds(items, 200);
  LevelBuilder builder;
  for (const SpellFields& spell : spells) builder.Add(Category::Spells, SpellBlob(spell));
  for (const ItemFields& item : items) builder.Add(Category::Items, ItemBlob(item));
  ShopFields shop{.name = "Store", .id = 300};
  shop.items[4] = 200;
  builder.Add(Category::Shops, ShopRecord(shop));
  MonsterFields orc;
  orc.name = "Orc";
  orc.group1 = 2;
  orc.group2 = -1;
  orc.id = 400;
  orc.items[1] = orc.items[7] = 200;
  orc.spells[0] = 101;
  builder.Add(Category::Monsters, MonsterRecord(orc));
  level.LoadFromBytes(builder.Build().Bytes());
}

LevelBuilder World() {
  LevelBuilder builder;
  for (const TileFields& tile :
       {NamedTile("Grass", 10), NamedTile("Water", 11), NamedTile("Lava", 12)}) {
    builder.Add(Category::Tiles, TileRecord(tile));
  }
  MapFields town = NamedMap("Town", 2, 20);
  town.At(0, 1) = {10, 0, 0};
  town.borders[0] = 11;
  for (const MapFields& map : {town, NamedMap("Cave", 2, 21), NamedMap("Field", 2, 22)}) {
    builder.Add(Category::Maps, MapRecord(map));
  }
  ObjectFields door = NamedObject("Door", 20);
  door.scriptIds[0] = 30;
  door.scriptIds[3] = 34;
  door.id = 25;
  builder.Add(Category::Objects, ObjectRecord(door));

  std::vector<ScriptFields> objectScripts = {
      ScriptWith("Open", {}, {}), ScriptWith("Drink", {}, {}), ScriptWith("Spare", {}, {}),
      ScriptWith("Loop", {}, {{.code = 114, .p = {3, 0, 0, 1}}}), ScriptWith("Listed", {}, {})};
  ChainIds(objectScripts, 30);
  for (const ScriptFields& script : objectScripts) {
    builder.Add(Category::ObjectScripts, ScriptBlob(script));
  }
  const SlotFields warpToCave{.code = 102, .p = {0, 1, 0, 5, 0, 5}};
  builder.Add(Category::GlobalScripts,
              ScriptBlob(ScriptWith("Watcher", {}, {{.code = 112, .p = {0, 0, 1, 3, 4}}})));
  builder.Add(Category::StartupScripts,
              ScriptBlob(ScriptWith("Opening", {{.code = 1, .p = {5, 0, 0, 3}}}, {warpToCave})));
  builder.Add(Category::DeathScripts, ScriptBlob(ScriptWith("Mourner", {}, {warpToCave})));

  std::vector<ItemFields> items = {{.name = "Axe", .type = 0, .parameters = {2, 0, 0, 0}},
                                   {.name = "Potion", .type = 3, .parameters = {1, 1, 0, 0}}};
  ChainIds(items, 60);
  for (const ItemFields& item : items) builder.Add(Category::Items, ItemBlob(item));
  ListFields menu{.name = "Menu", .count = 1, .id = 70};
  menu.resultIds[0] = 34;
  builder.Add(Category::Lists, ListBlob(menu));
  MonsterFields troll;
  troll.name = "Troll";
  troll.tiles[5] = 12;
  troll.id = 80;
  builder.Add(Category::Monsters, MonsterRecord(troll));

  std::vector<PaletteFields> palettes = {{.name = "Day"}, {.name = "Night"}};
  ChainIds(palettes, 40);
  for (const PaletteFields& palette : palettes)
    builder.Add(Category::Palettes, PaletteBlob(palette));
  for (const GraphicFields& graphic :
       {NamedGraphic("Sky", 0, 50), NamedGraphic("Arena", 0, 51), NamedGraphic("Plain", 0, 52)}) {
    builder.Add(Category::Graphics, GraphicRecord(graphic));
  }
  builder.info.paletteId = 40;
  builder.info.backgroundId = 50;
  builder.info.combatScreenId = 51;
  builder.info.inventoryScreenId = 50;
  return builder;
}

void LoadWorld(zr3::ZR3Level& level) {
  level.LoadFromBytes(World().Build().Bytes());
}

}  // namespace zr3test
