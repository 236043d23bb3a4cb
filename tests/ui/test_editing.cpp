// Field editing, the undo history and the item filter of the editor window, driven through its
// models and actions with the prompt answering every question.
#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QTreeView>
#include <QUndoStack>
#include <QUrl>
#include <memory>

#include "document/texts.h"
#include "editor_fixture.h"
#include "fake_prompt.h"
#include "level/bytes.h"
#include "level/field_access.h"
#include "script/zr3script.h"
#include "support/edit_levels.h"
#include "support/item_builder.h"
#include "ui/fielddelegate.h"
#include "ui/fieldmodel.h"
#include "ui_test_support.h"

using zr3::Category;
using zr3::FieldKind;
using zr3::ui::FieldTreeModel;
using zr3::ui::MainWindow;

namespace {

constexpr int kGeneralRow = zr3::ui::kGeneralRow;
constexpr int kMapsRow = zr3::ui::RowOfCategory(zr3::Category::Maps);
constexpr int kObjectsRow = zr3::ui::RowOfCategory(zr3::Category::Objects);
constexpr int kObjectScriptsRow = zr3::ui::RowOfCategory(zr3::Category::ObjectScripts);
constexpr int kItemsRow = zr3::ui::RowOfCategory(zr3::Category::Items);

// The world level with many more items, so that moves, copies and deletions meet long lists.
zr3test::LevelBuilder StressWorld() {
  zr3test::LevelBuilder builder = zr3test::World();
  for (std::uint32_t i = 0; i < 300; ++i) {
    zr3test::ItemFields item{.name = "Item " + std::to_string(i),
                             .type = static_cast<std::uint16_t>(i % 5),
                             .cost = static_cast<std::int16_t>(i)};
    item.id = 1000 + i;
    builder.Add(Category::Items, zr3test::ItemBlob(item));
  }
  return builder;
}

// Every editable field of the pane, slots included.
std::vector<const FieldTreeModel::Node*> EditableFields(const FieldTreeModel& model) {
  std::vector<const FieldTreeModel::Node*> fields;
  for (int row = 0; row < model.rowCount(); ++row) {
    const QModelIndex top = model.index(row, 0);
    const FieldTreeModel::Node* node = model.NodeAt(top);
    if (FieldTreeModel::Editable(node->info)) fields.push_back(node);
    for (const FieldTreeModel::Node& child : node->children) {
      if (FieldTreeModel::Editable(child.info)) fields.push_back(&child);
    }
  }
  return fields;
}

// The fields of a record as a reload of the saved file shows them, by name.
std::map<std::string, std::string> SavedFields(const QString& path, Category category,
                                               std::size_t index) {
  zr3::ZR3Level level;
  level.Load(path.toStdString());
  std::map<std::string, std::string> fields;
  for (const zr3::FieldInfo& field : level.List(category)[index]->Fields()) {
    fields[field.name] = field.value;
    for (const zr3::FieldInfo& slot : field.elements) fields[slot.name] = slot.value;
  }
  return fields;
}

}  // namespace

