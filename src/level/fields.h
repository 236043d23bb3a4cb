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

// How the details text shows a number.
enum class NumberStyle : std::uint8_t {
  Decimal,     // "Label: 12"
  Hex,         // a 32-bit identifier dumped in file order: "Label: 0c 00 00 00"
  OffWhenOne,  // a switch that 1 turns off: "Label: Off", any other value "Label: On"
};

// A text of a fixed width: the bytes up to the first zero, at most width of them.
template <class S>
struct TextField {
  std::string_view name;
  S& value;
  std::size_t width;
  std::string_view label;
  // Whether the field is in the file at all: a path exists only beside a non-zero identifier.
  bool present = true;
};

// An integer of the member's own width and signedness.
template <class T>
struct NumberField {
  std::string_view name;
  T& value;
  std::string_view label;
  NumberStyle style = NumberStyle::Decimal;
};

// An integer whose values name the words of a table; values outside the table are kept.
template <class T>
struct ChoiceField {
  std::string_view name;
  T& value;
  std::span<const std::string_view> words;
  std::string_view label;
};

// Bytes the tool keeps as read without interpreting them ("Label: 00 ff").
template <class A>
struct OpaqueField {
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
struct ReferenceField {
  std::string_view name;
  Ref& ref;
  std::string_view label;
  ReferenceStyle style = ReferenceStyle::NameOrHex;
};

// A run of references by identifier into one list (ten shop items, ten object scripts). The
// details text numbers them after the label ("Item 3"); only the first `described` have a
// line, and the link resolves only the first `linked`.
template <class Array>
struct ReferenceRunField {
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
struct PositionField {
  std::string_view name;
  Ref& ref;
  std::string_view label;
  bool active = true;
  // Whether the details text has the label's line; the problem report uses the label anyway.
  bool described = true;
};

// The chain identifiers' field names: next, previous and own.
inline constexpr std::array<std::string_view, 3> kChainNames = {"next_id", "prev_id", "id"};

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
struct PartField {
  std::string_view name;
  P& part;
};

// A check of the kind's own for the problem report (a count above the slots, a size beyond
// the grid).
template <class Check>
struct ProblemCheck {
  Check check;  // void(RecordProblems&)
};

// Shorthands for Fields lists: visit(field::Text("name", self.name_, 32, "Name")).
namespace field {

template <class S>
TextField<S> Text(std::string_view name, S& value, std::size_t width, std::string_view label,
                  bool present = true) {
  return {name, value, width, label, present};
}
template <class T>
NumberField<T> Number(std::string_view name, T& value, std::string_view label) {
  return {name, value, label, NumberStyle::Decimal};
}
template <class T>
NumberField<T> HexNumber(std::string_view name, T& value, std::string_view label) {
  return {name, value, label, NumberStyle::Hex};
}
template <class T>
NumberField<T> OffWhenOne(std::string_view name, T& value, std::string_view label) {
  return {name, value, label, NumberStyle::OffWhenOne};
}
template <class T>
ChoiceField<T> Choice(std::string_view name, T& value, std::span<const std::string_view> words,
                      std::string_view label) {
  return {name, value, words, label};
}
template <class A>
OpaqueField<A> Opaque(std::string_view name, A& bytes, std::string_view label = "Unknown") {
  return {name, bytes, label};
}
template <class Ref>
ReferenceField<Ref> Reference(std::string_view name, Ref& ref, std::string_view label,
                              ReferenceStyle style = ReferenceStyle::NameOrHex) {
  return {name, ref, label, style};
}
template <class Array>
ReferenceRunField<Array> ReferenceRun(std::string_view name, Array& refs, std::string_view label,
                                      ReferenceStyle style = ReferenceStyle::SkipEmptySlot) {
  const std::size_t all = std::tuple_size_v<std::remove_const_t<Array>>;
  return {name, refs, label, style, all, all};
}
// A run of which only the first inUse slots are shown and linked.
template <class Array>
ReferenceRunField<Array> ReferenceRun(std::string_view name, Array& refs, std::string_view label,
                                      ReferenceStyle style, std::size_t inUse) {
  return {name, refs, label, style, inUse, inUse};
}
template <class Ref>
PositionField<Ref> Position(std::string_view name, Ref& ref, std::string_view label) {
  return {name, ref, label, true, true};
}
// A position that the details text shows in a line of the kind's own.
template <class Ref>
PositionField<Ref> UndescribedPosition(std::string_view name, Ref& ref, std::string_view label,
                                       bool active) {
  return {name, ref, label, active, false};
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
  return {name, part};
}
template <class Check>
ProblemCheck<Check> Problems(Check check) {
  return {check};
}

}  // namespace field

}  // namespace zr3
