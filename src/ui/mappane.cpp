#include "ui/mappane.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QSplitter>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "document/texts.h"
#include "records/zr3map.h"

namespace zr3::ui {

namespace {

enum SlotColumn { LayerColumn, TileColumn, IdColumn };

QString HexId(std::uint32_t id) {
  return QStringLiteral("0x") + QString::number(id, 16).toUpper();
}

}  // namespace

MapPane::MapPane(render::ImageCache& images, QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("mapPane"));
  view_ = new MapView(images);

  toolBar_ = new QToolBar;
  toolBar_->setObjectName(QStringLiteral("mapToolBar"));
  toolBar_->setToolButtonStyle(Qt::ToolButtonTextOnly);
  auto newAction = [this](const char* name, const QString& text, const QString& tip) {
    auto* action = new QAction(text, this);
    action->setObjectName(QLatin1String(name));
    action->setToolTip(tip);
    // The shortcuts work while the map tab has the focus, and nowhere else.
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(action);
    toolBar_->addAction(action);
    return action;
  };
  toolBar_->addWidget(new QLabel(tr("Layers ")));
  for (std::size_t slot = 0; slot < layerActions_.size(); ++slot) {
    const QString number = QString::number(slot + 1);
    QAction* layer = newAction("actionLayer", number, tr("Show layer %1").arg(number));
    layer->setObjectName(QStringLiteral("actionLayer%1").arg(number));
    layer->setCheckable(true);
    layer->setChecked(true);
    connect(layer, &QAction::toggled, this,
            [this, slot](bool shown) { view_->SetLayerVisible(slot, shown); });
    layerActions_[slot] = layer;
  }
  QAction* objects = newAction("actionObjects", tr("Objects"), tr("Show the objects on the map"));
  objects->setCheckable(true);
  objects->setChecked(true);
  connect(objects, &QAction::toggled, view_, &MapView::SetObjectsVisible);
  gridAction_ = newAction("actionGrid", tr("Grid"), tr("Show the grid"));
  gridAction_->setCheckable(true);
  connect(gridAction_, &QAction::toggled, view_, &MapView::SetGrid);
  toolBar_->addSeparator();
  zoomOutAction_ = newAction("actionZoomOut", tr("-"), tr("Zoom out (Ctrl+-)"));
  zoomOutAction_->setShortcuts(QKeySequence::ZoomOut);
  connect(zoomOutAction_, &QAction::triggered, view_, &MapView::ZoomOut);
  zoomInAction_ = newAction("actionZoomIn", tr("+"), tr("Zoom in (Ctrl++)"));
  zoomInAction_->setShortcuts({QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)});
  connect(zoomInAction_, &QAction::triggered, view_, &MapView::ZoomIn);
  zoomFitAction_ = newAction("actionZoomFit", tr("Fit"), tr("Fit the map to the window (Ctrl+0)"));
  zoomFitAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
  connect(zoomFitAction_, &QAction::triggered, view_, &MapView::ZoomToFit);
  toolBar_->addSeparator();
  auto* tools = new QActionGroup(this);
  selectAction_ = newAction("actionSelect", tr("Select"), tr("Click a cell to list its tiles"));
  paintAction_ = newAction("actionPaint", tr("Paint"),
                           tr("Click or drag to paint, Shift+drag to fill a rectangle, right "
                              "button to erase, Ctrl+click to pick a tile"));
  for (QAction* tool : {selectAction_, paintAction_}) {
    tool->setCheckable(true);
    tools->addAction(tool);
  }
  selectAction_->setChecked(true);
  connect(selectAction_, &QAction::triggered, this,
          [this] { view_->SetTool(MapView::Tool::Select); });
  connect(paintAction_, &QAction::triggered, this,
          [this] { view_->SetTool(MapView::Tool::Paint); });
  layerBox_ = new QComboBox;
  layerBox_->setObjectName(QStringLiteral("layerBox"));
  layerBox_->setAccessibleName(tr("Layer to paint"));
  layerBox_->setToolTip(tr("The layer painting sets"));
  for (std::size_t slot = 0; slot < layerActions_.size(); ++slot) {
    layerBox_->addItem(tr("Layer %1").arg(slot + 1));
  }
  connect(layerBox_, &QComboBox::currentIndexChanged, this,
          [this](int index) { view_->SetLayer(static_cast<std::size_t>(std::max(index, 0))); });
  toolBar_->addWidget(layerBox_);

  slotList_ = new QTreeWidget;
  slotList_->setObjectName(QStringLiteral("slotList"));
  slotList_->setAccessibleName(tr("Tiles of the selected cell"));
  slotList_->setHeaderLabels({tr("Layer"), tr("Tile"), tr("Identifier")});
  slotList_->setRootIsDecorated(false);
  slotList_->setUniformRowHeights(true);
  slotList_->header()->setStretchLastSection(true);
  slotList_->header()->resizeSection(LayerColumn, 60);
  slotList_->header()->resizeSection(TileColumn, 160);
  // Enter and a double-click both activate a slot.
  connect(slotList_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
    const ZR3Map* map = view_->Map();
    const auto cell = view_->SelectedCell();
    if (!map || !cell) return;
    const auto slot = static_cast<std::size_t>(slotList_->indexOfTopLevelItem(item));
    if (ZR3ChainRecord* tile = map->CellTile(cell->row, cell->column, slot)) {
      emit TileActivated(tile);
    }
  });

  auto* splitter = new QSplitter(Qt::Vertical);
  splitter->setChildrenCollapsible(false);
  splitter->addWidget(view_);
  splitter->addWidget(slotList_);
  splitter->setStretchFactor(0, 1);
  splitter->setStretchFactor(1, 0);
  const int slotsHeight = slotList_->sizeHintForRow(0) * (kSlotRows + 2);
  splitter->setSizes({400, std::max(slotsHeight, 80)});
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(toolBar_);
  layout->addWidget(splitter);

  connect(view_, &MapView::CellSelected, this, &MapPane::ListSlots);
  connect(view_, &MapView::CellHovered, this,
          [this](std::optional<MapCell> cell) { emit Hint(cell ? CellText(*cell) : QString()); });
}

