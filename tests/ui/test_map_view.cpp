// The Map tab: painting strokes, rectangle fills, erasing and picking through the view's mouse
// events, checked against the saved file; undo of strokes and of a new map size; the slot list,
// the hover text, zoom and the game folder.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QScrollBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QTreeWidget>
#include <map>
#include <tuple>

#include "editor_fixture.h"
#include "records/zr3map.h"
#include "support/map_builder.h"
#include "support/record_checks.h"
#include "support/tile_builder.h"
#include "ui/mappane.h"
#include "ui/tilepalette.h"

using zr3::Category;
using zr3::ui::MapCell;
using zr3::ui::MapView;

namespace {

constexpr int kMapsRow = zr3::ui::RowOfCategory(zr3::Category::Maps);
constexpr int kTilesRow = zr3::ui::RowOfCategory(zr3::Category::Tiles);
constexpr std::uint32_t kGrass = 11;
constexpr std::uint32_t kWall = 12;
constexpr std::uint32_t kRoof = 13;
constexpr int kSide = 8;

// Tiles Grass, Wall and Roof (the Roof's picture in "tiles\roof.bmp") and an 8 x 8 map with a
// few cells set, one of them to an identifier no tile has.
zr3test::LevelBuilder PaintLevel() {
  zr3test::LevelBuilder builder;
  builder.Add(Category::Tiles, zr3test::TileRecord(zr3test::NamedTile("Grass", kGrass)));
  builder.Add(Category::Tiles, zr3test::TileRecord(zr3test::NamedTile("Wall", kWall)));
  zr3test::TileFields roof = zr3test::NamedTile("Roof", kRoof);
  roof.gfxId = 1;
  roof.path = "tiles\\roof.bmp";
  builder.Add(Category::Tiles, zr3test::TileRecord(roof));
  zr3test::MapFields map = zr3test::NamedMap("Field", kSide, 50);
  map.At(0, 0) = {kGrass, 0, 0};
  map.At(2, 3) = {kGrass, kWall, 0};
  map.At(7, 7) = {999, 0, kRoof};
  map.borders = {kWall, kWall, kWall, kWall};
  builder.Add(Category::Maps, zr3test::MapRecord(map));
  return builder;
}

using Slot = std::tuple<int, int, int>;  // row, column, slot

std::size_t CellsOffset() {
  return zr3test::RecordOffset(PaintLevel(), Category::Maps, 0, zr3::ZR3Map::kSize) +
         zr3test::kMapCellsOffset;
}

// The identifier a save stores in a cell's slot.
std::uint32_t SavedId(const std::string& save, int row, int column, int slot) {
  const std::size_t at =
      CellsOffset() + static_cast<std::size_t>((row * 100 + column) * 3 + slot) * 4;
  std::uint32_t id = 0;
  for (std::size_t b = 4; b-- > 0;) id = id << 8 | static_cast<unsigned char>(save.at(at + b));
  return id;
}

// The cell slots whose stored identifiers differ between two saves of the level, with the new
// identifier; fails the test when anything outside the map's cells differs.
std::map<Slot, std::uint32_t> ChangedSlots(const std::string& before, const std::string& after) {
  std::map<Slot, std::uint32_t> changed;
  const std::size_t cells = CellsOffset();
  const std::size_t cellsEnd = cells + 100 * 100 * 12;
  if (before.size() != after.size()) qFatal("the saves differ in size");
  for (std::size_t at = 0; at < before.size(); ++at) {
    if (before[at] == after[at]) continue;
    if (at < cells || at >= cellsEnd) qFatal("byte %zu outside the cells changed", at);
    const auto word = static_cast<int>((at - cells) / 4);
    const int cell = word / 3;
    changed[{cell / 100, cell % 100, word % 3}] = SavedId(after, cell / 100, cell % 100, word % 3);
  }
  return changed;
}

// The window showing the test map in its Map tab, shown on screen so that the view has a size.
struct MapEditor : Editor {
  MapEditor() : Editor(PaintLevel()) {
    window.resize(1000, 700);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) qFatal("the window is not shown");
    if (!Open()) qFatal("the level does not open");
    original = Saved();
    grass = SavedId(original, 0, 0, 0);
    wall = SavedId(original, 2, 3, 1);
    roof = SavedId(original, 7, 7, 2);
    Select(kMapsRow, 0);
    window.Views()->setCurrentWidget(window.Views()->MapTab());
    View().SetCellSize(16);
  }
  MapView& View() { return *window.Views()->MapTab()->View(); }
  QWidget* Surface() { return View().viewport(); }
  QPoint At(int row, int column) { return View().CellCentre(MapCell{row, column}); }
  void Brush(int tilePosition, int layer) {
    window.Tiles()->ChooseTile(
        static_cast<zr3::ZR3ChainRecord*>(Level().List(Category::Tiles)[tilePosition].get()));
    window.Views()->MapTab()->LayerBox()->setCurrentIndex(layer);
  }
  // A drag through the cells, pressed at the first and let go at the last.
  void Drag(std::initializer_list<MapCell> cells, Qt::MouseButton button = Qt::LeftButton,
            Qt::KeyboardModifiers modifiers = {}) {
    const MapCell first = *cells.begin();
    QTest::mousePress(Surface(), button, modifiers, At(first.row, first.column));
    for (const MapCell& cell : cells) QTest::mouseMove(Surface(), At(cell.row, cell.column));
    const MapCell last = *std::prev(cells.end());
    QTest::mouseRelease(Surface(), button, modifiers, At(last.row, last.column));
  }
  std::string original;
  // The tiles' identifiers as the save numbers them.
  std::uint32_t grass = 0;
  std::uint32_t wall = 0;
  std::uint32_t roof = 0;
};

}  // namespace

