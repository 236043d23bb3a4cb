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

// The bytes a line that may start or end a body can begin its first token with: a quote, or
// the first letter of "end" or of a header word.
std::array<bool, 256> LandmarkFirstBytes() {
  std::array<bool, 256> bytes{};
  const auto mark = [&bytes](std::string_view word) {
    bytes[static_cast<unsigned char>(word.front())] = true;
  };
  mark("\"");
  mark(kEndWord);
  mark(kScriptWord);
  for (const VocabularyWord& header : ScriptHeaders()) mark(header.keyword);
  return bytes;
}

// Whether the line's first token is quoted, "end" or a header word. Most lines are told apart
// by the first byte of their first token, without finding where it ends.
bool MayOpenOrClose(std::string_view line) {
  static const std::array<bool, 256> kFirstBytes = LandmarkFirstBytes();
  std::size_t start = 0;
  while (start < line.size() && IsScriptSeparator(line[start])) ++start;
  if (start == line.size() || !kFirstBytes[static_cast<unsigned char>(line[start])]) return false;
  if (line[start] == '"') return true;
  const std::string_view token = line.substr(start, PlainTokenEnd(line, start) - start);
  return token == kEndWord || HeaderKind(token) >= 0;
}

// The new contents of one script, built before the level is touched.
struct ScriptPlan {
  std::size_t headerLine = 0;  // of its first block
  int kind = 0;
  std::string_view name;          // cut to the width of a script's name
  ZR3Script* existing = nullptr;  // none for a script to append
  BodySlots* slots = nullptr;
};

// What the first pass made of a header: its script was found (the first of several of the
// name, perhaps), or is appended.
enum class Outcome : std::uint8_t { Found, FoundAmbiguous, Added };

// A block of the text and the script it fills.
struct Block : ScriptBlock {
  ScriptPlan* plan = nullptr;
  // Its script in its kind's list as the import found it.
  std::optional<NameMatch> found;
  Outcome outcome = Outcome::Found;
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

// One line of the log made of two pieces.
void AddLine(Lines& log, std::string_view first, std::string_view second = {}) {
  std::string& line = log.emplace_back();
  line.reserve(first.size() + second.size());
  line += first;
  line += second;
}

void Warn(Lines& log, std::size_t line, const std::string& text) {
  log.push_back("Warning: line " + std::to_string(line) + ": " + text);
}

// A line that may start or end a script body, read on the thread that found it: what it does
// outside a body and inside one, and for a header its kind, its name and where it stands.
struct Landmark {
  std::size_t number;  // counted within its half of the text until the halves are joined
  std::size_t start;
  std::size_t next;  // where the line after it starts
  LineStructure outside;
  LineStructure inside;
  int kind = -1;
  std::string_view name{};
  std::uint32_t column = 0;
  std::uint32_t length = 0;
};

// Reads the line the cursor last gave; a name whose doubled quotes became single ones is kept
// in names.
Landmark ReadLandmark(std::string_view text, const LineCursor& lines, LineBuffer& buffer,
                      std::deque<std::string>& names) {
  SourceLine& line = buffer.line;
  line.Split(text, lines.Number(), buffer.scratch, 2);
  Landmark landmark{lines.Number(), lines.Start(), lines.NextStart(), StructureOf(line, false),
                    StructureOf(line, true)};
  if (landmark.outside == LineStructure::Opens) {
    landmark.kind = HeaderKind(line[0]);
    landmark.name = line[1];
    if (!Within(landmark.name, text)) landmark.name = names.emplace_back(landmark.name);
    landmark.column = line.Token(0).start;
    landmark.length = line.Token(0).end - line.Token(0).start;
  }
  return landmark;
}

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

  // Lines only look names up in indexes already built: they are read on several threads.
  std::optional<NameMatch> Find(Category list, std::string_view name) const override {
    return indexes_[IndexOf(list)]->Find(name);
  }

 private:
  void CheckStructure();
  bool Apply(const Landmark& landmark, bool inBody);
  void BuildIndexes();
  NameIndex& Index(Category category) { return *indexes_[IndexOf(category)]; }
  void FirstPass();
  void Plan(Block& block);
  void LogPlan(const Block& block, Lines& lines) const;
  void StageSlots();
  static void TakeExisting(const ScriptPlan& plan, BodySlots& slots);
  void SecondPass();
  template <class Body>
  void LogBlocks(std::size_t minimumPart, const Body& body);
  void Commit();

  ZR3Level& level_;
  Lines& log_;
  std::string_view text_;
  // Header names whose doubled quotes became single ones, by half of the text; the blocks
  // view them.
  std::array<std::deque<std::string>, 2> unquotedNames_;
  std::vector<Block> blocks_;
  // Two headers name the same script, whose bodies must then be read in order.
  bool repeatedHeader_ = false;
  // Blocks point into the plans, which never move: there is room for one plan per block
  // from the start.
  std::vector<ScriptPlan> plans_;
  // The plans' slots, by part of the plans: each part fills its own.
  std::vector<std::vector<BodySlots>> stagedSlots_;
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
  log_.reserve(log_.size() + 2 + 6 * blocks_.size());
  log_.push_back("-------- First Pass --------");
  if (!blocks_.empty()) {
    BuildIndexes();
    FirstPass();
  }
  log_.push_back("-------- Second Pass --------");
  if (blocks_.empty()) return;
  SecondPass();
  Commit();
}

