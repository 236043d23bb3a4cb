#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QSignalSpy>
#include <QStatusBar>
#include <memory>

#include "document/texts.h"
#include "fake_prompt.h"
#include "level/record_factory.h"
#include "support/edit_levels.h"
#include "ui_test_support.h"

using zr3::ui::MainWindow;

namespace {

constexpr int kFlagsRow = zr3::ui::RowOfCategory(zr3::Category::Flags);
constexpr int kMapsRow = zr3::ui::RowOfCategory(zr3::Category::Maps);
constexpr int kSongsRow = zr3::ui::RowOfCategory(zr3::Category::Songs);

QStringList EnabledNames(const MainWindow& window, const QStringList& names) {
  QStringList enabled;
  for (const QString& name : names) {
    if (ActionOf(window, name.toLatin1().constData())->isEnabled()) enabled << name;
  }
  return enabled;
}

const QStringList kCommands = {
    "actionOpen",          "actionSave",     "actionSaveAs", "actionExport", "menuExportScripts",
    "actionImportScripts", "actionExit",     "actionAbout",  "actionCopy",   "actionDelete",
    "actionMoveUp",        "actionMoveDown", "actionFind"};

const QStringList kEditCommands = {"actionCopy",   "actionCopyRecords", "actionDelete",
                                   "actionMoveUp", "actionMoveDown",    "actionFind"};

zr3test::LevelBuilder FlagLevel() {
  zr3test::LevelBuilder builder;
  for (int i = 0; i < 256; ++i) builder.flags[i] = "Flag" + std::to_string(i);
  builder.info.name = "Flag Town";
  return builder;
}

// Adds named records to a list of the open level, as a kind of record would.
void AddRecords(MainWindow& window, zr3::Category category, int count) {
  for (int i = 0; i < count; ++i) {
    // A record of the list's own kind: the window's views take a map for a map.
    std::unique_ptr<zr3::ZR3Base> record = zr3::NewRecord(category);
    record->SetName("Record" + std::to_string(i));
    window.Level()->List(category).push_back(std::move(record));
  }
}

}  // namespace

