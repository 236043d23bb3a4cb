#include <gtest/gtest.h>

#include <QFile>
#include <QPainter>
#include <set>

#include "level/zr3level.h"
#include "records/zr3map.h"
#include "render/image_cache.h"
#include "render/map_renderer.h"
#include "render/offscreen.h"
#include "render/render_fixture.h"
#include "support/chain_ids.h"
#include "support/level_builder.h"
#include "support/map_builder.h"
#include "support/palette_builder.h"
#include "support/temp_dir.h"
#include "support/tile_builder.h"

namespace {

using zr3::Category;
using zr3::render::FallbackColour;
using zr3::render::ImageCache;
using zr3::render::MapRenderer;
using zr3test::MarkedPicture;
using zr3test::PixelAt;
using zr3test::ToQString;

const QRgb kRed = qRgb(200, 30, 30);
const QRgb kBlue = qRgb(20, 40, 220);
const QRgb kGreen = qRgb(30, 200, 60);
const QRgb kMagenta = qRgb(255, 0, 255);
const QRgb kBackground = qRgb(40, 40, 48);

void WriteBytes(const std::filesystem::path& path, const QByteArray& bytes) {
  std::filesystem::create_directories(path.parent_path());
  QFile file(ToQString(path));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

TEST(ResolveGamePath, MatchesEachPartIgnoringCaseAndRefusesPathsOutsideTheFolder) {
  zr3test::TempDir dir;
  WriteBytes(dir.Root() / "Gfx" / "chest" / "Tower22.bmp", "x");
  const QString root = ToQString(dir.Root());
  const QString expected = root + "/Gfx/chest/Tower22.bmp";
  EXPECT_EQ(zr3::render::ResolveGamePath(root, "gfx\\CHEST\\tower22.BMP"), expected);
  EXPECT_EQ(zr3::render::ResolveGamePath(root, "Gfx/chest/Tower22.bmp"), expected);
  for (const char* nowhere :
       {"gfx\\chest\\Tower23.bmp", "gfx\\chest", "", "\\Gfx\\chest\\Tower22.bmp",
        "C:\\Gfx\\chest\\Tower22.bmp", "gfx\\..\\Gfx\\chest\\Tower22.bmp"}) {
    EXPECT_TRUE(zr3::render::ResolveGamePath(root, nowhere).isEmpty()) << nowhere;
  }
}

TEST(DefaultGameFolders, AreTheLevelsFolderThenItsParent) {
  EXPECT_EQ(zr3::render::DefaultGameFolders("/games/quest/levels/one.zr3"),
            QStringList({"/games/quest/levels", "/games/quest"}));
}

TEST(ImageCache, LooksUpTheFoldersInOrderAndReadsEachFileOnce) {
  zr3::render::OffscreenGui gui;
  zr3test::TempDir dir;
  std::filesystem::create_directories(dir.Root() / "first");
  ASSERT_TRUE(MarkedPicture(kRed, kBlue).save(ToQString(dir.Root() / "first" / "a.bmp")));
  std::filesystem::create_directories(dir.Root() / "second");
  ASSERT_TRUE(MarkedPicture(kGreen, kBlue).save(ToQString(dir.Root() / "second" / "a.bmp")));
  ASSERT_TRUE(MarkedPicture(kGreen, kBlue).save(ToQString(dir.Root() / "second" / "b.bmp")));

  ImageCache images({ToQString(dir.Root() / "first"), ToQString(dir.Root() / "second")});
  const QImage* a = images.Scaled("A.BMP", 16);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->size(), QSize(16, 16));
  // Each picture pixel becomes a square of pixels of the same colour.
  EXPECT_EQ(PixelAt(*a, 1, 1), kBlue);
  EXPECT_EQ(PixelAt(*a, 2, 2), kRed);
  ASSERT_NE(images.Scaled("b.bmp", 4), nullptr);
  EXPECT_EQ(images.Scaled("missing.bmp", 4), nullptr);
  EXPECT_EQ(images.Scaled("missing.bmp", 8), nullptr);
  ASSERT_NE(images.Scaled("A.BMP", 8), nullptr);
  EXPECT_EQ(images.DecodeCount(), 2);
  EXPECT_EQ(images.MissingCount(), 1);
  // Other folders forget what was read.
  images.SetFolders({ToQString(dir.Root() / "second")});
  EXPECT_EQ(images.MissingCount(), 0);
  EXPECT_EQ(PixelAt(*images.Scaled("a.bmp", 8), 3, 3), kGreen);
}

TEST(ImageCache, MagentaBecomesTransparent) {
  zr3::render::OffscreenGui gui;
  zr3test::TempDir dir;
  QImage keyed = MarkedPicture(kGreen, kMagenta);
  ASSERT_TRUE(keyed.save(ToQString(dir.Root() / "keyed.bmp")));
  ImageCache images({ToQString(dir.Root())});
  const QImage* image = images.Original("keyed.bmp");
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(qAlpha(image->pixel(0, 0)), 0);
  EXPECT_EQ(image->pixel(1, 1), kGreen);
}

// A 16 x 16 24-bit BMP header declaring width and height, followed by dataBytes of pixels.
QByteArray BmpFile(qint32 width, qint32 height, int dataBytes) {
  QByteArray bytes("BM");
  auto u32 = [&bytes](quint32 v) {
    for (int i = 0; i < 4; ++i) bytes.append(static_cast<char>((v >> (8 * i)) & 0xFF));
  };
  auto u16 = [&bytes](quint16 v) {
    bytes.append(static_cast<char>(v & 0xFF));
    bytes.append(static_cast<char>(v >> 8));
  };
  u32(static_cast<quint32>(54 + dataBytes));
  u32(0);
  u32(54);
  u32(40);
  u32(static_cast<quint32>(width));
  u32(static_cast<quint32>(height));
  u16(1);
  u16(24);
  u32(0);
  u32(0);
  u32(0);
  u32(0);
  u32(0);
  u32(0);
  bytes.append(dataBytes, '\x55');
  return bytes;
}

// A PNG signature and header chunk declaring a size, and nothing after it.
QByteArray PngDeclaring(quint32 width, quint32 height) {
  QByteArray bytes("\x89PNG\r\n\x1a\n", 8);
  bytes.append(QByteArray("\0\0\0\x0dIHDR", 8));
  for (quint32 v : {width, height}) {
    for (int i = 3; i >= 0; --i) bytes.append(static_cast<char>((v >> (8 * i)) & 0xFF));
  }
  bytes.append(QByteArray("\x08\x02\0\0\0", 5));
  bytes.append(QByteArray(4, '\0'));
  return bytes;
}

struct HostileImage {
  const char* name;
  QByteArray bytes;
};

void PrintTo(const HostileImage& image, std::ostream* out) {
  *out << image.name;
}

class HostileImages : public testing::TestWithParam<HostileImage> {};

// An image file that does not decode, or declares a size it should not be trusted with, is
// drawn as missing; it is read once however often it is asked for.
TEST_P(HostileImages, CountAsMissingAndAreReadOnce) {
  zr3::render::OffscreenGui gui;
  zr3test::TempDir dir;
  WriteBytes(dir.Root() / GetParam().name, GetParam().bytes);
  ImageCache images({ToQString(dir.Root())});
  for (int side : {8, 16, 8}) EXPECT_EQ(images.Scaled(GetParam().name, side), nullptr);
  EXPECT_EQ(images.MissingCount(), 1);
  EXPECT_EQ(images.DecodeCount(), 1);
}

INSTANTIATE_TEST_SUITE_P(Files, HostileImages,
                         testing::Values(HostileImage{"truncated.bmp", BmpFile(16, 16, 100)},
                                         HostileImage{"huge.bmp", BmpFile(100000, 100000, 48)},
                                         HostileImage{"negative.bmp",
                                                      BmpFile(-16, 16, 16 * 16 * 3)},
                                         HostileImage{"huge.png", PngDeclaring(60000, 60000)},
                                         HostileImage{"garbage.png", QByteArray(300, '\x7f')},
                                         HostileImage{"empty.bmp", QByteArray()}),
                         [](const testing::TestParamInfo<HostileImage>& info) {
                           std::string name = info.param.name;
                           name[name.find('.')] = '_';
                           return name;
                         });

// Tiles: Brick (picture, path in other case), moss (no picture), Glass (picture with
// transparency over the layer below), Ghost (picture missing). Cells of a 4 x 4 map:
// (0, 0) Brick; (0, 1) moss; (1, 1) Brick under Glass; (2, 2) an identifier no tile has;
// (3, 3) Brick, moss, Ghost. Borders N Brick, E moss, S none, W Glass.
class MapRendering : public testing::Test {
 protected:
  static constexpr int kCell = 16;

