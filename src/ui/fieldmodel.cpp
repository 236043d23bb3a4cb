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
  node.caption = ToDisplay(node.info.label);
  node.path = ToDisplay(node.info.name);
  for (FieldInfo& element : node.info.elements) {
    node.children.push_back(NodeOf(owner, std::move(element)));
  }
  node.info.elements.clear();
  return node;
}

// What the value column shows: a choice's word next to its number, an on/off field's state
// (with its number when it is neither stored value).
QString ValueText(const FieldInfo& info) {
  if (FieldTreeModel::Switches(info)) {
    const QString state =
        info.number == *info.offValue ? FieldTreeModel::tr("Off") : FieldTreeModel::tr("On");
    if (info.number == *info.offValue || info.number == info.OnValue()) return state;
    return QStringLiteral("%1 (%2)").arg(state).arg(info.number);
  }
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
  texts.info.label = "Custom texts";
  texts.info.meaning = "The game's own words for spells, items, gold and experience (0 to 3)";
  texts.caption = tr("Custom texts");
  texts.path = QStringLiteral("custom_text");
  const RecordList& list = level_->List(Category::CustomText);
  for (std::size_t i = 0; i < list.size(); ++i) {
    for (FieldInfo& info : list[i]->Fields()) {
      if (info.name != "name") continue;
      if (i < kCustomTextLabels.size()) info.label = kCustomTextLabels[i];
      info.meaning = texts.info.meaning;
      Node text = NodeOf(FieldOwner{Category::CustomText, i}, std::move(info));
      text.path = QStringLiteral("custom_text[%1]").arg(i);
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
      if (child.path == ToDisplay(path)) {
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

QString FieldTreeModel::ToolTip(const FieldInfo& info, const QString& path) {
  // "Cost (cost)", what the field means, then its kind and the values it takes.
  QString kind = ToDisplay(FieldKindName(info.kind));
  if (Switches(info)) {
    kind = tr("on/off: %1 is off").arg(*info.offValue);
  } else if (info.kind == FieldKind::Integer || info.kind == FieldKind::Choice ||
             info.kind == FieldKind::Position) {
    kind += tr(", %1 to %2").arg(info.min).arg(info.max);
  } else if (info.kind == FieldKind::Text) {
    kind += tr(", at most %1 characters").arg(info.width);
  }
  QString tip = QStringLiteral("%1 (%2)").arg(ToDisplay(info.label), path);
  if (!info.meaning.empty()) tip += QLatin1Char('\n') + ToDisplay(info.meaning);
  return tip + QLatin1Char('\n') + kind;
}

QVariant FieldTreeModel::data(const QModelIndex& index, int role) const {
  const Node* node = NodeAt(index);
  if (node == nullptr) return {};
  const FieldInfo& info = node->info;
  if (role == Qt::EditRole && index.column() == ValueColumn) return ToDisplay(info.value);
  if (role == Qt::ToolTipRole) return ToolTip(info, node->path);
  if (role == Qt::CheckStateRole && index.column() == ValueColumn && Switches(info)) {
    return static_cast<int>(info.number == *info.offValue ? Qt::Unchecked : Qt::Checked);
  }
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
  if (index.column() != ValueColumn || !Editable(node->info)) return flags;
  // An on/off field is switched by its check box (a click, Space), not typed.
  return flags | (Switches(node->info) ? Qt::ItemIsUserCheckable : Qt::ItemIsEditable);
}

bool FieldTreeModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  const Node* node = NodeAt(index);
  if (index.column() != ValueColumn || node == nullptr || !Editable(node->info)) return false;
  if (role == Qt::CheckStateRole && Switches(node->info)) {
    const bool on = value.toInt() == Qt::Checked;
    const std::int64_t number = on ? node->info.OnValue() : *node->info.offValue;
    if ((node->info.number != *node->info.offValue) == on) return true;
    return commit_(node->owner, node->info.name, std::to_string(number));
  }
  if (role != Qt::EditRole) return false;
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
