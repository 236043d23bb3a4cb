#include "script/zr3importer.h"

#include <algorithm>
#include <array>
#include <limits>
#include <map>
#include <memory>
#include <unordered_map>
#include <utility>

#include "level/category.h"
#include "level/safefile.h"
#include "level/zr3error.h"
#include "level/zr3level.h"
#include "script/vocabulary.h"
#include "script/zr3script.h"

namespace zr3 {

namespace {

constexpr std::size_t kHeaderNameWidth = ZR3Script::kNameWidth;
constexpr std::size_t kScriptKinds = 4;
constexpr int kObjectKind = 2;

bool IsSeparator(char c) {
  return static_cast<unsigned char>(c) <= 32;
}

std::string LinePrefix(std::size_t lineNumber) {
  return "Line " + std::to_string(lineNumber) + ": ";
}

// The first position of every name of one list, built once per import so that resolving
// many names stays linear. Scripts that the import will append are added as it plans them.
class NameIndex {
 public:
  struct Entry {
    int position;
    bool ambiguous;
  };

  explicit NameIndex(const RecordList& list) {
    for (std::size_t i = 0; i < list.size(); ++i) Add(list[i]->Name(), static_cast<int>(i));
  }
  void Add(const std::string& name, int position) {
    auto [entry, inserted] = entries_.try_emplace(name, Entry{position, false});
    if (!inserted) entry->second.ambiguous = true;
  }
  const Entry* Find(const std::string& name) const {
    auto entry = entries_.find(name);
    return entry == entries_.end() ? nullptr : &entry->second;
  }

 private:
  std::unordered_map<std::string, Entry> entries_;
};

struct SourceLine {
  std::size_t number;  // counted from 1
  std::vector<std::string> tokens;
};

// What one slot receives: its code and nine parameters.
struct SlotValue {
  std::uint16_t code = 0;
  ZR3ScriptEntry::Parameters parameters{};
};

// The new contents of one script, built before the level is touched.
struct ScriptPlan {
  int kind = 0;
  std::string name;
  ZR3Script* existing = nullptr;  // none for a script to append
  std::array<SlotValue, ZR3Script::kSlotCount> conditions{};
  std::array<SlotValue, ZR3Script::kSlotCount> commands{};
  std::uint8_t conditionCount = 0;
  std::uint8_t commandCount = 0;
};

// One script block of the text: its header line and the end of its body (the index of the
// "end script" line, or the number of lines).
struct Block {
  std::size_t header;
  std::size_t bodyEnd;
  std::size_t plan;
};

void Fill(ZR3ScriptEntry& entry, const SlotValue& value) {
  entry.SetCode(value.code);
  for (std::size_t p = 0; p < ZR3ScriptEntry::kParameterCount; ++p) {
    entry.SetParameter(p, value.parameters[p]);
  }
}

bool IsEndScript(const SourceLine& line) {
  return line.tokens.size() >= 2 && line.tokens[0] == "end" && line.tokens[1] == "script";
}

int HeaderKind(const std::string& token) {
  if (token == "script") return kObjectKind;
  return FindExactKeyword(ScriptHeaders(), token);
}

std::vector<SourceLine> SplitLines(std::string_view text) {
  std::vector<SourceLine> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back({lines.size() + 1, TokenizeScriptLine(line)});
    start = end + 1;
  }
  return lines;
}

class ImportRun;

// Reads the tokens of one condition or command line into a slot, token k into parameter p.
class LineReader {
 public:
  LineReader(ImportRun& run, const SourceLine& line, SlotValue& slot)
      : run_(run), line_(line), slot_(slot) {}

  std::int16_t Get(int p) const { return slot_.parameters[static_cast<std::size_t>(p)]; }
  void Set(int p, std::int16_t value) { slot_.parameters[static_cast<std::size_t>(p)] = value; }
  const std::string& Token(int k) const {
    static const std::string kEmpty;
    const auto index = static_cast<std::size_t>(k);
    return index < line_.tokens.size() ? line_.tokens[index] : kEmpty;
  }

