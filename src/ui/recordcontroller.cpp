#include "ui/recordcontroller.h"

#include <QAction>
#include <QClipboard>
#include <QDockWidget>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMainWindow>
#include <QMimeData>
#include <algorithm>

#include "document/leveldocument.h"
#include "document/texts.h"
#include "edit/check.h"
#include "edit/deletion.h"
#include "edit/paste.h"
#include "edit/references.h"
#include "json/json_clip.h"
#include "level/zr3error.h"
#include "ui/busycursor.h"
#include "ui/categoryrows.h"
#include "ui/comparison.h"
#include "ui/mappane.h"
#include "ui/prompt.h"
#include "ui/recordlistmodel.h"
#include "ui/recordviews.h"
#include "ui/resultlistmodel.h"
#include "ui/windowactions.h"

namespace zr3::ui {

namespace {

// How many referrers a refused deletion names; the rest are counted.
constexpr int kRefusalReferrers = 10;
// The clipboard's records exactly, beside the same text as plain text.
const QString kRecordsMimeType = QStringLiteral("application/x-zr3tool-records");

}  // namespace

RecordController::~RecordController() = default;

RecordController::RecordController(LevelDocument& document, Prompt& prompt, RecordViews& views,
                                   const WindowActions& actions, QMainWindow& window,
                                   QDockWidget& resultsDock)
    : QObject(&window),
      document_(document),
      prompt_(prompt),
      views_(views),
      actions_(actions),
      window_(window),
      resultsDock_(resultsDock) {
  categoryList_ = new QListWidget;
  categoryList_->setObjectName(QStringLiteral("categoryList"));
  categoryList_->setAccessibleName(tr("Categories"));
  categoryList_->setSelectionMode(QAbstractItemView::SingleSelection);
  categoryList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  for (const CategoryRow& row : kCategoryRows) {
    auto* item = new QListWidgetItem(ToDisplay(row.caption), categoryList_);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren);
  }

  recordModel_ = new RecordListModel([this] { return ShownList(); }, this);
  recordFilter_ = new RecordFilterModel(recordModel_, this);
  filterEdit_ = NewFilterEdit(recordFilter_, tr("Filter by name (Ctrl+F)"));
  filterEdit_->setObjectName(QStringLiteral("filterEdit"));
  filterEdit_->setAccessibleName(tr("Filter"));
  recordList_ = new QListView;
  recordList_->setObjectName(QStringLiteral("recordList"));
  recordList_->setAccessibleName(tr("Records"));
  // Several records can be selected for Copy Records; the other commands act on the current.
  recordList_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  // A record is renamed by F2, a double-click or Rename, never by a click on the selected row:
  // a slow second click would open the caption editor under the keys meant for the record.
  recordList_->setEditTriggers(QAbstractItemView::DoubleClicked);
  // Every row has the same height, so the view never measures 65535 captions.
  recordList_->setUniformItemSizes(true);
  recordList_->setModel(recordFilter_);
  // Copy, Delete and the moves act on records only while the record list itself has the
  // focus: not in a caption editor, not in the details or a field editor.
  for (QAction* action :
       {actions_.rename, actions_.copy, actions_.copyRecords, actions_.pasteRecords,
        actions_.remove, actions_.moveUp, actions_.moveDown}) {
    action->setShortcutContext(Qt::WidgetShortcut);
    recordList_->addAction(action);
  }

  resultModel_ = new ResultListModel(this);
  resultList_ = new QListView;
  resultList_->setObjectName(QStringLiteral("resultList"));
  resultList_->setAccessibleName(tr("Results"));
  resultList_->setModel(resultModel_);
  resultList_->setUniformItemSizes(true);
  resultList_->setSelectionMode(QAbstractItemView::SingleSelection);
  resultList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  resultList_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  // Enter and a double-click both activate a line.
  connect(resultList_, &QAbstractItemView::activated, this, &RecordController::onResultActivated);

  positionLabel_ = new QLabel;
  positionLabel_->setObjectName(QStringLiteral("positionLabel"));

  connect(categoryList_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [this](const QItemSelection& selected) {
            if (!selected.indexes().isEmpty()) onCategorySelected(selected.indexes().first().row());
          });
  connect(recordList_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [this](const QItemSelection& selected, const QItemSelection& deselected) {
            if (!selected.indexes().isEmpty()) {
              onRecordSelected(PositionOf(selected.indexes().first()), true);
            } else if (!deselected.indexes().isEmpty()) {
              onRecordSelected(PositionOf(deselected.indexes().first()), false);
            }
          });
  connect(recordModel_, &RecordListModel::Edited, this, &RecordController::onRenamed);