class TestEditing : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { IsolateSettings(settingsFolder_); }
  void init() { QFile::remove(SettingsFile()); }

  void editingAFieldChangesExactlyThatFieldInTheSave_data() {
    QTest::addColumn<int>("categoryRow");
    for (int row = 1; row < zr3::ui::kCategoryRowCount; ++row) {
      QTest::newRow(qPrintable(QString::number(row))) << row;
    }
  }
  void editingAFieldChangesExactlyThatFieldInTheSave() {
    QFETCH(int, categoryRow);
    Editor editor;
    QVERIFY(editor.Open());
    const Category category = *zr3::ui::CategoryOfRow(categoryRow);
    if (editor.Level().List(category).empty()) QSKIP("the world level has no such record");
    if (zr3::IsScriptCategory(category)) QSKIP("scripts are edited as script text");
    editor.Select(categoryRow, 0);
    editor.Trigger("actionSave");
    const auto before = SavedFields(editor.path, category, 0);

    // The first number or text the pane offers, set to a value it did not hold.
    const FieldTreeModel::Node* chosen = nullptr;
    for (const FieldTreeModel::Node* node : EditableFields(editor.Fields())) {
      if (node->info.kind == FieldKind::Integer || node->info.kind == FieldKind::Text) {
        chosen = node;
        break;
      }
    }
    QVERIFY(chosen != nullptr);
    const std::string path = chosen->info.name;
    const QString value =
        chosen->info.kind == FieldKind::Text
            ? QStringLiteral("Q")
            : QString::number(chosen->info.number == chosen->info.max ? chosen->info.min
                                                                      : chosen->info.number + 1);
    QVERIFY(editor.SetField(path, value));
    QCOMPARE(editor.Field(path), value);
    QVERIFY(editor.window.isWindowModified());
    // The details text follows at once.
    QCOMPARE(Details(editor.window)->toPlainText(),
             DescriptionOf(*editor.Level().List(category)[0]));
    editor.Trigger("actionSave");
    QVERIFY(!editor.window.isWindowModified());

    auto after = SavedFields(editor.path, category, 0);
    QCOMPARE(after[path], value.toStdString());
    after[path] = before.at(path);
    QVERIFY(after == before);
  }

  void generalEditsTheLevelInformationAndTheCustomTexts() {
    Editor editor;
    QVERIFY(editor.Open());
    editor.Select(kGeneralRow, -1);
    QVERIFY(editor.SetField("author", QStringLiteral("Somebody")));
    QCOMPARE(editor.Level().Info().author, std::string("Somebody"));
    QVERIFY(Details(editor.window)->toPlainText().contains(QStringLiteral("Somebody")));
    // With the Fields tab in front the description is written when Details comes back.
    auto* tabs = editor.window.findChild<QTabWidget*>(QStringLiteral("recordTabs"));
    tabs->setCurrentIndex(1);
    QVERIFY(editor.SetField("author", QStringLiteral("Someone else")));
    QVERIFY(!Details(editor.window)->toPlainText().contains(QStringLiteral("Someone else")));
    tabs->setCurrentIndex(0);
    QVERIFY(Details(editor.window)->toPlainText().contains(QStringLiteral("Someone else")));
    QVERIFY(editor.SetField("custom_text[2]", QStringLiteral("Gold")));
    QCOMPARE(editor.Level().List(Category::CustomText)[2]->Name(), std::string("Gold"));
    // The two edits of the author are one step.
    QCOMPARE(editor.History().count(), 2);
    editor.UndoAll();
    QVERIFY(editor.Level().Info().author.empty());
    QVERIFY(editor.Level().List(Category::CustomText)[2]->Name().empty());
    QCOMPARE(editor.Field("custom_text[2]"), QString());
  }

  void aRefusedValueIsReportedAndChangesNothing() {
    Editor editor;
    QVERIFY(editor.Open());
    editor.Select(kGeneralRow, -1);
    const std::string saved = editor.Saved();
    QVERIFY(!editor.SetField("inventory_size", QStringLiteral("300")));
    QVERIFY(
        editor.window.statusBar()->currentMessage().startsWith(QStringLiteral("inventory_size: ")));
    QCOMPARE(editor.Saved(), saved);
    QCOMPARE(editor.History().count(), 0);
    QVERIFY(!editor.window.isWindowModified());
    QCOMPARE(editor.Field("inventory_size"), QStringLiteral("0"));

    editor.Select(kItemsRow, 0);
    QVERIFY(!editor.SetField("type", QStringLiteral("-1")));
    QCOMPARE(editor.Saved(), saved);
  }

  void consecutiveEditsOfOneFieldAreOneStep() {
    Editor editor;
    QVERIFY(editor.Open());
    editor.Select(kItemsRow, 0);
    const std::string saved = editor.Saved();
    QVERIFY(editor.SetField("cost", QStringLiteral("5")));
    QVERIFY(editor.SetField("cost", QStringLiteral("6")));
    QCOMPARE(editor.History().count(), 1);
    QVERIFY(editor.SetField("type", QStringLiteral("2")));
    QCOMPARE(editor.History().count(), 2);
    // Undo shows the record it changes again.
    editor.Select(kMapsRow, 0);
    editor.History().undo();
    QCOMPARE(CategoryList(editor.window)->currentRow(), kItemsRow);
    QCOMPARE(SelectedRow(editor.window), 0);
    editor.History().undo();
    QCOMPARE(editor.Saved(), saved);
    QCOMPARE(editor.Field("cost"), QStringLiteral("0"));
  }

  void aReferenceTakesAPositionNoneOrAName() {
    Editor editor;
    QVERIFY(editor.Open());
    editor.Select(kGeneralRow, -1);
    QVERIFY(editor.SetField("palette", QStringLiteral("Night")));
    QCOMPARE(editor.Field("palette"), QStringLiteral("1"));
    const QModelIndex record =
        editor.Fields().ValueIndex("palette").siblingAtColumn(FieldTreeModel::RecordColumn);
    QCOMPARE(record.data().toString(), QStringLiteral("1: Night"));
    // The level's palette looks identifier 0 up like any other: "none" stores 0, which then
    // shows as the JSON shows it.
    QVERIFY(editor.SetField("palette", QStringLiteral("none")));
    QCOMPARE(editor.Field("palette"), QStringLiteral("unresolved 0"));
    QVERIFY(!editor.SetField("palette", QStringLiteral("Nowhere")));
  }

  void theEditorsFollowTheFieldKinds() {
    Editor editor;
    QVERIFY(editor.Open());
    editor.Select(kGeneralRow, -1);
    auto* view = editor.window.findChild<QTreeView*>(QStringLiteral("fieldTree"));
    QAbstractItemDelegate* delegate = view->itemDelegate();
    const QStyleOptionViewItem option;
    auto editorFor = [&](const std::string& path) {
      return delegate->createEditor(view->viewport(), option, editor.Fields().ValueIndex(path));
    };

    // A reference picker lists "index: name" after "none" and narrows the list as one types.
    auto* picker = qobject_cast<zr3::ui::ReferencePicker*>(editorFor("palette"));
    QVERIFY(picker != nullptr);
    QCOMPARE(picker->List()->model()->rowCount(), 3);
    QCOMPARE(picker->List()->model()->index(2, 0).data().toString(), QStringLiteral("1: Night"));
    delegate->setEditorData(picker, editor.Fields().ValueIndex("palette"));
    QCOMPARE(picker->Value(), QStringLiteral("0"));
    QTest::keyClicks(picker->Filter(), QStringLiteral("NIG"));
    QCOMPARE(picker->List()->model()->rowCount(), 1);
    QCOMPARE(picker->Value(), QStringLiteral("1"));
    // The arrow keys browse the list from the filter.
    picker->Filter()->clear();
    QCOMPARE(picker->Value(), QStringLiteral("none"));
    QTest::keyClick(picker->Filter(), Qt::Key_Down);
    QTest::keyClick(picker->Filter(), Qt::Key_Down);
    QCOMPARE(picker->Value(), QStringLiteral("1"));
    QTest::keyClick(picker->Filter(), Qt::Key_Up);
    QCOMPARE(picker->Value(), QStringLiteral("0"));
    QTest::keyClick(picker->Filter(), Qt::Key_Down);
    delegate->setModelData(picker, &editor.Fields(), editor.Fields().ValueIndex("palette"));
    QCOMPARE(editor.Level().Info().palette.Record(),
             editor.Level().List(Category::Palettes)[1].get());
    delete picker;

    auto* text = qobject_cast<QLineEdit*>(editorFor("version"));
    QCOMPARE(text->maxLength(), 10);
    delete text;
    auto* spin = qobject_cast<QSpinBox*>(editorFor("inventory_size"));
    QCOMPARE(spin->minimum(), 0);
    QCOMPARE(spin->maximum(), 255);
    delete spin;
    // Opaque bytes are shown, never edited.
    QVERIFY(!(editor.Fields().flags(editor.Fields().ValueIndex("opaque_a")) & Qt::ItemIsEditable));

    // A choice offers its words, and the stored number when it is none of them.
    editor.Select(kItemsRow, 0);
    auto* choice = qobject_cast<QComboBox*>(editorFor("type"));
    QVERIFY(choice != nullptr);
    const int words = choice->count();
    QVERIFY(words > 1);
    choice->setCurrentIndex(1);
    delegate->setModelData(choice, &editor.Fields(), editor.Fields().ValueIndex("type"));
    QCOMPARE(editor.Field("type"), QStringLiteral("1"));
    delete choice;
    QVERIFY(editor.SetField("type", QString::number(words + 5)));
    choice = qobject_cast<QComboBox*>(editorFor("type"));
    QCOMPARE(choice->count(), words + 1);
    delegate->setEditorData(choice, editor.Fields().ValueIndex("type"));
    QCOMPARE(choice->currentText(), QString::number(words + 5));
    delete choice;
  }

  void aRunOfSlotsIsAGroupWhoseSlotsAreEditedOneByOne() {
    Editor editor;
    QVERIFY(editor.Open());
    editor.Select(kObjectsRow, 0);
    const FieldTreeModel& fields = editor.Fields();
    QModelIndex run;
    for (int row = 0; row < fields.rowCount() && !run.isValid(); ++row) {
      if (fields.NodeAt(fields.index(row, 0))->info.kind == FieldKind::Run)
        run = fields.index(row, 0);
    }
    QVERIFY(run.isValid());
    QCOMPARE(fields.rowCount(run), 10);
    QVERIFY(!(fields.flags(run.siblingAtColumn(FieldTreeModel::ValueColumn)) & Qt::ItemIsEditable));
    const QModelIndex slot = fields.index(1, FieldTreeModel::ValueColumn, run);
    const std::string path = fields.NodeAt(slot)->info.name;
    QCOMPARE(slot.data(Qt::EditRole).toString(), QStringLiteral("none"));
    QVERIFY(editor.SetField(path, QStringLiteral("Drink")));
    QCOMPARE(editor.Field(path), QStringLiteral("1"));
    QCOMPARE(editor.Fields().ValueIndex(path).siblingAtColumn(FieldTreeModel::RecordColumn).data(),
             QVariant(QStringLiteral("1: Drink")));
    editor.History().undo();
    QCOMPARE(editor.Field(path), QStringLiteral("none"));
  }

  void theShortcutsReachTheCommands() {
    Editor editor;
    QVERIFY(editor.Open());
    editor.window.show();
    QVERIFY(QTest::qWaitForWindowActive(&editor.window));
    editor.Select(kMapsRow, 1);
    RecordList(editor.window)->setFocus();
    QTest::keyClick(RecordList(editor.window), Qt::Key_Up, Qt::ControlModifier);
    QCOMPARE(Rows(editor.window), QStringList({"Cave", "Town", "Field"}));
    QTest::keySequence(&editor.window, QKeySequence::Undo);
    QCOMPARE(Rows(editor.window), QStringList({"Town", "Cave", "Field"}));
    QTest::keySequence(&editor.window, QKeySequence::Redo);
    QCOMPARE(Rows(editor.window), QStringList({"Cave", "Town", "Field"}));
    QTest::keySequence(&editor.window, QKeySequence::Find);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("filterEdit"));
    QTest::keyClick(&editor.window, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(Details(editor.window)->toPlainText().startsWith(QStringLiteral("Search results for")));
  }

  void everyCommandIsUndoneToTheSameSaveAndRedone() {
    Editor editor;
    QVERIFY(editor.Open());
    const std::string original = editor.Saved();
    editor.Select(kMapsRow, 1);
    QAbstractItemModel* rows = RecordList(editor.window)->model();
    QVERIFY(rows->setData(rows->index(1, 0), QStringLiteral("Hollowtree")));
    editor.Trigger("actionMoveUp");
    editor.Trigger("actionCopy");
    QVERIFY(editor.SetField("size", QStringLiteral("7")));
    editor.Select(kObjectScriptsRow, 2);
    editor.prompt.scriptTargets.push_back(0);
    editor.Trigger("actionCopy");
    editor.Select(kItemsRow, 1);
    editor.Trigger("actionDelete");
    QCOMPARE(editor.Level().List(Category::Items).size(), std::size_t{1});
    const QString scripts = editor.folder.filePath(QStringLiteral("scripts.txt"));
    QFile text(scripts);
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write(
        "objectscript \"Drink\"\r\nconditions:\r\ncommands:\r\n  returntomap\r\n"
        "end script\r\nglobalscript \"Extra\"\r\nconditions:\r\ncommands:\r\n"
        "  returntomap\r\nend script\r\n");
    text.close();
    editor.prompt.files = {scripts};
    editor.Trigger("actionImportScripts");
    QCOMPARE(editor.Level().List(Category::GlobalScripts).size(), std::size_t{3});
    QCOMPARE(editor.History().count(), 7);
    QCOMPARE(editor.History().text(6), QStringLiteral("Import Scripts from scripts.txt"));
    editor.History().undo();
    QCOMPARE(ActionOf(editor.window, "actionRedo")->text(),
             QStringLiteral("Redo Import Scripts from scripts.txt"));
    QCOMPARE(ActionOf(editor.window, "actionUndo")->text(),
             QStringLiteral("Undo Delete Item 'Potion'"));
    editor.History().redo();
    QCOMPARE(editor.History().text(0), QStringLiteral("Rename Map 'Cave'"));
    const std::string edited = editor.Saved();

    editor.UndoAll();
    QCOMPARE(editor.Saved(), original);
    QVERIFY(!editor.window.isWindowModified());
    editor.RedoAll();
    QCOMPARE(editor.Saved(), edited);
    // The last step redone shows: the script the import overwrote.
    QCOMPARE(CategoryList(editor.window)->currentRow(), kObjectScriptsRow);
    QCOMPARE(Rows(editor.window).value(SelectedRow(editor.window)), QStringLiteral("Drink"));
    editor.Select(kItemsRow, 0);
    QCOMPARE(Rows(editor.window), QStringList({"Axe"}));
    QVERIFY(editor.window.isWindowModified());
  }

  void theCleanStateFollowsSavesAndUndo() {
    Editor editor;
    QVERIFY(editor.Open());
    editor.Select(kItemsRow, 0);
    QVERIFY(editor.SetField("cost", QStringLiteral("9")));
    QVERIFY(editor.Level().Modified());
    editor.Trigger("actionSave");
    QVERIFY(!editor.Level().Modified());
    QVERIFY(!editor.window.isWindowModified());
    editor.History().undo();
    QVERIFY(editor.Level().Modified());
    QCOMPARE(ShownTitle(editor.window), QStringLiteral("level.zr3* - ZR3Tool"));
    editor.History().redo();
    QVERIFY(!editor.Level().Modified());

    // A rename to the same text and a cancelled copy are no changes.
    QAbstractItemModel* rows = RecordList(editor.window)->model();
    QVERIFY(rows->setData(rows->index(0, 0), QStringLiteral("Axe")));
    editor.Select(kObjectScriptsRow, 0);
    editor.Trigger("actionCopy");
    QVERIFY(!editor.Level().Modified());
    QCOMPARE(editor.History().count(), 1);

    // Opening a level starts a new history.
    QVERIFY(editor.Open());
    QCOMPARE(editor.History().count(), 0);
    QVERIFY(!editor.History().canUndo());
  }

  void theFilterKeepsMatchingRowsAndCommandsActOnTheirRecords() {
    Editor editor(StressWorld());
    QVERIFY(editor.Open());
    editor.Select(kItemsRow, 0);
    auto* filter = editor.window.findChild<QLineEdit*>(QStringLiteral("filterEdit"));
    editor.Trigger("actionFilter");
    QTest::keyClicks(filter, QStringLiteral("item 29"));
    QCOMPARE(Rows(editor.window),
             QStringList({"Item 29", "Item 290", "Item 291", "Item 292", "Item 293", "Item 294",
                          "Item 295", "Item 296", "Item 297", "Item 298", "Item 299"}));
    // The third row shown is "Item 291", the record at position 293 of the list.
    RecordList(editor.window)->setCurrentIndex(RecordList(editor.window)->model()->index(2, 0));
    QCOMPARE(Details(editor.window)->toPlainText(),
             DescriptionOf(*editor.Level().List(Category::Items)[293]));
    editor.Trigger("actionDelete");
    QCOMPARE(editor.Level().List(Category::Items)[293]->Name(), std::string("Item 292"));
    QVERIFY(!Rows(editor.window).contains(QStringLiteral("Item 291")));
    editor.History().undo();
    QCOMPARE(editor.Level().List(Category::Items)[293]->Name(), std::string("Item 291"));
    filter->clear();
    QCOMPARE(RecordList(editor.window)->model()->rowCount(), 302);
  }

  // Case folds as the characters do, not as their bytes would in Latin-1: 'Š', 'Œ' and 'Ÿ'
  // are bytes 0x8A, 0x8C and 0x9F of the level's code page.
  void theFilterIgnoresCaseOfEveryCharacterTheLevelHolds() {
    zr3test::LevelBuilder builder = zr3test::World();
    for (const char* name : {"\x8A"
                             "arka",
                             "\x8C"
                             "uvre",
                             "\x9F"
                             "es",
                             "Sarka"}) {
      zr3test::ItemFields item{.name = name};
      item.id = 900 + static_cast<std::uint32_t>(name[0] & 0xFF);
      builder.Add(Category::Items, zr3test::ItemBlob(item));
    }
    Editor editor(builder);
    QVERIFY(editor.Open());
    editor.Select(kItemsRow, 0);
    auto* filter = editor.window.findChild<QLineEdit*>(QStringLiteral("filterEdit"));
    editor.Trigger("actionFilter");
    const std::vector<std::pair<QString, QStringList>> cases = {
        {QStringLiteral("\u0161ARKA"), {QStringLiteral("\u0160arka")}},
        {QStringLiteral("\u0153UV"), {QStringLiteral("\u0152uvre")}},
        {QStringLiteral("\u00FFes"), {QStringLiteral("\u0178es")}},
        {QStringLiteral("\u0178ES"), {QStringLiteral("\u0178es")}},
        {QStringLiteral("sark"), {QStringLiteral("Sarka")}},
    };
    for (const auto& [typed, rows] : cases) {
      filter->setText(typed);
      QCOMPARE(Rows(editor.window), rows);
    }
  }

  void recentFilesKeepTheLastEightAndDropAMissingOne() {
    Editor editor;
    QStringList opened;
    for (int i = 0; i < 10; ++i) {
      const QString path = WriteLevel(editor.folder, QStringLiteral("level%1.zr3").arg(i));
      QVERIFY(editor.window.OpenLevel(path));
      opened.prepend(QFileInfo(path).absoluteFilePath());
    }
    QCOMPARE(editor.window.RecentFiles(), opened.mid(0, 8));
    // Opening one again brings it to the top.
    ActionOf(editor.window, "actionRecentFile3")->trigger();
    QCOMPARE(editor.window.RecentFiles().first(), opened[2]);
    QCOMPARE(editor.Level().FileName(), opened[2].toStdString());

    QVERIFY(QFile::remove(opened[5]));
    ActionOf(editor.window, "actionRecentFile6")->trigger();
    QCOMPARE(editor.prompt.questions.back().caption, QStringLiteral("Open"));
    QVERIFY(editor.prompt.questions.back().text.contains(QStringLiteral("no longer exists")));
    QCOMPARE(editor.window.RecentFiles().size(), 7);
    QVERIFY(!editor.window.RecentFiles().contains(opened[5]));
    QCOMPARE(editor.Level().FileName(), opened[2].toStdString());

    // The list outlives the window.
    FakePrompt prompt;
    QStringList written;
    {
      MainWindow first(&prompt);
      QVERIFY(first.OpenLevel(opened[0]));
      QVERIFY(first.OpenLevel(editor.path));
      written = first.RecentFiles();
    }
    QCOMPARE(written.size(), 2);
    MainWindow second(&prompt);
    QCOMPARE(second.RecentFiles(), written);
  }

  void aDroppedLevelOpensAfterAskingToSaveChanges() {
    Editor editor;
    QVERIFY(editor.Open());
    editor.Select(kItemsRow, 0);
    QVERIFY(editor.SetField("cost", QStringLiteral("3")));
    const QString other = WriteLevel(editor.folder, QStringLiteral("other.zr3"));
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(other)});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&editor.window, &enter);
    QVERIFY(enter.isAccepted());
    editor.prompt.answers.push_back(QMessageBox::Cancel);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&editor.window, &drop);
    QCOMPARE(editor.prompt.questions.back().text, QStringLiteral("Save changes?"));
    QCOMPARE(editor.Level().FileName(), editor.path.toStdString());
    editor.prompt.answers.push_back(QMessageBox::No);
    QDragEnterEvent enterAgain(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&editor.window, &enterAgain);
    QDropEvent again(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&editor.window, &again);
    QCOMPARE(editor.prompt.questions.size(), std::size_t{2});
    QCOMPARE(QString::fromStdString(editor.Level().FileName()), other);

    QMimeData text;
    text.setUrls({QUrl::fromLocalFile(editor.folder.filePath(QStringLiteral("notes.txt")))});
    QDragEnterEvent refused(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&editor.window, &refused);
    QVERIFY(!refused.isAccepted());
  }

  void aChangeOnDiskOffersToReloadButTheWindowsOwnSaveDoesNot() {
    Editor editor;
    QVERIFY(editor.Open());
    editor.Select(kItemsRow, 0);
    QVERIFY(editor.SetField("cost", QStringLiteral("3")));
    editor.Trigger("actionSave");
    QTest::qWait(300);
    QVERIFY(editor.prompt.questions.empty());

    // Another program replaces the file by rename, as an atomic save does.
    zr3test::LevelBuilder changed = zr3test::World();
    changed.info.author = "Elsewhere";
    const QString replacement = WriteLevel(editor.folder, QStringLiteral("new.zr3"), changed);
    QVERIFY(QFile::remove(editor.path));
    QVERIFY(QFile::rename(replacement, editor.path));
    editor.prompt.answers.push_back(QMessageBox::Yes);
    QTRY_COMPARE(editor.prompt.questions.size(), std::size_t{1});
    QCOMPARE(editor.prompt.questions[0].caption, QStringLiteral("Reload"));
    QVERIFY(!editor.prompt.questions[0].text.contains(QStringLiteral("unsaved")));
    QCOMPARE(editor.Level().Info().author, std::string("Elsewhere"));

    // With unsaved changes the question says so, and No keeps them.
    editor.Select(kItemsRow, 0);
    QVERIFY(editor.SetField("cost", QStringLiteral("4")));
    changed.info.author = "Third";
    changed.WriteTo(editor.path.toStdString());
    editor.prompt.answers.push_back(QMessageBox::No);
    QTRY_COMPARE(editor.prompt.questions.size(), std::size_t{2});
    QVERIFY(editor.prompt.questions[1].text.contains(QStringLiteral("unsaved")));
    QCOMPARE(editor.Level().Info().author, std::string("Elsewhere"));
    QVERIFY(editor.window.isWindowModified());
  }

  void aScriptIsEditedAsTextAndImportedBack() {
    Editor editor;
    QVERIFY(editor.Open());
    editor.Select(kObjectScriptsRow, 0);
    auto* button = editor.window.findChild<QPushButton*>(QStringLiteral("editAsTextButton"));
    QVERIFY(!button->isHidden());
    auto* shown = editor.window.findChild<QPlainTextEdit*>(QStringLiteral("scriptText"));
    QVERIFY(shown->toPlainText().startsWith(QStringLiteral("objectscript \"Open\"\n")));
    button->click();
    QCOMPARE(editor.prompt.shownTexts.size(), std::size_t{1});
    QVERIFY(editor.prompt.shownTexts[0].contains(QStringLiteral("Open")));
    // Cancel changes nothing.
    QCOMPARE(editor.History().count(), 0);
    QVERIFY(!editor.window.isWindowModified());

    const std::string saved = editor.Saved();
    editor.prompt.editedTexts.push_back(QStringLiteral("this is no script text"));
    button->click();
    QCOMPARE(editor.Saved(), saved);

    QString text = editor.prompt.shownTexts[0];
    QVERIFY(text.contains(QStringLiteral("commands:\n")));
    text.replace(QStringLiteral("commands:\n"), QStringLiteral("commands:\n  returntomap\n"));
    editor.prompt.editedTexts.push_back(text);
    button->click();
    zr3::ByteWriter exported;
    zr3::WriteScriptText(
        static_cast<const zr3::ZR3Script&>(*editor.Level().List(Category::ObjectScripts)[0]),
        exported);
    QVERIFY(zr3::ToDisplay(exported.Data())
                .contains(QStringLiteral("commands:\r\n  returntomap\r\nend script")));
    QCOMPARE(editor.Level().List(Category::ObjectScripts).size(), std::size_t{5});
    QVERIFY(shown->toPlainText().contains(QStringLiteral("returntomap")));
    // The import's report comes to the front.
    QVERIFY(Details(editor.window)->toPlainText().startsWith(QStringLiteral("IMPORT SCRIPTS")));
    QCOMPARE(editor.window.findChild<QTabWidget*>(QStringLiteral("recordTabs"))->currentWidget(),
             Details(editor.window));

    // The whole import is one step of the history.
    QCOMPARE(editor.History().count(), 1);
    QCOMPARE(editor.History().text(0), QStringLiteral("Edit Object script 'Open' as Text"));
    QVERIFY(editor.window.isWindowModified());
    editor.History().undo();
    QCOMPARE(editor.Saved(), saved);
    QVERIFY(!editor.window.isWindowModified());

    editor.Select(kItemsRow, 0);
    QVERIFY(button->isHidden());
  }

  // Many changes of every kind in a random order, then all undone and all redone.
  void randomEditsAreUndoneAndRedoneExactly_data() {
    QTest::addColumn<int>("level");
    QTest::newRow("world") << 0;
    QTest::newRow("stress") << 1;
    QTest::newRow("demo") << 2;
  }
  void randomEditsAreUndoneAndRedoneExactly() {
    QFETCH(int, level);
    std::unique_ptr<Editor> made;
    if (level == 2) {
      made = std::make_unique<Editor>(QStringLiteral(ZR3_DEMO_PATH));
    } else {
      made = std::make_unique<Editor>(level == 1 ? StressWorld() : zr3test::World());
    }
    Editor& editor = *made;
    QVERIFY(editor.Open());
    const std::string original = editor.Saved();
    QRandomGenerator random(static_cast<quint32>(7 + level));
    for (int step = 0; step < 500; ++step) {
      const int categoryRow = 1 + static_cast<int>(random.bounded(zr3::ui::kCategoryRowCount - 1));
      const Category category = *zr3::ui::CategoryOfRow(categoryRow);
      const auto count = static_cast<int>(editor.Level().List(category).size());
      if (count == 0) continue;
      editor.Select(categoryRow, static_cast<int>(random.bounded(count)));
      switch (random.bounded(6)) {
        case 0:
          editor.Trigger("actionMoveUp");
          break;
        case 1:
          editor.Trigger("actionMoveDown");
          break;
        case 2:
          editor.prompt.scriptTargets.push_back(static_cast<int>(random.bounded(4)));
          editor.Trigger("actionCopy");
          break;
        case 3:
          editor.Trigger("actionDelete");
          break;
        case 4: {
          QAbstractItemModel* rows = RecordList(editor.window)->model();
          rows->setData(RecordList(editor.window)->currentIndex(),
                        QStringLiteral("N%1").arg(random.bounded(50)));
          break;
        }
        default: {
          const std::vector<const FieldTreeModel::Node*> fields = EditableFields(editor.Fields());
          if (fields.empty()) break;
          const FieldTreeModel::Node* node =
              fields[random.bounded(static_cast<quint32>(fields.size()))];
          QString value;
          switch (node->info.kind) {
            case FieldKind::Text:
              value = QStringLiteral("T%1").arg(random.bounded(100));
              break;
            case FieldKind::Reference:
              value =
                  random.bounded(4) == 0
                      ? QStringLiteral("none")
                      : QString::number(random.bounded(std::max<int>(
                            1, static_cast<int>(editor.Level().List(*node->info.target).size()))));
              break;
            default:
              value = QString::number(std::clamp<std::int64_t>(
                  node->info.number + random.bounded(7) - 3, node->info.min, node->info.max));
          }
          editor.SetField(node->info.name, value);
        }
      }
    }
    QVERIFY(editor.History().count() > 100);
    const std::string edited = editor.Saved();
    QVERIFY(edited != original);
    editor.UndoAll();
    QVERIFY(editor.Saved() == original);
    QVERIFY(!editor.window.isWindowModified());
    editor.RedoAll();
    QVERIFY(editor.Saved() == edited);
  }

 private:
  QTemporaryDir settingsFolder_;
};

QTEST_MAIN(TestEditing)
#include "test_editing.moc"
