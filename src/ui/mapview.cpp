#include "ui/mapview.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <cstdlib>

#include "document/texts.h"
#include "level/zr3level.h"
#include "records/zr3map.h"
#include "records/zr3object.h"

namespace zr3::ui {

namespace {

const QColor kSelectedColour(255, 220, 0);
const QColor kHoverColour(255, 255, 255, 200);
const QColor kRectangleColour(80, 160, 255, 90);

}  // namespace

MapView::MapView(render::ImageCache& images, QWidget* parent)
    : QAbstractScrollArea(parent), images_(images), renderer_(images) {
  setObjectName(QStringLiteral("MapView"));
  setAccessibleName(tr("Map"));
  viewport()->setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
}

MapView::~MapView() = default;

void MapView::ShowMap(ZR3Level* level, std::optional<std::size_t> map) {
  const bool same = level == level_ && map == map_;
  // A stroke in progress on another map is dropped, leaving the map as it found it.
  if (stroke_ && !same) DropStroke();
  level_ = level;
  map_ = level ? map : std::nullopt;
  if (!same) {
    selected_.reset();
    hovered_.reset();
  }
  Refresh();
}

const ZR3Map* MapView::Map() const {
  if (!level_ || !map_ || *map_ >= level_->List(Category::Maps).size()) return nullptr;
  return static_cast<const ZR3Map*>(level_->List(Category::Maps)[*map_].get());
}

void MapView::Refresh() {
  if (const ZR3Map* map = Map()) {
    const int side = map->Side();
    auto inside = [side](const std::optional<MapCell>& cell) {
      return cell && cell->row < side && cell->column < side;
    };
    if (!inside(selected_)) selected_.reset();
    if (!inside(hovered_)) hovered_.reset();
  }
  UpdateScrollBars();
  viewport()->update();
}

void MapView::SetLayerVisible(std::size_t slot, bool visible) {
  renderer_.Options().layers.at(slot) = visible;
  viewport()->update();
}

void MapView::SetGrid(bool grid) {
  renderer_.Options().grid = grid;
  viewport()->update();
}

void MapView::SetCellSize(int cell, std::optional<QPoint> anchor) {
  cell = std::clamp(cell, kZoomSteps.front(), kZoomSteps.back());
  const int old = CellSize();
  if (cell == old) return;
  const QPoint fixed = anchor.value_or(viewport()->rect().center());
  // The map point under the anchor, in cells, before and after.
  const QPointF mapPoint = QPointF(fixed - Origin()) / old;
  renderer_.Options().cell = cell;
  UpdateScrollBars();
  const QPointF moved = mapPoint * cell + QPointF(Origin()) - QPointF(fixed);
  horizontalScrollBar()->setValue(horizontalScrollBar()->value() + qRound(moved.x()));
  verticalScrollBar()->setValue(verticalScrollBar()->value() + qRound(moved.y()));
  viewport()->update();
}

void MapView::ZoomIn() {
  const auto next = std::upper_bound(kZoomSteps.begin(), kZoomSteps.end(), CellSize());
  if (next != kZoomSteps.end()) SetCellSize(*next);
}

void MapView::ZoomOut() {
  const auto next = std::lower_bound(kZoomSteps.begin(), kZoomSteps.end(), CellSize());
  if (next != kZoomSteps.begin()) SetCellSize(*std::prev(next));
}

void MapView::ZoomToFit() {
  const ZR3Map* map = Map();
  if (!map) return;
  const int cells = map->Side() + 2;
  const QSize room = maximumViewportSize();
  SetCellSize(std::max(std::min(room.width(), room.height()) / cells, kZoomSteps.front()));
}

void MapView::SetTool(Tool tool) {
  tool_ = tool;
  viewport()->setCursor(tool == Tool::Paint ? Qt::CrossCursor : Qt::ArrowCursor);
}

void MapView::SetLayer(std::size_t slot) {
  layer_ = std::min(slot, ZR3Map::kSlotsPerCell - 1);
}

void MapView::SelectCell(std::optional<MapCell> cell) {
  if (MoveMark(selected_, cell)) emit CellSelected(selected_);
}

bool MapView::MoveMark(std::optional<MapCell>& mark, std::optional<MapCell> cell) {
  if (cell == mark) return false;
  if (mark) UpdateCell(*mark);
  mark = cell;
  if (mark) UpdateCell(*mark);
  return true;
}

QPoint MapView::Origin() const {
  const ZR3Map* map = Map();
  if (!map) return {};
  const QSize size = renderer_.ImageSize(*map);
  const QSize room = viewport()->size();
  const int x = size.width() < room.width() ? (room.width() - size.width()) / 2
                                            : -horizontalScrollBar()->value();
  const int y = size.height() < room.height() ? (room.height() - size.height()) / 2
                                              : -verticalScrollBar()->value();
  return {x, y};
}

std::optional<MapCell> MapView::CellAt(QPoint point) const {
  const ZR3Map* map = Map();
  if (!map) return std::nullopt;
  const auto cell = renderer_.CellAt(*map, point - Origin());
  if (!cell) return std::nullopt;
  return MapCell{cell->first, cell->second};
}

QPoint MapView::CellCentre(MapCell cell) const {
  return ViewRect(cell).center();
}

QRect MapView::ViewRect(MapCell cell) const {
  return renderer_.CellRect(cell.row, cell.column).translated(Origin());
}

void MapView::UpdateCell(MapCell cell) {
  // The outlines reach one pixel beyond the cell.
  viewport()->update(ViewRect(cell).adjusted(-2, -2, 2, 2));
}

void MapView::UpdateScrollBars() {
  const ZR3Map* map = Map();
  const QSize size = map ? renderer_.ImageSize(*map) : QSize();
  const QSize room = viewport()->size();
  horizontalScrollBar()->setRange(0, std::max(size.width() - room.width(), 0));
  verticalScrollBar()->setRange(0, std::max(size.height() - room.height(), 0));
  horizontalScrollBar()->setPageStep(room.width());
  verticalScrollBar()->setPageStep(room.height());
  horizontalScrollBar()->setSingleStep(CellSize());
  verticalScrollBar()->setSingleStep(CellSize());
}

void MapView::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  painter.fillRect(event->rect(), palette().dark());
  const ZR3Map* map = Map();
  if (!map) return;
  const QPoint origin = Origin();
  painter.translate(origin);
  renderer_.Paint(painter, *map, event->rect().translated(-origin));
  // The objects over the tiles, drawn as the rendered map draws them.
  if (objectsVisible_) renderer_.PaintObjects(painter, *map, render::ObjectsOn(*level_, *map));
  painter.resetTransform();
  if (stroke_ && stroke_->rectangle) {
    painter.fillRect(RectangleOf(*stroke_), kRectangleColour);
  }
  painter.setBrush(Qt::NoBrush);
  if (const render::CellSet* cells = outline_ && map_ ? outline_(*map_) : nullptr) {
    render::OutlineCells(painter, *cells, 2, [this](int row, int column) {
      return ViewRect({row, column}).adjusted(0, 0, -1, -1);
    });
  }
  if (hovered_) {
    painter.setPen(QPen(kHoverColour, 1));
    painter.drawRect(ViewRect(*hovered_).adjusted(0, 0, -1, -1));
  }
  if (selected_) {
    painter.setPen(QPen(kSelectedColour, 2));
    painter.drawRect(ViewRect(*selected_).adjusted(0, 0, -1, -1));
  }
  painter.end();
  if (images_.MissingCount() != missingShown_) {
    missingShown_ = images_.MissingCount();
    emit MissingImagesChanged(missingShown_);
  }
}

