#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <random>
#include <set>
#include <tuple>

#include "compare/diff_helpers.h"
#include "edit/copy.h"
#include "edit/deletion.h"
#include "edit/field_edit.h"
#include "edit/map_paint.h"
#include "edit/rename.h"
#include "edit/reorder.h"
#include "level/field_access.h"
#include "merge/conflict_resolution.h"
#include "merge/level_merge.h"
#include "records/zr3map.h"
#include "script/zr3script.h"
#include "stress_level.h"
#include "support/edit_levels.h"

namespace {

using namespace zr3;
using merge::ConflictKind;
using merge::MergeConflict;
using merge::MergeLevels;
using zr3test::Resaved;

using Edit = std::function<void(ZR3Level&)>;

std::size_t Named(const ZR3Level& level, Category list, const std::string& name) {
  const int index = level.FindByName(name, list);
  EXPECT_GE(index, 0) << name;
  return static_cast<std::size_t>(std::max(index, 0));
}

// Every record by list and name with its fields, references by the name of their record and
// cells by their tiles' names: the content of a level whatever the order of its records.
std::map<std::string, std::string> Contents(const ZR3Level& level) {
  std::map<std::string, std::string> contents;
  for (const Category list : kFileOrder) {
    for (const auto& record : level.List(list)) {
      std::string text;
      for (const FieldInfo& field : record->Fields()) {
        if (field.kind == FieldKind::ChainId) continue;
        const std::vector<FieldInfo> one = {field};
        for (const FieldInfo& value : field.kind == FieldKind::Run ? field.elements : one) {
          text += value.name + '=' + (value.resolved ? '@' + value.resolved->Name() : value.value);
          text += ';';
        }
      }
      if (const auto* map = dynamic_cast<const ZR3Map*>(record.get())) {
        for (int row = 0; row < map->Side(); ++row) {
          for (int column = 0; column < map->Side(); ++column) {
            for (std::size_t slot = 0; slot < ZR3Map::kSlotsPerCell; ++slot) {
              const ZR3ChainRecord* tile = map->CellTile(row, column, slot);
              text += tile ? tile->Name() : "-";
            }
          }
        }
      }
      contents[std::string(InfoOf(list).commandName) + '/' + record->Name()] += text;
    }
  }
  return contents;
}

// Two random sets of edits on disjoint records and fields of a level, each known by record
// name so that it applies to the base and to the other side's version alike.
class DisjointEdits {
 public:
  DisjointEdits(const ZR3Level& base, unsigned seed) : random_(seed) {
    for (const Category list : kFileOrder) {
      if (IsFixedTable(list)) continue;
      std::map<std::string, int> names;
      for (const auto& record : base.List(list)) ++names[record->Name()];
      for (const auto& record : base.List(list)) {
        if (names[record->Name()] == 1) named_[list].push_back(record->Name());
      }
      if (!named_[list].empty()) lists_.push_back(list);
    }
  }

  // Adds count edits to each side.
  void Make(const ZR3Level& base, int count) {
    for (int side = 0; side < 2; ++side) {
      for (int made = 0, tries = 0; made < count && tries < count * 20; ++tries) {
        made += MakeOne(base, side) ? 1 : 0;
      }
    }
  }
  static void Apply(const std::vector<Edit>& edits, ZR3Level& level) {
    for (const Edit& edit : edits) edit(level);
  }
  const std::vector<Edit>& Side(int side) const { return edits_[side]; }

 private:
  std::size_t Pick(std::size_t count) { return random_() % count; }

  // Claims a field (or with an empty field the whole record) for one side: refused when the
  // other side holds the field or the record.
  bool Claim(int side, const std::string& record, const std::string& field) {
    const auto& own = claims_[side][record];
    const auto& other = claims_[1 - side][record];
    if (own.contains("") || other.contains("") || other.contains(field) ||
        (field.empty() && !(own.empty() && other.empty()))) {
      return false;
    }
    claims_[side][record].insert(field);
    return true;
  }

