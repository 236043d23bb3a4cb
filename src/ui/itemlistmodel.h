#pragma once

#include <QAbstractListModel>
#include <functional>

#include "level/zr3level.h"

namespace zr3::ui {

// The item list's rows over a category list of the open level. The model keeps no list of
// its own: it asks for the current list on every request, so row i always stands for the
// record at index i, and a list of 65535 records shows without building 65535 items. Only
// the number of rows is kept, so that the views hear of every change in length.
class ItemListModel : public QAbstractListModel {
  Q_OBJECT

 public:
  // source answers the list the item list shows, or nullptr when it shows none.
  explicit ItemListModel(std::function<const RecordList*()> source, QObject* parent = nullptr);

  // Call after the shown list was replaced or refilled.
  void Reload();
  // Call after the record at row was renamed or replaced by another.
  void RowChanged(int row);
  // Call after a record was appended to the shown list.
  void RowAppended();
  // Call after the record at row left the shown list.
  void RowRemoved(int row);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  // A finished caption edit: the model changes nothing itself but reports it as Edited.
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

 signals:
  void Edited(int row, const QString& text);

 private:
  const RecordList* List() const { return source_(); }

  std::function<const RecordList*()> source_;
  int rows_ = 0;
};

}  // namespace zr3::ui
