#include "ui/tilepalette.h"

#include <QLineEdit>
#include <QListView>
#include <QPixmap>
#include <QVBoxLayout>

#include "level/zr3level.h"

namespace zr3::ui {

TileListModel::TileListModel(std::function<const RecordList*()> tiles, render::ImageCache& images,
                             QObject* parent)
    : RecordListModel(tiles, parent), tiles_(std::move(tiles)), renderer_(images) {
  renderer_.Options().cell = kIconSide;
}

QVariant TileListModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DecorationRole) return RecordListModel::data(index, role);
  const RecordList* tiles = tiles_();
  if (!tiles || !index.isValid() || static_cast<std::size_t>(index.row()) >= tiles->size()) {
    return {};
  }
  const auto& tile = static_cast<const ZR3ChainRecord&>(*(*tiles)[index.row()]);
  return QPixmap::fromImage(renderer_.RenderTile(tile));
}

Qt::ItemFlags TileListModel::flags(const QModelIndex& index) const {
  // Tiles are renamed in the record list, not here.
  return RecordListModel::flags(index) & ~Qt::ItemIsEditable;
}

TilePalette::TilePalette(render::ImageCache& images, QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("tilePalette"));
  model_ = new TileListModel([this] { return Tiles(); }, images, this);
  filter_ = new RecordFilterModel(model_, this);
  filterEdit_ = NewFilterEdit(filter_, tr("Filter tiles by name"));
  filterEdit_->setObjectName(QStringLiteral("tileFilter"));
  filterEdit_->setAccessibleName(tr("Filter tiles"));
  tileList_ = new QListView;
  tileList_->setObjectName(QStringLiteral("tileList"));
  tileList_->setAccessibleName(tr("Tiles"));
  tileList_->setSelectionMode(QAbstractItemView::SingleSelection);
  tileList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tileList_->setUniformItemSizes(true);
  tileList_->setIconSize(QSize(TileListModel::kIconSide, TileListModel::kIconSide));
  tileList_->setModel(filter_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  layout->addWidget(filterEdit_);
  layout->addWidget(tileList_);
  connect(tileList_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) {
            if (current.isValid()) emit TileChosen(Tile());
          });
}

const RecordList* TilePalette::Tiles() const {
  return level_ ? &level_->List(Category::Tiles) : nullptr;
}

void TilePalette::ShowLevel(ZR3Level* level) {
  level_ = level;
  Reload();
}

void TilePalette::Reload() {
  model_->Reload();
}

void TilePalette::TileChanged(std::size_t position) {
  model_->RowChanged(static_cast<int>(position));
}

ZR3ChainRecord* TilePalette::Tile() const {
  const RecordList* tiles = Tiles();
  const QModelIndex current = filter_->mapToSource(tileList_->currentIndex());
  if (!tiles || !current.isValid() || static_cast<std::size_t>(current.row()) >= tiles->size()) {
    return nullptr;
  }
  return static_cast<ZR3ChainRecord*>((*tiles)[static_cast<std::size_t>(current.row())].get());
}

void TilePalette::ChooseTile(const ZR3ChainRecord* tile) {
  const RecordList* tiles = Tiles();
  if (!tile || !tiles) return;
  const auto position = static_cast<std::size_t>(tile->Position());
  if (position >= tiles->size() || (*tiles)[position].get() != tile) return;
  QModelIndex row = filter_->mapFromSource(model_->index(static_cast<int>(position)));
  if (!row.isValid()) {
    filterEdit_->clear();
    row = filter_->mapFromSource(model_->index(static_cast<int>(position)));
  }
  tileList_->setCurrentIndex(row);
  tileList_->scrollTo(row);
}

}  // namespace zr3::ui
