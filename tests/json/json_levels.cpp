#include "json/json_levels.h"

#include <random>

#include "support/chain_ids.h"
#include "support/character_builder.h"
#include "support/graphic_builder.h"
#include "support/item_builder.h"
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

using zr3::Category;

namespace zr3test {

namespace {

// Identifiers no record of these levels carries.
constexpr std::uint32_t kNowhere = 0xDEAD0001;
constexpr std::uint32_t kElsewhere = 0xDEAD0002;

}  // namespace

LevelBuilder UnresolvedLevel() {
  LevelBuilder builder;
  builder.Add(Category::Tiles, TileRecord(NamedTile("Grass", 10)));
  TileFields bare = NamedTile("Bare", 11);
  bare.gfxId = 0;
  bare.path = "";
  builder.Add(Category::Tiles, TileRecord(bare));

  MapFields empty = NamedMap("Empty", 0, 20);
  empty.borders = {kNowhere, 0, 10, kElsewhere};
  MapFields full = NamedMap("Full", 100, 21);
  for (int row = 0; row < 100; ++row) {
    for (int column = 0; column < 100; ++column) {
      full.At(row, column) = {10, (row + column) % 7 == 0 ? kNowhere : 0,
                              row == column ? kElsewhere : 11};
    }
  }
  builder.Add(Category::Maps, MapRecord(empty)).Add(Category::Maps, MapRecord(full));

  ObjectFields object = NamedObject("Lost", kNowhere);
  object.scriptIds = {kNowhere, 0, 30, kElsewhere};
  object.id = 40;
  builder.Add(Category::Objects, ObjectRecord(object));
  builder.Add(Category::ObjectScripts,
              ScriptBlob(ScriptWith("Far", {{.code = 1, .p = {300, 0, 0, 1}}},
                                    {{.code = 101, .p = {0, 7}}, {.code = 104, .p = {9}}})));
  ScriptFields overfull = ScriptWith("Overfull", {}, {});
  overfull.conditionCount = 12;
  overfull.commandCount = 200;
  overfull.id = 30;
  overfull.blockB[7] = '\x5A';
  builder.Add(Category::GlobalScripts, ScriptBlob(overfull));

  ItemFields item{.name = "Odd", .type = 7, .parameters = {900, 1, 2, 3}, .groups = {-3, 19}};
  item.modifiers = {65535, 1};
  item.id = 50;
  builder.Add(Category::Items, ItemBlob(item));
  SpellFields spell{.name = "Runner", .mastery = -2, .learnId = kNowhere, .type = 5};
  spell.parameters = {400, 0, 0, 0};
  spell.id = 60;
  builder.Add(Category::Spells, SpellBlob(spell));
  ShopFields shop{.name = "Shut", .id = 70};
  shop.items = {kNowhere, 0, 50, kElsewhere};
  builder.Add(Category::Shops, ShopRecord(shop));
  MonsterFields monster;
  monster.name = "Ghost";
  monster.group1 = 25;
  monster.group2 = -9;
  monster.items[0] = kNowhere;
  monster.spells[9] = 60;
  monster.tiles[3] = kElsewhere;
  monster.id = 80;
  builder.Add(Category::Monsters, MonsterRecord(monster));
  ListFields list{.name = "Menu", .count = 2, .id = 90};
  list.resultIds = {30, kNowhere, 30, kElsewhere};
  builder.Add(Category::Lists, ListBlob(list));
  CharacterFields character{.name = "Hero", .imageIds = {0, 5, 0, 0, 0, 0, 0, 7}, .id = 95};
  character.imagePaths[1] = "hero.png";
  builder.Add(Category::Characters, CharacterBlob(character));

  builder.info.paletteId = kNowhere;
  builder.info.backgroundId = 0;
  builder.info.combatScreenId = kElsewhere;
  builder.info.inventoryScreenId = kNowhere;
  builder.info.opaqueA[3] = '\x11';
  builder.opaque[319] = '\x7F';
  return builder;
}

LevelBuilder AllBytesLevel() {
  std::string bytes;
  for (int b = 1; b < 256; ++b) bytes += static_cast<char>(b);
  LevelBuilder builder;
  for (std::size_t i = 0; i * 32 < bytes.size(); ++i) builder.flags[i] = bytes.substr(i * 32, 32);
  builder.Add(Category::Texts, TextBlob({.name = bytes.substr(200, 32), .text = bytes}));
  builder.info.levelText = bytes.substr(0, 200);
  builder.info.name = bytes.substr(100, 80);
  ListFields list{.name = bytes.substr(0, 32)};
  for (std::size_t i = 0; i < 8; ++i) list.optionTexts[i] = bytes.substr(i * 32, 32);
  builder.Add(Category::Lists, ListBlob(list));
  builder.customText[2] = bytes.substr(128, 32);
  return builder;
}

LevelBuilder RandomLevel(std::uint32_t seed) {
  std::mt19937 random(seed);
  const auto number = [&](std::uint32_t below) {
    return static_cast<std::uint32_t>(random() % below);
  };
  const auto text = [&](std::size_t most) {
    std::string t(number(static_cast<std::uint32_t>(most) + 1), ' ');
    for (char& c : t) c = static_cast<char>(1 + number(255));
    return t;
  };
  const auto bytes = [&](std::size_t count) {
    std::string b(count, '\0');
    for (char& c : b) c = static_cast<char>(number(4) == 0 ? number(256) : 0);
    return b;
  };
  // Identifiers from a small pool, so that some references resolve and some do not.
  const auto id = [&] { return number(3) == 0 ? 0u : 1000 + number(60); };
  const auto count = [&] { return static_cast<int>(number(4)); };
  const auto chained = [&](auto& spec) {
    spec.nextId = id();
    spec.prevId = id();
    spec.id = id();
  };

  LevelBuilder builder;
  const int tiles = count();
  for (int i = 0; i < tiles; ++i) {
    TileFields tile = NamedTile(text(32), id());
    tile.gfxId = number(2) * (1 + number(9));
    tile.path = tile.gfxId ? text(80) : "";
    tile.layer = static_cast<std::uint8_t>(number(256));
    tile.opaque = bytes(32);
    builder.Add(Category::Tiles, TileRecord(tile));
  }
  for (int i = 0, maps = count(); i < maps; ++i) {
    MapFields map = NamedMap(text(32), static_cast<std::uint16_t>(number(12)), id());
    for (auto& cell : map.cells) cell = {id(), number(2) ? id() : 0, 0};
    for (auto& border : map.borders) border = id();
    map.opaque = bytes(2);
    builder.Add(Category::Maps, MapRecord(map));
  }
  const int objectScripts = 1 + count();
  for (int i = 0; i < objectScripts; ++i) {
    ScriptFields script = ScriptWith(text(32), {}, {});
    for (auto* slots : {&script.conditions, &script.commands}) {
      for (SlotFields& slot : *slots) {
        slot.code = static_cast<std::uint16_t>(number(140));
        for (auto& p : slot.p) p = static_cast<std::int16_t>(static_cast<int>(number(12)) - 2);
      }
    }
    script.conditionCount = static_cast<std::uint8_t>(number(12));
    script.commandCount = static_cast<std::uint8_t>(number(12));
    script.blockA = bytes(200);
    chained(script);
    builder.Add(i == 0 || number(2) ? Category::ObjectScripts : Category::DeathScripts,
                ScriptBlob(script));
  }
  for (int i = 0, objects = count(); i < objects; ++i) {
    ObjectFields object = NamedObject(text(32), id());
    for (auto& script : object.scriptIds) script = id();
    object.x = static_cast<std::uint8_t>(number(256));
    chained(object);
    builder.Add(Category::Objects, ObjectRecord(object));
  }
  for (int i = 0, items = count(); i < items; ++i) {
    // A usable item's script position must name a script, or the level does not load.
    ItemFields item{.name = text(32), .type = static_cast<std::uint16_t>(number(6))};
    item.parameters = {static_cast<std::int16_t>(number(1)), static_cast<std::int16_t>(number(99)),
                       -5, 7};
    item.groups = {static_cast<std::int16_t>(static_cast<int>(number(21)) - 1), -1};
    item.modifiers = {static_cast<std::uint16_t>(number(65536)), 3};
    chained(item);
    builder.Add(Category::Items, ItemBlob(item));
  }
  for (int i = 0, spells = count(); i < spells; ++i) {
    SpellFields spell{.name = text(32), .mastery = static_cast<std::int16_t>(number(5) - 2)};
    spell.learnId = id();
    spell.type = static_cast<std::uint16_t>(number(7));
    spell.parameters = {static_cast<std::int16_t>(number(9)), 1, 2, 3};
    spell.groups = {static_cast<std::int16_t>(number(20)), -1};
    chained(spell);
    builder.Add(Category::Spells, SpellBlob(spell));
  }
  for (int i = 0, shops = count(); i < shops; ++i) {
    ShopFields shop{.name = text(32)};
    for (auto& item : shop.items) item = id();
    shop.markup = static_cast<std::uint16_t>(number(65536));
    chained(shop);
    builder.Add(Category::Shops, ShopRecord(shop));
  }
  for (int i = 0, monsters = count(); i < monsters; ++i) {
    MonsterFields monster;
    monster.name = text(32);
    monster.experience = random();
    monster.type = static_cast<std::uint16_t>(number(5));
    monster.group1 = static_cast<std::int16_t>(static_cast<int>(number(40)) - 10);
    for (auto* slots : {&monster.items, &monster.spells, &monster.preScripts, &monster.tiles}) {
      for (auto& slot : *slots) slot = id();
    }
    monster.opaqueC = bytes(8);
    monster.imagePath = text(80);
    chained(monster);
    builder.Add(Category::Monsters, MonsterRecord(monster));
  }
  for (int i = 0, palettes = count(); i < palettes; ++i) {
    PaletteFields palette{.name = text(32), .colours = bytes(768)};
    chained(palette);
    builder.Add(Category::Palettes, PaletteBlob(palette));
  }
  for (int i = 0, texts = count(); i < texts; ++i) {
    builder.Add(Category::Texts, TextBlob({.name = text(32), .text = text(512)}));
  }
  for (int i = 0, characters = count(); i < characters; ++i) {
    CharacterFields character{.name = text(32)};
    for (std::size_t k = 0; k < 8; ++k) {
      character.imageIds[k] = number(2) * number(5);
      if (character.imageIds[k]) character.imagePaths[k] = text(80);
    }
    chained(character);
    builder.Add(Category::Characters, CharacterBlob(character));
  }
  for (int i = 0, songs = count(); i < songs; ++i) {
    SongFields song{.name = text(32), .data = bytes(404)};
    chained(song);
    builder.Add(Category::Songs, SongBlob(song));
  }
  for (int i = 0, graphics = count(); i < graphics; ++i) {
    GraphicFields graphic = NamedGraphic(text(32), number(2) * number(9), id());
    graphic.path = graphic.resource ? text(80) : "";
    builder.Add(Category::Graphics, GraphicRecord(graphic));
  }
  for (int i = 0, lists = count(); i < lists; ++i) {
    ListFields list{.name = text(32), .count = static_cast<std::uint16_t>(number(13))};
    for (std::size_t k = 0; k < 10; ++k) {
      list.optionTexts[k] = text(32);
      list.resultIds[k] = id();
    }
    chained(list);
    builder.Add(Category::Lists, ListBlob(list));
  }
  for (std::string& flag : builder.flags) flag = number(8) == 0 ? text(32) : "";
  builder.info.name = text(80);
  builder.info.statBuying = static_cast<std::uint8_t>(number(3));
  builder.info.paletteId = id();
  builder.info.backgroundId = id();
  builder.info.opaqueB = bytes(40);
  builder.opaque = bytes(320);
  return builder;
}

}  // namespace zr3test
