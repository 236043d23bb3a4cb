#include "script/script_reading.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <functional>
#include <limits>

#include "script/zr3importer.h"

namespace zr3 {

namespace {

// The low 16 bits of a number, as a parameter holds it.
std::int16_t Low16(std::int32_t value) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(value & 0xFFFF));
}

std::string KeywordList(VocabularyTable table, std::string_view between) {
  std::string list;
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (i > 0) list += i + 1 == table.size() ? between : std::string_view(", ");
    list += Quote(table[i].keyword);
  }
  return list;
}

}  // namespace

bool TokenReader::Next(ScriptToken& token) {
  if (i_ >= line_.size()) return false;
  token.start = static_cast<std::uint32_t>(i_);
  token.quoted = line_[i_] == '"';
  token.closed = true;
  token.text = token.quoted ? Quoted(token.closed) : Plain();
  token.end = static_cast<std::uint32_t>(i_);
  SkipSeparators();
  if (i_ < line_.size() && line_[i_] == ',') {
    ++i_;
    SkipSeparators();
  }
  return true;
}

// A comma here leaves the token empty and is taken as its separator.
std::string_view TokenReader::Plain() {
  const std::size_t start = i_;
  i_ = PlainTokenEnd(line_, start);
  return line_.substr(start, i_ - start);
}

// Up to the closing quote, or to the end of the line when there is none.
std::string_view TokenReader::Quoted(bool& closed) {
  const std::size_t start = ++i_;
  std::size_t close = line_.find('"', start);
  if (close == std::string_view::npos) {
    i_ = line_.size();
    closed = false;
    return line_.substr(start);
  }
  if (close + 1 >= line_.size() || line_[close + 1] != '"') {
    i_ = close + 1;
    return line_.substr(start, close - start);
  }
  // Two quotes stand for one: the token is put together in scratch.
  const std::size_t first = scratch_.size();
  for (;;) {
    scratch_.append(line_.substr(i_, close - i_));
    if (close + 1 >= line_.size() || line_[close + 1] != '"') {
      i_ = close + 1;
      break;
    }
    scratch_ += '"';
    i_ = close + 2;
    close = line_.find('"', i_);
    if (close == std::string_view::npos) {
      scratch_.append(line_.substr(i_));
      i_ = line_.size();
      closed = false;
      break;
    }
  }
  return std::string_view(scratch_).substr(first);
}

void SourceLine::Split(std::string_view line, std::size_t number, std::string& scratch,
                       std::size_t max) {
  number_ = number;
  text_ = line;
  scratch.clear();
  scratch.reserve(line.size());
  TokenReader reader(line, scratch);
  count_ = 0;
  max = std::min(max, tokens_.size());
  while (count_ < max && reader.Next(tokens_[count_])) ++count_;
}

std::string Quote(std::string_view text) {
  std::string quoted(1, '"');
  quoted += text;
  quoted += '"';
  return quoted;
}

bool Within(std::string_view view, std::string_view text) {
  return std::less_equal<>()(text.data(), view.data()) &&
         std::less_equal<>()(view.data() + view.size(), text.data() + text.size());
}

int HeaderKind(std::string_view token) {
  // Every header word ends in "script": the other lines of a text are told apart at once.
  if (!token.ends_with(kScriptWord)) return -1;
  if (token == kScriptWord) return static_cast<int>(ScriptKind::Object);
  return FindExactKeyword(ScriptHeaders(), token);
}

LineStructure StructureOf(const SourceLine& line, bool inBody) {
  if (line.Count() == 0) return LineStructure::None;
  const bool end = line[0] == kEndWord;
  if (end && line.Count() < 2) return LineStructure::EndWithoutWord;
  if (inBody) return line.IsEndScript() ? LineStructure::Closes : LineStructure::None;
  if (end || HeaderKind(line[0]) < 0) return LineStructure::None;
  return line.Count() < 2 ? LineStructure::HeaderWithoutName : LineStructure::Opens;
}

std::string DescribeWords(WordTable words) {
  const VocabularyTable table = Words(words);
  const std::string_view noun = WordNoun(words);
  if (noun.empty()) return KeywordList(table, " or ");
  return std::string(noun) + " (" + KeywordList(table, " or ") + ")";
}

// ---- Lines of a body ----

