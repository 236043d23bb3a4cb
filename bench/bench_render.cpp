// Drawing maps into pictures, on a map of its own: 100 x 100 cells with three layers of 400
// tiles, each with its own picture.
//   zr3_bench_render [--file=<level.zr3>, not used] [Google Benchmark flags]
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <memory>

#include "figures.h"
#include "level/zr3level.h"
#include "records/zr3map.h"
#include "render/map_renderer.h"
#include "render/offscreen.h"
#include "support/chain_ids.h"
#include "support/level_builder.h"
#include "support/map_builder.h"
#include "support/tile_builder.h"

namespace zr3bench {

namespace {

constexpr int kTiles = 400;
constexpr int kSide = 100;
// A window's view of the map, and the map's side in it when the whole map fits.
const QSize kViewport(1280, 800);
constexpr int kFitCell = 8;

struct Setup {
  QTemporaryDir folder;
  std::string levelPath;
};

Setup* gSetup = nullptr;

// 400 pictures of 16 x 16 pixels, the upper layers' with transparent parts, and the level.
void MakeLevel(Setup& setup) {
  QDir(setup.folder.path()).mkdir("tiles");
  zr3test::LevelBuilder builder;
  std::vector<zr3test::TileFields> tiles;
  for (int i = 0; i < kTiles; ++i) {
    QImage picture(16, 16, QImage::Format_RGB32);
    picture.fill(QColor::fromHsv(i * 7 % 360, 200, 100 + i % 150));
    if (i % 3 != 0) {
      for (int y = 0; y < 16; ++y) picture.setPixel(y, y, qRgb(255, 0, 255));
    }
    const QString name = QString("tile%1.bmp").arg(i);
    picture.save(setup.folder.path() + "/tiles/" + name);
    zr3test::TileFields tile = zr3test::NamedTile("Tile " + std::to_string(i), 1000 + i);
    tile.gfxId = 1;
    tile.path = "tiles\\" + name.toStdString();
    tiles.push_back(tile);
  }
  zr3test::ChainIds(tiles);
  for (const auto& tile : tiles) builder.Add(zr3::Category::Tiles, zr3test::TileRecord(tile));
  zr3test::MapFields map = zr3test::NamedMap("Benchmark", kSide, 1);
  for (int row = 0; row < kSide; ++row) {
    for (int column = 0; column < kSide; ++column) {
      const auto tile = [&](int step) {
        return static_cast<std::uint32_t>(1000 + (row * kSide + column) * step % kTiles);
      };
      map.At(row, column) = {tile(1), tile(7), (row + column) % 2 ? tile(13) : 0u};
    }
  }
  map.borders = {1000, 1001, 1002, 1003};
  builder.Add(zr3::Category::Maps, zr3test::MapRecord(map));
  setup.levelPath = builder.WriteTo(setup.folder.path().toStdString() + "/bench.zr3");
}

const zr3::ZR3Map& MapOf(const zr3::ZR3Level& level) {
  return static_cast<const zr3::ZR3Map&>(*level.List(zr3::Category::Maps)[0]);
}

QStringList Folders() {
  return {gSetup->folder.path()};
}

// One frame of a window: the part of the map in view, with the pictures read before.
void ViewportFrame(benchmark::State& state, int cell, QSize view) {
  zr3::ZR3Level level;
  level.Load(gSetup->levelPath);
  zr3::render::ImageCache images(Folders());
  zr3::render::MapRenderer renderer(images);
  renderer.Options().cell = cell;
  renderer.Options().grid = true;
  const QSize whole = renderer.ImageSize(MapOf(level));
  view = view.boundedTo(whole);
  const QRect area(QPoint((whole.width() - view.width()) / 2, (whole.height() - view.height()) / 2),
                   view);
  QImage frame(view, QImage::Format_RGB32);
  auto draw = [&] {
    QPainter painter(&frame);
    painter.translate(-area.topLeft());
    renderer.Paint(painter, MapOf(level), area);
  };
  draw();
  for (auto _ : state) draw();
  state.counters["cells"] = static_cast<double>(view.width() / cell * (view.height() / cell));
}

// The render-map command's work: load, draw with no picture read yet, encode, write.
void RenderMapCommand(benchmark::State& state, int cell) {
  const QString out = gSetup->folder.path() + "/out.png";
  for (auto _ : state) {
    zr3::ZR3Level level;
    level.Load(gSetup->levelPath);
    zr3::render::ImageCache images(Folders());
    zr3::render::MapRenderer renderer(images);
    renderer.Options().cell = cell;
    const QByteArray png = zr3::render::EncodePng(renderer.Render(MapOf(level)));
    QFile file(out);
    file.open(QIODevice::WriteOnly);
    file.write(png);
  }
}

void RegisterAll() {
  RegisterFigure("map_frame_default_zoom", [](benchmark::State& state) {
    ViewportFrame(state, zr3::render::MapRenderOptions::kDefaultCell, kViewport);
  });
  RegisterFigure("map_frame_whole_map_fit", [](benchmark::State& state) {
    ViewportFrame(state, kFitCell, QSize(10000, 10000));
  });
  RegisterFigure("first_draw_400_images", [](benchmark::State& state) {
    zr3::ZR3Level level;
    level.Load(gSetup->levelPath);
    for (auto _ : state) {
      zr3::render::ImageCache images(Folders());
      zr3::render::MapRenderer renderer(images);
      renderer.Options().cell = kFitCell;
      benchmark::DoNotOptimize(renderer.Render(MapOf(level)).constBits());
      if (images.DecodeCount() != kTiles) state.SkipWithError("not every picture was read");
    }
  });
  RegisterFigure("render_map_cell_8",
                 [](benchmark::State& state) { RenderMapCommand(state, kFitCell); });
  RegisterFigure("render_map_default_cell", [](benchmark::State& state) {
    RenderMapCommand(state, zr3::render::MapRenderOptions::kDefaultCell);
  });
  RegisterFigure("render_map_cell_32",
                 [](benchmark::State& state) { RenderMapCommand(state, 32); });
}

}  // namespace

}  // namespace zr3bench

int main(int argc, char** argv) {
  zr3::render::OffscreenGui gui;
  benchmark::Initialize(&argc, argv);
  zr3bench::Setup setup;
  zr3bench::gSetup = &setup;
  zr3bench::MakeLevel(setup);
  zr3bench::RegisterAll();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