void MapPane::ShowMap(ZR3Level* level, std::optional<std::size_t> map) {
  view_->ShowMap(level, map);
  ListSlots();
}

void MapPane::Refresh() {
  view_->Refresh();
  ListSlots();
  // The status bar names the hovered cell's tiles as they are now.
  if (const std::optional<MapCell> hovered = view_->HoveredCell(); hovered && view_->Map()) {
    emit Hint(CellText(*hovered));
  }
}

void MapPane::StartPainting() {
  paintAction_->setChecked(true);
  view_->SetTool(MapView::Tool::Paint);
}

QString MapPane::SlotText(MapCell cell, std::size_t slot) const {
  const ZR3Map* map = view_->Map();
  if (const ZR3ChainRecord* tile = map->CellTile(cell.row, cell.column, slot)) {
    return ToDisplay(tile->Name());
  }
  const std::uint32_t id = map->CellTileId(cell.row, cell.column, slot);
  return id == 0 ? tr("(empty)") : tr("unresolved %1").arg(HexId(id));
}

QString MapPane::CellText(MapCell cell) const {
  QStringList names;
  for (std::size_t slot = 0; slot < ZR3Map::kSlotsPerCell; ++slot) {
    names << SlotText(cell, slot);
  }
  return tr("Row %1, column %2: %3").arg(cell.row).arg(cell.column).arg(names.join(", "));
}

void MapPane::ListSlots() {
  slotList_->clear();
  const ZR3Map* map = view_->Map();
  const auto cell = view_->SelectedCell();
  if (!map || !cell) return;
  for (std::size_t slot = 0; slot < ZR3Map::kSlotsPerCell; ++slot) {
    auto* item = new QTreeWidgetItem(slotList_);
    item->setText(LayerColumn, QString::number(slot + 1));
    item->setText(TileColumn, SlotText(*cell, slot));
    const std::uint32_t id = map->CellTileId(cell->row, cell->column, slot);
    if (id != 0) item->setText(IdColumn, HexId(id));
  }
}

}  // namespace zr3::ui
