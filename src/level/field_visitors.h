#pragma once

#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

#include "level/bytes.h"
#include "level/fields.h"
#include "level/problems.h"
#include "level/references.h"
#include "level/text.h"
#include "level/zr3base.h"
#include "level/zr3level.h"

namespace zr3 {

// The visitors that every record kind's field list drives. Each has one overload per
// descriptor; a new consumer of the fields is one new visitor here.

template <class T>
T ReadInteger(ByteReader& in) {
  using U = std::remove_const_t<T>;
  static_assert(sizeof(U) <= 4);
  if constexpr (sizeof(U) == 1) {
    return static_cast<U>(in.U8());
  } else if constexpr (sizeof(U) == 2) {
    return static_cast<U>(in.U16());
  } else {
    return static_cast<U>(in.U32());
  }
}

template <class T>
void WriteInteger(ByteWriter& out, T value) {
  if constexpr (sizeof(T) == 1) {
    out.U8(static_cast<std::uint8_t>(value));
  } else if constexpr (sizeof(T) == 2) {
    out.U16(static_cast<std::uint16_t>(value));
  } else {
    out.U32(static_cast<std::uint32_t>(value));
  }
}

class FieldReader {
 public:
  explicit FieldReader(ByteReader& in) : in_(in) {}

  template <class S>
  void operator()(TextField<S> f) {
    if (f.present) f.value = in_.FixedText(f.width);
  }
  template <class T>
  void operator()(NumberField<T> f) {
    f.value = ReadInteger<T>(in_);
  }
  template <class T>
  void operator()(ChoiceField<T> f) {
    f.value = ReadInteger<T>(in_);
  }
  template <class A>
  void operator()(OpaqueField<A> f) {
    in_.Bytes(f.bytes.data(), f.bytes.size());
  }
  template <class Ref>
  void operator()(ReferenceField<Ref> f) {
    f.ref.Read(in_);
  }
  template <class A>
  void operator()(ReferenceRunField<A> f) {
    for (auto& ref : f.refs) ref.Read(in_);
  }
  template <class Ref>
  void operator()(PositionField<Ref> f) {
    f.ref.Read(in_);
  }
  template <class R>
  void operator()(ChainField<R> f) {
    f.record.ReadChain(in_);
  }
  template <class P>
  void operator()(PartField<P> f) {
    f.part.Read(in_);
  }
  template <class E>
  void operator()(DescribeLine<E>) {}
  template <class C>
  void operator()(ProblemCheck<C>) {}

 private:
  ByteReader& in_;
};

class FieldWriter {
 public:
  // owner names the record in the message of a position that does not fit its field.
  FieldWriter(ByteWriter& out, const ZR3ChainRecord* owner) : out_(out), owner_(owner) {}

  template <class S>
  void operator()(TextField<S> f) {
    if (f.present) out_.FixedText(f.value, f.width);
  }
  template <class T>
  void operator()(NumberField<T> f) {
    WriteInteger(out_, f.value);
  }
  template <class T>
  void operator()(ChoiceField<T> f) {
    WriteInteger(out_, f.value);
  }
  template <class A>
  void operator()(OpaqueField<A> f) {
    out_.Bytes(f.bytes.data(), f.bytes.size());
  }
  template <class Ref>
  void operator()(ReferenceField<Ref> f) {
    f.ref.Write(out_);
  }
  template <class A>
  void operator()(ReferenceRunField<A> f) {
    for (auto& ref : f.refs) ref.Write(out_);
  }
  template <class Ref>
  void operator()(PositionField<Ref> f) {
    f.ref.Write(out_, owner_);
  }
  template <class R>
  void operator()(ChainField<R> f) {
    f.record.WriteChain(out_);
  }
  template <class P>
  void operator()(PartField<P> f) {
    f.part.Write(out_);
  }
  template <class E>
  void operator()(DescribeLine<E>) {}
  template <class C>
  void operator()(ProblemCheck<C>) {}

 private:
  ByteWriter& out_;
  const ZR3ChainRecord* owner_;
};

class FieldDescriber {
 public:
  explicit FieldDescriber(Lines& lines) : lines_(lines) {}

