#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "level/zr3level.h"
#include "records/zr3map.h"
#include "records/zr3palette.h"
#include "records/zr3tile.h"
#include "render/map_renderer.h"
#include "render/offscreen.h"
#include "render/render_fixture.h"
#include "support/level_builder.h"
#include "support/map_builder.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"
#include "support/tile_builder.h"

namespace {

using testing::HasSubstr;
using zr3::Category;
using zr3test::PixelAt;
using zr3test::RunCli;
using zr3test::ToQString;

const std::filesystem::path kDemoFolder = std::filesystem::path(ZR3_DEMO_PATH).parent_path();

class RenderDemo : public testing::Test {
 protected:
  void SetUp() override { level_.Load(ZR3_DEMO_PATH); }

  zr3::render::OffscreenGui gui_;
  zr3test::TempDir dir_;
  zr3::ZR3Level level_;
};

// Every cell of every demo map shows its top tile's picture: the demo's pictures are all found
// and the picture's size is the map's side plus the border ring.
TEST_F(RenderDemo, EveryMapShowsTheTilePicturesAtEachCell) {
  constexpr int kCell = 16;
  const zr3::RecordList& maps = level_.List(Category::Maps);
  ASSERT_GE(maps.size(), 2u);
  for (std::size_t index = 0; index < maps.size(); ++index) {
    const auto& map = static_cast<const zr3::ZR3Map&>(*maps[index]);
    const std::string out = dir_.Path("map" + std::to_string(index) + ".png");
    const zr3test::CliResult result = RunCli(
        {"render-map", ZR3_DEMO_PATH, std::to_string(index), out, "--cell", std::to_string(kCell)});
    ASSERT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.err, "");
    const QImage image(QString::fromStdString(out));
    ASSERT_EQ(image.size(), QSize((map.Side() + 2) * kCell, (map.Side() + 2) * kCell));
    for (int row = 0; row < map.Side(); ++row) {
      for (int column = 0; column < map.Side(); ++column) {
        // The ground's picture at the top-left pixel; the upper layers leave it alone there or
        // cover it with their own.
        const auto* ground = dynamic_cast<const zr3::ZR3Tile*>(map.CellTile(row, column, 0));
        ASSERT_NE(ground, nullptr);
        std::set<QRgb> allowed;
        for (std::size_t slot = 0; slot < zr3::ZR3Map::kSlotsPerCell; ++slot) {
          const auto* tile = dynamic_cast<const zr3::ZR3Tile*>(map.CellTile(row, column, slot));
          if (!tile) continue;
          std::string file = tile->ImagePath();
          std::replace(file.begin(), file.end(), '\\', '/');
          std::transform(file.begin(), file.end(), file.begin(),
                         [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
          const QImage picture(ToQString(kDemoFolder / file));
          ASSERT_FALSE(picture.isNull()) << file;
          allowed.insert(PixelAt(picture, 0, 0));
        }
        const QRgb shown = PixelAt(image, (column + 1) * kCell, (row + 1) * kCell);
        EXPECT_EQ(allowed.count(shown), 1u) << map.Name() << " " << row << ", " << column;
      }
    }
  }
}

TEST_F(RenderDemo, LayersAndCellSizeAreAsAsked) {
  const std::string out = dir_.Path("ground.png");
  const zr3test::CliResult result =
      RunCli({"render-map", ZR3_DEMO_PATH, "1", out, "--layers", "1", "--cell", "4", "--grid"});
  ASSERT_EQ(result.status, 0) << result.err;
  const auto& map = static_cast<const zr3::ZR3Map&>(*level_.List(Category::Maps)[1]);
  EXPECT_EQ(QImage(QString::fromStdString(out)).size(),
            QSize((map.Side() + 2) * 4, (map.Side() + 2) * 4));
  // The same picture as the library draws with those options.
  zr3::render::ImageCache images({ToQString(kDemoFolder)});
  zr3::render::MapRenderer renderer(images);
  renderer.Options() = {{true, false, false}, 4, true};
  EXPECT_EQ(QImage(QString::fromStdString(out)).convertToFormat(QImage::Format_RGB32),
            renderer.Render(map).convertToFormat(QImage::Format_RGB32));
}

// --scale enlarges the cells by a whole factor; --objects draws the demo's well (column 4,
// row 5 of the town) from its picture, or as a white marker when the picture is not found.
TEST_F(RenderDemo, ScaleAndObjects) {
  const auto draw = [this](const std::string& name, std::vector<std::string> options) {
    std::vector<std::string> args = {"render-map",    ZR3_DEMO_PATH, "0",
                                     dir_.Path(name), "--cell",      "8"};
    args.insert(args.end(), options.begin(), options.end());
    const zr3test::CliResult result = RunCli(args);
    EXPECT_EQ(result.status, 0) << result.err;
    return QImage(QString::fromStdString(dir_.Path(name))).convertToFormat(QImage::Format_RGB32);
  };
  const QImage plain = draw("plain.png", {"--scale", "2"});
  const auto& town = static_cast<const zr3::ZR3Map&>(*level_.List(Category::Maps)[0]);
  EXPECT_EQ(plain.size(), QSize((town.Side() + 2) * 16, (town.Side() + 2) * 16));
  const QRect wellCell((4 + 1) * 16, (5 + 1) * 16, 16, 16);
  const QImage pictured = draw("objects.png", {"--scale", "2", "--objects"});
  EXPECT_NE(pictured.copy(wellCell), plain.copy(wellCell));
  // Everything but the well's cell is as without objects.
  QImage rest = pictured;
  QPainter(&rest).drawImage(wellCell.topLeft(), plain.copy(wellCell));
  EXPECT_EQ(rest, plain);

  const QImage marked =
      draw("marked.png", {"--scale", "2", "--objects", "--game-folder", dir_.Root().string()});
  EXPECT_EQ(PixelAt(marked, wellCell.center().x() - 5, wellCell.center().y()), qRgb(255, 255, 255));
}

TEST_F(RenderDemo, AnOutputOfDashIsStandardOutput) {
  const zr3test::CliResult result = RunCli({"render-map", ZR3_DEMO_PATH, "0", "-", "--cell", "2"});
  ASSERT_EQ(result.status, 0) << result.err;
  QImage image;
  ASSERT_TRUE(image.loadFromData(reinterpret_cast<const uchar*>(result.out.data()),
                                 static_cast<int>(result.out.size()), "png"));
  EXPECT_EQ(image.size(), QSize(24, 24));
}

TEST_F(RenderDemo, PaletteSwatchesShowTheColours) {
  const std::string out = dir_.Path("palette.png");
  const zr3test::CliResult result = RunCli({"render-palette", ZR3_DEMO_PATH, "0", out});
  ASSERT_EQ(result.status, 0) << result.err;
  const QImage image(QString::fromStdString(out));
  ASSERT_EQ(image.size(), QSize(256, 256));
  const auto& colours =
      static_cast<const zr3::ZR3Palette&>(*level_.List(Category::Palettes)[0]).Colours();
  for (int index = 0; index < 256; ++index) {
    const QPoint centre = zr3::render::PaletteSwatchRect(index, 16).center();
    const auto at = static_cast<std::size_t>(index) * 3;
    ASSERT_EQ(PixelAt(image, centre.x(), centre.y()),
              qRgb(colours[at], colours[at + 1], colours[at + 2]))
        << index;
  }
}

// A level whose tile pictures are missing, or hostile, beside it: the map is drawn all the
// same, with colour squares, and the command says how many pictures it missed.
TEST(RenderMapCommand, MissingAndHostilePicturesFallBack) {
  zr3test::TempDir dir;
  std::filesystem::create_directories(dir.Root() / "gfx");
  zr3test::WriteFile(dir.Path("gfx/cut.bmp"), std::string("BM\x36\x03\0\0\0\0\0\0\x36\0\0\0", 14));
  zr3test::WriteFile(dir.Path("gfx/noise.png"), std::string(64, '\x42'));
  zr3test::LevelBuilder builder;
  std::vector<zr3test::TileFields> tiles = {
      zr3test::NamedTile("Cut", 1), zr3test::NamedTile("Noise", 2), zr3test::NamedTile("Gone", 3)};
  const char* paths[] = {"gfx\\cut.bmp", "gfx\\noise.png", "gfx\\gone.bmp"};
  for (std::size_t i = 0; i < tiles.size(); ++i) {
    tiles[i].gfxId = 1;
    tiles[i].path = paths[i];
    builder.Add(Category::Tiles, zr3test::TileRecord(tiles[i]));
  }
  zr3test::MapFields map = zr3test::NamedMap("Ruins", 3, 1);
  for (int i = 0; i < 3; ++i) map.At(i, i) = {static_cast<std::uint32_t>(i + 1), 0, 0};
  builder.Add(Category::Maps, zr3test::MapRecord(map));
  const std::string level = builder.WriteTo(dir.Path("ruins.zr3"));

  const std::string out = dir.Path("ruins.png");
  const zr3test::CliResult result = RunCli({"render-map", level, "0", out, "--cell", "10"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err,
            "zr3: 3 tile images were missing or unreadable and are drawn as colour squares\n");
  const QImage image(QString::fromStdString(out));
  ASSERT_EQ(image.size(), QSize(50, 50));
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(PixelAt(image, (i + 1) * 10 + 1, (i + 1) * 10 + 1),
              zr3::render::FallbackColour(i).rgb())
        << i;
  }
}

TEST(RenderMapCommand, GameFolderIsWhereThePicturesAreLookedUp) {
  zr3test::TempDir dir;
  zr3::render::OffscreenGui gui;
  std::filesystem::create_directories(dir.Root() / "game" / "Art");
  ASSERT_TRUE(zr3test::MarkedPicture(qRgb(9, 99, 199), qRgb(1, 2, 3))
                  .save(ToQString(dir.Root() / "game" / "Art" / "Stone.bmp")));
  std::filesystem::create_directories(dir.Root() / "levels");
  zr3test::LevelBuilder builder;
  zr3test::TileFields stone = zr3test::NamedTile("Stone", 1);
  stone.gfxId = 1;
  stone.path = "art\\stone.bmp";
  builder.Add(Category::Tiles, zr3test::TileRecord(stone));
  zr3test::MapFields map = zr3test::NamedMap("Quarry", 1, 1);
  map.At(0, 0) = {1, 0, 0};
  builder.Add(Category::Maps, zr3test::MapRecord(map));
  const std::string level = builder.WriteTo(dir.Path("levels/quarry.zr3"));
  const std::string out = dir.Path("quarry.png");

  // Neither the level's folder nor its parent holds the picture.
  zr3test::CliResult result = RunCli({"render-map", level, "0", out, "--cell", "8"});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_THAT(result.err, HasSubstr("1 tile images were missing"));
  result =
      RunCli({"render-map", level, "0", out, "--cell", "8", "--game-folder", dir.Path("game")});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(PixelAt(QImage(QString::fromStdString(out)), 12, 12), qRgb(9, 99, 199));
}

struct BadRender {
  const char* name;
  std::vector<std::string> args;  // after the level; OUT is "@" for a file in the test folder
  const char* message;
};

void PrintTo(const BadRender& bad, std::ostream* out) {
  *out << bad.name;
}

class RenderCommandErrors : public testing::TestWithParam<BadRender> {};

// A command that cannot draw says why, with status 1, and writes nothing.
TEST_P(RenderCommandErrors, SayWhyAndWriteNothing) {
  zr3test::TempDir dir;
  std::vector<std::string> args = {GetParam().args[0], ZR3_DEMO_PATH};
  for (std::size_t i = 1; i < GetParam().args.size(); ++i) {
    args.push_back(GetParam().args[i] == "@" ? dir.Path("out.png") : GetParam().args[i]);
  }
  const zr3test::CliResult result = RunCli(args);
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, std::string("zr3: ") + GetParam().message + "\n");
  EXPECT_EQ(dir.FileCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, RenderCommandErrors,
    testing::Values(
        BadRender{"MapIndex", {"render-map", "7", "@"}, "No record 7 in maps (it holds 2)"},
        BadRender{
            "PaletteIndex", {"render-palette", "-1", "@"}, "No record -1 in palettes (it holds 1)"},
        BadRender{"LayerOutOfRange",
                  {"render-map", "0", "@", "--layers", "1,4"},
                  "Bad layer list \"1,4\": give layer numbers 1 to 3 separated by commas, such "
                  "as 1,2,3"},
        BadRender{"LayerListEmptyPart",
                  {"render-map", "0", "@", "--layers", "1,,2"},
                  "Bad layer list \"1,,2\": give layer numbers 1 to 3 separated by commas, "
                  "such as 1,2,3"},
        BadRender{"CellZero",
                  {"render-map", "0", "@", "--cell", "0"},
                  "Bad cell size 0: give 1 to 256 pixels"},
        BadRender{"PictureTooLarge",
                  {"render-map", "1", "@", "--cell", "200"},
                  "A cell of 200 pixels makes the picture 10000 pixels wide; at most 8192 are "
                  "drawn"},
        BadRender{"NoGameFolder",
                  {"render-map", "0", "@", "--game-folder", "/nonexistent/zr3"},
                  "No game folder /nonexistent/zr3"}),
    [](const testing::TestParamInfo<BadRender>& info) { return info.param.name; });

TEST(RenderMapCommand, AnUnwritableOutputIsAnError) {
  const zr3test::CliResult result =
      RunCli({"render-map", ZR3_DEMO_PATH, "0", "/nonexistent/zr3/out.png"});
  EXPECT_EQ(result.status, 1);
  EXPECT_THAT(result.err, testing::StartsWith("zr3: "));
  EXPECT_THAT(result.err, HasSubstr("/nonexistent/zr3/out.png"));
}

}  // namespace
