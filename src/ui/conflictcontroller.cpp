#include "ui/conflictcontroller.h"

#include <QAction>
#include <QDockWidget>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListView>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "document/conflictlist.h"
#include "document/leveldocument.h"
#include "document/texts.h"
#include "ui/mappane.h"
#include "ui/mapview.h"
#include "ui/prompt.h"
#include "ui/recordcontroller.h"
#include "ui/recordviews.h"

namespace zr3::ui {

namespace {

using merge::ConflictSide;

// The longest value a cell shows; the tooltip holds the whole.
constexpr int kShownValue = 60;

QString ValueText(const std::string& json) {
  const std::string shown = merge::ShownValue(json);
  const QString text = QString::fromUtf8(shown.data(), static_cast<qsizetype>(shown.size()));
  return text.size() <= kShownValue ? text : text.left(kShownValue - 1) + QChar(0x2026);
}

QString PlaceText(const merge::ConflictPlace& place) {
  if (!place.field.empty()) return ToDisplay(place.field);
  if (place.cell) {
    return QObject::tr("layer %1, row %2, column %3")
        .arg(place.cell->layer)
        .arg(place.cell->row)
        .arg(place.cell->column);
  }
  if (place.colour) return QObject::tr("colour %1").arg(*place.colour);
  return QObject::tr("whole record");
}

QString KindText(merge::ConflictKind kind) {
  switch (kind) {
    case merge::ConflictKind::ChangedOnBoth:
      return QObject::tr("Changed differently on both sides");
    case merge::ConflictKind::DeletedAndChanged:
      return QObject::tr("Deleted on one side and changed on the other");
    case merge::ConflictKind::DeletedAndReferenced:
      break;
  }
  return QObject::tr("Deleted on one side and newly referred to on the other");
}

}  // namespace

ConflictTableModel::ConflictTableModel(const ConflictList& conflicts, QObject* parent)
    : QAbstractTableModel(parent), conflicts_(conflicts) {}

void ConflictTableModel::Reload() {
  beginResetModel();
  rows_.clear();
  const auto& entries = conflicts_.Entries();
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (!entries[i].resolved) rows_.push_back(i);
  }
  endResetModel();
}

std::optional<std::size_t> ConflictTableModel::EntryAt(int row) const {
  if (row < 0 || row >= rowCount()) return std::nullopt;
  return rows_[static_cast<std::size_t>(row)];
}

int ConflictTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ConflictTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : TheirsColumn + 1;
}

QVariant ConflictTableModel::data(const QModelIndex& index, int role) const {
  const std::optional<std::size_t> entry = EntryAt(index.row());
  if (!entry || (role != Qt::DisplayRole && role != Qt::ToolTipRole)) return {};
  const ConflictList::Entry& shown = conflicts_.Entries()[*entry];
  const merge::MergeConflict& conflict = shown.conflict;
  switch (index.column()) {
    case CategoryColumn:
      return conflict.category ? ToDisplay(InfoOf(*conflict.category).sectionName) : tr("General");
    case RecordColumn: {
      if (!conflict.category) return tr("Level information");
      QString record = QStringLiteral("%1: %2").arg(conflict.index).arg(ToDisplay(conflict.name));
      if (shown.lost) record += tr(" (deleted)");
      if (!merge::RecordPresent(conflict)) record += tr(" (not in the level)");
      return record;
    }
    case PlaceColumn:
      return role == Qt::ToolTipRole ? KindText(conflict.kind) : PlaceText(conflict.place);
    default: {
      const auto side = static_cast<ConflictSide>(index.column() - BaseColumn);
      const std::string& value = merge::ValueOf(conflict, side);
      return role == Qt::ToolTipRole
                 ? QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size()))
                 : ValueText(value);
    }
  }
}

QVariant ConflictTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  switch (section) {
    case CategoryColumn:
      return tr("Category");
    case RecordColumn:
      return tr("Record");
    case PlaceColumn:
      return tr("Field, cell or colour");
    case BaseColumn:
      return tr("Base");
    case OursColumn:
      return tr("Ours");
    default:
      return tr("Theirs");
  }
}

