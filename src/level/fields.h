#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

#include "level/text.h"

namespace zr3 {

// The descriptions of a record's fields. Each record kind lists its fields once, in file
// order, in a static template `Fields(self, visitor)`: every field is handed to the visitor as
// one of the descriptors below, which name the field, bind it to the member that holds it and
// say how it is read, written, shown and limited. Readers, writers, the details text, the
// problem report, the reference search and the field interface are visitors over that list.
//
// A descriptor binds a const member when the record is visited as const, so one list serves
// both the visitors that change a record and those that only look at it.
//
// label: how the details text names the field ("Min SP" gives "Min SP: 12"); an empty label
// leaves the field out of the details text, where a Line of the kind's own says it instead.
//
// Every field also says what it means, after its shorthand: Means("What a shop asks for it"),
// or About("Column", "...") where the details text has no label of its own for the field (or
// one that reads otherwise). The Fields pane shows that label and meaning.

// A field's readable label (empty: the details label) and what it means, with the values that
// make sense where they are fewer than the stored type holds.
struct FieldHelp {
  std::string_view label;
  std::string_view meaning;
};

// What every descriptor with a name carries: its help, set after the shorthand.
template <class Descriptor>
struct Helped {
  FieldHelp help;

  Descriptor Means(std::string_view meaning) const { return About({}, meaning); }
  Descriptor About(std::string_view label, std::string_view meaning) const {
    Descriptor described = static_cast<const Descriptor&>(*this);
    described.help = {label, meaning};
    return described;
  }
};

// How the details text shows a number.
enum class NumberStyle : std::uint8_t {
  Decimal,  // "Label: 12"
  Hex,      // a 32-bit identifier dumped in file order: "Label: 0c 00 00 00"
  OnOff,    // "Label: Off" for the field's off value, "Label: On" for any other
};

// A text of a fixed width: the bytes up to the first zero, at most width of them.
template <class S>
struct TextField : Helped<TextField<S>> {
  std::string_view name;
  S& value;
  std::size_t width;
  std::string_view label;
  // Whether the field is in the file at all: a path exists only beside a non-zero identifier.
  bool present = true;
};

// An integer of the member's own width and signedness.
template <class T>
struct NumberField : Helped<NumberField<T>> {
  std::string_view name;
  T& value;
  std::string_view label;
  NumberStyle style = NumberStyle::Decimal;
  // OnOff: the value that means off; switching on stores 0, or 1 where 0 means off.
  std::int64_t off = 0;
};

// An integer whose values name the words of a table; values outside the table are kept.
template <class T>
struct ChoiceField : Helped<ChoiceField<T>> {
  std::string_view name;
  T& value;
  std::span<const std::string_view> words;
  std::string_view label;
};

// Bytes the tool keeps as read without interpreting them ("Label: 00 ff").
template <class A>
struct OpaqueField : Helped<OpaqueField<A>> {
  std::string_view name;
  A& bytes;
  std::string_view label;
};

// How the details text shows a reference by identifier.
enum class ReferenceStyle : std::uint8_t {
  NameOrHex,      // "Map: Hollowtree", or the stored identifier dumped: "Map: 0c 00 00 00"
  HexThenName,    // "Border N: 0c 00 00 00 Wall", the name only when resolved
  SkipEmptySlot,  // as NameOrHex, but an empty slot (identifier 0) has no line
  Undescribed,    // a line of the kind's own says it; the label still names it in problems
};

// One reference by identifier (an IdReference).
template <class Ref>
struct ReferenceField : Helped<ReferenceField<Ref>> {
  std::string_view name;
  Ref& ref;
  std::string_view label;
  ReferenceStyle style = ReferenceStyle::NameOrHex;
};

// A run of references by identifier into one list (ten shop items, ten object scripts). The
// details text numbers them after the label ("Item 3"); only the first `described` have a
// line, and the link resolves only the first `linked`.
template <class Array>
struct ReferenceRunField : Helped<ReferenceRunField<Array>> {
  std::string_view name;
  Array& refs;
  std::string_view label;
  ReferenceStyle style;
  std::size_t described;
  std::size_t linked;
};

// A reference by list position held in a signed 16-bit field (a PositionReference). It names
// a record only while `active` (an item's first parameter is a script position only for a
// usable item); otherwise it is a plain number.
template <class Ref>
struct PositionField : Helped<PositionField<Ref>> {
  std::string_view name;
  Ref& ref;
  std::string_view label;
  bool active = true;
  // Whether the details text has the label's line; the problem report uses the label anyway.
  bool described = true;
};

// The chain identifiers' field names (next, previous and own), their labels and meanings.
inline constexpr std::array<std::string_view, 3> kChainNames = {"next_id", "prev_id", "id"};
inline constexpr std::array<FieldHelp, 3> kChainHelp = {{
    {"Next Id", "The identifier of the next record of the list as read; each save writes new ones"},
    {"Prev Id",
     "The identifier of the previous record of the list as read; each save writes new ones"},
    {"Id", "The record's own identifier as read; each save writes a new one"},
}};

// The next, previous and own identifiers that end the layout of every chain record, in the
// order of kChainNames.
template <class Record>
struct ChainField {
  Record& record;

