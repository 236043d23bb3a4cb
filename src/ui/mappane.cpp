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

#include "records/zr3map.h"
#include "ui/texts.h"

namespace zr3::ui {

namespace {

enum SlotColumn { LayerColumn, TileColumn, IdColumn };

QString HexId(std::uint32_t id) {
  return QStringLiteral("0x") + QString::number(id, 16).toUpper();
}

}  // namespace

TMapPane::TMapPane(render::ImageCache& images, QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("pnlMap"));
  view_ = new TMapView(images);

  tbrMap_ = new QToolBar;
  tbrMap_->setObjectName(QStringLiteral("tbrMap"));
  tbrMap_->setToolButtonStyle(Qt::ToolButtonTextOnly);
  auto newAction = [this](const char* name, const QString& text, const QString& tip) {
    auto* action = new QAction(text, this);
    action->setObjectName(QLatin1String(name));
    action->setToolTip(tip);
    // The shortcuts work while the map tab has the focus, and nowhere else.
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(action);
    tbrMap_->addAction(action);
    return action;
  };
  tbrMap_->addWidget(new QLabel(tr("Layers ")));
  for (std::size_t slot = 0; slot < actLayers_.size(); ++slot) {
    const QString number = QString::number(slot + 1);
    QAction* layer = newAction("actLayer", number, tr("Show layer %1").arg(number));
    layer->setObjectName(QStringLiteral("actLayer%1").arg(number));
    layer->setCheckable(true);
    layer->setChecked(true);
    connect(layer, &QAction::toggled, this,
            [this, slot](bool shown) { view_->SetLayerVisible(slot, shown); });
    actLayers_[slot] = layer;
  }
  actGrid_ = newAction("actGrid", tr("Grid"), tr("Show the grid"));
  actGrid_->setCheckable(true);
  connect(actGrid_, &QAction::toggled, view_, &TMapView::SetGrid);
  tbrMap_->addSeparator();
  actZoomOut_ = newAction("actZoomOut", tr("-"), tr("Zoom out (Ctrl+-)"));
  actZoomOut_->setShortcuts(QKeySequence::ZoomOut);
  connect(actZoomOut_, &QAction::triggered, view_, &TMapView::ZoomOut);
  actZoomIn_ = newAction("actZoomIn", tr("+"), tr("Zoom in (Ctrl++)"));
  actZoomIn_->setShortcuts({QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)});
  connect(actZoomIn_, &QAction::triggered, view_, &TMapView::ZoomIn);
  actZoomFit_ = newAction("actZoomFit", tr("Fit"), tr("Fit the map to the window (Ctrl+0)"));
  actZoomFit_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
  connect(actZoomFit_, &QAction::triggered, view_, &TMapView::ZoomToFit);
  tbrMap_->addSeparator();
  auto* tools = new QActionGroup(this);
  actSelect_ = newAction("actSelect", tr("Select"), tr("Click a cell to list its tiles"));
  actPaint_ = newAction("actPaint", tr("Paint"),
                        tr("Click or drag to paint, Shift+drag to fill a rectangle, right "
                           "button to erase, Ctrl+click to pick a tile"));
  for (QAction* tool : {actSelect_, actPaint_}) {
    tool->setCheckable(true);
    tools->addAction(tool);
  }
  actSelect_->setChecked(true);
  connect(actSelect_, &QAction::triggered, this,
          [this] { view_->SetTool(TMapView::Tool::Select); });
  connect(actPaint_, &QAction::triggered, this, [this] { view_->SetTool(TMapView::Tool::Paint); });
  cmbLayer_ = new QComboBox;
  cmbLayer_->setObjectName(QStringLiteral("cmbLayer"));
  cmbLayer_->setAccessibleName(tr("Layer to paint"));
  cmbLayer_->setToolTip(tr("The layer painting sets"));
  for (std::size_t slot = 0; slot < actLayers_.size(); ++slot) {
    cmbLayer_->addItem(tr("Layer %1").arg(slot + 1));
  }
  connect(cmbLayer_, &QComboBox::currentIndexChanged, this,
          [this](int index) { view_->SetLayer(static_cast<std::size_t>(std::max(index, 0))); });
  tbrMap_->addWidget(cmbLayer_);

  lvwSlots_ = new QTreeWidget;
  lvwSlots_->setObjectName(QStringLiteral("lvwSlots"));
  lvwSlots_->setAccessibleName(tr("Tiles of the selected cell"));
  lvwSlots_->setHeaderLabels({tr("Layer"), tr("Tile"), tr("Identifier")});
  lvwSlots_->setRootIsDecorated(false);
  lvwSlots_->setUniformRowHeights(true);
  lvwSlots_->header()->setStretchLastSection(true);
  lvwSlots_->header()->resizeSection(LayerColumn, 60);
  lvwSlots_->header()->resizeSection(TileColumn, 160);
  // Enter and a double-click both activate a slot.
  connect(lvwSlots_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
    const ZR3Map* map = view_->Map();
    const auto cell = view_->SelectedCell();
    if (!map || !cell) return;
    const auto slot = static_cast<std::size_t>(lvwSlots_->indexOfTopLevelItem(item));
    if (ZR3ChainRecord* tile = map->CellTile(cell->row, cell->column, slot)) {
      emit TileActivated(tile);
    }
  });

  auto* splitter = new QSplitter(Qt::Vertical);
  splitter->setChildrenCollapsible(false);
  splitter->addWidget(view_);
  splitter->addWidget(lvwSlots_);
  splitter->setStretchFactor(0, 1);
  splitter->setStretchFactor(1, 0);
  const int slotsHeight = lvwSlots_->sizeHintForRow(0) * (kSlotRows + 2);
  splitter->setSizes({400, std::max(slotsHeight, 80)});
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(tbrMap_);
  layout->addWidget(splitter);

  connect(view_, &TMapView::CellSelected, this, &TMapPane::ListSlots);
  connect(view_, &TMapView::CellHovered, this,
          [this](std::optional<MapCell> cell) { emit Hint(cell ? CellText(*cell) : QString()); });
}

