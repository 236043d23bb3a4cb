#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <random>

#include "edit/copy.h"
#include "edit/deletion.h"
#include "edit/references.h"
#include "edit/rename.h"
#include "edit/reorder.h"
#include "level/zr3level.h"
#include "support/chain_ids.h"
#include "support/character_builder.h"
#include "support/edit_checks.h"
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

using zr3::Category;
using namespace zr3test;

namespace {

// The counted lists, each with the first own identifier its records get.
const std::map<Category, std::uint32_t> kFirstIds = {{Category::Tiles, 1000},
                                                     {Category::Maps, 2000},
                                                     {Category::Objects, 3000},
                                                     {Category::ObjectScripts, 4000},
                                                     {Category::GlobalScripts, 5000},
                                                     {Category::DeathScripts, 5500},
                                                     {Category::StartupScripts, 5800},
                                                     {Category::Items, 6000},
                                                     {Category::Spells, 7000},
                                                     {Category::Shops, 8000},
                                                     {Category::Monsters, 9000},
                                                     {Category::Palettes, 10000},
                                                     {Category::Texts, 0},
                                                     {Category::Characters, 11000},
                                                     {Category::Songs, 12000},
                                                     {Category::Graphics, 13000},
                                                     {Category::Lists, 14000}};

constexpr std::uint16_t kWeapon = 0;
constexpr std::uint16_t kUsable = 3;
constexpr std::uint16_t kOffense = 0;
constexpr std::uint16_t kRunScript = 5;

// Builds a level of two to four records of every counted kind, referring to each other at
// random through every kind of reference: by identifier and by position, from records, scripts
// and the level information.
class RandomLevel {
 public:
  explicit RandomLevel(unsigned seed) : random_(seed) {
    for (const auto& [category, firstId] : kFirstIds) count_[category] = 3 + Pick(4);
  }

  Blob Build() {
    LevelBuilder builder;
    AddChained<TileFields>(builder, Category::Tiles, TileRecord, [](TileFields&) {});
    AddChained<MapFields>(builder, Category::Maps, MapRecord, [this](MapFields& map) {
      map.size = 3;
      map.At(Pick(3), Pick(3)) = {Id(Category::Tiles), Id(Category::Tiles), 0};
      map.At(2, 2)[2] = Id(Category::Tiles);
      map.borders[Pick(4)] = Id(Category::Tiles);
    });
    AddChained<ObjectFields>(builder, Category::Objects, ObjectRecord,
                             [this](ObjectFields& object) {
                               object.mapId = Id(Category::Maps);
                               object.scriptIds[Pick(10)] = Maybe(Category::ObjectScripts);
                             });
    for (Category scripts : {Category::GlobalScripts, Category::DeathScripts,
                             Category::ObjectScripts, Category::StartupScripts}) {
      AddChained<ScriptFields>(builder, scripts, ScriptBlob,
                               [this](ScriptFields& script) { FillScript(script); });
    }
    AddChained<ItemFields>(builder, Category::Items, ItemBlob, [this](ItemFields& item) {
      item.type = Pick(3) ? kWeapon : kUsable;
      item.parameters[0] = static_cast<std::int16_t>(Position(Category::ObjectScripts));
      item.groups = {static_cast<std::int16_t>(Pick(20)), -1};
    });
    AddChained<SpellFields>(builder, Category::Spells, SpellBlob, [this](SpellFields& spell) {
      spell.type = Pick(3) ? kOffense : kRunScript;
      spell.parameters[0] = static_cast<std::int16_t>(Position(Category::ObjectScripts));
      spell.learnId = Maybe(Category::Spells);
    });
    AddChained<ShopFields>(builder, Category::Shops, ShopRecord, [this](ShopFields& shop) {
      shop.items[Pick(10)] = Maybe(Category::Items);
    });
    AddChained<MonsterFields>(builder, Category::Monsters, MonsterRecord,
                              [this](MonsterFields& monster) {
                                monster.group1 = static_cast<std::int16_t>(Pick(20));
                                monster.items[Pick(10)] = Maybe(Category::Items);
                                monster.spells[Pick(10)] = Maybe(Category::Spells);
                                monster.preScripts[Pick(10)] = Maybe(Category::ObjectScripts);
                                monster.postScripts[Pick(10)] = Maybe(Category::ObjectScripts);
                                monster.tiles[Pick(10)] = Maybe(Category::Tiles);
                              });
    AddChained<PaletteFields>(builder, Category::Palettes, PaletteBlob, [](PaletteFields&) {});
    for (int i = 0; i < count_[Category::Texts]; ++i) {
      builder.Add(Category::Texts, TextBlob({.name = "Text " + std::to_string(i)}));
    }
    AddChained<CharacterFields>(builder, Category::Characters, CharacterBlob,
                                [](CharacterFields&) {});
    AddChained<SongFields>(builder, Category::Songs, SongBlob, [](SongFields&) {});
    AddChained<GraphicFields>(builder, Category::Graphics, GraphicRecord, [](GraphicFields&) {});
    AddChained<ListFields>(builder, Category::Lists, ListBlob, [this](ListFields& list) {
      list.count = 2;
      list.resultIds[Pick(2)] = Maybe(Category::ObjectScripts);
    });
    builder.info.paletteId = Id(Category::Palettes);
    builder.info.backgroundId = Id(Category::Graphics);
    builder.info.combatScreenId = Id(Category::Graphics);
    builder.info.inventoryScreenId = Id(Category::Graphics);
    return builder.Build();
  }

  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

