#pragma once

#include <QWidget>

#include "render/map_renderer.h"
#include "ui/recordlistmodel.h"

class QLineEdit;
class QListView;

namespace zr3 {
class ZR3ChainRecord;
}

namespace zr3::ui {

// The rows of the level's tile list, each with the tile's picture.
class TileListModel : public RecordListModel {
  Q_OBJECT

 public:
  static constexpr int kIconSide = 24;

  // images must outlive the model.
  TileListModel(std::function<const RecordList*()> tiles, render::ImageCache& images,
                QObject* parent = nullptr);
  QVariant data(const QModelIndex& index, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  std::function<const RecordList*()> tiles_;
  render::MapRenderer renderer_;
};

// The tile palette: the level's tiles with their pictures, filtered by name, one of them
// chosen to paint with.
class TilePalette : public QWidget {
  Q_OBJECT

 public:
  // images must outlive the palette.
  explicit TilePalette(render::ImageCache& images, QWidget* parent = nullptr);

  // Shows the tiles of the level, or none.
  void ShowLevel(ZR3Level* level);
  // The tile list changed its length or order, or a tile its name or picture.
  void Reload();
  void TileChanged(std::size_t position);

  // The chosen tile, or none.
  ZR3ChainRecord* Tile() const;
  // Chooses a tile of the shown level, clearing a filter that hides it.
  void ChooseTile(const ZR3ChainRecord* tile);

  QLineEdit* Filter() const { return filterEdit_; }
  QListView* List() const { return tileList_; }

 signals:
  // The user chose a tile, in the list or by picking it on a map.
  void TileChosen(zr3::ZR3ChainRecord* tile);

 private:
  const RecordList* Tiles() const;

  ZR3Level* level_ = nullptr;
  TileListModel* model_ = nullptr;
  RecordFilterModel* filter_ = nullptr;
  QLineEdit* filterEdit_ = nullptr;
  QListView* tileList_ = nullptr;
};

}  // namespace zr3::ui