  bool MakeOne(const ZR3Level& base, int side) {
    const Category list = lists_[Pick(lists_.size())];
    const std::string name = named_[list][Pick(named_[list].size())];
    const std::string key = std::string(InfoOf(list).commandName) + '/' + name;
    const ZR3Base& record = *base.List(list)[Named(base, list, name)];
    std::vector<Edit>& edits = edits_[side];
    const std::string serial = std::to_string(serial_++);
    switch (Pick(6)) {
      case 0: {
        const FieldList fields = record.Fields();
        std::vector<const FieldInfo*> plain;
        for (const FieldInfo& field : fields) {
          if (field.editable && field.kind == FieldKind::Integer &&
              !field.name.ends_with("count") && field.name != "size") {
            plain.push_back(&field);
          }
        }
        if (plain.empty()) return false;
        const FieldInfo& field = *plain[Pick(plain.size())];
        if (!Claim(side, key, field.name)) return false;
        const std::string value =
            std::to_string(std::min<std::int64_t>(field.max, field.number + 1 + Pick(50)));
        edits.push_back([=](ZR3Level& level) {
          EditField(level, {list, Named(level, list, name)}, field.name, value);
        });
        return true;
      }
      case 1: {
        const auto* map = dynamic_cast<const ZR3Map*>(&record);
        const RecordList& tiles = base.List(Category::Tiles);
        if (!map || map->Side() == 0 || tiles.empty()) return false;
        const int row = static_cast<int>(Pick(static_cast<std::size_t>(map->Side())));
        const int column = static_cast<int>(Pick(static_cast<std::size_t>(map->Side())));
        const std::size_t slot = Pick(3);
        const std::string tile = tiles[Pick(tiles.size())]->Name();
        if (base.FindByName(tile, Category::Tiles) !=
                static_cast<int>(Named(base, Category::Tiles, tile)) ||
            !Claim(side, key,
                   "cell " + std::to_string(row) + ' ' + std::to_string(column) + ' ' +
                       std::to_string(slot))) {
          return false;
        }
        edits.push_back([=](ZR3Level& level) {
          const std::size_t index = Named(level, Category::Maps, name);
          MapPaint paint(level, index);
          paint.Set(level, row, column, slot,
                    static_cast<ZR3ChainRecord*>(
                        level.List(Category::Tiles)[Named(level, Category::Tiles, tile)].get()));
        });
        return true;
      }
      case 2: {
        if (list != Category::Palettes) return false;
        const std::size_t colour = Pick(256);
        if (!Claim(side, key, "colour " + std::to_string(colour))) return false;
        const auto red = static_cast<std::uint8_t>(Pick(256));
        edits.push_back([=](ZR3Level& level) {
          EditPaletteColour(level, Named(level, list, name), colour, {red, 9, 9});
        });
        return true;
      }
      case 3: {
        // A copy takes its source as that side sees it: the other side may not change it.
        if (!Claim(side, key, "")) return false;
        const std::string copyName = (side == 0 ? "A" : "B") + serial;
        edits.push_back([=](ZR3Level& level) {
          const CopyResult copy = CopyRecord(level, list, Named(level, list, name));
          ASSERT_TRUE(copy.Copied()) << copy.refusal;
          RenameRecord(level, list, copy.index, copyName);
        });
        return true;
      }
      case 4: {
        if (!CheckDeletion(base, list, Named(base, list, name)).Allowed() ||
            !Claim(side, key, "")) {
          return false;
        }
        edits.push_back(
            [=](ZR3Level& level) { DeleteRecord(level, list, Named(level, list, name)); });
        return true;
      }
      default: {
        static const std::array<std::string, 3> kInfo = {"author", "version", "level_text"};
        const std::string field = kInfo[Pick(kInfo.size())];
        if (!Claim(side, "info", field)) return false;
        const std::string value = (side == 0 ? "A" : "B") + serial;
        edits.push_back([=](ZR3Level& level) { EditField(level, FieldOwner{}, field, value); });
        return true;
      }
    }
  }

