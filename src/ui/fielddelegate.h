#pragma once

#include <QAbstractListModel>
#include <QStyledItemDelegate>
#include <QWidget>

#include "level/zr3level.h"

class QLineEdit;
class QListView;
class QSortFilterProxyModel;

namespace zr3::ui {

// The records of one list as "index: name", with "none" first where the field can name no
// record (noneValue is what the field takes for it: "none" for a reference, -1 for a
// position). Rows are made when asked, so a list of 65535 records costs nothing to offer.
class RecordChoiceModel : public QAbstractListModel {
  Q_OBJECT

 public:
  RecordChoiceModel(const ZR3Level& level, Category list, QString noneValue,
                    QObject* parent = nullptr);
  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  // The value the field takes for a row: the none value or the record's position.
  static constexpr int ValueRole = Qt::UserRole;
  const QString& NoneValue() const { return noneValue_; }

 private:
  int Offset() const { return noneValue_.isEmpty() ? 0 : 1; }
  const RecordList& list_;
  QString noneValue_;
};

// Picks a record of a list: typing narrows the list to the rows containing the text, the
// arrow keys move in it, Enter or a double-click takes the current row; Tab, Shift+Tab and
// Escape go to the field editor around it.
class ReferencePicker : public QWidget {
  Q_OBJECT

 public:
  ReferencePicker(const ZR3Level& level, Category list, const QString& noneValue,
                  QWidget* parent = nullptr);
  // Makes the row whose value is value current.
  void SetValue(const QString& value);
  // The current row's value; the typed text (a position or a name) when no row is current.
  QString Value() const;
  QLineEdit* Filter() const { return filter_; }
  QListView* List() const { return view_; }

 signals:
  void Chosen();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QLineEdit* filter_;
  QListView* view_;
  RecordChoiceModel* choices_;
  QSortFilterProxyModel* proxy_;
};

// Editors by field kind for the value column of a FieldTreeModel: a text limited to its
// width, a spin box with the field's range, the words of a choice (and the stored number
// when it is none of them), and a reference picker.
class FieldDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;
  void setEditorData(QWidget* editor, const QModelIndex& index) const override;
  void setModelData(QWidget* editor, QAbstractItemModel* model,
                    const QModelIndex& index) const override;
  void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const override;
};

}  // namespace zr3::ui
