#include "ui/resultlistmodel.h"

#include "document/texts.h"

namespace zr3::ui {

void ResultListModel::SetLines(ResultLines lines) {
  beginResetModel();
  lines_ = std::move(lines);
  endResetModel();
}

std::optional<NamedRecord> ResultListModel::RecordAt(int row) const {
  if (row < 0 || row >= rowCount()) return std::nullopt;
  return lines_[static_cast<std::size_t>(row)].record;
}

int ResultListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(lines_.size());
}

QVariant ResultListModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount()) return {};
  return ToDisplay(lines_[static_cast<std::size_t>(index.row())].text);
}

Qt::ItemFlags ResultListModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  if (!RecordAt(index.row())) return Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
  return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
}

}  // namespace zr3::ui