  std::mt19937 random_;
  std::vector<Category> lists_;
  std::map<Category, std::vector<std::string>> named_;
  std::array<std::map<std::string, std::set<std::string>>, 2> claims_;
  std::array<std::vector<Edit>, 2> edits_;
  unsigned serial_ = 0;
};

// merge(base, A(base), B(base)) is B applied to A(base), byte for byte; the sides swapped give
// the same content; neither conflicts.
void CheckDisjointMerge(const std::string& baseBytes, unsigned seed, int editsPerSide) {
  SCOPED_TRACE("seed " + std::to_string(seed));
  ZR3Level base;
  base.LoadFromBytes(baseBytes);
  DisjointEdits edits(base, seed);
  edits.Make(base, editsPerSide);
  const auto version = [&](const std::vector<const std::vector<Edit>*>& sets) {
    ZR3Level level;
    level.LoadFromBytes(baseBytes);
    for (const auto* set : sets) DisjointEdits::Apply(*set, level);
    return Resaved(level);
  };
  const auto a = version({&edits.Side(0)});
  const auto b = version({&edits.Side(1)});
  const auto expected = version({&edits.Side(0), &edits.Side(1)});

  auto merged = Resaved(*a);
  EXPECT_EQ(MergeLevels(base, *merged, *b), std::vector<MergeConflict>{});
  EXPECT_TRUE(merged->SaveToBytes() == expected->SaveToBytes());
  EXPECT_TRUE(compare::CompareLevels(*expected, *merged).Empty());

  auto swapped = Resaved(*b);
  EXPECT_EQ(MergeLevels(base, *swapped, *a), std::vector<MergeConflict>{});
  EXPECT_EQ(Contents(*swapped), Contents(*merged));
}

TEST(LevelMergeProperty, DisjointEditsOfTheWorldMergeAsIfMadeOneAfterTheOther) {
  ZR3Level world;
  zr3test::LoadWorld(world);
  const std::string bytes = world.SaveToBytes();
  for (unsigned seed = 1; seed <= 40; ++seed) CheckDisjointMerge(bytes, seed, 1 + seed % 6);
}

TEST(LevelMergeProperty, DisjointEditsOfAStressLevelMergeAsIfMadeOneAfterTheOther) {
  const std::string bytes = zr3bench::BuildStressLevel(zr3bench::SizeNamed("large/64"));
  for (unsigned seed = 1; seed <= 3; ++seed) CheckDisjointMerge(bytes, seed, 40);
}

// A version merged with itself, or with a base that one side left as it was, is that version.
TEST(LevelMergeProperty, AVersionMergedWithItselfOrAnUnchangedSideIsThatVersion) {
  ZR3Level world;
  zr3test::LoadWorld(world);
  const auto base = Resaved(world);
  DisjointEdits edits(*base, 7);
  edits.Make(*base, 6);
  const auto edited = Resaved(world);
  DisjointEdits::Apply(edits.Side(0), *edited);
  const std::string expected = edited->SaveToBytes();
  ZR3Level* const cases[][3] = {
      {edited.get(), edited.get(), edited.get()},
      {base.get(), edited.get(), base.get()},
      {base.get(), base.get(), edited.get()},
  };
  for (const auto& [from, ours, theirs] : cases) {
    auto merged = Resaved(*ours);
    EXPECT_TRUE(MergeLevels(*from, *merged, *theirs).empty());
    EXPECT_TRUE(merged->SaveToBytes() == expected);
  }
}

// The three versions of the world: ours and theirs each made by their edits.
struct Versions {
  ZR3Level base;
  std::unique_ptr<ZR3Level> ours;
  std::unique_ptr<ZR3Level> theirs;