  void SetUp() override {
    std::filesystem::create_directories(dir_.Root() / "gfx");
    ASSERT_TRUE(MarkedPicture(kRed, kBlue).save(ToQString(dir_.Root() / "gfx" / "brick.bmp")));
    QImage glass(8, 8, QImage::Format_RGB32);
    glass.fill(kMagenta);
    for (int y = 2; y < 6; ++y) {
      for (int x = 2; x < 6; ++x) glass.setPixel(x, y, kGreen);
    }
    ASSERT_TRUE(glass.save(ToQString(dir_.Root() / "gfx" / "glass.png")));

    zr3test::LevelBuilder builder;
    std::vector<zr3test::TileFields> tiles = {
        zr3test::NamedTile("Brick", 11), zr3test::NamedTile("moss", 12),
        zr3test::NamedTile("Glass", 13), zr3test::NamedTile("Ghost", 14)};
    const char* paths[] = {"Gfx\\Brick.BMP", "", "gfx\\glass.png", "gfx\\missing.bmp"};
    for (std::size_t i = 0; i < tiles.size(); ++i) {
      tiles[i].path = paths[i];
      tiles[i].gfxId = tiles[i].path.empty() ? 0 : 1;
    }
    zr3test::ChainIds(tiles);
    for (const auto& tile : tiles) builder.Add(Category::Tiles, zr3test::TileRecord(tile));
    zr3test::MapFields map = zr3test::NamedMap("Yard", 4, 1);
    map.At(0, 0) = {11, 0, 0};
    map.At(0, 1) = {12, 0, 0};
    map.At(1, 1) = {11, 13, 0};
    map.At(2, 2) = {99, 0, 0};
    map.At(3, 3) = {11, 12, 14};
    map.borders = {11, 12, 0, 13};
    builder.Add(Category::Maps, zr3test::MapRecord(map));
    level_.Load(builder.WriteTo(dir_.Path("yard.zr3")));
    renderer_.Options().cell = kCell;
  }

