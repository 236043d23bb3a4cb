#pragma once

#include <QAbstractListModel>
#include <optional>

#include "edit/results.h"

namespace zr3::ui {

// The lines of a search or a check as rows. A line that names a record can be selected and
// followed; headings, empty lines and summaries cannot. The model holds positions, never
// records, so it cannot point into a level that was replaced.
class ResultListModel : public QAbstractListModel {
  Q_OBJECT

 public:
  using QAbstractListModel::QAbstractListModel;

  void SetLines(ResultLines lines);
  void Clear() { SetLines({}); }
  // The record the row's line names.
  std::optional<NamedRecord> RecordAt(int row) const;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  ResultLines lines_;
};

}  // namespace zr3::ui