  std::array<std::uint32_t, 3> Ids() const {
    return {record.StoredNextId(), record.StoredPrevId(), record.StoredId()};
  }
  void SetIds(const std::array<std::uint32_t, 3>& ids) const {
    record.SetStoredIds(ids[0], ids[1], ids[2]);
  }
};

// A line of the details text that does not follow one field: the kind says it itself.
template <class Emit>
struct DescribeLine {
  Emit describe;  // void(Lines&)
};

// A part of a record with its own layout and rules (a map's cells, a script's slots). The
// part provides Read, Write, Link, Describe, CollectKept, CollectProblems and RefersTo.
template <class P>
struct PartField : Helped<PartField<P>> {
  std::string_view name;
  P& part;
};

// A check of the kind's own for the problem report (a count above the slots, a size beyond
// the grid).
template <class Check>
struct ProblemCheck {
  Check check;  // void(RecordProblems&)
};

// Meanings that fields of many kinds share.
namespace meaning {
inline constexpr std::string_view kName =
    "The name the lists, the scripts and the details know it by";
inline constexpr std::string_view kOpaque =
    "Bytes kept as read and written back unchanged; what they mean is not known";
inline constexpr std::string_view kImagePath = "The picture's file, a path under the game folder";
inline constexpr std::string_view kGraphicId =
    "The graphic identifier of the picture; with 0 no image path is stored";
inline constexpr std::string_view kGroup =
    "A group it belongs to, by its position in the group table (0 to 19); -1 for none";
}  // namespace meaning

// Shorthands for Fields lists: visit(field::Text("name", self.name_, 32, "Name")).
namespace field {

template <class S>
TextField<S> Text(std::string_view name, S& value, std::size_t width, std::string_view label,
                  bool present = true) {
  return {{}, name, value, width, label, present};
}
template <class T>
NumberField<T> Number(std::string_view name, T& value, std::string_view label) {
  return {{}, name, value, label, NumberStyle::Decimal};
}
template <class T>
NumberField<T> HexNumber(std::string_view name, T& value, std::string_view label) {
  return {{}, name, value, label, NumberStyle::Hex};
}
// A number that switches something on or off: off means off, any other value on.
template <class T>
NumberField<T> OnOff(std::string_view name, T& value, std::string_view label, std::int64_t off) {
  return {{}, name, value, label, NumberStyle::OnOff, off};
}
template <class T>
ChoiceField<T> Choice(std::string_view name, T& value, std::span<const std::string_view> words,
                      std::string_view label) {
  return {{}, name, value, words, label};
}
template <class A>
OpaqueField<A> Opaque(std::string_view name, A& bytes, std::string_view label = "Unknown") {
  return {{}, name, bytes, label};
}
template <class Ref>
ReferenceField<Ref> Reference(std::string_view name, Ref& ref, std::string_view label,
                              ReferenceStyle style = ReferenceStyle::NameOrHex) {
  return {{}, name, ref, label, style};
}
template <class Array>
ReferenceRunField<Array> ReferenceRun(std::string_view name, Array& refs, std::string_view label,
                                      ReferenceStyle style = ReferenceStyle::SkipEmptySlot) {
  const std::size_t all = std::tuple_size_v<std::remove_const_t<Array>>;
  return {{}, name, refs, label, style, all, all};
}
// A run of which only the first inUse slots are shown and linked.
template <class Array>
ReferenceRunField<Array> ReferenceRun(std::string_view name, Array& refs, std::string_view label,
                                      ReferenceStyle style, std::size_t inUse) {
  return {{}, name, refs, label, style, inUse, inUse};
}
template <class Ref>
PositionField<Ref> Position(std::string_view name, Ref& ref, std::string_view label) {
  return {{}, name, ref, label, true, true};
}
// A position that the details text shows in a line of the kind's own.
template <class Ref>
PositionField<Ref> UndescribedPosition(std::string_view name, Ref& ref, std::string_view label,
                                       bool active) {
  return {{}, name, ref, label, active, false};
}
template <class Record>
ChainField<Record> Chain(Record& record) {
  return {record};
}
template <class Emit>
DescribeLine<Emit> Line(Emit describe) {
  return {describe};
}
template <class P>
PartField<P> Part(std::string_view name, P& part) {
  return {{}, name, part};
}
template <class Check>
ProblemCheck<Check> Problems(Check check) {
  return {check};
}

}  // namespace field

}  // namespace zr3
