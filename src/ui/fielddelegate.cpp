#include "ui/fielddelegate.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QSortFilterProxyModel>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QVBoxLayout>
#include <limits>

#include "document/texts.h"
#include "ui/fieldmodel.h"

namespace zr3::ui {

namespace {

constexpr int kPickerHeight = 220;

bool FitsSpinBox(const FieldInfo& info) {
  return info.min >= std::numeric_limits<int>::min() && info.max <= std::numeric_limits<int>::max();
}

const FieldInfo* InfoAt(const QModelIndex& index) {
  const auto* model = qobject_cast<const FieldTreeModel*>(index.model());
  const FieldTreeModel::Node* node = model ? model->NodeAt(index) : nullptr;
  return node ? &node->info : nullptr;
}

}  // namespace

RecordChoiceModel::RecordChoiceModel(const ZR3Level& level, Category list, QString noneValue,
                                     QObject* parent)
    : QAbstractListModel(parent), list_(level.List(list)), noneValue_(std::move(noneValue)) {}

int RecordChoiceModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(list_.size()) + Offset();
}

QVariant RecordChoiceModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const int position = index.row() - Offset();
  if (role == ValueRole) return position < 0 ? noneValue_ : QString::number(position);
  if (role != Qt::DisplayRole) return {};
  if (position < 0) return tr("none");
  return FieldTreeModel::RecordText(*list_[static_cast<std::size_t>(position)]);
}

