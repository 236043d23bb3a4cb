#include "ui/itemlistmodel.h"

#include "ui/texts.h"

namespace zr3::ui {

ItemListModel::ItemListModel(std::function<const RecordList*()> source, QObject* parent)
    : QAbstractListModel(parent), source_(std::move(source)) {}

void ItemListModel::Reload() {
  beginResetModel();
  const RecordList* list = List();
  rows_ = list == nullptr ? 0 : static_cast<int>(list->size());
  endResetModel();
}

void ItemListModel::RowChanged(int row) {
  const QModelIndex changed = index(row);
  emit dataChanged(changed, changed, {Qt::DisplayRole, Qt::EditRole});
}

void ItemListModel::RowAppended() {
  beginInsertRows(QModelIndex(), rows_, rows_);
  ++rows_;
  endInsertRows();
}

void ItemListModel::RowRemoved(int row) {
  beginRemoveRows(QModelIndex(), row, row);
  --rows_;
  endRemoveRows();
}

int ItemListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

QVariant ItemListModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
  const RecordList* list = List();
  if (list == nullptr || !index.isValid() || index.row() >= static_cast<int>(list->size())) {
    return {};
  }
  return ToDisplay((*list)[static_cast<std::size_t>(index.row())]->Name());
}

Qt::ItemFlags ItemListModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable | Qt::ItemNeverHasChildren;
}

bool ItemListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || !index.isValid() || index.row() >= rowCount()) return false;
  emit Edited(index.row(), value.toString());
  return true;
}

}  // namespace zr3::ui
