#pragma once

// How script text is read, line by line: the tokens of a line with their places, the lines
// that open and close a script's body, and the reading of a body's condition and command
// lines along their line forms. The importer reads its scripts through these, and so does the
// script analysis behind the editor, lint-scripts and the language server: every rule of the
// text lives here once, and each reader decides which of its findings it shows.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "level/category.h"
#include "level/name_index.h"
#include "level/zr3level.h"
#include "script/scriptforms.h"
#include "script/vocabulary.h"
#include "script/zr3script.h"
#include "script/zr3scriptentry.h"

namespace zr3 {

// One token of a line: its text (quotes removed, doubled quotes made single) and where it
// stands in the line, opening and closing quotes included. Places count the bytes of the line
// without its line break; a byte is one character of script text.
struct ScriptToken {
  std::string_view text;
  std::uint32_t start = 0;
  std::uint32_t end = 0;
  bool quoted = false;
  // A quoted token whose closing quote the line lacks runs to the end of the line.
  bool closed = true;
};

// Bytes 0 to 32 separate tokens.
inline bool IsScriptSeparator(char c) {
  return static_cast<unsigned char>(c) <= 32;
}
// What ends a token that is not quoted: a separator or a comma.
inline bool EndsPlainToken(char c) {
  return IsScriptSeparator(c) || c == ',';
}
// Where the plain token that starts at from ends: at its first separator or comma, or at the
// end of the line.
inline std::size_t PlainTokenEnd(std::string_view line, std::size_t from) {
  while (from < line.size() && !EndsPlainToken(line[from])) ++from;
  return from;
}

// Reads the tokens of one line in order. A token is a view into the line, or into scratch
// for a quoted token whose doubled quotes had to become single ones; scratch must have room
// for the whole line, so that no view into it moves.
class TokenReader {
 public:
  TokenReader(std::string_view line, std::string& scratch) : line_(line), scratch_(scratch) {
    SkipSeparators();
  }
  bool Next(ScriptToken& token);

 private:
  // Scans in a local: the line's bytes could alias the member, which would then be stored
  // at every byte.
  void SkipSeparators() {
    std::size_t i = i_;
    while (i < line_.size() && IsScriptSeparator(line_[i])) ++i;
    i_ = i;
  }
  std::string_view Plain();
  std::string_view Quoted(bool& closed);

  std::string_view line_;
  std::string& scratch_;
  std::size_t i_ = 0;
};

// No line form reads beyond its ninth token, so the importer never splits the rest of a
// line; the analysis reads one more to see that a line gives too many.
inline constexpr std::size_t kMaxTokens = 10;
inline constexpr std::size_t kMaxCheckedTokens = kMaxTokens + 1;

// The first tokens of one line; a token the line does not give reads as empty.
class SourceLine {
 public:
  // Splits at most max tokens of the line, which is line number (counted from 1). The
  // tokens stay valid until scratch is used again.
  void Split(std::string_view line, std::size_t number, std::string& scratch,
             std::size_t max = kMaxTokens);

  std::size_t Number() const { return number_; }
  std::size_t Count() const { return count_; }
  std::string_view operator[](std::size_t k) const {
    return k < count_ ? tokens_[k].text : std::string_view();
  }
  bool Quoted(std::size_t k) const { return k < count_ && tokens_[k].quoted; }
  const ScriptToken& Token(std::size_t k) const { return tokens_[k]; }
  // The line without its line break.
  std::string_view Text() const { return text_; }
  bool IsEndScript() const {
    return count_ >= 2 && tokens_[0].text == kEndWord && tokens_[1].text == kScriptWord;
  }

