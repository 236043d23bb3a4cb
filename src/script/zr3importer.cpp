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
#include "script/scriptforms.h"
#include "script/vocabulary.h"
#include "script/zr3script.h"

namespace zr3 {

namespace {

constexpr std::size_t kHeaderNameWidth = ZR3Script::kNameWidth;
constexpr std::size_t kScriptKinds = 4;
constexpr int kObjectKind = 2;
// No line form reads beyond its ninth token, so the rest of a line is never split.
constexpr std::size_t kMaxTokens = 10;
// Fewer scripts or bytes than these are not worth a thread of their own.
constexpr std::size_t kBlocksPerThread = 256;
constexpr std::size_t kBytesPerThread = 64 * 1024;

bool IsSeparator(char c) {
  return static_cast<unsigned char>(c) <= 32;
}

// What ends a token that is not quoted: a separator or a comma.
constexpr std::array<bool, 256> kEndsPlainToken = [] {
  std::array<bool, 256> ends{};
  for (std::size_t c = 0; c <= 32; ++c) ends[c] = true;
  ends[','] = true;
  return ends;
}();

bool EndsPlainToken(char c) {
  return kEndsPlainToken[static_cast<unsigned char>(c)];
}

std::string LinePrefix(std::size_t lineNumber) {
  return "Line " + std::to_string(lineNumber) + ": ";
}

std::string Quote(std::string_view text) {
  std::string quoted(1, '"');
  quoted += text;
  quoted += '"';
  return quoted;
}

// The low 16 bits of a number, as a parameter holds it.
std::int16_t Low16(std::int32_t value) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(value & 0xFFFF));
}

// The first token of the line when it is not quoted (empty for a line without tokens);
// nothing for a quoted one, which needs the whole tokenizer.
std::optional<std::string_view> PlainFirstToken(std::string_view line) {
  std::size_t start = 0;
  while (start < line.size() && IsSeparator(line[start])) ++start;
  if (start < line.size() && line[start] == '"') return std::nullopt;
  std::size_t end = start;
  while (end < line.size() && !EndsPlainToken(line[end])) ++end;
  return line.substr(start, end - start);
}

struct Token {
  std::string_view text;
  bool quoted = false;
};

// Reads the tokens of one line in order. A token is a view into the line, or into scratch
// for a quoted token whose doubled quotes had to become single ones; scratch must have room
// for the whole line, so that no view into it moves.
class TokenReader {
 public:
  TokenReader(std::string_view line, std::string& scratch) : line_(line), scratch_(scratch) {
    SkipSeparators();
  }

  bool Next(Token& token) {
    if (i_ >= line_.size()) return false;
    token.quoted = line_[i_] == '"';
    token.text = token.quoted ? Quoted() : Plain();
    SkipSeparators();
    if (i_ < line_.size() && line_[i_] == ',') {
      ++i_;
      SkipSeparators();
    }
    return true;
  }

 private:
  void SkipSeparators() {
    while (i_ < line_.size() && IsSeparator(line_[i_])) ++i_;
  }
  // A comma here leaves the token empty and is taken as its separator.
  std::string_view Plain() {
    const std::size_t start = i_;
    while (i_ < line_.size() && !EndsPlainToken(line_[i_])) ++i_;
    return line_.substr(start, i_ - start);
  }
  // Up to the closing quote, or to the end of the line when there is none.
  std::string_view Quoted() {
    const std::size_t start = ++i_;
    std::size_t close = line_.find('"', start);
    if (close == std::string_view::npos) {
      i_ = line_.size();
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
        break;
      }
    }
    return std::string_view(scratch_).substr(first);
  }

  std::string_view line_;
  std::string& scratch_;
  std::size_t i_ = 0;
};

