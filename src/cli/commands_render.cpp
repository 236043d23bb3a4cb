#include "cli/commands_render.h"

#include <QDir>
#include <QPainter>
#include <charconv>
#include <iostream>
#include <optional>

#include "cli/batch.h"
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
  // Without --output-dir, the levels are the words LEVEL INDEX OUT.
  BatchArgs batch;
  long long index = -1;
  std::string layers = "1,2,3";
  int cell = render::MapRenderOptions::kDefaultCell;
  int scale = 1;
  std::string gameFolder;
  bool grid = false;
  bool objects = false;
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

long long ParseIndex(const std::string& word) {
  long long index = 0;
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), index);
  if (error != std::errc() || end != word.data() + word.size()) {
    throw CLI::ConversionError(word, "INDEX");
  }
  return index;
}

// The drawing options of the command line, checked.
render::MapRenderOptions RenderOptions(const RenderArgs& args) {
  render::MapRenderOptions options;
  options.layers = ParseLayers(args.layers);
  constexpr int kMaxScale = render::MapRenderOptions::kMaxCell;
  if (args.scale < 1 || args.scale > kMaxScale) {
    throw ZR3Error("Bad scale " + std::to_string(args.scale) + ": give a whole factor of 1 to " +
                   std::to_string(kMaxScale));
  }
  const long long cell = static_cast<long long>(args.cell) * args.scale;
  if (args.cell < render::MapRenderOptions::kMinCell || cell > render::MapRenderOptions::kMaxCell) {
    throw ZR3Error("Bad cell size " + std::to_string(cell) + ": give 1 to " +
                   std::to_string(render::MapRenderOptions::kMaxCell) + " pixels");
  }
  options.cell = static_cast<int>(cell);
  options.grid = args.grid;
  return options;
}

QStringList GameFolders(const RenderArgs& args, const std::string& level) {
  if (args.gameFolder.empty()) return render::DefaultGameFolders(QString::fromStdString(level));
  const QString folder = QString::fromStdString(args.gameFolder);
  if (!QDir(folder).exists()) throw ZR3Error("No game folder " + args.gameFolder);
  return {folder};
}

// Draws the map at index of the loaded level into out, its pictures from images; with
// changes, the cells they changed are outlined and the rest dimmed.
void DrawMap(const RenderArgs& args, const render::MapRenderOptions& options,
             render::ImageCache& images, const ZR3Level& level, long long index,
             const std::string& out, const compare::LevelDiff* changes = nullptr) {
  const auto& map = static_cast<const ZR3Map&>(RecordOf(level, Category::Maps, index));
  const int side = (map.Side() + 2) * options.cell;
  if (side > kMaxPictureSide) {
    throw ZR3Error("A cell of " + std::to_string(options.cell) + " pixels makes the picture " +
                   std::to_string(side) + " pixels wide; at most " +
                   std::to_string(kMaxPictureSide) + " are drawn");
  }
  render::MapRenderer renderer(images);
  renderer.Options() = options;
  QImage image = renderer.Render(map);
  if (args.objects) {
    QPainter painter(&image);
    renderer.PaintObjects(painter, map, render::ObjectsOn(level, map));
  }
  if (changes != nullptr) {
    MarkChangedCells(image, renderer,
                     render::ChangedCellsOf(*changes, static_cast<std::size_t>(index), map.Side()),
                     map.Side());
  }
  WritePng(image, out);
}

// What a drawing says about the pictures it did not find; empty when all were found.
std::string MissingNote(const render::ImageCache& images) {
  if (images.MissingCount() == 0) return "";
  return std::to_string(images.MissingCount()) +
         " tile images were missing or unreadable and are drawn as colour squares";
}