 private:
  std::array<ScriptToken, kMaxCheckedTokens> tokens_;
  std::size_t count_ = 0;
  std::size_t number_ = 0;
  std::string_view text_;
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

// What splitting a line needs for itself; one for each thread that reads lines.
struct LineBuffer {
  std::string scratch;
  SourceLine line;
};

// A word or name as messages quote it: "Gold".
std::string Quote(std::string_view text);
// True when the view lies inside the text (a token not put together in scratch).
bool Within(std::string_view view, std::string_view text);

// The script kind a header word opens (0 global, 1 death, 2 object, 3 startup), or -1.
int HeaderKind(std::string_view token);

// What a line does to the script bodies: it may open one (a header), close one ("end script")
// or break the rule that a header names its script and "end" has a second word.
enum class LineStructure : std::uint8_t {
  None,
  Opens,
  Closes,
  HeaderWithoutName,
  EndWithoutWord,
};
// The structure of a line with at least its first two tokens split, inside a body or not.
LineStructure StructureOf(const SourceLine& line, bool inBody);

// How bad a finding is. A fatal one stops an import.
enum class Severity : std::uint8_t { Error, Warning, Fatal };

// Who shows a finding: the import report keeps its own wording, the analysis gives more and
// places it; most findings are shown by both with the same text.
enum class Audience : std::uint8_t { Everyone, ImportReport, Analysis };

// One finding of the reading, with its place: line counted from 1, column and length in
// characters of the line, counted from 0.
struct ScriptFinding {
  Audience audience;
  Severity severity;
  std::size_t line;
  std::size_t column;
  std::size_t length;
  std::string message;
};

class FindingSink {
 public:
  virtual ~FindingSink() = default;
  virtual void Report(ScriptFinding finding) = 0;
};

// The first record of a list with a name, and whether others share it.
// A record found by name: its position, and whether others share the name.
using NameMatch = NameIndex::Found;

// Finds records by name in the lists a line names, the scripts the text adds included.
class NameLookup {
 public:
  virtual ~NameLookup() = default;
  virtual std::optional<NameMatch> Find(Category list, std::string_view name) const = 0;
  // A name of the list near enough to the one no record has to be what was meant; empty
  // when there is none or the lookup does not say.
  virtual std::string_view Nearest(Category, std::string_view) const { return {}; }
};

// What one slot receives: its code and nine parameters.
struct SlotValue {
  std::uint16_t code = 0;
  ZR3ScriptEntry::Parameters parameters{};
};

// The slots and counts a body gives one script. A slot that a line does not fully set keeps
// what it held.
struct BodySlots {
  std::array<SlotValue, ZR3Script::kSlotCount> conditions{};
  std::array<SlotValue, ZR3Script::kSlotCount> commands{};
  std::uint8_t conditionCount = 0;
  std::uint8_t commandCount = 0;
};

// One script block of the text: its header and its body, which runs up to its "end script"
// line or to the end of the text.
struct ScriptBlock {
  std::size_t headerLine;
  std::size_t bodyStart;
  std::size_t bodyEnd;
  bool ended;
  int kind;
  std::string_view name;  // as the header gives it
  // Where the header's first token stands.
  std::uint32_t headerColumn = 0;
  std::uint32_t headerLength = 0;
};

// What a token of a line is read as, for completion and hover.
struct Expectation {
  enum class Kind : std::uint8_t { Nothing, Number, Word, ExactWord, Name };
  Kind kind = Kind::Nothing;
  WordTable words = WordTable::Comparisons;  // of a word
  Category list = Category::Maps;            // of a name
};
using LineExpectations = std::array<Expectation, kMaxCheckedTokens>;

// Reads the body of a block into slots, reporting what it finds. Names are looked up only
// when a lookup is given.
void ReadScriptBody(std::string_view text, const ScriptBlock& block, const NameLookup* names,
                    BodySlots& slots, FindingSink& findings, LineBuffer& buffer);

// Reads one condition (commandPhase false) or command line whose first token has a code:
// the slot gets its parameters, findings what is wrong, expectations (when given) what each
// token is read as.
void ReadEntryLine(const SourceLine& line, bool commandPhase, const NameLookup* names,
                   SlotValue& slot, FindingSink& findings, LineExpectations* expectations);

// The candidate nearest to the word (ASCII case ignored) when it is near enough to be a slip
// of the fingers; empty otherwise.
std::string_view NearestWord(std::string_view word, std::span<const std::string_view> candidates);

// The name of a script text word table's words for messages: a comparison (">=", "<=", ...).
std::string DescribeWords(WordTable words);

}  // namespace zr3