  Versions(const Edit& ourEdit, const Edit& theirEdit) {
    zr3test::LoadWorld(base);
    ours = Resaved(base);
    ourEdit(*ours);
    ours = Resaved(*ours);
    theirs = Resaved(base);
    theirEdit(*theirs);
    theirs = Resaved(*theirs);
  }
};

TEST(LevelMergeConflicts, EachKindIsReportedWithItsValuesAndOursIsKept) {
  const auto side = [](const char* cost, const char* tile, std::uint8_t red, const char* author) {
    return [=](ZR3Level& level) {
      EditField(level, {Category::Items, Named(level, Category::Items, "Potion")}, "cost", cost);
      const std::size_t painted = Named(level, Category::Tiles, tile);
      MapPaint(level, 0).Set(
          level, 1, 1, 1, static_cast<ZR3ChainRecord*>(level.List(Category::Tiles)[painted].get()));
      EditPaletteColour(level, 1, 7, {red, 0, 0});
      EditField(level, FieldOwner{}, "author", author);
    };
  };
  const Versions versions(side("11", "Water", 1, "Ann"), side("22", "Lava", 2, "Bo"));
  auto merged = Resaved(*versions.ours);
  const std::size_t potion = Named(*merged, Category::Items, "Potion");
  const auto both = ConflictKind::ChangedOnBoth;
  const std::vector<MergeConflict> expected = {
      {both, std::nullopt, 0, "", {"author", {}, {}}, "\"\"", "\"Ann\"", "\"Bo\""},
      {both,
       Category::Maps,
       0,
       "Town",
       {"", merge::ConflictPlace::Cell{2, 1, 1}, {}},
       "null",
       "1",
       "2"},
      {both, Category::Items, potion, "Potion", {"cost", {}, {}}, "0", "11", "22"},
      {both, Category::Palettes, 1, "Night", {"", {}, 7}, "[0,0,0]", "[1,0,0]", "[2,0,0]"},
  };
  EXPECT_EQ(MergeLevels(versions.base, *merged, *versions.theirs), expected);
  EXPECT_TRUE(compare::CompareLevels(*versions.ours, *merged).Empty());
}

TEST(LevelMergeConflicts, DeletionAgainstAChangeOrANewReferenceKeepsOurs) {
  const auto deleteField = [](ZR3Level& level) {
    ASSERT_TRUE(
        DeleteRecord(level, Category::Maps, Named(level, Category::Maps, "Field")).Deleted());
  };
  const auto renameField = [](ZR3Level& level) {
    RenameRecord(level, Category::Maps, Named(level, Category::Maps, "Field"), "Meadow");
  };
  const auto referField = [](ZR3Level& level) {
    EditField(level, {Category::Objects, Named(level, Category::Objects, "Door")}, "map",
              std::to_string(Named(level, Category::Maps, "Field")));
  };
  for (const bool oursDeletes : {true, false}) {
    SCOPED_TRACE(oursDeletes ? "ours deletes" : "theirs deletes");
    const Versions changed(oursDeletes ? Edit(deleteField) : Edit(renameField),
                           oursDeletes ? Edit(renameField) : Edit(deleteField));
    auto merged = Resaved(*changed.ours);
    const std::vector<MergeConflict> conflicts =
        MergeLevels(changed.base, *merged, *changed.theirs);
    ASSERT_EQ(conflicts.size(), 1u);
    EXPECT_EQ(conflicts[0].kind, ConflictKind::DeletedAndChanged);
    EXPECT_TRUE(conflicts[0].place.WholeRecord());
    EXPECT_EQ(conflicts[0].index, 2u);
    EXPECT_NE(conflicts[0].base.find("\"name\":\"Field\""), std::string::npos);
    EXPECT_EQ(oursDeletes ? conflicts[0].ours : conflicts[0].theirs, "null");
    EXPECT_NE((oursDeletes ? conflicts[0].theirs : conflicts[0].ours).find("Meadow"),
              std::string::npos);
    EXPECT_TRUE(compare::CompareLevels(*changed.ours, *merged).Empty());

    const Versions referred(oursDeletes ? Edit(deleteField) : Edit(referField),
                            oursDeletes ? Edit(referField) : Edit(deleteField));
    merged = Resaved(*referred.ours);
    const std::vector<MergeConflict> found = MergeLevels(referred.base, *merged, *referred.theirs);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].kind, ConflictKind::DeletedAndReferenced);
    if (oursDeletes) {
      EXPECT_EQ(found[0].category, Category::Objects);
      EXPECT_EQ(found[0].name, "Door");
      EXPECT_EQ(found[0].place.field, "map");
      // The field ours deleted has no place in the merged level: theirs names it by its
      // identifier, as an unresolved reference.
      const auto& field = referred.theirs->At<ZR3Map>(
          Category::Maps, Named(*referred.theirs, Category::Maps, "Field"));
      EXPECT_EQ(found[0].theirs, "{\"unresolved\":" + std::to_string(field.StoredId()) + "}");
    } else {
      EXPECT_EQ(found[0].category, Category::Maps);
      EXPECT_EQ(found[0].name, "Field");
      EXPECT_TRUE(found[0].place.WholeRecord());
      EXPECT_EQ(found[0].theirs, "null");
    }
    EXPECT_TRUE(compare::CompareLevels(*referred.ours, *merged).Empty());
  }
}