 private:
  int Position(Category category) { return Pick(count_[category]); }
  std::uint32_t Id(Category category) {
    return kFirstIds.at(category) + static_cast<std::uint32_t>(Position(category));
  }

  // Half of the optional references are left empty, so that many records can be deleted.
  std::uint32_t Maybe(Category category) { return Pick(2) ? Id(category) : 0; }

  template <class Spec, class Fill>
  void AddChained(LevelBuilder& builder, Category category, Blob (*blob)(const Spec&), Fill fill) {
    std::vector<Spec> specs(static_cast<std::size_t>(count_[category]));
    for (std::size_t i = 0; i < specs.size(); ++i) {
      specs[i].name = std::string(zr3::InfoOf(category).commandName) + " " + std::to_string(i);
      fill(specs[i]);
    }
    ChainIds(specs, kFirstIds.at(category));
    for (const Spec& spec : specs) builder.Add(category, blob(spec));
  }

  // Conditions and commands naming a record of each kind by its position.
  void FillScript(ScriptFields& script) {
    auto at = [this](Category category) { return static_cast<std::int16_t>(Position(category)); };
    const std::vector<std::function<SlotFields()>> conditions = {
        [&] {
          return SlotFields{4, {0, at(Category::Items)}};
        },
        [&] {
          return SlotFields{5, {0, at(Category::Characters)}};
        },
        [&] {
          return SlotFields{6, {0, at(Category::Palettes)}};
        },
        [&] {
          return SlotFields{12, {0, at(Category::Spells)}};
        },
        [&] {
          return SlotFields{2, {0, 0, at(Category::Maps), 0, 1, 0, 1}};
        },
        [&] {
          return SlotFields{1, {static_cast<std::int16_t>(Pick(256)), 0, 0, 5}};
        }};
    const std::vector<std::function<SlotFields()>> commands = {
        [&] {
          return SlotFields{104, {0, at(Category::Items)}};
        },
        [&] {
          return SlotFields{105, {at(Category::Characters)}};
        },
        [&] {
          return SlotFields{106, {at(Category::Graphics), -1}};
        },
        [&] {
          return SlotFields{107, {at(Category::Texts)}};
        },
        [&] {
          return SlotFields{109, {at(Category::Songs)}};
        },
        [&] {
          return SlotFields{111, {at(Category::Spells)}};
        },
        [&] {
          return SlotFields{112, {0, at(Category::Objects), at(Category::Maps), 1, 1}};
        },
        [&] {
          return SlotFields{113, {at(Category::Tiles), at(Category::Tiles), at(Category::Maps)}};
        },
        [&] {
          return SlotFields{114, {at(Category::ObjectScripts), 0, 0, 1}};
        },
        [&] {
          return SlotFields{116, {at(Category::Palettes)}};
        },
        [&] {
          return SlotFields{118, {at(Category::Shops)}};
        },
        [&] {
          return SlotFields{119, {0, at(Category::Monsters)}};
        },
        [&] {
          return SlotFields{129, {at(Category::Lists)}};
        }};
    script.conditionCount = static_cast<std::uint8_t>(Pick(2));
    script.commandCount = static_cast<std::uint8_t>(Pick(3));
    for (std::size_t i = 0; i < script.conditionCount; ++i) {
      script.conditions[i] =
          conditions[static_cast<std::size_t>(Pick(static_cast<int>(conditions.size())))]();
    }
    for (std::size_t i = 0; i < script.commandCount; ++i) {
      script.commands[i] =
          commands[static_cast<std::size_t>(Pick(static_cast<int>(commands.size())))]();
    }
  }

