// Every view follows the document: after each kind of change, and after its undo and redo,
// the views that show what changed show it as it is now.
#include <QDockWidget>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QUndoStack>

#include "editor_fixture.h"
#include "ui/mappane.h"
#include "ui/paletteview.h"

using zr3::Category;

namespace {

constexpr int kMapsRow = zr3::ui::RowOfCategory(Category::Maps);
constexpr int kItemsRow = zr3::ui::RowOfCategory(Category::Items);
constexpr int kObjectScriptsRow = zr3::ui::RowOfCategory(Category::ObjectScripts);
constexpr int kPalettesRow = zr3::ui::RowOfCategory(Category::Palettes);

QString Status(const zr3::ui::MainWindow& window) {
  return window.statusBar()->currentMessage();
}

// Checks a view after the change, its undo and its redo: shows(true) while the change stands.
template <class Check>
void AfterDoUndoRedo(Editor& editor, Check shows) {
  shows(true);
  editor.History().undo();
  shows(false);
  editor.History().redo();
  shows(true);
}

}  // namespace

class TestViews : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { IsolateSettings(settingsFolder_); }
  void init() { QFile::remove(SettingsFile()); }

  void aRenameShowsInDetailsAndFields() {
    Editor editor;
    QVERIFY(editor.Open());
    editor.Select(kItemsRow, 1);
    QAbstractItemModel* rows = RecordList(editor.window)->model();
    // What F2 and Enter do in the record list.
    QVERIFY(rows->setData(rows->index(1, 0), QStringLiteral("Elixir")));
    AfterDoUndoRedo(editor, [&](bool renamed) {
      const QString name = renamed ? QStringLiteral("Elixir") : QStringLiteral("Potion");
      QCOMPARE(editor.Field("name"), name);
      QVERIFY(Details(editor.window)->toPlainText().contains(QStringLiteral("Name: ") + name));
      QCOMPARE(Rows(editor.window).value(1), name);
      QCOMPARE(SelectedRow(editor.window), 1);
    });
  }

  void aPaintStrokeShowsInTheHoveredCellsText() {
    Editor editor;
    QVERIFY(editor.Open());
    editor.window.resize(1000, 700);
    editor.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor.window));
    editor.Select(kMapsRow, 0);
    zr3::ui::MapPane& pane = *editor.window.Views()->MapTab();
    editor.window.Views()->setCurrentWidget(&pane);
    zr3::ui::MapView& view = *pane.View();
    view.SetCellSize(16);
    // Choosing the brush shows the tile palette beside the map.
    editor.window.Tiles()->ChooseTile(
        static_cast<zr3::ZR3ChainRecord*>(editor.Level().List(Category::Tiles)[2].get()));
    QTest::qWait(50);
    const QPoint cell = view.CellCentre({1, 1});
    QTest::mouseMove(view.viewport(), cell);
    QCOMPARE(Status(editor.window), QStringLiteral("Row 1, column 1: (empty), (empty), (empty)"));
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, cell);
    QCOMPARE(editor.History().count(), 1);
    AfterDoUndoRedo(editor, [&](bool painted) {
      QCOMPARE(Status(editor.window),
               painted ? QStringLiteral("Row 1, column 1: Lava, (empty), (empty)")
                       : QStringLiteral("Row 1, column 1: (empty), (empty), (empty)"));
    });
  }

  void aRecolouredSwatchShowsItsNewColour() {
    Editor editor;
    QVERIFY(editor.Open());
    editor.Select(kPalettesRow, 1);
    zr3::ui::PaletteView& palette = *editor.window.Views()->PaletteTab();
    editor.window.Views()->setCurrentWidget(&palette);
    editor.window.resize(900, 700);
    editor.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor.window));
    QTest::mouseMove(&palette, palette.SwatchRect(17).center());
    const QString before = Status(editor.window);
    QVERIFY(before.startsWith(QStringLiteral("Colour 17: ")));

    editor.prompt.chosenColours = {QColor(1, 2, 3)};
    palette.SetSelected(17);
    QTest::keyClick(&palette, Qt::Key_Return);
    AfterDoUndoRedo(editor, [&](bool recoloured) {
      QCOMPARE(Status(editor.window),
               recoloured ? QStringLiteral("Colour 17: R 1, G 2, B 3") : before);
    });
  }

  void undoingAnEditAsTextKeepsTheScriptShown() {
    Editor editor;
    QVERIFY(editor.Open());
    editor.Select(kObjectScriptsRow, 0);
    auto* button = editor.window.findChild<QPushButton*>(QStringLiteral("editAsTextButton"));
    auto* text = editor.window.findChild<QPlainTextEdit*>(QStringLiteral("scriptText"));
    const QString before = text->toPlainText();
    QString edited = before;
    edited.replace(QStringLiteral("commands:\n"), QStringLiteral("commands:\n  returntomap\n"));
    editor.prompt.editedTexts.push_back(edited);
    button->click();
    QCOMPARE(editor.History().count(), 1);
    const QString after = text->toPlainText();
    QVERIFY(after.contains(QStringLiteral("returntomap")));
    QVERIFY(after != before);
    auto* tabs = editor.window.Views();
    tabs->setCurrentIndex(1);
    AfterDoUndoRedo(editor, [&](bool changed) {
      QCOMPARE(CategoryList(editor.window)->currentRow(), kObjectScriptsRow);
      QCOMPARE(SelectedRow(editor.window), 0);
      QCOMPARE(text->toPlainText(), changed ? after : before);
      QVERIFY(!button->isHidden());
      QCOMPARE(tabs->currentIndex(), 1);
    });
  }

  void aRefusalLastsUntilTheNextCommand() {
    Editor editor;
    QVERIFY(editor.Open());
    editor.Select(kItemsRow, 0);
    QVERIFY(!editor.SetField("type", QStringLiteral("-1")));
    QVERIFY(Status(editor.window).startsWith(QStringLiteral("type: ")));
    editor.Trigger("actionFind");
    QCOMPARE(Status(editor.window), QString());

    QVERIFY(!editor.SetField("type", QStringLiteral("-1")));
    QVERIFY(!Status(editor.window).isEmpty());
    QVERIFY(editor.SetField("cost", QStringLiteral("4")));
    QCOMPARE(Status(editor.window), QString());
  }

  void aResultTheFilterHidesIsShownThroughIt() {
    Editor editor;
    QVERIFY(editor.Open());
    editor.window.show();
    editor.Select(kMapsRow, 1);
    editor.Trigger("actionFind");
    auto* results = editor.window.findChild<QListView*>(QStringLiteral("resultList"));
    int mourner = -1;
    for (int row = 0; row < results->model()->rowCount(); ++row) {
      if (results->model()->index(row, 0).data().toString().contains(QStringLiteral("Mourner"))) {
        mourner = row;
      }
    }
    QVERIFY(mourner >= 0);
    auto* filter = editor.window.findChild<QLineEdit*>(QStringLiteral("filterEdit"));
    QTest::keyClicks(filter, QStringLiteral("Opening"));
    results->setCurrentIndex(results->model()->index(mourner, 0));
    QTest::keyClick(results, Qt::Key_Return);
    QCOMPARE(CategoryList(editor.window)->currentRow(),
             zr3::ui::RowOfCategory(Category::DeathScripts));
    QCOMPARE(filter->text(), QString());
    QCOMPARE(Rows(editor.window).value(SelectedRow(editor.window)), QStringLiteral("Mourner"));
    QVERIFY(RecordList(editor.window)->currentIndex().isValid());
    QVERIFY(Details(editor.window)->toPlainText().contains(QStringLiteral("Mourner")));
  }

 private:
  QTemporaryDir settingsFolder_;
};

QTEST_MAIN(TestViews)
#include "test_views.moc"
