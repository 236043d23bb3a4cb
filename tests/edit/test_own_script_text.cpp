// A script edited in its own text editor: the header's name renames it in the same change.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "edit/script_import_edit.h"
#include "level/zr3error.h"
#include "script/entry_fixture.h"
#include "script/zr3script.h"

namespace zr3test {

namespace {

using zr3::Category;
using zr3::ZR3Script;

class OwnScriptTextTest : public EntryTest {
 protected:
  // Imports the text as script index's own and answers the change, or nothing when refused.
  std::optional<zr3::ScriptImportEdit> Import(std::size_t index, const std::string& text) {
    zr3::ZR3Importer importer(level);
    importer.KeepChanges();
    zr3::ImportOwnScriptText(importer, level, Category::ObjectScripts, index, text);
    return zr3::ScriptImportEdit(level, importer.TakeChanges());
  }
  const ZR3Script& Script(std::size_t index) {
    return static_cast<const ZR3Script&>(At(Category::ObjectScripts, static_cast<int>(index)));
  }
  std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (const auto& record : level.List(Category::ObjectScripts)) names.push_back(record->Name());
    return names;
  }
};

TEST_F(OwnScriptTextTest, AnotherHeaderNameRenamesTheScriptInTheSameUndoStep) {
  std::optional<zr3::ScriptImportEdit> edit =
      Import(0, "objectscript \"Portal\"\ncommands:\n  gameover\nend script\n");
  EXPECT_THAT(Names(), ::testing::ElementsAre("Portal", "Chest", "Well", "Sign", "Gate", "Altar"));
  EXPECT_EQ(Script(0).CommandCount(), 1);
  EXPECT_EQ(Script(0).Command(0).Code(), zr3::kEndGame);
  edit->Undo(level);
  EXPECT_EQ(Script(0).Name(), "Door");
  EXPECT_EQ(Script(0).CommandCount(), 0);
  edit->Redo(level);
  EXPECT_EQ(Script(0).Name(), "Portal");
  EXPECT_EQ(Script(0).Command(0).Code(), zr3::kEndGame);
}

TEST_F(OwnScriptTextTest, AnotherKindOrAnotherScriptsNameIsRefusedAndNothingChanges) {
  const std::string kindChanged = "globalscript \"Door\"\ncommands:\n  gameover\nend script\n";
  const std::optional<std::string> why =
      zr3::CheckOwnScriptText(level, Category::ObjectScripts, 0, kindChanged);
  ASSERT_TRUE(why);
  EXPECT_THAT(*why, ::testing::HasSubstr("keeps its kind"));
  EXPECT_THROW(Import(0, kindChanged), zr3::ZR3Error);
  EXPECT_TRUE(level.List(Category::GlobalScripts).empty());

  const std::string taken = "objectscript \"Chest\"\ncommands:\n  gameover\nend script\n";
  EXPECT_EQ(zr3::CheckOwnScriptText(level, Category::ObjectScripts, 0, taken),
            "Another object script is already named \"Chest\".");
  zr3::ZR3Importer importer(level);
  EXPECT_THROW(zr3::ImportOwnScriptText(importer, level, Category::ObjectScripts, 0, taken),
               zr3::ZR3Error);
  EXPECT_THAT(importer.Log(), ::testing::ElementsAre("Another object script is already named "
                                                     "\"Chest\".",
                                                     "Nothing was imported."));
  EXPECT_EQ(Script(0).Name(), "Door");
  EXPECT_EQ(Script(1).CommandCount(), 0);
  EXPECT_FALSE(level.Modified());
}

TEST_F(OwnScriptTextTest, ATextOfSeveralScriptsIsAnOrdinaryImport) {
  Import(0, "objectscript \"Portal\"\ncommands:\nend script\nobjectscript \"Door\"\nend script\n");
  EXPECT_THAT(Names(),
              ::testing::ElementsAre("Door", "Chest", "Well", "Sign", "Gate", "Altar", "Portal"));
}

}  // namespace

}  // namespace zr3test
