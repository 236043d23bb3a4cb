#include "stress_level.h"

#include <algorithm>
#include <stdexcept>

#include "support/character_builder.h"
#include "support/item_builder.h"
#include "support/level_builder.h"
#include "support/list_builder.h"
#include "support/monster_builder.h"
#include "support/palette_builder.h"
#include "support/shop_builder.h"
#include "support/song_builder.h"
#include "support/spell_builder.h"
#include "support/text_builder.h"

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

StressSize Divided(const StressSize& size, int divisor) {
  if (divisor < 1) throw std::invalid_argument("divisor must be 1 or more");
  StressSize s = size;
  s.name = size.name + "/" + std::to_string(divisor);
  for (int* count :
       {&s.maps, &s.tiles, &s.objects, &s.globalScripts, &s.deathScripts, &s.objectScripts,
        &s.startupScripts, &s.items, &s.spells, &s.shops, &s.monsters, &s.palettes, &s.texts,
        &s.characters, &s.songs, &s.graphics, &s.lists}) {
    if (*count > 0) *count = std::max(1, *count / divisor);
  }
  return s;
}

StressSize SizeNamed(const std::string& name) {
  const std::size_t slash = name.find('/');
  const std::string base = name.substr(0, slash);
  StressSize size;
  if (base == "large") {
    size = LargeSize();
  } else if (base == "max") {
    size = MaxSize();
  } else {
    throw std::invalid_argument("unknown size " + name + " (large, max, large/N, max/N)");
  }
  return slash == std::string::npos ? size : Divided(size, std::stoi(name.substr(slash + 1)));
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
  explicit Generator(const StressSize& size) : s_(WithBuiltKinds(size)) {}

  std::string Build() {
    AddItems();
    AddSpells();
    AddShops();
    AddMonsters();
    AddPalettes();
    AddTexts();
    AddCharacters();
    AddSongs();
    AddLists();
    AddInfo();
    return level_.Build().Bytes();
  }

 private:
  void AddItems() {
    for (int i = 0; i < s_.items; ++i) {
      zr3test::ItemSpec item;
      item.name = Named("Item", i);
      const bool usable = s_.objectScripts > 0 && (s_.allItemsUsable || i % 5 == 3);
      item.type = usable ? 3 : static_cast<std::uint16_t>(i % 5 == 3 ? 4 : i % 5);
      item.cost = static_cast<std::int16_t>(i % 1000);
      // A usable item names an object script by position; every fourth names the hot one.
      const int script = i % 4 == 0 ? kHotIndex : i % std::max(1, s_.objectScripts);
      item.parameters = {static_cast<std::int16_t>(usable ? script : i % 16), 3, 20, 2};
      item.groups = {GroupIndex(i), GroupIndex(i + 7)};
      item.modifiers = {static_cast<std::uint16_t>(i), 65535};
      Chain(item, Category::Items, i, s_.items);
      level_.Add(Category::Items, zr3test::ItemBlob(item));
    }
  }

  void AddSpells() {
    for (int i = 0; i < s_.spells; ++i) {
      zr3test::SpellSpec spell;
      spell.name = Named("Spell", i);
      spell.minSp = static_cast<std::int16_t>(i % 50);
      spell.spCost = 5;
      spell.mastery = static_cast<std::int16_t>(i % 3 - 1);
      spell.learnId = i % 2 ? IdInto(Category::Spells, s_.spells, i + 1) : 0;
      spell.type = static_cast<std::uint16_t>(i % 6);
      const int script = s_.objectScripts > 0 ? i % s_.objectScripts : 0;
      spell.parameters = {static_cast<std::int16_t>(spell.type == 5 ? script : 4), 9, 5, 3};
      spell.groups = {GroupIndex(i), GroupIndex(i + 3)};
      spell.modifiers = {-1, 2};
      Chain(spell, Category::Spells, i, s_.spells);
      level_.Add(Category::Spells, zr3test::SpellBlob(spell));
    }
  }

  void AddShops() {
    for (int i = 0; i < s_.shops; ++i) {
      zr3test::ShopSpec shop;
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
      zr3test::MonsterSpec monster;
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
            IdInto(Category::ObjectScripts, s_.objectScripts, slot == 0 ? kHotIndex : seed);
        monster.postScripts[slot] = IdInto(Category::ObjectScripts, s_.objectScripts, seed + 1);
        monster.tiles[slot] = IdInto(Category::Tiles, s_.tiles, seed);
      }
      Chain(monster, Category::Monsters, i, s_.monsters);
      monster.imagePath = "monsters\\" + monster.name + ".bmp";
      level_.Add(Category::Monsters, zr3test::MonsterRecord(monster));
    }
  }

  void AddPalettes() {
    for (int i = 0; i < s_.palettes; ++i) {
      zr3test::PaletteSpec palette;
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
      zr3test::TextSpec text;
      text.name = Named("Text", i);
      text.text = "A line of text number " + std::to_string(i) + " for the stress level.";
      level_.Add(Category::Texts, zr3test::TextBlob(text));
    }
  }

  void AddCharacters() {
    for (int i = 0; i < s_.characters; ++i) {
      zr3test::CharacterSpec character;
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
      zr3test::SongSpec song;
      song.name = Named("Song", i);
      song.data.replace(0, 10, "song.mid\0\0", 10);
      Chain(song, Category::Songs, i, s_.songs);
      level_.Add(Category::Songs, zr3test::SongBlob(song));
    }
  }

  void AddLists() {
    for (int i = 0; i < s_.lists; ++i) {
      zr3test::ListSpec list;
      list.name = Named("List", i);
      list.count = 10;
      for (int option = 0; option < 10; ++option) {
        list.optionTexts[option] = "Option " + std::to_string(option);
        list.resultIds[option] = IdInto(Category::ObjectScripts, s_.objectScripts,
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
    zr3test::InfoSpec& info = level_.info;
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

  // Kinds whose builders do not exist yet are left out, and nothing refers to them.
  static StressSize WithBuiltKinds(StressSize size) {
    size.maps = size.tiles = size.objects = size.graphics = 0;
    size.globalScripts = size.deathScripts = size.objectScripts = size.startupScripts = 0;
    return size;
  }

  const StressSize s_;
  LevelBuilder level_;
};

}  // namespace

std::string BuildStressLevel(const StressSize& size) {
  return Generator(size).Build();
}

}  // namespace zr3bench
