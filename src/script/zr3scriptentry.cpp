#include "script/zr3scriptentry.h"

#include <algorithm>
#include <charconv>
#include <limits>

#include "level/bytes.h"
#include "level/zr3base.h"
#include "level/zr3error.h"
#include "level/zr3level.h"

namespace zr3 {

const Form* ZR3ScriptEntry::FormOf() const {
  return slot_ == Slot::Command ? CommandForm(code_) : ConditionForm(code_);
}

ReferenceSteps ZR3ScriptEntry::StepsOf() const {
  ReferenceSteps steps;
  const Form* form = FormOf();
  if (!form) return steps;
  WalkForm(*form, parameters_, [&](const Piece& piece) {
    const int p = piece.parameter;
    const std::int16_t value = parameters_[piece.parameter];
    switch (piece.kind) {
      case PieceKind::Record:
        // A record's sentinel ("all maps") names no record.
        if (!MeetsSentinel(piece.sentinel, value)) steps.Record(p, piece.reference);
        break;
      case PieceKind::Flag:
        steps.Flag(p);
        break;
      case PieceKind::MapOperand:
        if (value == kSourceValue) {
          steps.Record(p + 1, ScriptReference::Map);
          break;
        }
        [[fallthrough]];
      case PieceKind::Operand:
        if (value == kSourceFlag) steps.Flag(p + 1);
        break;
      default:
        break;
    }
    return true;
  });
  return steps;
}

void ZR3ScriptEntry::Read(ByteReader& in) {
  const unsigned char* bytes = in.Take(kSize);
  code_ = LoadU16(bytes);
  for (std::size_t i = 0; i < kParameterCount; ++i) {
    parameters_[i] = static_cast<std::int16_t>(LoadU16(bytes + 2 + 2 * i));
  }
  ClearReferences();
}

void ZR3ScriptEntry::ClearReferences() {
  resolvedCount_ = 0;
  linkedFully_ = false;
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

bool ZR3ScriptEntry::StillResolved(const ZR3Level& level) const {
  for (std::size_t i = 0; i < resolvedCount_; ++i) {
    const Category list = ListOfKind(resolvedKinds_[i]);
    if (level.RecordAt(list, parameters_[resolvedParameters_[i]]) != resolved_[i]) return false;
  }
  return true;
}

void ZR3ScriptEntry::Link(ZR3Level& level) {
  if (linkedFully_ && StillResolved(level)) return;
  ClearReferences();
  for (const ReferenceStep& step : StepsOf()) {
    const Category list = step.flag ? Category::Flags : CategoryOf(step.reference);
    ZR3Base* target = level.RecordAt(list, parameters_[static_cast<std::size_t>(step.parameter)]);
    if (!target) return;
    resolved_[resolvedCount_] = target;
    resolvedKinds_[resolvedCount_] = step.flag ? kFlag : static_cast<std::uint8_t>(step.reference);
    resolvedParameters_[resolvedCount_] = static_cast<std::uint8_t>(step.parameter);
    ++resolvedCount_;
  }
  linkedFully_ = true;
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

template <class PlaceOf>
ZR3ScriptEntry::Parameters ZR3ScriptEntry::WrittenWith(PlaceOf placeOf) const {
  Parameters written = parameters_;
  for (std::size_t i = 0; i < resolvedCount_; ++i) {
    if (resolvedKinds_[i] == kFlag) continue;  // the flag table never moves
    const ZR3Base& target = *resolved_[i];
    const std::optional<int> position = placeOf(target);
    if (!position) continue;
    if (*position > std::numeric_limits<std::int16_t>::max()) {
      throw ZR3Error("the record \"" + target.Name() + "\" at position " +
                     std::to_string(*position) + " does not fit a 16-bit script parameter");
    }
    written[resolvedParameters_[i]] = static_cast<std::int16_t>(*position);
  }
  return written;
}

ZR3ScriptEntry::Parameters ZR3ScriptEntry::WrittenParameters() const {
  return WrittenWith([](const ZR3Base& record) { return std::optional<int>(record.Position()); });
}

ZR3ScriptEntry::Parameters ZR3ScriptEntry::WrittenParameters(const RecordPlaces& places) const {
  return places ? WrittenWith(places) : WrittenParameters();
}

void ZR3ScriptEntry::Write(ByteWriter& out) const {
  const Parameters written = WrittenParameters();
  out.U16(code_);
  for (std::int16_t parameter : written) out.I16(parameter);
}

std::optional<Category> ZR3ScriptEntry::ListReferred(const ZR3Base& record) const {
  for (std::size_t i = 0; i < resolvedCount_; ++i) {
    if (resolved_[i] == &record) return ListOfKind(resolvedKinds_[i]);
  }
  return std::nullopt;
}

std::string ZR3ScriptEntry::ReadableText() const {
  std::string text;
  AppendReadableText(text);
  return text;
}

std::string ZR3ScriptEntry::KeywordText() const {
  std::string text;
  AppendKeywordText(text);
  return text;
}

void ZR3ScriptEntry::AppendText(bool readable, std::string& out) const {
  const bool command = slot_ == Slot::Command;
  const Form* form = FormOf();
  if (!form) {
    if (readable) out += ' ';
    if (command && code_ < kFirstCommandCode) {
      out += kNullWord;
      return;
    }
    out += kInvalidWord;
    out += " (";
    out += std::to_string(code_);
    out += ") ";
    return;
  }
  EntryText text(*this, readable ? EntryText::Style::Readable : EntryText::Style::Keyword,
                 command ? kCommandBadReference : kConditionBadReference, out);
  if (!readable) {
    text.Add(form->kind.keyword);
  } else if (!form->pieceTextOnly) {
    text.Add(" ").Add(form->kind.readable);
  }
  // A condition's name and keyword are always followed by a blank.
  if (!command) text.Add(" ");
  WalkForm(*form, parameters_, [&text](const Piece& piece) {
    if (!piece.importOnly) text.Append(piece);
    return !text.Broken();
  });
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

EntryText& EntryText::Append(const Piece& piece) {
  const bool readable = style_ == Style::Readable;
  const int value = entry_.Parameter(piece.parameter);
  const bool sentinel = MeetsSentinel(piece.sentinel, static_cast<std::int16_t>(value));
  if (sentinel && readable && !piece.readableSentinel.empty()) return Add(piece.readableSentinel);
  const std::string_view before = readable ? piece.readable : piece.keyword;
  switch (piece.kind) {
    case PieceKind::Text:
      return Add(before);
    case PieceKind::Number:
      return Add(before).Number(sentinel && piece.writesMinusOne ? -1 : value);
    case PieceKind::Record:
      // A record's sentinel is written as the number it is.
      if (sentinel) return Add(before).Number(piece.writesMinusOne ? -1 : value);
      return Add(before).Name(piece.reference);
    case PieceKind::Flag:
      return Add(before).Flag();
    case PieceKind::Word:
      return Add(before).Word(Words(piece.words), value);
    case PieceKind::OptionalWord:
      if (!WordAt(Words(piece.words), value)) return *this;
      Add(before).Word(Words(piece.words), value);
      return readable ? *this : Add(piece.keywordAfter);
    case PieceKind::Choice:
      return Add(before).Word(Words(piece.words), value == 0 ? 0 : 1);
    case PieceKind::Operand:
      return Add(before).SourceAndOperand(piece.parameter);
    case PieceKind::MapOperand:
      return Add(before).MapSourceAndOperand(piece.parameter);
  }
  return *this;
}

}  // namespace zr3
