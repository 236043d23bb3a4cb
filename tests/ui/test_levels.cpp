// Several levels open in one window, each in a tab with its own history.
#include <QApplication>
#include <QClipboard>
#include <QDockWidget>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QUndoStack>

#include "document/leveldocument.h"
#include "fake_prompt.h"
#include "support/edit_levels.h"
#include "ui/categoryrows.h"
#include "ui/leveltabs.h"
#include "ui_test_support.h"

using zr3::Category;
using zr3::ui::LevelTabs;
using zr3::ui::MainWindow;

namespace {

// A window with the levels "a.zr3" and "b.zr3" of the world written beside it.
struct TwoLevels {
  TwoLevels() {
    a = WriteLevel(folder, "a.zr3", zr3test::World());
    b = WriteLevel(folder, "b.zr3", zr3test::World());
  }
  void OpenBoth() {
    window.Open(a);
    window.Open(b);
  }
  QUndoStack& History(int page) { return *window.Page(page)->UndoStack(); }

  QTemporaryDir folder;
  FakePrompt prompt;
  LevelTabs window{&prompt};
  QString a;
  QString b;
};

constexpr int kItemsRow = zr3::ui::RowOfCategory(Category::Items);

// Selects the rows of the item list of the page.
void SelectItems(MainWindow& page, const QList<int>& rows) {
  CategoryList(page)->setCurrentRow(kItemsRow);
  QItemSelectionModel* selection = RecordList(page)->selectionModel();
  selection->clearSelection();
  for (const int row : rows) {
    selection->select(RecordList(page)->model()->index(row, 0), QItemSelectionModel::Select);
  }
}

QStringList TabTexts(const LevelTabs& window) {
  const auto* bar = window.findChild<QTabBar*>();
  QStringList texts;
  for (int i = 0; i < bar->count(); ++i) texts << bar->tabText(i);
  return texts;
}

}  // namespace

