#include "stress_level.h"

#include <algorithm>
#include <stdexcept>

#include "script/vocabulary.h"
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

namespace zr3bench {

using zr3::Category;
using zr3test::Blob;
using zr3test::LevelBuilder;

StressSize LargeSize() {
  StressSize s;
  s.name = "large";
  s.maps = 48;
  s.tilesPerMap = 400;
  s.tiles = 2000;
  s.objects = 2000;
  s.scriptsPerObject = 3;
  s.globalScripts = s.deathScripts = s.objectScripts = s.startupScripts = 5000;
  s.items = 2000;
  s.spells = 1000;
  s.shops = 500;
  s.monsters = 1000;
  s.palettes = 100;
  s.texts = 2000;
  s.characters = 200;
  s.songs = 200;
  s.graphics = 1000;
  s.lists = 1000;
  return s;
}

StressSize MaxSize() {
  StressSize s = LargeSize();
  s.name = "max";
  s.maps = 20;
  s.tilesPerMap = 4000;
  s.tiles = 65535;
  s.objects = 65535;
  s.scriptsPerObject = 10;
  s.objectScripts = 65535;
  s.items = 65535;
  s.allItemsUsable = true;
  return s;
}

StressSize Scaled(const StressSize& size, int multiplier, int divisor) {
  if (divisor < 1 || multiplier < 1) throw std::invalid_argument("factors must be 1 or more");
  StressSize s = size;
  if (divisor > 1) s.name.append("/").append(std::to_string(divisor));
  if (multiplier > 1) s.name.append("*").append(std::to_string(multiplier));
  for (int* count :
       {&s.maps, &s.tiles, &s.objects, &s.globalScripts, &s.deathScripts, &s.objectScripts,
        &s.startupScripts, &s.items, &s.spells, &s.shops, &s.monsters, &s.palettes, &s.texts,
        &s.characters, &s.songs, &s.graphics, &s.lists}) {
    if (*count > 0) {
      const long scaled = static_cast<long>(*count) * multiplier / divisor;
      if (scaled > 65535) throw std::invalid_argument(s.name + " holds more than 65535 records");
      *count = std::max(1, static_cast<int>(scaled));
    }
  }
  return s;
}

StressSize SizeNamed(const std::string& name) {
  const std::size_t factor = name.find_first_of("/*");
  const std::string base = name.substr(0, factor);
  StressSize size;
  if (base == "large") {
    size = LargeSize();
  } else if (base == "max") {
    size = MaxSize();
  } else {
    throw std::invalid_argument("unknown size " + name + " (large, max, large/N, large*N, max/N)");
  }
  if (factor == std::string::npos) return size;
  const int n = std::stoi(name.substr(factor + 1));
  return name[factor] == '/' ? Scaled(size, 1, n) : Scaled(size, n, 1);
}

std::uint32_t StressId(Category category, int index) {
  return (static_cast<std::uint32_t>(zr3::IndexOf(category)) + 1) << 17 |
         static_cast<std::uint32_t>(index + 1);
}

namespace {

// The chain identifiers of record i of a list of count records.
template <class Spec>
void Chain(Spec& spec, Category category, int i, int count) {
  spec.id = StressId(category, i);
  spec.prevId = i > 0 ? StressId(category, i - 1) : 0;
  spec.nextId = i + 1 < count ? StressId(category, i + 1) : 0;
}

// A reference by identifier into a list of count records: the record at (seed mod count), or
// 0 when the list is empty.
std::uint32_t IdInto(Category category, int count, long seed) {
  return count > 0 ? StressId(category, static_cast<int>(seed % count)) : 0;
}

std::string Named(const char* kind, int i) {
  return std::string(kind) + " " + std::to_string(i);
}

// A group index: every group in turn, and every fifth none.
std::int16_t GroupIndex(int i) {
  return static_cast<std::int16_t>(i % 5 == 4 ? -1 : i % 20);
}

class Generator {
 public:
  explicit Generator(const StressSize& size) : s_(size) {}

  std::string Build() {
    AddMaps();
    AddTiles();
    AddObjects();
    AddScripts(Category::GlobalScripts, s_.globalScripts);
    AddScripts(Category::DeathScripts, s_.deathScripts);
    AddScripts(Category::ObjectScripts, s_.objectScripts);
    AddScripts(Category::StartupScripts, s_.startupScripts);
    AddItems();
    AddSpells();
    AddShops();
    AddMonsters();
    AddPalettes();
    AddTexts();
    AddCharacters();
    AddSongs();
    AddGraphics();
    AddLists();
    AddInfo();
    return level_.Build().Bytes();
  }

