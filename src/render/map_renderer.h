#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QRect>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "render/image_cache.h"

class QPainter;

namespace zr3 {
class ZR3ChainRecord;
class ZR3Level;
class ZR3Map;
class ZR3Object;
}  // namespace zr3

namespace zr3::render {

struct MapRenderOptions {
  static constexpr int kDefaultCell = 16;
  static constexpr int kMinCell = 1;
  static constexpr int kMaxCell = 256;

  // Which of the three tile slots are drawn; slot 0 first, slot 2 on top.
  std::array<bool, 3> layers{true, true, true};
  int cell = kDefaultCell;
  bool grid = false;
};

// The colour a tile without a picture is drawn in: taken from its position in the tile list,
// so that it stays the same from one run to the next and neighbours in the list differ.
QColor FallbackColour(int tilePosition);

// Draws a map: the used square of cells, one ring of cells around it for the four border tiles
// (north along the top including the corners, south along the bottom, east and west between),
// and optionally a grid. A tile with a picture is drawn from it; one without, or whose picture
// is missing, as a square of its fallback colour with its name's initial, inset on the upper
// layers so that the layers below stay visible; an identifier that resolved to no tile as a
// hatched square.
class MapRenderer {
 public:
  explicit MapRenderer(ImageCache& images) : images_(images) {}

  MapRenderOptions& Options() { return options_; }
  const MapRenderOptions& Options() const { return options_; }

  // The picture's size: the map's side plus the border ring, in cells.
  QSize ImageSize(const ZR3Map& map) const;
  // Where the cell at row and column lies in the picture (-1 and the side are the border ring).
  QRect CellRect(int row, int column) const;
  // The cell of the map under a point of the picture, as {row, column}; nothing on the border
  // ring or outside.
  std::optional<std::pair<int, int>> CellAt(const ZR3Map& map, QPoint point) const;
  // Where a slot's fallback square lies inside its cell.
  QRect FallbackRect(int row, int column, std::size_t slot) const;

  // Draws the cells that meet area (in picture coordinates) with painter.
  void Paint(QPainter& painter, const ZR3Map& map, const QRect& area) const;
  // The whole picture.
  QImage Render(const ZR3Map& map) const;
  // One tile at the cell size, as a map's lowest layer shows it, on transparency.
  QImage RenderTile(const ZR3ChainRecord& tile) const;
  // Draws each object on its cell, over the tiles: its picture when found, otherwise a round
  // marker with its name's initial. An object placed outside the map's side is not drawn.
  void PaintObjects(QPainter& painter, const ZR3Map& map,
                    const std::vector<const ZR3Object*>& objects) const;

 private:
  // The part of a cell a slot's square without a picture takes: smaller on each upper layer.
  QRect SlotSquare(const QRect& cellRect, std::size_t slot) const;
  // The pictures of the tiles met during one Paint, by tile: a cell's tile is looked up by
  // its record, not by its path.
  using Pictures = std::unordered_map<const ZR3ChainRecord*, const QImage*>;
  const QImage* PictureOf(const ZR3ChainRecord& tile, Pictures& pictures) const;
  void PaintTile(QPainter& painter, const ZR3ChainRecord* tile, std::uint32_t id,
                 const QRect& cellRect, std::size_t slot, Pictures& pictures) const;
  void PaintBorder(QPainter& painter, const ZR3Map& map, const QRect& area,
                   Pictures& pictures) const;
  // The square of a tile without a picture, on transparency in a cell of the current size.
  const QImage& FallbackSquare(const ZR3ChainRecord& tile, std::size_t slot) const;

  ImageCache& images_;
  MapRenderOptions options_;
  // The fallback squares drawn so far, by colour position, initial, slot and cell size: an
  // initial is text, which costs many times more to draw than an image.
  static constexpr std::size_t kMaxFallbacks = 4096;
  mutable std::unordered_map<std::uint64_t, QImage> fallbacks_;
};

// The objects of the level that stand on map, in list order.
std::vector<const ZR3Object*> ObjectsOn(const ZR3Level& level, const ZR3Map& map);

// A palette as a 16 x 16 grid of square swatches of swatch pixels, colour 0 at the top left and
// the colours row by row.
inline constexpr int kPaletteColumns = 16;
QImage RenderPalette(const std::array<std::uint8_t, 768>& colours, int swatch = 16);
// The colour at index of a palette's bytes (red, green, blue each); invalid outside 0 to 255.
QColor PaletteColour(const std::array<std::uint8_t, 768>& colours, int index);
QRect PaletteSwatchRect(int index, int swatch);

// The image as a PNG file's bytes, compressed lightly: map pictures are large and mostly
// repeated tiles, which the lightest level already packs well, at a fraction of the time.
QByteArray EncodePng(const QImage& image);

}  // namespace zr3::render