// Every header needs its name and every "end" line its second word; a file that breaks
// this is refused before anything is planned. Only lines beginning with "end", a header
// keyword or a quoted token can start or end a body: both halves of the text are searched
// for them and each found is read at once, then they are taken in order.
void ImportRun::CheckStructure() {
  const std::size_t feed = text_.find('\n', text_.size() / 2);
  const std::size_t middle = feed == std::string_view::npos ? text_.size() : feed + 1;
  const std::array<std::size_t, 3> bounds = {0, middle, text_.size()};
  std::array<std::vector<Landmark>, 2> landmarks;
  std::array<std::size_t, 2> lineCounts{};
  // A short text is searched on this thread alone.
  const std::size_t halvesPerThread = text_.size() < kBytesPerThread ? 2 : 1;
  ParallelParts(2, halvesPerThread, [&](std::size_t first, std::size_t last) {
    LineBuffer buffer;
    for (std::size_t half = first; half < last; ++half) {
      LineCursor lines(text_.substr(0, bounds[half + 1]), bounds[half], 0);
      // Filled apart from the other half's: the two vectors share a cache line.
      std::vector<Landmark> found;
      std::string_view text;
      while (lines.Next(text)) {
        if (!MayOpenOrClose(text)) continue;
        found.push_back(ReadLandmark(text, lines, buffer, unquotedNames_[half]));
      }
      landmarks[half] = std::move(found);
      lineCounts[half] = lines.Number();
    }
  });
  bool inBody = false;
  for (std::size_t half = 0; half < 2; ++half) {
    for (Landmark& landmark : landmarks[half]) {
      if (half == 1) landmark.number += lineCounts[0];
      inBody = Apply(landmark, inBody);
    }
  }
}

