#include "json/json_tree.h"

namespace zr3::json {

void TreeBuilder::Begin() {
  tree_.nodes_.clear();
  tree_.text_.clear();
  open_.clear();
  started_ = false;
  failure_.clear();
}

bool TreeBuilder::Add(NodeType type) {
  if (tree_.nodes_.size() >= kMaxNodes) {
    failure_ = "a record holds more than " + std::to_string(kMaxNodes) + " values";
    return false;
  }
  started_ = true;
  Node& node = tree_.nodes_.emplace_back();
  node.type = type;
  if (!open_.empty()) {
    Node& parent = tree_.nodes_[open_.back()];
    ++parent.count;
    if (parent.type == NodeType::Object) {
      node.keyOffset = keyOffset_;
      node.keyLength = keyLength_;
    }
  }
  return true;
}

bool TreeBuilder::Signed(std::int64_t value) {
  // The reader reports "-0" as a signed 0 and "0" as an unsigned one.
  if (value >= 0 && value != 0) return Unsigned(static_cast<std::uint64_t>(value));
  if (!Add(NodeType::Negative)) return false;
  tree_.nodes_.back().number.i = value;
  tree_.nodes_.back().negativeZero = value == 0;
  return true;
}

bool TreeBuilder::Unsigned(std::uint64_t value) {
  if (!Add(NodeType::Unsigned)) return false;
  tree_.nodes_.back().number.u = value;
  return true;
}

bool TreeBuilder::Double(double d) {
  if (!Add(NodeType::Double)) return false;
  tree_.nodes_.back().number.d = d;
  return true;
}

bool TreeBuilder::Store(const char* text, std::uint32_t length, std::uint32_t& offset) {
  if (tree_.text_.size() + length > kMaxText) {
    failure_ = "a record holds more than " + std::to_string(kMaxText >> 20) + " MB of text";
    return false;
  }
  offset = static_cast<std::uint32_t>(tree_.text_.size());
  tree_.text_.append(text, length);
  return true;
}

bool TreeBuilder::String(const char* text, std::uint32_t length, bool) {
  std::uint32_t offset = 0;
  if (!Store(text, length, offset) || !Add(NodeType::String)) return false;
  tree_.nodes_.back().textOffset = offset;
  tree_.nodes_.back().textLength = length;
  return true;
}

bool TreeBuilder::Key(const char* text, std::uint32_t length, bool) {
  keyLength_ = length;
  return Store(text, length, keyOffset_);
}

bool TreeBuilder::Open(NodeType type) {
  if (!Add(type)) return false;
  open_.push_back(static_cast<std::uint32_t>(tree_.nodes_.size() - 1));
  return true;
}

bool TreeBuilder::Close() {
  Node& node = tree_.nodes_[open_.back()];
  node.size = static_cast<std::uint32_t>(tree_.nodes_.size()) - open_.back();
  open_.pop_back();
  return true;
}

}  // namespace zr3::json