namespace {

// How far apart two words are: the fewest single-character insertions, deletions, changes
// and swaps of neighbours (ASCII case ignored) that turn one into the other.
std::size_t EditDistance(std::string_view a, std::string_view b) {
  const auto same = [&](std::size_t i, std::size_t j) {
    return EqualsIgnoringAsciiCase(a.substr(i, 1), b.substr(j, 1));
  };
  const std::size_t width = b.size() + 1;
  std::vector<std::size_t> d((a.size() + 1) * width);
  const auto at = [&](std::size_t i, std::size_t j) -> std::size_t& { return d[i * width + j]; };
  for (std::size_t i = 0; i <= a.size(); ++i) at(i, 0) = i;
  for (std::size_t j = 0; j <= b.size(); ++j) at(0, j) = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    for (std::size_t j = 1; j <= b.size(); ++j) {
      at(i, j) = std::min(
          {at(i - 1, j) + 1, at(i, j - 1) + 1, at(i - 1, j - 1) + (same(i - 1, j - 1) ? 0 : 1)});
      if (i > 1 && j > 1 && same(i - 1, j - 2) && same(i - 2, j - 1)) {
        at(i, j) = std::min(at(i, j), at(i - 2, j - 2) + 1);
      }
    }
  }
  return at(a.size(), b.size());
}

}  // namespace

std::string_view NearestWord(std::string_view word, std::span<const std::string_view> candidates) {
  // One slip in a short word, two in a longer one.
  std::size_t bestDistance = word.size() < 5 ? 1 : 2;
  std::string_view best;
  for (const std::string_view candidate : candidates) {
    const std::size_t distance = EditDistance(word, candidate);
    if (distance <= bestDistance && (best.empty() || distance < bestDistance)) {
      best = candidate;
      bestDistance = distance;
    }
  }
  return best;
}

namespace {

// The keyword of a condition (commandPhase false) or command kind nearest to the word.
std::string_view NearestKeyword(std::string_view word, bool commandPhase) {
  std::vector<std::string_view> keywords;
  const int first = commandPhase ? kFirstCommandCode : 0;
  const int last = commandPhase ? kLastCommandCode : kLastConditionCode;
  for (int code = first; code <= last; ++code) {
    if (const VocabularyWord* kind = commandPhase ? CommandKind(code) : ConditionKind(code)) {
      keywords.push_back(kind->keyword);
    }
  }
  return NearestWord(word, keywords);
}

// Reads the tokens of one condition or command line into a slot along the code's line form,
// token k into parameter p. Every piece but a fixed text takes one token, an operand two.
class EntryReader {
 public:
  EntryReader(const SourceLine& line, const NameLookup* names, SlotValue& slot,
              FindingSink& findings, LineExpectations* expectations)
      : line_(line), names_(names), slot_(slot), findings_(findings), expectations_(expectations) {}

  void Read(const Form& form, std::string_view keyword);

 private:
  std::int16_t Get(int p) const { return slot_.parameters[static_cast<std::size_t>(p)]; }
  void Set(int p, int value) {
    slot_.parameters[static_cast<std::size_t>(p)] = static_cast<std::int16_t>(value);
  }
  void Expect(std::size_t k, Expectation expectation) {
    if (expectations_ && k < expectations_->size()) (*expectations_)[k] = expectation;
  }
  void Report(Audience audience, Severity severity, std::size_t k, std::string message);
  // The line gives no token k: said once a line, at its last token.
  bool Missing(std::size_t k, const Piece* piece, std::string_view what);

  // A number; a token that the line does not give leaves the parameter as it was, so that
  // parameters the exported line does not show survive a round trip.
  void Number(const Piece& piece, int p, std::size_t k);
  // A record's name; a record whose sentinel the line gives as a bare number ("all maps")
  // takes that number.
  void Record(const Piece& piece, std::size_t k);
  void Name(int p, Category category, std::size_t k);
  // The position of the token among the table's keywords, ignoring case; 0, with a warning,
  // when it is none of them.
  void Word(int p, WordTable words, std::size_t k);
  // A word compared exactly; anything else, a missing token included, is the first word. A
  // choice tests its second word alone.
  void ExactWord(const Piece& piece, std::size_t k);
  // A value source at p and its operand at p + 1.
  void Operand(int p, std::size_t k);
  // The same for a map, whose value operand is a map name.
  void MapOperand(int p, std::size_t k);
  // The operand at p + 1 as the value source at p says: an attribute, a flag or a number.
  void OperandBySource(int p, std::size_t k);