  connect(actions_.newRecord, &QAction::triggered, this, &RecordController::onNewRecord);
  connect(actions_.rename, &QAction::triggered, this, &RecordController::onRename);
  connect(actions_.copy, &QAction::triggered, this, &RecordController::onCopy);
  connect(actions_.copyRecords, &QAction::triggered, this, &RecordController::onCopyRecords);
  connect(actions_.pasteRecords, &QAction::triggered, this, &RecordController::onPasteRecords);
  connect(actions_.remove, &QAction::triggered, this, &RecordController::onDelete);
  connect(actions_.moveUp, &QAction::triggered, this, &RecordController::onMoveUp);
  connect(actions_.moveDown, &QAction::triggered, this, &RecordController::onMoveDown);
  connect(actions_.find, &QAction::triggered, this, &RecordController::onFind);
  connect(actions_.checkLevel, &QAction::triggered, this, &RecordController::onCheckLevel);
  connect(actions_.compareWith, &QAction::triggered, this, &RecordController::onCompareWith);
  connect(actions_.filter, &QAction::triggered, this, &RecordController::onFocusFilter);

  connect(&document_, &LevelDocument::levelReplaced, this, &RecordController::onLevelReplaced);
  connect(&document_, &LevelDocument::recordsInserted, this, &RecordController::onRecordsInserted);
  connect(&document_, &LevelDocument::recordsRemoved, this, &RecordController::onRecordsRemoved);
  connect(&document_, &LevelDocument::recordMoved, this, &RecordController::onRecordMoved);
  connect(&document_, &LevelDocument::recordRenamed, this,
          [this](Category category, std::size_t index) {
            onRecordChanged({category, index});
          });
  connect(&document_, &LevelDocument::fieldsChanged, this, &RecordController::onRecordChanged);
  connect(&document_, &LevelDocument::stepped, this, [this](const FieldOwner& record) {
    ShowRecord(NamedRecord{record.category, record.index});
  });

  // The first category is chosen from the start; it shows once a level is open.
  categoryList_->setCurrentRow(kGeneralRow);
  categoryList_->setEnabled(false);
  UpdateActions();
}

const zr3::RecordList* RecordController::ShownList() const {
  if (!category_ || !document_.Loaded()) return nullptr;
  return &document_.Level()->List(*category_);
}

bool RecordController::FixedTable() const {
  return category_ && IsFixedTable(*category_);
}

int RecordController::SelectedCategoryRow() const {
  const QModelIndexList rows = categoryList_->selectionModel()->selectedIndexes();
  return rows.isEmpty() ? -1 : rows.first().row();
}

int RecordController::SelectedRecord() const {
  if (!category_) return -1;
  const QItemSelectionModel* selection = recordList_->selectionModel();
  if (selection->isSelected(recordList_->currentIndex())) {
    return PositionOf(recordList_->currentIndex());
  }
  const QModelIndexList rows = selection->selectedIndexes();
  return rows.isEmpty() ? -1 : PositionOf(rows.first());
}

std::vector<std::size_t> RecordController::SelectedRecords() const {
  std::vector<std::size_t> positions;
  if (!category_) return positions;
  for (const QModelIndex& row : recordList_->selectionModel()->selectedIndexes()) {
    const int position = PositionOf(row);
    if (position >= 0) positions.push_back(static_cast<std::size_t>(position));
  }
  std::sort(positions.begin(), positions.end());
  return positions;
}

QModelIndex RecordController::ViewIndex(int position) const {
  return recordFilter_->mapFromSource(recordModel_->index(position));
}

int RecordController::PositionOf(const QModelIndex& index) const {
  return index.isValid() ? recordFilter_->mapToSource(index).row() : -1;
}

void RecordController::onLevelReplaced() {
  ClearResults();
  category_.reset();
  recordModel_->Reload();
  categoryList_->setEnabled(document_.Loaded());
  // The category chosen before shows the new level's records.
  if (document_.Loaded() && SelectedCategoryRow() >= 0) onCategorySelected(SelectedCategoryRow());
  UpdateActions();
}