// Takes one line that may start or end a body; answers whether a body is open after it.
bool ImportRun::Apply(const Landmark& landmark, bool inBody) {
  switch (inBody ? landmark.inside : landmark.outside) {
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
  Block& block = blocks_.emplace_back();
  static_cast<ScriptBlock&>(block) = {landmark.number, landmark.next,  text_.size(),
                                      false,           landmark.kind,  landmark.name,
                                      landmark.column, landmark.length};
  return true;
}

// Every list a header or a line form names, each list's index built on its own.
void ImportRun::BuildIndexes() {
  std::vector<Category> lists = {Category::Flags};
  for (std::size_t kind = 0; kind < kScriptKinds; ++kind) {
    lists.push_back(ScriptCategoryOfKind(static_cast<int>(kind)));
  }
  for (std::size_t r = 0; r < kScriptReferenceCount; ++r) {
    lists.push_back(CategoryOf(static_cast<ScriptReference>(r)));
  }
  std::sort(lists.begin(), lists.end());
  lists.erase(std::unique(lists.begin(), lists.end()), lists.end());
  ParallelParts(lists.size(), 1, [&](std::size_t first, std::size_t last) {
    for (std::size_t i = first; i < last; ++i) {
      indexes_[IndexOf(lists[i])] = std::make_unique<NameIndex>(level_.List(lists[i]));
    }
  });
}

std::string_view PlannedName(const ScriptBlock& block) {
  return block.name.substr(0, ZR3Script::kNameWidth);
}

void ImportRun::FirstPass() {
  // The headers' names are looked up on several threads; the plans are then made in order,
  // since a script the text adds may be named again further down.
  ParallelParts(blocks_.size(), kBlocksPerThread, [this](std::size_t first, std::size_t last) {
    for (std::size_t b = first; b < last; ++b) {
      Block& block = blocks_[b];
      block.found = Find(ScriptCategoryOfKind(block.kind), PlannedName(block));
    }
  });
  plans_.reserve(blocks_.size());
  for (Block& block : blocks_) Plan(block);
  LogBlocks(kBlocksPerThread, [this](std::size_t first, std::size_t last, Lines& lines) {
    for (std::size_t b = first; b < last; ++b) LogPlan(blocks_[b], lines);
  });
  StageSlots();
}

// Finds the script the header names, or plans to append it.
void ImportRun::Plan(Block& block) {
  const std::string_view name = PlannedName(block);
  const Category category = ScriptCategoryOfKind(block.kind);
  NameIndex& index = Index(category);
  // A name the list lacked may be one of a script this text adds.
  const std::optional<NameMatch> entry = block.found ? block.found : index.Find(name);
  std::vector<ScriptPlan*>& planned = plansByPosition_[static_cast<std::size_t>(block.kind)];
  if (planned.size() < index.Size()) planned.resize(index.Size());
  if (entry && planned[static_cast<std::size_t>(entry->position)]) {
    repeatedHeader_ = true;
    block.plan = planned[static_cast<std::size_t>(entry->position)];
    return;
  }
  ScriptPlan& plan = plans_.emplace_back();
  block.plan = &plan;
  plan.headerLine = block.headerLine;
  plan.kind = block.kind;
  plan.name = name;
  RecordList& list = level_.List(category);
  if (entry) {
    block.outcome = entry->ambiguous ? Outcome::FoundAmbiguous : Outcome::Found;
    planned[static_cast<std::size_t>(entry->position)] = &plan;
    plan.existing = &static_cast<ZR3Script&>(*list[static_cast<std::size_t>(entry->position)]);
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
  block.outcome = Outcome::Added;
}

void ImportRun::LogPlan(const Block& block, Lines& lines) const {
  const std::string_view name = PlannedName(block);
  AddLine(lines, WordAt(ScriptHeaders(), block.kind)->readable, name);
  if (block.outcome == Outcome::FoundAmbiguous) {
    Warn(lines, block.headerLine,
         "more than one " + std::string(InfoOf(ScriptCategoryOfKind(block.kind)).recordNoun) +
             " is named " + Quote(name) + " (ambiguous, the first is used)");
  }
  AddLine(lines, block.outcome == Outcome::Added ? "...Added" : "...Found");
}

// Each part of the plans stages its own slots, so that the memory they take is first
// touched on several threads. The scripts lie all over memory: each is fetched a few
// scripts ahead of its copy.
void ImportRun::StageSlots() {
  // Handing a part's vector over keeps its slots where they are.
  stagedSlots_ = PartResults<std::vector<BodySlots>>(
      plans_.size(), kBlocksPerThread, [this](std::size_t first, std::size_t last) {
        constexpr std::size_t kAhead = 4;
        std::vector<BodySlots> slots;
        slots.reserve(last - first);
        for (std::size_t i = first; i < last; ++i) {
          if (i + kAhead < last && plans_[i + kAhead].existing) {
            Prefetch(*plans_[i + kAhead].existing);
          }
          plans_[i].slots = &slots.emplace_back();
          if (plans_[i].existing) TakeExisting(plans_[i], *plans_[i].slots);
        }
        return slots;
      });
}

// The slots a line does not fully set keep their parameters; bring the positions in them up
// to date first, since records may have moved since the last load.
void ImportRun::TakeExisting(const ScriptPlan& plan, BodySlots& slots) {
  const ZR3Script& existing = *plan.existing;
  // The records the slots name lie all over memory: fetched together, their waits overlap.
  for (std::size_t i = 0; i < ZR3Script::kSlotCount; ++i) {
    existing.Condition(i).PrefetchReferences();
    existing.Command(i).PrefetchReferences();
  }
  try {
    for (std::size_t i = 0; i < ZR3Script::kSlotCount; ++i) {
      slots.conditions[i] = {existing.Condition(i).Code(),
                             existing.Condition(i).WrittenParameters()};
      slots.commands[i] = {existing.Command(i).Code(), existing.Command(i).WrittenParameters()};
    }
  } catch (const ZR3Error& error) {
    throw ZR3Error(LinePrefix(plan.headerLine) + error.what());
  }
}

// Runs body(first, last, lines) over parts of the blocks on several threads, each part
// writing its own log lines, then appends the parts' lines to the log in the blocks' order.
template <class Body>
void ImportRun::LogBlocks(std::size_t minimumPart, const Body& body) {
  std::vector<Lines> parts =
      PartResults<Lines>(blocks_.size(), minimumPart, [&](std::size_t first, std::size_t last) {
        Lines lines;
        lines.reserve(3 * (last - first));
        body(first, last, lines);
        return lines;
      });
  for (Lines& lines : parts) {
    log_.insert(log_.end(), std::make_move_iterator(lines.begin()),
                std::make_move_iterator(lines.end()));
  }
}

void ImportRun::SecondPass() {
  const std::size_t minimumPart = repeatedHeader_ ? blocks_.size() : kBlocksPerThread;
  LogBlocks(minimumPart, [this](std::size_t first, std::size_t last, Lines& lines) {
    LineBuffer buffer;
    ReportSink sink(lines);
    for (std::size_t b = first; b < last; ++b) {
      const ScriptPlan& plan = *blocks_[b].plan;
      AddLine(lines, WordAt(ScriptHeaders(), plan.kind)->readable, plan.name);
      AddLine(lines, "...Found");
      ReadScriptBody(text_, blocks_[b], this, *plan.slots, sink, buffer);
      AddLine(lines, plan.name, " updated");
    }
  });
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
        Fill(script.Condition(s), plan.slots->conditions[s]);
        Fill(script.Command(s), plan.slots->commands[s]);
      }
      script.SetConditionCount(plan.slots->conditionCount);
      script.SetCommandCount(plan.slots->commandCount);
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
  std::optional<FileBytes> text;
  try {
    text.emplace(fileName);
  } catch (const ZR3Error& error) {
    log_.push_back(error.what());
    throw;
  }
  Run(text->View());
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
