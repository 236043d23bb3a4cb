#pragma once

#include <QAbstractTableModel>
#include <QObject>
#include <cstddef>
#include <optional>
#include <vector>

#include "merge/conflict_resolution.h"

class QAction;
class QDockWidget;
class QLabel;
class QListView;
class QTableView;
class QWidget;

namespace zr3 {
class ConflictList;
class LevelDocument;
}  // namespace zr3

namespace zr3::ui {

class Prompt;
class RecordController;
class RecordViews;

// The unresolved merge conflicts as rows: category, record, place, and the base, ours and
// theirs values.
class ConflictTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum Column { CategoryColumn, RecordColumn, PlaceColumn, BaseColumn, OursColumn, TheirsColumn };
  explicit ConflictTableModel(const ConflictList& conflicts, QObject* parent = nullptr);

  // Takes the list's entries again.
  void Reload();
  // The entry of the conflict list the row shows.
  std::optional<std::size_t> EntryAt(int row) const;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  const ConflictList& conflicts_;
  std::vector<std::size_t> rows_;
};

// Lists the level's merge conflicts above the results in the Results dock while any is left:
// following one selects its record (and a cell's place on the Map tab), and Take Ours, Take
// Theirs and Take Base (buttons and the context menu) resolve the selected one as a step of
// the history.
class ConflictController : public QObject {
  Q_OBJECT

 public:
  ConflictController(LevelDocument& document, Prompt& prompt, RecordController& records,
                     RecordViews& views, QDockWidget& resultsDock);

  // What the Results dock holds: the conflicts above the result list.
  QWidget* DockContent(QListView* resultList);
  QTableView* Table() const { return table_; }
  QAction* TakeAction(merge::ConflictSide side) const;

  // Resolves the conflict of the selected row with the side's value.
  void Take(merge::ConflictSide side);

 private:
  void onConflictsChanged();
  void onActivated(const QModelIndex& index);
  void UpdateActions();
  // The Results dock stays open while conflicts are left, whatever the results do.
  void KeepShown();

  LevelDocument& document_;
  Prompt& prompt_;
  RecordController& records_;
  RecordViews& views_;
  QDockWidget& resultsDock_;
  ConflictTableModel* model_;
  QWidget* panel_ = nullptr;
  QLabel* summary_ = nullptr;
  QTableView* table_ = nullptr;
  QListView* resultList_ = nullptr;
  QAction* ours_ = nullptr;
  QAction* theirs_ = nullptr;
  QAction* base_ = nullptr;
};

}  // namespace zr3::ui
