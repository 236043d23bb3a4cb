#include <gtest/gtest.h>
#include <rapidjson/document.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <memory>
#include <string>

#include "edit/field_edit.h"
#include "level/zr3error.h"
#include "merge/conflict_resolution.h"
#include "records/zr3map.h"
#include "support/edit_levels.h"
#include "support/exported_json.h"

namespace {

using namespace zr3;
using namespace zr3::merge;
using zr3test::ExportedAt;

MergeConflict Conflict(std::optional<Category> category, std::size_t index, std::string ours,
                       std::string theirs) {
  MergeConflict conflict;
  conflict.category = category;
  conflict.index = index;
  conflict.base = "null";
  conflict.ours = std::move(ours);
  conflict.theirs = std::move(theirs);
  return conflict;
}

class ConflictResolutionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    zr3test::LoadWorld(level_);
    before_ = level_.SaveToBytes();
    EXPECT_TRUE(level_.SaveToBytes() == before_) << "second save differs";
  }
  // Resolves with theirs, checks what the level then holds, and that undo gives back the
  // level's bytes exactly and redo the resolved level's; leaves the level as it was.
  template <class Check>
  void ResolveAndUndo(const MergeConflict& conflict, ResolutionChange change, Check check) {
    ConflictResolution resolution = ResolveConflict(level_, conflict, ConflictSide::Theirs);
    EXPECT_EQ(resolution.Change(), change);
    check();
    const std::string resolved = level_.SaveToBytes();
    resolution.Undo(level_);
    EXPECT_TRUE(level_.SaveToBytes() == before_) << "undo leaves other bytes";
    resolution.Redo(level_);
    check();
    EXPECT_TRUE(level_.SaveToBytes() == resolved) << "redo leaves other bytes";
    resolution.Undo(level_);
  }
  std::string Get(Category category, std::size_t index, const char* field) {
    return FieldText(level_, FieldOwner{category, index}, field);
  }
  void ExpectRefused(const MergeConflict& conflict, ConflictSide side = ConflictSide::Theirs) {
    EXPECT_THROW(ResolveConflict(level_, conflict, side), ZR3Error);
    EXPECT_TRUE(level_.SaveToBytes() == before_) << "a refusal changed the level";
  }

  ZR3Level level_;
  std::string before_;
};

TEST_F(ConflictResolutionTest, AFieldTakesTheChosenValueInEveryForm) {
  MergeConflict cost = Conflict(Category::Items, 0, "5", "77");
  cost.place.field = "cost";
  ResolveAndUndo(cost, ResolutionChange::Field,
                 [&] { EXPECT_EQ(Get(Category::Items, 0, "cost"), "77"); });

  MergeConflict map = Conflict(Category::Objects, 0, "null", R"({"index": 1, "name": "Cave"})");
  map.place.field = "map";
  ResolveAndUndo(map, ResolutionChange::Field,
                 [&] { EXPECT_EQ(Get(Category::Objects, 0, "map"), "1"); });

  MergeConflict name = Conflict(Category::Items, 1, "\"Potion\"", "\"Potion \u00e9\"");
  name.place.field = "name";
  ResolveAndUndo(name, ResolutionChange::Field,
                 [&] { EXPECT_EQ(level_.List(Category::Items)[1]->Name(), "Potion \xE9"); });

  MergeConflict type = Conflict(Category::Items, 1, "0", R"({"value": 2, "word": "Armor"})");
  type.place.field = "type";
  ResolveAndUndo(type, ResolutionChange::Field,
                 [&] { EXPECT_EQ(Get(Category::Items, 1, "type"), "2"); });

  // Our value is the level's already: nothing changes.
  cost.theirs = ExportedAt(level_, "/items/0/cost");
  EXPECT_EQ(ResolveConflict(level_, cost, ConflictSide::Theirs).Change(), ResolutionChange::None);
}