 private:
  void AddMaps() {
    const int distinct = std::max(1, std::min(s_.tilesPerMap, s_.tiles));
    for (int i = 0; i < s_.maps; ++i) {
      zr3test::MapFields map;
      map.name = Named("Map", i);
      map.size = zr3test::MapFields::kGridSide;
      // Each map uses its own run of distinct tiles; every seventh third slot is empty.
      const long first = i * 97L;
      for (std::size_t k = 0; k < map.cells.size(); ++k) {
        for (std::size_t slot = 0; slot < 3; ++slot) {
          if (slot == 2 && k % 7 == 0) continue;
          const long seed = first + static_cast<long>((k * 3 + slot) % distinct);
          map.cells[k][slot] = IdInto(Category::Tiles, s_.tiles, seed);
        }
      }
      for (int side = 0; side < 4; ++side) {
        map.borders[side] = IdInto(Category::Tiles, s_.tiles, first + side);
      }
      Chain(map, Category::Maps, i, s_.maps);
      level_.Add(Category::Maps, zr3test::MapRecord(map));
    }
  }

  void AddTiles() {
    for (int i = 0; i < s_.tiles; ++i) {
      zr3test::TileFields tile;
      tile.name = Named("Tile", i);
      // Every tenth tile has no picture of its own, so both layouts occur.
      tile.gfxId = i % 10 == 9 ? 0 : static_cast<std::uint32_t>(i + 1);
      tile.path = "tiles\\" + tile.name + ".bmp";
      tile.layer = static_cast<std::uint8_t>(i % 3);
      Chain(tile, Category::Tiles, i, s_.tiles);
      level_.Add(Category::Tiles, zr3test::TileRecord(tile));
    }
  }

  void AddObjects() {
    for (int i = 0; i < s_.objects; ++i) {
      zr3test::ObjectFields object;
      object.name = Named("Object", i);
      object.mapId = IdInto(Category::Maps, s_.maps, i);
      object.x = static_cast<std::uint8_t>(i % 100);
      object.y = static_cast<std::uint8_t>(i / 100 % 100);
      object.gfxId = i % 10 == 9 ? 0 : static_cast<std::uint32_t>(i + 1);
      object.path = "objects\\" + object.name + ".bmp";
      // Slot 0 names the hot script; the others spread over the object scripts.
      for (int slot = 0; slot < s_.scriptsPerObject; ++slot) {
        object.scriptIds[slot] =
            IdInto(Category::ObjectScripts, NamedScripts(), slot == 0 ? kHotIndex : i * 10L + slot);
      }
      Chain(object, Category::Objects, i, s_.objects);
      level_.Add(Category::Objects, zr3test::ObjectRecord(object));
    }
  }

  // How many object scripts records name: all but the last, which nothing names.
  int NamedScripts() const { return std::max(1, s_.objectScripts - 1); }

  // A position parameter into a list of count records; positions are signed 16-bit, so a
  // longer list is named only in its first 32767 records.
  static std::int16_t PositionInto(int count, long seed) {
    return static_cast<std::int16_t>(count > 0 ? seed % std::min(count, 32767) : 0);
  }

  // A condition of the code whose references resolve, varied by seed.
  zr3test::SlotFields Condition(std::uint16_t code, long seed) const {
    zr3test::SlotFields c;
    c.code = code;
    auto& p = c.p;
    const auto flag = static_cast<std::int16_t>(seed % 256);
    switch (code) {
      case zr3::kFlagValue:
        p = {flag, static_cast<std::int16_t>(seed % 6), zr3::kSourceFlag, flag};
        break;
      case zr3::kLocation:
        p = {static_cast<std::int16_t>(seed % 2),
             zr3::kSourceValue,
             PositionInto(s_.maps, seed),
             zr3::kSourceValue,
             12,
             zr3::kSourceFlag,
             flag};
        break;
      case zr3::kAttribute:
        p = {static_cast<std::int16_t>(seed % 27), 1, zr3::kSourceAttribute, 3};
        break;
      case zr3::kHasItem:
        p = {static_cast<std::int16_t>(seed % 2), PositionInto(s_.items, seed)};
        break;
      case zr3::kCharacterGraphic:
        p = {0, PositionInto(s_.characters, seed)};
        break;
      case zr3::kUsingPalette:
        p = {0, PositionInto(s_.palettes, seed)};
        break;
      case zr3::kTime:
        p = {0, 2, zr3::kSourceRandom, 100};
        break;
      case zr3::kTileExists:
        p = {zr3::kSourceFlag, flag, zr3::kSourceValue, 7, 1};
        break;
      case zr3::kKnowsSpell:
        p = {0, PositionInto(s_.spells, seed)};
        break;
      case zr3::kEquipped:
        p = {PositionInto(s_.items, seed)};
        break;
      default:
        p = {static_cast<std::int16_t>(seed % 3)};
    }
    return c;
  }

