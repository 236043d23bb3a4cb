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
class MapPane : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kSlotRows = 3;

  explicit MapPane(render::ImageCache& images, QWidget* parent = nullptr);

  MapView* View() const { return view_; }
  QTreeWidget* SlotList() const { return slotList_; }
  QComboBox* LayerBox() const { return layerBox_; }
  QAction* PaintAction() const { return paintAction_; }
  QAction* SelectAction() const { return selectAction_; }
  QAction* GridAction() const { return gridAction_; }
  QAction* LayerAction(std::size_t slot) const { return layerActions_.at(slot); }

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

  MapView* view_ = nullptr;
  QToolBar* toolBar_ = nullptr;
  std::array<QAction*, 3> layerActions_{};
  QAction* gridAction_ = nullptr;
  QAction* zoomInAction_ = nullptr;
  QAction* zoomOutAction_ = nullptr;
  QAction* zoomFitAction_ = nullptr;
  QAction* selectAction_ = nullptr;
  QAction* paintAction_ = nullptr;
  QComboBox* layerBox_ = nullptr;
  QTreeWidget* slotList_ = nullptr;
};

}  // namespace zr3::ui
