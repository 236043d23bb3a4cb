// Finding one's way in the window: followable search and check results, the referrers of a
// refused deletion, the modified marker, the record's position and the category after an open.
#include <QDockWidget>
#include <QLabel>
#include <QTemporaryDir>
#include <functional>
#include <vector>

#include "fake_prompt.h"
#include "support/chain_ids.h"
#include "support/item_builder.h"
#include "support/map_builder.h"
#include "support/tile_builder.h"
#include "ui_test_support.h"
#include "world_window.h"

using zr3::Category;
using zr3::ui::MainWindow;

namespace {

constexpr int kGeneralRow = zr3::ui::kGeneralRow;
constexpr int kMapsRow = zr3::ui::RowOfCategory(zr3::Category::Maps);
constexpr int kTilesRow = zr3::ui::RowOfCategory(zr3::Category::Tiles);
constexpr int kGlobalScriptsRow = zr3::ui::RowOfCategory(zr3::Category::GlobalScripts);
constexpr int kDeathScriptsRow = zr3::ui::RowOfCategory(zr3::Category::DeathScripts);
constexpr int kFlagsRow = zr3::ui::RowOfCategory(zr3::Category::Flags);
constexpr int kGroupsRow = zr3::ui::RowOfCategory(zr3::Category::Groups);
constexpr int kItemsRow = zr3::ui::RowOfCategory(zr3::Category::Items);
constexpr int kPalettesRow = zr3::ui::RowOfCategory(zr3::Category::Palettes);
constexpr int kGraphicsRow = zr3::ui::RowOfCategory(zr3::Category::Graphics);

QListView* ResultList(const MainWindow& window) {
  return window.findChild<QListView*>(QStringLiteral("resultList"));
}

bool ResultsShown(const MainWindow& window) {
  return window.findChild<QDockWidget*>(QStringLiteral("resultsDock"))->isVisibleTo(&window);
}

QStringList ResultRows(const MainWindow& window) {
  QStringList rows;
  const QAbstractItemModel* model = ResultList(window)->model();
  for (int row = 0; row < model->rowCount(); ++row) rows << model->index(row, 0).data().toString();
  return rows;
}

// Makes the row current in the results list and presses Enter there.
void PressEnterOn(const MainWindow& window, int row) {
  QListView* results = ResultList(window);
  results->setCurrentIndex(results->model()->index(row, 0));
  QTest::keyClick(results, Qt::Key_Return);
}

// Double-clicks the row; the window must be shown.
void DoubleClick(const MainWindow& window, int row) {
  QListView* results = ResultList(window);
  const QModelIndex index = results->model()->index(row, 0);
  results->scrollTo(index);
  const QPoint centre = results->visualRect(index).center();
  QTest::mouseClick(results->viewport(), Qt::LeftButton, {}, centre);
  QTest::mouseDClick(results->viewport(), Qt::LeftButton, {}, centre);
}

QString Position(const MainWindow& window) {
  return window.findChild<QLabel*>(QStringLiteral("positionLabel"))->text();
}

QString InfoOf(const zr3::ZR3Level& level) {
  zr3::Lines lines;
  level.DescribeInfo(lines);
  return zr3::LinesToDisplay(lines);
}

// Checks that the window shows the record at index of the category: its category row, its
// record row, its position and its details.
#define QVERIFY_SHOWS(window, categoryRow, category, index)                           \
  do {                                                                                \
    QCOMPARE(CategoryList(window)->currentRow(), categoryRow);                        \
    QCOMPARE((window).Records()->ShownCategory(), std::optional<Category>(category)); \
    QCOMPARE(SelectedRow(window), index);                                             \
    QCOMPARE(Details(window)->toPlainText(),                                          \
             DescriptionOf(*(window).Level()->List(category)[std::size_t(index)]));   \
    QCOMPARE(Position(window), QStringLiteral("Record %1 of %2")                      \
                                   .arg((index) + 1)                                  \
                                   .arg((window).Level()->List(category).size()));    \
  } while (false)

// Tiles "Grass" (used by every map) and "Water", and the maps "Map 0" to "Map N-1".
zr3test::LevelBuilder MapsOnGrass(int maps) {
  zr3test::LevelBuilder builder;
  builder.Add(Category::Tiles, zr3test::TileRecord(zr3test::NamedTile("Grass", 10)));
  builder.Add(Category::Tiles, zr3test::TileRecord(zr3test::NamedTile("Water", 11)));
  for (int i = 0; i < maps; ++i) {
    zr3test::MapFields map = zr3test::NamedMap("Map " + std::to_string(i), 1, 100 + i);
    map.At(0, 0) = {10, 0, 0};
    builder.Add(Category::Maps, zr3test::MapRecord(map));
  }
  return builder;
}

}  // namespace