void RecordController::onCategorySelected(int row) {
  if (!document_.Loaded()) return;
  category_ = CategoryOfRow(row);
  recordModel_->Reload();
  UpdateActions();
  if (!category_) {
    views_.Show(FieldOwner{});
    return;
  }
  if (recordFilter_->rowCount() > 0) {
    recordList_->setCurrentIndex(recordFilter_->index(0, 0));
  } else {
    views_.Clear();
  }
}

void RecordController::onRecordSelected(int position, bool selected) {
  if (updating_) return;
  UpdateActions();
  const zr3::RecordList* list = ShownList();
  if (!selected || list == nullptr || position < 0 ||
      static_cast<std::size_t>(position) >= list->size()) {
    return;
  }
  views_.Show(FieldOwner{category_, static_cast<std::size_t>(position)});
}

void RecordController::UpdateActions() {
  const zr3::RecordList* list = ShownList();
  const int position = SelectedRecord();
  const bool selected = list != nullptr && position >= 0;
  const bool editable = selected && !FixedTable();
  actions_.newRecord->setEnabled(list != nullptr && !FixedTable());
  actions_.rename->setEnabled(selected);
  actions_.copy->setEnabled(editable);
  actions_.copyRecords->setEnabled(editable);
  actions_.pasteRecords->setEnabled(document_.Loaded());
  actions_.remove->setEnabled(editable && list->size() >= 2);
  actions_.moveUp->setEnabled(editable);
  actions_.moveDown->setEnabled(editable);
  actions_.find->setEnabled(selected);
  positionLabel_->setText(selected ? tr("Record %1 of %2").arg(position + 1).arg(list->size())
                                   : QString());
}

void RecordController::SelectRecordRow(int position, bool showThrough) {
  QModelIndex index = ViewIndex(position);
  if (!index.isValid() && showThrough && recordModel_->index(position).isValid()) {
    filterEdit_->clear();
    index = ViewIndex(position);
  }
  if (!index.isValid()) {
    recordList_->selectionModel()->clear();
    views_.Clear();
    UpdateActions();
    return;
  }
  if (recordList_->selectionModel()->isSelected(index)) {
    // Selecting it again would change nothing; show it in place of what the tabs show now.
    onRecordSelected(position, true);
  } else {
    recordList_->setCurrentIndex(index);
  }
  recordList_->scrollTo(index);
}

bool RecordController::ShowRecord(const NamedRecord& record) {
  if (!document_.Loaded()) return false;
  const int row = RowOfCategory(record.category);
  if (row != kGeneralRow && record.index >= document_.Level()->List(*CategoryOfRow(row)).size()) {
    return false;
  }
  if (SelectedCategoryRow() != row) {
    categoryList_->setCurrentRow(row);
  } else if (row == kGeneralRow) {
    // Already chosen: show the level information again in place of what the tabs show.
    views_.Show(FieldOwner{});
  }
  if (row != kGeneralRow) SelectRecordRow(static_cast<int>(record.index), true);
  return true;
}

void RecordController::onRecordsInserted(Category category, std::size_t index, std::size_t count) {
  // Records added at the end move no other record: every result still names its record.
  if (index + count < document_.Level()->List(category).size()) ClearResults();
  if (category != category_) return;
  recordModel_->RowsInserted(static_cast<int>(index), static_cast<int>(count));
  UpdateActions();
}

void RecordController::onRecordsRemoved(Category category, std::size_t index, std::size_t count) {
  ClearResults();
  if (category != category_) return;
  const int selected = SelectedRecord();
  const int first = static_cast<int>(index);
  const int removed = static_cast<int>(count);
  // The view would move the selection to a row it has not yet learnt is another record:
  // nothing is selected while the rows go.
  updating_ = true;
  recordList_->selectionModel()->clear();
  recordModel_->RowsRemoved(first, removed);
  updating_ = false;
  const int rows = recordModel_->rowCount();
  int next = -1;
  if (selected >= first + removed) {
    next = selected - removed;
  } else if (selected >= first) {
    // The record that took the removed one's place, or the new last one.
    next = std::min(first, rows - 1);
  } else {
    next = selected;
  }
  if (next >= 0) {
    SelectRecordRow(next, false);
  } else {
    views_.Clear();
    UpdateActions();
  }
}

