#include "ui/fieldmodel.h"

#include "document/texts.h"
#include "edit/edit_common.h"
#include "level/zr3error.h"

namespace zr3::ui {

namespace {

FieldTreeModel::Node NodeOf(const FieldOwner& owner, FieldInfo info) {
  FieldTreeModel::Node node;
  node.owner = owner;
  node.info = std::move(info);
  node.caption = ToDisplay(node.info.name);
  for (FieldInfo& element : node.info.elements) {
    node.children.push_back(NodeOf(owner, std::move(element)));
  }
  node.info.elements.clear();
  return node;
}

// What the value column shows: a choice's word next to its number.
QString ValueText(const FieldInfo& info) {
  if (info.kind == FieldKind::Choice && info.number >= 0 &&
      static_cast<std::size_t>(info.number) < info.words.size()) {
    return QStringLiteral("%1 (%2)")
        .arg(ToDisplay(info.words[static_cast<std::size_t>(info.number)]))
        .arg(info.number);
  }
  return ToDisplay(info.value);
}

}  // namespace

FieldTreeModel::FieldTreeModel(Commit commit, QObject* parent)
    : QAbstractItemModel(parent), commit_(std::move(commit)) {}

std::vector<FieldTreeModel::Node> FieldTreeModel::Build() const {
  std::vector<Node> nodes;
  if (level_ == nullptr) return nodes;
  if (owner_.category) {
    for (FieldInfo& info : RecordOf(*level_, *owner_.category, owner_.index).Fields()) {
      nodes.push_back(NodeOf(owner_, std::move(info)));
    }
    return nodes;
  }
  for (FieldInfo& info : level_->Info().Fields()) nodes.push_back(NodeOf(owner_, std::move(info)));
  // The custom texts are records of a list of their own, edited through their names.
  Node texts;
  texts.owner = owner_;
  texts.info.kind = FieldKind::Run;
  texts.info.editable = false;
  texts.caption = tr("custom_text");
  const RecordList& list = level_->List(Category::CustomText);
  for (std::size_t i = 0; i < list.size(); ++i) {
    for (FieldInfo& info : list[i]->Fields()) {
      if (info.name != "name") continue;
      Node text = NodeOf(FieldOwner{Category::CustomText, i}, std::move(info));
      text.caption = QStringLiteral("custom_text[%1]").arg(i);
      texts.children.push_back(std::move(text));
    }
  }
  nodes.push_back(std::move(texts));
  return nodes;
}

void FieldTreeModel::Link(std::vector<Node>& nodes, const Node* parent) {
  for (std::size_t i = 0; i < nodes.size(); ++i) {
    nodes[i].row = static_cast<int>(i);
    nodes[i].parent = parent;
    Link(nodes[i].children, &nodes[i]);
  }
}

bool FieldTreeModel::SameShape(const std::vector<Node>& a, const std::vector<Node>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (a[i].info.name != b[i].info.name || !(a[i].owner == b[i].owner) ||
        !SameShape(a[i].children, b[i].children)) {
      return false;
    }
  }
  return true;
}

void FieldTreeModel::Show(const ZR3Level* level, const FieldOwner& owner) {
  beginResetModel();
  level_ = level;
  owner_ = owner;
  nodes_ = Build();
  Link(nodes_, nullptr);
  endResetModel();
}

void FieldTreeModel::Refresh() {
  std::vector<Node> nodes = Build();
  if (!SameShape(nodes, nodes_)) {
    Show(level_, owner_);
    return;
  }
  // The same rows with new values: the views and an open editor keep their places.
  auto update = [](auto& self, std::vector<Node>& into, std::vector<Node>& from) -> void {
    for (std::size_t i = 0; i < into.size(); ++i) {
      into[i].info = std::move(from[i].info);
      self(self, into[i].children, from[i].children);
    }
  };
  update(update, nodes_, nodes);
  if (!nodes_.empty()) {
    emit dataChanged(index(0, 0), index(static_cast<int>(nodes_.size()) - 1, ColumnCount - 1));
    for (const Node& node : nodes_) {
      if (node.children.empty()) continue;
      const QModelIndex parent = index(node.row, 0);
      emit dataChanged(index(0, 0, parent),
                       index(static_cast<int>(node.children.size()) - 1, ColumnCount - 1, parent));
    }
  }
}

const FieldTreeModel::Node* FieldTreeModel::NodeAt(const QModelIndex& index) const {
  if (!index.isValid()) return nullptr;
  const auto* parent = static_cast<const Node*>(index.internalPointer());
  const std::vector<Node>& siblings = parent ? parent->children : nodes_;
  return static_cast<std::size_t>(index.row()) < siblings.size()
             ? &siblings[static_cast<std::size_t>(index.row())]
             : nullptr;
}

