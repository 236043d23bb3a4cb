#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zr3::json {

// One JSON value held while its record is built: a record at a time is read from the parser's
// events into a flat tree, so the import never holds more than the document text, one record's
// values and the level.
enum class NodeType : std::uint8_t {
  Null,
  False,
  True,
  Unsigned,  // an integer of 0 or more
  Negative,  // an integer below 0, or -0
  Double,    // a number with a fraction or exponent, or beyond 64 bits
  String,
  Array,
  Object,
};

struct Node {
  NodeType type = NodeType::Null;
  // "-0": a Negative node of value 0.
  bool negativeZero = false;
  // The nodes of this value's subtree, itself included: the next sibling is that far on.
  std::uint32_t size = 1;
  // Array and object: the number of elements or members.
  std::uint32_t count = 0;
  // Object member: its key, in the tree's text.
  std::uint32_t keyOffset = 0;
  std::uint32_t keyLength = 0;
  // String: its text.
  std::uint32_t textOffset = 0;
  std::uint32_t textLength = 0;
  union {
    std::uint64_t u;
    std::int64_t i;
    double d;
  } number{};
};

// The values of one record in pre-order, children after their parent.
class Tree {
 public:
  static constexpr std::uint32_t kNone = UINT32_MAX;

  const Node& operator[](std::uint32_t index) const { return nodes_[index]; }
  std::string_view Key(std::uint32_t index) const {
    return {text_.data() + nodes_[index].keyOffset, nodes_[index].keyLength};
  }
  std::string_view Text(std::uint32_t index) const {
    return {text_.data() + nodes_[index].textOffset, nodes_[index].textLength};
  }
  std::uint32_t FirstChild(std::uint32_t index) const { return index + 1; }
  std::uint32_t Next(std::uint32_t index) const { return index + nodes_[index].size; }
  std::uint32_t Size() const { return static_cast<std::uint32_t>(nodes_.size()); }

 private:
  friend class TreeBuilder;
  std::vector<Node> nodes_;
  std::string text_;
};

// Builds a Tree from RapidJSON's reader events, with limits on its size. Each event answers
// false once a limit is passed; Failure() then says which.
class TreeBuilder {
 public:
  // The largest record, a map of 100 x 100 cells, has about 40200 values.
  static constexpr std::uint32_t kMaxNodes = 1u << 18;
  static constexpr std::size_t kMaxText = std::size_t{16} << 20;

  explicit TreeBuilder(Tree& tree) : tree_(tree) {}

  // Starts a new tree, dropping the last one (its memory is kept for the next).
  void Begin();
  // Whether the value begun last is complete.
  bool Done() const { return started_ && open_.empty(); }
  const std::string& Failure() const { return failure_; }

  bool Null() { return Add(NodeType::Null); }
  bool Bool(bool b) { return Add(b ? NodeType::True : NodeType::False); }
  bool Int(int i) { return Signed(i); }
  bool Uint(unsigned u) { return Unsigned(u); }
  bool Int64(std::int64_t i) { return Signed(i); }
  bool Uint64(std::uint64_t u) { return Unsigned(u); }
  bool Double(double d);
  bool RawNumber(const char*, std::uint32_t, bool) { return false; }
  bool String(const char* text, std::uint32_t length, bool copy);
  bool StartObject() { return Open(NodeType::Object); }
  bool Key(const char* text, std::uint32_t length, bool copy);
  bool EndObject(std::uint32_t) { return Close(); }
  bool StartArray() { return Open(NodeType::Array); }
  bool EndArray(std::uint32_t) { return Close(); }

 private:
  bool Add(NodeType type);
  bool Signed(std::int64_t value);
  bool Unsigned(std::uint64_t value);
  bool Open(NodeType type);
  bool Close();
  bool Store(const char* text, std::uint32_t length, std::uint32_t& offset);

  Tree& tree_;
  std::vector<std::uint32_t> open_;
  std::uint32_t keyOffset_ = 0;
  std::uint32_t keyLength_ = 0;
  bool started_ = false;
  std::string failure_;
};

}  // namespace zr3::json