class TestNavigation : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { IsolateSettings(settingsFolder_); }
  void init() { QFile::remove(SettingsFile()); }

  void searchResultsLeadToTheirRecords() {
    WorldWindow world;
    QVERIFY(world.Open());
    world.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&world.window));
    QVERIFY(!ResultsShown(world.window));
    world.Select(kMapsRow, 1);
    world.Trigger("actionFind");
    const QStringList found = {"Search results for Cave", "", "Global script: Watcher",
                               "Startup script: Opening", "Death script: Mourner"};
    QCOMPARE(DetailLines(world.window), found);
    QCOMPARE(ResultRows(world.window), found);
    QVERIFY(ResultsShown(world.window));

    PressEnterOn(world.window, 2);
    QVERIFY_SHOWS(world.window, kGlobalScriptsRow, Category::GlobalScripts, 0);
    // The list stays, so that the next referrer is one double-click away.
    QCOMPARE(ResultRows(world.window), found);
    DoubleClick(world.window, 4);
    QVERIFY_SHOWS(world.window, kDeathScriptsRow, Category::DeathScripts, 0);
    // The heading leads back to the record searched; the empty line leads nowhere.
    PressEnterOn(world.window, 0);
    QVERIFY_SHOWS(world.window, kMapsRow, Category::Maps, 1);
    PressEnterOn(world.window, 1);
    QVERIFY_SHOWS(world.window, kMapsRow, Category::Maps, 1);
    QVERIFY(!world.Level().Modified());

    // A field of the level information leads to "General".
    world.Select(kGraphicsRow, 0);
    world.Trigger("actionFind");
    QCOMPARE(ResultRows(world.window),
             QStringList({"Search results for Sky", "", "General: Background",
                          "General: Inventory Screen"}));
    DoubleClick(world.window, 3);
    QCOMPARE(CategoryList(world.window)->currentRow(), kGeneralRow);
    QVERIFY(!world.window.Records()->ShownCategory());
    QCOMPARE(Details(world.window)->toPlainText(), InfoOf(world.Level()));
    QCOMPARE(Position(world.window), QString());
  }

  void checkLinesLeadToTheirRecords() {
    zr3test::LevelBuilder builder = MapsOnGrass(2);
    builder.info.paletteId = 99;  // no palette at all
    zr3test::MapFields town = zr3test::NamedMap("Town", 1, 200);
    town.borders[0] = 5;  // no tile carries 5
    builder.Add(Category::Maps, zr3test::MapRecord(town));
    QTemporaryDir folder;
    FakePrompt prompt;
    MainWindow window(&prompt);
    QVERIFY(window.OpenLevel(WriteLevel(folder, "town.zr3", builder)));
    CategoryList(window)->setCurrentRow(kMapsRow);
    RecordList(window)->setCurrentIndex(RecordList(window)->model()->index(2, 0));

    ActionOf(window, "actionCheckLevel")->trigger();
    const QStringList problems = {
        "General, Palette = 63 00 00 00: no palette has this identifier; next save: kept",
        "Maps 2 \"Town\", Border N = 05 00 00 00: no tile has this identifier; next save: "
        "written as 0",
        "Problems: 2"};
    QCOMPARE(ResultRows(window), problems);
    QCOMPARE(DetailLines(window), problems);
    // The summary names nothing and cannot be chosen.
    QVERIFY(!(ResultList(window)->model()->flags(ResultList(window)->model()->index(2, 0)) &
              Qt::ItemIsSelectable));
    PressEnterOn(window, 2);
    QCOMPARE(DetailLines(window), problems);

    // The record already selected is shown again in place of the problems.
    PressEnterOn(window, 1);
    QVERIFY_SHOWS(window, kMapsRow, Category::Maps, 2);
    PressEnterOn(window, 0);
    QCOMPARE(CategoryList(window)->currentRow(), kGeneralRow);
    QCOMPARE(Details(window)->toPlainText(), InfoOf(*window.Level()));
    // "General" already chosen: its information replaces the problems.
    ActionOf(window, "actionCheckLevel")->trigger();
    PressEnterOn(window, 0);
    QCOMPARE(Details(window)->toPlainText(), InfoOf(*window.Level()));
    PressEnterOn(window, 1);
    QVERIFY_SHOWS(window, kMapsRow, Category::Maps, 2);
  }

  void resultsLeadIntoACategoryOf65535Records() {
    std::vector<zr3test::ItemFields> items(65535);
    for (std::size_t i = 0; i < items.size(); ++i) {
      items[i].name = "Item " + std::to_string(i);
      items[i].groups = {2, -1};
    }
    // The last one shares the first one's name, which the check reports.
    items.back().name = "Item 0";
    items.back().cost = 7;
    zr3test::ChainIds(items, 1000);
    zr3test::LevelBuilder builder;
    for (const zr3test::ItemFields& item : items)
      builder.Add(Category::Items, zr3test::ItemBlob(item));
    QTemporaryDir folder;
    FakePrompt prompt;
    MainWindow window(&prompt);
    QVERIFY(window.OpenLevel(WriteLevel(folder, "big.zr3", builder)));

    CategoryList(window)->setCurrentRow(kGroupsRow);
    RecordList(window)->setCurrentIndex(RecordList(window)->model()->index(2, 0));
    ActionOf(window, "actionFind")->trigger();
    QCOMPARE(ResultList(window)->model()->rowCount(), 65537);
    QCOMPARE(ResultRows(window).last(), QStringLiteral("Item: Item 0"));
    PressEnterOn(window, 65536);
    QVERIFY_SHOWS(window, kItemsRow, Category::Items, 65534);
    PressEnterOn(window, 2);
    QVERIFY_SHOWS(window, kItemsRow, Category::Items, 0);

    CategoryList(window)->setCurrentRow(kFlagsRow);
    ActionOf(window, "actionCheckLevel")->trigger();
    QCOMPARE(ResultRows(window),
             QStringList({"Items 65534 \"Item 0\", Name = \"Item 0\": also the name of Items 0, "
                          "which the importer takes instead; next save: kept",
                          "Problems: 1"}));
    PressEnterOn(window, 0);
    QVERIFY_SHOWS(window, kItemsRow, Category::Items, 65534);
  }

  void refusedDeleteListsItsReferrers_data() {
    QTest::addColumn<int>("maps");
    QTest::addColumn<QStringList>("tail");
    QTest::newRow("one") << 1 << QStringList({"Map: Map 0"});
    QTest::newRow("ten") << 10 << QStringList({"Map: Map 8", "Map: Map 9"});
    QTest::newRow("eleven") << 11 << QStringList({"Map: Map 9", "and 1 more"});
    QTest::newRow("twelve") << 12 << QStringList({"Map: Map 9", "and 2 more"});
  }

  void refusedDeleteListsItsReferrers() {
    QFETCH(int, maps);
    QFETCH(QStringList, tail);
    QTemporaryDir folder;
    FakePrompt prompt;
    MainWindow window(&prompt);
    QVERIFY(window.OpenLevel(WriteLevel(folder, "grass.zr3", MapsOnGrass(maps))));
    CategoryList(window)->setCurrentRow(kTilesRow);
    const QString details = Details(window)->toPlainText();

    ActionOf(window, "actionDelete")->trigger();
    QCOMPARE(prompt.questions.size(), std::size_t{1});
    const FakePrompt::Question& warning = prompt.questions[0];
    QCOMPARE(warning.text,
             QStringLiteral("Cannot delete item while other items\nstill refer to it."));
    QCOMPARE(warning.caption, QStringLiteral("Delete"));
    QCOMPARE(warning.icon, QMessageBox::Warning);
    QCOMPARE(warning.details.size(), std::min(maps, 10) + (maps > 10 ? 1 : 0));
    QCOMPARE(warning.details.first(), QStringLiteral("Map: Map 0"));
    QCOMPARE(warning.details.mid(warning.details.size() - tail.size()), tail);
    // Nothing changed, and the details pane still shows the record.
    QCOMPARE(Rows(window), QStringList({"Grass", "Water"}));
    QCOMPARE(Details(window)->toPlainText(), details);
    QVERIFY(!window.Level()->Modified());

    // Every referrer, not only the first ten, can be followed.
    QVERIFY(ResultsShown(window));
    QCOMPARE(ResultList(window)->model()->rowCount(), maps + 2);
    QCOMPARE(ResultRows(window).value(0), QStringLiteral("Search results for Grass"));
    PressEnterOn(window, maps + 1);
    QVERIFY_SHOWS(window, kMapsRow, Category::Maps, maps - 1);
  }

  void modifiedMarkerFollowsEditsAndSaves() {
    WorldWindow world;
    QVERIFY(world.Open());
    QCOMPARE(ShownTitle(world.window), QStringLiteral("world.zr3 - ZR3Tool"));
    QTemporaryDir out;
    const QString scripts = out.filePath("scripts.txt");
    world.prompt.files = {scripts};
    world.Trigger("actionExportAllScripts");

    struct Edit {
      const char* name;
      std::function<void(WorldWindow&)> run;
    };
    const std::vector<Edit> edits = {
        {"rename",
         [](WorldWindow& w) {
           w.Select(kMapsRow, 0);
           RecordList(w.window)->model()->setData(RecordList(w.window)->model()->index(0, 0),
                                                  "Harbour");
         }},
        {"move", [](WorldWindow& w) { w.Trigger("actionMoveDown"); }},
        {"copy", [](WorldWindow& w) { w.Trigger("actionCopy"); }},
        {"script copy",
         [](WorldWindow& w) {
           w.Select(kGlobalScriptsRow, 0);
           w.prompt.scriptTargets.push_back(1);
           w.Trigger("actionCopy");
         }},
        {"delete",
         [](WorldWindow& w) {
           w.Select(kPalettesRow, 1);
           w.Trigger("actionDelete");
         }},
        {"import",
         [&scripts](WorldWindow& w) {
           w.prompt.files = {scripts};
           w.Trigger("actionImportScripts");
         }},
    };
    for (const Edit& edit : edits) {
      edit.run(world);
      QVERIFY2(world.window.isWindowModified(), edit.name);
      QCOMPARE(ShownTitle(world.window), QStringLiteral("world.zr3* - ZR3Tool"));
      world.Trigger("actionSave");
      QVERIFY2(!world.window.isWindowModified(), edit.name);
      QCOMPARE(ShownTitle(world.window), QStringLiteral("world.zr3 - ZR3Tool"));
    }

    // What changes nothing leaves the marker off; with the undo history a cancelled script
    // copy is one of them.
    world.Select(kGlobalScriptsRow, 0);
    world.Trigger("actionCopy");
    world.Select(kMapsRow, 0);
    world.Trigger("actionMoveUp");
    world.Trigger("actionFind");
    world.Trigger("actionCheckLevel");
    world.Select(kTilesRow, 2);
    world.Trigger("actionDelete");
    QVERIFY(!world.window.isWindowModified());

    // Opening the level again drops the unsaved change and the marker.
    world.Select(kMapsRow, 0);
    world.Trigger("actionMoveDown");
    QVERIFY(world.window.isWindowModified());
    QVERIFY(world.Open());
    QVERIFY(!world.window.isWindowModified());
  }

  void statusBarShowsTheSelectedRecordsPosition() {
    WorldWindow world;
    QVERIFY(world.Open());
    QCOMPARE(Position(world.window), QString());
    world.Select(kMapsRow, 1);
    QCOMPARE(Position(world.window), QStringLiteral("Record 2 of 3"));
    world.Trigger("actionCopy");
    QCOMPARE(Position(world.window), QStringLiteral("Record 2 of 4"));
    world.Trigger("actionMoveDown");
    QCOMPARE(Position(world.window), QStringLiteral("Record 3 of 4"));
    world.Select(kMapsRow, 3);
    world.Trigger("actionDelete");
    QCOMPARE(Position(world.window), QStringLiteral("Record 3 of 3"));
    // A progress message does not hide it.
    world.window.ShowStatus("Loading Maps...");
    QCOMPARE(Position(world.window), QStringLiteral("Record 3 of 3"));
    CategoryList(world.window)->setCurrentRow(kFlagsRow);
    QCOMPARE(Position(world.window), QStringLiteral("Record 1 of 256"));
    CategoryList(world.window)->setCurrentRow(kGeneralRow);
    QCOMPARE(Position(world.window), QString());
  }

  void resultsGoWhenPositionsChangeOrAnotherLevelOpens() {
    WorldWindow world;
    QVERIFY(world.Open());
    const auto find = [&world] {
      world.Select(kMapsRow, 1);
      world.Trigger("actionFind");
      QVERIFY(ResultsShown(world.window));
    };
    find();
    world.Trigger("actionMoveUp");
    QCOMPARE(ResultList(world.window)->model()->rowCount(), 0);
    QVERIFY(!ResultsShown(world.window));
    find();
    world.Select(kPalettesRow, 1);
    world.Trigger("actionDelete");
    QCOMPARE(ResultList(world.window)->model()->rowCount(), 0);
    find();
    // A copy adds at the end: every line still names its record.
    const QStringList found = ResultRows(world.window);
    QVERIFY(!found.isEmpty());
    world.Trigger("actionCopy");
    QCOMPARE(ResultRows(world.window), found);
    QVERIFY(world.Open());
    QCOMPARE(ResultList(world.window)->model()->rowCount(), 0);
    QVERIFY(!ResultsShown(world.window));
  }

  void openingAnotherLevelRefillsTheChosenCategory() {
    WorldWindow world;
    QVERIFY(world.Open());
    world.Select(kMapsRow, 2);
    const QString other = WriteLevel(world.folder, "other.zr3", MapsOnGrass(2));
    QVERIFY(world.window.OpenLevel(other));
    QCOMPARE(Rows(world.window), QStringList({"Map 0", "Map 1"}));
    QVERIFY_SHOWS(world.window, kMapsRow, Category::Maps, 0);

    // After a failed load the next good one fills the category again.
    zr3test::LevelBuilder broken;
    broken.header = "02012399";
    QVERIFY(!world.window.OpenLevel(WriteLevel(world.folder, "broken.zr3", broken)));
    QCOMPARE(Rows(world.window), QStringList());
    QVERIFY(!ActionOf(world.window, "actionExport")->isEnabled());
    QVERIFY(world.Open());
    QCOMPARE(Rows(world.window), QStringList({"Town", "Cave", "Field"}));
    QVERIFY_SHOWS(world.window, kMapsRow, Category::Maps, 0);
    QVERIFY(ActionOf(world.window, "actionExport")->isEnabled());

    // "General" shows the new level's information.
    CategoryList(world.window)->setCurrentRow(kGeneralRow);
    QVERIFY(world.window.OpenLevel(other));
    QCOMPARE(Details(world.window)->toPlainText(), InfoOf(world.Level()));
    QCOMPARE(Rows(world.window), QStringList());
  }

 private:
  QTemporaryDir settingsFolder_;
};

QTEST_MAIN(TestNavigation)
#include "test_navigation.moc"
