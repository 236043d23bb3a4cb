#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "level/category.h"
#include "level/fields.h"
#include "level/name_index.h"
#include "level/numbers.h"
#include "level/references.h"
#include "level/zr3base.h"
#include "level/zr3level.h"

namespace zr3 {

// What a field is, as code outside the record sees it.
enum class FieldKind : std::uint8_t {
  Text,       // a fixed-width text
  Integer,    // a signed or unsigned integer
  Choice,     // an integer naming a word of a table; values outside the table are kept
  Opaque,     // bytes kept as read
  ChainId,    // an identifier of the record chain, replaced at each save
  Reference,  // a record named by its identifier
  Position,   // a record named by its position in a list
  Run,        // a run of references; its elements are the slots
  Part,       // a part with a layout of its own (a map's cells, a script's slots)
};

std::string_view FieldKindName(FieldKind kind);

// One field of a record: its description and its current value.
struct FieldInfo {
  std::string name;
  FieldKind kind = FieldKind::Integer;
  // How a reader names the field ("Cost", "Item 3") and what it means.
  std::string label;
  std::string meaning;
  // Whether an editor offers to change it: opaque bytes, chain identifiers and parts can be
  // set only by tools that carry a whole level (the field interface sets all but parts).
  bool editable = true;
  // Text: the most bytes it holds. Opaque: its bytes.
  std::size_t width = 0;
  // Integer, choice and position: the values the field can hold.
  std::int64_t min = 0;
  std::int64_t max = 0;
  // Choice: the words of the values from 0 on.
  std::span<const std::string_view> words;
  // An integer that switches something on or off: the value that means off (any other means
  // on), and the value switching on stores.
  std::optional<std::int64_t> offValue;
  std::int64_t OnValue() const { return offValue == 0 ? 1 : 0; }
  // Reference and position: the list it points into.
  std::optional<Category> target;
  // Reference: the record it resolved to (none while unresolved or empty).
  const ZR3Base* resolved = nullptr;
  // The value, as SetField takes it back: the text itself; an integer in decimal; opaque
  // bytes in lowercase hex; a reference as the position of its record, "none" when empty (JSON
  // null), or "unresolved <id>" with the stored identifier that matched nothing.
  std::string value;
  // Integer, choice, position, chain identifier: the number; reference: the stored identifier.
  std::int64_t number = 0;
  // Run: its slots, named "<name>[i]".
  std::vector<FieldInfo> elements;
};

// How a reference whose identifier matched nothing is written as a value: "unresolved 1234".
inline constexpr std::string_view kUnresolvedPrefix = "unresolved ";

// The position of the record the text names in the list: its decimal position, or the name of
// exactly one record. Throws ZR3Error naming the field otherwise.
int FindRecordForField(const ZR3Level& level, Category list, std::string_view field,
                       std::string_view text);

// Lists the fields a record kind describes. A part's value is its summary ("48 x 48 cells"),
// or with whole set its whole value as text, for comparing two versions of a record.
class FieldLister {
 public:
  explicit FieldLister(FieldList& fields, bool whole = false) : fields_(fields), whole_(whole) {}