void RecordController::onRecordMoved(Category category, std::size_t from, std::size_t to) {
  ClearResults();
  if (category != category_) return;
  const int selected = SelectedRecord();
  recordModel_->RowChanged(static_cast<int>(from));
  recordModel_->RowChanged(static_cast<int>(to));
  // The selection follows the record that moved.
  if (selected == static_cast<int>(from)) {
    SelectRecordRow(static_cast<int>(to), false);
  } else if (selected == static_cast<int>(to)) {
    SelectRecordRow(static_cast<int>(from), false);
  }
}

void RecordController::onRecordChanged(const FieldOwner& owner) {
  // The name shows in the record list.
  if (owner.category && owner.category == category_) {
    recordModel_->RowChanged(static_cast<int>(owner.index));
  }
}

void RecordController::onRenamed(int position, const QString& text) {
  if (!category_ || position < 0 || position >= recordModel_->rowCount()) return;
  std::string name;
  try {
    name = FromDisplay(text);
  } catch (const ZR3Error& error) {
    ShowError(prompt_, MessageText(error));
    return;
  }
  document_.Rename(*category_, static_cast<std::size_t>(position), name);
}

void RecordController::ShowResults(ResultLines lines) {
  views_.ShowLines(TextOf(lines));
  ListResults(std::move(lines));
}

void RecordController::ListResults(ResultLines lines) {
  EndComparison();
  resultModel_->SetLines(std::move(lines));
  if (!resultsDock_.isHidden()) return;
  resultsDock_.show();
  // Enough for a few lines, leaving the lists and the details most of the window.
  window_.resizeDocks({&resultsDock_}, {window_.height() / 4}, Qt::Vertical);
}

void RecordController::ClearResults() {
  EndComparison();
  resultModel_->Clear();
  resultsDock_.hide();
}

void RecordController::onResultActivated(const QModelIndex& index) {
  if (const std::optional<NamedRecord> record = resultModel_->RecordAt(index.row())) {
    ShowRecord(*record);
  }
  if (const std::optional<MapCell> cell =
          comparison_ ? comparison_->CellAt(static_cast<std::size_t>(index.row())) : std::nullopt) {
    views_.setCurrentWidget(views_.MapTab());
    views_.MapTab()->View()->SelectCell(cell);
  }
}

void RecordController::onCompareWith() {
  if (!document_.Loaded()) return;
  const QString path = prompt_.OpenFile({.name = QStringLiteral("dlgCompare"),
                                         .title = tr("Compare With"),
                                         .filter = tr("ZR3 Level Files (*.zr3)"),
                                         .folder = QFileInfo(document_.FilePath()).absolutePath()});
  if (path.isEmpty()) return;
  try {
    BusyCursor busy;
    ZR3Level older;
    older.Load(ToNativePath(path));
    auto comparison = std::make_unique<Comparison>(older, *document_.Level());
    ListResults(comparison->Lines());
    comparison_ = std::move(comparison);
    views_.MapTab()->View()->SetOutline(
        [this](std::size_t map) { return comparison_ ? comparison_->ChangedCells(map) : nullptr; });
  } catch (const std::exception& e) {
    ShowError(prompt_, MessageText(e));
  }
}

void RecordController::EndComparison() {
  if (!comparison_) return;
  comparison_.reset();
  views_.MapTab()->View()->SetOutline({});
}

void RecordController::Move(MoveDirection direction) {
  const int position = SelectedRecord();
  if (position < 0) return;
  document_.Move(*category_, static_cast<std::size_t>(position), direction);
}

void RecordController::onMoveUp() {
  Move(MoveDirection::Up);
}

void RecordController::onMoveDown() {
  Move(MoveDirection::Down);
}

void RecordController::onNewRecord() {
  if (ShownList() == nullptr || FixedTable()) return;
  const int selected = SelectedRecord();
  const std::size_t position =
      selected < 0 ? ShownList()->size() : static_cast<std::size_t>(selected) + 1;
  const QString refusal = document_.AddRecord(*category_, position);
  if (!refusal.isEmpty()) {
    ShowError(prompt_, refusal);
    return;
  }
  SelectRecordRow(static_cast<int>(position), true);
  recordList_->setFocus();
}

void RecordController::onRename() {
  const QModelIndex current = recordList_->currentIndex();
  if (SelectedRecord() < 0 || !current.isValid()) return;
  recordList_->setFocus();
  recordList_->edit(current);
}

