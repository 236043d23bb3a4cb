#pragma once

#include <QAbstractScrollArea>
#include <QPoint>
#include <QRect>
#include <array>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <utility>

#include "edit/map_paint.h"
#include "render/change_outline.h"
#include "render/map_renderer.h"

namespace zr3 {
class ZR3ChainRecord;
class ZR3Level;
class ZR3Map;
}  // namespace zr3

namespace zr3::ui {

// A cell of a map, by row and column.
struct MapCell {
  int row = 0;
  int column = 0;
  bool operator==(const MapCell&) const = default;
};

// A map drawn as a picture, zoomed and scrolled, and painted on with the mouse.
//
// With the Select tool a click selects a cell. With the Paint tool a click or a drag sets the
// chosen layer's slot of the cells to the brush tile, Shift and a drag fill a rectangle, and
// the right button erases the slot. Ctrl and a click picks the tile under the cursor with
// either tool. Each stroke is handed over as one MapPaint when the button is let go; Escape
// drops it. The middle button drags the map around. From the keyboard, the arrows move the
// selected cell, and with the Paint tool Enter or Space paints it and Delete erases it.
class MapView : public QAbstractScrollArea {
  Q_OBJECT

 public:
  enum class Tool { Select, Paint };
  // The cell sizes zooming in and out steps through; fitting to the window may pick any size
  // between the first and the last.
  static constexpr std::array<int, 12> kZoomSteps = {2, 4, 6, 8, 12, 16, 24, 32, 48, 64, 96, 128};

  // images must outlive the view.
  explicit MapView(render::ImageCache& images, QWidget* parent = nullptr);
  ~MapView() override;

  // Shows the map at index of the level's maps; nothing when level is none. A stroke in
  // progress on another map is dropped, and what it painted put back.
  void ShowMap(ZR3Level* level, std::optional<std::size_t> map);
  const ZR3Map* Map() const;
  std::optional<std::size_t> MapIndex() const { return map_; }
  // The map or the tiles' pictures changed: lays the view out again and redraws it.
  void Refresh();

  void SetLayerVisible(std::size_t slot, bool visible);
  // Whether the objects standing on the map are drawn (and can be clicked and dragged).
  void SetObjectsVisible(bool visible);
  // The position in the object list of the last object drawn on the cell, if any.
  std::optional<std::size_t> ObjectAt(MapCell cell) const;
  void SetGrid(bool grid);

  int CellSize() const { return renderer_.Options().cell; }
  // Sets the cell size, keeping the map point under anchor (in view coordinates) in place.
  void SetCellSize(int cell, std::optional<QPoint> anchor = std::nullopt);
  void ZoomIn();
  void ZoomOut();
  // The largest cell size that shows the whole map with its border in the view.
  void ZoomToFit();

  Tool CurrentTool() const { return tool_; }
  void SetTool(Tool tool);
  // The slot (0 to 2) that painting sets.
  std::size_t Layer() const { return layer_; }
  void SetLayer(std::size_t slot);
  // Where the tile to paint with comes from, asked at the start of each stroke.
  void SetBrushSource(std::function<ZR3ChainRecord*()> brush) { brush_ = std::move(brush); }
  // Takes each finished stroke that changed something, with a caption for it.
  void SetStrokeSink(std::function<void(MapPaint&&, const QString&)> sink) {
    sink_ = std::move(sink);
  }

  std::optional<MapCell> SelectedCell() const { return selected_; }
  // The cell under the mouse, if any.
  std::optional<MapCell> HoveredCell() const { return hovered_; }
  void SelectCell(std::optional<MapCell> cell);
  // The cells to outline on a map (a comparison's changed cells), by the map's index; none
  // outlines nothing.
  void SetOutline(std::function<const render::CellSet*(std::size_t map)> outline);
  // The cell under a point of the view, if any; and the centre of a cell in view
  // coordinates.
  std::optional<MapCell> CellAt(QPoint point) const;
  QPoint CellCentre(MapCell cell) const;

 signals:
  // The cell under the mouse, or none when it left the map.
  void CellHovered(std::optional<zr3::ui::MapCell> cell);
  void CellSelected(std::optional<zr3::ui::MapCell> cell);
  // With the Select tool, a click on an object, and an object dragged to another cell.
  void ObjectClicked(std::size_t object);
  void ObjectMoved(std::size_t object, zr3::ui::MapCell cell);
  // A Ctrl+click on a cell with a tile.
  void TilePicked(zr3::ZR3ChainRecord* tile);
  // After a drawing met tiles whose pictures are missing; count is all the view has met.
  void MissingImagesChanged(int count);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  // A stroke from the press of a button to its release.
  struct Stroke {
    MapPaint paint;
    ZR3ChainRecord* tile;  // none erases
    bool rectangle;
    MapCell anchor;
    MapCell last;
    bool wasModified;
  };

  // Where the picture's top left lies in the view: centred while it is smaller than the view.
  QPoint Origin() const;
  QRect ViewRect(MapCell cell) const;
  void UpdateCell(MapCell cell);
  void UpdateScrollBars();
  void SetHovered(std::optional<MapCell> cell);
  // Scrolls the cell into the view.
  void EnsureVisible(MapCell cell);
  // Moves a marked cell (the selected or the hovered one) to cell, redrawing both places;
  // false when it is there already.
  bool MoveMark(std::optional<MapCell>& mark, std::optional<MapCell> cell);
  // Starts a stroke at cell with tile (none erases): paints the cell, or anchors a rectangle.
  void BeginStroke(MapCell cell, ZR3ChainRecord* tile, bool rectangle);
  // Paints every cell on the line from the stroke's last cell to cell.
  void StrokeTo(MapCell cell);
  QRect RectangleOf(const Stroke& stroke) const;
  void FinishStroke();
  // Puts back what the stroke in progress painted so far and forgets it.
  void DropStroke();
  void Pick(MapCell cell);

  render::ImageCache& images_;
  render::MapRenderer renderer_;
  ZR3Level* level_ = nullptr;
  std::optional<std::size_t> map_;
  Tool tool_ = Tool::Select;
  bool objectsVisible_ = true;
  // An object pressed with the Select tool, and the cell it was pressed on.
  std::optional<std::pair<std::size_t, MapCell>> draggedObject_;
  std::size_t layer_ = 0;
  std::function<ZR3ChainRecord*()> brush_;
  std::function<void(MapPaint&&, const QString&)> sink_;
  std::optional<MapCell> selected_;
  std::optional<MapCell> hovered_;
  std::unique_ptr<Stroke> stroke_;
  // Where the middle button last dragged the map from, while it is held.
  std::optional<QPoint> panFrom_;
  int missingShown_ = 0;
  std::function<const render::CellSet*(std::size_t)> outline_;
};

}  // namespace zr3::ui