// The first tokens of one line; a token the line does not give reads as empty.
class SourceLine {
 public:
  // Splits at most max tokens of the line, which is line number (counted from 1). The
  // tokens stay valid until scratch is used again.
  void Split(std::string_view line, std::size_t number, std::string& scratch,
             std::size_t max = kMaxTokens) {
    number_ = number;
    scratch.clear();
    scratch.reserve(line.size());
    TokenReader reader(line, scratch);
    count_ = 0;
    while (count_ < max && reader.Next(tokens_[count_])) ++count_;
  }

  std::size_t Number() const { return number_; }
  std::size_t Count() const { return count_; }
  std::string_view operator[](std::size_t k) const {
    return k < count_ ? tokens_[k].text : std::string_view();
  }
  bool Quoted(std::size_t k) const { return k < count_ && tokens_[k].quoted; }
  bool IsEndScript() const {
    return count_ >= 2 && tokens_[0].text == kEndWord && tokens_[1].text == kScriptWord;
  }

 private:
  std::array<Token, kMaxTokens> tokens_;
  std::size_t count_ = 0;
  std::size_t number_ = 0;
};

// Walks the lines of a text from an offset, each without its line feed and a carriage
// return before it.
class LineCursor {
 public:
  LineCursor(std::string_view text, std::size_t offset, std::size_t numberBefore)
      : text_(text), next_(offset), number_(numberBefore) {}

  bool Next(std::string_view& line) {
    if (next_ >= text_.size()) return false;
    start_ = next_;
    std::size_t end = text_.find('\n', start_);
    if (end == std::string_view::npos) end = text_.size();
    line = text_.substr(start_, end - start_);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    next_ = end + 1;
    ++number_;
    return true;
  }
  // Of the line last given: its number (counted from 1), where it starts and where the
  // line after it starts.
  std::size_t Number() const { return number_; }
  std::size_t Start() const { return start_; }
  std::size_t NextStart() const { return next_; }

 private:
  std::string_view text_;
  std::size_t next_;
  std::size_t number_;
  std::size_t start_ = 0;
};

// What one slot receives: its code and nine parameters.
struct SlotValue {
  std::uint16_t code = 0;
  ZR3ScriptEntry::Parameters parameters{};
};

// The new contents of one script, built before the level is touched.
struct ScriptPlan {
  std::size_t headerLine = 0;  // of its first block
  int kind = 0;
  std::string_view name;          // cut to the width of a script's name
  ZR3Script* existing = nullptr;  // none for a script to append
  std::array<SlotValue, ZR3Script::kSlotCount> conditions{};
  std::array<SlotValue, ZR3Script::kSlotCount> commands{};
  std::uint8_t conditionCount = 0;
  // Until a body is read, the existing script's: a body without commands loses them.
  std::uint8_t commandCount = 0;
};

// One script block of the text: its header and its body, which runs up to its "end script"
// line or to the end of the text.
struct Block {
  std::size_t headerLine;
  std::size_t bodyStart;
  std::size_t bodyEnd;
  bool ended;
  int kind;
  std::string_view name;  // as the header gives it
  ScriptPlan* plan = nullptr;
};

// The first position of every name of one list, built once per import so that resolving
// many names stays linear. Scripts that the import will append are appended as it plans
// them, each with its plan. A level's scripts name hundreds of thousands of records: the
// names are copied one after another and found by open addressing over a small flat array,
// so that a lookup reaches few cache lines and never the records themselves.
class NameIndex {
 public:
  struct Found {
    int position;
    bool ambiguous;
  };