  // A number; a token that the line does not give leaves the parameter as it was, so that
  // parameters the exported line does not show survive a round trip.
  void Number(int p, int k);
  // 1 when the token is exactly the word, else 0.
  void Is(int p, std::string_view word, int k) { Set(p, Token(k) == word ? 1 : 0); }
  // The position of the token among the table's keywords, compared exactly; 0 when absent.
  void Choice(int p, VocabularyTable table, int k) {
    Set(p, static_cast<std::int16_t>(std::max(FindExactKeyword(table, Token(k)), 0)));
  }
  void Word(int p, VocabularyTable table, std::string_view what, int k);
  void Name(int p, Category category, int k);
  // A value source at p and its operand at p + 1.
  void Operand(int p, int k);
  // The same for a map, whose value operand is a map name.
  void MapPair(int p, int k);
  // The operand at p + 1 as the value source at p says: an attribute, a flag or a number.
  void OperandBySource(int p, int k);
  // A number at p; true when it is -1, which ends the line's optional tail.
  bool TailEnds(int p, int k) {
    Number(p, k);
    return Get(p) == -1;
  }
  // The map of "changetiles" and "changeobjpic": a negative number stands for all maps and
  // ends the line; otherwise a map name, then the place, whose negative X ends the line.
  void MapOrAllMaps();

  void ReadCondition();
  void ReadCommand();

 private:
  ImportRun& run_;
  const SourceLine& line_;
  SlotValue& slot_;
};

class ImportRun {
 public:
  ImportRun(ZR3Level& level, Lines& log) : level_(level), log_(log) {}

  void Run(std::string_view text);

  void Warn(std::size_t line, const std::string& text) {
    log_.push_back("Warning: line " + std::to_string(line) + ": " + text);
  }
  NameIndex& Index(Category category) {
    std::unique_ptr<NameIndex>& index = indexes_[IndexOf(category)];
    if (!index) index = std::make_unique<NameIndex>(level_.List(category));
    return *index;
  }

 private:
  void CheckStructure();
  void FirstPass();
  void SecondPass();
  void ReadBody(const Block& block, ScriptPlan& plan);
  void Commit();

