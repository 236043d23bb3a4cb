#pragma once

#include <QAbstractListModel>
#include <QSortFilterProxyModel>
#include <array>
#include <functional>
#include <string>

#include "level/zr3level.h"

class QLineEdit;

namespace zr3::ui {

// The record list's rows over a category list of the open level. The model keeps no list of
// its own: it asks for the current list on every request, so row i always stands for the
// record at index i, and a list of 65535 records shows without building 65535 rows of its own. Only
// the number of rows is kept, so that the views hear of every change in length.
class RecordListModel : public QAbstractListModel {
  Q_OBJECT

 public:
  // source answers the list the record list shows, or nullptr when it shows none.
  explicit RecordListModel(std::function<const RecordList*()> source, QObject* parent = nullptr);

  // Call after the shown list was replaced or refilled.
  void Reload();
  // Call after the record at row was renamed or replaced by another.
  void RowChanged(int row);
  // Call after count records were put into the shown list at row.
  void RowsInserted(int row, int count);
  // Call after count records left the shown list at row.
  void RowsRemoved(int row, int count);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  // A finished caption edit: the model changes nothing itself but reports it as Edited.
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

  // The stored name of the record at row (empty past the end).
  const std::string& NameAt(int row) const;

 signals:
  void Edited(int row, const QString& text);

 private:
  const RecordList* List() const { return source_(); }

  std::function<const RecordList*()> source_;
  int rows_ = 0;
};

// The rows of an RecordListModel whose name contains a text, ignoring case. It compares the
// stored names byte by byte through a case table, so that a keystroke on 65535 records builds
// no display strings.
class RecordFilterModel : public QSortFilterProxyModel {
  Q_OBJECT

 public:
  explicit RecordFilterModel(RecordListModel* source, QObject* parent = nullptr);

  // Keeps the rows whose name contains text; all rows for an empty text.
  void SetText(const QString& text);

 protected:
  bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

 private:
  std::array<unsigned char, 256> lower_{};
  std::string needle_;
  RecordListModel* source_;
};

// The text box above a filtered list: its text narrows filter, and a button clears it.
QLineEdit* NewFilterEdit(RecordFilterModel* filter, const QString& placeholder);

}  // namespace zr3::ui