  explicit NameIndex(const RecordList& list) {
    std::size_t bytes = 0;
    for (const std::unique_ptr<ZR3Base>& record : list) bytes += record->Name().size();
    names_.reserve(bytes);
    ends_.reserve(list.size());
    plans_.reserve(list.size());
    Resize(list.size());
    for (const std::unique_ptr<ZR3Base>& record : list) Append(record->Name());
  }
  // The name of the next position.
  void Append(std::string_view name) {
    names_ += name;
    ends_.push_back(static_cast<std::uint32_t>(names_.size()));
    plans_.push_back(nullptr);
    if (2 * ends_.size() + 2 > slots_.size()) {
      Resize(ends_.size());
    } else {
      Place(ends_.size() - 1);
    }
  }
  std::optional<Found> Find(std::string_view name) const {
    const Slot& slot = const_cast<NameIndex*>(this)->SlotOf(name, Hash(name));
    if (slot.position == kEmpty) return std::nullopt;
    return Found{static_cast<int>(slot.position & ~kAmbiguous), (slot.position & kAmbiguous) != 0};
  }
  // The plan of the script at the position; only script lists have plans.
  ScriptPlan*& PlanAt(int position) { return plans_[static_cast<std::size_t>(position)]; }

 private:
  static constexpr std::uint32_t kEmpty = 0xFFFFFFFF;
  static constexpr std::uint32_t kAmbiguous = 0x80000000;
  // The hash's high half: its low bits already chose the slot.
  struct Slot {
    std::uint32_t tag;
    std::uint32_t position;  // the first with the name; kAmbiguous when others follow
  };
  static std::uint32_t Tag(std::uint64_t hash) { return static_cast<std::uint32_t>(hash >> 32); }

  // Eight bytes at a time: names are short, and every name a script text gives is hashed.
  static std::uint64_t Hash(std::string_view name) {
    constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;
    std::uint64_t hash = name.size() * kMultiplier;
    std::size_t i = 0;
    for (; i + 8 <= name.size(); i += 8) {
      std::uint64_t word;
      std::memcpy(&word, name.data() + i, 8);
      hash = (std::rotl(hash, 29) ^ word) * kMultiplier;
    }
    std::uint64_t tail = 0;
    if (i < name.size()) std::memcpy(&tail, name.data() + i, name.size() - i);
    hash = (std::rotl(hash, 29) ^ tail) * kMultiplier;
    return hash ^ (hash >> 31);
  }
  std::string_view NameAt(std::size_t position) const {
    const std::uint32_t begin = position == 0 ? 0 : ends_[position - 1];
    return std::string_view(names_).substr(begin, ends_[position] - begin);
  }
  // The slot that holds the name, or the empty slot where it would go.
  Slot& SlotOf(std::string_view name, std::uint64_t hash) {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
      Slot& slot = slots_[i];
      if (slot.position == kEmpty) return slot;
      if (slot.tag == Tag(hash) && NameAt(slot.position & ~kAmbiguous) == name) return slot;
    }
  }
  void Place(std::size_t position) {
    const std::string_view name = NameAt(position);
    const std::uint64_t hash = Hash(name);
    Slot& slot = SlotOf(name, hash);
    if (slot.position == kEmpty) {
      slot = {Tag(hash), static_cast<std::uint32_t>(position)};
    } else {
      slot.position |= kAmbiguous;
    }
  }
  // Room for at least twice the count, every name placed again.
  void Resize(std::size_t count) {
    std::size_t size = 16;
    while (size < 2 * count + 4) size *= 2;
    slots_.assign(size, Slot{0, kEmpty});
    for (std::size_t position = 0; position < ends_.size(); ++position) Place(position);
  }

  std::vector<Slot> slots_;
  std::string names_;
  std::vector<std::uint32_t> ends_;  // where each position's name ends
  std::vector<ScriptPlan*> plans_;
};

// True when the view lies inside the text.
bool Within(std::string_view view, std::string_view text) {
  return std::less_equal<>()(text.data(), view.data()) &&
         std::less_equal<>()(view.data() + view.size(), text.data() + text.size());
}

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