  const zr3::ZR3Map& Map() const {
    return static_cast<const zr3::ZR3Map&>(*level_.List(Category::Maps)[0]);
  }
  QPoint Cell(int row, int column) const { return renderer_.CellRect(row, column).topLeft(); }
  QRgb At(const QImage& image, QPoint cell, int dx, int dy) const {
    return PixelAt(image, cell.x() + dx, cell.y() + dy);
  }

  zr3::render::OffscreenGui gui_;
  zr3test::TempDir dir_;
  zr3::ZR3Level level_;
  ImageCache images_{{ToQString(dir_.Root())}};
  MapRenderer renderer_{images_};
};

TEST_F(MapRendering, DrawsPicturesFallbacksAndUnresolvedCells) {
  const QImage image = renderer_.Render(Map());
  ASSERT_EQ(image.size(), QSize(6 * kCell, 6 * kCell));
  // A picture, scaled: its top-left pixel is a 2 x 2 square.
  EXPECT_EQ(At(image, Cell(0, 0), 1, 1), kBlue);
  EXPECT_EQ(At(image, Cell(0, 0), 2, 2), kRed);
  EXPECT_EQ(At(image, Cell(0, 0), kCell - 1, kCell - 1), kRed);
  // No picture: the fallback colour of the tile's position.
  EXPECT_EQ(At(image, Cell(0, 1), 1, 1), FallbackColour(1).rgb());
  // The transparent part of the upper picture shows the lower one.
  EXPECT_EQ(At(image, Cell(1, 1), 2, 2), kRed);
  EXPECT_EQ(At(image, Cell(1, 1), kCell / 2, kCell / 2), kGreen);
  // Upper layers' fallbacks are inset: each layer stays visible.
  EXPECT_EQ(At(image, Cell(3, 3), 1, 5), kRed);
  EXPECT_EQ(At(image, Cell(3, 3), 3, 3), FallbackColour(1).rgb());
  EXPECT_EQ(At(image, Cell(3, 3), 6, 6), FallbackColour(3).rgb());
  for (std::size_t slot : {1, 2}) {
    const QPoint corner = renderer_.FallbackRect(3, 3, slot).topLeft();
    EXPECT_EQ(PixelAt(image, corner.x(), corner.y()),
              FallbackColour(static_cast<int>(2 * slot - 1)).rgb())
        << slot;
  }
  // Hatched: two colours, neither of them the background.
  std::set<QRgb> hatch;
  for (int d = 0; d < kCell; ++d) hatch.insert(At(image, Cell(2, 2), d, kCell / 2));
  EXPECT_GE(hatch.size(), 2u);
  EXPECT_EQ(hatch.count(kBackground), 0u);
  // An empty cell shows the background.
  EXPECT_EQ(At(image, Cell(3, 0), 5, 5), kBackground);
  EXPECT_EQ(images_.MissingCount(), 1);
}

TEST_F(MapRendering, DrawsTheBordersAsARingAroundTheCells) {
  const QImage image = renderer_.Render(Map());
  // North runs over the corners.
  for (int column : {-1, 0, 4}) {
    EXPECT_EQ(At(image, Cell(-1, column), 1, 1), kBlue) << column;
    EXPECT_EQ(At(image, Cell(-1, column), 5, 5), kRed) << column;
  }
  for (int row : {0, 3}) {
    EXPECT_EQ(At(image, Cell(row, 4), 1, 1), FallbackColour(1).rgb()) << row;
    EXPECT_EQ(At(image, Cell(row, -1), 1, 1), kBackground) << row;
    EXPECT_EQ(At(image, Cell(row, -1), kCell / 2, kCell / 2), kGreen) << row;
  }
  for (int column : {-1, 2, 4}) EXPECT_EQ(At(image, Cell(4, column), 5, 5), kBackground);
}

TEST_F(MapRendering, HiddenLayersAreNotDrawn) {
  renderer_.Options().layers = {true, false, false};
  QImage image = renderer_.Render(Map());
  EXPECT_EQ(At(image, Cell(1, 1), kCell / 2, kCell / 2), kRed);
  EXPECT_EQ(At(image, Cell(3, 3), 6, 6), kRed);
  renderer_.Options().layers = {false, false, true};
  image = renderer_.Render(Map());
  EXPECT_EQ(At(image, Cell(0, 0), 5, 5), kBackground);
  EXPECT_EQ(At(image, Cell(3, 3), 1, 1), kBackground);
  EXPECT_EQ(At(image, Cell(3, 3), 6, 6), FallbackColour(3).rgb());
}

TEST_F(MapRendering, TheGridLinesRunBetweenTheCellsOnly) {
  const QImage plain = renderer_.Render(Map());
  renderer_.Options().grid = true;
  const QImage grid = renderer_.Render(Map());
  EXPECT_NE(At(grid, Cell(0, 1), 0, 5), At(plain, Cell(0, 1), 0, 5));
  EXPECT_EQ(At(grid, Cell(0, 1), 5, 5), At(plain, Cell(0, 1), 5, 5));
  // Not inside the border ring.
  EXPECT_EQ(At(grid, Cell(-1, 1), 0, 5), At(plain, Cell(-1, 1), 0, 5));
}

TEST_F(MapRendering, PaintingAnAreaDrawsWhatTheWholePictureHasThere) {
  renderer_.Options().grid = true;
  const QImage whole = renderer_.Render(Map());
  QImage part(whole.size(), QImage::Format_RGB32);
  part.fill(Qt::black);
  const QRect area(Cell(1, 1), QSize(2 * kCell, kCell));
  QPainter painter(&part);
  renderer_.Paint(painter, Map(), area);
  painter.end();
  EXPECT_EQ(part.copy(area), whole.copy(area));
  EXPECT_EQ(PixelAt(part, 2, 2), qRgb(0, 0, 0));
}

TEST_F(MapRendering, EachPointOfACellFindsThatCellAndTheRingFindsNone) {
  for (int row = 0; row < 4; ++row) {
    for (int column = 0; column < 4; ++column) {
      const QRect rect = renderer_.CellRect(row, column);
      for (QPoint point : {rect.topLeft(), rect.bottomRight()}) {
        EXPECT_EQ(renderer_.CellAt(Map(), point), std::make_pair(row, column));
      }
    }
  }
  for (QPoint outside : {QPoint(kCell - 1, kCell), QPoint(kCell, 5 * kCell), QPoint(-1, 20),
                         QPoint(20, 6 * kCell + 3)}) {
    EXPECT_FALSE(renderer_.CellAt(Map(), outside).has_value())
        << outside.x() << ", " << outside.y();
  }
}

TEST(FallbackColour, IsTheSameEachTimeAndDiffersBetweenNeighbours) {
  for (int position = 0; position < 400; ++position) {
    EXPECT_EQ(FallbackColour(position), FallbackColour(position));
    EXPECT_NE(FallbackColour(position), FallbackColour(position + 1)) << position;
  }
}

TEST(RenderPalette, DrawsSixteenRowsOfSixteenSwatches) {
  std::array<std::uint8_t, 768> colours{};
  for (std::size_t i = 0; i < colours.size(); ++i) colours[i] = static_cast<std::uint8_t>(i * 7);
  const QImage image = zr3::render::RenderPalette(colours, 10);
  ASSERT_EQ(image.size(), QSize(160, 160));
  for (int index : {0, 1, 15, 16, 130, 255}) {
    const QPoint centre = zr3::render::PaletteSwatchRect(index, 10).center();
    const auto at = static_cast<std::size_t>(index) * 3;
    EXPECT_EQ(PixelAt(image, centre.x(), centre.y()),
              qRgb(colours[at], colours[at + 1], colours[at + 2]))
        << index;
  }
}

}  // namespace