class TestLevels : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { IsolateSettings(settingsFolder_); }

  void eachLevelHasItsTabAndHistory() {
    TwoLevels levels;
    levels.OpenBoth();
    QCOMPARE(TabTexts(levels.window), (QStringList{"a.zr3", "b.zr3"}));
    QCOMPARE(levels.window.Current(), levels.window.Page(1));
    // The recent files are the window's, whichever tab opened them.
    QCOMPARE(levels.window.Page(0)->RecentFiles().value(0), QFileInfo(levels.b).absoluteFilePath());

    levels.window.Page(1)->Document().Rename(Category::Items, 0, "Changed");
    QCOMPARE(levels.History(1).count(), 1);
    QCOMPARE(levels.History(0).count(), 0);
    QCOMPARE(TabTexts(levels.window), (QStringList{"a.zr3", "b.zr3*"}));
    QCOMPARE(ShownTitle(levels.window), QStringLiteral("b.zr3* - ZR3Tool"));

    // The keys act on the current level alone, though every page has the same shortcuts.
    levels.window.Page(0)->Document().Rename(Category::Items, 0, "Other");
    levels.window.SetCurrent(0);
    QCOMPARE(ShownTitle(levels.window), QStringLiteral("a.zr3* - ZR3Tool"));
    levels.window.show();
    levels.window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&levels.window));
    QTest::keyClick(levels.window.Current(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(levels.History(0).index(), 0);
    QCOMPARE(levels.History(1).index(), 1);
    QCOMPARE(ShownTitle(levels.window), QStringLiteral("a.zr3 - ZR3Tool"));
    QVERIFY(!ActionOf(*levels.window.Page(0), "actionUndo")->isEnabled());
    QVERIFY(ActionOf(*levels.window.Page(1), "actionUndo")->isEnabled());
  }

  void openingAnOpenFileShowsItsTab() {
    TwoLevels levels;
    levels.OpenBoth();
    levels.window.Open(levels.folder.filePath("./a.zr3"));
    QCOMPARE(levels.window.Count(), 2);
    QCOMPARE(levels.window.Current(), levels.window.Page(0));
    // From the page's own File > Open as well.
    levels.prompt.files.push_back(levels.b);
    ActionOf(*levels.window.Current(), "actionOpen")->trigger();
    QCOMPARE(levels.window.Count(), 2);
    QCOMPARE(levels.window.Current(), levels.window.Page(1));
  }

  void aFileThatDoesNotLoadLeavesNoTab() {
    TwoLevels levels;
    levels.window.Open(levels.a);
    const QString broken = levels.folder.filePath("broken.zr3");
    QFile file(broken);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not a level");
    file.close();
    levels.window.Open(broken);
    QCOMPARE(levels.window.Count(), 1);
    QCOMPARE(levels.window.Current()->Document().FilePath(), levels.a);
    QCOMPARE(levels.prompt.questions.size(), std::size_t{1});
  }

  void filesDroppedTogetherOpenEachInATab() {
    TwoLevels levels;
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(levels.a), QUrl::fromLocalFile(levels.b)});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(levels.window.Current(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(levels.window.Current(), &drop);
    QCOMPARE(TabTexts(levels.window), (QStringList{"a.zr3", "b.zr3"}));
  }

  void newOpensAnUntitledTab() {
    TwoLevels levels;
    levels.window.Open(levels.a);
    ActionOf(*levels.window.Current(), "actionNew")->trigger();
    QCOMPARE(TabTexts(levels.window), (QStringList{"a.zr3", "Untitled"}));
    QCOMPARE(ShownTitle(levels.window), QStringLiteral("Untitled - ZR3Tool"));
    // An untouched untitled level gives its tab to the next level opened.
    levels.window.Open(levels.b);
    QCOMPARE(TabTexts(levels.window), (QStringList{"a.zr3", "b.zr3"}));
  }

  void startUpOpensEveryFile() {
    TwoLevels levels;
    const QString c = WriteLevel(levels.folder, "c.zr3", zr3test::World());
    levels.window.StartUp({levels.a, levels.folder.filePath("notes.txt"), levels.b, c});
    QCOMPARE(TabTexts(levels.window), (QStringList{"a.zr3", "b.zr3", "c.zr3"}));
    QCOMPARE(levels.window.Current()->Document().FilePath(), c);
  }

  void recordsArePastedIntoAnotherLevelAsOneStep() {
    TwoLevels levels;
    levels.OpenBoth();
    MainWindow& from = *levels.window.Page(0);
    MainWindow& to = *levels.window.Page(1);
    SelectItems(from, {0, 1});
    ActionOf(from, "actionCopyRecords")->trigger();
    const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
    QVERIFY(copied->hasFormat(QStringLiteral("application/x-zr3tool-records")));
    QVERIFY(copied->text().contains(QStringLiteral("\"name\": \"Potion\"")));

    SelectItems(to, {0});
    ActionOf(to, "actionPasteRecords")->trigger();
    QCOMPARE(Rows(to), (QStringList{"Axe", "Axe", "Potion", "Potion"}));
    QCOMPARE(levels.History(1).count(), 1);
    QCOMPARE(levels.History(0).count(), 0);
    // "Drink", the script the potion runs, has its one namesake in the other level.
    QVERIFY(to.findChild<QDockWidget*>(QStringLiteral("resultsDock"))->isHidden());
    levels.History(1).undo();
    QCOMPARE(Rows(to), (QStringList{"Axe", "Potion"}));
    levels.History(1).redo();
    QCOMPARE(Rows(to), (QStringList{"Axe", "Axe", "Potion", "Potion"}));
  }

  void referencesThatNameNothingAreListedUnderResults() {
    TwoLevels levels;
    levels.window.Open(levels.a);
    SelectItems(*levels.window.Current(), {1});
    ActionOf(*levels.window.Current(), "actionCopyRecords")->trigger();
    ActionOf(*levels.window.Current(), "actionNew")->trigger();
    MainWindow& empty = *levels.window.Current();
    QVERIFY(&empty != levels.window.Page(0));
    ActionOf(empty, "actionPasteRecords")->trigger();
    SelectItems(empty, {});
    QCOMPARE(Rows(empty), (QStringList{"Potion"}));
    QVERIFY(!empty.findChild<QDockWidget*>(QStringLiteral("resultsDock"))->isHidden());
    const QAbstractItemModel* results =
        empty.findChild<QListView*>(QStringLiteral("resultList"))->model();
    QStringList lines;
    for (int row = 0; row < results->rowCount(); ++row) {
      lines << results->index(row, 0).data().toString();
    }
    QVERIFY2(lines.filter(QStringLiteral("\"Drink\"")).size() == 1, qPrintable(lines.join('\n')));
  }

  void eachLevelKeepsARecoveryCopyRestoredInATabOfItsOwn() {
    TwoLevels levels;
    levels.OpenBoth();
    for (int page = 0; page < 2; ++page) {
      levels.window.Page(page)->Document().Rename(Category::Items, 0, "Unsaved");
      levels.window.Page(page)->onDeactivated();
    }
    FakePrompt prompt;
    prompt.answers = {QMessageBox::Yes, QMessageBox::Yes};
    LevelTabs restarted(&prompt);
    restarted.StartUp({});
    QCOMPARE(prompt.questions.size(), std::size_t{2});
    QCOMPARE(restarted.Count(), 2);
    QStringList restored;
    for (int page = 0; page < 2; ++page) {
      const zr3::LevelDocument& document = restarted.Page(page)->Document();
      QVERIFY(document.Modified());
      QCOMPARE(document.Level()->List(Category::Items)[0]->Name(), std::string("Unsaved"));
      restored << document.FilePath();
    }
    restored.sort();
    QCOMPARE(restored, (QStringList{levels.a, levels.b}));
    // Given up, the copies go.
    prompt.answers = {QMessageBox::No, QMessageBox::No};
    QVERIFY(restarted.close());
    levels.prompt.answers = {QMessageBox::No, QMessageBox::No};
    QVERIFY(levels.window.close());
  }

  void closingATabAsksAboutItsChanges() {
    TwoLevels levels;
    levels.OpenBoth();
    levels.window.Page(0)->Document().Rename(Category::Items, 0, "Changed");
    levels.prompt.answers = {QMessageBox::Cancel};
    QVERIFY(!levels.window.ClosePage(0));
    QCOMPARE(levels.window.Count(), 2);
    QCOMPARE(levels.prompt.questions.back().text, QStringLiteral("Save changes?"));
    levels.prompt.answers = {QMessageBox::No};
    QVERIFY(levels.window.ClosePage(0));
    QCOMPARE(TabTexts(levels.window), (QStringList{"b.zr3"}));
    // The last tab closed leaves a page to open the next level in.
    QVERIFY(levels.window.ClosePage(0));
    QCOMPARE(levels.window.Count(), 1);
    QVERIFY(!levels.window.Current()->Document().Loaded());
  }

  void closingTheWindowAsksForEachModifiedLevel() {
    TwoLevels levels;
    const QString c = WriteLevel(levels.folder, "c.zr3", zr3test::World());
    levels.OpenBoth();
    levels.window.Open(c);
    levels.window.Page(0)->Document().Rename(Category::Items, 0, "Changed");
    levels.window.Page(2)->Document().Rename(Category::Items, 0, "Changed");
    levels.prompt.answers = {QMessageBox::No, QMessageBox::Cancel};
    QVERIFY(!levels.window.close());
    QCOMPARE(levels.prompt.questions.size(), std::size_t{2});
    QCOMPARE(levels.window.Current(), levels.window.Page(2));
    levels.prompt.answers = {QMessageBox::No, QMessageBox::No};
    QVERIFY(levels.window.close());
  }

 private:
  QTemporaryDir settingsFolder_;
};

QTEST_MAIN(TestLevels)
#include "test_levels.moc"