  ZR3Level& level_;
  Lines& log_;
  std::vector<SourceLine> lines_;
  std::vector<Block> blocks_;
  std::vector<ScriptPlan> plans_;
  std::array<std::size_t, kScriptKinds> added_{};
  std::array<std::unique_ptr<NameIndex>, kCategoryCount> indexes_;
};

void LineReader::Number(int p, int k) {
  if (static_cast<std::size_t>(k) >= line_.tokens.size()) return;
  const std::optional<std::int32_t> value = ParseScriptNumber(Token(k));
  if (!value) {
    run_.Warn(line_.number, "\"" + Token(k) + "\" is not a number; 0 is used");
  }
  // In-range numbers keep their low 16 bits.
  Set(p, static_cast<std::int16_t>(static_cast<std::uint16_t>(value.value_or(0) & 0xFFFF)));
}

void LineReader::Word(int p, VocabularyTable table, std::string_view what, int k) {
  int index = FindKeyword(table, Token(k));
  if (index < 0) {
    run_.Warn(line_.number, "unknown " + std::string(what) + " \"" + Token(k) + "\"; \"" +
                                std::string(table[0].keyword) + "\" is used");
    index = 0;
  }
  Set(p, static_cast<std::int16_t>(index));
}

void LineReader::Name(int p, Category category, int k) {
  const std::string noun(InfoOf(category).recordNoun);
  const NameIndex::Entry* entry = run_.Index(category).Find(Token(k));
  if (!entry) {
    run_.Warn(line_.number,
              "no " + noun + " named \"" + Token(k) + "\"; the first " + noun + " is used");
    Set(p, 0);
    return;
  }
  if (entry->ambiguous) {
    run_.Warn(line_.number, "more than one " + noun + " is named \"" + Token(k) +
                                "\" (ambiguous, the first is used)");
  }
  if (entry->position > std::numeric_limits<std::int16_t>::max()) {
    throw ZR3Error(LinePrefix(line_.number) + "the " + noun + " \"" + Token(k) + "\" at position " +
                   std::to_string(entry->position) + " cannot be named by a script");
  }
  Set(p, static_cast<std::int16_t>(entry->position));
}

void LineReader::Operand(int p, int k) {
  Word(p, ValueSources(), "value source", k);
  OperandBySource(p, k);
}

void LineReader::MapPair(int p, int k) {
  Word(p, ValueSources(), "value source", k);
  if (Get(p) == kSourceValue) {
    Name(p + 1, Category::Maps, k + 1);
  } else {
    OperandBySource(p, k);
  }
}

void LineReader::OperandBySource(int p, int k) {
  switch (Get(p)) {
    case kSourceAttribute:
      Word(p + 1, Attributes(), "attribute", k + 1);
      break;
    case kSourceFlag:
      Name(p + 1, Category::Flags, k + 1);
      break;
    default:
      Number(p + 1, k + 1);
      break;
  }
}

void LineReader::MapOrAllMaps() {
  const std::optional<std::int32_t> allMaps = ParseScriptNumber(Token(3));
  if (allMaps && *allMaps < 0) {
    Number(2, 3);
    return;
  }
  Name(2, Category::Maps, 3);
  Number(3, 4);
  if (Get(3) < 0) return;
  Number(4, 5);
}

void LineReader::ReadCondition() {
  switch (slot_.code) {
    case kFlagValue:
      Name(0, Category::Flags, 1);
      Word(1, Comparisons(), "comparison", 2);
      Operand(2, 3);
      break;
    case kLocation:
      Is(0, "not", 1);
      MapPair(1, 2);
      Operand(3, 4);
      Operand(5, 6);
      break;
    case kAttribute:
      Word(0, Attributes(), "attribute", 1);
      Word(1, Comparisons(), "comparison", 2);
      Operand(2, 3);
      break;
    case kHasItem:
      Is(0, "missing", 1);
      Name(1, Category::Items, 2);
      break;
    case kCharacterGraphic:
      Is(0, "not", 1);
      Name(1, Category::Characters, 2);
      break;
    case kUsingPalette:
      Is(0, "not", 1);
      Name(1, Category::Palettes, 2);
      break;
    case kInCombat:
    case kColor:
      Is(0, "false", 1);
      break;
    case kTime:
      Choice(0, TimeUnits(), 1);
      Word(1, Comparisons(), "comparison", 2);
      Operand(2, 3);
      break;
    case kTileExists:
      Operand(0, 1);
      Operand(2, 3);
      Choice(4, ConditionLayers(), 5);
      Is(5, "missing", 6);
      break;
    case kKnowsSpell:
      Is(0, "unknown", 1);
      Name(1, Category::Spells, 2);
      break;
    case kEquipped:
      Name(0, Category::Items, 1);
      Is(1, "unequipped", 2);
      break;
    default:
      break;
  }
}

void LineReader::ReadCommand() {
  switch (slot_.code) {
    case kChangeFlag:
      Word(0, Operations(), "operation", 1);
      Name(1, Category::Flags, 2);
      Operand(2, 3);
      break;
    case kWarp:
      MapPair(0, 1);
      Operand(2, 3);
      Operand(4, 5);
      break;
    case kChangeAttribute:
      Word(0, Attributes(), "attribute", 1);
      Word(1, Operations(), "operation", 2);
      Operand(2, 3);
      break;
    case kGiveTakeItem:
      Is(0, "take", 1);
      Name(1, Category::Items, 2);
      break;
    case kChangeCharacterGraphic:
      Name(0, Category::Characters, 1);
      break;
    case kDisplayGraphic:
      Name(0, Category::Graphics, 1);
      if (!TailEnds(1, 2)) Number(2, 3);
      break;
    case kDisplayText:
      Name(0, Category::Texts, 1);
      Number(1, 2);
      if (TailEnds(2, 3)) {
        Is(6, "wait", 4);
      } else {
        Number(3, 4);
        Number(4, 5);
        Number(5, 6);
        Is(6, "wait", 7);
      }
      break;
    case kPlaySong:
      Name(0, Category::Songs, 1);
      if (!TailEnds(1, 2)) Number(2, 3);
      break;
    case kWait:
      if (!TailEnds(0, 1)) Number(1, 2);
      break;
    case kLearnSpell:
    case kRemoveSpell:
      Name(0, Category::Spells, 1);
      break;
    case kPlaceRemoveObject:
      Is(0, "remove", 1);
      Name(1, Category::Objects, 2);
      Name(2, Category::Maps, 3);
      Number(3, 4);
      Number(4, 5);
      break;
    case kChangeMapTiles:
      Name(0, Category::Tiles, 1);
      Name(1, Category::Tiles, 2);
      MapOrAllMaps();
      break;
    case kRunScript:
      Name(0, Category::ObjectScripts, 1);
      Is(1, "ignore", 2);
      Operand(2, 3);
      break;
    case kChangePalette:
      Name(0, Category::Palettes, 1);
      break;
    case kChangeObjectGraphic:
      Name(0, Category::Objects, 1);
      Name(1, Category::Graphics, 2);
      MapOrAllMaps();
      break;
    case kDisplayShop:
      Name(0, Category::Shops, 1);
      break;
    case kStartEndCombat:
      Is(0, "stop", 1);
      if (Get(0) == 0) Name(1, Category::Monsters, 2);
      break;
    case kChangeCustomScreen:
      Choice(0, CustomScreens(), 1);
      Name(1, Category::Graphics, 2);
      break;
    case kClearScreen:
      Number(0, 1);
      break;
    case kAdvancedDisplayGraphic:
      Name(0, Category::Graphics, 1);
      Operand(1, 2);
      Operand(3, 4);
      break;
    case kAdvancedTileChange:
      Name(0, Category::Tiles, 1);
      MapPair(1, 2);
      Operand(3, 4);
      Operand(5, 6);
      break;
    case kAdvancedPlaceRemoveObject:
      Is(0, "remove", 1);
      Name(1, Category::Objects, 2);
      MapPair(2, 3);
      Operand(4, 5);
      Operand(6, 7);
      break;
    case kDisplayList:
      Name(0, Category::Lists, 1);
      Number(1, 2);
      if (!TailEnds(2, 3)) {
        Number(3, 4);
        Number(4, 5);
        Number(5, 6);
      }
      break;
    case kCustomScreenTap:
      Name(0, Category::Flags, 1);
      Name(1, Category::Flags, 2);
      break;
    case kWalkPlayer:
      Choice(0, Directions(), 1);
      break;
    case kEquipUnequip:
      Is(0, "remove", 1);
      Name(1, Category::Items, 2);
      break;
    case kDeleteTileLayer:
      MapPair(0, 1);
      Operand(2, 3);
      Operand(4, 5);
      Choice(6, CommandLayers(), 7);
      break;
    default:
      break;
  }
}

void ImportRun::Run(std::string_view text) {
  lines_ = SplitLines(text);
  CheckStructure();
  FirstPass();
  log_.push_back("-------- Second Pass --------");
  if (blocks_.empty()) return;
  SecondPass();
  Commit();
}

// Every header needs its name and every "end" line its second word; a file that breaks
// this is refused before anything is planned.
void ImportRun::CheckStructure() {
  bool inBody = false;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    const std::vector<std::string>& tokens = lines_[i].tokens;
    if (tokens.empty()) continue;
    if (tokens[0] == "end" && tokens.size() < 2) {
      throw ZR3Error(LinePrefix(lines_[i].number) + "\"end\" without its second word");
    }
    if (inBody) {
      if (IsEndScript(lines_[i])) {
        inBody = false;
        blocks_.back().bodyEnd = i;
      }
      continue;
    }
    if (HeaderKind(tokens[0]) < 0) continue;
    if (tokens.size() < 2) {
      throw ZR3Error(LinePrefix(lines_[i].number) + "script name missing");
    }
    blocks_.push_back({i, lines_.size(), 0});
    inBody = true;
  }
}