  // A command of the code whose references resolve, varied by seed.
  zr3test::SlotFields Command(std::uint16_t code, long seed) const {
    zr3test::SlotFields c;
    c.code = code;
    auto& p = c.p;
    const auto flag = static_cast<std::int16_t>(seed % 256);
    const std::int16_t map = PositionInto(s_.maps, seed);
    const std::int16_t object = PositionInto(s_.objects, seed);
    const std::int16_t graphic = PositionInto(s_.graphics, seed);
    const std::int16_t tile = PositionInto(s_.tiles, seed);
    const std::int16_t spell = PositionInto(s_.spells, seed);
    const std::int16_t item = PositionInto(s_.items, seed);
    switch (code) {
      case zr3::kChangeFlag:
        p = {1, flag, zr3::kSourceFlag, static_cast<std::int16_t>((seed + 1) % 256)};
        break;
      case zr3::kWarp:
      case zr3::kDeleteTileLayer:
        p = {zr3::kSourceValue, map, zr3::kSourceValue, 5, zr3::kSourceFlag, flag};
        break;
      case zr3::kChangeAttribute:
        p = {3, 1, zr3::kSourceValue, 10};
        break;
      case zr3::kGiveTakeItem:
      case zr3::kEquipUnequip:
        p = {static_cast<std::int16_t>(seed % 2), item, 1};
        break;
      case zr3::kChangeCharacterGraphic:
        p = {PositionInto(s_.characters, seed)};
        break;
      case zr3::kDisplayGraphic:
        p = {graphic};
        break;
      case zr3::kDisplayText:
        p = {PositionInto(s_.texts, seed)};
        break;
      case zr3::kPlaySong:
        p = {PositionInto(s_.songs, seed)};
        break;
      case zr3::kLearnSpell:
      case zr3::kRemoveSpell:
        p = {spell};
        break;
      case zr3::kPlaceRemoveObject:
        p = {static_cast<std::int16_t>(seed % 2), object, map, 4, 4};
        break;
      case zr3::kChangeMapTiles:
        p = {tile, PositionInto(s_.tiles, seed + 1),
             static_cast<std::int16_t>(seed % 4 ? map : -1)};
        break;
      case zr3::kRunScript:
        // Every other one runs the hot script.
        p = {static_cast<std::int16_t>(seed % 2 ? kHotIndex : PositionInto(NamedScripts(), seed)),
             0, zr3::kSourceValue, 1};
        break;
      case zr3::kChangePalette:
        p = {PositionInto(s_.palettes, seed)};
        break;
      case zr3::kChangeObjectGraphic:
        p = {object, graphic, static_cast<std::int16_t>(seed % 4 ? map : -1)};
        break;
      case zr3::kDisplayShop:
        p = {PositionInto(s_.shops, seed)};
        break;
      case zr3::kStartEndCombat:
        p = {0, PositionInto(s_.monsters, seed)};
        break;
      case zr3::kChangeCustomScreen:
        p = {static_cast<std::int16_t>(seed % 3), graphic};
        break;
      case zr3::kAdvancedDisplayGraphic:
        p = {graphic, zr3::kSourceValue, 10, zr3::kSourceFlag, flag};
        break;
      case zr3::kAdvancedTileChange:
        p = {tile, zr3::kSourceValue, map, zr3::kSourceValue, 3, zr3::kSourceValue, 4, 1};
        break;
      case zr3::kAdvancedPlaceRemoveObject:
        p = {0, object, zr3::kSourceValue, map, zr3::kSourceValue, 3, zr3::kSourceFlag, flag};
        break;
      case zr3::kDisplayList:
        p = {PositionInto(s_.lists, seed)};
        break;
      case zr3::kCustomScreenTap:
        p = {flag, static_cast<std::int16_t>((seed + 7) % 256)};
        break;
      default:
        p = {static_cast<std::int16_t>(seed % 5), 2};
    }
    return c;
  }

