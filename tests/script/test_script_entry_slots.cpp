#include <gtest/gtest.h>

#include <utility>

#include "script/entry_fixture.h"
#include "support/stand_in_record.h"

namespace zr3test {
namespace {

using zr3::Category;
using zr3::ScriptReference;

using EntrySlots = EntryTest;

TEST_F(EntrySlots, MostNamesInOneEntryAreAllKept) {
  // Object Lamp, then a location whose map, X and Y all come from flags: four records.
  const zr3::ZR3ScriptCommand place = Command({126, {0, 1, 3, 0, 3, 1, 3, 2}});
  EXPECT_EQ(place.Reference(ScriptReference::Object), &At(Category::Objects, 1));
  EXPECT_EQ(place.FlagSlot(0), &Flag(0));
  EXPECT_EQ(place.FlagSlot(1), &Flag(1));
  EXPECT_EQ(place.FlagSlot(2), &Flag(2));
  EXPECT_EQ(place.Reference(ScriptReference::Map), nullptr);
  EXPECT_TRUE(place.RefersTo(Flag(2)));
  EXPECT_FALSE(place.RefersTo(Flag(3)));
  // Three records of three kinds in one entry, each found by its kind.
  const zr3::ZR3ScriptCommand change = Command({117, {1, 1, 0}});
  EXPECT_EQ(change.Reference(ScriptReference::Object), &At(Category::Objects, 1));
  EXPECT_EQ(change.Reference(ScriptReference::Graphic), &At(Category::Graphics, 1));
  EXPECT_EQ(change.Reference(ScriptReference::Map), &At(Category::Maps, 0));
  EXPECT_EQ(change.FlagSlot(0), nullptr);
  EXPECT_EQ(change.Reference(ScriptReference::Item), nullptr);
}

TEST_F(EntrySlots, LinkAgainForgetsWhatTheOldCodeNamed) {
  zr3::ZR3ScriptCommand command = Command({104, {0, 1}});
  ASSERT_EQ(command.Reference(ScriptReference::Item), &At(Category::Items, 1));
  command.SetCode(105);
  command.SetParameter(0, 0);
  command.Link(level);
  EXPECT_EQ(command.Reference(ScriptReference::Item), nullptr);
  EXPECT_EQ(command.Reference(ScriptReference::CharacterSet), &At(Category::Characters, 0));
  command.ClearReferences();
  EXPECT_EQ(command.Reference(ScriptReference::CharacterSet), nullptr);
}

TEST_F(EntrySlots, ReferencesStayAsLinkedUntilTheNextLink) {
  // The map of a tile change is named only while p2 is not negative; the resolved map stays
  // when p2 changes afterwards, and a copy keeps it too.
  zr3::ZR3ScriptCommand tiles = Command({113, {0, 1, 1}});
  tiles.SetParameter(2, -1);
  EXPECT_EQ(tiles.Reference(ScriptReference::Map), &At(Category::Maps, 1));
  const zr3::ZR3ScriptCommand copy = tiles;
  EXPECT_EQ(copy.Reference(ScriptReference::SecondTile), &At(Category::Tiles, 1));
  EXPECT_EQ(copy.Reference(ScriptReference::Map), &At(Category::Maps, 1));
}

TEST_F(EntrySlots, LinkAgainFollowsTheRecordsNowAtItsPositions) {
  // Sword and Shield swap places: the item at position 1 is now Sword.
  zr3::ZR3ScriptCommand give = Command({104, {0, 1}});
  zr3::RecordList& items = level.List(Category::Items);
  std::swap(items[0], items[1]);
  level.Renumber(Category::Items, 0, 1);
  give.Link(level);
  EXPECT_EQ(give.Reference(ScriptReference::Item), &At(Category::Items, 1));
  // Setting the value it holds changes nothing; another value is resolved anew.
  give.SetParameter(1, 1);
  give.Link(level);
  EXPECT_EQ(give.Reference(ScriptReference::Item), &At(Category::Items, 1));
  give.SetParameter(1, 0);
  give.Link(level);
  EXPECT_EQ(give.Reference(ScriptReference::Item), &At(Category::Items, 0));
  // A position beyond the list resolves once the list reaches it.
  give.SetParameter(1, 2);
  give.Link(level);
  EXPECT_EQ(give.Reference(ScriptReference::Item), nullptr);
  AddStandIns(level, Category::Items, {"Bow"});
  give.Link(level);
  EXPECT_EQ(give.Reference(ScriptReference::Item), &At(Category::Items, 2));
}

}  // namespace
}  // namespace zr3test
