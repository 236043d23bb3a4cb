#include "cli/commands_render.h"

#include <QDir>
#include <iostream>

#include "cli/cli_common.h"
#include "level/zr3error.h"
#include "records/zr3map.h"
#include "records/zr3palette.h"
#include "render/change_outline.h"
#include "render/map_renderer.h"
#include "render/offscreen.h"

namespace zr3::cli {

namespace {

// Qt's notes about the platform it runs on are no concern of a command that only draws
// images; what goes wrong is reported as the command's own message.
void QuietQt(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg) {
    std::cerr << "zr3: " << message.toStdString() << '\n';
  }
}

// The largest picture side the command draws, in pixels.
constexpr int kMaxPictureSide = 8192;

struct RenderArgs {
  std::string level;
  long long index = -1;
  std::string out;
  std::string layers = "1,2,3";
  int cell = render::MapRenderOptions::kDefaultCell;
  std::string gameFolder;
  bool grid = false;
  std::string diffWith;
};

std::array<bool, 3> ParseLayers(const std::string& text) {
  std::array<bool, 3> layers{};
  const auto bad = [&text] {
    return ZR3Error("Bad layer list \"" + text +
                    "\": give layer numbers 1 to 3 separated by commas, such as 1,2,3");
  };
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = std::min(text.find(',', start), text.size());
    const std::string number = text.substr(start, comma - start);
    if (number.size() != 1 || number[0] < '1' || number[0] > '3') throw bad();
    layers[static_cast<std::size_t>(number[0] - '1')] = true;
    if (comma == text.size()) break;
    start = comma + 1;
  }
  return layers;
}

// Writes image as PNG to path ("-" for standard output) through the atomic writer.
void WritePng(const QImage& image, const std::string& path) {
  const QByteArray bytes = render::EncodePng(image);
  if (bytes.isEmpty()) throw ZR3Error("Could not encode the picture as PNG");
  WriteOutput(path, [&bytes](ByteWriter& out) {
    out.Bytes(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  });
}

void RenderMap(const RenderArgs& args) {
  const std::array<bool, 3> layers = ParseLayers(args.layers);
  if (args.cell < render::MapRenderOptions::kMinCell ||
      args.cell > render::MapRenderOptions::kMaxCell) {
    throw ZR3Error("Bad cell size " + std::to_string(args.cell) + ": give 1 to " +
                   std::to_string(render::MapRenderOptions::kMaxCell) + " pixels");
  }
  QStringList folders;
  if (!args.gameFolder.empty()) {
    const QString folder = QString::fromStdString(args.gameFolder);
    if (!QDir(folder).exists()) throw ZR3Error("No game folder " + args.gameFolder);
    folders.append(folder);
  } else {
    folders = render::DefaultGameFolders(QString::fromStdString(args.level));
  }
  std::unique_ptr<ZR3Level> level = LoadLevel(args.level);
  const auto& map = static_cast<const ZR3Map&>(RecordOf(*level, Category::Maps, args.index));
  const int side = (map.Side() + 2) * args.cell;
  if (side > kMaxPictureSide) {
    throw ZR3Error("A cell of " + std::to_string(args.cell) + " pixels makes the picture " +
                   std::to_string(side) + " pixels wide; at most " +
                   std::to_string(kMaxPictureSide) + " are drawn");
  }

  qInstallMessageHandler(QuietQt);
  render::OffscreenGui gui;
  render::ImageCache images(folders);
  render::MapRenderer renderer(images);
  renderer.Options().layers = layers;
  renderer.Options().cell = args.cell;
  renderer.Options().grid = args.grid;
  QImage image = renderer.Render(map);
  if (!args.diffWith.empty()) {
    // The map as it changed since the older level: the map matched as zr3 diff matches it.
    const compare::LevelDiff diff = compare::CompareLevels(*LoadLevel(args.diffWith), *level);
    MarkChangedCells(image, renderer,
                     render::ChangedCellsOf(diff, static_cast<std::size_t>(args.index), map.Side()),
                     map.Side());
  }
  WritePng(image, args.out);
  if (images.MissingCount() > 0) {
    std::cerr << "zr3: " << images.MissingCount()
              << " tile images were missing or unreadable and are drawn as colour squares\n";
  }
}

void RenderPalette(const RenderArgs& args) {
  std::unique_ptr<ZR3Level> level = LoadLevel(args.level);
  const auto& palette =
      static_cast<const ZR3Palette&>(RecordOf(*level, Category::Palettes, args.index));
  qInstallMessageHandler(QuietQt);
  render::OffscreenGui gui;
  WritePng(render::RenderPalette(palette.Colours()), args.out);
}

}  // namespace

void AddRenderCommands(CLI::App& app) {
  auto args = std::make_shared<RenderArgs>();

  CLI::App* map = app.add_subcommand("render-map", "Draw a map into a PNG file");
  map->add_option("LEVEL", args->level, "Level file")->required();
  map->add_option("INDEX", args->index, "Map index")->required();
  map->add_option("OUT", args->out, "PNG file to write, or - for standard output")->required();
  map->add_option("--layers", args->layers, "Tile layers to draw, such as 1,2,3");
  map->add_option("--cell", args->cell, "Pixels per cell side");
  map->add_option("--game-folder", args->gameFolder,
                  "Folder the tile image paths are relative to (default: the level's folder, "
                  "then its parent)");
  map->add_flag("--grid", args->grid, "Draw the cell grid");
  map->add_option("--diff", args->diffWith,
                  "Older version of the level: outline the cells that changed since, dim the rest");
  map->callback([args] { RenderMap(*args); });

  CLI::App* palette = app.add_subcommand("render-palette", "Draw a palette into a PNG file");
  palette->add_option("LEVEL", args->level, "Level file")->required();
  palette->add_option("INDEX", args->index, "Palette index")->required();
  palette->add_option("OUT", args->out, "PNG file to write, or - for standard output")->required();
  palette->callback([args] { RenderPalette(*args); });
}

}  // namespace zr3::cli
