#include <gtest/gtest.h>

#include "level/zr3error.h"
#include "script/entry_fixture.h"
#include "support/stand_in_record.h"

namespace zr3test {
namespace {

using zr3::Category;
using zr3::ScriptReference;
using CommandTexts = EntryTest;
using CommandLinks = EntryTest;
using CommandWrites = EntryTest;

TEST_F(CommandTexts, CommandsWithoutParameters) {
  EXPECT_EQ(CommandText({100, {1, 2}}), " No action");
  EXPECT_EQ(CommandText({108, {}}), " ");
  EXPECT_EQ(CommandText({115, {}}), " End game");
  EXPECT_EQ(CommandText({120, {}}), " Redraw map");
  EXPECT_EQ(CommandText({123, {}}), " Stop execution of scripts");
  EXPECT_EQ(CommandText({127, {}}), " Redo global scripts");
  EXPECT_EQ(CommandText({128, {}}), " Return to map screen");
}

TEST_F(CommandTexts, CodesOutsideTheTable) {
  EXPECT_EQ(CommandText({0, {4, 4}}), " null");
  EXPECT_EQ(CommandText({99, {}}), " null");
  EXPECT_EQ(CommandText({135, {}}), " Invalid (135) ");
  EXPECT_EQ(CommandText({60000, {}}), " Invalid (60000) ");
}

TEST_F(CommandTexts, FlagsAndAttributes) {
  EXPECT_EQ(CommandText({101, {0, 0, 0, 10}}), " Change flag value Add Gold Value 10");
  EXPECT_EQ(CommandText({101, {5, 2, 3, 1}}), " Change flag value Modulus Copper Flag Silver");
  EXPECT_EQ(CommandText({101, {6, 0, 2, 9}}), " Change flag value (6) Gold Random 0-9");
  EXPECT_EQ(CommandText({103, {3, 1, 1, 6}}), " Change attribute HP Subtract Attribute Max HP");
  EXPECT_EQ(CommandText({103, {9, 3, 0, -2}}), " Change attribute Exp Multiply Value -2");
  EXPECT_EQ(CommandText({131, {1, 2}}), " Get custom screen tap X into Silver, Y into Copper");
}

TEST_F(CommandTexts, LocationTriples) {
  EXPECT_EQ(CommandText({102, {0, 0, 0, 5, 0, 3}}), " Warp Map=Value Town, X=Value 5, Y=Value 3");
  EXPECT_EQ(CommandText({102, {2, 4, 1, 11, 1, 12}}),
            " Warp Map=Random 0-4, X=Attribute X Loc, Y=Attribute Y Loc");
  EXPECT_EQ(CommandText({102, {5, 7, 0, 1, 0, 2}}), " Warp Map=(5) 7, X=Value 1, Y=Value 2");
  EXPECT_EQ(CommandText({124, {0, 0, 10, 2, 5}}),
            " Advanced display graphic Portrait at X = Value 10, Y = Random 0-5");
  EXPECT_EQ(CommandText({125, {1, 0, 1, 1, 11, 3, 2}}),
            " Advanced tile change change to Water at map = Value Forest, X = Attribute X Loc, "
            "Y = Flag Copper");
  EXPECT_EQ(CommandText({126, {1, 0, 1, 13, 0, 4, 0, 5}}),
            " Advanced place/remove object remove Chest at map = Attribute Direction, X = Value "
            "4, Y = Value 5");
  EXPECT_EQ(CommandText({126, {0, 1, 0, 0, 0, 4, 0, 5}}),
            " Advanced place/remove object place Lamp at map = Value Town, X = Value 4, Y = Value "
            "5");
  EXPECT_EQ(CommandText({134, {0, 1, 0, 2, 0, 3, 2}}),
            " Delete tile layer Map Value Forest, X = Value 2, Y = Value 3 top layer");
  EXPECT_EQ(CommandText({134, {3, 0, 0, 2, 0, 3, 0}}),
            " Delete tile layer Map Flag Gold, X = Value 2, Y = Value 3 bottom layer");
  EXPECT_EQ(CommandText({134, {0, 0, 0, 2, 0, 3, 5}}),
            " Delete tile layer Map Value Town, X = Value 2, Y = Value 3");
}

TEST_F(CommandTexts, NamedRecords) {
  EXPECT_EQ(CommandText({104, {0, 0}}), " Give/take item Give Sword");
  EXPECT_EQ(CommandText({104, {1, 1}}), " Give/take item Take Shield");
  EXPECT_EQ(CommandText({105, {0}}), " Change char graphic Hero");
  EXPECT_EQ(CommandText({109, {0}}), " Play song Theme");
  EXPECT_EQ(CommandText({111, {0}}), " Learn spell Fireball");
  EXPECT_EQ(CommandText({130, {0}}), " Remove spell Fireball");
  EXPECT_EQ(CommandText({116, {0}}), " Change palette Dusk");
  EXPECT_EQ(CommandText({118, {0}}), " Display shop Smithy");
  EXPECT_EQ(CommandText({133, {0, 0}}), " Equip/unequip equip Sword");
  EXPECT_EQ(CommandText({133, {2, 1}}), " Equip/unequip unequip Shield");
  EXPECT_EQ(CommandText({114, {4, 0, 0, 1}}), " Run script Gate process conditions Value 1 times");
  EXPECT_EQ(CommandText({114, {0, 1, 3, 2}}),
            " Run script Door ignore conditions Flag Copper times");
}

TEST_F(CommandTexts, DisplayCommands) {
  EXPECT_EQ(CommandText({106, {0, -1, 7}}), " Display graphic Portrait Default position");
  EXPECT_EQ(CommandText({106, {1, 10, 20}}), " Display graphic Sky 10,20");
  EXPECT_EQ(CommandText({107, {0, 3, -1}}),
            " Display text Intro in color 3 at  Default position no wait");
  EXPECT_EQ(CommandText({107, {0, 15, 1, 2, 30, 40, 1}}),
            " Display text Intro in color 15 at  1,2 to 30,40 wait for key");
  EXPECT_EQ(CommandText({129, {0, 2, -1}}), " Display list Quests in color 2 at  Default position");
  EXPECT_EQ(CommandText({129, {0, 2, 0, 1, 9, 8}}),
            " Display list Quests in color 2 at  0,1 to 9,8");
  EXPECT_EQ(CommandText({121, {0, 0}}),
            " Change custom screen change graphic for  Background to Portrait");
  EXPECT_EQ(CommandText({121, {1, 1}}),
            " Change custom screen change graphic for  Inventory to Sky");
  EXPECT_EQ(CommandText({121, {2, 1}}), " Change custom screen change graphic for  Combat to Sky");
  EXPECT_EQ(CommandText({121, {5, 1}}), " Change custom screen change graphic for Sky");
  EXPECT_EQ(CommandText({122, {7}}), " Clear screen color 7");
}

TEST_F(CommandTexts, MapChanges) {
  EXPECT_EQ(CommandText({112, {0, 1, 1, 4, 5}}),
            " Place/remove object place Lamp on Forest at 4,5");
  EXPECT_EQ(CommandText({112, {1, 0, 0, 0, 0}}),
            " Place/remove object remove Chest on Town at 0,0");
  EXPECT_EQ(CommandText({113, {0, 1, -1}}),
            " Change map tiles replace Grass with Water on all maps");
  EXPECT_EQ(CommandText({113, {1, 0, 0, -1}}),
            " Change map tiles replace Water with Grass on Town everywhere");
  EXPECT_EQ(CommandText({113, {0, 1, 1, 2, 3}}),
            " Change map tiles replace Grass with Water on Forest at 2,3");
  EXPECT_EQ(CommandText({117, {1, 1, -2}}),
            " Change object graphic replace Lamp image with Sky on all maps");
  EXPECT_EQ(CommandText({117, {0, 0, 0, 3, 4}}),
            " Change object graphic replace Chest image with Portrait on Town at 3,4");
}

TEST_F(CommandTexts, PlayerAndCombat) {
  EXPECT_EQ(CommandText({110, {-1}}), " Wait for keypress");
  EXPECT_EQ(CommandText({110, {500}}), " Wait 500ms");
  EXPECT_EQ(CommandText({132, {0}}), " Walk player up");
  EXPECT_EQ(CommandText({132, {3}}), " Walk player right");
  EXPECT_EQ(CommandText({132, {4}}), " Walk player");
  EXPECT_EQ(CommandText({119, {0, 0}}), " start combat with Goblin");
  EXPECT_EQ(CommandText({119, {1, 5}}), " stop combat");
  EXPECT_EQ(CommandText({119, {0, 3}}), " start combat with  Bad reference");
}

TEST_F(CommandTexts, MissingReferenceAppendsBadReferenceWithItsBlank) {
  EXPECT_EQ(CommandText({104, {0, 2}}), " Give/take item Give  Bad reference");
  EXPECT_EQ(CommandText({101, {0, 256, 0, 10}}), " Change flag value Add  Bad reference");
  EXPECT_EQ(CommandText({102, {0, 2, 0, 5, 0, 3}}), " Warp Map=Value  Bad reference");
  EXPECT_EQ(CommandText({107, {-1, 3, -1}}), " Display text  Bad reference");
  EXPECT_EQ(CommandText({114, {6, 0, 0, 1}}), " Run script  Bad reference");
  EXPECT_EQ(CommandText({113, {0, 2, -1}}), " Change map tiles replace Grass with  Bad reference");
}

TEST_F(CommandLinks, WarpTakesFlagSlotsInOrderOfUse) {
  // Map from flag Gold, X from flag Silver, Y a value.
  const zr3::ZR3ScriptCommand warp = Command({102, {3, 0, 3, 1, 0, 2}});
  EXPECT_EQ(warp.ReadableText(), " Warp Map=Flag Gold, X=Flag Silver, Y=Value 2");
  EXPECT_EQ(warp.FlagSlot(0), &Flag(0));
  EXPECT_EQ(warp.FlagSlot(1), &Flag(1));
  EXPECT_EQ(warp.FlagSlot(2), nullptr);
  EXPECT_EQ(warp.Reference(ScriptReference::Map), nullptr);
  // X a value, Y from flag Copper: Copper takes slot 0.
  const zr3::ZR3ScriptCommand yFlag = Command({102, {0, 1, 0, 4, 3, 2}});
  EXPECT_EQ(yFlag.FlagSlot(0), &Flag(2));
  EXPECT_TRUE(yFlag.RefersTo(At(Category::Maps, 1)));
  EXPECT_EQ(yFlag.ReadableText(), " Warp Map=Value Forest, X=Value 4, Y=Flag Copper");
}

TEST_F(CommandLinks, IndexOutsideItsListLeavesLaterReferencesNull) {
  // Object 9 does not exist; map 1 would.
  const zr3::ZR3ScriptCommand place = Command({112, {0, 9, 1, 0, 0}});
  EXPECT_EQ(place.Reference(ScriptReference::Object), nullptr);
  EXPECT_EQ(place.Reference(ScriptReference::Map), nullptr);
  // The first tile is negative: the second tile and the map stay unresolved.
  const zr3::ZR3ScriptCommand tiles = Command({113, {-1, 1, 0, 0, 0}});
  EXPECT_FALSE(tiles.RefersTo(At(Category::Tiles, 1)));
  EXPECT_FALSE(tiles.RefersTo(At(Category::Maps, 0)));
  // The script resolves, its flag operand is out of range.
  const zr3::ZR3ScriptCommand run = Command({114, {2, 0, 3, 400}});
  EXPECT_TRUE(run.RefersTo(At(Category::ObjectScripts, 2)));
  EXPECT_EQ(run.ReadableText(), " Run script Well process conditions Flag  Bad reference");
  // "All maps" names no map, so nothing fails.
  const zr3::ZR3ScriptCommand graphic = Command({117, {1, 0, -1}});
  EXPECT_TRUE(graphic.RefersTo(At(Category::Objects, 1)));
  EXPECT_TRUE(graphic.RefersTo(At(Category::Graphics, 0)));
}

TEST_F(CommandLinks, EachKindAnswersItsQuery) {
  EXPECT_TRUE(Command({113, {0, 1, 0}}).RefersTo(At(Category::Tiles, 1)));
  EXPECT_TRUE(Command({125, {1, 2, 0}}).RefersTo(At(Category::Tiles, 1)));
  EXPECT_TRUE(Command({107, {0}}).RefersTo(At(Category::Texts, 0)));
  EXPECT_TRUE(Command({109, {0}}).RefersTo(At(Category::Songs, 0)));
  EXPECT_TRUE(Command({118, {0}}).RefersTo(At(Category::Shops, 0)));
  EXPECT_TRUE(Command({119, {0, 0}}).RefersTo(At(Category::Monsters, 0)));
  EXPECT_FALSE(Command({119, {1, 0}}).RefersTo(At(Category::Monsters, 0)));
  EXPECT_TRUE(Command({129, {0}}).RefersTo(At(Category::Lists, 0)));
  EXPECT_TRUE(Command({105, {0}}).RefersTo(At(Category::Characters, 0)));
  EXPECT_TRUE(Command({116, {0}}).RefersTo(At(Category::Palettes, 0)));
  EXPECT_TRUE(Command({130, {0}}).RefersTo(At(Category::Spells, 0)));
  EXPECT_TRUE(Command({133, {0, 1}}).RefersTo(At(Category::Items, 1)));
  EXPECT_TRUE(Command({121, {0, 1}}).RefersTo(At(Category::Graphics, 1)));
  EXPECT_TRUE(Command({131, {4, 2}}).RefersTo(Flag(2)));
  EXPECT_FALSE(Command({131, {4, 2}}).RefersTo(Flag(4 + 1)));
  // Below 100 and above 134 nothing links.
  EXPECT_FALSE(Command({99, {0, 0}}).RefersTo(At(Category::Items, 0)));
  EXPECT_FALSE(Command({135, {0, 0}}).RefersTo(At(Category::Items, 0)));
}

TEST_F(CommandLinks, RelinkingDropsTheReferencesOfTheOldCode) {
  zr3::ZR3ScriptCommand command = Command({102, {3, 1, 3, 2, 0, 0}});
  EXPECT_EQ(command.FlagSlot(1), &Flag(2));
  // The importer overwrites the slot with another code and links again.
  command.SetCode(101);
  command.SetParameter(0, 2);
  command.SetParameter(1, 0);
  command.SetParameter(2, 0);
  command.Link(level);
  EXPECT_EQ(command.FlagSlot(0), &Flag(0));
  EXPECT_EQ(command.FlagSlot(1), nullptr);
  EXPECT_FALSE(command.RefersTo(Flag(1)));
  EXPECT_FALSE(command.RefersTo(Flag(2)));

  command.SetCode(104);
  command.Link(level);
  EXPECT_FALSE(command.RefersTo(Flag(0)));
  EXPECT_TRUE(command.RefersTo(At(Category::Items, 0)));
}

TEST_F(CommandWrites, PositionParametersFollowTheirRecords) {
  AddStandIns(level, Category::Maps, {"Cave", "Swamp"});
  AddStandIns(level, Category::Objects, {"Barrel"});
  const zr3::ZR3ScriptCommand place = Command({126, {0, 2, 0, 3, 0, 9, 0, 8}});
  const zr3::ZR3ScriptCommand tiles = Command({113, {1, 0, -3, 4, 5}});
  const zr3::ZR3ScriptCommand moveobj = Command({112, {0, 2, 2, 7, 7}});
  MoveRecord(level, Category::Maps, 3, 0);
  MoveRecord(level, Category::Objects, 2, 0);
  MoveRecord(level, Category::Tiles, 1, 0);

  const std::string placed = Written(place);
  EXPECT_EQ(WrittenParameter(placed, 1), 0);
  EXPECT_EQ(WrittenParameter(placed, 3), 0);
  EXPECT_EQ(WrittenParameter(placed, 5), 9);
  const std::string changed = Written(tiles);
  EXPECT_EQ(WrittenParameter(changed, 0), 0);
  EXPECT_EQ(WrittenParameter(changed, 1), 1);
  EXPECT_EQ(WrittenParameter(changed, 2), -3);
  const std::string moved = Written(moveobj);
  EXPECT_EQ(WrittenParameter(moved, 1), 0);
  EXPECT_EQ(WrittenParameter(moved, 2), 3);
  EXPECT_EQ(moveobj.ReadableText(), " Place/remove object place Barrel on Cave at 7,7");
}

TEST_F(CommandWrites, APositionBeyondTheParameterRangeIsRefused) {
  const zr3::ZR3ScriptCommand give = Command({104, {0, 1}});
  At(Category::Items, 1).SetPosition(32768);
  zr3::ByteWriter out;
  EXPECT_THROW(give.Write(out), zr3::ZR3Error);
  At(Category::Items, 1).SetPosition(32767);
  EXPECT_EQ(WrittenParameter(Written(give), 1), 32767);
}

}  // namespace
}  // namespace zr3test