class TestMapView : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { IsolateSettings(settingsFolder_); }
  void init() { QFile::remove(SettingsFile()); }

  void aMapShowsTheMapTabAndOtherRecordsDoNot() {
    MapEditor editor;
    QTabWidget& tabs = *editor.window.Views();
    QVERIFY(tabs.isTabVisible(tabs.indexOf(editor.window.Views()->MapTab())));
    QCOMPARE(editor.View().Map()->Side(), kSide);
    editor.Select(kTilesRow, 0);
    QVERIFY(!tabs.isTabVisible(tabs.indexOf(editor.window.Views()->MapTab())));
    QVERIFY(editor.View().Map() == nullptr);
  }

  void aDragPaintsTheCellsItCrossesAsOneStep() {
    MapEditor editor;
    editor.Brush(1, 1);  // Wall on layer 2
    QCOMPARE(editor.View().CurrentTool(), MapView::Tool::Paint);
    // A jump from column 1 to column 4 paints the cells between as well.
    editor.Drag({{1, 1}, {1, 4}, {3, 4}});
    const std::string painted = editor.Saved();
    const std::uint32_t wall = editor.wall;
    const std::map<Slot, std::uint32_t> expected = {{{1, 1, 1}, wall}, {{1, 2, 1}, wall},
                                                    {{1, 3, 1}, wall}, {{1, 4, 1}, wall},
                                                    {{2, 4, 1}, wall}, {{3, 4, 1}, wall}};
    QCOMPARE(ChangedSlots(editor.original, painted), expected);
    QCOMPARE(editor.History().count(), 1);
    QCOMPARE(editor.History().undoText(), QStringLiteral("Paint Map 'Field'"));
    QVERIFY(editor.window.isWindowModified());
    editor.History().undo();
    QCOMPARE(editor.Saved(), editor.original);
    QVERIFY(!editor.window.isWindowModified());
    editor.History().redo();
    QCOMPARE(editor.Saved(), painted);
  }

  void shiftAndADragFillARectangle() {
    MapEditor editor;
    editor.Brush(2, 0);  // Roof on layer 1
    editor.Drag({{6, 5}, {5, 6}, {5, 7}}, Qt::LeftButton, Qt::ShiftModifier);
    std::map<Slot, std::uint32_t> expected;
    for (int row = 5; row <= 6; ++row) {
      for (int column = 5; column <= 7; ++column) expected[{row, column, 0}] = editor.roof;
    }
    QCOMPARE(ChangedSlots(editor.original, editor.Saved()), expected);
    QCOMPARE(editor.History().undoText(), QStringLiteral("Fill Map 'Field'"));
    editor.History().undo();
    QCOMPARE(editor.Saved(), editor.original);
  }

  void theRightButtonErasesAndCtrlClickPicks() {
    MapEditor editor;
    editor.Brush(0, 0);
    editor.Drag({{2, 3}, {2, 2}}, Qt::RightButton);
    QCOMPARE(ChangedSlots(editor.original, editor.Saved()),
             (std::map<Slot, std::uint32_t>{{{2, 3, 0}, 0}}));
    QCOMPARE(editor.History().undoText(), QStringLiteral("Erase Map 'Field'"));

    // The chosen layer's tile is picked; an empty slot there picks the topmost tile.
    editor.window.Views()->MapTab()->LayerBox()->setCurrentIndex(1);
    QTest::mouseClick(editor.Surface(), Qt::LeftButton, Qt::ControlModifier, editor.At(2, 3));
    QCOMPARE(editor.window.Tiles()->Tile()->Name(), std::string("Wall"));
    QTest::mouseClick(editor.Surface(), Qt::LeftButton, Qt::ControlModifier, editor.At(0, 0));
    QCOMPARE(editor.window.Tiles()->Tile()->Name(), std::string("Grass"));
    // Picking changes nothing.
    QCOMPARE(editor.History().count(), 1);

    // A hidden filter does not hide the picked tile.
    editor.window.Tiles()->Filter()->setText(QStringLiteral("roof"));
    QTest::mouseClick(editor.Surface(), Qt::LeftButton, Qt::ControlModifier, editor.At(2, 3));
    QCOMPARE(editor.window.Tiles()->Tile()->Name(), std::string("Wall"));
  }

  void paintingOverTheSameTileOrWithoutABrushChangesNothing() {
    MapEditor editor;
    editor.Drag({{4, 4}, {4, 6}});  // the Select tool only selects
    QCOMPARE(*editor.View().SelectedCell(), (MapCell{4, 4}));
    editor.Brush(0, 0);
    editor.Drag({{0, 0}});  // already Grass
    QCOMPARE(editor.History().count(), 0);
    QCOMPARE(editor.Saved(), editor.original);
    QVERIFY(!editor.window.isWindowModified());
  }

  void theKeyboardMovesTheSelectionPaintsAndErases() {
    MapEditor editor;
    editor.Brush(1, 2);  // Wall on layer 3
    editor.View().SelectCell(MapCell{3, 6});
    for (const Qt::Key key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Up}) {
      QTest::keyClick(&editor.View(), key);
    }
    QCOMPARE(*editor.View().SelectedCell(), (MapCell{2, 7}));  // stopped at the last column
    QTest::keyClick(&editor.View(), Qt::Key_Return);
    QCOMPARE(ChangedSlots(editor.original, editor.Saved()),
             (std::map<Slot, std::uint32_t>{{{2, 7, 2}, editor.wall}}));
    QTest::keyClick(&editor.View(), Qt::Key_Delete);
    QCOMPARE(editor.Saved(), editor.original);
    QCOMPARE(editor.History().count(), 2);
    QCOMPARE(editor.History().undoText(), QStringLiteral("Erase Map 'Field'"));
  }

  void escapeDropsTheStrokeInProgress() {
    MapEditor editor;
    editor.Brush(1, 0);
    QTest::mousePress(editor.Surface(), Qt::LeftButton, {}, editor.At(4, 0));
    QTest::mouseMove(editor.Surface(), editor.At(4, 5));
    QTest::keyClick(&editor.View(), Qt::Key_Escape);
    QTest::mouseRelease(editor.Surface(), Qt::LeftButton, {}, editor.At(4, 5));
    QCOMPARE(editor.History().count(), 0);
    QCOMPARE(editor.Saved(), editor.original);
    QVERIFY(!editor.Level().Modified());

    // So is one whose map is left for another record.
    QTest::mousePress(editor.Surface(), Qt::LeftButton, {}, editor.At(5, 0));
    QTest::mouseMove(editor.Surface(), editor.At(5, 3));
    editor.Select(kTilesRow, 0);
    QTest::mouseRelease(editor.Surface(), Qt::LeftButton, {}, editor.At(5, 3));
    QCOMPARE(editor.History().count(), 0);
    QCOMPARE(editor.Saved(), editor.original);
  }

  void aCellListsItsSlotsAndASlotLeadsToItsTile() {
    MapEditor editor;
    QTest::mouseMove(editor.Surface(), editor.At(7, 7));
    QCOMPARE(editor.window.statusBar()->currentMessage(),
             QStringLiteral("Row 7, column 7: unresolved 0x3E7, (empty), Roof"));
    QTest::mouseClick(editor.Surface(), Qt::LeftButton, {}, editor.At(2, 3));
    QTreeWidget& slotList = *editor.window.Views()->MapTab()->SlotList();
    QCOMPARE(slotList.topLevelItemCount(), 3);
    QCOMPARE(slotList.topLevelItem(0)->text(1), QStringLiteral("Grass"));
    QCOMPARE(slotList.topLevelItem(1)->text(1), QStringLiteral("Wall"));
    QCOMPARE(slotList.topLevelItem(1)->text(2), QStringLiteral("0xC"));
    QCOMPARE(slotList.topLevelItem(2)->text(1), QStringLiteral("(empty)"));
    emit slotList.itemActivated(slotList.topLevelItem(1), 1);
    QCOMPARE(editor.window.Records()->ShownCategory(), std::optional<Category>(Category::Tiles));
    QCOMPARE(SelectedRow(editor.window), 1);
  }

  void zoomStepsKeepThePointUnderTheWheelAndFitShowsTheWholeMap() {
    MapEditor editor;
    MapView& view = editor.View();
    ActionOf(editor.window, "actionZoomIn")->trigger();
    QCOMPARE(view.CellSize(), 24);
    ActionOf(editor.window, "actionZoomOut")->trigger();
    ActionOf(editor.window, "actionZoomOut")->trigger();
    QCOMPARE(view.CellSize(), 12);
    view.SetCellSize(128);
    const QPoint under = editor.At(5, 6);
    QWheelEvent wheel(under, view.viewport()->mapToGlobal(under), {}, {0, -120}, Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(view.viewport(), &wheel);
    QCOMPARE(view.CellSize(), 96);
    QCOMPARE(*view.CellAt(under), (MapCell{5, 6}));
    // The middle button drags the map along.
    const QPoint scrolled(view.horizontalScrollBar()->value(), view.verticalScrollBar()->value());
    QTest::mousePress(editor.Surface(), Qt::MiddleButton, {}, QPoint(300, 300));
    QTest::mouseMove(editor.Surface(), QPoint(260, 290));
    QTest::mouseRelease(editor.Surface(), Qt::MiddleButton, {}, QPoint(260, 290));
    QCOMPARE(QPoint(view.horizontalScrollBar()->value(), view.verticalScrollBar()->value()),
             scrolled + QPoint(40, 10));
    QCOMPARE(editor.History().count(), 0);
    ActionOf(editor.window, "actionZoomFit")->trigger();
    const QSize room = view.viewport()->size();
    QVERIFY(view.CellSize() * (kSide + 2) <= std::min(room.width(), room.height()));
    QVERIFY((view.CellSize() + 1) * (kSide + 2) > std::min(room.width(), room.height()));
  }

  void aNewSizeDropsCellsAndIsUndone() {
    MapEditor editor;
    editor.window.Views()->setCurrentIndex(1);
    // The cells outside the new size are painted: the window asks first.
    editor.prompt.answers = {QMessageBox::Yes};
    QVERIFY(editor.SetField("size", QStringLiteral("2")));
    QCOMPARE(editor.prompt.questions.size(), std::size_t{1});
    QCOMPARE(editor.View().Map()->Side(), 2);
    const std::string small = editor.Saved();
    QCOMPARE(SavedId(small, 0, 0, 0), editor.grass);
    QCOMPARE(SavedId(small, 2, 3, 0), 0u);
    editor.History().undo();
    QCOMPARE(editor.View().Map()->Side(), kSide);
    QCOMPARE(editor.Saved(), editor.original);
  }

  void missingPicturesAreCountedAndTheGameFolderIsASetting() {
    MapEditor editor;
    QLabel* missing = editor.window.findChild<QLabel*>(QStringLiteral("missingImagesLabel"));
    editor.View().viewport()->repaint();
    QCOMPARE(missing->text(), QStringLiteral("1 image missing"));
    QCOMPARE(editor.window.ImageFolders().value(0), QFileInfo(editor.path).absolutePath());

    // A game folder holding the Roof's picture, its folder and file named in another case.
    QTemporaryDir game;
    QDir(game.path()).mkpath(QStringLiteral("TILES"));
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QVERIFY(picture.save(game.filePath(QStringLiteral("TILES/Roof.BMP")), "BMP"));
    editor.prompt.folders.push_back(game.path());
    ActionOf(editor.window, "actionGameFolder")->trigger();
    QCOMPARE(editor.window.ImageFolders(), QStringList{game.path()});
    editor.View().viewport()->repaint();
    QCOMPARE(missing->text(), QString());
    const QImage shown = editor.View().viewport()->grab().toImage();
    QCOMPARE(shown.pixelColor(editor.At(7, 7)), QColor(Qt::red));

    ActionOf(editor.window, "actionLevelFolder")->trigger();
    QCOMPARE(editor.window.ImageFolders().value(0), QFileInfo(editor.path).absolutePath());
  }

 private:
  QTemporaryDir settingsFolder_;
};

QTEST_MAIN(TestMapView)
#include "test_map_view.moc"
