#pragma once

#include <QAbstractItemModel>
#include <functional>
#include <string>
#include <vector>

#include "edit/field_edit.h"
#include "level/field_access.h"
#include "level/zr3level.h"

namespace zr3::ui {

// The fields of one record (or of "General": the level information and the custom texts) as
// a tree: name, value and, for a reference, the record it names. Runs of slots are groups.
// The model knows fields only through the field interface; a finished edit goes to the
// commit function, which changes the level (or refuses the value) and answers whether it did.
class FieldTreeModel : public QAbstractItemModel {
  Q_OBJECT

 public:
  enum Column { NameColumn, ValueColumn, RecordColumn, ColumnCount };

  // One row: the field's description and the record and path that set it.
  struct Node {
    FieldOwner owner;
    FieldInfo info;
    // The caption in the name column: the field's readable label.
    QString caption;
    // The field's identifier as the JSON, get and set name it ("cost", "items[3]").
    QString path;
    std::vector<Node> children;
    int row = 0;
    const Node* parent = nullptr;
  };

  using Commit = std::function<bool(const FieldOwner& owner, const std::string& path,
                                    const std::string& value)>;

  explicit FieldTreeModel(Commit commit, QObject* parent = nullptr);

  // Shows the record's fields, or General's when owner has no category; nothing for a
  // null level.
  void Show(const ZR3Level* level, const FieldOwner& owner);
  // Reads the values again after a change; the rows stay when the fields are the same ones.
  void Refresh();
  const ZR3Level* Level() const { return level_; }
  const FieldOwner& Owner() const { return owner_; }
  // The row behind an index (nullptr for the root).
  const Node* NodeAt(const QModelIndex& index) const;
  // The index of the value of the top-level field named path, or of a slot "items[3]".
  QModelIndex ValueIndex(const std::string& path) const;

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& index) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;

  // Whether an editor may change the field: a value of its own, not opaque bytes, chain
  // identifiers or a part with a layout of its own.
  static bool Editable(const FieldInfo& info);
  // "index: name" of a record of the list, as the reference picker lists it.
  static QString RecordText(const ZR3Base& record);
  // The field's label and identifier, what it means, and its kind and range.
  static QString ToolTip(const FieldInfo& info, const QString& path);
  // Whether the field is an on/off field, shown as a check box.
  static bool Switches(const FieldInfo& info) { return info.offValue.has_value(); }

 signals:
  // Typed text the level's text cannot hold, with the reason; nothing was committed.
  void refused(const QString& reason);

 private:
  std::vector<Node> Build() const;
  static void Link(std::vector<Node>& nodes, const Node* parent);
  static bool SameShape(const std::vector<Node>& a, const std::vector<Node>& b);

  Commit commit_;
  const ZR3Level* level_ = nullptr;
  FieldOwner owner_;
  std::vector<Node> nodes_;
};

}  // namespace zr3::ui
