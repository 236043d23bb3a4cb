#include "render/map_renderer.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPainter>
#include <algorithm>

#include "level/windows1252.h"
#include "level/zr3level.h"
#include "records/zr3map.h"
#include "records/zr3object.h"
#include "records/zr3palette.h"
#include "render/image_path.h"

namespace zr3::render {

namespace {

const QColor kBackground(40, 40, 48);
const QColor kGridColour(0, 0, 0, 96);
const QColor kUnresolvedColour(255, 0, 128);

constexpr int kPngQuality = 80;

// The golden angle spreads the hues of consecutive positions around the circle.
constexpr double kGoldenAngle = 137.50776405;

// A name's first character as a capital, through the level's code page.
QString Initial(const std::string& name) {
  return QString::fromStdString(ToUtf8(name.substr(0, 1))).toUpper();
}

}  // namespace

QColor FallbackColour(int tilePosition) {
  const double turns = static_cast<double>(std::max(tilePosition, 0)) * kGoldenAngle;
  const int hue = static_cast<int>(turns) % 360;
  return QColor::fromHsv(hue, 150, 200);
}

QSize MapRenderer::ImageSize(const ZR3Map& map) const {
  const int side = (map.Side() + 2) * options_.cell;
  return {side, side};
}

QRect MapRenderer::CellRect(int row, int column) const {
  return {(column + 1) * options_.cell, (row + 1) * options_.cell, options_.cell, options_.cell};
}

std::optional<std::pair<int, int>> MapRenderer::CellAt(const ZR3Map& map, QPoint point) const {
  if (point.x() < 0 || point.y() < 0) return std::nullopt;
  const int row = point.y() / options_.cell - 1;
  const int column = point.x() / options_.cell - 1;
  if (row < 0 || column < 0 || row >= map.Side() || column >= map.Side()) return std::nullopt;
  return std::make_pair(row, column);
}

QRect MapRenderer::FallbackRect(int row, int column, std::size_t slot) const {
  return SlotSquare(CellRect(row, column), slot);
}

QRect MapRenderer::SlotSquare(const QRect& cellRect, std::size_t slot) const {
  const int inset = static_cast<int>(slot) * options_.cell / 6;
  return cellRect.adjusted(inset, inset, -inset, -inset);
}

const QImage* MapRenderer::PictureOf(const ZR3ChainRecord& tile, Pictures& pictures) const {
  auto [it, added] = pictures.try_emplace(&tile, nullptr);
  if (added) {
    it->second = images_.Scaled(ImagePathOf(tile), options_.cell);
  }
  return it->second;
}

void MapRenderer::PaintTile(QPainter& painter, const ZR3ChainRecord* tile, std::uint32_t id,
                            const QRect& cellRect, std::size_t slot, Pictures& pictures) const {
  const QRect square = SlotSquare(cellRect, slot);
  if (!tile) {
    if (id == 0) return;
    painter.fillRect(square, Qt::white);
    painter.fillRect(square, QBrush(kUnresolvedColour, Qt::BDiagPattern));
    return;
  }
  if (const QImage* image = PictureOf(*tile, pictures)) {
    painter.drawImage(cellRect.topLeft(), *image);
    return;
  }
  painter.drawImage(cellRect.topLeft(), FallbackSquare(*tile, slot));
}

const QImage& MapRenderer::FallbackSquare(const ZR3ChainRecord& tile, std::size_t slot) const {
  const int cell = options_.cell;
  const char initial = tile.Name().empty() ? '\0' : tile.Name().front();
  const std::uint64_t key =
      static_cast<std::uint64_t>(static_cast<std::uint32_t>(tile.Position())) << 32 |
      static_cast<std::uint64_t>(static_cast<unsigned char>(initial)) << 24 |
      static_cast<std::uint64_t>(slot) << 16 | static_cast<std::uint64_t>(cell);
  if (fallbacks_.size() >= kMaxFallbacks) fallbacks_.clear();
  auto [it, added] = fallbacks_.try_emplace(key);
  if (!added) return it->second;
  QImage& image = it->second;
  image = QImage(cell, cell, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  const QRect square = SlotSquare(image.rect(), slot);
  painter.fillRect(square, FallbackColour(tile.Position()));
  if (initial != '\0' && square.width() >= 8) {
    QFont font = painter.font();
    font.setPixelSize(std::max(square.height() * 2 / 3, 1));
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(square, Qt::AlignCenter, Initial(tile.Name()));
  }
  return image;
}

void MapRenderer::PaintBorder(QPainter& painter, const ZR3Map& map, const QRect& area,
                              Pictures& pictures) const {
  const int side = map.Side();
  // N, E, S, W: the row or column of the ring each border fills, from one corner to another.
  struct Run {
    int row, column, rowStep, columnStep, count;
  };
  const std::array<Run, ZR3Map::kBorderCount> runs = {{{-1, -1, 0, 1, side + 2},
                                                       {0, side, 1, 0, side},
                                                       {side, -1, 0, 1, side + 2},
                                                       {0, -1, 1, 0, side}}};
  for (std::size_t i = 0; i < runs.size(); ++i) {
    const ZR3ChainRecord* tile = map.Border(i);
    const Run& run = runs[i];
    for (int n = 0; n < run.count; ++n) {
      const QRect rect = CellRect(run.row + n * run.rowStep, run.column + n * run.columnStep);
      if (!rect.intersects(area)) continue;
      if (tile) PaintTile(painter, tile, 0, rect, 0, pictures);
    }
  }
}

void MapRenderer::Paint(QPainter& painter, const ZR3Map& map, const QRect& area) const {
  painter.fillRect(area.intersected(QRect(QPoint(0, 0), ImageSize(map))), kBackground);
  Pictures pictures;
  PaintBorder(painter, map, area, pictures);
  const int side = map.Side();
  const int cell = options_.cell;
  // Only the cells that meet the area; the ring takes the first and last rows and columns.
  const int firstRow = std::clamp(area.top() / cell - 1, 0, side);
  const int lastRow = std::clamp(area.bottom() / cell, 0, side);
  const int firstColumn = std::clamp(area.left() / cell - 1, 0, side);
  const int lastColumn = std::clamp(area.right() / cell, 0, side);
  for (std::size_t slot = 0; slot < ZR3Map::kSlotsPerCell; ++slot) {
    if (!options_.layers[slot]) continue;
    for (int row = firstRow; row < lastRow; ++row) {
      for (int column = firstColumn; column < lastColumn; ++column) {
        const ZR3ChainRecord* tile = map.CellTile(row, column, slot);
        const std::uint32_t id = tile ? 0 : map.CellTileId(row, column, slot);
        if (tile || id != 0) PaintTile(painter, tile, id, CellRect(row, column), slot, pictures);
      }
    }
  }
  if (options_.grid && cell >= 4) {
    // The lines along the cells drawn, from edge to edge of the part of the map in the area.
    // Each is an image one pixel wide: Qt blends an image straight onto the picture, while a
    // translucent line down the picture becomes one span a row, which Qt hands to worker
    // threads and which took the frame from 2 ms to 30.
    const QSize size = ImageSize(map);
    const int top = std::max(cell, area.top());
    const int bottom = std::min(size.height() - cell, area.bottom() + 1);
    const int left = std::max(cell, area.left());
    const int right = std::min(size.width() - cell, area.right() + 1);
    if (bottom >= top && right >= left) {
      QImage column(1, bottom - top + 1, QImage::Format_ARGB32_Premultiplied);
      column.fill(kGridColour);
      QImage row(right - left + 1, 1, QImage::Format_ARGB32_Premultiplied);
      row.fill(kGridColour);
      for (int line = firstColumn + 1; line <= lastColumn + 1; ++line) {
        painter.drawImage(line * cell, top, column);
      }
      for (int line = firstRow + 1; line <= lastRow + 1; ++line) {
        painter.drawImage(left, line * cell, row);
      }
    }
  }
}

QImage MapRenderer::Render(const ZR3Map& map) const {
  QImage image(ImageSize(map), QImage::Format_RGB32);
  QPainter painter(&image);
  Paint(painter, map, image.rect());
  painter.end();
  return image;
}

QImage MapRenderer::RenderTile(const ZR3ChainRecord& tile) const {
  QImage image(options_.cell, options_.cell, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  Pictures pictures;
  PaintTile(painter, &tile, 0, image.rect(), 0, pictures);
  painter.end();
  return image;
}

void MapRenderer::PaintObjects(QPainter& painter, const ZR3Map& map,
                               const std::vector<const ZR3Object*>& objects) const {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  for (const ZR3Object* object : objects) {
    if (object->Row() >= map.Side() || object->Column() >= map.Side()) continue;
    const QRect cellRect = CellRect(object->Row(), object->Column());
    if (const QImage* picture = images_.Scaled(object->ImagePath(), options_.cell)) {
      painter.drawImage(cellRect.topLeft(), *picture);
      continue;
    }
    // A marker that stands out from any tile: white with a dark ring.
    const QRect marker = cellRect.adjusted(1, 1, -1, -1);
    painter.setPen(QPen(Qt::black, std::max(1, options_.cell / 16)));
    painter.setBrush(Qt::white);
    painter.drawEllipse(marker);
    const std::string& name = object->Name();
    if (!name.empty() && marker.width() >= 8) {
      QFont font = painter.font();
      font.setPixelSize(std::max(marker.height() * 2 / 3, 1));
      font.setBold(true);
      painter.setFont(font);
      painter.drawText(marker, Qt::AlignCenter, Initial(name));
    }
  }
  painter.restore();
}

std::vector<const ZR3Object*> ObjectsOn(const ZR3Level& level, const ZR3Map& map) {
  std::vector<const ZR3Object*> objects;
  for (const auto& record : level.List(Category::Objects)) {
    const auto& object = static_cast<const ZR3Object&>(*record);
    if (object.Map() == &map) objects.push_back(&object);
  }
  return objects;
}

QImage RenderPalette(const std::array<std::uint8_t, 768>& colours, int swatch) {
  QImage image(kPaletteColumns * swatch, kPaletteColumns * swatch, QImage::Format_RGB32);
  QPainter painter(&image);
  for (int index = 0; index < kPaletteColumns * kPaletteColumns; ++index) {
    painter.fillRect(PaletteSwatchRect(index, swatch), PaletteColour(colours, index));
  }
  painter.end();
  return image;
}

QByteArray EncodePng(const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "png");
  // Qt turns a quality of 80 into zlib's lightest compression level.
  writer.setQuality(kPngQuality);
  if (!writer.write(image)) return {};
  return bytes;
}

QColor PaletteColour(const std::array<std::uint8_t, 768>& colours, int index) {
  if (index < 0 || index >= kPaletteColumns * kPaletteColumns) return {};
  const auto at = static_cast<std::size_t>(index) * ZR3Palette::kBytesPerColour;
  return {colours[at], colours[at + 1], colours[at + 2]};
}

QRect PaletteSwatchRect(int index, int swatch) {
  return {index % kPaletteColumns * swatch, index / kPaletteColumns * swatch, swatch, swatch};
}

}  // namespace zr3::render
