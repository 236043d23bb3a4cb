// Authoring from nothing: a new level, new records, from the menus and the keyboard.
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListView>
#include <QStatusBar>
#include <QTest>
#include <QTreeView>
#include <QUndoStack>

#include "edit/references.h"
#include "editor_fixture.h"
#include "fake_prompt.h"
#include "records/zr3character.h"
#include "records/zr3map.h"
#include "records/zr3object.h"
#include "support/edit_checks.h"
#include "support/level_builder.h"
#include "ui/categoryrows.h"
#include "ui/fielddelegate.h"
#include "ui/fieldmodel.h"
#include "ui/mappane.h"
#include "ui/mapview.h"
#include "ui/recordviews.h"
#include "ui/testplay.h"
#include "ui_test_support.h"
#include "world_window.h"

using zr3::Category;

namespace {

constexpr int kMapsRow = zr3::ui::RowOfCategory(Category::Maps);
constexpr int kFlagsRow = zr3::ui::RowOfCategory(Category::Flags);
constexpr int kItemsRow = zr3::ui::RowOfCategory(Category::Items);

#define QVERIFY_ASSERTION(result)                            \
  do {                                                       \
    const ::testing::AssertionResult checked = (result);     \
    QVERIFY2(static_cast<bool>(checked), checked.message()); \
  } while (false)

void ShowActive(QWidget& window) {
  window.show();
  window.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&window));
}

// Shows the window active with the record's fields on the Fields tab; answers their tree.
QTreeView* ShowFieldsOf(Editor& editor, int row, int index) {
  ShowActive(editor.window);
  editor.Select(row, index);
  editor.window.Views()->setCurrentIndex(1);
  return editor.window.findChild<QTreeView*>(QStringLiteral("fieldTree"));
}

// Gives the Fields pane the focus on the row of the field path, in its label column.
void FocusField(Editor& editor, QTreeView* tree, const std::string& path) {
  tree->setFocus();
  tree->setCurrentIndex(
      editor.Fields().ValueIndex(path).siblingAtColumn(zr3::ui::FieldTreeModel::NameColumn));
}

}  // namespace

