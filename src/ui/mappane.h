#pragma once

#include <QWidget>
#include <array>
#include <cstddef>
#include <optional>

#include "ui/mapview.h"

class QAction;
class QComboBox;
class QToolBar;
class QTreeWidget;

namespace zr3::ui {

// The Map tab: the map view under a toolbar of its layers, grid, zoom and tools, and the
// slots of the selected cell beneath it.
class TMapPane : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kSlotRows = 3;

  explicit TMapPane(render::ImageCache& images, QWidget* parent = nullptr);

  TMapView* View() const { return view_; }
  QTreeWidget* SlotList() const { return lvwSlots_; }
  QComboBox* LayerBox() const { return cmbLayer_; }
  QAction* PaintAction() const { return actPaint_; }
  QAction* SelectAction() const { return actSelect_; }
  QAction* GridAction() const { return actGrid_; }
  QAction* LayerAction(std::size_t slot) const { return actLayers_.at(slot); }

  // Shows a map of the level, or nothing.
  void ShowMap(ZR3Level* level, std::optional<std::size_t> map);
  // The shown map changed: draws it and lists the selected cell's slots again.
  void Refresh();
  // Paints with the tile the brush source gives from now on.
  void StartPainting();

  // How the status bar tells of a cell: "Row 3, column 5: Grass, Tree, (empty)".
  QString CellText(MapCell cell) const;

 signals:
  // A line for the status bar.
  void Hint(const QString& text);
  // A slot's tile was double-clicked or chosen with Enter.
  void TileActivated(zr3::ZR3ChainRecord* tile);

 private:
  void ListSlots();
  // A slot's tile as the slot list and the status bar name it.
  QString SlotText(MapCell cell, std::size_t slot) const;

  TMapView* view_ = nullptr;
  QToolBar* tbrMap_ = nullptr;
  std::array<QAction*, 3> actLayers_{};
  QAction* actGrid_ = nullptr;
  QAction* actZoomIn_ = nullptr;
  QAction* actZoomOut_ = nullptr;
  QAction* actZoomFit_ = nullptr;
  QAction* actSelect_ = nullptr;
  QAction* actPaint_ = nullptr;
  QComboBox* cmbLayer_ = nullptr;
  QTreeWidget* lvwSlots_ = nullptr;
};

}  // namespace zr3::ui
