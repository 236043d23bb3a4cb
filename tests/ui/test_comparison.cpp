#include <QListView>
#include <QTabWidget>

#include "edit/map_paint.h"
#include "edit/rename.h"
#include "ui/categoryrows.h"
#include "ui/comparison.h"
#include "ui/mappane.h"
#include "ui/mapview.h"
#include "ui/recordviews.h"
#include "world_window.h"

using zr3::Category;

// File > Compare With... lists the differences from another version in the results; a line
// follows to its record, a map region's line to its cell on the Map tab, where the changed
// cells are outlined until the results go.
class TestComparison : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { IsolateSettings(settingsFolder_); }

  void compareWithListsTheDifferencesAndFollowsThem() {
    WorldWindow world;
    QVERIFY(world.Open());
    zr3::ZR3Level& level = world.Level();
    zr3::RenameRecord(level, Category::Items, 0, "Hatchet");
    auto* water = static_cast<zr3::ZR3ChainRecord*>(level.List(Category::Tiles)[1].get());
    zr3::MapPaint paint(level, 0);
    QVERIFY(paint.Set(level, 1, 1, 0, water));

    world.prompt.files.push_back(world.path);
    world.Trigger("actionCompareWith");
    QVERIFY(world.prompt.questions.empty());
    auto* results = world.window.findChild<QListView*>(QStringLiteral("resultList"));
    QStringList lines;
    for (int row = 0; row < results->model()->rowCount(); ++row) {
      lines << results->model()->index(row, 0).data().toString();
    }
    QCOMPARE(lines, (QStringList{"Maps", "  changed 0 \"Town\"",
                                 "    layer 1: row 1, column 1: 1 cell (empty -> Water)", "Items",
                                 "  renamed 0: \"Axe\" -> \"Hatchet\""}));

    emit results->activated(results->model()->index(4, 0));
    QCOMPARE(CategoryList(world.window)->currentRow(), zr3::ui::RowOfCategory(Category::Items));
    emit results->activated(results->model()->index(2, 0));
    auto* tabs = world.window.findChild<QTabWidget*>(QStringLiteral("recordTabs"));
    QCOMPARE(tabs->currentWidget(), static_cast<QWidget*>(world.window.Views()->MapTab()));
    QCOMPARE(world.window.Views()->MapTab()->View()->SelectedCell(),
             std::optional(zr3::ui::MapCell{1, 1}));
  }

  void theComparisonOutlinesOnlyTheChangedCellsOfEachMap() {
    zr3::ZR3Level older;
    zr3::ZR3Level current;
    zr3test::LoadWorld(older);
    zr3test::LoadWorld(current);
    auto* lava = static_cast<zr3::ZR3ChainRecord*>(current.List(Category::Tiles)[2].get());
    zr3::MapPaint paint(current, 1);
    QCOMPARE(paint.Fill(current, 0, 0, 1, 0, 2, lava), std::size_t{2});
    const zr3::ui::Comparison comparison(older, current);
    QVERIFY(!comparison.Same());
    QVERIFY(comparison.ChangedCells(0) == nullptr);
    QVERIFY(comparison.ChangedCells(1) != nullptr);
    QCOMPARE(*comparison.ChangedCells(1), (zr3::render::CellSet{{0, 0}, {1, 0}}));
    QVERIFY(zr3::ui::Comparison(older, older).Same());
  }

 private:
  QTemporaryDir settingsFolder_;
};

QTEST_MAIN(TestComparison)
#include "test_comparison.moc"