int HeaderKind(std::string_view token) {
  if (token == kScriptWord) return kObjectKind;
  return FindExactKeyword(ScriptHeaders(), token);
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

// What splitting a line needs for itself; one for each thread that reads lines.
struct LineBuffer {
  std::string scratch;
  SourceLine line;
};

class ImportRun;

// Reads the tokens of one condition or command line into a slot along the code's line form,
// token k into parameter p. Every piece but a fixed text takes one token, an operand two.
class LineReader {
 public:
  LineReader(const ImportRun& run, const SourceLine& line, SlotValue& slot, Lines& warnings)
      : run_(run), line_(line), slot_(slot), warnings_(warnings) {}

  void Read(const Form& form);

 private:
  std::int16_t Get(int p) const { return slot_.parameters[static_cast<std::size_t>(p)]; }
  void Set(int p, int value) {
    slot_.parameters[static_cast<std::size_t>(p)] = static_cast<std::int16_t>(value);
  }

  // A number; a token that the line does not give leaves the parameter as it was, so that
  // parameters the exported line does not show survive a round trip.
  void Number(int p, std::size_t k);
  // A record's name; a record whose sentinel the line gives as a bare number ("all maps")
  // takes that number.
  void Record(const Piece& piece, std::size_t k);
  void Name(int p, Category category, std::size_t k);
  // The position of the token among the table's keywords, ignoring case; 0, with a warning,
  // when it is none of them.
  void Word(int p, WordTable words, std::size_t k);
  // A value source at p and its operand at p + 1.
  void Operand(int p, std::size_t k);
  // The same for a map, whose value operand is a map name.
  void MapOperand(int p, std::size_t k);
  // The operand at p + 1 as the value source at p says: an attribute, a flag or a number.
  void OperandBySource(int p, std::size_t k);

  const ImportRun& run_;
  const SourceLine& line_;
  SlotValue& slot_;
  Lines& warnings_;
};

class ImportRun {
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
  // The index of the list, already built: the second pass reads lines on several threads.
  const NameIndex& BuiltIndex(Category category) const { return *indexes_[IndexOf(category)]; }

 private:
  void CheckStructure();
  bool ReadLandmark(const Landmark& landmark, bool inBody);
  void FirstPass();
  void Plan(Block& block);
  static void TakeExisting(ScriptPlan& plan);
  void SecondPass();
  void ReadBody(const Block& block, ScriptPlan& plan, LineBuffer& buffer, Lines& warnings) const;
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
  // Blocks and the name indexes point into the plans, which never move: there is room for
  // one plan per block from the start.
  std::vector<ScriptPlan> plans_;
  std::array<std::size_t, kScriptKinds> added_{};
  // Where the overwritten scripts' old contents go, when the caller keeps them.
  ImportChanges* changes_;
  std::array<std::unique_ptr<NameIndex>, kCategoryCount> indexes_;
};

void LineReader::Read(const Form& form) {
  std::size_t k = 1;
  WalkForm(form, slot_.parameters, [&](const Piece& piece) {
    const int p = piece.parameter;
    switch (piece.kind) {
      case PieceKind::Text:
        return true;
      case PieceKind::Number:
        Number(p, k);
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
        // Compared exactly; anything else, a missing token included, is the first word.
        Set(p, std::max(FindExactKeyword(Words(piece.words), line_[k]), 0));
        break;
      case PieceKind::Choice:
        Set(p, line_[k] == Words(piece.words)[1].keyword ? 1 : 0);
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
}

void LineReader::Number(int p, std::size_t k) {
  if (k >= line_.Count()) return;
  const std::optional<std::int32_t> value = ParseScriptNumber(line_[k]);
  if (!value) {
    Warn(warnings_, line_.Number(), Quote(line_[k]) + " is not a number; 0 is used");
  }
  Set(p, Low16(value.value_or(0)));
}

void LineReader::Record(const Piece& piece, std::size_t k) {
  if (piece.sentinel != Sentinel::None && !line_.Quoted(k)) {
    const std::optional<std::int32_t> value = ParseScriptNumber(line_[k]);
    if (value && *value == Low16(*value) && MeetsSentinel(piece.sentinel, Low16(*value))) {
      Set(piece.parameter, *value);
      return;
    }
  }
  Name(piece.parameter, CategoryOf(piece.reference), k);
}

void LineReader::Name(int p, Category category, std::size_t k) {
  const std::string_view name = line_[k];
  const std::optional<NameIndex::Found> entry = run_.BuiltIndex(category).Find(name);
  if (!entry || entry->ambiguous) {
    const std::string noun(InfoOf(category).recordNoun);
    if (!entry) {
      Warn(warnings_, line_.Number(),
           "no " + noun + " named " + Quote(name) + "; the first " + noun + " is used");
      Set(p, 0);
      return;
    }
    Warn(warnings_, line_.Number(),
         "more than one " + noun + " is named " + Quote(name) + " (ambiguous, the first is used)");
  }
  if (entry->position > std::numeric_limits<std::int16_t>::max()) {
    throw ZR3Error(LinePrefix(line_.Number()) + "the " + std::string(InfoOf(category).recordNoun) +
                   " " + Quote(name) + " at position " + std::to_string(entry->position) +
                   " cannot be named by a script");
  }
  Set(p, entry->position);
}

void LineReader::Word(int p, WordTable words, std::size_t k) {
  const VocabularyTable table = Words(words);
  int index = FindKeyword(table, line_[k]);
  if (index < 0) {
    Warn(warnings_, line_.Number(),
         "unknown " + std::string(WordNoun(words)) + " " + Quote(line_[k]) + "; " +
             Quote(table[0].keyword) + " is used");
    index = 0;
  }
  Set(p, index);
}

void LineReader::Operand(int p, std::size_t k) {
  Word(p, WordTable::ValueSources, k);
  OperandBySource(p, k);
}

void LineReader::MapOperand(int p, std::size_t k) {
  Word(p, WordTable::ValueSources, k);
  if (Get(p) == kSourceValue) {
    Name(p + 1, Category::Maps, k + 1);
  } else {
    OperandBySource(p, k);
  }
}

void LineReader::OperandBySource(int p, std::size_t k) {
  switch (Get(p)) {
    case kSourceAttribute:
      Word(p + 1, WordTable::Attributes, k + 1);
      break;
    case kSourceFlag:
      Name(p + 1, Category::Flags, k + 1);
      break;
    default:
      Number(p + 1, k + 1);
      break;
  }
}

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
  if (line.Count() == 0) return inBody;
  const bool end = line[0] == kEndWord;
  if (end && line.Count() < 2) {
    throw ZR3Error(LinePrefix(landmark.number) + "\"end\" without its second word");
  }
  if (inBody) {
    if (!line.IsEndScript()) return true;
    blocks_.back().bodyEnd = landmark.start;
    blocks_.back().ended = true;
    return false;
  }
  const int kind = end ? -1 : HeaderKind(line[0]);
  if (kind < 0) return false;
  if (line.Count() < 2) {
    throw ZR3Error(LinePrefix(landmark.number) + "script name missing");
  }
  std::string_view name = line[1];
  if (!Within(name, landmark.text)) name = unquotedNames_.emplace_back(name);
  blocks_.push_back({landmark.number, landmark.next, text_.size(), false, kind, name});
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
  plan.commandCount = existing.CommandCount();
  try {
    for (std::size_t i = 0; i < ZR3Script::kSlotCount; ++i) {
      plan.conditions[i] = {existing.Condition(i).Code(),
                            existing.Condition(i).WrittenParameters()};
      plan.commands[i] = {existing.Command(i).Code(), existing.Command(i).WrittenParameters()};
    }
  } catch (const ZR3Error& error) {
    throw ZR3Error(LinePrefix(plan.headerLine) + error.what());
  }
}

// Finds the script the header names, or plans to append it.
void ImportRun::Plan(Block& block) {
  const std::string_view name = block.name.substr(0, kHeaderNameWidth);
  Log(WordAt(ScriptHeaders(), block.kind)->readable, name);
  const Category category = ScriptCategoryOfKind(block.kind);
  NameIndex& index = Index(category);
  const std::optional<NameIndex::Found> entry = index.Find(name);
  if (entry && index.PlanAt(entry->position)) {
    repeatedHeader_ = true;
    block.plan = index.PlanAt(entry->position);
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
    index.PlanAt(entry->position) = &plan;
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
  index.PlanAt(static_cast<int>(position)) = &plan;
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
      ReadBody(blocks_[b], *blocks_[b].plan, buffer, warnings[b]);
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

void ImportRun::ReadBody(const Block& block, ScriptPlan& plan, LineBuffer& buffer,
                         Lines& warnings) const {
  SourceLine& line = buffer.line;
  std::size_t conditions = 0;
  std::size_t commands = 0;
  bool commandPhase = false;
  bool nullLine = false;
  LineCursor lines(text_.substr(0, block.bodyEnd), block.bodyStart, block.headerLine);
  std::string_view text;
  while (lines.Next(text)) {
    line.Split(text, lines.Number(), buffer.scratch);
    if (line.Count() == 0) continue;
    const std::string_view keyword = line[0];
    if (!commandPhase && keyword == kCommandsLine) {
      commandPhase = true;
      continue;
    }
    const int code = commandPhase ? FindCommandCode(keyword) : FindConditionCode(keyword);
    if (code < 0) {
      // The exporter's own lines for what cannot be imported are skipped silently.
      nullLine = nullLine || (commandPhase && keyword == kNullWord);
      const bool exporterLine =
          keyword == kInvalidWord || keyword == (commandPhase ? kNullWord : kConditionsLine);
      if (!exporterLine) {
        Warn(warnings, line.Number(),
             std::string("unknown ") + (commandPhase ? "command" : "condition") + " " +
                 Quote(keyword) + "; the line is ignored");
      }
      continue;
    }
    std::size_t& taken = commandPhase ? commands : conditions;
    if (taken == ZR3Script::kSlotCount) {
      Warn(warnings, line.Number(),
           std::string("more than 10 ") + (commandPhase ? "commands" : "conditions") +
               "; the line is ignored");
      continue;
    }
    SlotValue& slot = commandPhase ? plan.commands[taken] : plan.conditions[taken];
    ++taken;
    slot.code = static_cast<std::uint16_t>(code);
    LineReader(*this, line, slot, warnings)
        .Read(commandPhase ? *CommandForm(code) : *ConditionForm(code));
  }
  if (!block.ended) {
    Warn(warnings, block.headerLine,
         "script '" + std::string(block.name) + "' ends without 'end script'");
  }
  // A script always has at least one condition ("always") and one command (code 0).
  if (conditions == 0) plan.conditions[0].code = kAlwaysFire;
  if (commands == 0) {
    // The commands the script had are lost, unless it had none or the text asks for just
    // this command with the exporter's "null" line.
    if (plan.commandCount > 0 && !nullLine) {
      Warn(warnings, block.headerLine,
           "script '" + std::string(block.name) +
               "' has no command line; command 0 is set to code 0 (\"" + std::string(kNullWord) +
               "\") and is the only command");
    }
    plan.commands[0].code = 0;
  }
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
        Fill(script.Condition(s), plan.conditions[s]);
        Fill(script.Command(s), plan.commands[s]);
      }
      script.SetConditionCount(plan.conditionCount);
      script.SetCommandCount(plan.commandCount);
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
  Token token;
  while (reader.Next(token)) tokens.emplace_back(token.text);
  return tokens;
}

std::optional<std::int32_t> ParseScriptNumber(std::string_view token) {
  return ParseDecimal<std::int32_t>(token);
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

void ZR3Importer::AppendReport(Lines& lines) const {
  lines.push_back("IMPORT SCRIPTS");
  lines.push_back("");
  lines.insert(lines.end(), log_.begin(), log_.end());
}

}  // namespace zr3