  const SourceLine& line_;
  const NameLookup* names_;
  SlotValue& slot_;
  FindingSink& findings_;
  LineExpectations* expectations_;
  bool missingReported_ = false;
};

void EntryReader::Report(Audience audience, Severity severity, std::size_t k, std::string message) {
  const std::size_t last = std::max<std::size_t>(line_.Count(), 1) - 1;
  const ScriptToken& token = line_.Token(std::min(k, last));
  findings_.Report({audience, severity, line_.Number(), token.start, token.end - token.start,
                    std::move(message)});
}

bool EntryReader::Missing(std::size_t k, const Piece* piece, std::string_view what) {
  if (k < line_.Count()) return false;
  if ((!piece || !piece->importOnly) && !missingReported_) {
    missingReported_ = true;
    Report(Audience::Analysis, Severity::Error, k,
           std::string(what) + " is missing after " + Quote(line_[line_.Count() - 1]));
  }
  return true;
}

void EntryReader::Read(const Form& form, std::string_view keyword) {
  std::size_t k = 1;
  WalkForm(form, slot_.parameters, [&](const Piece& piece) {
    const int p = piece.parameter;
    switch (piece.kind) {
      case PieceKind::Text:
        return true;
      case PieceKind::Number:
        Number(piece, p, k);
        break;
      case PieceKind::Record:
        Record(piece, k);
        break;
      case PieceKind::Flag:
        Name(p, Category::Flags, k);
        break;
      case PieceKind::Word:
        Word(p, piece.words, k);
        break;
      case PieceKind::OptionalWord:
      case PieceKind::Choice:
        ExactWord(piece, k);
        break;
      case PieceKind::Operand:
        Operand(p, k++);
        break;
      case PieceKind::MapOperand:
        MapOperand(p, k++);
        break;
    }
    ++k;
    return true;
  });
  if (line_.Count() > k) {
    const ScriptToken& first = line_.Token(k);
    findings_.Report({Audience::Analysis, Severity::Error, line_.Number(), first.start,
                      line_.Text().size() - first.start,
                      "too many values for " + Quote(keyword) + "; " + Quote(line_[k]) +
                          (line_.Count() > k + 1 ? " and what follows are" : " is") + " ignored"});
  }
}

void EntryReader::Number(const Piece& piece, int p, std::size_t k) {
  Expect(k, {Expectation::Kind::Number});
  if (Missing(k, &piece, "a number")) return;
  const std::optional<std::int32_t> value = ParseScriptNumber(line_[k]);
  if (!value) {
    Report(Audience::Everyone, Severity::Error, k, Quote(line_[k]) + " is not a number; 0 is used");
  }
  Set(p, Low16(value.value_or(0)));
}

void EntryReader::Record(const Piece& piece, std::size_t k) {
  if (piece.sentinel != Sentinel::None && !line_.Quoted(k)) {
    const std::optional<std::int32_t> value = ParseScriptNumber(line_[k]);
    if (value && *value == Low16(*value) && MeetsSentinel(piece.sentinel, Low16(*value))) {
      Expect(k, {Expectation::Kind::Name, WordTable::Comparisons, CategoryOf(piece.reference)});
      Set(piece.parameter, *value);
      return;
    }
  }
  Name(piece.parameter, CategoryOf(piece.reference), k);
}

void EntryReader::Name(int p, Category category, std::size_t k) {
  Expect(k, {Expectation::Kind::Name, WordTable::Comparisons, category});
  const bool missing =
      k >= line_.Count() &&
      Missing(k, nullptr, "a name of " + std::string(InfoOf(category).sectionName));
  if (!names_) {
    Set(p, 0);
    return;
  }
  const std::string_view name = line_[k];
  const std::optional<NameMatch> entry = names_->Find(category, name);
  // Only a report needs the noun: most names are found.
  const std::string_view noun = InfoOf(category).recordNoun;
  if (!entry || entry->ambiguous) {
    if (!entry) {
      const std::string report = "no " + std::string(noun) + " named " + Quote(name) +
                                 "; the first " + std::string(noun) + " is used";
      const std::string_view nearest =
          missing ? std::string_view() : names_->Nearest(category, name);
      if (nearest.empty()) {
        Report(missing ? Audience::ImportReport : Audience::Everyone, Severity::Error, k, report);
      } else {
        Report(Audience::ImportReport, Severity::Error, k, report);
        Report(Audience::Analysis, Severity::Error, k,
               report + "; did you mean " + Quote(nearest) + "?");
      }
      Set(p, 0);
      return;
    }
    Report(Audience::Everyone, Severity::Warning, k,
           "more than one " + std::string(noun) + " is named " + Quote(name) +
               " (ambiguous, the first is used)");
  }
  if (entry->position > std::numeric_limits<std::int16_t>::max()) {
    Report(Audience::Everyone, Severity::Fatal, k,
           "the " + std::string(noun) + " " + Quote(name) + " at position " +
               std::to_string(entry->position) + " cannot be named by a script");
  }
  Set(p, entry->position);
}

void EntryReader::Word(int p, WordTable words, std::size_t k) {
  Expect(k, {Expectation::Kind::Word, words});
  const VocabularyTable table = Words(words);
  int index = FindKeyword(table, line_[k]);
  if (index < 0) {
    const bool missing = Missing(k, nullptr, "a " + DescribeWords(words));
    Report(missing ? Audience::ImportReport : Audience::Everyone, Severity::Error, k,
           "unknown " + std::string(WordNoun(words)) + " " + Quote(line_[k]) + "; " +
               Quote(table[0].keyword) + " is used");
    index = 0;
  }
  Set(p, index);
}

void EntryReader::ExactWord(const Piece& piece, std::size_t k) {
  Expect(k, {Expectation::Kind::ExactWord, piece.words});
  const VocabularyTable table = Words(piece.words);
  int index = FindExactKeyword(table, line_[k]);
  if (index < 0 && !Missing(k, &piece, DescribeWords(piece.words))) {
    Report(Audience::Analysis, Severity::Error, k,
           Quote(line_[k]) + " is none of " + DescribeWords(piece.words) + "; " +
               Quote(table[0].keyword) + " is used");
  }
  if (piece.kind == PieceKind::Choice) index = index == 1 ? 1 : 0;
  Set(piece.parameter, std::max(index, 0));
}

void EntryReader::Operand(int p, std::size_t k) {
  Word(p, WordTable::ValueSources, k);
  OperandBySource(p, k);
}

void EntryReader::MapOperand(int p, std::size_t k) {
  Word(p, WordTable::ValueSources, k);
  if (Get(p) == kSourceValue) {
    Name(p + 1, Category::Maps, k + 1);
  } else {
    OperandBySource(p, k);
  }
}

void EntryReader::OperandBySource(int p, std::size_t k) {
  static const Piece kOperandNumber{.kind = PieceKind::Number};
  switch (Get(p)) {
    case kSourceAttribute:
      Word(p + 1, WordTable::Attributes, k + 1);
      break;
    case kSourceFlag:
      Name(p + 1, Category::Flags, k + 1);
      break;
    default:
      Number(kOperandNumber, p + 1, k + 1);
      break;
  }
}

// The range of a whole line's tokens.
ScriptFinding LineFinding(Audience audience, Severity severity, const SourceLine& line,
                          std::string message) {
  const ScriptToken& first = line.Token(0);
  const ScriptToken& last = line.Token(line.Count() - 1);
  return {audience,          severity, line.Number(), first.start, last.end - first.start,
          std::move(message)};
}

// A line in a body whose first token is no keyword of its phase.
void ReportUnknownKeyword(const SourceLine& line, bool commandPhase, FindingSink& findings) {
  const std::string_view keyword = line[0];
  const std::string report = std::string("unknown ") + (commandPhase ? "command" : "condition") +
                             " " + Quote(keyword) + "; the line is ignored";
  std::string better;
  if (keyword == kEndWord && line.Count() < 2) {
    // The structure's own finding says what is wrong with this line.
    findings.Report(LineFinding(Audience::ImportReport, Severity::Error, line, report));
    return;
  }
  if (EqualsIgnoringAsciiCase(keyword, kEndWord)) {
    better = Quote(line.Text().substr(line.Token(0).start)) + " does not end the script; \"" +
             std::string(kEndWord) + " " + std::string(kScriptWord) + "\" does";
  } else if (!commandPhase && EqualsIgnoringAsciiCase(keyword, kCommandsLine)) {
    better = Quote(keyword) + " does not start the commands; " + Quote(kCommandsLine) +
             " in lower case does";
  } else if (const std::string_view nearest = NearestKeyword(keyword, commandPhase);
             !nearest.empty()) {
    better = report + "; did you mean " + Quote(nearest) + "?";
  }
  if (better.empty()) {
    findings.Report(LineFinding(Audience::Everyone, Severity::Error, line, report));
    return;
  }
  findings.Report(LineFinding(Audience::ImportReport, Severity::Error, line, report));
  findings.Report(LineFinding(Audience::Analysis, Severity::Error, line, std::move(better)));
}

}  // namespace

