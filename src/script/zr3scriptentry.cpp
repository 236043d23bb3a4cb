#include "script/zr3scriptentry.h"

#include <algorithm>
#include <charconv>
#include <limits>

#include "level/bytes.h"
#include "level/zr3base.h"
#include "level/zr3error.h"
#include "level/zr3level.h"
#include "script/zr3scriptcommand.h"
#include "script/zr3scriptcondition.h"

namespace zr3 {

Category CategoryOf(ScriptReference reference) {
  switch (reference) {
    case ScriptReference::Map:
      return Category::Maps;
    case ScriptReference::Item:
      return Category::Items;
    case ScriptReference::CharacterSet:
      return Category::Characters;
    case ScriptReference::Graphic:
      return Category::Graphics;
    case ScriptReference::Text:
      return Category::Texts;
    case ScriptReference::Song:
      return Category::Songs;
    case ScriptReference::Spell:
      return Category::Spells;
    case ScriptReference::Object:
      return Category::Objects;
    case ScriptReference::FirstTile:
    case ScriptReference::SecondTile:
      return Category::Tiles;
    case ScriptReference::Script:
      return Category::ObjectScripts;
    case ScriptReference::Palette:
      return Category::Palettes;
    case ScriptReference::Shop:
      return Category::Shops;
    case ScriptReference::Monster:
      return Category::Monsters;
    case ScriptReference::List:
      return Category::Lists;
  }
  return Category::Maps;
}

ReferenceSteps ZR3ScriptEntry::StepsOf() const {
  // Every entry is constructed as the one or the other.
  return slot_ == Slot::Command ? static_cast<const ZR3ScriptCommand&>(*this).StepsOf()
                                : static_cast<const ZR3ScriptCondition&>(*this).StepsOf();
}

void ZR3ScriptEntry::Read(ByteReader& in) {
  const unsigned char* bytes = in.Take(kSize);
  code_ = LoadU16(bytes);
  for (std::size_t i = 0; i < kParameterCount; ++i) {
    parameters_[i] = static_cast<std::int16_t>(LoadU16(bytes + 2 + 2 * i));
  }
  resolvedCount_ = 0;
}

void ZR3ScriptEntry::ClearReferences() {
  resolvedCount_ = 0;
}

ZR3Base* ZR3ScriptEntry::FlagSlot(std::size_t slot) const {
  for (std::size_t i = 0; i < resolvedCount_; ++i) {
    if (resolvedKinds_[i] == kFlag && slot-- == 0) return resolved_[i];
  }
  return nullptr;
}

ZR3Base* ZR3ScriptEntry::Reference(ScriptReference which) const {
  for (std::size_t i = 0; i < resolvedCount_; ++i) {
    if (resolvedKinds_[i] == static_cast<std::uint8_t>(which)) return resolved_[i];
  }
  return nullptr;
}

void ZR3ScriptEntry::Link(ZR3Level& level) {
  ClearReferences();
  for (const ReferenceStep& step : StepsOf()) {
    const Category list = step.flag ? Category::Flags : CategoryOf(step.reference);
    ZR3Base* target = level.RecordAt(list, parameters_[static_cast<std::size_t>(step.parameter)]);
    if (!target) return;
    resolved_[resolvedCount_] = target;
    resolvedKinds_[resolvedCount_] = step.flag ? kFlag : static_cast<std::uint8_t>(step.reference);
    ++resolvedCount_;
  }
}

void ZR3ScriptEntry::CollectProblems(RecordProblems& problems, const std::string& label) const {
  std::size_t nextFlagSlot = 0;
  for (const ReferenceStep& step : StepsOf()) {
    const ZR3Base* target = step.flag ? FlagSlot(nextFlagSlot++) : Reference(step.reference);
    if (target) continue;
    problems.push_back(
        UnresolvedPosition(label + " p" + std::to_string(step.parameter),
                           parameters_[static_cast<std::size_t>(step.parameter)],
                           step.flag ? Category::Flags : CategoryOf(step.reference)));
    return;
  }
}

ZR3ScriptEntry::Parameters ZR3ScriptEntry::WrittenParameters() const {
  Parameters written = parameters_;
  for (const ReferenceStep& step : StepsOf()) {
    if (step.flag) continue;  // the flag table never moves
    const ZR3Base* target = Reference(step.reference);
    if (!target) continue;
    const int position = target->Position();
    if (position > std::numeric_limits<std::int16_t>::max()) {
      throw ZR3Error("the record \"" + target->Name() + "\" at position " +
                     std::to_string(position) + " does not fit a 16-bit script parameter");
    }
    written[static_cast<std::size_t>(step.parameter)] = static_cast<std::int16_t>(position);
  }
  return written;
}

void ZR3ScriptEntry::Write(ByteWriter& out) const {
  const Parameters written = WrittenParameters();
  out.U16(code_);
  for (std::int16_t parameter : written) out.I16(parameter);
}

void ZR3ScriptEntry::AddOperandStep(ReferenceSteps& steps, int sourceParameter) const {
  if (Parameter(static_cast<std::size_t>(sourceParameter)) == kSourceFlag) {
    steps.Flag(sourceParameter + 1);
  }
}

void ZR3ScriptEntry::AddTripleSteps(ReferenceSteps& steps, int first) const {
  if (Parameter(static_cast<std::size_t>(first)) == kSourceValue) {
    steps.Record(first + 1, ScriptReference::Map);
  } else {
    AddOperandStep(steps, first);
  }
  AddOperandStep(steps, first + 2);
  AddOperandStep(steps, first + 4);
}

bool ZR3ScriptEntry::FlagSlotsHold(const ZR3Base& record) const {
  for (std::size_t i = 0; i < resolvedCount_; ++i) {
    if (resolvedKinds_[i] == kFlag && resolved_[i] == &record) return true;
  }
  return false;
}

void AppendQuotedName(std::string& out, std::string_view name) {
  out += '"';
  // Most names hold neither quotes nor line breaks and go in whole.
  const auto special = [](char c) { return c == '"' || c == '\r' || c == '\n'; };
  if (std::none_of(name.begin(), name.end(), special)) {
    out += name;
  } else {
    for (char c : name) {
      if (c == '"') {
        out += "\"\"";
      } else if (c == '\r' || c == '\n') {
        out += ' ';
      } else {
        out += c;
      }
    }
  }
  out += '"';
}

EntryText& EntryText::Add(std::string_view piece) {
  if (!broken_) out_ += piece;
  return *this;
}

EntryText& EntryText::Number(int value) {
  if (broken_) return *this;
  char digits[16];
  const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  out_.append(digits, end);
  return *this;
}

EntryText& EntryText::RecordName(const ZR3Base* record) {
  if (broken_) return *this;
  if (!record) {
    out_ += badReference_;
    broken_ = true;
    return *this;
  }
  if (style_ == Style::Keyword) {
    AppendQuotedName(out_, record->Name());
  } else {
    out_ += record->Name();
  }
  return *this;
}

EntryText& EntryText::Name(ScriptReference which) {
  return RecordName(entry_.Reference(which));
}

EntryText& EntryText::Flag() {
  const ZR3Base* flag =
      nextFlagSlot_ < ZR3ScriptEntry::kFlagSlotCount ? entry_.FlagSlot(nextFlagSlot_) : nullptr;
  ++nextFlagSlot_;
  return RecordName(flag);
}

EntryText& EntryText::Word(VocabularyTable table, int index) {
  if (!broken_) AppendWord(out_, table, index, style_ == Style::Keyword);
  return *this;
}

EntryText& EntryText::WordIfAny(VocabularyTable table, int index) {
  if (!WordAt(table, index)) return *this;
  return Word(table, index);
}

EntryText& EntryText::SourceAndOperand(int sourceParameter) {
  const int source = entry_.Parameter(static_cast<std::size_t>(sourceParameter));
  const int operand = entry_.Parameter(static_cast<std::size_t>(sourceParameter + 1));
  Word(ValueSources(), source).Add(" ");
  switch (source) {
    case kSourceAttribute:
      return Word(Attributes(), operand);
    case kSourceRandom:
      return style_ == Style::Readable ? Add("0-").Number(operand) : Number(operand);
    case kSourceFlag:
      return Flag();
    default:
      return Number(operand);
  }
}

EntryText& EntryText::MapSourceAndOperand(int sourceParameter) {
  if (entry_.Parameter(static_cast<std::size_t>(sourceParameter)) != kSourceValue) {
    return SourceAndOperand(sourceParameter);
  }
  return Word(ValueSources(), kSourceValue).Add(" ").Name(ScriptReference::Map);
}

}  // namespace zr3