  template <class S>
  void operator()(TextField<S> f) {
    FieldInfo& info = Add(f, FieldKind::Text);
    info.width = f.width;
    info.value = f.value;
    info.editable = f.present;
  }
  template <class T>
  void operator()(NumberField<T> f) {
    FieldInfo& info = Add(f, FieldKind::Integer);
    SetRange<T>(info);
    if (f.style == NumberStyle::OnOff) info.offValue = f.off;
    info.number = f.value;
    info.value = std::to_string(info.number);
  }
  template <class T>
  void operator()(ChoiceField<T> f) {
    FieldInfo& info = Add(f, FieldKind::Choice);
    SetRange<T>(info);
    info.words = f.words;
    info.number = f.value;
    info.value = std::to_string(info.number);
  }
  template <class A>
  void operator()(OpaqueField<A> f) {
    FieldInfo& info = Add(f, FieldKind::Opaque);
    info.editable = false;
    info.width = f.bytes.size();
    info.value = HexText(f.bytes.data(), f.bytes.size());
  }
  template <class Ref>
  void operator()(ReferenceField<Ref> f) {
    Describe(Add(f, FieldKind::Reference), f.ref);
  }
  template <class A>
  void operator()(ReferenceRunField<A> f) {
    FieldInfo& run = Add(f, FieldKind::Run);
    run.target = std::remove_cvref_t<decltype(f.refs[0])>::kRule.list;
    for (std::size_t i = 0; i < f.refs.size(); ++i) {
      FieldInfo& slot = run.elements.emplace_back();
      slot.name = std::string(f.name) + "[" + std::to_string(i) + "]";
      slot.kind = FieldKind::Reference;
      // The details text numbers a slot after the label: "Item 3".
      slot.label = std::string(Trimmed(f.label)) + " " + std::to_string(i);
      slot.meaning = run.meaning;
      Describe(slot, f.refs[i]);
    }
  }
  template <class Ref>
  void operator()(PositionField<Ref> f) {
    FieldInfo& info = Add(f, f.active ? FieldKind::Position : FieldKind::Integer);
    SetRange<std::int16_t>(info);
    info.number = f.ref.Stored();
    info.value = std::to_string(info.number);
    if (f.active) {
      info.target = Ref::kRule.list;
      info.resolved = f.ref.Record();
    }
  }
  template <class R>
  void operator()(ChainField<R> f) {
    const std::array<std::uint32_t, 3> ids = f.Ids();
    for (std::size_t i = 0; i < ids.size(); ++i) {
      FieldInfo& info = Add(kChainNames[i], kChainHelp[i], FieldKind::ChainId);
      info.editable = false;
      SetRange<std::uint32_t>(info);
      info.number = ids[i];
      info.value = std::to_string(ids[i]);
    }
  }
  template <class P>
  void operator()(PartField<P> f) {
    FieldInfo& info = Add(f, FieldKind::Part);
    info.editable = false;
    info.value = whole_ ? f.part.ValueText() : f.part.Summary();
  }
  template <class F>
  void operator()(const F&) {}

  static std::string HexText(const std::uint8_t* bytes, std::size_t count);

 private:
  FieldInfo& Add(std::string_view name, FieldHelp help, FieldKind kind) {
    FieldInfo& info = fields_.emplace_back();
    info.name = name;
    info.kind = kind;
    info.label = help.label;
    info.meaning = help.meaning;
    return info;
  }
  // A descriptor's readable label is its help's, or else the details text's.
  template <class Descriptor>
  FieldInfo& Add(const Descriptor& f, FieldKind kind) {
    FieldHelp help = f.help;
    if constexpr (requires { f.label; }) {
      if (help.label.empty()) help.label = Trimmed(f.label);
    }
    return Add(f.name, help, kind);
  }
  // A details label without the blank that runs number after it ("Item ").
  static std::string_view Trimmed(std::string_view label) {
    while (!label.empty() && label.back() == ' ') label.remove_suffix(1);
    return label;
  }
  template <class T>
  static void SetRange(FieldInfo& info) {
    using U = std::remove_const_t<T>;
    info.min = std::numeric_limits<U>::min();
    info.max = std::numeric_limits<U>::max();
  }
  template <class Ref>
  static void Describe(FieldInfo& info, const Ref& ref) {
    info.target = Ref::kRule.list;
    info.resolved = ref.Record();
    info.number = ref.Stored();
    SetRange<std::uint32_t>(info);
    if (ref.Record()) {
      info.value = std::to_string(ref.Record()->Position());
    } else if (ref.Empty()) {
      // As the JSON form: null only where 0 means no record; elsewhere 0 is an identifier
      // that matched nothing, like any other.
      info.value = "none";
    } else {
      info.value = std::string(kUnresolvedPrefix) + std::to_string(ref.Stored());
    }
  }

  FieldList& fields_;
  bool whole_;
};

// Sets the one field a path names ("price", "items[3]") from its text. Visits every field and
// acts on the one named; Found() tells whether there was one.
class FieldSetter {
 public:
  FieldSetter(ZR3Level& level, std::string_view path, std::string_view value);

  bool Found() const { return found_; }