void RenderMap(const RenderArgs& args) {
  const render::MapRenderOptions options = RenderOptions(args);
  if (args.batch.outputDir.empty()) {
    if (args.batch.levels.size() != 3) {
      throw CLI::ArgumentMismatch(
          "render-map takes LEVEL INDEX OUT.png, or LEVEL... with --output-dir");
    }
    const std::string& levelPath = args.batch.levels[0];
    const long long index = ParseIndex(args.batch.levels[1]);
    render::ImageCache images(GameFolders(args, levelPath));
    std::unique_ptr<ZR3Level> level = LoadLevel(levelPath);
    qInstallMessageHandler(QuietQt);
    render::OffscreenGui gui;
    // The map as it changed since the older level, matched as zr3 diff matches it.
    std::optional<compare::LevelDiff> changes;
    if (!args.diffWith.empty()) changes = compare::CompareLevels(*LoadLevel(args.diffWith), *level);
    DrawMap(args, options, images, *level, index, args.batch.levels[2],
            changes ? &*changes : nullptr);
    if (const std::string note = MissingNote(images); !note.empty()) {
      std::cerr << "zr3: " << note << '\n';
    }
    return;
  }
  // With --output-dir every positional word is a level, and --map picks one map of each.
  if (!args.diffWith.empty()) {
    throw CLI::ValidationError("--diff", "compares one level: give LEVEL INDEX OUT.png");
  }
  CreateOutputFolder(args.batch.outputDir);
  RefuseSharedOutputs(args.batch.levels, "-INDEX.png");
  qInstallMessageHandler(QuietQt);
  render::OffscreenGui gui;
  const std::vector<FileOutcome> outcomes =
      RunEach(args.batch, [&](const std::string& file, FileOutcome& outcome) {
        const std::unique_ptr<ZR3Level> level = LoadLevel(file);
        const std::size_t maps = level->List(Category::Maps).size();
        const std::string stem = OutputPathFor(args.batch.outputDir, file, "");
        // Refuses a --map index the level does not have.
        if (args.index >= 0) RecordOf(*level, Category::Maps, args.index);
        render::ImageCache images(GameFolders(args, file));
        for (std::size_t index = 0; index < maps; ++index) {
          if (args.index >= 0 && static_cast<long long>(index) != args.index) continue;
          const std::string out = stem + "-" + std::to_string(index) + ".png";
          DrawMap(args, options, images, *level, static_cast<long long>(index), out);
          outcome.text += out + '\n';
        }
        outcome.note = MissingNote(images);
      });
  PrintOutcomes(args.batch.levels, outcomes);
  FinishBatch(args.batch.levels, outcomes);
}

struct PaletteArgs {
  std::string level;
  long long index = -1;
  std::string out;
};

void RenderPalette(const PaletteArgs& args) {
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

  CLI::App* map = app.add_subcommand(
      "render-map",
      "Draw a map into a PNG file; with --output-dir, every map (or the --map one) of each "
      "level into the folder as LEVEL-INDEX.png");
  CLI::Option* outputDir = AddBatchArguments(
      *map, args->batch,
      "LEVEL INDEX OUT: the level, the map's index and the PNG file to write (- for standard "
      "output); with --output-dir: level files",
      true);
  map->add_option("--map", args->index, "With --output-dir: only the map at this index")
      ->needs(outputDir);
  map->add_option("--layers", args->layers, "Tile layers to draw, such as 1,3");
  map->add_option("--cell", args->cell, "Pixels per cell side before --scale (default 16)");
  map->add_option("--scale", args->scale, "Whole factor the cells are enlarged by (default 1)");
  map->add_option("--game-folder", args->gameFolder,
                  "Folder the tile image paths are relative to (default: the level's folder, "
                  "then its parent)");
  map->add_flag("--grid", args->grid, "Draw the cell grid");
  map->add_flag("--objects", args->objects,
                "Draw the objects standing on the map: their picture, or a marker with their "
                "initial");
  map->add_option("--diff", args->diffWith,
                  "Older version of the level: outline the cells that changed since, dim the rest");
  map->callback([args] { RenderMap(*args); });

  auto paletteArgs = std::make_shared<PaletteArgs>();
  CLI::App* palette = app.add_subcommand("render-palette", "Draw a palette into a PNG file");
  palette->add_option("LEVEL", paletteArgs->level, "Level file")->required();
  palette->add_option("INDEX", paletteArgs->index, "Palette index")->required();
  palette->add_option("OUT", paletteArgs->out, "PNG file to write, or - for standard output")
      ->required();
  palette->callback([paletteArgs] { RenderPalette(*paletteArgs); });
}

}  // namespace zr3::cli
