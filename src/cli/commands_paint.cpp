#include <charconv>

#include "cli/cli_common.h"
#include "edit/field_edit.h"
#include "edit/map_paint.h"
#include "level/zr3error.h"
#include "records/zr3map.h"

namespace zr3::cli {

namespace {

// A whole number in [low, high] from a word of the command line; what names it is for the
// message.
int ParseNumber(std::string_view word, int low, int high, const std::string& what) {
  int value = 0;
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
  if (error != std::errc() || end != word.data() + word.size() || value < low || value > high) {
    throw ZR3Error("Bad " + what + " \"" + std::string(word) + "\": give " + std::to_string(low) +
                   " to " + std::to_string(high));
  }
  return value;
}

// The words of text between the separators.
std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  while (true) {
    const std::size_t at = text.find(separator);
    parts.push_back(text.substr(0, at));
    if (at == std::string_view::npos) return parts;
    text.remove_prefix(at + 1);
  }
}

struct Cell {
  int row;
  int column;
};

// "ROW,COLUMN" inside a map of side cells.
Cell ParseCell(std::string_view text, int side) {
  const std::vector<std::string_view> parts = Split(text, ',');
  if (parts.size() != 2) {
    throw ZR3Error("Bad cell \"" + std::string(text) + "\": give ROW,COLUMN such as 3,7");
  }
  if (side == 0) throw ZR3Error("The map has no cells (its size is 0)");
  return Cell{ParseNumber(parts[0], 0, side - 1, "row"),
              ParseNumber(parts[1], 0, side - 1, "column")};
}

struct PaintArgs {
  std::string level;
  long long map = -1;
  int layer = 0;
  std::string tile;
  std::string cells;
  OutputTarget output;
};

// Sets one layer's slot of every cell of the rectangle to the tile, as a stroke of the Map
// tab does (a click sets one cell, Shift+drag a rectangle, the right button erases).
void Paint(const PaintArgs& args) {
  std::unique_ptr<ZR3Level> level = LoadLevel(args.level);
  RecordOf(*level, Category::Maps, args.map);
  MapPaint paint(*level, static_cast<std::size_t>(args.map));
  const int side = paint.Map(*level).Side();
  const std::vector<std::string_view> corners = Split(args.cells, ':');
  if (corners.size() > 2) {
    throw ZR3Error("Bad cells \"" + args.cells + "\": give ROW,COLUMN or ROW,COLUMN:ROW,COLUMN");
  }
  const Cell first = ParseCell(corners.front(), side);
  const Cell last = ParseCell(corners.back(), side);
  ZR3ChainRecord* tile = nullptr;
  if (args.tile != "none") {
    const int count = static_cast<int>(level->List(Category::Tiles).size());
    if (count == 0) throw ZR3Error("The level has no tiles; only \"none\" erases");
    const int index = ParseNumber(args.tile, 0, count - 1, "tile index");
    tile = static_cast<ZR3ChainRecord*>(&RecordOf(*level, Category::Tiles, index));
  }
  paint.Fill(*level, first.row, first.column, last.row, last.column,
             static_cast<std::size_t>(args.layer - 1), tile);
  SaveTo(*level, args.level, args.output);
}

struct ColourArgs {
  std::string level;
  long long palette = -1;
  int colour = -1;
  std::string rgb;
  OutputTarget output;
};

// "#rrggbb" or "R,G,B" (each 0 to 255).
std::array<std::uint8_t, 3> ParseRgb(const std::string& text) {
  std::array<std::uint8_t, 3> rgb{};
  if (text.size() == 7 && text[0] == '#') {
    for (std::size_t i = 0; i < 3; ++i) {
      unsigned value = 0;
      const char* begin = text.data() + 1 + 2 * i;
      const auto [end, error] = std::from_chars(begin, begin + 2, value, 16);
      if (error != std::errc() || end != begin + 2) break;
      rgb[i] = static_cast<std::uint8_t>(value);
      if (i == 2) return rgb;
    }
  } else if (const std::vector<std::string_view> parts = Split(text, ','); parts.size() == 3) {
    for (std::size_t i = 0; i < 3; ++i) {
      rgb[i] = static_cast<std::uint8_t>(ParseNumber(parts[i], 0, 255, "colour part"));
    }
    return rgb;
  }
  throw ZR3Error("Bad colour \"" + text + "\": give #rrggbb or R,G,B such as 255,0,255");
}

void SetColour(const ColourArgs& args) {
  std::unique_ptr<ZR3Level> level = LoadLevel(args.level);
  RecordOf(*level, Category::Palettes, args.palette);
  EditPaletteColour(*level, static_cast<std::size_t>(args.palette),
                    static_cast<std::size_t>(args.colour), ParseRgb(args.rgb));
  SaveTo(*level, args.level, args.output);
}

}  // namespace

void AddPaintCommands(CLI::App& app) {
  auto paintArgs = std::make_shared<PaintArgs>();
  CLI::App* paint = app.add_subcommand(
      "paint",
      "Set one layer of a cell, or of a rectangle of cells, of a map to a tile (\"none\" "
      "erases)");
  paint->add_option("LEVEL", paintArgs->level, "Level file")->required();
  paint->add_option("MAP", paintArgs->map, "Map index")->required();
  paint->add_option("LAYER", paintArgs->layer, "Tile layer, 1 to 3")
      ->required()
      ->check(CLI::Range(1, 3));
  paint->add_option("TILE", paintArgs->tile, "Tile index, or none to erase")->required();
  paint
      ->add_option("CELLS", paintArgs->cells,
                   "ROW,COLUMN, or two corners ROW,COLUMN:ROW,COLUMN of a rectangle")
      ->required();
  AddOutputOptions(*paint, paintArgs->output);
  paint->callback([paintArgs] { Paint(*paintArgs); });

  auto colourArgs = std::make_shared<ColourArgs>();
  CLI::App* colour = app.add_subcommand("set-colour", "Set one colour of a palette");
  colour->add_option("LEVEL", colourArgs->level, "Level file")->required();
  colour->add_option("PALETTE", colourArgs->palette, "Palette index")->required();
  colour->add_option("COLOUR", colourArgs->colour, "Colour index, 0 to 255")
      ->required()
      ->check(CLI::Range(0, 255));
  colour->add_option("RGB", colourArgs->rgb, "The colour: #rrggbb or R,G,B")->required();
  AddOutputOptions(*colour, colourArgs->output);
  colour->callback([colourArgs] { SetColour(*colourArgs); });
}

}  // namespace zr3::cli
