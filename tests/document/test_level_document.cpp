// The level document: every change is one step of its history, done and redone by the same
// command, and told to the views once, after the level is consistent again.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUndoStack>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "document/leveldocument.h"
#include "document/recovery.h"
#include "edit/map_paint.h"
#include "script/zr3importer.h"
#include "support/edit_checks.h"
#include "support/edit_levels.h"

namespace {

using zr3::Category;
using zr3::FieldOwner;
using zr3::LevelDocument;

// Counts what the document says, and checks at each signal that the changed list is
// consistent (positions equal to indexes, neighbours linked).
class Listener {
 public:
  explicit Listener(LevelDocument& document) : document_(document) {
    auto count = [this](const char* name) { return [this, name] { ++heard[name]; }; };
    auto list = [this](const char* name) {
      return [this, name](Category category) {
        ++heard[name];
        if (!zr3test::ListIsConsistent(*document_.Level(), category)) ++heard["inconsistent"];
      };
    };
    QObject::connect(&document, &LevelDocument::recordsInserted, list("recordsInserted"));
    QObject::connect(&document, &LevelDocument::recordsRemoved, list("recordsRemoved"));
    QObject::connect(&document, &LevelDocument::recordMoved, list("recordMoved"));
    QObject::connect(&document, &LevelDocument::recordRenamed, count("recordRenamed"));
    QObject::connect(&document, &LevelDocument::fieldsChanged, count("fieldsChanged"));
    QObject::connect(&document, &LevelDocument::mapCellsChanged, count("mapCellsChanged"));
    QObject::connect(&document, &LevelDocument::paletteColoursChanged,
                     count("paletteColoursChanged"));
    QObject::connect(&document, &LevelDocument::levelReplaced, count("levelReplaced"));
    QObject::connect(&document, &LevelDocument::stepped, count("stepped"));
  }
  // What was heard since the last call.
  std::map<std::string, int> Take() { return std::exchange(heard, {}); }

  std::map<std::string, int> heard;

 private:
  LevelDocument& document_;
};

// The copy left for a level file, if any (other test programs may leave their own).
std::optional<zr3::RecoveredLevel> LeftFor(const QString& path) {
  for (zr3::RecoveredLevel& left : zr3::Recovery::Left()) {
    if (left.path == QFileInfo(path).absoluteFilePath()) return std::move(left);
  }
  return std::nullopt;
}

struct Change {
  const char* name;
  std::function<void(LevelDocument&)> make;
  std::map<std::string, int> told;
  // What undo says, when it is not the same.
  std::map<std::string, int> undoTold = {};
};

void PrintTo(const Change& change, std::ostream* out) {
  *out << change.name;
}

const std::string kImported =
    "objectscript \"Drink\"\r\nconditions:\r\ncommands:\r\n  returntomap\r\nend script\r\n"
    "globalscript \"Extra\"\r\nconditions:\r\ncommands:\r\n  returntomap\r\nend script\r\n";

std::vector<Change> Changes() {
  return {
      {"field",
       [](LevelDocument& d) {
         d.EditField({Category::Items, 0}, "cost", "9");
       },
       {{"fieldsChanged", 1}}},
      {"information",
       [](LevelDocument& d) { d.EditField({}, "author", "Somebody"); },
       {{"fieldsChanged", 1}}},
      {"mapSize",
       [](LevelDocument& d) {
         d.EditField({Category::Maps, 0}, "size", "1");
       },
       {{"fieldsChanged", 1}, {"mapCellsChanged", 1}}},
      {"colour",
       [](LevelDocument& d) {
         d.SetPaletteColour(1, 17, {1, 2, 3});
       },
       {{"fieldsChanged", 1}, {"paletteColoursChanged", 1}}},
      {"rename",
       [](LevelDocument& d) { d.Rename(Category::Maps, 1, "Hollowtree"); },
       {{"recordRenamed", 1}}},
      {"move",
       [](LevelDocument& d) { d.Move(Category::Maps, 1, zr3::MoveDirection::Up); },
       {{"recordMoved", 1}}},
      {"copy",
       [](LevelDocument& d) { d.Copy(Category::Maps, 0, Category::Maps); },
       {{"recordsInserted", 1}},
       {{"recordsRemoved", 1}}},
      {"delete",
       [](LevelDocument& d) { d.Delete(Category::Items, 1); },
       {{"recordsRemoved", 1}},
       {{"recordsInserted", 1}}},
      {"paint",
       [](LevelDocument& d) {
         zr3::MapPaint paint(*d.Level(), 0);
         auto* lava = static_cast<zr3::ZR3ChainRecord*>(d.Level()->List(Category::Tiles)[2].get());
         paint.Set(*d.Level(), 0, 0, 1, lava);
         d.AddPaintStroke(std::move(paint), QStringLiteral("Paint"));
       },
       {{"mapCellsChanged", 1}}},
      {"import",
       [](LevelDocument& d) {
         zr3::Lines report;
         d.ImportScripts([](zr3::ZR3Importer& importer) { importer.ImportText(kImported); },
                         QStringLiteral("Import"), report);
       },
       {{"recordsInserted", 1}, {"fieldsChanged", 1}},
       {{"recordsRemoved", 1}, {"fieldsChanged", 1}}},
  };
}

class Document : public ::testing::TestWithParam<Change> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.isValid());
    path_ = folder_.filePath(QStringLiteral("world.zr3"));
    zr3test::World().WriteTo(path_.toStdString());
    document_.Open(path_);
    original_ = document_.Level()->SaveToBytes();
  }

  QTemporaryDir folder_;
  QString path_;
  LevelDocument document_;
  std::string original_;
};