namespace {

// The line whose keyword is known to have the code (or none, below 0).
void ReadCodedLine(const SourceLine& line, int code, bool commandPhase, const NameLookup* names,
                   SlotValue& slot, FindingSink& findings, LineExpectations* expectations) {
  const Form* form = commandPhase ? CommandForm(code) : ConditionForm(code);
  if (!form) return;
  slot.code = static_cast<std::uint16_t>(code);
  EntryReader(line, names, slot, findings, expectations).Read(*form, form->kind.keyword);
}

int CodeOf(std::string_view keyword, bool commandPhase) {
  return commandPhase ? FindCommandCode(keyword) : FindConditionCode(keyword);
}

}  // namespace

void ReadEntryLine(const SourceLine& line, bool commandPhase, const NameLookup* names,
                   SlotValue& slot, FindingSink& findings, LineExpectations* expectations) {
  ReadCodedLine(line, CodeOf(line[0], commandPhase), commandPhase, names, slot, findings,
                expectations);
}

void ReadScriptBody(std::string_view text, const ScriptBlock& block, const NameLookup* names,
                    BodySlots& slots, FindingSink& findings, LineBuffer& buffer) {
  SourceLine& line = buffer.line;
  std::size_t conditions = 0;
  std::size_t commands = 0;
  bool commandPhase = false;
  bool nullLine = false;
  LineCursor lines(text.substr(0, block.bodyEnd), block.bodyStart, block.headerLine);
  std::string_view lineText;
  while (lines.Next(lineText)) {
    line.Split(lineText, lines.Number(), buffer.scratch, kMaxCheckedTokens);
    if (line.Count() == 0) continue;
    const std::string_view keyword = line[0];
    if (!commandPhase && keyword == kCommandsLine) {
      commandPhase = true;
      continue;
    }
    const int code = CodeOf(keyword, commandPhase);
    if (code < 0) {
      // The exporter's own lines for what cannot be imported are skipped silently.
      nullLine = nullLine || (commandPhase && keyword == kNullWord);
      const bool exporterLine =
          keyword == kInvalidWord || keyword == (commandPhase ? kNullWord : kConditionsLine);
      if (!exporterLine) ReportUnknownKeyword(line, commandPhase, findings);
      continue;
    }
    std::size_t& taken = commandPhase ? commands : conditions;
    if (taken == ZR3Script::kSlotCount) {
      findings.Report(LineFinding(Audience::Everyone, Severity::Error, line,
                                  std::string("more than 10 ") +
                                      (commandPhase ? "commands" : "conditions") +
                                      "; the line is ignored"));
      continue;
    }
    SlotValue& slot = commandPhase ? slots.commands[taken] : slots.conditions[taken];
    ++taken;
    ReadCodedLine(line, code, commandPhase, names, slot, findings, nullptr);
  }
  const auto headerFinding = [&](Severity severity, std::string message) {
    findings.Report({Audience::Everyone, severity, block.headerLine, block.headerColumn,
                     block.headerLength, std::move(message)});
  };
  if (!block.ended) {
    headerFinding(Severity::Error,
                  "script '" + std::string(block.name) + "' ends without 'end script'");
  }
  // A script always has at least one condition ("always") and one command (code 0).
  if (conditions == 0) slots.conditions[0].code = kAlwaysFire;
  if (commands == 0) {
    // Whatever commands the script had are lost, and a new script gets just this one: said
    // unless the text asks for it with the exporter's "null" line.
    if (!nullLine) {
      headerFinding(Severity::Warning, "script '" + std::string(block.name) +
                                           "' has no command line; command 0 is set to code 0 "
                                           "(\"" +
                                           std::string(kNullWord) + "\") and is the only command");
    }
    slots.commands[0].code = 0;
  }
  slots.conditionCount = static_cast<std::uint8_t>(std::max<std::size_t>(conditions, 1));
  slots.commandCount = static_cast<std::uint8_t>(std::max<std::size_t>(commands, 1));
}

}  // namespace zr3