void TMapPane::ShowMap(ZR3Level* level, std::optional<std::size_t> map) {
  view_->ShowMap(level, map);
  ListSlots();
}

void TMapPane::Refresh() {
  view_->Refresh();
  ListSlots();
}

void TMapPane::StartPainting() {
  actPaint_->setChecked(true);
  view_->SetTool(TMapView::Tool::Paint);
}

QString TMapPane::SlotText(MapCell cell, std::size_t slot) const {
  const ZR3Map* map = view_->Map();
  if (const ZR3ChainRecord* tile = map->CellTile(cell.row, cell.column, slot)) {
    return ToDisplay(tile->Name());
  }
  const std::uint32_t id = map->CellTileId(cell.row, cell.column, slot);
  return id == 0 ? tr("(empty)") : tr("unresolved %1").arg(HexId(id));
}

QString TMapPane::CellText(MapCell cell) const {
  QStringList names;
  for (std::size_t slot = 0; slot < ZR3Map::kSlotsPerCell; ++slot) {
    names << SlotText(cell, slot);
  }
  return tr("Row %1, column %2: %3").arg(cell.row).arg(cell.column).arg(names.join(", "));
}

void TMapPane::ListSlots() {
  lvwSlots_->clear();
  const ZR3Map* map = view_->Map();
  const auto cell = view_->SelectedCell();
  if (!map || !cell) return;
  for (std::size_t slot = 0; slot < ZR3Map::kSlotsPerCell; ++slot) {
    auto* item = new QTreeWidgetItem(lvwSlots_);
    item->setText(LayerColumn, QString::number(slot + 1));
    item->setText(TileColumn, SlotText(*cell, slot));
    const std::uint32_t id = map->CellTileId(cell->row, cell->column, slot);
    if (id != 0) item->setText(IdColumn, HexId(id));
  }
}

}  // namespace zr3::ui