void MapView::SetOutline(std::function<const render::CellSet*(std::size_t)> outline) {
  outline_ = std::move(outline);
  viewport()->update();
}

void MapView::SetObjectsVisible(bool visible) {
  objectsVisible_ = visible;
  viewport()->update();
}

std::optional<std::size_t> MapView::ObjectAt(MapCell cell) const {
  const ZR3Map* map = Map();
  if (!map || !objectsVisible_) return std::nullopt;
  const RecordList& objects = level_->List(Category::Objects);
  for (std::size_t i = objects.size(); i-- > 0;) {
    const auto& object = static_cast<const ZR3Object&>(*objects[i]);
    if (object.Map() == map && object.Row() == cell.row && object.Column() == cell.column) {
      return i;
    }
  }
  return std::nullopt;
}

void MapView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBars();
}

void MapView::scrollContentsBy(int, int) {
  viewport()->update();
}

void MapView::SetHovered(std::optional<MapCell> cell) {
  if (MoveMark(hovered_, cell)) emit CellHovered(hovered_);
}

void MapView::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::MiddleButton && !stroke_) {
    // The middle button drags the map around.
    panFrom_ = event->position().toPoint();
    viewport()->setCursor(Qt::ClosedHandCursor);
    return;
  }
  const std::optional<MapCell> cell = CellAt(event->position().toPoint());
  if (!cell || stroke_ || !level_ || !map_) {
    QAbstractScrollArea::mousePressEvent(event);
    return;
  }
  const Qt::MouseButton button = event->button();
  const Qt::KeyboardModifiers modifiers = event->modifiers();
  if (button == Qt::LeftButton && (modifiers & Qt::ControlModifier)) {
    Pick(*cell);
    return;
  }
  if (button == Qt::LeftButton) SelectCell(cell);
  if (tool_ == Tool::Select && button == Qt::LeftButton) {
    if (const std::optional<std::size_t> object = ObjectAt(*cell)) {
      draggedObject_ = {*object, *cell};
      viewport()->setCursor(Qt::ClosedHandCursor);
    }
  }
  // Without a sink a stroke could not be undone, so nothing is painted.
  if (tool_ != Tool::Paint || !sink_ || (button != Qt::LeftButton && button != Qt::RightButton)) {
    return;
  }
  ZR3ChainRecord* tile = nullptr;
  if (button == Qt::LeftButton) {
    tile = brush_ ? brush_() : nullptr;
    // Without a tile to paint with, a left click only selects.
    if (!tile) return;
  }
  BeginStroke(*cell, tile, (modifiers & Qt::ShiftModifier) != 0);
}