ReferencePicker::ReferencePicker(const ZR3Level& level, Category list, const QString& noneValue,
                                 QWidget* parent)
    : QWidget(parent),
      filter_(new QLineEdit),
      view_(new QListView),
      choices_(new RecordChoiceModel(level, list, noneValue, this)),
      proxy_(new QSortFilterProxyModel(this)) {
  setObjectName(QStringLiteral("pckReference"));
  setAutoFillBackground(true);
  filter_->setObjectName(QStringLiteral("referenceFilter"));
  filter_->setPlaceholderText(tr("Type to filter"));
  filter_->setClearButtonEnabled(true);
  view_->setObjectName(QStringLiteral("referenceList"));
  view_->setUniformItemSizes(true);
  view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  // The typing stays in the filter; a click still picks a row.
  view_->setFocusPolicy(Qt::NoFocus);
  proxy_->setFilterCaseSensitivity(Qt::CaseInsensitive);
  proxy_->setSourceModel(choices_);
  view_->setModel(proxy_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(filter_);
  layout->addWidget(view_);
  setFocusProxy(filter_);
  filter_->installEventFilter(this);
  connect(filter_, &QLineEdit::textChanged, this, [this](const QString& text) {
    proxy_->setFilterFixedString(text);
    if (proxy_->rowCount() > 0) view_->setCurrentIndex(proxy_->index(0, 0));
  });
  connect(filter_, &QLineEdit::returnPressed, this, &ReferencePicker::Chosen);
  connect(view_, &QAbstractItemView::activated, this, &ReferencePicker::Chosen);
}

bool ReferencePicker::eventFilter(QObject* watched, QEvent* event) {
  // The arrow and page keys browse the list while the typing stays in the filter.
  if (watched == filter_ && event->type() == QEvent::KeyPress) {
    switch (static_cast<QKeyEvent*>(event)->key()) {
      case Qt::Key_Up:
      case Qt::Key_Down:
      case Qt::Key_PageUp:
      case Qt::Key_PageDown:
        QCoreApplication::sendEvent(view_, event);
        return true;
      case Qt::Key_Tab:
      case Qt::Key_Backtab:
      case Qt::Key_Escape:
        // Leaving the picker is the field editor's business (take the row and go on, or
        // cancel), never a move between the filter and the list.
        QCoreApplication::sendEvent(this, event);
        return true;
      default:
        break;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void ReferencePicker::SetValue(const QString& value) {
  const bool withNone = !choices_->NoneValue().isEmpty();
  bool number = false;
  const int position = value.toInt(&number);
  int row = -1;
  if (withNone && value == choices_->NoneValue()) {
    row = 0;
  } else if (number && position >= 0) {
    row = position + (withNone ? 1 : 0);
  }
  if (row < 0 || row >= choices_->rowCount()) return;
  const QModelIndex current = proxy_->mapFromSource(choices_->index(row));
  view_->setCurrentIndex(current);
  view_->scrollTo(current, QAbstractItemView::PositionAtCenter);
}

QString ReferencePicker::Value() const {
  const QModelIndex current = view_->currentIndex();
  if (current.isValid()) return current.data(RecordChoiceModel::ValueRole).toString();
  return filter_->text();
}

QWidget* FieldDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                     const QModelIndex& index) const {
  const FieldInfo* info = InfoAt(index);
  const auto* model = qobject_cast<const FieldTreeModel*>(index.model());
  if (info == nullptr || model == nullptr || model->Level() == nullptr) {
    return QStyledItemDelegate::createEditor(parent, option, index);
  }
  switch (info->kind) {
    case FieldKind::Text: {
      auto* edit = new QLineEdit(parent);
      edit->setObjectName(QStringLiteral("fieldEditor"));
      edit->setMaxLength(static_cast<int>(info->width));
      return edit;
    }
    case FieldKind::Choice: {
      auto* box = new QComboBox(parent);
      box->setObjectName(QStringLiteral("cboField"));
      for (std::size_t i = 0; i < info->words.size(); ++i) {
        box->addItem(QStringLiteral("%1 (%2)").arg(ToDisplay(info->words[i])).arg(i),
                     QString::number(i));
      }
      // A stored number outside the table is shown as it is, but cannot be chosen again once
      // another word was.
      if (info->number < 0 || static_cast<std::size_t>(info->number) >= info->words.size()) {
        box->addItem(QString::number(info->number), QString::number(info->number));
        if (auto* items = qobject_cast<QStandardItemModel*>(box->model())) {
          items->item(box->count() - 1)->setEnabled(false);
        }
      }
      return box;
    }
    case FieldKind::Reference:
    case FieldKind::Position: {
      const QString none =
          info->kind == FieldKind::Reference ? QStringLiteral("none") : QStringLiteral("-1");
      auto* picker = new ReferencePicker(*model->Level(), *info->target, none, parent);
      connect(picker, &ReferencePicker::Chosen, this, [this, picker] {
        auto* self = const_cast<FieldDelegate*>(this);
        emit self->commitData(picker);
        emit self->closeEditor(picker);
      });
      return picker;
    }
    case FieldKind::Integer:
      if (FitsSpinBox(*info)) {
        auto* spin = new QSpinBox(parent);
        spin->setObjectName(QStringLiteral("spnField"));
        spin->setRange(static_cast<int>(info->min), static_cast<int>(info->max));
        return spin;
      }
      [[fallthrough]];
    default: {
      auto* edit = new QLineEdit(parent);
      edit->setObjectName(QStringLiteral("fieldEditor"));
      return edit;
    }
  }
}

void FieldDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
  const QString value = index.data(Qt::EditRole).toString();
  if (auto* box = qobject_cast<QComboBox*>(editor)) {
    box->setCurrentIndex(std::max(box->findData(value), 0));
  } else if (auto* spin = qobject_cast<QSpinBox*>(editor)) {
    spin->setValue(value.toInt());
  } else if (auto* picker = qobject_cast<ReferencePicker*>(editor)) {
    picker->SetValue(value);
  } else if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
    edit->setText(value);
  }
}

void FieldDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                 const QModelIndex& index) const {
  QString value;
  if (auto* box = qobject_cast<QComboBox*>(editor)) {
    value = box->currentData().toString();
  } else if (auto* spin = qobject_cast<QSpinBox*>(editor)) {
    value = QString::number(spin->value());
  } else if (auto* picker = qobject_cast<ReferencePicker*>(editor)) {
    value = picker->Value();
  } else if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
    value = edit->text();
  } else {
    return;
  }
  model->setData(index, value, Qt::EditRole);
}

void FieldDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                         const QModelIndex& index) const {
  if (qobject_cast<ReferencePicker*>(editor) == nullptr) {
    QStyledItemDelegate::updateEditorGeometry(editor, option, index);
    return;
  }
  // The picker opens below the value's line, tall enough to browse the list.
  QRect area = option.rect;
  area.setHeight(kPickerHeight);
  editor->setGeometry(area);
}

}  // namespace zr3::ui
