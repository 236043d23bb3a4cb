#include <gtest/gtest.h>

#include "compare/diff_helpers.h"
#include "compare/diff_report.h"
#include "compare/level_diff.h"
#include "edit/copy.h"
#include "edit/deletion.h"
#include "edit/field_edit.h"
#include "edit/map_paint.h"
#include "edit/rename.h"
#include "edit/reorder.h"
#include "script/zr3script.h"
#include "support/edit_levels.h"

namespace {

using namespace zr3;
using compare::CompareLevels;
using compare::LevelDiff;
using zr3test::OnlyList;
using zr3test::Resaved;

class LevelDiffTest : public ::testing::Test {
 protected:
  void SetUp() override {
    zr3test::LoadWorld(before_);
    zr3test::LoadWorld(after_);
  }
  // The diff from the world to the edited copy, once the copy went through a save.
  LevelDiff Diff() { return CompareLevels(before_, *Resaved(after_)); }

  ZR3Level before_;
  ZR3Level after_;
};

TEST_F(LevelDiffTest, AVersionAndItsSavesAreTheSame) {
  EXPECT_TRUE(CompareLevels(before_, after_).Empty());
  EXPECT_TRUE(CompareLevels(before_, *Resaved(*Resaved(after_))).Empty());
}

// The inserted record renumbers every later record's identifier and every position that
// names one (an item's parameter names an object script by position): only the insertion is
// reported.
TEST_F(LevelDiffTest, ARecordInsertedAtTheTopOfAnyListIsOneAddedRecord) {
  for (const Category list : kFileOrder) {
    if (IsFixedTable(list) || before_.List(list).empty()) continue;
    SCOPED_TRACE(std::string(InfoOf(list).sectionName));
    ZR3Level after;
    zr3test::LoadWorld(after);
    const CopyResult copy = CopyRecord(after, list, 0);
    ASSERT_TRUE(copy.Copied()) << copy.refusal;
    RenameRecord(after, list, copy.index, "Inserted");
    for (std::size_t at = copy.index; at > 0; --at) {
      ASSERT_TRUE(MoveRecord(after, list, at, MoveDirection::Up).Moved());
    }
    const compare::ListDiff diff = OnlyList(CompareLevels(before_, *Resaved(after)));
    EXPECT_EQ(diff.category, list);
    ASSERT_EQ(diff.added.size(), 1u);
    EXPECT_EQ(diff.added[0].index, 0u);
    EXPECT_EQ(diff.added[0].name, "Inserted");
    EXPECT_TRUE(diff.removed.empty() && diff.moved.empty() && diff.renamed.empty() &&
                diff.changed.empty());
  }
}

TEST_F(LevelDiffTest, AMovedRecordIsOneMove) {
  ASSERT_TRUE(MoveRecord(after_, Category::ObjectScripts, 1, MoveDirection::Down).Moved());
  const compare::ListDiff diff = OnlyList(Diff());
  ASSERT_EQ(diff.moved.size(), 1u);
  const compare::RecordMove& move = diff.moved[0];
  // Exchanging neighbours moves either one past the other.
  EXPECT_TRUE((move.name == "Drink" && move.from == 1 && move.to == 2) ||
              (move.name == "Spare" && move.from == 2 && move.to == 1))
      << move.name << " " << move.from << " " << move.to;
  EXPECT_TRUE(diff.added.empty() && diff.removed.empty() && diff.renamed.empty() &&
              diff.changed.empty());
}

TEST_F(LevelDiffTest, ARenameIsReportedAsSuchAndNotInTheRecordsThatNameIt) {
  // Water is Town's northern border; Open and Listed are named by the door and the menu.
  RenameRecord(after_, Category::Tiles, 1, "Ocean");
  RenameRecord(after_, Category::ObjectScripts, 0, "Unlock");
  const LevelDiff diff = Diff();
  ASSERT_EQ(diff.lists.size(), 2u);
  for (const compare::ListDiff& list : diff.lists) {
    ASSERT_EQ(list.renamed.size(), 1u);
    EXPECT_TRUE(list.added.empty() && list.removed.empty() && list.moved.empty() &&
                list.changed.empty());
  }
  EXPECT_EQ(diff.lists[0].renamed[0].after, "Ocean");
  EXPECT_EQ(diff.lists[0].renamed[0].before, "Water");
  EXPECT_EQ(diff.lists[1].renamed[0].after, "Unlock");
}

TEST_F(LevelDiffTest, AChangedReferenceNamesTheNewRecord) {
  EditField(after_, {Category::Monsters, 0}, "tiles[5]", "Grass");
  const compare::ListDiff diff = OnlyList(Diff());
  ASSERT_EQ(diff.changed.size(), 1u);
  ASSERT_EQ(diff.changed[0].fields.size(), 1u);
  const compare::FieldChange& field = diff.changed[0].fields[0];
  EXPECT_EQ(field.field, "tiles[5]");
  EXPECT_EQ(field.before, "Lava");
  EXPECT_EQ(field.after, "Grass");
}

TEST_F(LevelDiffTest, ARemovedRecordIsReportedWithItsOlderIndex) {
  ASSERT_TRUE(DeleteRecord(after_, Category::Maps, 2).Deleted());
  const compare::ListDiff diff = OnlyList(Diff());
  ASSERT_EQ(diff.removed.size(), 1u);
  EXPECT_EQ(diff.removed[0].index, 2u);
  EXPECT_EQ(diff.removed[0].name, "Field");
  EXPECT_TRUE(diff.added.empty() && diff.changed.empty() && diff.moved.empty());
}

TEST_F(LevelDiffTest, PaletteColoursAndTheLevelInformationAreReportedByField) {
  EditPaletteColour(after_, 1, 5, {1, 2, 0xff});
  EditField(after_, {}, "encounter_percent", "7");
  const LevelDiff diff = Diff();
  ASSERT_EQ(diff.info.size(), 1u);
  EXPECT_EQ(diff.info[0].field, "encounter_percent");
  EXPECT_EQ(diff.info[0].after, "7");
  ASSERT_EQ(diff.lists.size(), 1u);
  ASSERT_EQ(diff.lists[0].changed.size(), 1u);
  const compare::FieldChange& colour = diff.lists[0].changed[0].fields.at(0);
  EXPECT_EQ(colour.field, "colour 5");
  EXPECT_EQ(colour.before, "00 00 00");
  EXPECT_EQ(colour.after, "01 02 ff");
}

TEST_F(LevelDiffTest, AChangedScriptCommandIsOneChangedTextLine) {
  // Mourner warps to Cave at 5, 5; now at 5, 6.
  auto& script = before_.At<ZR3Script>(Category::DeathScripts, 0);
  auto& changed = after_.At<ZR3Script>(Category::DeathScripts, 0);
  ASSERT_EQ(changed.Command(0).Parameter(5), 5);
  changed.Command(0).SetParameter(5, 6);
  const compare::ListDiff diff = OnlyList(Diff());
  ASSERT_EQ(diff.changed.size(), 1u);
  ASSERT_EQ(diff.changed[0].fields.size(), 1u);
  const std::vector<std::string>& lines = diff.changed[0].fields[0].lines;
  std::vector<std::string> removed;
  std::vector<std::string> added;
  for (const std::string& line : lines) {
    if (line[0] == '-') removed.push_back(line.substr(1));
    if (line[0] == '+') added.push_back(line.substr(1));
  }
  ASSERT_EQ(removed.size(), 1u);
  ASSERT_EQ(added.size(), 1u);
  EXPECT_EQ(removed[0], "  " + script.Command(0).KeywordText());
  EXPECT_EQ(added[0], "  " + changed.Command(0).KeywordText());
  Lines text;
  changed.ExportText(text);
  // Every line of the text but its header, the changed one twice.
  EXPECT_EQ(lines.size(), text.size());
}

TEST_F(LevelDiffTest, APaintedRectangleIsOneRegionPerLayer) {
  EditField(before_, {Category::Maps, 0}, "size", "12");
  const std::unique_ptr<ZR3Level> before = Resaved(before_);
  const std::unique_ptr<ZR3Level> after = Resaved(before_);
  ZR3ChainRecord* water = static_cast<ZR3ChainRecord*>(after->List(Category::Tiles)[1].get());
  MapPaint paint(*after, 0);
  EXPECT_EQ(paint.Fill(*after, 4, 10, 6, 8, 1, water), 9u);
  EXPECT_EQ(paint.Fill(*after, 4, 10, 6, 8, 2, water), 9u);
  EXPECT_TRUE(paint.Set(*after, 0, 0, 0, water));
  const compare::ListDiff diff = OnlyList(CompareLevels(*before, *Resaved(*after)));
  ASSERT_EQ(diff.changed.size(), 1u);
  std::vector<std::string> regions;
  for (const compare::CellRegion& region : diff.changed[0].cells) {
    regions.push_back(compare::RegionText(region));
  }
  EXPECT_EQ(regions,
            (std::vector<std::string>{"layer 1: row 0, column 0: 1 cell (empty \xE2\x86\x92 Water)",
                                      "layer 2: rows 4-6, columns 8-10: 9 cells",
                                      "layer 3: rows 4-6, columns 8-10: 9 cells"}));
}

TEST(DiffReport, SaysEachCategoryUnderItsList) {
  ZR3Level before;
  ZR3Level after;
  zr3test::LoadWorld(before);
  zr3test::LoadWorld(after);
  RenameRecord(after, Category::Items, 0, "Hatchet");
  EditField(after, {Category::Items, 1}, "cost", "12");
  const LevelDiff diff = CompareLevels(before, *Resaved(after));
  EXPECT_EQ(compare::ReportLines(diff, compare::Colour::Never),
            (Lines{"Items", "  renamed 0: \"Axe\" \xE2\x86\x92 \"Hatchet\"",
                   "  changed 1 \"Potion\"", "    cost: 0 \xE2\x86\x92 12"}));
  EXPECT_EQ(compare::StatLines(diff),
            (Lines{"Items: 1 renamed, 1 changed", "2 record changes, 0 level information fields"}));
  const Lines coloured = compare::ReportLines(diff, compare::Colour::Always);
  EXPECT_EQ(coloured[0], "\x1b[1mItems\x1b[m");
}

}  // namespace