  template <class S>
  void operator()(TextField<S> f) {
    if (!f.label.empty()) Labelled(f.label) += f.value;
  }
  template <class T>
  void operator()(NumberField<T> f) {
    if (f.label.empty()) return;
    if (f.style == NumberStyle::Hex) {
      lines_.push_back(HexDumpU32(std::string(f.label) + ":", f.value));
    } else if (f.style == NumberStyle::OnOff) {
      Labelled(f.label) += f.value == f.off ? "Off" : "On";
    } else {
      Labelled(f.label) += std::to_string(+f.value);
    }
  }
  template <class T>
  void operator()(ChoiceField<T> f) {
    if (!f.label.empty()) Labelled(f.label) += EntryOrNumber(f.words, f.value);
  }
  template <class A>
  void operator()(OpaqueField<A> f) {
    if (!f.label.empty()) {
      lines_.push_back(HexDump(std::string(f.label) + ":", f.bytes.data(), f.bytes.size()));
    }
  }
  template <class Ref>
  void operator()(ReferenceField<Ref> f) {
    if (!f.label.empty()) DescribeReference(f.ref, std::string(f.label), f.style);
  }
  template <class A>
  void operator()(ReferenceRunField<A> f) {
    for (std::size_t i = 0; i < f.described; ++i) {
      DescribeReference(f.refs[i], std::string(f.label) + std::to_string(i), f.style);
    }
  }
  template <class Ref>
  void operator()(PositionField<Ref> f) {
    if (!f.described) return;
    const ZR3Base* record = f.ref.Record();
    Labelled(f.label) += record ? record->Name() : std::to_string(f.ref.Stored());
  }
  template <class R>
  void operator()(ChainField<R> f) {
    f.record.DescribeChain(lines_);
  }
  template <class P>
  void operator()(PartField<P> f) {
    f.part.Describe(lines_);
  }
  template <class E>
  void operator()(DescribeLine<E> f) {
    f.describe(lines_);
  }
  template <class C>
  void operator()(ProblemCheck<C>) {}

 private:
  // A new line "<label>: " to append the value to.
  std::string& Labelled(std::string_view label) {
    std::string& line = lines_.emplace_back(label);
    line += ": ";
    return line;
  }

  template <class Ref>
  void DescribeReference(const Ref& ref, const std::string& label, ReferenceStyle style) {
    if (style == ReferenceStyle::Undescribed) return;
    if (style == ReferenceStyle::SkipEmptySlot && ref.Empty()) return;
    const ZR3ChainRecord* record = ref.Record();
    if (style == ReferenceStyle::HexThenName) {
      std::string& line = lines_.emplace_back(HexDumpU32(label + ":", ref.Stored()));
      if (record) line += " " + record->Name();
      return;
    }
    lines_.push_back(record ? label + ": " + record->Name()
                            : HexDumpU32(label + ":", ref.Stored()));
  }

  Lines& lines_;
};

// The details text of the fields whose names pick accepts, in list order: a kind whose
// details text is not in file order describes its fields in several picks.
template <class Pick>
class PickedFieldDescriber {
 public:
  PickedFieldDescriber(Lines& lines, Pick pick) : describe_(lines), pick_(pick) {}

  template <class F>
  void operator()(F f) {
    if constexpr (requires { f.name; }) {
      if (pick_(f.name)) describe_(f);
    }
  }

 private:
  FieldDescriber describe_;
  Pick pick_;
};

// Resolves the references. Positions held in parameters link after everything else.
class FieldLinker {
 public:
  FieldLinker(ZR3Level& level, bool lastPass) : level_(level), lastPass_(lastPass) {}

  template <class Ref>
  void operator()(ReferenceField<Ref> f) {
    if (!lastPass_) f.ref.Link(level_);
  }
  template <class A>
  void operator()(ReferenceRunField<A> f) {
    if (lastPass_) return;
    for (std::size_t i = 0; i < f.refs.size(); ++i) {
      if (i < f.linked) {
        f.refs[i].Link(level_);
      } else {
        f.refs[i].Unlink();
      }
    }
  }
  template <class Ref>
  void operator()(PositionField<Ref> f) {
    if (Ref::kRule.linksLast != lastPass_) return;
    if (f.active) {
      f.ref.Link(level_);
    } else {
      f.ref.Unlink();
    }
  }
  template <class P>
  void operator()(PartField<P> f) {
    if (!lastPass_) f.part.Link(level_);
  }
  template <class F>
  void operator()(const F&) {}

