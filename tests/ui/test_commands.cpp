// The editing, search, deletion, export and import commands of the editor window, driven
// through its actions with the prompt answering every question.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QUndoStack>
#include <memory>

#include "document/texts.h"
#include "fake_prompt.h"
#include "script/zr3script.h"
#include "support/edit_checks.h"
#include "support/edit_levels.h"
#include "ui/copyscript.h"
#include "ui_test_support.h"
#include "world_window.h"

using zr3::Category;
using zr3::ui::MainWindow;

namespace {

constexpr int kGeneralRow = zr3::ui::kGeneralRow;
constexpr int kMapsRow = zr3::ui::RowOfCategory(zr3::Category::Maps);
constexpr int kTilesRow = zr3::ui::RowOfCategory(zr3::Category::Tiles);
constexpr int kGlobalScriptsRow = zr3::ui::RowOfCategory(zr3::Category::GlobalScripts);
constexpr int kObjectScriptsRow = zr3::ui::RowOfCategory(zr3::Category::ObjectScripts);
constexpr int kFlagsRow = zr3::ui::RowOfCategory(zr3::Category::Flags);
constexpr int kPalettesRow = zr3::ui::RowOfCategory(zr3::Category::Palettes);
constexpr int kListsRow = zr3::ui::RowOfCategory(zr3::Category::Lists);

#define QVERIFY_ASSERTION(result)                            \
  do {                                                       \
    const ::testing::AssertionResult checked = (result);     \
    QVERIFY2(static_cast<bool>(checked), checked.message()); \
  } while (false)

QStringList Names(const zr3::ZR3Level& level, Category category) {
  QStringList names;
  for (const std::string& name : zr3test::Names(level, category)) names << zr3::ToDisplay(name);
  return names;
}

QString FolderText(const QTemporaryDir& folder) {
  return QDir::toNativeSeparators(folder.path() + QLatin1Char('/'));
}

}  // namespace