void MapView::BeginStroke(MapCell cell, ZR3ChainRecord* tile, bool rectangle) {
  stroke_ = std::make_unique<Stroke>(
      Stroke{MapPaint(*level_, *map_), tile, rectangle, cell, cell, level_->Modified()});
  if (rectangle) {
    viewport()->update();
    return;
  }
  stroke_->paint.Set(*level_, cell.row, cell.column, layer_, tile);
  UpdateCell(cell);
}

void MapView::mouseMoveEvent(QMouseEvent* event) {
  if (panFrom_) {
    const QPoint moved = event->position().toPoint() - *panFrom_;
    panFrom_ = event->position().toPoint();
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() - moved.x());
    verticalScrollBar()->setValue(verticalScrollBar()->value() - moved.y());
    return;
  }
  const std::optional<MapCell> cell = CellAt(event->position().toPoint());
  SetHovered(cell);
  if (!stroke_) return;
  if (stroke_->rectangle) {
    // Outside the map the rectangle keeps its last corner.
    if (cell && *cell != stroke_->last) {
      viewport()->update(RectangleOf(*stroke_));
      stroke_->last = *cell;
      viewport()->update(RectangleOf(*stroke_));
    }
    return;
  }
  if (cell) StrokeTo(*cell);
}

void MapView::mouseReleaseEvent(QMouseEvent* event) {
  if (panFrom_ && event->button() == Qt::MiddleButton) {
    panFrom_.reset();
    SetTool(tool_);
    return;
  }
  if (draggedObject_ && event->button() == Qt::LeftButton) {
    const auto [object, from] = *draggedObject_;
    draggedObject_.reset();
    SetTool(tool_);
    const std::optional<MapCell> cell = CellAt(event->position().toPoint());
    if (cell && *cell != from) {
      emit ObjectMoved(object, *cell);
    } else if (cell) {
      emit ObjectClicked(object);
    }
    return;
  }
  if (!stroke_) {
    QAbstractScrollArea::mouseReleaseEvent(event);
    return;
  }
  const bool ended =
      stroke_->tile ? event->button() == Qt::LeftButton : event->button() == Qt::RightButton;
  if (ended) FinishStroke();
}

void MapView::StrokeTo(MapCell cell) {
  // Bresenham's line, so that a fast drag leaves no gaps.
  MapCell at = stroke_->last;
  const int dx = std::abs(cell.column - at.column);
  const int dy = -std::abs(cell.row - at.row);
  const int stepX = at.column < cell.column ? 1 : -1;
  const int stepY = at.row < cell.row ? 1 : -1;
  int error = dx + dy;
  while (at != cell) {
    const int twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      at.column += stepX;
    }
    if (twice <= dx) {
      error += dx;
      at.row += stepY;
    }
    if (stroke_->paint.Set(*level_, at.row, at.column, layer_, stroke_->tile)) UpdateCell(at);
  }
  stroke_->last = cell;
}