  // Scripts whose slots run through every condition code and every command code.
  void AddScripts(Category category, int count) {
    static constexpr std::uint16_t kConditions[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 12, 13};
    constexpr int kCommandCount = zr3::kLastCommandCode - zr3::kFirstCommandCode + 1;
    const std::string kind(zr3::InfoOf(category).sectionName);
    for (int i = 0; i < count; ++i) {
      zr3test::ScriptFields script;
      script.name = Named(kind.c_str(), i);
      script.conditionCount = static_cast<std::uint8_t>(1 + i % 10);
      script.commandCount = 10;
      for (int slot = 0; slot < 10; ++slot) {
        const long seed = i * 10L + slot;
        script.conditions[slot] = Condition(kConditions[seed % 13], seed);
        script.commands[slot] = Command(
            static_cast<std::uint16_t>(zr3::kFirstCommandCode + seed % kCommandCount), seed);
      }
      Chain(script, category, i, count);
      level_.Add(category, zr3test::ScriptBlob(script));
    }
  }

  void AddGraphics() {
    for (int i = 0; i < s_.graphics; ++i) {
      zr3test::GraphicFields graphic;
      graphic.name = Named("Graphic", i);
      graphic.resource = i % 10 == 9 ? 0 : static_cast<std::uint32_t>(i + 1);
      graphic.path = "pictures\\" + graphic.name + ".bmp";
      Chain(graphic, Category::Graphics, i, s_.graphics);
      level_.Add(Category::Graphics, zr3test::GraphicRecord(graphic));
    }
  }

  void AddItems() {
    for (int i = 0; i < s_.items; ++i) {
      zr3test::ItemFields item;
      item.name = Named("Item", i);
      const bool usable = s_.objectScripts > 0 && (s_.allItemsUsable || i % 5 == 3);
      item.type = usable ? 3 : static_cast<std::uint16_t>(i % 5 == 3 ? 4 : i % 5);
      item.cost = static_cast<std::int16_t>(i % 1000);
      // A usable item names an object script by position; every fourth names the hot one.
      const int script = i % 4 == 0 ? kHotIndex : i % NamedScripts();
      item.parameters = {static_cast<std::int16_t>(usable ? script : i % 16), 3, 20, 2};
      item.groups = {GroupIndex(i), GroupIndex(i + 7)};
      item.modifiers = {static_cast<std::uint16_t>(i), 65535};
      Chain(item, Category::Items, i, s_.items);
      level_.Add(Category::Items, zr3test::ItemBlob(item));
    }
  }

  void AddSpells() {
    for (int i = 0; i < s_.spells; ++i) {
      zr3test::SpellFields spell;
      spell.name = Named("Spell", i);
      spell.minSp = static_cast<std::int16_t>(i % 50);
      spell.spCost = 5;
      spell.mastery = static_cast<std::int16_t>(i % 3 - 1);
      spell.learnId = i % 2 ? IdInto(Category::Spells, s_.spells, i + 1) : 0;
      spell.type = static_cast<std::uint16_t>(i % 6);
      const int script = i % NamedScripts();
      spell.parameters = {static_cast<std::int16_t>(spell.type == 5 ? script : 4), 9, 5, 3};
      spell.groups = {GroupIndex(i), GroupIndex(i + 3)};
      spell.modifiers = {-1, 2};
      Chain(spell, Category::Spells, i, s_.spells);
      level_.Add(Category::Spells, zr3test::SpellBlob(spell));
    }
  }

  void AddShops() {
    for (int i = 0; i < s_.shops; ++i) {
      zr3test::ShopFields shop;
      shop.name = Named("Shop", i);
      // Slot 0 names the hot item; the rest spread over the list.
      for (int slot = 0; slot < 10; ++slot) {
        shop.items[slot] = IdInto(Category::Items, s_.items, slot == 0 ? 0 : i * 10L + slot);
      }
      shop.buyback = 50;
      shop.markup = 150;
      Chain(shop, Category::Shops, i, s_.shops);
      level_.Add(Category::Shops, zr3test::ShopRecord(shop));
    }
  }

