#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <array>
#include <cstdint>

#include "editor_fixture.h"
#include "records/zr3palette.h"
#include "support/object_builder.h"
#include "support/palette_builder.h"
#include "support/record_checks.h"
#include "ui/paletteview.h"
#include "ui/pictureview.h"

using zr3::ui::PaletteView;
using zr3::ui::PictureView;

namespace {

// Colour i is (i, 255 - i, i / 2): every swatch differs, and its text shows which it is.
std::array<std::uint8_t, 768> Ramp() {
  std::array<std::uint8_t, 768> colours{};
  for (int i = 0; i < 256; ++i) {
    colours[static_cast<std::size_t>(i) * 3] = static_cast<std::uint8_t>(i);
    colours[static_cast<std::size_t>(i) * 3 + 1] = static_cast<std::uint8_t>(255 - i);
    colours[static_cast<std::size_t>(i) * 3 + 2] = static_cast<std::uint8_t>(i / 2);
  }
  return colours;
}

// A 4 x 3 picture of twelve different colours, the one at (2, 1) magenta.
QImage Sample() {
  QImage image(4, 3, QImage::Format_RGB32);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 4; ++x) image.setPixel(x, y, qRgb(40 + x * 50, 30 + y * 80, 90));
  }
  image.setPixel(2, 1, qRgb(255, 0, 255));
  return image;
}

constexpr int kObjectsRow = zr3::ui::RowOfCategory(zr3::Category::Objects);
constexpr int kPalettesRow = zr3::ui::RowOfCategory(zr3::Category::Palettes);

// A palette "Dusk" coloured as Ramp, and two objects: "Well", whose picture is in the level's
// folder, and "Ghost", whose picture is nowhere.
zr3test::LevelBuilder PictureLevel() {
  zr3test::LevelBuilder builder;
  const std::array<std::uint8_t, 768> ramp = Ramp();
  zr3test::PaletteFields palette{.name = "Dusk", .colours = std::string(ramp.begin(), ramp.end())};
  builder.Add(zr3::Category::Palettes, zr3test::PaletteBlob(palette));
  zr3test::ObjectFields well = zr3test::NamedObject("Well", 0);
  well.path = "objects\\well.bmp";
  builder.Add(zr3::Category::Objects, zr3test::ObjectRecord(well));
  zr3test::ObjectFields ghost = zr3test::NamedObject("Ghost", 0);
  ghost.path = "objects\\ghost.bmp";
  builder.Add(zr3::Category::Objects, zr3test::ObjectRecord(ghost));
  return builder;
}

bool TabShown(zr3::ui::MainWindow& window, QWidget* view) {
  return window.Views()->isTabVisible(window.Views()->indexOf(view));
}

}  // namespace