TEST_P(Document, EachChangeIsOneStepToldOnceInDoUndoAndRedo) {
  const Change& change = GetParam();
  Listener listener(document_);
  change.make(document_);
  EXPECT_EQ(document_.UndoStack()->count(), 1);
  EXPECT_TRUE(document_.Modified());
  EXPECT_TRUE(document_.Level()->Modified());
  const std::string done = document_.Level()->SaveToBytes();
  EXPECT_NE(done, original_);
  std::map<std::string, int> heard = listener.Take();
  EXPECT_EQ(heard, change.told);

  document_.UndoStack()->undo();
  EXPECT_EQ(document_.Level()->SaveToBytes(), original_);
  EXPECT_FALSE(document_.Modified());
  std::map<std::string, int> undone = change.undoTold.empty() ? change.told : change.undoTold;
  undone["stepped"] = 1;
  EXPECT_EQ(listener.Take(), undone);

  document_.UndoStack()->redo();
  EXPECT_EQ(document_.Level()->SaveToBytes(), done);
  std::map<std::string, int> redone = change.told;
  redone["stepped"] = 1;
  EXPECT_EQ(listener.Take(), redone);
}

INSTANTIATE_TEST_SUITE_P(EveryKind, Document, ::testing::ValuesIn(Changes()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Document, ARefusedChangeTellsWhyAndLeavesTheHistory) {
  Listener listener(document_);
  EXPECT_FALSE(document_.EditField({}, "inventory_size", "300").isEmpty());
  EXPECT_FALSE(document_.Delete(Category::Flags, 0).isEmpty());
  EXPECT_EQ(document_.UndoStack()->count(), 0);
  EXPECT_TRUE(listener.Take().empty());
  EXPECT_EQ(document_.Level()->SaveToBytes(), original_);
  EXPECT_FALSE(document_.Modified());
}

TEST_F(Document, EditsOfOneFieldAreOneStepAndAReturnToTheStartLeavesTheHistory) {
  document_.EditField({Category::Items, 0}, "cost", "5");
  document_.EditField({Category::Items, 0}, "cost", "6");
  EXPECT_EQ(document_.UndoStack()->count(), 1);
  document_.EditField({Category::Items, 0}, "type", "2");
  EXPECT_EQ(document_.UndoStack()->count(), 2);
  document_.EditField({Category::Items, 0}, "type", "0");
  EXPECT_EQ(document_.UndoStack()->count(), 1);
  // Back where the cost started: the edit before the type's is the last step again.
  document_.EditField({Category::Items, 0}, "cost", "0");
  EXPECT_EQ(document_.UndoStack()->count(), 0);
  EXPECT_FALSE(document_.Modified());
  EXPECT_EQ(document_.Level()->SaveToBytes(), original_);
}

TEST_F(Document, ARenameToTheSameNameIsNoChange) {
  document_.Rename(Category::Items, 0, "Axe");
  EXPECT_EQ(document_.UndoStack()->count(), 0);
  EXPECT_FALSE(document_.Level()->Modified());
}

TEST_F(Document, AChangeOnDiskIsSeenByItsBytesEvenWithTheSameSizeAndTime) {
  EXPECT_FALSE(document_.ChangedOnDisk());
  QFile file(path_);
  const QDateTime time = QFileInfo(path_).lastModified();
  ASSERT_TRUE(file.open(QIODevice::ReadWrite));
  QByteArray bytes = file.readAll();
  bytes[bytes.size() - 1] = static_cast<char>(bytes[bytes.size() - 1] ^ 1);
  file.seek(0);
  file.write(bytes);
  file.setFileTime(time, QFileDevice::FileModificationTime);
  file.close();
  EXPECT_EQ(QFileInfo(path_).lastModified(), time);
  EXPECT_TRUE(document_.ChangedOnDisk());
  // Saving takes the file as it is now.
  document_.Save();
  EXPECT_FALSE(document_.ChangedOnDisk());
  // A file that is gone holds nobody's changes.
  QFile::remove(path_);
  EXPECT_FALSE(document_.ChangedOnDisk());
}

TEST_F(Document, TheRecoveryCopyHoldsTheUnsavedLevelAwayFromItAndGoesWithASave) {
  zr3::Recovery& recovery = document_.RecoveryCopy();
  document_.EditField({Category::Items, 0}, "cost", "9");
  const std::string edited = document_.Level()->SaveToBytes();
  document_.WriteRecovery();
  ASSERT_TRUE(QFileInfo::exists(recovery.CopyPath()));
  EXPECT_TRUE(recovery.CopyPath().startsWith(zr3::Recovery::Folder()));
  EXPECT_NE(QFileInfo(recovery.CopyPath()).absolutePath(), QFileInfo(path_).absolutePath());

  // Another session finds it and restores it as unsaved changes to the level's file.
  const std::optional<zr3::RecoveredLevel> left = LeftFor(path_);
  ASSERT_TRUE(left);
  EXPECT_EQ(left->undoIndex, 1);
  LevelDocument restored;
  restored.OpenRecovered(left->copy, left->path, left->identity);
  EXPECT_TRUE(restored.Modified());
  EXPECT_EQ(restored.FilePath(), left->path);
  EXPECT_FALSE(restored.ChangedOnDisk());
  restored.Save();
  QFile saved(path_);
  ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
  EXPECT_EQ(saved.readAll().toStdString(), edited);
  EXPECT_FALSE(QFileInfo::exists(recovery.CopyPath()));
  EXPECT_FALSE(LeftFor(path_));
}

TEST_F(Document, ACopyOlderThanTheLevelsLastSaveIsDropped) {
  document_.EditField({Category::Items, 0}, "cost", "9");
  document_.WriteRecovery();
  const QString copy = document_.RecoveryCopy().CopyPath();
  ASSERT_TRUE(QFileInfo::exists(copy));
  // Another program saved the level after the copy was written.
  QFile level(path_);
  ASSERT_TRUE(level.open(QIODevice::ReadWrite));
  level.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime);
  level.close();
  EXPECT_FALSE(LeftFor(path_));
  EXPECT_FALSE(QFileInfo::exists(copy));
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  QStandardPaths::setTestModeEnabled(true);
  QCoreApplication::setApplicationName(QStringLiteral("ZR3ToolDocumentTests"));
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