QRect MapView::RectangleOf(const Stroke& stroke) const {
  return ViewRect(stroke.anchor).united(ViewRect(stroke.last));
}

void MapView::FinishStroke() {
  std::unique_ptr<Stroke> stroke = std::move(stroke_);
  QString verb = stroke->tile ? tr("Paint") : tr("Erase");
  if (stroke->rectangle) {
    stroke->paint.Fill(*level_, stroke->anchor.row, stroke->anchor.column, stroke->last.row,
                       stroke->last.column, layer_, stroke->tile);
    verb = stroke->tile ? tr("Fill") : tr("Erase");
  }
  viewport()->update();
  if (stroke->paint.Count() == 0) return;
  sink_(std::move(stroke->paint), verb);
}

void MapView::DropStroke() {
  stroke_->paint.Undo(*level_);
  level_->SetModified(stroke_->wasModified);
  stroke_.reset();
  viewport()->update();
}

void MapView::Pick(MapCell cell) {
  const ZR3Map* map = Map();
  // The chosen layer's tile, or else the topmost tile shown.
  ZR3ChainRecord* tile = map->CellTile(cell.row, cell.column, layer_);
  for (std::size_t slot = ZR3Map::kSlotsPerCell; !tile && slot-- > 0;) {
    if (renderer_.Options().layers[slot]) tile = map->CellTile(cell.row, cell.column, slot);
  }
  if (tile) emit TilePicked(tile);
}

void MapView::wheelEvent(QWheelEvent* event) {
  if (!(event->modifiers() & Qt::ControlModifier)) {
    QAbstractScrollArea::wheelEvent(event);
    return;
  }
  const int steps = event->angleDelta().y() / QWheelEvent::DefaultDeltasPerStep;
  if (steps == 0) return;
  const auto at = std::lower_bound(kZoomSteps.begin(), kZoomSteps.end(), CellSize());
  const auto index = std::clamp<long>(std::distance(kZoomSteps.begin(), at) + steps, 0,
                                      static_cast<long>(kZoomSteps.size()) - 1);
  SetCellSize(kZoomSteps[static_cast<std::size_t>(index)], event->position().toPoint());
  event->accept();
}

void MapView::keyPressEvent(QKeyEvent* event) {
  const ZR3Map* map = Map();
  if (event->key() == Qt::Key_Escape && stroke_) {
    DropStroke();
    return;
  }
  if (!map || stroke_ || map->Side() == 0 || event->modifiers() & ~Qt::KeypadModifier) {
    QAbstractScrollArea::keyPressEvent(event);
    return;
  }
  // The arrows move the selected cell; Enter or Space paints it and Delete erases it.
  MapCell cell = selected_.value_or(MapCell{0, 0});
  const int last = map->Side() - 1;
  switch (event->key()) {
    case Qt::Key_Left:
      cell.column = std::max(cell.column - 1, 0);
      break;
    case Qt::Key_Right:
      cell.column = std::min(cell.column + 1, last);
      break;
    case Qt::Key_Up:
      cell.row = std::max(cell.row - 1, 0);
      break;
    case Qt::Key_Down:
      cell.row = std::min(cell.row + 1, last);
      break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
    case Qt::Key_Delete: {
      if (tool_ != Tool::Paint || !selected_) return;
      const bool erase = event->key() == Qt::Key_Delete;
      ZR3ChainRecord* tile = erase ? nullptr : brush_ ? brush_() : nullptr;
      if (!sink_ || (!erase && !tile)) return;
      BeginStroke(cell, tile, false);
      FinishStroke();
      return;
    }
    default:
      QAbstractScrollArea::keyPressEvent(event);
      return;
  }
  SelectCell(cell);
  EnsureVisible(cell);
}

void MapView::EnsureVisible(MapCell cell) {
  const QRect rect = ViewRect(cell);
  const QRect room = viewport()->rect();
  auto scroll = [](QScrollBar* bar, int low, int high, int size) {
    if (low < 0) bar->setValue(bar->value() + low);
    if (high > size) bar->setValue(bar->value() + high - size);
  };
  scroll(horizontalScrollBar(), rect.left(), rect.right() + 1, room.width());
  scroll(verticalScrollBar(), rect.top(), rect.bottom() + 1, room.height());
}

void MapView::leaveEvent(QEvent* event) {
  SetHovered(std::nullopt);
  QAbstractScrollArea::leaveEvent(event);
}

}  // namespace zr3::ui