QModelIndex FieldTreeModel::ValueIndex(const std::string& path) const {
  for (const Node& node : nodes_) {
    if (node.info.name == path) return index(node.row, ValueColumn);
    for (const Node& child : node.children) {
      if (child.info.name == path || child.caption == ToDisplay(path)) {
        return index(child.row, ValueColumn, index(node.row, 0));
      }
    }
  }
  return {};
}

QModelIndex FieldTreeModel::index(int row, int column, const QModelIndex& parent) const {
  if (row < 0 || column < 0 || column >= ColumnCount) return {};
  const Node* owner = NodeAt(parent);
  const std::size_t count = owner ? owner->children.size() : nodes_.size();
  if (static_cast<std::size_t>(row) >= count) return {};
  return createIndex(row, column, const_cast<Node*>(owner));
}

QModelIndex FieldTreeModel::parent(const QModelIndex& index) const {
  if (!index.isValid() || index.internalPointer() == nullptr) return {};
  const auto* parent = static_cast<const Node*>(index.internalPointer());
  return createIndex(parent->row, 0, const_cast<Node*>(parent->parent));
}

int FieldTreeModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid() && parent.column() != 0) return 0;
  const Node* node = NodeAt(parent);
  return static_cast<int>(node ? node->children.size() : (parent.isValid() ? 0 : nodes_.size()));
}

int FieldTreeModel::columnCount(const QModelIndex&) const {
  return ColumnCount;
}

QString FieldTreeModel::RecordText(const ZR3Base& record) {
  return QStringLiteral("%1: %2").arg(record.Position()).arg(ToDisplay(record.Name()));
}

QString FieldTreeModel::ToolTip(const FieldInfo& info) {
  // The identifier as JSON, get and set name the field, its kind, and the values it takes.
  QString tip =
      QStringLiteral("%1: %2").arg(ToDisplay(info.name), ToDisplay(FieldKindName(info.kind)));
  switch (info.kind) {
    case FieldKind::Integer:
    case FieldKind::Choice:
    case FieldKind::Position:
      tip += tr(", %1 to %2").arg(info.min).arg(info.max);
      break;
    case FieldKind::Text:
      tip += tr(", at most %1 characters").arg(info.width);
      break;
    default:
      break;
  }
  return tip;
}

QVariant FieldTreeModel::data(const QModelIndex& index, int role) const {
  const Node* node = NodeAt(index);
  if (node == nullptr) return {};
  const FieldInfo& info = node->info;
  if (role == Qt::EditRole && index.column() == ValueColumn) return ToDisplay(info.value);
  if (role == Qt::ToolTipRole) return ToolTip(info);
  if (role != Qt::DisplayRole) return {};
  switch (index.column()) {
    case NameColumn:
      return node->caption;
    case ValueColumn:
      return info.kind == FieldKind::Run ? QString() : ValueText(info);
    case RecordColumn:
      return info.resolved ? RecordText(*info.resolved) : QString();
    default:
      return {};
  }
}

QVariant FieldTreeModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  switch (section) {
    case NameColumn:
      return tr("Field");
    case ValueColumn:
      return tr("Value");
    case RecordColumn:
      return tr("Record");
    default:
      return {};
  }
}

bool FieldTreeModel::Editable(const FieldInfo& info) {
  switch (info.kind) {
    case FieldKind::Opaque:
    case FieldKind::ChainId:
    case FieldKind::Run:
    case FieldKind::Part:
      return false;
    default:
      return info.editable;
  }
}

Qt::ItemFlags FieldTreeModel::flags(const QModelIndex& index) const {
  const Node* node = NodeAt(index);
  if (node == nullptr) return Qt::NoItemFlags;
  Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
  if (index.column() == ValueColumn && Editable(node->info)) flags |= Qt::ItemIsEditable;
  return flags;
}

bool FieldTreeModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  const Node* node = NodeAt(index);
  if (role != Qt::EditRole || index.column() != ValueColumn || node == nullptr ||
      !Editable(node->info)) {
    return false;
  }
  std::string text;
  try {
    text = FromDisplay(value.toString());
  } catch (const ZR3Error& error) {
    emit refused(MessageText(error));
    return false;
  }
  if (text == node->info.value) return true;
  return commit_(node->owner, node->info.name, text);
}

}  // namespace zr3::ui
