#include "script/zr3importer.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <deque>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <utility>

#include "level/category.h"
#include "level/file_source.h"
#include "level/numbers.h"
#include "level/parallel.h"
#include "level/zr3error.h"
#include "level/zr3level.h"
#include "script/script_reading.h"
#include "script/scriptforms.h"
#include "script/vocabulary.h"
#include "script/zr3script.h"

namespace zr3 {

namespace {

constexpr std::size_t kScriptKinds = 4;
// Fewer scripts or bytes than these are not worth a thread of their own.
constexpr std::size_t kBlocksPerThread = 256;
constexpr std::size_t kBytesPerThread = 64 * 1024;

std::string LinePrefix(std::size_t lineNumber) {
  return "Line " + std::to_string(lineNumber) + ": ";
}

// The first token of the line when it is not quoted (empty for a line without tokens);
// nothing for a quoted one, which needs the whole tokenizer.
std::optional<std::string_view> PlainFirstToken(std::string_view line) {
  std::size_t start = 0;
  while (start < line.size() && IsScriptSeparator(line[start])) ++start;
  if (start < line.size() && line[start] == '"') return std::nullopt;
  std::size_t end = start;
  while (end < line.size() && !EndsPlainToken(line[end])) ++end;
  return line.substr(start, end - start);
}

// The new contents of one script, built before the level is touched.
struct ScriptPlan {
  std::size_t headerLine = 0;  // of its first block
  int kind = 0;
  std::string_view name;          // cut to the width of a script's name
  ZR3Script* existing = nullptr;  // none for a script to append
  BodySlots slots;
};

// A block of the text and the script it fills.
struct Block : ScriptBlock {
  ScriptPlan* plan = nullptr;
};

// Asks the processor to fetch the script's slots ahead of their use.
void Prefetch(const ZR3Script& script) {
  for (std::size_t i = 0; i < ZR3Script::kSlotCount; ++i) {
#if defined(__GNUC__)
    __builtin_prefetch(&script.Condition(i));
    __builtin_prefetch(&script.Command(i));
#endif
  }
}

void Fill(ZR3ScriptEntry& entry, const SlotValue& value) {
  entry.SetCode(value.code);
  for (std::size_t p = 0; p < ZR3ScriptEntry::kParameterCount; ++p) {
    entry.SetParameter(p, value.parameters[p]);
  }
}

void Warn(Lines& log, std::size_t line, const std::string& text) {
  log.push_back("Warning: line " + std::to_string(line) + ": " + text);
}

// A line that may start or end a script body, with its number and where it and the line
// after it start.
struct Landmark {
  std::string_view text;
  std::size_t number;
  std::size_t start;
  std::size_t next;
};

// The import report's findings become warnings; a fatal one stops the import at its line.
class ReportSink : public FindingSink {
 public:
  explicit ReportSink(Lines& warnings) : warnings_(warnings) {}
  void Report(ScriptFinding finding) override {
    if (finding.audience == Audience::Analysis) return;
    if (finding.severity == Severity::Fatal) {
      throw ZR3Error(LinePrefix(finding.line) + finding.message);
    }
    Warn(warnings_, finding.line, finding.message);
  }

 private:
  Lines& warnings_;
};

class ImportRun : public NameLookup {
 public:
  ImportRun(ZR3Level& level, Lines& log, ImportChanges* changes)
      : level_(level), log_(log), changes_(changes) {}

  void Run(std::string_view text);

  // One line of the log made of two pieces.
  void Log(std::string_view first, std::string_view second = {}) {
    std::string& line = log_.emplace_back();
    line.reserve(first.size() + second.size());
    line += first;
    line += second;
  }
  // The index of the list, built on first use.
  NameIndex& Index(Category category) {
    std::unique_ptr<NameIndex>& index = indexes_[IndexOf(category)];
    if (!index) index = std::make_unique<NameIndex>(level_.List(category));
    return *index;
  }
  // Lines only look names up in indexes already built: the second pass reads lines on
  // several threads.
  std::optional<NameMatch> Find(Category list, std::string_view name) const override {
    return indexes_[IndexOf(list)]->Find(name);
  }

 private:
  void CheckStructure();
  bool ReadLandmark(const Landmark& landmark, bool inBody);
  void FirstPass();
  void Plan(Block& block);
  static void TakeExisting(ScriptPlan& plan);
  void SecondPass();
  void Commit();