void ImportRun::FirstPass() {
  log_.push_back("-------- First Pass --------");
  std::map<std::pair<int, std::string>, std::size_t> planned;
  for (Block& block : blocks_) {
    const SourceLine& header = lines_[block.header];
    const int kind = HeaderKind(header.tokens[0]);
    const std::string name = header.tokens[1].substr(0, kHeaderNameWidth);
    log_.push_back(std::string(WordAt(ScriptHeaders(), kind)->readable) + name);
    auto [known, isNew] = planned.try_emplace({kind, name}, plans_.size());
    block.plan = known->second;
    if (!isNew) {
      log_.push_back("...Found");
      continue;
    }
    const Category category = ScriptCategoryOfKind(kind);
    RecordList& list = level_.List(category);
    NameIndex& index = Index(category);
    ScriptPlan plan;
    plan.kind = kind;
    plan.name = name;
    if (const NameIndex::Entry* entry = index.Find(name)) {
      if (entry->ambiguous) {
        Warn(header.number, "more than one " + std::string(InfoOf(category).recordNoun) +
                                " is named \"" + name + "\" (ambiguous, the first is used)");
      }
      plan.existing = &static_cast<ZR3Script&>(*list[static_cast<std::size_t>(entry->position)]);
      // The slots a line does not fully set keep their parameters; bring the positions in
      // them up to date first, since records may have moved since the last load.
      try {
        for (std::size_t i = 0; i < ZR3Script::kSlotCount; ++i) {
          plan.conditions[i] = {plan.existing->Condition(i).Code(),
                                plan.existing->Condition(i).WrittenParameters()};
          plan.commands[i] = {plan.existing->Command(i).Code(),
                              plan.existing->Command(i).WrittenParameters()};
        }
      } catch (const ZR3Error& error) {
        throw ZR3Error(LinePrefix(header.number) + error.what());
      }
      log_.push_back("...Found");
    } else {
      const std::size_t position = list.size() + added_[static_cast<std::size_t>(kind)];
      if (position >= ZR3Level::kMaxRecords) {
        throw ZR3Error(LinePrefix(header.number) + "the " +
                       std::string(InfoOf(category).sectionName) + " cannot hold more than " +
                       std::to_string(ZR3Level::kMaxRecords) + " scripts");
      }
      ++added_[static_cast<std::size_t>(kind)];
      index.Add(name, static_cast<int>(position));
      log_.push_back("...Added");
    }
    plans_.push_back(std::move(plan));
  }
}

