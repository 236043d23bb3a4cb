#include "script/script_analysis.h"

#include <algorithm>
#include <array>
#include <deque>
#include <functional>
#include <memory>
#include <set>
#include <unordered_set>

#include "level/zr3level.h"
#include "script/zr3importer.h"

namespace zr3 {

namespace {

// A readable word without the blanks and colon the details pane joins it with.
std::string_view Trimmed(std::string_view word) {
  while (!word.empty() && (word.front() == ' ')) word.remove_prefix(1);
  while (!word.empty() && (word.back() == ' ' || word.back() == ':')) word.remove_suffix(1);
  return word;
}

// The names of the level's lists, with the scripts the text adds after each kind's list, as
// the importer appends them.
class LevelNames : public NameLookup {
 public:
  explicit LevelNames(const ZR3Level& level) : level_(level) {}

  std::optional<NameMatch> Find(Category list, std::string_view name) const override {
    return Index(list).Find(name);
  }
  std::string_view Nearest(Category list, std::string_view name) const override {
    // Suggestions compare the name with every name of the list: only for lists of a size
    // an author reads through, and a bounded number of them for each text.
    constexpr std::size_t kMaxListSize = 1000;
    constexpr std::size_t kMaxSuggestions = 200;
    const RecordList& records = level_.List(list);
    if (records.size() > kMaxListSize || suggestions_ >= kMaxSuggestions) return {};
    ++suggestions_;
    std::vector<std::string_view> candidates;
    candidates.reserve(records.size());
    for (const std::unique_ptr<ZR3Base>& record : records) {
      if (!record->Name().empty()) candidates.push_back(record->Name());
    }
    return NearestWord(name, candidates);
  }
  void AddScript(int kind, std::string_view name) {
    NameIndex& index = Index(ScriptCategoryOfKind(kind));
    if (!index.Find(name)) index.Append(name);
  }
  // The record of the level with the name, when the level has one.
  const ZR3Base* Record(Category list, std::string_view name) const {
    const std::optional<NameMatch> match = Find(list, name);
    const RecordList& records = level_.List(list);
    if (!match || static_cast<std::size_t>(match->position) >= records.size()) return nullptr;
    return records[static_cast<std::size_t>(match->position)].get();
  }

 private:
  NameIndex& Index(Category list) const {
    std::unique_ptr<NameIndex>& index = indexes_[IndexOf(list)];
    if (!index) index = std::make_unique<NameIndex>(level_.List(list));
    return *index;
  }

  const ZR3Level& level_;
  mutable std::array<std::unique_ptr<NameIndex>, kCategoryCount> indexes_;
  mutable std::size_t suggestions_ = 0;
};

// Keeps what the analysis shows: everything but the import report's own wording.
class DiagnosticSink : public FindingSink {
 public:
  explicit DiagnosticSink(std::vector<ScriptDiagnostic>& diagnostics) : diagnostics_(diagnostics) {}
  void Report(ScriptFinding finding) override {
    if (finding.audience == Audience::ImportReport) return;
    const Severity severity =
        finding.severity == Severity::Fatal ? Severity::Error : finding.severity;
    diagnostics_.push_back(
        {finding.line, finding.column, finding.length, severity, std::move(finding.message)});
  }
  void Add(const SourceLine& line, std::size_t k, Severity severity, std::string message) {
    const ScriptToken& token = line.Token(k);
    diagnostics_.push_back(
        {line.Number(), token.start, token.end - token.start, severity, std::move(message)});
  }