ConflictController::ConflictController(LevelDocument& document, Prompt& prompt,
                                       RecordController& records, RecordViews& views,
                                       QDockWidget& resultsDock)
    : QObject(nullptr),
      document_(document),
      prompt_(prompt),
      records_(records),
      views_(views),
      resultsDock_(resultsDock),
      model_(new ConflictTableModel(document.Conflicts(), this)) {
  table_ = new QTableView;
  table_->setObjectName(QStringLiteral("conflictTable"));
  table_->setAccessibleName(tr("Merge conflicts"));
  table_->setModel(model_);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setSelectionMode(QAbstractItemView::SingleSelection);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->verticalHeader()->hide();
  table_->setWordWrap(false);
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->setContextMenuPolicy(Qt::ActionsContextMenu);
  // Enter and a double-click follow a conflict to its record.
  connect(table_, &QAbstractItemView::activated, this, &ConflictController::onActivated);

  const auto addTake = [this](const char* name, const QString& text, ConflictSide side) {
    auto* action = new QAction(text, this);
    action->setObjectName(QLatin1String(name));
    connect(action, &QAction::triggered, this, [this, side] { Take(side); });
    table_->addAction(action);
    return action;
  };
  ours_ = addTake("actionTakeOurs", tr("Take Ours"), ConflictSide::Ours);
  theirs_ = addTake("actionTakeTheirs", tr("Take Theirs"), ConflictSide::Theirs);
  base_ = addTake("actionTakeBase", tr("Take Base"), ConflictSide::Base);
  connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          &ConflictController::UpdateActions);

  summary_ = new QLabel;
  summary_->setObjectName(QStringLiteral("conflictSummary"));
  summary_->setWordWrap(true);
  auto* buttons = new QHBoxLayout;
  buttons->setContentsMargins(0, 0, 0, 0);
  buttons->addWidget(summary_, 1);
  for (QAction* action : {ours_, theirs_, base_}) {
    auto* button = new QToolButton;
    button->setDefaultAction(action);
    buttons->addWidget(button);
  }
  panel_ = new QWidget;
  panel_->setObjectName(QStringLiteral("conflictPanel"));
  auto* layout = new QVBoxLayout(panel_);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  layout->addLayout(buttons);
  layout->addWidget(table_);
  panel_->hide();

  connect(&document.Conflicts(), &ConflictList::changed, this,
          &ConflictController::onConflictsChanged);
  // After the record controller, which closes the results when records move.
  for (const auto signal : {&LevelDocument::recordsInserted, &LevelDocument::recordsRemoved}) {
    connect(&document, signal, this, &ConflictController::KeepShown);
  }
  connect(&document, &LevelDocument::recordMoved, this, &ConflictController::KeepShown);
  connect(&document, &LevelDocument::levelReplaced, this, &ConflictController::KeepShown);
  UpdateActions();
  // It goes with its widgets, which go with the window's docks before the document.
  setParent(panel_);
}

QWidget* ConflictController::DockContent(QListView* resultList) {
  resultList_ = resultList;
  auto* content = new QWidget;
  content->setObjectName(QStringLiteral("resultsPanel"));
  auto* layout = new QVBoxLayout(content);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  layout->addWidget(panel_, 2);
  layout->addWidget(resultList, 1);
  // While conflicts are listed, an empty result list takes no room.
  const auto showResults = [this] {
    resultList_->setVisible(panel_->isHidden() || resultList_->model()->rowCount() > 0);
  };
  connect(resultList->model(), &QAbstractItemModel::modelReset, this, showResults);
  connect(&document_.Conflicts(), &ConflictList::changed, this, showResults);
  return content;
}

QAction* ConflictController::TakeAction(ConflictSide side) const {
  switch (side) {
    case ConflictSide::Ours:
      return ours_;
    case ConflictSide::Theirs:
      return theirs_;
    case ConflictSide::Base:
      break;
  }
  return base_;
}

void ConflictController::onConflictsChanged() {
  const ConflictList& conflicts = document_.Conflicts();
  const int row = table_->currentIndex().row();
  model_->Reload();
  table_->resizeColumnsToContents();
  const std::size_t left = conflicts.UnresolvedCount();
  const QString file = QFileInfo(conflicts.FilePath()).fileName();
  if (!conflicts.LoadError().isEmpty()) {
    summary_->setText(
        tr("The merge's conflicts file cannot be read: %1").arg(conflicts.LoadError()));
  } else if (left > 0) {
    const QString count =
        left == 1 ? tr("1 merge conflict left") : tr("%1 merge conflicts left").arg(left);
    summary_->setText(
        tr("%1 (%2): take ours, theirs or base for each, then save.").arg(count, file));
  }
  panel_->setVisible(left > 0 || !conflicts.LoadError().isEmpty());
  // The next conflict is at hand after one is resolved.
  if (model_->rowCount() > 0 && row >= 0) {
    table_->setCurrentIndex(model_->index(std::min(row, model_->rowCount() - 1), 0));
  }
  KeepShown();
  UpdateActions();
}

void ConflictController::KeepShown() {
  if (!panel_->isHidden()) resultsDock_.show();
}

void ConflictController::UpdateActions() {
  const bool chosen = model_->EntryAt(table_->currentIndex().row()).has_value() &&
                      table_->selectionModel()->hasSelection();
  for (QAction* action : {ours_, theirs_, base_}) action->setEnabled(chosen);
}

void ConflictController::Take(ConflictSide side) {
  const std::optional<std::size_t> entry = model_->EntryAt(table_->currentIndex().row());
  if (!entry) return;
  const QString refusal = document_.Conflicts().Resolve(*entry, side);
  if (!refusal.isEmpty()) ShowError(prompt_, refusal);
}

void ConflictController::onActivated(const QModelIndex& index) {
  const std::optional<std::size_t> entry = model_->EntryAt(index.row());
  if (!entry) return;
  const ConflictList::Entry& shown = document_.Conflicts().Entries()[*entry];
  const merge::MergeConflict& conflict = shown.conflict;
  if (shown.lost || !merge::RecordPresent(conflict)) return;
  if (!records_.ShowRecord(NamedRecord{conflict.category, conflict.index})) return;
  if (const auto& cell = conflict.place.cell) {
    views_.setCurrentWidget(views_.MapTab());
    views_.MapTab()->View()->SelectCell(MapCell{cell->row, cell->column});
  }
}

}  // namespace zr3::ui