void ImportRun::SecondPass() {
  for (const Block& block : blocks_) {
    ScriptPlan& plan = plans_[block.plan];
    log_.push_back(std::string(WordAt(ScriptHeaders(), plan.kind)->readable) + plan.name);
    log_.push_back("...Found");
    ReadBody(block, plan);
    log_.push_back(plan.name + " updated");
  }
}

void ImportRun::ReadBody(const Block& block, ScriptPlan& plan) {
  std::size_t conditions = 0;
  std::size_t commands = 0;
  bool commandPhase = false;
  for (std::size_t i = block.header + 1; i < block.bodyEnd; ++i) {
    const SourceLine& line = lines_[i];
    if (line.tokens.empty()) continue;
    const std::string& keyword = line.tokens[0];
    if (!commandPhase && keyword == "commands:") {
      commandPhase = true;
      continue;
    }
    const int code = commandPhase ? FindCommandCode(keyword) : FindConditionCode(keyword);
    if (code < 0) {
      // The exporter's own lines for what cannot be imported are skipped silently.
      const bool exporterLine =
          keyword == "Invalid" || (commandPhase ? keyword == "null" : keyword == "conditions:");
      if (!exporterLine) {
        Warn(line.number, std::string("unknown ") + (commandPhase ? "command" : "condition") +
                              " \"" + keyword + "\"; the line is ignored");
      }
      continue;
    }
    std::size_t& taken = commandPhase ? commands : conditions;
    if (taken == ZR3Script::kSlotCount) {
      Warn(line.number, std::string("more than 10 ") + (commandPhase ? "commands" : "conditions") +
                            "; the line is ignored");
      continue;
    }
    SlotValue& slot = commandPhase ? plan.commands[taken] : plan.conditions[taken];
    ++taken;
    slot.code = static_cast<std::uint16_t>(code);
    LineReader reader(*this, line, slot);
    if (commandPhase) {
      reader.ReadCommand();
    } else {
      reader.ReadCondition();
    }
  }
  // A script always has at least one condition ("always") and one command (code 0).
  if (conditions == 0) plan.conditions[0].code = kAlwaysFire;
  if (commands == 0) plan.commands[0].code = 0;
  plan.conditionCount = static_cast<std::uint8_t>(std::max<std::size_t>(conditions, 1));
  plan.commandCount = static_cast<std::uint8_t>(std::max<std::size_t>(commands, 1));
}