  template <class S>
  void operator()(TextField<S> f) {
    if (!Is(f.name)) return;
    if (!f.present) Refuse("is not stored while the identifier before it is 0");
    CheckText(f.width);
    f.value = std::string(value_);
  }
  template <class T>
  void operator()(NumberField<T> f) {
    if (Is(f.name)) f.value = static_cast<T>(Integer<T>(value_));
  }
  template <class T>
  void operator()(ChoiceField<T> f) {
    if (!Is(f.name)) return;
    const std::optional<std::size_t> word = WordIndex(f.words);
    f.value = word ? static_cast<T>(*word) : static_cast<T>(Integer<T>(value_));
  }
  template <class A>
  void operator()(OpaqueField<A> f) {
    if (Is(f.name)) SetHex(f.bytes.data(), f.bytes.size());
  }
  template <class Ref>
  void operator()(ReferenceField<Ref> f) {
    if (Is(f.name)) SetReference(f.ref);
  }
  template <class A>
  void operator()(ReferenceRunField<A> f) {
    if (!IsRunOf(f.name)) return;
    if (!index_ || *index_ >= f.refs.size()) {
      Refuse("has slots 0 to " + std::to_string(f.refs.size() - 1));
    }
    SetReference(f.refs[*index_]);
  }
  template <class Ref>
  void operator()(PositionField<Ref> f) {
    if (!Is(f.name)) return;
    constexpr Category list = Ref::kRule.list;
    // A position that names a record may also be given as the record's name.
    const int position = f.active && !ParseInteger(value_)
                             ? FindRecordForField(level_, list, path_, value_)
                             : static_cast<int>(Integer<std::int16_t>(value_));
    if (position > std::numeric_limits<std::int16_t>::max()) Refuse(NoRecordAt(list, position));
    ZR3Base* record = nullptr;
    if (f.active) {
      record = level_.RecordAt(list, position);
      if (Ref::Refuses(record, position)) Refuse(NoRecordAt(list, position));
    }
    f.ref.Set(static_cast<std::int16_t>(position), record);
  }
  template <class R>
  void operator()(ChainField<R> f) {
    std::array<std::uint32_t, 3> ids = f.Ids();
    bool changed = false;
    for (std::size_t i = 0; i < ids.size(); ++i) {
      if (!Is(kChainNames[i])) continue;
      ids[i] = static_cast<std::uint32_t>(Integer<std::uint32_t>(value_));
      changed = true;
    }
    if (changed) f.SetIds(ids);
  }
  template <class P>
  void operator()(PartField<P> f) {
    if (Is(f.name)) Refuse("cannot be set as one value");
  }
  template <class F>
  void operator()(const F&) {}

 private:
  bool Is(std::string_view name) {
    if (index_ || name != name_) return false;
    found_ = true;
    return true;
  }
  bool IsRunOf(std::string_view name) {
    if (name != name_) return false;
    found_ = true;
    return true;
  }
  [[noreturn]] void Refuse(const std::string& reason) const;
  void CheckText(std::size_t width) const;
  std::int64_t Integer(std::string_view text, std::int64_t min, std::int64_t max) const;
  template <class T>
  std::int64_t Integer(std::string_view text) const {
    using U = std::remove_const_t<T>;
    return Integer(text, std::numeric_limits<U>::min(), std::numeric_limits<U>::max());
  }
  std::optional<std::size_t> WordIndex(std::span<const std::string_view> words) const;
  // Exactly count bytes written as hex digits.
  void SetHex(std::uint8_t* bytes, std::size_t count) const;
  std::string NoRecordAt(Category list, int position) const;
  template <class Ref>
  void SetReference(Ref& ref) {
    if (value_ == "none") {
      ref.Set(nullptr);
      return;
    }
    if (value_.starts_with(kUnresolvedPrefix)) {
      // An identifier kept as stored; a later link may still find its record.
      ref.SetStored(static_cast<std::uint32_t>(
                        Integer<std::uint32_t>(value_.substr(kUnresolvedPrefix.size()))),
                    nullptr);
      return;
    }
    const int position = FindRecordForField(level_, Ref::kRule.list, path_, value_);
    ref.Set(static_cast<ZR3ChainRecord*>(level_.RecordAt(Ref::kRule.list, position)));
  }

  ZR3Level& level_;
  std::string path_;
  std::string_view name_;
  std::optional<std::size_t> index_;
  std::string_view value_;
  bool found_ = false;
};

}  // namespace zr3