  std::mt19937 random_;
  std::map<Category, int> count_;
};

// What every record and the level information show and which places refer to each record,
// all by name, with the identifier lines (which a save renews) left out.
std::vector<std::string> Snapshot(const zr3::ZR3Level& level) {
  std::vector<std::string> lines;
  level.DescribeInfo(lines);
  for (const auto& [category, firstId] : kFirstIds) {
    for (std::size_t i = 0; i < level.List(category).size(); ++i) {
      zr3::Lines record;
      level.List(category)[i]->Describe(record);
      for (const std::string& line : record) {
        if (line.starts_with("Next Id:") || line.starts_with("Prev Id:") ||
            line.starts_with("Id:")) {
          continue;
        }
        // A border line shows the stored identifier before the tile's name.
        lines.push_back(line.starts_with("Border ") ? line.substr(0, 9) + line.substr(21) : line);
      }
      for (std::string& line : zr3::SearchReferences(level, category, i)) {
        lines.push_back(std::move(line));
      }
    }
  }
  return lines;
}

// Names the first line where two snapshots differ.
::testing::AssertionResult SameSnapshot(const std::vector<std::string>& actual,
                                        const std::vector<std::string>& expected) {
  for (std::size_t i = 0; i < std::min(actual.size(), expected.size()); ++i) {
    if (actual[i] != expected[i]) {
      return ::testing::AssertionFailure()
             << "line " << i << ": \"" << actual[i] << "\" instead of \"" << expected[i] << "\"";
    }
  }
  if (actual.size() != expected.size()) {
    return ::testing::AssertionFailure()
           << actual.size() << " lines instead of " << expected.size();
  }
  return ::testing::AssertionSuccess();
}

// Random moves, copies and deletions; every record keeps a name of its own so that what a
// reference names can be told by name.
// The removed records are kept alive, so that a reference left pointing at one shows up as a
// difference after the round trip instead of as a crash.
void Edit(zr3::ZR3Level& level, RandomLevel& random, int operations,
          std::vector<std::unique_ptr<zr3::ZR3Base>>& removed) {
  std::vector<Category> categories;
  for (const auto& [category, firstId] : kFirstIds) categories.push_back(category);
  int copies = 0;
  for (int op = 0; op < operations; ++op) {
    const Category category =
        categories[static_cast<std::size_t>(random.Pick(static_cast<int>(categories.size())))];
    const auto index =
        static_cast<std::size_t>(random.Pick(static_cast<int>(level.List(category).size())));
    switch (random.Pick(5)) {
      case 0:
        zr3::MoveRecord(level, category, index, zr3::MoveDirection::Up);
        break;
      case 1:
        zr3::MoveRecord(level, category, index, zr3::MoveDirection::Down);
        break;
      case 2: {
        const Category target =
            zr3::IsScriptCategory(category) ? zr3::ScriptCategoryOfKind(random.Pick(4)) : category;
        const zr3::CopyResult copy = zr3::CopyRecord(level, category, index, target);
        ASSERT_TRUE(copy.Copied()) << copy.refusal;
        zr3::RenameRecord(level, target, copy.index, "copy " + std::to_string(++copies));
        ASSERT_TRUE(ListIsConsistent(level, target));
        break;
      }
      default: {
        const zr3::DeletionCheck check = zr3::CheckDeletion(level, category, index);
        const bool unreferenced = zr3::SearchReferences(level, category, index).size() == 2;
        ASSERT_EQ(check.Allowed(), unreferenced && level.List(category).size() > 1)
            << check.refusal;
        zr3::DeletionResult deletion = zr3::DeleteRecord(level, category, index);
        ASSERT_EQ(deletion.Deleted(), check.Allowed());
        if (deletion.Deleted()) removed.push_back(std::move(deletion.removed));
      }
    }
    ASSERT_TRUE(ListIsConsistent(level, category));
  }
}

}  // namespace

TEST(EditProperty, EveryReferenceNamesTheSameRecordAfterEditsAndARoundTrip) {
  for (unsigned seed = 1; seed <= 6; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    RandomLevel random(seed);
    zr3::ZR3Level level;
    level.LoadFromBytes(random.Build().Bytes());
    std::vector<std::unique_ptr<zr3::ZR3Base>> removed;
    Edit(level, random, 150, removed);
    if (HasFatalFailure()) return;

    const std::vector<std::string> before = Snapshot(level);
    const std::string saved = level.SaveToBytes();
    // Saving refreshes the positions items and spells keep; it changes nothing else.
    EXPECT_TRUE(SameSnapshot(Snapshot(level), before));
    zr3::ZR3Level reloaded;
    reloaded.LoadFromBytes(saved);
    EXPECT_TRUE(SameSnapshot(Snapshot(reloaded), before));
    for (const auto& [category, firstId] : kFirstIds) {
      if (category != Category::Texts) {
        EXPECT_TRUE(StoredChainIsUnbroken(reloaded, category));
      }
    }
  }
}