  ZR3Level& level_;
  Lines& log_;
  std::string_view text_;
  LineBuffer buffer_;
  // Header names whose doubled quotes became single ones; the blocks view them.
  std::deque<std::string> unquotedNames_;
  std::vector<Block> blocks_;
  // Two headers name the same script, whose bodies must then be read in order.
  bool repeatedHeader_ = false;
  // Blocks point into the plans, which never move: there is room for one plan per block
  // from the start.
  std::vector<ScriptPlan> plans_;
  // The plan of each script of a kind's list that the text names, by position.
  std::array<std::vector<ScriptPlan*>, kScriptKinds> plansByPosition_;
  std::array<std::size_t, kScriptKinds> added_{};
  // Where the overwritten scripts' old contents go, when the caller keeps them.
  ImportChanges* changes_;
  std::array<std::unique_ptr<NameIndex>, kCategoryCount> indexes_;
};

void ImportRun::Run(std::string_view text) {
  text_ = text;
  CheckStructure();
  FirstPass();
  log_.push_back("-------- Second Pass --------");
  if (blocks_.empty()) return;
  SecondPass();
  Commit();
}

// Every header needs its name and every "end" line its second word; a file that breaks
// this is refused before anything is planned. Only lines beginning with "end", a header
// keyword or a quoted token can start or end a body: both halves of the text are searched
// for them at once, then they are read in order.
void ImportRun::CheckStructure() {
  const std::size_t feed = text_.find('\n', text_.size() / 2);
  const std::size_t middle = feed == std::string_view::npos ? text_.size() : feed + 1;
  const std::array<std::size_t, 3> bounds = {0, middle, text_.size()};
  std::array<std::vector<Landmark>, 2> landmarks;
  std::array<std::size_t, 2> lineCounts{};
  // A short text is searched on this thread alone.
  const std::size_t halvesPerThread = text_.size() < kBytesPerThread ? 2 : 1;
  ParallelParts(2, halvesPerThread, [&](std::size_t first, std::size_t last) {
    for (std::size_t half = first; half < last; ++half) {
      LineCursor lines(text_.substr(0, bounds[half + 1]), bounds[half], 0);
      std::string_view text;
      while (lines.Next(text)) {
        const std::optional<std::string_view> token = PlainFirstToken(text);
        if (token && *token != kEndWord && HeaderKind(*token) < 0) continue;
        landmarks[half].push_back({text, lines.Number(), lines.Start(), lines.NextStart()});
      }
      lineCounts[half] = lines.Number();
    }
  });
  bool inBody = false;
  for (std::size_t half = 0; half < 2; ++half) {
    for (Landmark& landmark : landmarks[half]) {
      if (half == 1) landmark.number += lineCounts[0];
      inBody = ReadLandmark(landmark, inBody);
    }
  }
}

// Reads one line that may start or end a body; answers whether a body is open after it.
bool ImportRun::ReadLandmark(const Landmark& landmark, bool inBody) {
  SourceLine& line = buffer_.line;
  line.Split(landmark.text, landmark.number, buffer_.scratch, 2);
  switch (StructureOf(line, inBody)) {
    case LineStructure::EndWithoutWord:
      throw ZR3Error(LinePrefix(landmark.number) + "\"end\" without its second word");
    case LineStructure::HeaderWithoutName:
      throw ZR3Error(LinePrefix(landmark.number) + "script name missing");
    case LineStructure::Closes:
      blocks_.back().bodyEnd = landmark.start;
      blocks_.back().ended = true;
      return false;
    case LineStructure::Opens:
      break;
    case LineStructure::None:
      return inBody;
  }
  std::string_view name = line[1];
  if (!Within(name, landmark.text)) name = unquotedNames_.emplace_back(name);
  Block& block = blocks_.emplace_back();
  static_cast<ScriptBlock&>(block) = {landmark.number,     landmark.next,
                                      text_.size(),        false,
                                      HeaderKind(line[0]), name,
                                      line.Token(0).start, line.Token(0).end - line.Token(0).start};
  return true;
}

void ImportRun::FirstPass() {
  // The two pass markers and three lines for each block in each pass.
  log_.reserve(log_.size() + 2 + 6 * blocks_.size());
  log_.push_back("-------- First Pass --------");
  plans_.reserve(blocks_.size());
  for (Block& block : blocks_) Plan(block);
  // The scripts lie all over memory: each is fetched a few scripts ahead of its copy.
  ParallelParts(plans_.size(), kBlocksPerThread, [this](std::size_t first, std::size_t last) {
    constexpr std::size_t kAhead = 4;
    for (std::size_t i = first; i < last; ++i) {
      if (i + kAhead < last && plans_[i + kAhead].existing) Prefetch(*plans_[i + kAhead].existing);
      if (plans_[i].existing) TakeExisting(plans_[i]);
    }
  });
}

// The slots a line does not fully set keep their parameters; bring the positions in them up
// to date first, since records may have moved since the last load.
void ImportRun::TakeExisting(ScriptPlan& plan) {
  const ZR3Script& existing = *plan.existing;
  try {
    for (std::size_t i = 0; i < ZR3Script::kSlotCount; ++i) {
      plan.slots.conditions[i] = {existing.Condition(i).Code(),
                                  existing.Condition(i).WrittenParameters()};
      plan.slots.commands[i] = {existing.Command(i).Code(),
                                existing.Command(i).WrittenParameters()};
    }
  } catch (const ZR3Error& error) {
    throw ZR3Error(LinePrefix(plan.headerLine) + error.what());
  }
}

// Finds the script the header names, or plans to append it.
void ImportRun::Plan(Block& block) {
  const std::string_view name = block.name.substr(0, ZR3Script::kNameWidth);
  Log(WordAt(ScriptHeaders(), block.kind)->readable, name);
  const Category category = ScriptCategoryOfKind(block.kind);
  NameIndex& index = Index(category);
  const std::optional<NameMatch> entry = index.Find(name);
  std::vector<ScriptPlan*>& planned = plansByPosition_[static_cast<std::size_t>(block.kind)];
  if (planned.size() < index.Size()) planned.resize(index.Size());
  if (entry && planned[static_cast<std::size_t>(entry->position)]) {
    repeatedHeader_ = true;
    block.plan = planned[static_cast<std::size_t>(entry->position)];
    log_.push_back("...Found");
    return;
  }
  ScriptPlan& plan = plans_.emplace_back();
  block.plan = &plan;
  plan.headerLine = block.headerLine;
  plan.kind = block.kind;
  plan.name = name;
  RecordList& list = level_.List(category);
  if (entry) {
    if (entry->ambiguous) {
      Warn(log_, block.headerLine,
           "more than one " + std::string(InfoOf(category).recordNoun) + " is named " +
               Quote(name) + " (ambiguous, the first is used)");
    }
    planned[static_cast<std::size_t>(entry->position)] = &plan;
    plan.existing = &static_cast<ZR3Script&>(*list[static_cast<std::size_t>(entry->position)]);
    log_.push_back("...Found");
    return;
  }
  const std::size_t position = list.size() + added_[static_cast<std::size_t>(block.kind)];
  if (position >= ZR3Level::kMaxRecords) {
    throw ZR3Error(LinePrefix(block.headerLine) + "the " +
                   std::string(InfoOf(category).sectionName) + " cannot hold more than " +
                   std::to_string(ZR3Level::kMaxRecords) + " scripts");
  }
  ++added_[static_cast<std::size_t>(block.kind)];
  index.Append(plan.name);
  planned.push_back(&plan);
  log_.push_back("...Added");
}

void ImportRun::SecondPass() {
  // Lines only look names up, in any list a line form names.
  for (std::size_t r = 0; r < kScriptReferenceCount; ++r) {
    Index(CategoryOf(static_cast<ScriptReference>(r)));
  }
  Index(Category::Flags);
  std::vector<Lines> warnings(blocks_.size());
  const std::size_t minimumPart = repeatedHeader_ ? blocks_.size() : kBlocksPerThread;
  ParallelParts(blocks_.size(), minimumPart, [&](std::size_t first, std::size_t last) {
    LineBuffer buffer;
    for (std::size_t b = first; b < last; ++b) {
      ReportSink sink(warnings[b]);
      ReadScriptBody(text_, blocks_[b], this, blocks_[b].plan->slots, sink, buffer);
    }
  });
  for (std::size_t b = 0; b < blocks_.size(); ++b) {
    const ScriptPlan& plan = *blocks_[b].plan;
    Log(WordAt(ScriptHeaders(), plan.kind)->readable, plan.name);
    Log("...Found");
    log_.insert(log_.end(), std::make_move_iterator(warnings[b].begin()),
                std::make_move_iterator(warnings[b].end()));
    Log(plan.name, " updated");
  }
}

void ImportRun::Commit() {
  std::vector<std::unique_ptr<ZR3Script>> created;
  std::array<std::size_t, kScriptKinds> oldSizes{};
  for (std::size_t kind = 0; kind < kScriptKinds; ++kind) {
    RecordList& list = level_.List(ScriptCategoryOfKind(static_cast<int>(kind)));
    oldSizes[kind] = list.size();
    list.reserve(list.size() + added_[kind]);
  }
  if (changes_) {
    std::copy(added_.begin(), added_.end(), changes_->appended.begin());
    for (const ScriptPlan& plan : plans_) {
      if (!plan.existing) continue;
      changes_->overwritten.push_back({plan.existing->ListCategory(),
                                       static_cast<std::size_t>(plan.existing->Position()),
                                       std::make_unique<ZR3Script>(*plan.existing)});
    }
  }
  for (ScriptPlan& plan : plans_) {
    if (plan.existing) continue;
    auto script = std::make_unique<ZR3Script>(static_cast<std::uint8_t>(plan.kind));
    script->SetName(std::string(plan.name));
    plan.existing = script.get();
    created.push_back(std::move(script));
  }
  // From here on nothing fails: the lists have room and every value is resolved.
  for (std::unique_ptr<ZR3Script>& script : created) {
    level_.List(script->ListCategory()).push_back(std::move(script));
  }
  for (std::size_t kind = 0; kind < kScriptKinds; ++kind) {
    if (added_[kind] == 0) continue;
    const Category category = ScriptCategoryOfKind(static_cast<int>(kind));
    const std::size_t first = oldSizes[kind] == 0 ? 0 : oldSizes[kind] - 1;
    level_.Renumber(category, first, level_.List(category).size() - 1);
  }
  // Each script is filled and linked on its own; the level's lists are only read.
  ParallelParts(plans_.size(), kBlocksPerThread, [this](std::size_t first, std::size_t last) {
    for (std::size_t i = first; i < last; ++i) {
      const ScriptPlan& plan = plans_[i];
      ZR3Script& script = *plan.existing;
      for (std::size_t s = 0; s < ZR3Script::kSlotCount; ++s) {
        Fill(script.Condition(s), plan.slots.conditions[s]);
        Fill(script.Command(s), plan.slots.commands[s]);
      }
      script.SetConditionCount(plan.slots.conditionCount);
      script.SetCommandCount(plan.slots.commandCount);
      script.SetKind(static_cast<std::uint8_t>(plan.kind));
      // Only the scripts written are linked: the stored positions of the others may be stale.
      script.Link(level_);
    }
  });
  level_.SetModified(true);
}

}  // namespace

std::vector<std::string> TokenizeScriptLine(std::string_view line) {
  std::string scratch;
  scratch.reserve(line.size());
  TokenReader reader(line, scratch);
  std::vector<std::string> tokens;
  ScriptToken token;
  while (reader.Next(token)) tokens.emplace_back(token.text);
  return tokens;
}

std::optional<std::int32_t> ParseScriptNumber(std::string_view token) {
  const std::optional<std::int64_t> number = ParseInteger(token);
  if (!number || *number < std::numeric_limits<std::int32_t>::min() ||
      *number > std::numeric_limits<std::int32_t>::max())
    return std::nullopt;
  return static_cast<std::int32_t>(*number);
}

void ZR3Importer::Import(const std::string& fileName) {
  fileName_ = fileName;
  log_.clear();
  changes_ = {};
  std::string text;
  try {
    text = ReadWholeFile(fileName);
  } catch (const ZR3Error& error) {
    log_.push_back(error.what());
    throw;
  }
  Run(text);
}

void ZR3Importer::ImportText(std::string_view text) {
  fileName_.clear();
  log_.clear();
  Run(text);
}

void ZR3Importer::Run(std::string_view text) {
  changes_ = {};
  try {
    ImportRun(level_, log_, keepChanges_ ? &changes_ : nullptr).Run(text);
  } catch (const ZR3Error& error) {
    log_ = {error.what(), "Nothing was imported."};
    changes_ = {};
    throw;
  }
}

void ZR3Importer::Refuse(const std::string& reason) {
  fileName_.clear();
  log_ = {reason, "Nothing was imported."};
  changes_ = {};
  throw ZR3Error(reason);
}

void ZR3Importer::AppendReport(Lines& lines) const {
  lines.push_back("IMPORT SCRIPTS");
  lines.push_back("");
  lines.insert(lines.end(), log_.begin(), log_.end());
}

}  // namespace zr3