class TestAuthoring : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { IsolateSettings(settingsFolder_); }
  void init() { QFile::remove(SettingsFile()); }

  void newLevelIsUntitledAndSavesTheEmptyLevelUnderTheChosenName() {
    WorldWindow world;
    world.Trigger("actionNew");
    QVERIFY(world.window.Level() != nullptr);
    QVERIFY(world.window.windowTitle().startsWith(QStringLiteral("Untitled")));
    QVERIFY(!world.window.isWindowModified());
    QVERIFY(ActionOf(world.window, "actionSave")->isEnabled());

    const QString path = world.folder.filePath("fresh.zr3");
    world.prompt.files = {path};
    world.Trigger("actionSave");
    QCOMPARE(world.prompt.dialogs.size(), std::size_t{1});
    QFile saved(path);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll().toStdString(), zr3test::LevelBuilder().Build().Bytes());
    QVERIFY(world.window.windowTitle().startsWith(QStringLiteral("fresh.zr3")));
  }

  void newLevelAsksToSaveTheChangesOfTheOneBefore() {
    WorldWindow world;
    QVERIFY(world.Open());
    world.Select(kMapsRow, 0);
    world.Trigger("actionNewRecord");
    world.prompt.answers = {QMessageBox::Cancel};
    world.Trigger("actionNew");
    QCOMPARE(world.prompt.questions.size(), std::size_t{1});
    QCOMPARE(world.prompt.questions[0].text, QStringLiteral("Save changes?"));
    QCOMPARE(world.Level().List(Category::Maps).size(), std::size_t{4});
  }

  void insertAddsARecordAfterTheSelectedOneInOneUndoStep() {
    WorldWindow world;
    QVERIFY(world.Open());
    ShowActive(world.window);
    world.Select(kMapsRow, 0);
    RecordList(world.window)->setFocus();
    QTest::keyClick(RecordList(world.window), Qt::Key_Insert);
    QCOMPARE(Rows(world.window), QStringList({"Town", "New map", "Cave", "Field"}));
    QCOMPARE(SelectedRow(world.window), 1);
    QVERIFY(world.window.isWindowModified());
    QVERIFY_ASSERTION(zr3test::ListIsConsistent(world.Level(), Category::Maps));
    QCOMPARE(world.window.UndoStack()->count(), 1);
    QCOMPARE(world.window.UndoStack()->undoText(), QStringLiteral("Add Map 'New map'"));

    world.window.UndoStack()->undo();
    QCOMPARE(Rows(world.window), QStringList({"Town", "Cave", "Field"}));
    QVERIFY(!world.window.isWindowModified());
    world.window.UndoStack()->redo();
    QCOMPARE(Rows(world.window), QStringList({"Town", "New map", "Cave", "Field"}));

    // The object on the town and the scripts naming the cave keep their maps in the file.
    world.Trigger("actionSave");
    const std::unique_ptr<zr3::ZR3Level> saved = world.Reloaded();
    QCOMPARE(zr3::SearchReferences(*saved, Category::Maps, 0).back(), std::string("Object: Door"));
    QCOMPARE(zr3::SearchReferences(*saved, Category::Maps, 2).at(2),
             std::string("Global script: Watcher"));
  }

  // A slow second click on the selected row opens no editor; F2 does, and the keys typed there
  // are the editor's: Delete blanks the text, not the record, and Escape gives the name back.
  void aRecordIsRenamedByF2NeverByAClickOnTheSelectedRow() {
    WorldWindow world;
    QVERIFY(world.Open());
    ShowActive(world.window);
    world.Select(kMapsRow, 1);
    QListView* list = RecordList(world.window);
    list->setFocus();
    const QPoint row = list->visualRect(list->currentIndex()).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row);
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row);
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    QVERIFY(qobject_cast<QLineEdit*>(QApplication::focusWidget()) == nullptr);

    QTest::keyClick(list, Qt::Key_F2);
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QVERIFY(editor != nullptr);
    QCOMPARE(editor->text(), QStringLiteral("Cave"));
    editor->selectAll();
    QTest::keyClick(editor, Qt::Key_Delete);
    QCOMPARE(editor->text(), QString());
    QCOMPARE(world.Level().List(Category::Maps).size(), std::size_t{3});
    QTest::keyClick(editor, Qt::Key_Escape);
    QTest::qWait(20);
    QCOMPARE(Rows(world.window), QStringList({"Town", "Cave", "Field"}));
    QCOMPARE(world.window.UndoStack()->count(), 0);

    world.Trigger("actionRename");
    editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QVERIFY(editor != nullptr);
    editor->setText(QStringLiteral("Grotto"));
    QTest::keyClick(editor, Qt::Key_Return);
    // The delegate commits once the event loop runs.
    QTRY_COMPARE(Rows(world.window), QStringList({"Town", "Grotto", "Field"}));
  }

  // Every kind of field is edited from the keyboard alone: F2, Enter or typing opens the editor
  // of the current row's value, Return commits, Escape cancels, Tab goes on to the next field.
  void fieldsAreEditedFromTheKeyboard() {
    Editor editor;
    QVERIFY(editor.Open());
    auto* tree = ShowFieldsOf(editor, kItemsRow, 0);
    QVERIFY(tree != nullptr);
    const auto focusRow = [&](const std::string& path) { FocusField(editor, tree, path); };

    // Text: F2, then the new name.
    focusRow("name");
    QTest::keyClick(tree, Qt::Key_F2);
    auto* line = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QVERIFY(line != nullptr);
    line->selectAll();
    QTest::keyClicks(line, "Blade");
    QTest::keyClick(line, Qt::Key_Return);
    QTRY_COMPARE(editor.Field("name"), QStringLiteral("Blade"));

    // Escape gives the old text back.
    focusRow("name");
    QTest::keyClick(tree, Qt::Key_F2);
    line = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QVERIFY(line != nullptr);
    QTest::keyClicks(line, "xyz");
    QTest::keyClick(line, Qt::Key_Escape);
    QTest::qWait(20);
    QCOMPARE(editor.Field("name"), QStringLiteral("Blade"));

    // Number: typing starts the editor with the key typed.
    focusRow("cost");
    QTest::keyClick(tree, Qt::Key_7);
    QTest::keyClicks(QApplication::focusWidget(), "3");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTRY_COMPARE(editor.Field("cost"), QStringLiteral("73"));

    // Choice: Enter opens the list of words, Down takes the next one.
    focusRow("type");
    QTest::keyClick(tree, Qt::Key_Return);
    auto* box = qobject_cast<QComboBox*>(QApplication::focusWidget());
    QVERIFY(box != nullptr);
    QCOMPARE(box->currentText(), QStringLiteral("Weapon (0)"));
    QTest::keyClick(box, Qt::Key_Down);
    QTest::keyClick(box, Qt::Key_Return);
    QTRY_COMPARE(editor.Field("type"), QStringLiteral("1"));

    // Tab commits and goes on to the next field's editor.
    focusRow("name");
    QTest::keyClick(tree, Qt::Key_F2);
    line = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QVERIFY(line != nullptr);
    line->setText(QStringLiteral("Sabre"));
    QTest::keyClick(line, Qt::Key_Tab);
    QTRY_VERIFY(qobject_cast<QComboBox*>(QApplication::focusWidget()) != nullptr);
    QCOMPARE(editor.Field("name"), QStringLiteral("Sabre"));
    QCOMPARE(editor.History().count(), 4);
  }

  // An on/off field is a check box that Space and Enter switch, each switch an undo step.
  void onOffFieldsAreCheckBoxesSwitchedFromTheKeyboard() {
    Editor editor;
    QVERIFY(editor.Open());
    auto* tree = ShowFieldsOf(editor, zr3::ui::kGeneralRow, -1);
    const QModelIndex field = editor.Fields().ValueIndex("stat_buying");
    QVERIFY(editor.Fields().flags(field) & Qt::ItemIsUserCheckable);
    QVERIFY(!(editor.Fields().flags(field) & Qt::ItemIsEditable));
    QCOMPARE(field.siblingAtColumn(zr3::ui::FieldTreeModel::NameColumn).data().toString(),
             QStringLiteral("Stat Buying"));
    QVERIFY(field.data(Qt::ToolTipRole).toString().contains(QStringLiteral("(stat_buying)")));
    const auto checked = [&] {
      return editor.Fields().ValueIndex("stat_buying").data(Qt::CheckStateRole).toInt() ==
             Qt::Checked;
    };
    QVERIFY(checked());
    QCOMPARE(editor.Fields().ValueIndex("stat_buying").data().toString(), QStringLiteral("On"));

    // Stored 1 is off; switching on stores 0.
    FocusField(editor, tree, "stat_buying");
    QTest::keyClick(tree, Qt::Key_Space);
    QVERIFY(!checked());
    QCOMPARE(editor.Level().Info().statBuying, 1);
    QCOMPARE(editor.Fields().ValueIndex("stat_buying").data().toString(), QStringLiteral("Off"));
    QCOMPARE(editor.History().count(), 1);
    editor.History().undo();
    QVERIFY(checked());
    QVERIFY(!editor.window.isWindowModified());
    FocusField(editor, tree, "stat_buying");
    QTest::keyClick(tree, Qt::Key_Return);
    QCOMPARE(editor.Level().Info().statBuying, 1);
    QTest::keyClick(tree, Qt::Key_F2);
    QCOMPARE(editor.Level().Info().statBuying, 0);
    QVERIFY(checked());
  }

  // A choice holding a number outside its words shows the number, which cannot be chosen
  // again once another word was.
  void aChoiceOutsideItsWordsShowsItsNumberButDoesNotOfferIt() {
    Editor editor;
    QVERIFY(editor.Open());
    auto* tree = ShowFieldsOf(editor, kItemsRow, 0);
    QVERIFY(editor.SetField("type", QStringLiteral("9")));
    QCOMPARE(editor.Fields().ValueIndex("type").data().toString(), QStringLiteral("9"));

    FocusField(editor, tree, "type");
    QTest::keyClick(tree, Qt::Key_Return);
    auto* box = qobject_cast<QComboBox*>(QApplication::focusWidget());
    QVERIFY(box != nullptr);
    QCOMPARE(box->currentText(), QStringLiteral("9"));
    QTest::keyClick(box, Qt::Key_Up);
    QCOMPARE(box->currentText(), QStringLiteral("Heal (4)"));
    QTest::keyClick(box, Qt::Key_Down);
    QTest::keyClicks(box, QStringLiteral("9"));
    QCOMPARE(box->currentText(), QStringLiteral("Heal (4)"));
    QTest::keyClick(box, Qt::Key_Return);
    QTRY_COMPARE(editor.Field("type"), QStringLiteral("4"));
    // Escape leaves the field as it was.
    FocusField(editor, tree, "type");
    QTest::keyClick(tree, Qt::Key_F2);
    box = qobject_cast<QComboBox*>(QApplication::focusWidget());
    QVERIFY(box != nullptr);
    QCOMPARE(box->findText(QStringLiteral("9")), -1);
    QTest::keyClick(box, Qt::Key_Up);
    QTest::keyClick(box, Qt::Key_Escape);
    QTest::qWait(20);
    QCOMPARE(editor.Field("type"), QStringLiteral("4"));
  }

  // The reference picker from the keyboard: typing filters, the arrows move, Enter takes the
  // row, Escape leaves the reference as it was, Tab takes the row and goes on.
  void theReferencePickerWorksFromTheKeyboard() {
    Editor editor;
    QVERIFY(editor.Open());
    auto* tree = ShowFieldsOf(editor, zr3::ui::kGeneralRow, -1);
    const auto palette = [&] { return editor.Field("palette"); };
    QCOMPARE(palette(), QStringLiteral("0"));

    FocusField(editor, tree, "palette");
    QTest::keyClick(tree, Qt::Key_F2);
    QVERIFY(qobject_cast<QLineEdit*>(QApplication::focusWidget()) != nullptr);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QTRY_COMPARE(QApplication::focusWidget(), tree);
    QCOMPARE(palette(), QStringLiteral("0"));
    QCOMPARE(editor.History().count(), 0);

    FocusField(editor, tree, "palette");
    QTest::keyClick(tree, Qt::Key_N);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("ig"));
    auto* picker =
        qobject_cast<zr3::ui::ReferencePicker*>(QApplication::focusWidget()->parentWidget());
    QVERIFY(picker != nullptr);
    QCOMPARE(picker->Filter()->text(), QStringLiteral("nig"));
    QCOMPARE(picker->List()->model()->rowCount(), 1);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTRY_COMPARE(palette(), QStringLiteral("1"));
    QCOMPARE(editor.History().count(), 1);

    FocusField(editor, tree, "palette");
    QTest::keyClick(tree, Qt::Key_Return);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTRY_COMPARE(palette(), QStringLiteral("0"));
    // Tab went on to the next field's editor.
    QTRY_COMPARE(tree->currentIndex(), editor.Fields().ValueIndex("background"));
    QVERIFY(qobject_cast<QLineEdit*>(QApplication::focusWidget()) != nullptr);
  }

  void testPlayCommandLineReplacesThePlaceholdersInEachArgument() {
    const zr3::ui::PlayPlace place{QStringLiteral("/tmp/my level.zr3"), 2, 3, 4};
    QCOMPARE(zr3::ui::TestPlayCommandLine(
                 QStringLiteral("game --level \"%level\" --start %map,%x,%y"), place),
             QStringList({"game", "--level", "/tmp/my level.zr3", "--start", "2,3,4"}));
    QCOMPARE(zr3::ui::TestPlayCommandLine(QString(), place), QStringList());
  }

  // Test Play runs the command on a copy of the level as it is in the window, never on the
  // author's file, and says why when there is no command or it cannot run.
  void testPlayRunsTheCommandOnACopy() {
    WorldWindow world;
    QVERIFY(world.Open());
    world.Trigger("actionTestPlay");
    QCOMPARE(world.prompt.questions.size(), std::size_t{1});
    QVERIFY(world.prompt.questions[0].text.contains(QStringLiteral("Test Play Command")));

    const QString played = world.folder.filePath("played.zr3");
    world.prompt.editedTexts = {QStringLiteral("cp %level \"") + played + QStringLiteral("\"")};
    world.Trigger("actionTestPlayCommand");
    world.Select(kMapsRow, 0);
    world.Trigger("actionNewRecord");
    const QByteArray original = [&] {
      QFile file(world.path);
      return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    world.Trigger("actionTestPlay");
    QCOMPARE(world.prompt.questions.size(), std::size_t{1});
    const auto playedMaps = [&played] {
      zr3::ZR3Level level;
      try {
        level.Load(played.toStdString());
      } catch (const std::exception&) {
        return std::vector<std::string>();
      }
      return zr3test::Names(level, Category::Maps);
    };
    QTRY_COMPARE(playedMaps(), (std::vector<std::string>{"Town", "New map", "Cave", "Field"}));
    QFile author(world.path);
    QVERIFY(author.open(QIODevice::ReadOnly));
    QCOMPARE(author.readAll(), original);
    QVERIFY(world.window.isWindowModified());

    world.prompt.editedTexts = {QStringLiteral("/no/such/game %level")};
    world.Trigger("actionTestPlayCommand");
    world.Trigger("actionTestPlay");
    QCOMPARE(world.prompt.questions.size(), std::size_t{2});
    QVERIFY(world.prompt.questions[1].text.startsWith(QStringLiteral("Cannot run /no/such/game")));
  }

  // The door stands on the town's cell (0, 0): it is drawn there, a drag puts it on another
  // cell in one step, a click selects its record, and the Objects toggle hides it.
  void objectsOnTheMapAreDraggedAndSelected() {
    WorldWindow world;
    QVERIFY(world.Open());
    world.window.resize(1000, 700);
    ShowActive(world.window);
    world.Select(kMapsRow, 0);
    zr3::ui::RecordViews& views = *world.window.Views();
    views.setCurrentWidget(views.MapTab());
    zr3::ui::MapView* view = views.MapTab()->View();
    QCOMPARE(view->ObjectAt({0, 0}), std::optional<std::size_t>(0));
    QCOMPARE(view->ObjectAt({1, 1}), std::optional<std::size_t>());

    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, view->CellCentre({0, 0}));
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, view->CellCentre({1, 1}));
    const auto& door = world.Level().At<zr3::ZR3Object>(Category::Objects, 0);
    QCOMPARE(door.Column(), 1);
    QCOMPARE(door.Row(), 1);
    QCOMPARE(world.window.UndoStack()->count(), 1);
    QCOMPARE(view->ObjectAt({1, 1}), std::optional<std::size_t>(0));
    world.window.UndoStack()->undo();
    QCOMPARE(door.Column(), 0);
    QCOMPARE(door.Row(), 0);
    QVERIFY(!world.window.isWindowModified());

    ActionOf(world.window, "actionObjects")->trigger();
    QCOMPARE(view->ObjectAt({0, 0}), std::optional<std::size_t>());
    ActionOf(world.window, "actionObjects")->trigger();

    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->CellCentre({0, 0}));
    QCOMPARE(CategoryList(world.window)->currentRow(), zr3::ui::RowOfCategory(Category::Objects));
    QCOMPARE(SelectedRow(world.window), 0);
  }

  // A character set's Picture tab shows its eight pictures, two to a row.
  void characterSetsShowTheirEightPictures() {
    // The demo itself, beside its pictures; nothing is saved.
    Editor editor;
    QVERIFY(editor.window.OpenLevel(QStringLiteral(ZR3_DEMO_PATH)));
    editor.Select(zr3::ui::RowOfCategory(Category::Characters), 0);
    auto* picture = editor.window.findChild<QWidget*>(QStringLiteral("pictureView"));
    QVERIFY(picture != nullptr);
    zr3::ui::RecordViews& views = *editor.window.Views();
    QVERIFY(views.isTabVisible(views.indexOf(picture)));
    const auto& hero = editor.Level().At<zr3::ZR3Character>(Category::Characters, 0);
    const QImage* first = views.Images().Original(hero.ImagePath(0));
    QVERIFY(first != nullptr);
    const QImage sheet = views.CharacterSheet(hero);
    QCOMPARE(sheet.size(), QSize(first->width() * 2, first->height() * 4));
  }

  void fixedTablesTakeNoNewRecord() {
    WorldWindow world;
    QVERIFY(world.Open());
    world.Select(kFlagsRow, 0);
    QVERIFY(!ActionOf(world.window, "actionNewRecord")->isEnabled());
    world.Select(kMapsRow, 0);
    QVERIFY(ActionOf(world.window, "actionNewRecord")->isEnabled());
  }

  void shrinkingAMapAsksBeforeDroppingPaintedCells() {
    Editor editor;
    QVERIFY(editor.Open());
    editor.Select(kMapsRow, 0);
    editor.prompt.answers = {QMessageBox::No};
    QVERIFY(!editor.SetField("size", "1"));
    QCOMPARE(editor.prompt.questions.size(), std::size_t{1});
    QCOMPARE(editor.prompt.questions[0].text,
             QStringLiteral("A size of 1 drops 1 painted cell outside it. Shrink the map?"));
    QCOMPARE(editor.Field("size"), QStringLiteral("2"));
    QCOMPARE(editor.History().count(), 0);

    editor.prompt.answers = {QMessageBox::Yes};
    QVERIFY(editor.SetField("size", "1"));
    QCOMPARE(editor.Field("size"), QStringLiteral("1"));
    editor.History().undo();
    QCOMPARE(editor.Level().At<zr3::ZR3Map>(Category::Maps, 0).CellTileId(0, 1, 0), 10u);
    // Growing drops nothing and asks nothing.
    QVERIFY(editor.SetField("size", "5"));
    QCOMPARE(editor.prompt.questions.size(), std::size_t{2});
  }

  void typedTextTheLevelCannotHoldIsRefusedByName() {
    Editor editor;
    QVERIFY(editor.Open());
    editor.Select(kMapsRow, 0);
    QVERIFY(!editor.SetField("name", QStringLiteral("Za\u017C\u00F3\u0142\u0107")));
    QCOMPARE(editor.window.statusBar()->currentMessage(),
             QStringLiteral("'\u017C' cannot be stored in a level's text"));
    QCOMPARE(editor.Field("name"), QStringLiteral("Town"));
    QVERIFY(editor.SetField("name", QStringLiteral("\u00C9p\u00E9e \u20AC")));
    QCOMPARE(editor.Level().List(Category::Maps)[0]->Name(), std::string("\xC9p\xE9"
                                                                         "e \x80"));
    QCOMPARE(Rows(editor.window).value(0), QStringLiteral("\u00C9p\u00E9e \u20AC"));
  }

 private:
  QTemporaryDir settingsFolder_;
};

QTEST_MAIN(TestAuthoring)
#include "test_authoring.moc"
