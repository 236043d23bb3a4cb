#pragma once

#include <QObject>
#include <memory>
#include <optional>
#include <vector>

#include "edit/field_edit.h"
#include "edit/reorder.h"
#include "edit/results.h"
#include "level/zr3level.h"

class QDockWidget;
class QLabel;
class QLineEdit;
class QListView;
class QListWidget;
class QMainWindow;
class QModelIndex;

namespace zr3 {
class LevelDocument;
}

namespace zr3::ui {

class Prompt;
class RecordFilterModel;
class RecordListModel;
class RecordViews;
class Comparison;
class ResultListModel;
struct WindowActions;

// Browses the level and runs the commands on its records: the category list, the record list
// with its name filter, the results of a search or check, and Copy, Delete, the moves, Find,
// Check Level and renaming. The lists follow the document's signals: a command only asks the
// document for the change.
class RecordController : public QObject {
  Q_OBJECT

 public:
  RecordController(LevelDocument& document, Prompt& prompt, RecordViews& views,
                   const WindowActions& actions, QMainWindow& window, QDockWidget& resultsDock);
  ~RecordController() override;

  QListWidget* CategoryList() const { return categoryList_; }
  QListView* RecordList() const { return recordList_; }
  QLineEdit* FilterEdit() const { return filterEdit_; }
  QListView* ResultList() const { return resultList_; }
  QLabel* PositionLabel() const { return positionLabel_; }

  // The list the record list shows; none for "General" and before the first choice.
  std::optional<Category> ShownCategory() const { return category_; }
  bool FixedTable() const;
  // The selected category row, and the position in the shown list of the selected record;
  // -1 when none is selected.
  int SelectedCategoryRow() const;
  int SelectedRecord() const;
  // The positions of every selected record of the shown list, in list order.
  std::vector<std::size_t> SelectedRecords() const;

  // Selects the record's category and row, clearing the name filter when it hides the row,
  // and scrolls to it; false when the level has no such record.
  bool ShowRecord(const NamedRecord& record);
  // Writes the lines in the Details tab and lists them, followable, under Results.
  void ShowResults(ResultLines lines);
  // Lists lines under Results only.
  void ListResults(ResultLines lines);
  // Results name records by position; they go when positions change.
  void ClearResults();

  // A new record after the selected one (at the start of an empty list), selected.
  void onNewRecord();
  // Opens the caption editor of the selected record.
  void onRename();
  void onCopy();
  // The selected records to the clipboard, as the level's JSON form as well.
  void onCopyRecords();
  // The clipboard's records behind the selected one, or at the ends of their lists; the
  // references left unresolved are listed under Results.
  void onPasteRecords();
  void onDelete();
  void onMoveUp();
  void onMoveDown();
  void onFind();
  void onCheckLevel();
  // File > Compare With...: the differences from another version of the level, under Results.
  void onCompareWith();
  void onFocusFilter();

 private:
  void onCategorySelected(int row);
  void onRecordSelected(int position, bool selected);
  void onRenamed(int position, const QString& text);
  void onResultActivated(const QModelIndex& index);
  void onLevelReplaced();
  void onRecordsInserted(Category category, std::size_t index, std::size_t count);
  void onRecordsRemoved(Category category, std::size_t index, std::size_t count);
  void onRecordMoved(Category category, std::size_t from, std::size_t to);
  void onRecordChanged(const FieldOwner& owner);
  void Move(MoveDirection direction);
  // Selects the record at position of the shown list; a row the filter hides is shown by
  // clearing the filter when showThrough, else nothing is selected.
  void SelectRecordRow(int position, bool showThrough);
  void UpdateActions();
  // Ends a comparison: the outline of its changed cells goes with its lines.
  void EndComparison();
  // The one place where a row of the record list view and a position in the shown list are
  // turned into each other.
  QModelIndex ViewIndex(int position) const;
  int PositionOf(const QModelIndex& index) const;
  const zr3::RecordList* ShownList() const;

  LevelDocument& document_;
  Prompt& prompt_;
  RecordViews& views_;
  const WindowActions& actions_;
  QMainWindow& window_;
  QDockWidget& resultsDock_;
  // The comparison the Results list shows, while it does.
  std::unique_ptr<Comparison> comparison_;
  std::optional<Category> category_;
  // While the lists are brought up to date, selection changes are not the user's choices.
  bool updating_ = false;

  QListWidget* categoryList_ = nullptr;
  QListView* recordList_ = nullptr;
  RecordListModel* recordModel_ = nullptr;
  RecordFilterModel* recordFilter_ = nullptr;
  QLineEdit* filterEdit_ = nullptr;
  QListView* resultList_ = nullptr;
  ResultListModel* resultModel_ = nullptr;
  QLabel* positionLabel_ = nullptr;
};

}  // namespace zr3::ui
