#include "ui/recordlistmodel.h"

#include <QLineEdit>
#include <algorithm>

#include "document/texts.h"

namespace zr3::ui {

RecordListModel::RecordListModel(std::function<const RecordList*()> source, QObject* parent)
    : QAbstractListModel(parent), source_(std::move(source)) {}

void RecordListModel::Reload() {
  beginResetModel();
  const RecordList* list = List();
  rows_ = list == nullptr ? 0 : static_cast<int>(list->size());
  endResetModel();
}

void RecordListModel::RowChanged(int row) {
  const QModelIndex changed = index(row);
  emit dataChanged(changed, changed, {Qt::DisplayRole, Qt::EditRole});
}

void RecordListModel::RowsInserted(int row, int count) {
  beginInsertRows(QModelIndex(), row, row + count - 1);
  rows_ += count;
  endInsertRows();
}

void RecordListModel::RowsRemoved(int row, int count) {
  beginRemoveRows(QModelIndex(), row, row + count - 1);
  rows_ -= count;
  endRemoveRows();
}

int RecordListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

QVariant RecordListModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
  const RecordList* list = List();
  if (list == nullptr || !index.isValid() || index.row() >= static_cast<int>(list->size())) {
    return {};
  }
  return ToDisplay((*list)[static_cast<std::size_t>(index.row())]->Name());
}

Qt::ItemFlags RecordListModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable | Qt::ItemNeverHasChildren;
}

const std::string& RecordListModel::NameAt(int row) const {
  static const std::string kNone;
  const RecordList* list = List();
  if (list == nullptr || row < 0 || row >= static_cast<int>(list->size())) return kNone;
  return (*list)[static_cast<std::size_t>(row)]->Name();
}

bool RecordListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || !index.isValid() || index.row() >= rowCount()) return false;
  emit Edited(index.row(), value.toString());
  return true;
}

RecordFilterModel::RecordFilterModel(RecordListModel* source, QObject* parent)
    : QSortFilterProxyModel(parent), source_(source) {
  // Each byte of the level's code page folded as its character folds, where the level's text
  // holds the folded character too ('Š' to 'š', 'Ÿ' to 'ÿ').
  for (int byte = 0; byte < 256; ++byte) {
    const std::string folded =
        InspectedBytes(ToDisplay(std::string(1, static_cast<char>(byte))).toCaseFolded());
    lower_[static_cast<std::size_t>(byte)] =
        static_cast<unsigned char>(folded.size() == 1 && folded != "\x7F" ? folded[0] : byte);
  }
  setSourceModel(source);
}

void RecordFilterModel::SetText(const QString& text) {
  std::string needle = InspectedBytes(text.toCaseFolded());
  for (char& c : needle) c = static_cast<char>(lower_[static_cast<unsigned char>(c)]);
  if (needle == needle_) return;
  needle_ = std::move(needle);
  // One layout change for the whole list: a filter change that removed rows range by range
  // would tell the view of thousands of ranges.
  invalidate();
}

bool RecordFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex&) const {
  if (needle_.empty()) return true;
  const std::string& name = source_->NameAt(sourceRow);
  return std::search(
             name.begin(), name.end(), needle_.begin(), needle_.end(), [this](char a, char b) {
               return lower_[static_cast<unsigned char>(a)] == static_cast<unsigned char>(b);
             }) != name.end();
}

QLineEdit* NewFilterEdit(RecordFilterModel* filter, const QString& placeholder) {
  auto* edit = new QLineEdit;
  edit->setPlaceholderText(placeholder);
  edit->setClearButtonEnabled(true);
  QObject::connect(edit, &QLineEdit::textChanged, filter, &RecordFilterModel::SetText);
  return edit;
}

}  // namespace zr3::ui