 private:
  std::vector<ScriptDiagnostic>& diagnostics_;
};

class IgnoringSink : public FindingSink {
 public:
  void Report(ScriptFinding) override {}
};

std::vector<std::string_view> HeaderWords() {
  std::vector<std::string_view> words;
  for (const VocabularyWord& header : ScriptHeaders()) words.push_back(header.keyword);
  words.push_back(kScriptWord);
  return words;
}

void CheckQuotes(const SourceLine& line, DiagnosticSink& sink) {
  for (std::size_t k = 0; k < line.Count(); ++k) {
    const ScriptToken& token = line.Token(k);
    if (token.closed) continue;
    sink.Report({Audience::Analysis, Severity::Error, line.Number(), token.start,
                 line.Text().size() - token.start,
                 "the quote is not closed: the name runs to the end of the line"});
  }
}

void CheckHeader(const SourceLine& line, DiagnosticSink& sink) {
  if (line[1].size() > ZR3Script::kNameWidth) {
    sink.Add(line, 1, Severity::Warning,
             "a script name holds at most " + std::to_string(ZR3Script::kNameWidth) +
                 " characters; the name is cut to " +
                 Quote(line[1].substr(0, ZR3Script::kNameWidth)));
  }
  if (line.Count() > 2) {
    const ScriptToken& first = line.Token(2);
    sink.Report({Audience::Analysis, Severity::Warning, line.Number(), first.start,
                 line.Text().size() - first.start,
                 "only the script's name follows " + Quote(line[0]) + "; " + Quote(line[2]) +
                     (line.Count() > 3 ? " and what follows are" : " is") + " ignored"});
  }
}

// A line outside every script: the importer passes over it. A word that looks like a header
// is a header spelled wrong.
void CheckOutside(const SourceLine& line, DiagnosticSink& sink) {
  static const std::vector<std::string_view> kHeaderWords = HeaderWords();
  const std::string_view word = line[0];
  const std::string_view nearest = NearestWord(word, kHeaderWords);
  if (!line.Quoted(0) && !nearest.empty()) {
    sink.Add(line, 0, Severity::Error,
             "unknown script header " + Quote(word) + "; did you mean " + Quote(nearest) + "?");
    return;
  }
  const ScriptToken& last = line.Token(line.Count() - 1);
  sink.Report({Audience::Analysis, Severity::Warning, line.Number(), line.Token(0).start,
               last.end - line.Token(0).start,
               "text outside a script is ignored; a script starts with a header such as " +
                   Quote(ScriptHeaders()[static_cast<std::size_t>(ScriptKind::Object)].keyword)});
}

// The token at the column, when the column touches one; otherwise the number of the token
// that would stand there.
struct TokenAt {
  std::size_t index;
  bool inside;
};

TokenAt FindTokenAt(const SourceLine& line, std::size_t column) {
  for (std::size_t k = 0; k < line.Count(); ++k) {
    const ScriptToken& token = line.Token(k);
    if (token.start <= column && column <= token.end) return {k, true};
    if (token.start > column) return {k, false};
  }
  return {line.Count(), false};
}

}  // namespace

std::vector<TokenSpan> ClassifyScriptLine(std::string_view line) {
  std::vector<TokenSpan> spans;
  std::string scratch;
  scratch.reserve(line.size());
  TokenReader reader(line, scratch);
  ScriptToken token;
  bool endLine = false;
  while (reader.Next(token)) {
    TokenRole role = TokenRole::Word;
    if (token.quoted) {
      role = TokenRole::Name;
    } else if (ParseScriptNumber(token.text)) {
      role = TokenRole::Number;
    } else if (spans.empty()) {
      endLine = token.text == kEndWord;
      const bool keyword = endLine || HeaderKind(token.text) >= 0 ||
                           FindConditionCode(token.text) >= 0 || FindCommandCode(token.text) >= 0 ||
                           token.text == kCommandsLine || token.text == kConditionsLine;
      if (keyword) role = TokenRole::Keyword;
    } else if (endLine && spans.size() == 1 && token.text == kScriptWord) {
      role = TokenRole::Keyword;
    }
    spans.push_back({token.start, token.end - token.start, role});
  }
  return spans;
}

bool ScriptAnalysis::HasErrors() const {
  return std::any_of(diagnostics.begin(), diagnostics.end(),
                     [](const ScriptDiagnostic& d) { return d.severity == Severity::Error; });
}

ScriptAnalysis ScriptAnalyzer::Analyze(std::string_view text) const {
  ScriptAnalysis analysis;
  DiagnosticSink sink(analysis.diagnostics);
  LineBuffer buffer;
  SourceLine& line = buffer.line;
  std::vector<ScriptBlock> blocks;
  std::deque<std::string> unquotedNames;
  bool inBody = false;
  LineCursor lines(text, 0, 0);
  std::string_view lineText;
  while (lines.Next(lineText)) {
    line.Split(lineText, lines.Number(), buffer.scratch, kMaxCheckedTokens);
    if (line.Count() == 0) continue;
    CheckQuotes(line, sink);
    switch (StructureOf(line, inBody)) {
      case LineStructure::EndWithoutWord:
        sink.Add(line, 0, Severity::Error, "\"end\" without its second word");
        break;
      case LineStructure::HeaderWithoutName:
        sink.Add(line, 0, Severity::Error, "script name missing");
        break;
      case LineStructure::Closes:
        blocks.back().bodyEnd = lines.Start();
        blocks.back().ended = true;
        analysis.scripts.back().endLine = lines.Number();
        inBody = false;
        break;
      case LineStructure::Opens: {
        std::string_view name = line[1];
        if (!Within(name, lineText)) name = unquotedNames.emplace_back(name);
        const int kind = HeaderKind(line[0]);
        const ScriptToken& header = line.Token(0);
        const ScriptToken& nameToken = line.Token(1);
        blocks.push_back({lines.Number(), lines.NextStart(), text.size(), false, kind, name,
                          header.start, header.end - header.start});
        analysis.scripts.push_back({kind, std::string(name.substr(0, ZR3Script::kNameWidth)),
                                    lines.Number(), 0, nameToken.start,
                                    nameToken.end - nameToken.start});
        CheckHeader(line, sink);
        inBody = true;
        break;
      }
      case LineStructure::None:
        if (!inBody) CheckOutside(line, sink);
        break;
    }
  }
  for (ScriptSymbol& script : analysis.scripts) {
    if (script.endLine == 0) script.endLine = std::max<std::size_t>(lines.Number(), 1);
  }

  std::optional<LevelNames> names;
  if (level_) {
    names.emplace(*level_);
    for (const ScriptBlock& block : blocks) {
      names->AddScript(block.kind, block.name.substr(0, ZR3Script::kNameWidth));
    }
  }
  // A header naming scripts that share their name overwrites the first of them.
  std::set<std::pair<int, std::string_view>> ambiguousHeaders;
  for (std::size_t b = 0; names && b < blocks.size(); ++b) {
    const ScriptBlock& block = blocks[b];
    const Category list = ScriptCategoryOfKind(block.kind);
    const std::string_view name = block.name.substr(0, ZR3Script::kNameWidth);
    const std::optional<NameMatch> match = names->Find(list, name);
    if (!match || !match->ambiguous || !ambiguousHeaders.insert({block.kind, name}).second) {
      continue;
    }
    const ScriptSymbol& script = analysis.scripts[b];
    sink.Report({Audience::Everyone, Severity::Warning, script.line, script.nameColumn,
                 script.nameLength,
                 "more than one " + std::string(InfoOf(list).recordNoun) + " is named " +
                     Quote(name) + " (ambiguous, the first is used)"});
  }
  for (const ScriptBlock& block : blocks) {
    BodySlots slots;
    ReadScriptBody(text, block, names ? &*names : nullptr, slots, sink, buffer);
  }
  std::stable_sort(analysis.diagnostics.begin(), analysis.diagnostics.end(),
                   [](const ScriptDiagnostic& a, const ScriptDiagnostic& b) {
                     return a.line != b.line ? a.line < b.line : a.column < b.column;
                   });
  return analysis;
}

// Where a place of the text stands: inside a body or not before its line, and in which part
// of the body; the line itself is split in the buffer.
struct ScriptAnalyzer::Place {
  bool found = false;
  bool inBody = false;
  bool commandPhase = false;
  // The object scripts the text names, which commands may run.
  std::vector<std::string> objectScripts;
};

ScriptAnalyzer::Place ScriptAnalyzer::Locate(std::string_view text, std::size_t lineNumber,
                                             LineBuffer& buffer) const {
  Place place;
  SourceLine& line = buffer.line;
  bool inBody = false;
  bool commandPhase = false;
  std::string_view target;
  LineCursor lines(text, 0, 0);
  std::string_view lineText;
  while (lines.Next(lineText)) {
    if (lines.Number() == lineNumber) {
      place = {true, inBody, commandPhase, std::move(place.objectScripts)};
      target = lineText;
    }
    line.Split(lineText, lines.Number(), buffer.scratch, 2);
    switch (StructureOf(line, inBody)) {
      case LineStructure::Opens:
        if (HeaderKind(line[0]) == static_cast<int>(ScriptKind::Object)) {
          place.objectScripts.emplace_back(line[1].substr(0, ZR3Script::kNameWidth));
        }
        inBody = true;
        commandPhase = false;
        break;
      case LineStructure::Closes:
        inBody = false;
        break;
      default:
        commandPhase = commandPhase || (inBody && line[0] == kCommandsLine);
        break;
    }
  }
  // A place on the line after the last line break is on an empty last line.
  if (!place.found && lineNumber == lines.Number() + 1) {
    place = {true, inBody, commandPhase, std::move(place.objectScripts)};
  }
  line.Split(target, lineNumber, buffer.scratch, kMaxCheckedTokens);
  return place;
}

CompletionList ScriptAnalyzer::Complete(std::string_view text, std::size_t lineNumber,
                                        std::size_t column) const {
  LineBuffer buffer;
  const Place place = Locate(text, lineNumber, buffer);
  const SourceLine& line = buffer.line;
  CompletionList list;
  if (!place.found) return list;
  const TokenAt at = FindTokenAt(line, column);
  list.column = at.inside ? line.Token(at.index).start : column;
  list.length = at.inside ? line.Token(at.index).end - line.Token(at.index).start : 0;
  const auto add = [&](std::string_view label, std::string insert, CompletionKind kind,
                       std::string_view detail) {
    list.items.push_back({std::string(label), std::move(insert), kind, std::string(detail)});
  };
  const auto addWords = [&](WordTable words) {
    for (const VocabularyWord& word : Words(words)) {
      add(word.keyword, std::string(word.keyword), CompletionKind::Word, Trimmed(word.readable));
    }
  };
  std::unordered_set<std::string_view> offered;
  const auto addNames = [&](Category category) {
    if (level_) {
      const RecordList& records = level_->List(category);
      for (std::size_t i = 0; i < records.size(); ++i) {
        const std::string_view name = records[i]->Name();
        if (name.empty() || !offered.insert(name).second) continue;
        add(name, Quote(name), CompletionKind::Name,
            std::string(InfoOf(category).recordNoun) + " " + std::to_string(i));
      }
    }
    if (category != Category::ObjectScripts) return;
    for (const std::string& name : place.objectScripts) {
      if (name.empty() || !offered.insert(name).second) continue;
      add(name, Quote(name), CompletionKind::Name, "object script of this text");
    }
  };

  if (at.index == 0) {
    if (!place.inBody) {
      for (const VocabularyWord& header : ScriptHeaders()) {
        add(header.keyword, std::string(header.keyword), CompletionKind::Keyword,
            Trimmed(header.readable));
      }
      return list;
    }
    const int first = place.commandPhase ? kFirstCommandCode : 0;
    const int last = place.commandPhase ? kLastCommandCode : kLastConditionCode;
    for (int code = first; code <= last; ++code) {
      const VocabularyWord* kind = place.commandPhase ? CommandKind(code) : ConditionKind(code);
      if (!kind) continue;
      add(kind->keyword, std::string(kind->keyword), CompletionKind::Keyword,
          kind->readable.empty() ? std::string_view("(no action)") : kind->readable);
    }
    if (!place.commandPhase) {
      add(kCommandsLine, std::string(kCommandsLine), CompletionKind::Keyword,
          "the commands follow");
    }
    const std::string endLine = std::string(kEndWord) + " " + std::string(kScriptWord);
    add(endLine, endLine, CompletionKind::Keyword, "the script ends");
    return list;
  }
  if (!place.inBody) {
    const int kind = line.Count() > 0 ? HeaderKind(line[0]) : -1;
    if (kind >= 0 && at.index == 1) addNames(ScriptCategoryOfKind(kind));
    return list;
  }
  LineExpectations expected{};
  SlotValue slot;
  IgnoringSink ignore;
  ReadEntryLine(line, place.commandPhase, nullptr, slot, ignore, &expected);
  if (at.index >= expected.size()) return list;
  const Expectation& expectation = expected[at.index];
  switch (expectation.kind) {
    case Expectation::Kind::Word:
    case Expectation::Kind::ExactWord:
      addWords(expectation.words);
      break;
    case Expectation::Kind::Name:
      addNames(expectation.list);
      break;
    case Expectation::Kind::Number:
    case Expectation::Kind::Nothing:
      break;
  }
  return list;
}

std::optional<ScriptHover> ScriptAnalyzer::Hover(std::string_view text, std::size_t lineNumber,
                                                 std::size_t column) const {
  LineBuffer buffer;
  const Place place = Locate(text, lineNumber, buffer);
  const SourceLine& line = buffer.line;
  if (!place.found) return std::nullopt;
  const TokenAt at = FindTokenAt(line, column);
  if (!at.inside) return std::nullopt;
  const ScriptToken& token = line.Token(at.index);
  ScriptHover hover{token.start, token.end - token.start, {}};
  std::optional<LevelNames> names;
  if (level_) names.emplace(*level_);
  const auto describe = [&](Category list, std::string_view name) {
    if (!names) return;
    if (const ZR3Base* record = names->Record(list, name)) record->Describe(hover.text);
  };

  if (!place.inBody) {
    const int kind = HeaderKind(line[0]);
    if (kind < 0) return std::nullopt;
    if (at.index == 0) {
      hover.text.emplace_back(Trimmed(ScriptHeaders()[static_cast<std::size_t>(kind)].readable));
    } else if (at.index == 1) {
      describe(ScriptCategoryOfKind(kind), line[1].substr(0, ZR3Script::kNameWidth));
    }
  } else if (at.index == 0) {
    const int code = place.commandPhase ? FindCommandCode(line[0]) : FindConditionCode(line[0]);
    const VocabularyWord* kind = place.commandPhase ? CommandKind(code) : ConditionKind(code);
    if (!kind) return std::nullopt;
    hover.text.push_back(std::string(kind->readable.empty() ? "(no action)" : kind->readable) +
                         (place.commandPhase ? " (command " : " (condition ") +
                         std::to_string(code) + ")");
  } else {
    LineExpectations expected{};
    SlotValue slot;
    IgnoringSink ignore;
    ReadEntryLine(line, place.commandPhase, nullptr, slot, ignore, &expected);
    if (at.index >= expected.size()) return std::nullopt;
    const Expectation& expectation = expected[at.index];
    switch (expectation.kind) {
      case Expectation::Kind::Name:
        describe(expectation.list, line[at.index]);
        break;
      case Expectation::Kind::Word:
      case Expectation::Kind::ExactWord: {
        const VocabularyTable table = Words(expectation.words);
        const int index = expectation.kind == Expectation::Kind::Word
                              ? FindKeyword(table, line[at.index])
                              : FindExactKeyword(table, line[at.index]);
        if (const VocabularyWord* word = WordAt(table, index)) {
          hover.text.emplace_back(Trimmed(word->readable));
        }
        break;
      }
      case Expectation::Kind::Number:
      case Expectation::Kind::Nothing:
        break;
    }
  }
  if (hover.text.empty()) return std::nullopt;
  return hover;
}

}  // namespace zr3
