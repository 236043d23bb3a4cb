#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "edit/copy.h"
#include "edit/deletion.h"
#include "edit/field_edit.h"
#include "edit/placement.h"
#include "edit/reorder.h"
#include "edit/script_import_edit.h"
#include "level/field_access.h"
#include "level/zr3error.h"
#include "level/zr3level.h"
#include "script/zr3importer.h"
#include "support/edit_checks.h"
#include "support/edit_levels.h"
#include "support/print_category.h"

using zr3::Category;
using zr3::FieldKind;
using zr3::FieldOwner;

namespace {

// Every change below is reversed by its own undo; the save afterwards must be the save before,
// byte for byte, neighbours and position references included.
class Undo : public ::testing::TestWithParam<Category> {
 protected:
  void SetUp() override {
    zr3test::LoadWorld(level_);
    original_ = level_.SaveToBytes();
  }
  std::size_t Count() const { return level_.List(GetParam()).size(); }
  void ExpectOriginal() {
    EXPECT_EQ(level_.SaveToBytes(), original_);
    EXPECT_TRUE(zr3test::ListIsConsistent(level_, GetParam()));
  }

  zr3::ZR3Level level_;
  std::string original_;
};

TEST_P(Undo, ADeletionIsUndoneByInsertingTheRecordAtItsPlace) {
  for (std::size_t index = 0; index < Count(); ++index) {
    zr3::DeletionResult deleted = zr3::DeleteRecord(level_, GetParam(), index);
    if (!deleted.Deleted()) continue;
    EXPECT_EQ(deleted.index, index);
    EXPECT_NE(level_.SaveToBytes(), original_);
    zr3::InsertRecord(level_, GetParam(), deleted.index, std::move(deleted.removed));
    ExpectOriginal();
  }
}

TEST_P(Undo, ACopyIsUndoneByTakingTheNewRecordAndRedoneByPuttingItBack) {
  if (Count() == 0) GTEST_SKIP() << "the world level has no such record";
  const zr3::CopyResult copied = zr3::CopyRecord(level_, GetParam(), 0);
  if (zr3::IsFixedTable(GetParam())) {
    // Nothing to undo: a fixed table refuses the copy and stays as it was.
    EXPECT_FALSE(copied.Copied());
    ExpectOriginal();
    return;
  }
  ASSERT_TRUE(copied.Copied());
  const std::string afterCopy = level_.SaveToBytes();
  std::unique_ptr<zr3::ZR3Base> taken = zr3::TakeRecord(level_, copied.category, copied.index);
  ExpectOriginal();
  zr3::InsertRecord(level_, copied.category, copied.index, std::move(taken));
  EXPECT_EQ(level_.SaveToBytes(), afterCopy);
}

TEST_P(Undo, AMoveIsUndoneByTheMoveBack) {
  for (std::size_t index = 0; index < Count(); ++index) {
    for (const auto& [there, back] :
         {std::pair{zr3::MoveDirection::Up, zr3::MoveDirection::Down},
          std::pair{zr3::MoveDirection::Down, zr3::MoveDirection::Up}}) {
      const zr3::MoveResult moved = zr3::MoveRecord(level_, GetParam(), index, there);
      if (!moved.Moved()) continue;
      ASSERT_TRUE(zr3::MoveRecord(level_, GetParam(), moved.to, back).Moved());
      ExpectOriginal();
    }
  }
}

// A value the field takes that differs from its current one, or nothing.
std::optional<std::string> OtherValue(const zr3::FieldInfo& field, const zr3::ZR3Level& level) {
  switch (field.kind) {
    case FieldKind::Text:
      return field.width > 1 && field.value != "Z" ? std::optional<std::string>("Z") : "Y";
    case FieldKind::Integer:
    case FieldKind::Choice:
      return std::to_string(field.number == field.max ? field.min : field.number + 1);
    case FieldKind::Reference:
    case FieldKind::Position: {
      const std::size_t count = level.List(*field.target).size();
      if (count == 0)
        return field.kind == FieldKind::Reference ? std::optional<std::string>("none")
                                                  : std::nullopt;
      return std::to_string((static_cast<std::size_t>(field.number) + 1) % count);
    }
    default:
      return std::nullopt;
  }
}

TEST_P(Undo, EveryFieldEditIsUndoneAndRedoneExactly) {
  for (std::size_t index = 0; index < Count(); ++index) {
    const FieldOwner owner{GetParam(), index};
    zr3::FieldList fields = level_.List(GetParam())[index]->Fields();
    for (const zr3::FieldInfo& top : fields) {
      const zr3::FieldList& slots = top.kind == FieldKind::Run ? top.elements : zr3::FieldList{top};
      for (const zr3::FieldInfo& field : slots) {
        const std::optional<std::string> value = OtherValue(field, level_);
        if (!field.editable || !value) continue;
        std::optional<zr3::FieldEdit> edit(std::in_place, owner, field.name, *value);
        try {
          edit->Redo(level_);
        } catch (const zr3::ZR3Error&) {
          // A value this field refuses changes nothing.
          ExpectOriginal();
          continue;
        }
        const std::string after = level_.SaveToBytes();
        // The edit holds the field's old and new text, nothing more.
        EXPECT_EQ(edit->Before(), field.value) << field.name;
        EXPECT_EQ(edit->After(), *value) << field.name;
        edit->Undo(level_);
        ExpectOriginal();
        edit->Redo(level_);
        EXPECT_EQ(level_.SaveToBytes(), after) << field.name;
        edit->Undo(level_);
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(EveryList, Undo,
                         ::testing::Values(Category::Maps, Category::Tiles, Category::Objects,
                                           Category::ObjectScripts, Category::GlobalScripts,
                                           Category::Items, Category::Monsters, Category::Palettes,
                                           Category::Graphics, Category::Lists, Category::Flags,
                                           Category::Groups, Category::CustomText),
                         [](const auto& info) {
                           std::string name;
                           for (char c : zr3::InfoOf(info.param).commandName) {
                             if (c != '-') name += c;
                           }
                           return name;
                         });

TEST(UndoFieldEdit, ARefusedValueChangesNothingAndTheLevelInformationIsRestored) {
  zr3::ZR3Level level;
  zr3test::LoadWorld(level);
  const std::string original = level.SaveToBytes();
  zr3::FieldEdit refused(FieldOwner{}, "inventory_size", "300");
  EXPECT_THROW(refused.Redo(level), zr3::ZR3Error);
  EXPECT_EQ(level.SaveToBytes(), original);
  zr3::FieldEdit first(FieldOwner{}, "name", "First");
  first.Redo(level);
  zr3::FieldEdit second(FieldOwner{}, "name", "Second");
  second.Redo(level);
  const std::string afterBoth = level.SaveToBytes();
  EXPECT_TRUE(first.Absorb(second));
  EXPECT_EQ(first.After(), "Second");
  EXPECT_FALSE(first.ChangesNothing());
  first.Undo(level);
  EXPECT_EQ(level.SaveToBytes(), original);
  first.Redo(level);
  EXPECT_EQ(level.SaveToBytes(), afterBoth);
  EXPECT_EQ(level.Info().name, "Second");
}

TEST(UndoFieldEdit, AMapsCellsComeBackAfterItsSizeWasChanged) {
  zr3::ZR3Level level;
  zr3test::LoadWorld(level);
  const std::string original = level.SaveToBytes();
  zr3::FieldEdit edit(FieldOwner{Category::Maps, 0}, "size", "10");
  edit.Redo(level);
  const std::string smaller = level.SaveToBytes();
  EXPECT_NE(smaller, original);
  EXPECT_TRUE(edit.Reshapes());
  edit.Undo(level);
  EXPECT_EQ(level.SaveToBytes(), original);
  edit.Redo(level);
  EXPECT_EQ(level.SaveToBytes(), smaller);
  // Edits of a map's size are steps of their own: each keeps only what it dropped.
  zr3::FieldEdit again(FieldOwner{Category::Maps, 0}, "size", "5");
  again.Redo(level);
  EXPECT_FALSE(edit.Absorb(again));
}

TEST(UndoFieldEdit, EditsOfOtherFieldsDoNotMergeAndAReturnChangesNothing) {
  zr3::ZR3Level level;
  zr3test::LoadWorld(level);
  zr3::FieldEdit cost(FieldOwner{Category::Items, 0}, "cost", "5");
  cost.Redo(level);
  zr3::FieldEdit type(FieldOwner{Category::Items, 0}, "type", "2");
  type.Redo(level);
  EXPECT_FALSE(cost.Absorb(type));
  zr3::FieldEdit other(FieldOwner{Category::Items, 1}, "cost", "5");
  other.Redo(level);
  EXPECT_FALSE(cost.Absorb(other));
  zr3::FieldEdit back(FieldOwner{Category::Items, 0}, "cost", cost.Before());
  back.Redo(level);
  EXPECT_TRUE(cost.Absorb(back));
  EXPECT_TRUE(cost.ChangesNothing());
}

// The sample level's spells learn each other and its items carry groups: every record that
// may be deleted comes back exactly, and so does every move.
TEST(UndoSample, DeletionsAndMovesOfSpellsAndItemsComeBackExactly) {
  zr3::ZR3Level level;
  zr3test::LoadSample(level);
  const std::string original = level.SaveToBytes();
  for (const Category category : {Category::Spells, Category::Items, Category::Groups}) {
    for (std::size_t index = 0; index < level.List(category).size(); ++index) {
      zr3::DeletionResult deleted = zr3::DeleteRecord(level, category, index);
      if (deleted.Deleted()) {
        zr3::InsertRecord(level, category, deleted.index, std::move(deleted.removed));
        EXPECT_EQ(level.SaveToBytes(), original) << zr3::InfoOf(category).sectionName << index;
      }
      const zr3::MoveResult moved =
          zr3::MoveRecord(level, category, index, zr3::MoveDirection::Down);
      if (moved.Moved()) {
        zr3::MoveRecord(level, category, moved.to, zr3::MoveDirection::Up);
        EXPECT_EQ(level.SaveToBytes(), original) << zr3::InfoOf(category).sectionName << index;
      }
    }
  }
}

// An import overwrites "Open" and appends a global and an object script; undo takes both
// appended scripts away and puts "Open" back, redo brings the import's result back.
TEST(UndoImport, AnImportIsUndoneAndRedoneExactly) {
  zr3::ZR3Level level;
  zr3test::LoadWorld(level);
  const std::string original = level.SaveToBytes();
  zr3::ZR3Importer importer(level);
  importer.KeepChanges();
  importer.ImportText(
      "objectscript \"Open\"\r\nconditions:\r\ncommands:\r\n  returntomap\r\nend script\r\n"
      "globalscript \"Fresh\"\r\nconditions:\r\ncommands:\r\n  run \"Newcomer\"\r\n"
      "end script\r\n"
      "objectscript \"Newcomer\"\r\nconditions:\r\ncommands:\r\n  returntomap\r\n"
      "end script\r\n");
  const std::string imported = level.SaveToBytes();
  ASSERT_NE(imported, original);
  zr3::ScriptImportEdit edit(level, importer.TakeChanges());
  EXPECT_FALSE(edit.Empty());
  edit.Undo(level);
  EXPECT_EQ(level.SaveToBytes(), original);
  EXPECT_TRUE(zr3test::ListIsConsistent(level, Category::ObjectScripts));
  EXPECT_TRUE(zr3test::ListIsConsistent(level, Category::GlobalScripts));
  edit.Redo(level);
  EXPECT_EQ(level.SaveToBytes(), imported);
  edit.Undo(level);
  EXPECT_EQ(level.SaveToBytes(), original);
}

TEST(UndoImport, AFailedImportKeepsNoChangesOfAnEarlierOne) {
  zr3::ZR3Level level;
  zr3test::LoadWorld(level);
  zr3::ZR3Importer importer(level);
  importer.KeepChanges();
  importer.ImportText("objectscript \"Open\"\r\nconditions:\r\ncommands:\r\nend script\r\n");
  EXPECT_THROW(importer.Import("/nonexistent/scripts.txt"), zr3::ZR3Error);
  EXPECT_TRUE(zr3::ScriptImportEdit(level, importer.TakeChanges()).Empty());
}

}  // namespace