class TestMainForm : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { IsolateSettings(settingsFolder_); }
  void init() { QFile::remove(SettingsFile()); }

  void startUpShowsNoLevelWithOnlyOpenExitAboutEnabled() {
    FakePrompt prompt;
    MainWindow window(&prompt);
    QCOMPARE(window.windowTitle(), QStringLiteral("ZR3Tool"));
    QCOMPARE(EnabledNames(window, kCommands),
             QStringList({"actionOpen", "actionExit", "actionAbout"}));
    QVERIFY(!CategoryList(window)->isEnabled());
    QCOMPARE(window.Level(), nullptr);

    // The rows of the one table, in its order.
    QCOMPARE(CategoryList(window)->count(), zr3::ui::kCategoryRowCount);
    for (int row = 0; row < zr3::ui::kCategoryRowCount; ++row) {
      QCOMPARE(CategoryList(window)->item(row)->text(),
               zr3::ToDisplay(zr3::ui::kCategoryRows[static_cast<std::size_t>(row)].caption));
    }
    QVERIFY(!(CategoryList(window)->item(1)->flags() & Qt::ItemIsEditable));

    QCOMPARE(ActionOf(window, "actionSaveAs")->text(), QStringLiteral("Save &As..."));
    QCOMPARE(ActionOf(window, "actionCopy")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_D));
    QCOMPARE(ActionOf(window, "actionCopyRecords")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_C));
    QCOMPARE(ActionOf(window, "actionPasteRecords")->shortcut(),
             QKeySequence(Qt::CTRL | Qt::Key_V));
    QCOMPARE(ActionOf(window, "actionDelete")->shortcut(), QKeySequence(Qt::Key_Delete));
    QCOMPARE(ActionOf(window, "actionFind")->shortcut(), QKeySequence(Qt::Key_F3));
    QCOMPARE(ActionOf(window, "actionMoveUp")->toolTip(), QStringLiteral("Move current item up"));
    QCOMPARE(ActionOf(window, "actionFind")->statusTip(), QStringLiteral("Search"));
  }

  void startUpOpensAFirstArgumentEndingInZr3InAnyCase() {
    QTemporaryDir folder;
    const QString upper = WriteLevel(folder, "UPPER.ZR3");
    FakePrompt prompt;
    MainWindow opened(&prompt);
    opened.StartUp({upper, "ignored.zr3"});
    QVERIFY(opened.Level() && opened.Level()->Loaded());
    QCOMPARE(ShownTitle(opened), QStringLiteral("UPPER.ZR3 - ZR3Tool"));

    const QString text = folder.filePath("level.txt");
    QFile::copy(upper, text);
    MainWindow ignored(&prompt);
    ignored.StartUp({text});
    QCOMPARE(ignored.Level(), nullptr);
    QVERIFY(prompt.questions.empty());
  }

  void openEnablesTheLevelCommands() {
    QTemporaryDir folder;
    FakePrompt prompt;
    prompt.files = {WriteLevel(folder, "town.zr3")};
    MainWindow window(&prompt);
    ActionOf(window, "actionOpen")->trigger();

    QCOMPARE(prompt.dialogs.size(), std::size_t{1});
    QCOMPARE(prompt.dialogs[0].title, QStringLiteral("Open File"));
    QCOMPARE(prompt.dialogs[0].filter, QStringLiteral("ZR3 Level Files (*.zr3)"));
    QVERIFY(prompt.questions.empty());
    QCOMPARE(ShownTitle(window), QStringLiteral("town.zr3 - ZR3Tool"));
    QCOMPARE(window.DefaultPath(), QDir::toNativeSeparators(folder.path() + "/"));
    QCOMPARE(
        EnabledNames(window, kCommands),
        QStringList({"actionOpen", "actionSave", "actionSaveAs", "actionExport",
                     "menuExportScripts", "actionImportScripts", "actionExit", "actionAbout"}));
    QVERIFY(CategoryList(window)->isEnabled());
    QCOMPARE(QApplication::overrideCursor(), nullptr);

    // The next open starts in the folder of the last one.
    ActionOf(window, "actionOpen")->trigger();
    QCOMPARE(prompt.dialogs.back().folder, window.DefaultPath());
  }

  void failedOpenAfterASuccessKeepsTheTitleAndEmptiesTheLists() {
    QTemporaryDir folder;
    zr3test::LevelBuilder broken = FlagLevel();
    broken.header = "02012399";
    FakePrompt prompt;
    MainWindow window(&prompt);
    QVERIFY(window.OpenLevel(WriteLevel(folder, "good.zr3", FlagLevel())));
    CategoryList(window)->setCurrentRow(kFlagsRow);
    QCOMPARE(RecordList(window)->model()->rowCount(), 256);
    QVERIFY(!Details(window)->toPlainText().isEmpty());

    QVERIFY(!window.OpenLevel(WriteLevel(folder, "bad.zr3", broken)));
    QCOMPARE(prompt.questions.size(), std::size_t{1});
    QCOMPARE(prompt.questions[0].caption, QStringLiteral("Error"));
    QCOMPARE(prompt.questions[0].text, QStringLiteral("Not a ZR3 File"));
    QCOMPARE(ShownTitle(window), QStringLiteral("good.zr3 - ZR3Tool"));
    QCOMPARE(RecordList(window)->model()->rowCount(), 0);
    QVERIFY(Details(window)->toPlainText().isEmpty());
    // The half-read level cannot be exported either.
    QVERIFY(!ActionOf(window, "actionExport")->isEnabled());
    QVERIFY(!ActionOf(window, "actionSave")->isEnabled());
    QVERIFY(!ActionOf(window, "actionSave")->isEnabled());
    QVERIFY(!ActionOf(window, "menuExportScripts")->isEnabled());
    QVERIFY(!CategoryList(window)->isEnabled());
    QVERIFY(!window.Level()->Loaded());
    QVERIFY(!window.Records()->ShownCategory());
    QCOMPARE(QApplication::overrideCursor(), nullptr);

    // A missing file fails the same way.
    QVERIFY(!window.OpenLevel(folder.filePath("missing.zr3")));
    QCOMPARE(prompt.questions.back().caption, QStringLiteral("Error"));
    QVERIFY(prompt.questions.back().text.startsWith("Cannot open file"));
  }

  void cancelOnSaveChangesKeepsTheLevelAndItsChanges() {
    QTemporaryDir folder;
    FakePrompt prompt;
    MainWindow window(&prompt);
    QVERIFY(window.OpenLevel(WriteLevel(folder, "town.zr3")));
    CategoryList(window)->setCurrentRow(kFlagsRow);
    RecordList(window)->model()->setData(RecordList(window)->model()->index(0, 0), "Changed");
    zr3::ZR3Level* level = window.Level();
    QVERIFY(level->Modified());
    QCOMPARE(ShownTitle(window), QStringLiteral("town.zr3* - ZR3Tool"));

    prompt.answers = {QMessageBox::Cancel};
    prompt.files = {WriteLevel(folder, "other.zr3")};
    ActionOf(window, "actionOpen")->trigger();
    QCOMPARE(prompt.questions.size(), std::size_t{1});
    QCOMPARE(prompt.questions[0].caption, QStringLiteral("Open"));
    QCOMPARE(prompt.questions[0].text, QStringLiteral("Save changes?"));
    QCOMPARE(prompt.questions[0].icon, QMessageBox::Question);
    QCOMPARE(prompt.questions[0].buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QVERIFY(prompt.dialogs.empty());
    QCOMPARE(window.Level(), level);
    QVERIFY(level->Modified());
    QCOMPARE(ShownTitle(window), QStringLiteral("town.zr3* - ZR3Tool"));

    // No goes on without saving.
    prompt.answers = {QMessageBox::No};
    ActionOf(window, "actionOpen")->trigger();
    QCOMPARE(ShownTitle(window), QStringLiteral("other.zr3 - ZR3Tool"));
    QVERIFY(!window.Level()->Modified());
    // The category stays chosen and shows the new level's records, nothing of the old one.
    QCOMPARE(CategoryList(window)->currentRow(), kFlagsRow);
    QCOMPARE(RecordList(window)->model()->rowCount(), 256);
    QCOMPARE(RecordList(window)->model()->index(0, 0).data().toString(), QString());
    QCOMPARE(Details(window)->toPlainText(),
             DescriptionOf(*window.Level()->List(zr3::Category::Flags)[0]));
  }

  void yesWhoseSaveFailsKeepsTheLevelAndTheWindow() {
    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkdir("gone"));
    FakePrompt prompt;
    MainWindow window(&prompt);
    QVERIFY(window.OpenLevel(WriteLevel(folder, "gone/town.zr3")));
    CategoryList(window)->setCurrentRow(kFlagsRow);
    RecordList(window)->model()->setData(RecordList(window)->model()->index(1, 0), "Changed");
    QVERIFY(QDir(folder.filePath("gone")).removeRecursively());
    zr3::ZR3Level* level = window.Level();

    prompt.answers = {QMessageBox::Yes};
    prompt.files = {WriteLevel(folder, "other.zr3")};
    ActionOf(window, "actionOpen")->trigger();
    QCOMPARE(prompt.questions.size(), std::size_t{2});
    QCOMPARE(prompt.questions[1].caption, QStringLiteral("Error"));
    QVERIFY(prompt.dialogs.empty());
    QCOMPARE(window.Level(), level);
    QVERIFY(level->Modified());
    QCOMPARE(RecordList(window)->model()->rowCount(), 256);
    QCOMPARE(QApplication::overrideCursor(), nullptr);

    window.show();
    prompt.answers = {QMessageBox::Yes};
    QVERIFY(!window.close());
    QCOMPARE(prompt.questions.size(), std::size_t{4});
    QCOMPARE(prompt.questions[2].caption, QStringLiteral("Close"));
    QCOMPARE(prompt.questions[3].caption, QStringLiteral("Error"));
    QVERIFY(window.isVisible());

    // Yes whose save works closes; the file is written.
    QVERIFY(QDir(folder.path()).mkdir("gone"));
    prompt.answers = {QMessageBox::Yes};
    QVERIFY(window.close());
    QVERIFY(QFileInfo::exists(folder.filePath("gone/town.zr3")));
    QVERIFY(!level->Modified());
  }

  void savingOverAFileAnotherProgramChangedAsksFirst() {
    QTemporaryDir folder;
    const QString path = WriteLevel(folder, "demo.zr3", FlagLevel());
    FakePrompt prompt;
    MainWindow window(&prompt);
    QVERIFY(window.OpenLevel(path));
    CategoryList(window)->setCurrentRow(kFlagsRow);
    RecordList(window)->model()->setData(RecordList(window)->model()->index(1, 0), "Changed");

    // Another program writes the file, and the reload is declined.
    zr3test::LevelBuilder theirs = FlagLevel();
    theirs.info.name = "Their Town";
    prompt.answers = {QMessageBox::No, QMessageBox::No};
    theirs.WriteTo(path.toStdString());
    QTRY_COMPARE(prompt.questions.size(), std::size_t{1});
    QCOMPARE(prompt.questions[0].caption, QStringLiteral("Reload"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray written = file.readAll();
    file.close();

    ActionOf(window, "actionSave")->trigger();
    QCOMPARE(prompt.questions.size(), std::size_t{2});
    QCOMPARE(prompt.questions[1].text,
             QStringLiteral("demo.zr3 was changed by another program since it was opened. "
                            "Overwrite it?"));
    QVERIFY(window.isWindowModified());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), written);
    file.close();

    prompt.answers = {QMessageBox::Yes};
    ActionOf(window, "actionSave")->trigger();
    QVERIFY(!window.isWindowModified());
    zr3::ZR3Level saved;
    saved.Load(path.toStdString());
    QCOMPARE(saved.List(zr3::Category::Flags)[1]->Name(), std::string("Changed"));
    // The file is the window's own again: the next save asks nothing.
    RecordList(window)->model()->setData(RecordList(window)->model()->index(2, 0), "Again");
    ActionOf(window, "actionSave")->trigger();
    QCOMPARE(prompt.questions.size(), std::size_t{3});
    QVERIFY(!window.isWindowModified());
  }

  void saveAsAppendsTheSuffixToANameWithoutOne() {
    QTemporaryDir folder;
    FakePrompt prompt;
    MainWindow window(&prompt);
    QVERIFY(window.OpenLevel(WriteLevel(folder, "town.zr3")));
    QVERIFY(QDir(folder.path()).mkdir("out"));
    prompt.files = {folder.filePath("out/castle")};
    ActionOf(window, "actionSaveAs")->trigger();

    QCOMPARE(prompt.dialogs.back().title, QStringLiteral("Save Map"));
    QCOMPARE(prompt.dialogs.back().filter, QStringLiteral("ZR3 Map Files (*.zr3)"));
    QCOMPARE(prompt.dialogs.back().defaultSuffix, QStringLiteral("zr3"));
    QCOMPARE(prompt.dialogs.back().folder, QDir::toNativeSeparators(folder.path() + "/"));
    QVERIFY(QFileInfo::exists(folder.filePath("out/castle.zr3")));
    QVERIFY(!QFileInfo::exists(folder.filePath("out/castle")));
    QCOMPARE(ShownTitle(window), QStringLiteral("castle.zr3 - ZR3Tool"));
    QCOMPARE(window.DefaultPath(), QDir::toNativeSeparators(folder.filePath("out") + "/"));
    QCOMPARE(window.Level()->FileName(), folder.filePath("out/castle.zr3").toStdString());
    QVERIFY(prompt.questions.empty());

    // A suffixed name that exists is not replaced without asking.
    const QString keep = WriteLevel(folder, "keep.zr3", FlagLevel());
    const qint64 size = QFileInfo(keep).size();
    prompt.files = {folder.filePath("keep")};
    prompt.answers = {QMessageBox::No};
    CategoryList(window)->setCurrentRow(kFlagsRow);
    RecordList(window)->model()->setData(RecordList(window)->model()->index(0, 0), "Changed");
    ActionOf(window, "actionSaveAs")->trigger();
    QCOMPARE(prompt.questions.size(), std::size_t{1});
    QCOMPARE(prompt.questions[0].caption, QStringLiteral("Save Map"));
    QCOMPARE(QFileInfo(keep).size(), size);
    // The rename is still unsaved.
    QCOMPARE(ShownTitle(window), QStringLiteral("castle.zr3* - ZR3Tool"));
  }

  void failedSaveAsKeepsTheTitle() {
    QTemporaryDir folder;
    FakePrompt prompt;
    MainWindow window(&prompt);
    QVERIFY(window.OpenLevel(WriteLevel(folder, "town.zr3")));
    prompt.files = {folder.filePath("missing/castle.zr3")};
    ActionOf(window, "actionSaveAs")->trigger();
    QCOMPARE(prompt.questions.size(), std::size_t{1});
    QCOMPARE(prompt.questions[0].caption, QStringLiteral("Error"));
    // A failed save leaves the level modified.
    QCOMPARE(ShownTitle(window), QStringLiteral("town.zr3* - ZR3Tool"));
    QCOMPARE(window.Level()->FileName(), folder.filePath("town.zr3").toStdString());
    QVERIFY(window.Level()->Modified());
  }

  void flagsListAllRowsWithOnlyFindEnabled() {
    QTemporaryDir folder;
    FakePrompt prompt;
    MainWindow window(&prompt);
    QVERIFY(window.OpenLevel(WriteLevel(folder, "flags.zr3", FlagLevel())));
    CategoryList(window)->setCurrentRow(kFlagsRow);

    QAbstractItemModel* rows = RecordList(window)->model();
    QCOMPARE(rows->rowCount(), 256);
    QCOMPARE(rows->data(rows->index(255, 0)).toString(), QStringLiteral("Flag255"));
    QCOMPARE(RecordList(window)->selectionModel()->selectedRows().value(0).row(), 0);
    QCOMPARE(Details(window)->toPlainText(),
             DescriptionOf(*window.Level()->List(zr3::Category::Flags)[0]));
    QCOMPARE(EnabledNames(window, kEditCommands), QStringList({"actionFind"}));
    QVERIFY(window.Records()->FixedTable());

    RecordList(window)->setCurrentIndex(rows->index(7, 0));
    QCOMPARE(Details(window)->toPlainText(),
             DescriptionOf(*window.Level()->List(zr3::Category::Flags)[7]));
  }

  void editCommandsFollowTheSelection() {
    QTemporaryDir folder;
    FakePrompt prompt;
    MainWindow window(&prompt);
    QVERIFY(window.OpenLevel(WriteLevel(folder, "town.zr3")));
    AddRecords(window, zr3::Category::Maps, 1);
    CategoryList(window)->setCurrentRow(kMapsRow);
    QCOMPARE(RecordList(window)->model()->rowCount(), 1);
    QVERIFY(!window.Records()->FixedTable());
    QCOMPARE(EnabledNames(window, kEditCommands),
             QStringList({"actionCopy", "actionCopyRecords", "actionMoveUp", "actionMoveDown",
                          "actionFind"}));

    AddRecords(window, zr3::Category::Songs, 2);
    CategoryList(window)->setCurrentRow(kSongsRow);
    QCOMPARE(EnabledNames(window, kEditCommands), kEditCommands);

    RecordList(window)->selectionModel()->clearSelection();
    QVERIFY(EnabledNames(window, kEditCommands).isEmpty());

    CategoryList(window)->setCurrentRow(kMapsRow + 1);  // no tiles in this level
    QCOMPARE(RecordList(window)->model()->rowCount(), 0);
    QVERIFY(EnabledNames(window, kEditCommands).isEmpty());
  }

  void renameKeepsThirtyOneCharactersAndSetsTheModifiedFlag() {
    QTemporaryDir folder;
    FakePrompt prompt;
    MainWindow window(&prompt);
    QVERIFY(window.OpenLevel(WriteLevel(folder, "flags.zr3", FlagLevel())));
    CategoryList(window)->setCurrentRow(kFlagsRow);
    const QString shownBefore = Details(window)->toPlainText();
    QAbstractItemModel* rows = RecordList(window)->model();

    QVERIFY(rows->setData(rows->index(0, 0), QString(40, QLatin1Char('n'))));
    QCOMPARE(rows->data(rows->index(0, 0)).toString(), QString(31, QLatin1Char('n')));
    QCOMPARE(window.Level()->List(zr3::Category::Flags)[0]->Name(), std::string(31, 'n'));
    QVERIFY(window.Level()->Modified());
    // The details follow the new name at once.
    QVERIFY(shownBefore.contains(QStringLiteral("Flag0")));
    QCOMPARE(Details(window)->toPlainText(),
             DescriptionOf(*window.Level()->List(zr3::Category::Flags)[0]));

    QVERIFY(rows->setData(rows->index(1, 0), QString()));
    QCOMPARE(window.Level()->List(zr3::Category::Flags)[1]->Name(), std::string());
    QVERIFY(window.Level()->Modified());
  }

  void namesKeepEveryByte() {
    QTemporaryDir folder;
    zr3test::LevelBuilder builder;
    builder.flags[0] = "Caf\xe9 \xff\x7f";
    FakePrompt prompt;
    MainWindow window(&prompt);
    QVERIFY(window.OpenLevel(WriteLevel(folder, "bytes.zr3", builder)));
    CategoryList(window)->setCurrentRow(kFlagsRow);
    QAbstractItemModel* rows = RecordList(window)->model();
    const QString shown = rows->data(rows->index(0, 0)).toString();
    QCOMPARE(shown, QString::fromUtf8("Caf\u00e9 \u00ff\x7f"));

    QVERIFY(rows->setData(rows->index(0, 0), shown));
    QCOMPARE(window.Level()->List(zr3::Category::Flags)[0]->Name(), builder.flags[0]);
    QVERIFY(rows->setData(rows->index(1, 0), QString::fromUtf8("\u00c5se")));
    QCOMPARE(window.Level()->List(zr3::Category::Flags)[1]->Name(), std::string("\xc5se"));
  }

  void generalShowsTheLevelInformation() {
    QTemporaryDir folder;
    FakePrompt prompt;
    MainWindow window(&prompt);
    QVERIFY(window.OpenLevel(WriteLevel(folder, "flags.zr3", FlagLevel())));
    CategoryList(window)->setCurrentRow(kFlagsRow);
    CategoryList(window)->setCurrentRow(zr3::ui::kGeneralRow);

    zr3::Lines info;
    window.Level()->DescribeInfo(info);
    QCOMPARE(Details(window)->toPlainText(), zr3::LinesToDisplay(info));
    QVERIFY(Details(window)->toPlainText().contains("Name: Flag Town"));
    QCOMPARE(RecordList(window)->model()->rowCount(), 0);
    QVERIFY(!window.Records()->ShownCategory());
    QVERIFY(EnabledNames(window, kEditCommands).isEmpty());
  }

  void aboutShowsNameVersionAndQt() {
    FakePrompt prompt;
    MainWindow window(&prompt);
    ActionOf(window, "actionAbout")->trigger();
    const QString text = Details(window)->toPlainText();
    QVERIFY(text.startsWith("ZR3Tool\n"));
    QVERIFY(text.contains(QStringLiteral("Qt version: ") + qVersion()));
  }

  void loadingProgressShowsInTheStatusBar() {
    // Records what the status bar shows each time the level reports progress.
    class Window : public MainWindow {
     public:
      using MainWindow::MainWindow;
      void ShowStatus(const std::string& text) override {
        MainWindow::ShowStatus(text);
        shown << statusBar()->currentMessage();
      }
      QStringList shown;
    };
    QTemporaryDir folder;
    FakePrompt prompt;
    Window window(&prompt);
    QVERIFY(window.OpenLevel(WriteLevel(folder, "town.zr3")));
    QCOMPARE(window.shown.value(0), QStringLiteral("Opening file..."));
    QVERIFY(window.shown.contains(QStringLiteral("Loading Maps...")));
    QVERIFY(window.shown.contains(QStringLiteral("Setting links...")));
    QCOMPARE(window.shown.last(), QString());
    QCOMPARE(window.statusBar()->currentMessage(), QString());
  }

  void deleteAndCopyKeysActOnlyInTheRecordList() {
    QTemporaryDir folder;
    FakePrompt prompt;
    prompt.answers = {QMessageBox::Cancel};
    MainWindow window(&prompt);
    QVERIFY(window.OpenLevel(WriteLevel(folder, "world.zr3", zr3test::World())));
    CategoryList(window)->setCurrentRow(kMapsRow);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QSignalSpy deletes(ActionOf(window, "actionDelete"), &QAction::triggered);
    QSignalSpy copies(ActionOf(window, "actionCopyRecords"), &QAction::triggered);

    RecordList(window)->setFocus();
    QTest::keyClick(RecordList(window), Qt::Key_Delete);
    QTest::keyClick(RecordList(window), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(deletes.count(), 1);
    QCOMPARE(copies.count(), 1);

    Details(window)->setFocus();
    Details(window)->selectAll();
    QTest::keyClick(Details(window), Qt::Key_Delete);
    QTest::keyClick(Details(window), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(deletes.count(), 1);
    QCOMPARE(copies.count(), 1);

    RecordList(window)->edit(RecordList(window)->model()->index(1, 0));
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QVERIFY(editor != nullptr);
    QTest::keyClick(editor, Qt::Key_Delete);
    QTest::keyClick(editor, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(deletes.count(), 1);
    QCOMPARE(copies.count(), 1);
  }

 private:
  QTemporaryDir settingsFolder_;
};

QTEST_MAIN(TestMainForm)
#include "test_mainform.moc"