// Both sides put a copy of the first map, tile and object script at the front of its list, so
// each version counts the records it refers to differently, and each points the door, a cell
// and a script's command at records of its own choice. Resolved with theirs or with the
// base, every conflict names the record that side named.
TEST(LevelMergeConflicts, TheirsAndTheBaseNameTheirRecordsInTheMergedLevel) {
  const auto side = [](const std::string& prefix, const std::string& map, const std::string& tile,
                       const std::string& script) {
    return [=](ZR3Level& level) {
      for (const Category list : {Category::Maps, Category::Tiles, Category::ObjectScripts}) {
        const std::size_t copy = CopyRecord(level, list, 0).index;
        RenameRecord(level, list, copy, prefix + level.List(list)[0]->Name());
        for (std::size_t at = copy; at > 0; --at) MoveRecord(level, list, at, MoveDirection::Up);
      }
      EditField(level, {Category::Objects, 0}, "map",
                std::to_string(Named(level, Category::Maps, map)));
      MapPaint(level, Named(level, Category::Maps, "Town"))
          .Set(level, 0, 1, 0,
               static_cast<ZR3ChainRecord*>(
                   level.List(Category::Tiles)[Named(level, Category::Tiles, tile)].get()));
      auto& loop = level.At<ZR3Script>(Category::ObjectScripts,
                                       Named(level, Category::ObjectScripts, "Loop"));
      loop.Command(0).SetParameter(
          0, static_cast<std::int16_t>(Named(level, Category::ObjectScripts, script)));
      loop.Command(0).Link(level);
    };
  };
  const Versions versions(side("A-", "Cave", "Water", "Drink"),
                          side("B-", "Field", "Lava", "Spare"));
  auto merged = Resaved(*versions.ours);
  const std::vector<MergeConflict> conflicts =
      MergeLevels(versions.base, *merged, *versions.theirs);
  ASSERT_EQ(conflicts.size(), 3u);
  // What the door, the cell and the command name in the merged level.
  const auto named = [&](const MergeConflict& conflict) -> std::string {
    if (conflict.place.cell) {
      const ZR3Base* tile = merged->At<ZR3Map>(Category::Maps, conflict.index).CellTile(0, 1, 0);
      return tile ? tile->Name() : "-";
    }
    if (conflict.category == Category::ObjectScripts) {
      return merged->At<ZR3Script>(Category::ObjectScripts, conflict.index)
          .Command(0)
          .KeywordText();
    }
    for (const FieldInfo& field : merged->List(Category::Objects)[conflict.index]->Fields()) {
      if (field.name == "map") return field.resolved ? field.resolved->Name() : "-";
    }
    return "no map field";
  };
  const std::map<std::string, std::array<std::string, 2>> expected = {
      {"map", {"Field", "Town"}},
      {"cell", {"Lava", "Grass"}},
      {"commands[0]", {"run \"Spare\" process val 1", "run \"Loop\" process val 1"}},
  };
  for (const MergeConflict& conflict : conflicts) {
    const std::string place = conflict.place.cell ? "cell" : conflict.place.field;
    SCOPED_TRACE(place);
    ASSERT_TRUE(expected.contains(place));
    const std::string ours = named(conflict);
    for (const merge::ConflictSide chosen :
         {merge::ConflictSide::Theirs, merge::ConflictSide::Base}) {
      merge::ConflictResolution resolution = merge::ResolveConflict(*merged, conflict, chosen);
      const std::string want = expected.at(place)[chosen == merge::ConflictSide::Theirs ? 0 : 1];
      EXPECT_EQ(named(conflict), want) << merge::SideName(chosen);
      resolution.Undo(*merged);
      EXPECT_EQ(named(conflict), ours);
    }
  }
}

