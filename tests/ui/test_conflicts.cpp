#include <QAction>
#include <QDockWidget>
#include <QFile>
#include <QLabel>
#include <QTabWidget>
#include <QTableView>
#include <QUndoStack>
#include <QtTest>

#include "document/conflictlist.h"
#include "document/leveldocument.h"
#include "level/file_source.h"
#include "level/safefile.h"
#include "merge/merge_conflicts.h"
#include "support/exported_json.h"
#include "ui/categoryrows.h"
#include "ui/mappane.h"
#include "ui/mapview.h"
#include "ui/recordviews.h"
#include "world_window.h"

using zr3::Category;
using zr3::merge::MergeConflict;

// A level left by a merge with its conflicts file beside it: the conflicts are listed in the
// Results dock, followed to their records, each resolved by taking a side as one undoable
// step, and the file goes with the save that leaves none.
class TestConflicts : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { IsolateSettings(settingsFolder_); }

  void theConflictsAreListedAndFollowed() {
    WorldWindow world;
    WriteConflicts(world);
    QVERIFY(world.Open());
    auto* dock = world.window.findChild<QDockWidget*>(QStringLiteral("resultsDock"));
    QVERIFY(!dock->isHidden());
    QCOMPARE(Row(world, 0), (QStringList{"Items", "0: Axe", "cost", "5", Cost(), "77"}));
    QCOMPARE(Row(world, 1),
             (QStringList{"Maps", "0: Town", "layer 1, row 1, column 1", "(none)", "(none)", "1"}));
    QCOMPARE(Row(world, 2).mid(0, 3), (QStringList{"Items", "1: Potion", "whole record"}));
    QCOMPARE(Row(world, 2).mid(4), (QStringList{"record \"Potion\"", "(none)"}));

    emit Table(world)->activated(Table(world)->model()->index(1, 0));
    QCOMPARE(CategoryList(world.window)->currentRow(), zr3::ui::RowOfCategory(Category::Maps));
    QCOMPARE(SelectedRow(world.window), 0);
    auto* tabs = world.window.findChild<QTabWidget*>(QStringLiteral("recordTabs"));
    QCOMPARE(tabs->currentWidget(), static_cast<QWidget*>(world.window.Views()->MapTab()));
    QCOMPARE(world.window.Views()->MapTab()->View()->SelectedCell(),
             std::optional(zr3::ui::MapCell{1, 1}));
    emit Table(world)->activated(Table(world)->model()->index(2, 0));
    QCOMPARE(CategoryList(world.window)->currentRow(), zr3::ui::RowOfCategory(Category::Items));
    QCOMPARE(SelectedRow(world.window), 1);
  }

  void takingASideIsOneStepThatUndoBringsBack() {
    WorldWindow world;
    WriteConflicts(world);
    QVERIFY(world.Open());
    const std::string opened = world.Level().SaveToBytes();
    Take(world, 0, "actionTakeTheirs");
    QCOMPARE(zr3::FieldText(world.Level(), {Category::Items, 0}, "cost"), std::string("77"));
    QCOMPARE(Table(world)->model()->rowCount(), 2);
    QCOMPARE(world.window.UndoStack()->count(), 1);
    QCOMPARE(world.window.UndoStack()->undoText(),
             QStringLiteral("Take theirs for cost of Item 'Axe'"));
    world.window.UndoStack()->undo();
    QCOMPARE(Table(world)->model()->rowCount(), 3);
    QCOMPARE(Row(world, 0)[1], QStringLiteral("0: Axe"));
    QCOMPARE(world.Level().SaveToBytes(), opened);

    // Deleting the potion moves no other conflict's record; its undo brings the potion back.
    Take(world, 2, "actionTakeTheirs");
    QCOMPARE(world.Level().List(Category::Items).size(), std::size_t{1});
    QCOMPARE(Table(world)->model()->rowCount(), 2);
    auto* dock = world.window.findChild<QDockWidget*>(QStringLiteral("resultsDock"));
    QVERIFY(!dock->isHidden());
    world.window.UndoStack()->undo();
    QCOMPARE(world.Level().List(Category::Items)[1]->Name(), std::string("Potion"));
    QCOMPARE(world.Level().SaveToBytes(), opened);
  }

  void theConflictsFollowTheirRecordsWhenTheListChanges() {
    WorldWindow world;
    WriteConflicts(world);
    QVERIFY(world.Open());
    zr3::LevelDocument& document = *world.window.findChild<zr3::LevelDocument*>();
    document.Move(Category::Items, 1, zr3::MoveDirection::Up);
    QCOMPARE(Row(world, 0)[1], QStringLiteral("1: Axe"));
    QCOMPARE(Row(world, 2)[1], QStringLiteral("0: Potion"));
    Take(world, 0, "actionTakeTheirs");
    QCOMPARE(zr3::FieldText(world.Level(), {Category::Items, 1}, "cost"), std::string("77"));
    // Deleted by hand, a conflict's record leaves its conflict waiting for the undo.
    QCOMPARE(document.Delete(Category::Items, 0), QString());
    QCOMPARE(Row(world, 1)[1], QStringLiteral("0: Potion (deleted)"));
    Take(world, 1, "actionTakeTheirs");
    QCOMPARE(world.prompt.questions.size(), std::size_t{1});
    world.window.UndoStack()->undo();
    QCOMPARE(Row(world, 1)[1], QStringLiteral("0: Potion"));
  }

  void aSaveWithConflictsLeftKeepsThemAndTheLastResolvedRemovesTheFile() {
    WorldWindow world;
    WriteConflicts(world);
    QVERIFY(world.Open());
    const QString conflictsFile = world.path + QStringLiteral(".conflicts.json");
    Take(world, 1, "actionTakeTheirs");
    world.Trigger("actionSave");
    const std::vector<MergeConflict> left =
        zr3::merge::ConflictsFromJson(zr3::ReadWholeFile(conflictsFile.toStdString()));
    QCOMPARE(left.size(), std::size_t{2});
    QCOMPARE(left[0].place.field, std::string("cost"));
    QVERIFY(left[1].place.WholeRecord());

    Take(world, 0, "actionTakeOurs");
    Take(world, 0, "actionTakeBase");
    QCOMPARE(Table(world)->model()->rowCount(), 0);
    QVERIFY(!world.window.findChild<QWidget*>(QStringLiteral("conflictPanel"))
                 ->isVisibleTo(&world.window));
    world.Trigger("actionSave");
    QVERIFY(world.prompt.questions.empty());
    QVERIFY(!QFile::exists(conflictsFile));
    // Base had the potion as ours does: it stays.
    const auto saved = world.Reloaded();
    QCOMPARE(saved->List(Category::Items).size(), std::size_t{2});
    QCOMPARE(zr3::FieldText(*saved, {Category::Items, 0}, "cost"), Cost().toStdString());

    // Undone after the save, a conflict is back and the next save writes it again.
    world.window.UndoStack()->undo();
    QCOMPARE(Table(world)->model()->rowCount(), 1);
    world.Trigger("actionSave");
    QVERIFY(QFile::exists(conflictsFile));
  }

  void aValueTheLevelCannotTakeIsRefusedWithItsReason() {
    WorldWindow world;
    zr3::ZR3Level level;
    zr3test::LoadWorld(level);
    // Grass lies on the town: their deletion of it cannot be taken.
    MergeConflict grass{
        zr3::merge::ConflictKind::DeletedAndChanged, Category::Tiles, 0, "Grass", {}, "null",
        zr3test::ExportedAt(level, "/tiles/0"),      "null"};
    zr3::WriteFileAtomically((world.path + ".conflicts.json").toStdString(),
                             zr3::merge::ConflictsToJson({grass}));
    QVERIFY(world.Open());
    Take(world, 0, "actionTakeTheirs");
    QCOMPARE(world.prompt.questions.size(), std::size_t{1});
    QVERIFY(world.prompt.questions[0].text.contains("refer"));
    QCOMPARE(world.window.UndoStack()->count(), 0);
    QCOMPARE(Table(world)->model()->rowCount(), 1);
  }

  void aBrokenConflictsFileIsSaidAndLeftAlone() {
    WorldWindow world;
    const QString conflictsFile = world.path + QStringLiteral(".conflicts.json");
    zr3::WriteFileAtomically(conflictsFile.toStdString(), "{\"format\": 3}");
    QVERIFY(world.Open());
    auto* summary = world.window.findChild<QLabel*>(QStringLiteral("conflictSummary"));
    QVERIFY(summary->text().contains("cannot be read"));
    world.Trigger("actionSave");
    QCOMPARE(zr3::ReadWholeFile(conflictsFile.toStdString()), std::string("{\"format\": 3}"));
  }

 private:
  static QString Cost() {
    zr3::ZR3Level level;
    zr3test::LoadWorld(level);
    return QString::fromStdString(zr3::FieldText(level, {Category::Items, 0}, "cost"));
  }
  // The axe's price changed on both sides, a cell of the town painted on theirs only where
  // ours painted too, and the potion deleted on theirs while ours changed it.
  static void WriteConflicts(const WorldWindow& world) {
    zr3::ZR3Level level;
    zr3test::LoadWorld(level);
    MergeConflict cost{zr3::merge::ConflictKind::ChangedOnBoth,
                       Category::Items,
                       0,
                       "Axe",
                       {},
                       "5",
                       zr3test::ExportedAt(level, "/items/0/cost"),
                       "77"};
    cost.place.field = "cost";
    MergeConflict cell{zr3::merge::ConflictKind::ChangedOnBoth,
                       Category::Maps,
                       0,
                       "Town",
                       {},
                       "null",
                       "null",
                       "1"};
    cell.place.cell = zr3::merge::ConflictPlace::Cell{1, 1, 1};
    const std::string potion = zr3test::ExportedAt(level, "/items/1");
    const MergeConflict deleted{zr3::merge::ConflictKind::DeletedAndChanged,
                                Category::Items,
                                1,
                                "Potion",
                                {},
                                potion,
                                potion,
                                "null"};
    zr3::WriteFileAtomically((world.path + ".conflicts.json").toStdString(),
                             zr3::merge::ConflictsToJson({cost, cell, deleted}));
  }
  static QTableView* Table(const WorldWindow& world) {
    return world.window.findChild<QTableView*>(QStringLiteral("conflictTable"));
  }
  static QStringList Row(const WorldWindow& world, int row) {
    QStringList cells;
    const QAbstractItemModel* model = Table(world)->model();
    for (int column = 0; column < model->columnCount(); ++column) {
      cells << model->index(row, column).data().toString();
    }
    return cells;
  }
  static void Take(WorldWindow& world, int row, const char* action) {
    Table(world)->setCurrentIndex(Table(world)->model()->index(row, 0));
    auto* take = world.window.findChild<QAction*>(QLatin1String(action));
    QVERIFY(take->isEnabled());
    take->trigger();
  }

  QTemporaryDir settingsFolder_;
};

QTEST_MAIN(TestConflicts)
#include "test_conflicts.moc"
