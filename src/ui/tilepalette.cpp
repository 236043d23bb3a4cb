#include "ui/tilepalette.h"

#include <QLineEdit>
#include <QListView>
#include <QPixmap>
#include <QVBoxLayout>

#include "level/zr3level.h"

namespace zr3::ui {

TileListModel::TileListModel(std::function<const RecordList*()> tiles, render::ImageCache& images,
                             QObject* parent)
    : ItemListModel(tiles, parent), tiles_(std::move(tiles)), renderer_(images) {
  renderer_.Options().cell = kIconSide;
}

QVariant TileListModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DecorationRole) return ItemListModel::data(index, role);
  const RecordList* tiles = tiles_();
  if (!tiles || !index.isValid() || static_cast<std::size_t>(index.row()) >= tiles->size()) {
    return {};
  }
  const auto& tile = static_cast<const ZR3ChainRecord&>(*(*tiles)[index.row()]);
  return QPixmap::fromImage(renderer_.RenderTile(tile));
}

Qt::ItemFlags TileListModel::flags(const QModelIndex& index) const {
  // Tiles are renamed in the item list, not here.
  return ItemListModel::flags(index) & ~Qt::ItemIsEditable;
}

TTilePalette::TTilePalette(render::ImageCache& images, QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("pnlTiles"));
  model_ = new TileListModel([this] { return Tiles(); }, images, this);
  filter_ = new ItemFilterModel(model_, this);
  edtFilter_ = NewFilterEdit(filter_, tr("Filter tiles by name"));
  edtFilter_->setObjectName(QStringLiteral("edtTileFilter"));
  edtFilter_->setAccessibleName(tr("Filter tiles"));
  lvwTiles_ = new QListView;
  lvwTiles_->setObjectName(QStringLiteral("lvwTiles"));
  lvwTiles_->setAccessibleName(tr("Tiles"));
  lvwTiles_->setSelectionMode(QAbstractItemView::SingleSelection);
  lvwTiles_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  lvwTiles_->setUniformItemSizes(true);
  lvwTiles_->setIconSize(QSize(TileListModel::kIconSide, TileListModel::kIconSide));
  lvwTiles_->setModel(filter_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  layout->addWidget(edtFilter_);
  layout->addWidget(lvwTiles_);
  connect(lvwTiles_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) {
            if (current.isValid()) emit TileChosen(Tile());
          });
}

const RecordList* TTilePalette::Tiles() const {
  return level_ ? &level_->List(Category::Tiles) : nullptr;
}

void TTilePalette::ShowLevel(ZR3Level* level) {
  level_ = level;
  Reload();
}

void TTilePalette::Reload() {
  model_->Reload();
}

void TTilePalette::TileChanged(std::size_t position) {
  model_->RowChanged(static_cast<int>(position));
}

ZR3ChainRecord* TTilePalette::Tile() const {
  const RecordList* tiles = Tiles();
  const QModelIndex current = filter_->mapToSource(lvwTiles_->currentIndex());
  if (!tiles || !current.isValid() || static_cast<std::size_t>(current.row()) >= tiles->size()) {
    return nullptr;
  }
  return static_cast<ZR3ChainRecord*>((*tiles)[static_cast<std::size_t>(current.row())].get());
}

void TTilePalette::ChooseTile(const ZR3ChainRecord* tile) {
  const RecordList* tiles = Tiles();
  if (!tile || !tiles) return;
  const auto position = static_cast<std::size_t>(tile->Position());
  if (position >= tiles->size() || (*tiles)[position].get() != tile) return;
  QModelIndex row = filter_->mapFromSource(model_->index(static_cast<int>(position)));
  if (!row.isValid()) {
    edtFilter_->clear();
    row = filter_->mapFromSource(model_->index(static_cast<int>(position)));
  }
  lvwTiles_->setCurrentIndex(row);
  lvwTiles_->scrollTo(row);
}

}  // namespace zr3::ui