// Each side copies a map, a tile and the object: its new tile goes on its new map's cell and
// border and on an old map's border, its new object stands on its new map. Every reference
// lands on the right record in the merged level.
TEST(LevelMerge, RecordsAddedOnBothSidesKeepTheirReferences) {
  const auto addAndRefer = [](std::string prefix, std::string map, std::string tile,
                              std::string referrer) {
    return [=](ZR3Level& level) {
      const auto copy = [&](Category list, const std::string& name) {
        const CopyResult made = CopyRecord(level, list, Named(level, list, name));
        RenameRecord(level, list, made.index, prefix + name);
        return made.index;
      };
      const std::size_t newMap = copy(Category::Maps, map);
      const std::size_t newTile = copy(Category::Tiles, tile);
      const std::size_t newObject = copy(Category::Objects, "Door");
      MapPaint(level, newMap)
          .Set(level, 0, 0, 0,
               static_cast<ZR3ChainRecord*>(level.List(Category::Tiles)[newTile].get()));
      for (const std::size_t border : {newMap, Named(level, Category::Maps, referrer)}) {
        EditField(level, {Category::Maps, border}, "border_south", std::to_string(newTile));
      }
      EditField(level, {Category::Objects, newObject}, "map", std::to_string(newMap));
    };
  };
  const Versions versions(addAndRefer("A-", "Town", "Grass", "Cave"),
                          addAndRefer("B-", "Cave", "Lava", "Field"));
  auto merged = Resaved(*versions.ours);
  EXPECT_TRUE(MergeLevels(versions.base, *merged, *versions.theirs).empty());
  merged = Resaved(*merged);
  std::vector<std::string> tiles;
  for (const auto& tile : merged->List(Category::Tiles)) tiles.push_back(tile->Name());
  EXPECT_EQ(tiles, (std::vector<std::string>{"Grass", "Water", "Lava", "A-Grass", "B-Lava"}));
  const auto map = [&](const std::string& name) -> const ZR3Map& {
    return merged->At<ZR3Map>(Category::Maps, Named(*merged, Category::Maps, name));
  };
  for (const auto& [prefix, newMap, tile, referrer] :
       {std::tuple{"A-", "A-Town", "A-Grass", "Cave"},
        std::tuple{"B-", "B-Cave", "B-Lava", "Field"}}) {
    EXPECT_EQ(map(newMap).CellTile(0, 0, 0)->Name(), tile);
    EXPECT_EQ(map(newMap).Border(2)->Name(), tile);
    EXPECT_EQ(map(referrer).Border(2)->Name(), tile);
    const std::string door = std::string(prefix) + "Door";
    const ZR3Base& object =
        *merged->List(Category::Objects)[Named(*merged, Category::Objects, door)];
    EXPECT_EQ(
        FieldText(*merged, {Category::Objects, static_cast<std::size_t>(object.Position())}, "map"),
        std::to_string(Named(*merged, Category::Maps, newMap)));
    const ZR3Level& side = std::string(prefix) == "A-" ? *versions.ours : *versions.theirs;
    for (const std::string& name : {std::string(newMap), door}) {
      const std::string key = (name == door ? "objects/" : "maps/") + name;
      EXPECT_EQ(Contents(*merged).at(key), Contents(side).at(key));
    }
  }
}

// Theirs moves the axe below the potion while ours sets its cost: the merge has both.
TEST(LevelMerge, AMoveOnOneSideIsKept) {
  const Versions versions(
      [](ZR3Level& level) {
        EditField(level, {Category::Items, 0}, "cost", "9");
      },
      [](ZR3Level& level) { MoveRecord(level, Category::Items, 0, MoveDirection::Down); });
  auto merged = Resaved(*versions.ours);
  EXPECT_TRUE(MergeLevels(versions.base, *merged, *versions.theirs).empty());
  EXPECT_EQ(merged->List(Category::Items)[1]->Name(), "Axe");
  EXPECT_EQ(FieldText(*merged, {Category::Items, 1}, "cost"), "9");
}

}  // namespace