  void AddMonsters() {
    for (int i = 0; i < s_.monsters; ++i) {
      zr3test::MonsterFields monster;
      monster.name = Named("Monster", i);
      monster.gfxId = IdInto(Category::Graphics, s_.graphics, i);
      monster.level = static_cast<std::uint16_t>(i % 30);
      monster.maxHp = monster.hp = 100;
      monster.str = monster.intelligence = monster.dex = 10;
      monster.experience = static_cast<std::uint32_t>(i) * 100;
      monster.gold = 25;
      monster.type = static_cast<std::uint16_t>(i % 4);
      monster.group1 = GroupIndex(i);
      monster.group2 = GroupIndex(i + 1);
      for (int slot = 0; slot < 10; ++slot) {
        const long seed = i * 10L + slot;
        monster.items[slot] = IdInto(Category::Items, s_.items, slot == 0 ? 0 : seed);
        monster.spells[slot] = IdInto(Category::Spells, s_.spells, seed);
        monster.preScripts[slot] =
            IdInto(Category::ObjectScripts, NamedScripts(), slot == 0 ? kHotIndex : seed);
        monster.postScripts[slot] = IdInto(Category::ObjectScripts, NamedScripts(), seed + 1);
        monster.tiles[slot] = IdInto(Category::Tiles, s_.tiles, seed);
      }
      Chain(monster, Category::Monsters, i, s_.monsters);
      monster.imagePath = "monsters\\" + monster.name + ".bmp";
      level_.Add(Category::Monsters, zr3test::MonsterRecord(monster));
    }
  }

  void AddPalettes() {
    for (int i = 0; i < s_.palettes; ++i) {
      zr3test::PaletteFields palette;
      palette.name = Named("Palette", i);
      for (std::size_t c = 0; c < palette.colours.size(); ++c) {
        palette.colours[c] = static_cast<char>((c + static_cast<std::size_t>(i)) & 0xFF);
      }
      Chain(palette, Category::Palettes, i, s_.palettes);
      level_.Add(Category::Palettes, zr3test::PaletteBlob(palette));
    }
  }

  void AddTexts() {
    for (int i = 0; i < s_.texts; ++i) {
      zr3test::TextFields text;
      text.name = Named("Text", i);
      text.text = "A line of text number " + std::to_string(i) + " for the stress level.";
      level_.Add(Category::Texts, zr3test::TextBlob(text));
    }
  }

  void AddCharacters() {
    for (int i = 0; i < s_.characters; ++i) {
      zr3test::CharacterFields character;
      character.name = Named("Character", i);
      for (int image = 0; image < 8; ++image) {
        // Every eighth slot empty, so both layouts of an image slot occur.
        if ((i + image) % 8 == 7) continue;
        character.imageIds[image] = IdInto(Category::Graphics, s_.graphics, i * 8L + image);
        character.imagePaths[image] = "chars\\" + std::to_string(i) + "_" + std::to_string(image);
      }
      Chain(character, Category::Characters, i, s_.characters);
      level_.Add(Category::Characters, zr3test::CharacterBlob(character));
    }
  }

  void AddSongs() {
    for (int i = 0; i < s_.songs; ++i) {
      zr3test::SongFields song;
      song.name = Named("Song", i);
      song.data.replace(0, 10, "song.mid\0\0", 10);
      Chain(song, Category::Songs, i, s_.songs);
      level_.Add(Category::Songs, zr3test::SongBlob(song));
    }
  }

  void AddLists() {
    for (int i = 0; i < s_.lists; ++i) {
      zr3test::ListFields list;
      list.name = Named("List", i);
      list.count = 10;
      for (int option = 0; option < 10; ++option) {
        list.optionTexts[option] = "Option " + std::to_string(option);
        list.resultIds[option] = IdInto(Category::ObjectScripts, NamedScripts(),
                                        option == 0 ? kHotIndex : i * 10L + option);
      }
      Chain(list, Category::Lists, i, s_.lists);
      level_.Add(Category::Lists, zr3test::ListBlob(list));
    }
  }

  void AddInfo() {
    for (int i = 0; i < 256; ++i) level_.flags[i] = Named("Flag", i);
    for (int i = 0; i < 20; ++i) level_.groups[i] = Named("Group", i);
    level_.customText = {"Spells", "Items", "Gold", "Exp"};
    zr3test::InfoFields& info = level_.info;
    info.name = "Stress level " + s_.name;
    info.author = "zr3bench";
    info.version = "1.0";
    info.encounterPercent = 10;
    info.inventorySize = 20;
    info.levelText = "Generated for measuring the tool at full scale.";
    info.paletteId = IdInto(Category::Palettes, s_.palettes, 0);
    info.backgroundId = IdInto(Category::Graphics, s_.graphics, 0);
    info.combatScreenId = IdInto(Category::Graphics, s_.graphics, 1);
    info.inventoryScreenId = IdInto(Category::Graphics, s_.graphics, 2);
  }

  const StressSize& s_;
  LevelBuilder level_;
};

}  // namespace

std::string BuildStressLevel(const StressSize& size) {
  return Generator(size).Build();
}

}  // namespace zr3bench