void RecordController::onCopy() {
  const int position = SelectedRecord();
  if (position < 0) return;
  Category target = *category_;
  if (IsScriptCategory(target)) {
    const std::optional<int> kind = prompt_.CopyScriptTarget(ScriptKindOf(target));
    if (!kind) return;
    target = ScriptCategoryOfKind(*kind);
  }
  QString refusal;
  {
    BusyCursor busy;
    refusal = document_.Copy(*category_, static_cast<std::size_t>(position), target);
  }
  // The copy goes to the end of its list; the selection stays on the record copied.
  if (!refusal.isEmpty()) ShowError(prompt_, refusal);
}

void RecordController::onCopyRecords() {
  if (FixedTable()) return;
  std::vector<NamedRecord> records;
  for (const std::size_t position : SelectedRecords()) records.push_back({category_, position});
  if (records.empty()) return;
  const QByteArray json = QByteArray::fromStdString(json::RecordsJson(*document_.Level(), records));
  auto* data = new QMimeData;
  data->setData(kRecordsMimeType, json);
  data->setText(QString::fromUtf8(json));
  QGuiApplication::clipboard()->setMimeData(data);
}

void RecordController::onPasteRecords() {
  if (!document_.Loaded()) return;
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  // Records put on the clipboard by hand, in a text editor, paste as well.
  const QByteArray json = data == nullptr                     ? QByteArray()
                          : data->hasFormat(kRecordsMimeType) ? data->data(kRecordsMimeType)
                                                              : data->text().toUtf8();
  if (json.trimmed().isEmpty()) {
    ShowError(prompt_, tr("The clipboard holds no records."));
    return;
  }
  std::optional<NamedRecord> after;
  if (const int position = SelectedRecord(); position >= 0) {
    after = NamedRecord{category_, static_cast<std::size_t>(position)};
  }
  std::vector<UnresolvedReference> unresolved;
  QString refusal;
  {
    BusyCursor busy;
    refusal = document_.Paste(json.toStdString(), after, unresolved);
  }
  if (!refusal.isEmpty()) {
    ShowError(prompt_, tr("The records cannot be pasted:\n%1").arg(refusal));
  } else if (!unresolved.empty()) {
    ListResults(UnresolvedLines(*document_.Level(), unresolved));
  }
}

void RecordController::onFind() {
  const int position = SelectedRecord();
  if (position < 0) return;
  BusyCursor busy;
  ShowResults(FindReferences(*document_.Level(), *category_, static_cast<std::size_t>(position)));
}

void RecordController::onCheckLevel() {
  if (!document_.Loaded()) return;
  BusyCursor busy;
  ShowResults(FindLevelProblems(*document_.Level()).lines);
}

void RecordController::onFocusFilter() {
  filterEdit_->setFocus(Qt::ShortcutFocusReason);
  filterEdit_->selectAll();
}

void RecordController::onDelete() {
  const int position = SelectedRecord();
  if (position < 0) return;
  const auto index = static_cast<std::size_t>(position);
  const ZR3Level& level = *document_.Level();
  const DeletionCheck check = CheckDeletion(level, *category_, index);
  if (!check.Allowed()) {
    QStringList referrers;
    if (!check.referrer.empty()) {
      ResultLines found = FindReferences(level, *category_, index);
      // The referrers follow the heading and the empty line.
      const int count = static_cast<int>(found.size()) - 2;
      for (int i = 0; i < std::min(count, kRefusalReferrers); ++i) {
        referrers << ToDisplay(found[static_cast<std::size_t>(i) + 2].text);
      }
      if (count > kRefusalReferrers) referrers << tr("and %1 more").arg(count - kRefusalReferrers);
      // Listed where they can be followed once the message is closed; the details keep
      // showing the record.
      ListResults(std::move(found));
    }
    prompt_.Ask(QMessageBox::Warning, tr("Delete"), ToDisplay(check.refusal), QMessageBox::Ok,
                referrers);
    return;
  }
  if (prompt_.Ask(QMessageBox::Question, tr("Delete"), ToDisplay(check.confirmation),
                  QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok) {
    return;
  }
  const QString refusal = document_.Delete(*category_, index);
  if (!refusal.isEmpty()) ShowError(prompt_, refusal);
}

}  // namespace zr3::ui