// A script's slot and its blocks have no text of their own: they are set in the record's JSON.
TEST_F(ConflictResolutionTest, AScriptSlotOrBlockTakesTheChosenValue) {
  // The loop's command runs the loop itself.
  const std::string second = ExportedAt(level_, "/object-scripts/3/commands/0");
  MergeConflict slot = Conflict(Category::ObjectScripts, 0, "null", second);
  slot.place.field = "commands[0]";
  ResolveAndUndo(slot, ResolutionChange::RecordReplaced, [&] {
    EXPECT_EQ(ExportedAt(level_, "/object-scripts/0/commands/0"), second);
    EXPECT_EQ(level_.List(Category::ObjectScripts)[0]->Name(), "Open");
  });
  MergeConflict block =
      Conflict(Category::ObjectScripts, 0, "null", '"' + std::string(400, '1') + '"');
  block.place.field = "opaque_a";
  ResolveAndUndo(block, ResolutionChange::RecordReplaced, [&] {
    EXPECT_EQ(ExportedAt(level_, "/object-scripts/0/opaque_a"), '"' + std::string(400, '1') + '"');
  });
  // Left out of the document while zero: null on a side that has it so.
  block.theirs = "null";
  EXPECT_EQ(ResolveConflict(level_, block, ConflictSide::Theirs).Change(), ResolutionChange::None);
  slot.place.field = "commands[10]";
  ExpectRefused(slot);
  slot.place.field = "commands[0]";
  slot.theirs = R"({"code": 101})";
  ExpectRefused(slot);
}

TEST_F(ConflictResolutionTest, AValueTheFieldRefusesChangesNothing) {
  MergeConflict cost = Conflict(Category::Items, 0, "5", "70000");
  cost.place.field = "cost";
  ExpectRefused(cost);
  cost.theirs = "\"five\"";
  ExpectRefused(cost);
  MergeConflict map = Conflict(Category::Objects, 0, "null", R"({"index": 9})");
  map.place.field = "map";
  ExpectRefused(map);
  map.place.field = "no_such_field";
  ExpectRefused(map);
}

TEST_F(ConflictResolutionTest, ACellSlotTakesATileNothingOrAKeptIdentifier) {
  MergeConflict cell = Conflict(Category::Maps, 0, "0", "1");
  cell.place.cell = ConflictPlace::Cell{1, 0, 1};
  const auto map = [&] { return static_cast<const ZR3Map*>(level_.List(Category::Maps)[0].get()); };
  ResolveAndUndo(cell, ResolutionChange::Cells, [&] {
    EXPECT_EQ(map()->CellTile(0, 1, 0), level_.List(Category::Tiles)[1].get());
  });
  cell.theirs = "null";
  ResolveAndUndo(cell, ResolutionChange::Cells, [&] { EXPECT_EQ(map()->CellTileId(0, 1, 0), 0u); });
  cell.theirs = R"({"unresolved": 4242})";
  cell.place.cell = ConflictPlace::Cell{3, 1, 1};
  ResolveAndUndo(cell, ResolutionChange::Cells, [&] {
    EXPECT_EQ(map()->CellTileId(1, 1, 2), 4242u);
    EXPECT_EQ(map()->CellTile(1, 1, 2), nullptr);
  });
  cell.theirs = "7";  // no such tile
  ExpectRefused(cell);
  cell.theirs = "1";
  cell.place.cell = ConflictPlace::Cell{1, 5, 0};  // outside the 2 x 2 map
  ExpectRefused(cell);
}

TEST_F(ConflictResolutionTest, AColourTakesEitherForm) {
  MergeConflict colour = Conflict(Category::Palettes, 1, "\"000000\"", "\"ff8001\"");
  colour.place.colour = 5;
  const auto colours = [&] { return Get(Category::Palettes, 1, "colours").substr(30, 6); };
  ResolveAndUndo(colour, ResolutionChange::Colour, [&] { EXPECT_EQ(colours(), "ff8001"); });
  colour.theirs = "[1, 2, 255]";
  ResolveAndUndo(colour, ResolutionChange::Colour, [&] { EXPECT_EQ(colours(), "0102ff"); });
  colour.theirs = "[1, 2, 256]";
  ExpectRefused(colour);
}