class TestCommands : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { IsolateSettings(settingsFolder_); }
  void init() { QFile::remove(SettingsFile()); }

  void copyScriptDialogOffersTheFourScriptLists() {
    zr3::ui::TfrmCopyScript dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Copy Script"));
    QCOMPARE(dialog.findChild<QLabel*>()->text(), QStringLiteral("Copy to:"));
    auto* cboScriptType = dialog.findChild<QComboBox*>(QStringLiteral("cboScriptType"));
    QVERIFY(cboScriptType != nullptr);
    QVERIFY(!cboScriptType->isEditable());
    QStringList entries;
    for (int i = 0; i < cboScriptType->count(); ++i) entries << cboScriptType->itemText(i);
    QCOMPARE(entries,
             QStringList({"Global Scripts", "Death Scripts", "Object Scripts", "Startup Scripts"}));
    auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("okButton"));
    auto* cancel = dialog.findChild<QPushButton*>(QStringLiteral("cancelButton"));
    QCOMPARE(ok->text(), QStringLiteral("OK"));
    QVERIFY(ok->isDefault());
    QCOMPARE(cancel->text(), QStringLiteral("Cancel"));

    dialog.SetTarget(2);
    QCOMPARE(dialog.GetTarget(), 2);
    dialog.SetTarget(4);
    dialog.SetTarget(-1);
    QCOMPARE(dialog.GetTarget(), 2);
    dialog.SetTarget(3);
    QCOMPARE(dialog.GetTarget(), 3);

    QTimer::singleShot(0, ok, &QPushButton::click);
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QTimer::singleShot(0, cancel, &QPushButton::click);
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
  }

  void upAndDownMoveTheRecordWithItsNeighboursAndSave() {
    WorldWindow world;
    QVERIFY(world.Open());
    world.Select(kMapsRow, 1);
    world.Trigger("actionMoveUp");
    QCOMPARE(Rows(world.window), QStringList({"Cave", "Town", "Field"}));
    QCOMPARE(Names(world.Level(), Category::Maps), Rows(world.window));
    QCOMPARE(SelectedRow(world.window), 0);
    QCOMPARE(Details(world.window)->toPlainText(),
             DescriptionOf(*world.Level().List(Category::Maps)[0]));
    QVERIFY(world.Level().Modified());
    QVERIFY_ASSERTION(zr3test::ListIsConsistent(world.Level(), Category::Maps));
    const auto& cave = world.Level().At<zr3::ZR3ChainRecord>(Category::Maps, 0);
    const auto& town = world.Level().At<zr3::ZR3ChainRecord>(Category::Maps, 1);
    QCOMPARE(cave.Prev(), nullptr);
    QCOMPARE(cave.Next(), &town);
    QCOMPARE(town.Prev(), &cave);

    // At the ends nothing moves and the history takes no step.
    const int steps = world.window.UndoStack()->count();
    world.Trigger("actionMoveUp");
    world.Select(kMapsRow, 2);
    world.Trigger("actionMoveDown");
    QCOMPARE(Rows(world.window), QStringList({"Cave", "Town", "Field"}));
    QCOMPARE(SelectedRow(world.window), 2);
    QCOMPARE(world.window.UndoStack()->count(), steps);

    world.Select(kMapsRow, 0);
    world.Trigger("actionMoveDown");
    QCOMPARE(SelectedRow(world.window), 1);
    world.Trigger("actionMoveDown");
    QCOMPARE(Rows(world.window), QStringList({"Town", "Field", "Cave"}));
    QCOMPARE(SelectedRow(world.window), 2);

    world.Trigger("actionSave");
    QVERIFY(world.prompt.questions.empty());
    const std::unique_ptr<zr3::ZR3Level> saved = world.Reloaded();
    QCOMPARE(Names(*saved, Category::Maps), QStringList({"Town", "Field", "Cave"}));
    QVERIFY_ASSERTION(zr3test::StoredChainIsUnbroken(*saved, Category::Maps));
    // The object still stands on the town, the scripts still name the cave.
    QVERIFY(world.window.OpenLevel(world.path));
    world.Select(kMapsRow, 0);
    world.Trigger("actionFind");
    QCOMPARE(DetailLines(world.window),
             QStringList({"Search results for Town", "", "Object: Door"}));
    world.Select(kMapsRow, 2);
    world.Trigger("actionFind");
    QCOMPARE(DetailLines(world.window).value(2), QStringLiteral("Global script: Watcher"));
  }

  void copyAppendsARowWhileTheSelectionStaysOnTheSource() {
    WorldWindow world;
    QVERIFY(world.Open());
    world.Select(kMapsRow, 2);
    world.Trigger("actionCopy");
    QCOMPARE(Rows(world.window), QStringList({"Town", "Cave", "Field", "Field"}));
    QCOMPARE(SelectedRow(world.window), 2);
    QVERIFY(world.Level().Modified());
    const auto& field = world.Level().At<zr3::ZR3ChainRecord>(Category::Maps, 2);
    const auto& copy = world.Level().At<zr3::ZR3ChainRecord>(Category::Maps, 3);
    QCOMPARE(field.Next(), &copy);
    QCOMPARE(copy.Position(), 3);
    QCOMPARE(copy.Next(), nullptr);

    world.Trigger("actionSave");
    const std::unique_ptr<zr3::ZR3Level> saved = world.Reloaded();
    QCOMPARE(Names(*saved, Category::Maps), QStringList({"Town", "Cave", "Field", "Field"}));
    QVERIFY_ASSERTION(zr3test::StoredChainIsUnbroken(*saved, Category::Maps));
  }

  void copyOfTheOnlyRecordEnablesDelete() {
    WorldWindow world;
    QVERIFY(world.Open());
    world.Select(kListsRow, 0);
    QVERIFY(!ActionOf(world.window, "actionDelete")->isEnabled());
    world.Trigger("actionCopy");
    QCOMPARE(Rows(world.window), QStringList({"Menu", "Menu"}));
    QVERIFY(ActionOf(world.window, "actionDelete")->isEnabled());
    QVERIFY(ActionOf(world.window, "actionDelete")->isEnabled());

    world.Trigger("actionDelete");
    QCOMPARE(Rows(world.window), QStringList({"Menu"}));
    QCOMPARE(SelectedRow(world.window), 0);
    QVERIFY(!ActionOf(world.window, "actionDelete")->isEnabled());
    QVERIFY(ActionOf(world.window, "actionCopy")->isEnabled());
  }

  void scriptCopyGoesToTheChosenList() {
    WorldWindow world;
    QVERIFY(world.Open());
    world.Select(kGlobalScriptsRow, 0);
    world.prompt.scriptTargets = {2};
    world.Trigger("actionCopy");
    QCOMPARE(world.prompt.offeredTargets, std::vector<int>({0}));
    // Not the list shown: no row, the source stays selected.
    QCOMPARE(Rows(world.window), QStringList({"Watcher"}));
    QCOMPARE(SelectedRow(world.window), 0);
    QCOMPARE(world.Level().List(Category::GlobalScripts).size(), std::size_t{1});
    const auto& copy = world.Level().At<zr3::ZR3Script>(Category::ObjectScripts, 5);
    QCOMPARE(copy.Name(), std::string("Watcher"));
    QCOMPARE(int(copy.Kind()), 2);
    QVERIFY(world.Level().Modified());

    CategoryList(world.window)->setCurrentRow(kObjectScriptsRow);
    QCOMPARE(Rows(world.window).value(5), QStringLiteral("Watcher"));
    world.Select(kObjectScriptsRow, 5);
    world.prompt.scriptTargets = {2};
    world.Trigger("actionCopy");
    QCOMPARE(world.prompt.offeredTargets, std::vector<int>({0, 2}));
    QCOMPARE(Rows(world.window).size(), 7);
    QCOMPARE(Rows(world.window).value(6), QStringLiteral("Watcher"));
    QCOMPARE(SelectedRow(world.window), 5);
    QVERIFY_ASSERTION(zr3test::ListIsConsistent(world.Level(), Category::ObjectScripts));
  }

  // With the undo history the modified flag is its clean state: a cancelled copy is no change.
  void cancelledScriptCopyLeavesTheLevelUnmodified() {
    WorldWindow world;
    QVERIFY(world.Open());
    world.Select(kGlobalScriptsRow, 0);
    world.Trigger("actionCopy");
    QCOMPARE(world.prompt.offeredTargets.size(), std::size_t{1});
    QVERIFY(!world.Level().Modified());
    QVERIFY(!world.window.isWindowModified());
    QCOMPARE(Rows(world.window), QStringList({"Watcher"}));
    QCOMPARE(world.Level().List(Category::GlobalScripts).size(), std::size_t{1});
    QCOMPARE(world.Level().List(Category::ObjectScripts).size(), std::size_t{5});
  }

  void findShowsEveryReferrerAndChangesNothing() {
    WorldWindow world;
    QVERIFY(world.Open());
    world.Select(kMapsRow, 1);
    world.Trigger("actionFind");
    QCOMPARE(DetailLines(world.window),
             QStringList({"Search results for Cave", "", "Global script: Watcher",
                          "Startup script: Opening", "Death script: Mourner"}));
    QCOMPARE(SelectedRow(world.window), 1);
    QVERIFY(!world.Level().Modified());
    QCOMPARE(QApplication::overrideCursor(), nullptr);

    world.Select(kFlagsRow, 5);
    QVERIFY(ActionOf(world.window, "actionFind")->isEnabled());
    world.Trigger("actionFind");
    const QString flag = zr3::ToDisplay(world.Level().List(Category::Flags)[5]->Name());
    QCOMPARE(DetailLines(world.window),
             QStringList({"Search results for " + flag, "", "Startup script: Opening"}));
  }

  void deletingAReferencedRecordWarnsAndChangesNothing() {
    WorldWindow world;
    QVERIFY(world.Open());
    world.Select(kTilesRow, 2);
    const QString details = Details(world.window)->toPlainText();
    world.Trigger("actionDelete");
    QCOMPARE(world.prompt.questions.size(), std::size_t{1});
    const FakePrompt::Question& warning = world.prompt.questions[0];
    QCOMPARE(warning.icon, QMessageBox::Warning);
    QCOMPARE(warning.caption, QStringLiteral("Delete"));
    QCOMPARE(warning.text,
             QStringLiteral("Cannot delete item while other items\nstill refer to it."));
    QCOMPARE(warning.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(warning.details, QStringList({"Monster: Troll"}));
    QCOMPARE(Rows(world.window), QStringList({"Grass", "Water", "Lava"}));
    QCOMPARE(Names(world.Level(), Category::Tiles), Rows(world.window));
    QCOMPARE(SelectedRow(world.window), 2);
    QCOMPARE(Details(world.window)->toPlainText(), details);
    QVERIFY(!world.Level().Modified());
  }

  void deletingAfterOkRemovesTheRowAndTheRecord() {
    WorldWindow world;
    QVERIFY(world.Open());
    world.Select(kObjectScriptsRow, 2);
    world.prompt.answers = {QMessageBox::Cancel};
    world.Trigger("actionDelete");
    QCOMPARE(world.prompt.questions.back().icon, QMessageBox::Question);
    QCOMPARE(world.prompt.questions.back().caption, QStringLiteral("Delete"));
    QCOMPARE(world.prompt.questions.back().text, QStringLiteral("Delete Spare?"));
    QCOMPARE(world.prompt.questions.back().buttons, QMessageBox::Ok | QMessageBox::Cancel);
    QCOMPARE(Rows(world.window).size(), 5);
    QVERIFY(!world.Level().Modified());

    world.Trigger("actionDelete");
    QCOMPARE(Rows(world.window), QStringList({"Open", "Drink", "Loop", "Listed"}));
    QCOMPARE(Names(world.Level(), Category::ObjectScripts), Rows(world.window));
    QVERIFY_ASSERTION(zr3test::ListIsConsistent(world.Level(), Category::ObjectScripts));
    QVERIFY(world.Level().Modified());
    // The record that took the removed one's place is selected and shown.
    QCOMPARE(SelectedRow(world.window), 2);
    QCOMPARE(Details(world.window)->toPlainText(),
             DescriptionOf(*world.Level().List(Category::ObjectScripts)[2]));

    // Removing the last row selects the new last one.
    world.Select(kPalettesRow, 1);
    world.Trigger("actionDelete");
    QCOMPARE(Rows(world.window), QStringList({"Day"}));
    QCOMPARE(SelectedRow(world.window), 0);
    QVERIFY(!ActionOf(world.window, "actionDelete")->isEnabled());

    world.Trigger("actionSave");
    const std::unique_ptr<zr3::ZR3Level> saved = world.Reloaded();
    QCOMPARE(Names(*saved, Category::ObjectScripts),
             QStringList({"Open", "Drink", "Loop", "Listed"}));
    QVERIFY_ASSERTION(zr3test::StoredChainIsUnbroken(*saved, Category::ObjectScripts));
    QCOMPARE(Names(*saved, Category::Palettes), QStringList({"Day"}));
  }

  void scriptExportsNeedAScriptCategory() {
    WorldWindow world;
    QVERIFY(world.Open());
    world.Select(kMapsRow, 0);
    world.Trigger("actionExportSelectedScript");
    world.Trigger("actionExportScriptType");
    CategoryList(world.window)->setCurrentRow(kGeneralRow);
    world.Trigger("actionExportScriptType");
    QCOMPARE(world.prompt.questions.size(), std::size_t{3});
    QStringList texts;
    for (const FakePrompt::Question& question : world.prompt.questions) {
      QCOMPARE(question.caption, QStringLiteral("Export"));
      QCOMPARE(question.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
      texts << question.text;
    }
    QCOMPARE(texts, QStringList({"No script selected.", "Script type not selected.",
                                 "Script type not selected."}));
    QVERIFY(world.prompt.dialogs.empty());
  }

  void exportOfAllScriptsImportsBackAsFound() {
    WorldWindow world;
    QVERIFY(world.Open());
    QTemporaryDir out;
    world.Select(kObjectScriptsRow, 1);
    world.prompt.files = {out.filePath("scripts")};
    world.Trigger("actionExportAllScripts");
    QCOMPARE(world.prompt.dialogs.size(), std::size_t{1});
    const zr3::ui::FileDialogRequest exported = world.prompt.dialogs[0];
    QCOMPARE(exported.name, QStringLiteral("dlgExport"));
    QCOMPARE(exported.title, QStringLiteral("Export Scripts"));
    QCOMPARE(exported.filter, QStringLiteral("Text Files (*.txt)"));
    QCOMPARE(exported.fileName, QStringLiteral("world.txt"));
    QCOMPARE(exported.folder, QString());
    QVERIFY(QFile::exists(out.filePath("scripts.txt")));
    QVERIFY(!world.Level().Modified());

    const std::size_t scripts = 8;
    world.prompt.files = {out.filePath("scripts.txt")};
    world.Trigger("actionImportScripts");
    const zr3::ui::FileDialogRequest imported = world.prompt.dialogs.back();
    QCOMPARE(imported.name, QStringLiteral("dlgImport"));
    QCOMPARE(imported.title, QStringLiteral("Import Scripts"));
    QCOMPARE(imported.filter, QStringLiteral("ZR3 Script Files (*.txt);;All Files (*.*)"));
    QCOMPARE(imported.folder, FolderText(out));

    const QStringList report = DetailLines(world.window);
    QCOMPARE(report.mid(0, 2), QStringList({"IMPORT SCRIPTS", ""}));
    QCOMPARE(std::size_t(report.count(QStringLiteral("...Found"))), 2 * scripts);
    QCOMPARE(report.count(QStringLiteral("...Added")), 0);
    QVERIFY(report.contains(QStringLiteral("Watcher updated")));
    QVERIFY(report.contains(QStringLiteral("Loop updated")));
    QCOMPARE(world.Level().List(Category::GlobalScripts).size() +
                 world.Level().List(Category::DeathScripts).size() +
                 world.Level().List(Category::ObjectScripts).size() +
                 world.Level().List(Category::StartupScripts).size(),
             scripts);
    QVERIFY(world.Level().Modified());
    // The shown script list keeps its rows and its selection.
    QCOMPARE(Rows(world.window), QStringList({"Open", "Drink", "Spare", "Loop", "Listed"}));
    QCOMPARE(SelectedRow(world.window), 1);
    QVERIFY(ActionOf(world.window, "actionFind")->isEnabled());
  }

  void exportsRememberTheirOwnFolders() {
    WorldWindow world;
    QVERIFY(world.Open());
    QTemporaryDir levelText;
    QTemporaryDir scriptText;
    world.Select(kObjectScriptsRow, 3);
    world.prompt.files = {levelText.filePath("level"), scriptText.filePath("loop.txt")};
    world.Trigger("actionExport");
    world.Trigger("actionExportSelectedScript");
    QFile level(levelText.filePath("level.txt"));
    QVERIFY(level.open(QIODevice::ReadOnly));
    QVERIFY(level.readAll().contains("Town\r\n"));
    QFile loop(scriptText.filePath("loop.txt"));
    QVERIFY(loop.open(QIODevice::ReadOnly));
    const QByteArray script = loop.readAll();
    QVERIFY(script.contains("\"Loop\"\r\n"));
    QCOMPARE(script.count("end script\r\n"), 1);

    world.Select(kGlobalScriptsRow, 0);
    world.Trigger("actionExport");
    world.Trigger("actionExportScriptType");
    world.Trigger("actionImportScripts");
    QCOMPARE(world.prompt.dialogs.size(), std::size_t{5});
    QCOMPARE(world.prompt.dialogs[2].folder, FolderText(levelText));
    QCOMPARE(world.prompt.dialogs[3].folder, FolderText(scriptText));
    QCOMPARE(world.prompt.dialogs[4].folder, FolderText(scriptText));
  }

  void failedScriptExportShowsTheErrorAndStillRemembersTheFolder() {
    WorldWindow world;
    QVERIFY(world.Open());
    QTemporaryDir out;
    const QString missing = out.filePath("missing");
    world.prompt.files = {missing + "/scripts.txt"};
    world.Trigger("actionExportAllScripts");
    QCOMPARE(world.prompt.questions.size(), std::size_t{1});
    QCOMPARE(world.prompt.questions[0].icon, QMessageBox::Critical);
    QCOMPARE(world.prompt.questions[0].caption, QStringLiteral("Error"));
    QVERIFY(world.prompt.questions[0].text.contains(QStringLiteral("scripts.txt")));
    QVERIFY(!QFileInfo::exists(missing));
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    world.Trigger("actionImportScripts");
    QCOMPARE(world.prompt.dialogs.back().folder, QDir::toNativeSeparators(missing + "/"));
  }

 private:
  QTemporaryDir settingsFolder_;
};

QTEST_MAIN(TestCommands)
#include "test_commands.moc"