void ImportRun::Commit() {
  std::vector<std::unique_ptr<ZR3Script>> created;
  std::array<std::size_t, kScriptKinds> oldSizes{};
  for (std::size_t kind = 0; kind < kScriptKinds; ++kind) {
    RecordList& list = level_.List(ScriptCategoryOfKind(static_cast<int>(kind)));
    oldSizes[kind] = list.size();
    list.reserve(list.size() + added_[kind]);
  }
  for (ScriptPlan& plan : plans_) {
    if (plan.existing) continue;
    auto script = std::make_unique<ZR3Script>(static_cast<std::uint8_t>(plan.kind));
    script->SetName(plan.name);
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
  for (const ScriptPlan& plan : plans_) {
    ZR3Script& script = *plan.existing;
    for (std::size_t i = 0; i < ZR3Script::kSlotCount; ++i) {
      Fill(script.Condition(i), plan.conditions[i]);
      Fill(script.Command(i), plan.commands[i]);
    }
    script.SetConditionCount(plan.conditionCount);
    script.SetCommandCount(plan.commandCount);
    script.SetKind(static_cast<std::uint8_t>(plan.kind));
    // Only the scripts written are linked: the stored positions of the others may be stale.
    script.Link(level_);
  }
  level_.SetModified(true);
}

}  // namespace

std::vector<std::string> TokenizeScriptLine(std::string_view line) {
  std::vector<std::string> tokens;
  std::size_t i = 0;
  const std::size_t n = line.size();
  auto skipSeparators = [&] {
    while (i < n && IsSeparator(line[i])) ++i;
  };
  skipSeparators();
  while (i < n) {
    std::string token;
    if (line[i] == '"') {
      ++i;
      while (i < n) {
        if (line[i] == '"') {
          if (i + 1 < n && line[i + 1] == '"') {
            token += '"';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        token += line[i++];
      }
    } else {
      // A comma here leaves this token empty and is taken as its separator below.
      while (i < n && !IsSeparator(line[i]) && line[i] != ',') token += line[i++];
    }
    tokens.push_back(std::move(token));
    skipSeparators();
    if (i < n && line[i] == ',') {
      ++i;
      skipSeparators();
    }
  }
  return tokens;
}

std::optional<std::int32_t> ParseScriptNumber(std::string_view token) {
  std::size_t i = 0;
  bool negative = false;
  if (!token.empty() && (token[0] == '-' || token[0] == '+')) {
    negative = token[0] == '-';
    i = 1;
  }
  if (i == token.size()) return std::nullopt;
  std::int64_t value = 0;
  for (; i < token.size(); ++i) {
    if (token[i] < '0' || token[i] > '9') return std::nullopt;
    value = value * 10 + (token[i] - '0');
    if (value > std::int64_t{1} << 31) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<std::int32_t>::max()) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

void ZR3Importer::Import(const std::string& fileName) {
  fileName_ = fileName;
  log_.clear();
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
  try {
    ImportRun(level_, log_).Run(text);
  } catch (const ZR3Error& error) {
    log_ = {error.what(), "Nothing was imported."};
    throw;
  }
}

void ZR3Importer::AppendReport(Lines& lines) const {
  lines.push_back("IMPORT SCRIPTS");
  lines.push_back("");
  lines.insert(lines.end(), log_.begin(), log_.end());
}

}  // namespace zr3