TEST_F(ConflictResolutionTest, AWholeRecordIsDeletedPutBackOrReplaced) {
  const std::string potion = ExportedAt(level_, "/items/1");
  const std::string axe = ExportedAt(level_, "/items/0");
  const std::size_t items = level_.List(Category::Items).size();

  // Their side deleted the potion that ours changed.
  const MergeConflict deleted = Conflict(Category::Items, 1, potion, "null");
  ResolveAndUndo(deleted, ResolutionChange::RecordRemoved,
                 [&] { EXPECT_EQ(level_.List(Category::Items).size(), items - 1); });

  // Ours deleted a record theirs changed: it comes back from their object, its references
  // resolved against the level.
  MergeConflict restored = Conflict(Category::Items, 1, "null", axe);
  rapidjson::Document object;
  object.Parse(axe.c_str());
  object["name"].SetString("Second Axe");
  rapidjson::StringBuffer text;
  rapidjson::Writer<rapidjson::StringBuffer> writer(text);
  object.Accept(writer);
  restored.theirs = text.GetString();
  ResolveAndUndo(restored, ResolutionChange::RecordInserted, [&] {
    ASSERT_EQ(level_.List(Category::Items).size(), items + 1);
    EXPECT_EQ(level_.List(Category::Items)[1]->Name(), "Second Axe");
    EXPECT_EQ(level_.List(Category::Items)[2]->Name(), "Potion");
    EXPECT_EQ(Get(Category::Items, 1, "cost"), Get(Category::Items, 0, "cost"));
  });

  // Both kept it: the record takes every field of their object.
  MergeConflict replaced = restored;
  replaced.ours = potion;
  ResolveAndUndo(replaced, ResolutionChange::RecordReplaced, [&] {
    EXPECT_EQ(level_.List(Category::Items).size(), items);
    EXPECT_EQ(level_.List(Category::Items)[1]->Name(), "Second Axe");
  });

  // Neither side has it: nothing to do.
  EXPECT_EQ(
      ResolveConflict(level_, Conflict(Category::Items, 1, "null", "null"), ConflictSide::Theirs)
          .Change(),
      ResolutionChange::None);
}

TEST_F(ConflictResolutionTest, ARecordStillReferredToOrABrokenObjectIsRefused) {
  // The town's cell holds Grass.
  ExpectRefused(Conflict(Category::Tiles, 0, ExportedAt(level_, "/tiles/0"), "null"));
  ExpectRefused(Conflict(Category::Items, 1, "null", R"({"name": "Half"})"));
  ExpectRefused(Conflict(Category::Items, 1, "null", "[1, 2]"));
  MergeConflict info = Conflict(std::nullopt, 0, "{}", "null");
  ExpectRefused(info);
}

TEST(ConflictSides, NameAndValueOfEachSide) {
  MergeConflict conflict = Conflict(Category::Items, 0, "1", "2");
  conflict.place.field = "cost";
  EXPECT_EQ(SideName(ConflictSide::Base), "base");
  EXPECT_EQ(ValueOf(conflict, ConflictSide::Base), "null");
  EXPECT_EQ(ValueOf(conflict, ConflictSide::Ours), "1");
  EXPECT_EQ(ValueOf(conflict, ConflictSide::Theirs), "2");
  EXPECT_TRUE(RecordPresent(conflict));
  EXPECT_EQ(ShownValue("null"), "(none)");
  EXPECT_EQ(ShownValue(R"({"name": "Sword", "cost": 3})"), "record \"Sword\"");
  EXPECT_EQ(ShownValue(R"({"index": 2, "name": "Wall"})"), "record \"Wall\"");
  EXPECT_EQ(ShownValue("[1,2,3]"), "[1,2,3]");
  EXPECT_FALSE(RecordPresent(Conflict(Category::Items, 0, "null", "{}")));
}

}  // namespace