class TestPictures : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { IsolateSettings(settingsFolder_); }

  void aPaletteColourIsChangedAsOneStepAndUndone() {
    Editor editor(PictureLevel());
    QVERIFY(editor.Open());
    const std::string original = editor.Saved();
    editor.Select(kPalettesRow, 0);
    PaletteView& palette = *editor.window.Views()->PaletteTab();
    QVERIFY(TabShown(editor.window, &palette));
    editor.window.Views()->setCurrentWidget(&palette);
    editor.window.resize(900, 700);
    editor.window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&editor.window));

    editor.prompt.chosenColours = {QColor(1, 2, 3), QColor(4, 5, 6)};
    auto activate = [&palette](int colour) {
      palette.SetSelected(colour);
      QTest::keyClick(&palette, Qt::Key_Return);
    };
    activate(17);
    QCOMPARE(editor.prompt.offeredColours.back(), QColor(17, 238, 8));
    const std::string changed = editor.Saved();
    const std::size_t colours =
        zr3test::RecordOffset(PictureLevel(), zr3::Category::Palettes, 0, zr3::ZR3Palette::kSize) +
        zr3::ZR3Palette::kNameWidth;
    std::string expected = original;
    expected.replace(colours + 17 * 3, 3, std::string("\x01\x02\x03", 3));
    QCOMPARE(changed, expected);
    QCOMPARE(palette.ColourAt(17), QColor(1, 2, 3));
    QCOMPARE(editor.History().undoText(), QStringLiteral("Change colour 17 of Palette 'Dusk'"));

    // A second colour is a step of its own; a cancelled dialog changes nothing.
    activate(200);
    activate(201);
    QCOMPARE(editor.History().count(), 2);
    editor.History().undo();
    QCOMPARE(editor.Saved(), changed);
    editor.History().undo();
    QCOMPARE(editor.Saved(), original);
    QCOMPARE(palette.ColourAt(17), QColor(17, 238, 8));
  }

  void aRecordWhosePictureIsFoundShowsItsPictureTab() {
    Editor editor(PictureLevel());
    QDir(editor.folder.path()).mkpath(QStringLiteral("Objects"));
    QImage well = Sample();
    QVERIFY(well.save(editor.folder.filePath(QStringLiteral("Objects/WELL.bmp")), "BMP"));
    QVERIFY(editor.Open());
    PictureView& picture = *editor.window.Views()->PictureTab();
    editor.Select(kObjectsRow, 0);
    QVERIFY(TabShown(editor.window, &picture));
    QCOMPARE(picture.Image().size(), QSize(4, 3));
    QCOMPARE(picture.Image().pixelColor(0, 0), QColor(40, 30, 90));
    editor.Select(kObjectsRow, 1);
    QVERIFY(!TabShown(editor.window, &picture));
    QVERIFY(picture.Image().isNull());
    editor.Select(kPalettesRow, 0);
    QVERIFY(!TabShown(editor.window, &picture));
  }

  void paletteSwatchesGrowWithTheWidgetAndStayCentred() {
    PaletteView view;
    view.SetColours(Ramp());
    view.resize(400, 320);
    QCOMPARE(view.SwatchRect(0), QRect(40, 0, 20, 20));
    QCOMPARE(view.SwatchRect(17), QRect(60, 20, 20, 20));
    QCOMPARE(view.IndexAt(QPoint(39, 10)), -1);
    QCOMPARE(view.IndexAt(QPoint(40, 0)), 0);
    QCOMPARE(view.IndexAt(QPoint(359, 319)), 255);
    QCOMPARE(view.IndexAt(QPoint(360, 10)), -1);
    view.resize(100, 100);
    QCOMPARE(view.SwatchRect(255).size(), QSize(16, 16));
  }

  void hoveringASwatchNamesItsColour() {
    PaletteView view;
    view.SetColours(Ramp());
    view.resize(320, 320);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QVERIFY(view.hasMouseTracking());
    QSignalSpy hovered(&view, &PaletteView::Hovered);
    for (const int index : {0, 17, 255}) {
      const QPoint centre = view.SwatchRect(index).center();
      QCOMPARE(view.IndexAt(centre), index);
      QTest::mouseMove(&view, centre);
      QTRY_COMPARE(hovered.size() > 0 ? hovered.last().at(0).toInt() : -2, index);
    }
    QCOMPARE(view.toolTip(), QStringLiteral("Colour 255: R 255, G 0, B 127"));
    QTest::mouseMove(&view, view.SwatchRect(17).center());
    QTRY_COMPARE(view.toolTip(), QStringLiteral("Colour 17: R 17, G 238, B 8"));
    // The swatch is drawn in its colour.
    const QImage shown = view.grab().toImage();
    QCOMPARE(shown.pixelColor(view.SwatchRect(17).center()), QColor(17, 238, 8));
  }

  void doubleClickAndTheKeyboardActivateTheRightSwatch() {
    PaletteView view;
    view.SetColours(Ramp());
    view.resize(256, 256);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QSignalSpy activated(&view, &PaletteView::SwatchActivated);
    QTest::mouseDClick(&view, Qt::LeftButton, {}, view.SwatchRect(42).center());
    QCOMPARE(activated.size(), 1);
    QCOMPARE(activated.last().at(0).toInt(), 42);
    QTest::mouseDClick(&view, Qt::LeftButton, {}, QPoint(300, 300));
    QCOMPARE(activated.size(), 1);

    view.SetSelected(-1);
    view.setFocus();
    QTest::keyClick(&view, Qt::Key_Right);  // selects the first swatch
    QCOMPARE(view.Selected(), 0);
    QTest::keyClick(&view, Qt::Key_Up);  // stays in the grid
    QTest::keyClick(&view, Qt::Key_Left);
    QCOMPARE(view.Selected(), 0);
    QTest::keyClick(&view, Qt::Key_Right);
    QTest::keyClick(&view, Qt::Key_Down);
    QTest::keyClick(&view, Qt::Key_Down);
    QCOMPARE(view.Selected(), 33);
    QTest::keyClick(&view, Qt::Key_Return);
    QCOMPARE(activated.last().at(0).toInt(), 33);
    QTest::keyClick(&view, Qt::Key_End);
    QTest::keyClick(&view, Qt::Key_Right);
    QTest::keyClick(&view, Qt::Key_Enter);
    QCOMPARE(activated.size(), 3);
    QCOMPARE(activated.last().at(0).toInt(), 255);
    QCOMPARE(view.accessibleDescription(), QStringLiteral("Colour 255: R 255, G 0, B 127"));
  }

  // Every picture pixel is a square of factor x factor screen pixels of its own colour, edges
  // included; the magenta one shows the checkerboard.
  void aPictureIsEnlargedByAWholeFactorWithoutBlur() {
    PictureView view;
    view.resize(300, 260);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    const QImage sample = Sample();
    view.SetImage(sample);
    QCOMPARE(view.SizeText(), QStringLiteral("4 x 3 pixels"));
    const int factor = view.Factor();
    QVERIFY2(factor >= 40, qPrintable(QString::number(factor)));
    const QRect rect = view.ImageRect();
    QCOMPARE(rect.size(), sample.size() * factor);
    const QSize room = view.Canvas()->size();
    QVERIFY(std::abs(rect.center().x() - room.width() / 2) <= 1);
    QVERIFY(std::abs(rect.center().y() - room.height() / 2) <= 1);
    // The next factor would not fit.
    QVERIFY(room.width() < 4 * (factor + 1) || room.height() < 3 * (factor + 1));

    const QImage shown = view.Canvas()->grab().toImage();
    for (int y = 0; y < 3; ++y) {
      for (int x = 0; x < 4; ++x) {
        const QPoint corner = rect.topLeft() + QPoint(x * factor, y * factor);
        for (const QPoint at : {corner, corner + QPoint(factor / 2, factor / 2),
                                corner + QPoint(factor - 1, factor - 1)}) {
          const QColor colour = shown.pixelColor(at);
          if (x == 2 && y == 1) {
            QVERIFY(colour == QColor(204, 204, 204) || colour == QColor(153, 153, 153));
          } else {
            QCOMPARE(colour, sample.pixelColor(x, y));
          }
        }
      }
    }

    view.resize(600, 520);
    QTRY_VERIFY(view.Factor() > factor);
    QCOMPARE(view.ImageRect().size(), sample.size() * view.Factor());
  }

  void aPictureLargerThanTheViewIsShownAtItsOwnSizeAndClearShowsTheMessage() {
    PictureView view;
    view.resize(200, 150);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    view.SetImage(QImage(640, 480, QImage::Format_RGB32));
    QCOMPARE(view.Factor(), 1);
    QCOMPARE(view.ImageRect().size(), QSize(640, 480));
    QCOMPARE(view.SizeText(), QStringLiteral("640 x 480 pixels"));
    view.Clear(QStringLiteral("missing"));
    QCOMPARE(view.Factor(), 0);
    QVERIFY(view.Image().isNull());
    QCOMPARE(view.SizeText(), QStringLiteral("missing"));
  }

 private:
  QTemporaryDir settingsFolder_;
};

QTEST_MAIN(TestPictures)
#include "test_pictures.moc"