 private:
  ZR3Level& level_;
  bool lastPass_;
};

// Whether each position field names a record (is active), in field order; and the linker that
// afterwards links or unlinks only the fields whose state changed, so that setting one field
// (a type that makes a parameter name a record) leaves every other link as it was.
class PositionStates {
 public:
  explicit PositionStates(std::vector<bool>& states) : states_(states) {}
  template <class Ref>
  void operator()(PositionField<Ref> f) {
    states_.push_back(f.active);
  }
  template <class F>
  void operator()(const F&) {}

 private:
  std::vector<bool>& states_;
};

class ChangedPositionLinker {
 public:
  ChangedPositionLinker(ZR3Level& level, const std::vector<bool>& before)
      : level_(level), before_(before) {}
  template <class Ref>
  void operator()(PositionField<Ref> f) {
    const bool was = next_ < before_.size() && before_[next_];
    ++next_;
    if (was == f.active) return;
    if (f.active) {
      f.ref.Link(level_);
    } else {
      f.ref.Unlink();
    }
  }
  template <class F>
  void operator()(const F&) {}

 private:
  ZR3Level& level_;
  const std::vector<bool>& before_;
  std::size_t next_ = 0;
};

// The stored identifiers that the next save writes back unchanged.
class KeptIdentifiers {
 public:
  explicit KeptIdentifiers(std::vector<std::uint32_t>& kept) : kept_(kept) {}

  template <class Ref>
  void operator()(ReferenceField<Ref> f) {
    f.ref.CollectKept(kept_);
  }
  template <class A>
  void operator()(ReferenceRunField<A> f) {
    for (const auto& ref : f.refs) ref.CollectKept(kept_);
  }
  template <class P>
  void operator()(PartField<P> f) {
    f.part.CollectKept(kept_);
  }
  template <class F>
  void operator()(const F&) {}

 private:
  std::vector<std::uint32_t>& kept_;
};

class ProblemCollector {
 public:
  explicit ProblemCollector(RecordProblems& problems) : problems_(problems) {}

  template <class Ref>
  void operator()(ReferenceField<Ref> f) {
    f.ref.CollectProblem(problems_, std::string(f.label));
  }
  template <class A>
  void operator()(ReferenceRunField<A> f) {
    for (std::size_t i = 0; i < f.refs.size(); ++i) {
      const std::size_t before = problems_.size();
      f.refs[i].CollectProblem(problems_, std::string(f.label) + std::to_string(i));
      // A slot beyond the ones in use is never linked, whatever it holds.
      if (i >= f.linked && problems_.size() > before) {
        problems_.back().issue = "beyond the count, never linked";
      }
    }
  }
  template <class Ref>
  void operator()(PositionField<Ref> f) {
    // A position the link refuses never reaches a loaded level.
    if (Ref::kRule.outside == OutsideList::LinkError || !f.active || !f.ref.Unresolved()) return;
    const Category list = Ref::kRule.list;
    if (IsFixedTable(list)) {
      problems_.push_back({std::string(f.label), std::to_string(f.ref.Stored()),
                           "outside the " + std::string(InfoOf(list).recordNoun) + " table (0 to " +
                               std::to_string(FixedTableSize(list) - 1) + ")",
                           AtSave::Kept});
    } else {
      problems_.push_back(UnresolvedPosition(std::string(f.label), f.ref.Stored(), list));
    }
  }
  template <class P>
  void operator()(PartField<P> f) {
    f.part.CollectProblems(problems_);
  }
  template <class C>
  void operator()(ProblemCheck<C> f) {
    f.check(problems_);
  }
  template <class F>
  void operator()(const F&) {}

 private:
  RecordProblems& problems_;
};

// Whether any reference of the record resolved to the target (compared by identity).
class ReferenceFinder {
 public:
  explicit ReferenceFinder(const ZR3Base& target) : target_(target) {}

  bool Found() const { return found_; }

  template <class Ref>
  void operator()(ReferenceField<Ref> f) {
    found_ = found_ || f.ref.RefersTo(target_);
  }
  template <class A>
  void operator()(ReferenceRunField<A> f) {
    for (const auto& ref : f.refs) found_ = found_ || ref.RefersTo(target_);
  }
  template <class Ref>
  void operator()(PositionField<Ref> f) {
    found_ = found_ || f.ref.RefersTo(target_);
  }
  template <class P>
  void operator()(PartField<P> f) {
    found_ = found_ || f.part.RefersTo(target_);
  }
  template <class F>
  void operator()(const F&) {}

 private:
  const ZR3Base& target_;
  bool found_ = false;
};

}  // namespace zr3
