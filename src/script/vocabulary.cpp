#include "script/vocabulary.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "script/scriptforms.h"

namespace zr3 {

namespace {

constexpr std::array<VocabularyWord, 6> kComparisons = {{
    {">=", ">="},
    {"<=", "<="},
    {"=", "=="},
    {"<>", "<>"},
    {">", ">"},
    {"<", "<"},
}};

constexpr std::array<VocabularyWord, 4> kValueSources = {{
    {"Value", "val"},
    {"Attribute", "att"},
    {"Random", "rand"},
    {"Flag", "flag"},
}};

constexpr std::array<VocabularyWord, 27> kAttributes = {{
    {"STR", "str"},
    {"AGL", "agl"},
    {"INT", "int"},
    {"HP", "hp"},
    {"SP", "sp"},
    {"Level", "level"},
    {"Max HP", "maxhp"},
    {"Max SP", "maxsp"},
    {"Money", "money"},
    {"Exp", "exp"},
    {"Map", "map"},
    {"X Loc", "x"},
    {"Y Loc", "y"},
    {"Direction", "dir"},
    {"Object's Map", "obj.map"},
    {"Object's X Loc", "obj.x"},
    {"Object's Y Loc", "obj.y"},
    {"Monster's STR", "monster.str"},
    {"Monster's AGL", "monster.agl"},
    {"Monster's INT", "monster.int"},
    {"Monster's HP", "monster.hp"},
    {"Monster's SP", "monster.sp"},
    {"Monster's Level", "monster.level"},
    {"Monster's Max HP", "monster.maxhp"},
    {"Monster's Max SP", "monster.maxsp"},
    {"Monster's Money", "monster.money"},
    {"Monster's Exp", "monster.exp"},
}};

constexpr std::array<VocabularyWord, 6> kOperations = {{
    {"Add", "inc"},
    {"Subtract", "dec"},
    {"Set", "set"},
    {"Multiply", "mult"},
    {"Divide", "div"},
    {"Modulus", "mod"},
}};

constexpr std::array<VocabularyWord, 5> kTimeUnits = {{
    {"Minute ", "minute"},
    {"Hour ", "hour"},
    {"Day ", "day"},
    {"Month ", "month"},
    {"Year ", "year"},
}};

constexpr std::array<VocabularyWord, 3> kConditionLayers = {{
    {" Bottom layer ", "bottom"},
    {" Middle layer ", "middle"},
    {" Top layer ", "top"},
}};

constexpr std::array<VocabularyWord, 3> kCommandLayers = {{
    {" bottom layer", "bottom"},
    {" middle layer", "middle"},
    {" top layer", "top"},
}};

constexpr std::array<VocabularyWord, 4> kDirections = {{
    {" up", "up"},
    {" down", "down"},
    {" left", "left"},
    {" right", "right"},
}};

constexpr std::array<VocabularyWord, 3> kCustomScreens = {{
    {" Background to ", "background"},
    {" Inventory to ", "inventory"},
    {" Combat to ", "combat"},
}};

constexpr std::array<VocabularyWord, 4> kScriptHeaders = {{
    {"Global script: ", "globalscript"},
    {"Death script: ", "deathscript"},
    {"Object script: ", "objectscript"},
    {"Startup script: ", "startscript"},
}};

constexpr std::array<VocabularyWord, 2> kAtOrNotAt = {{{"At Map ", "at"}, {"Not at Map ", "not"}}};
constexpr std::array<VocabularyWord, 2> kHasOrMissing = {
    {{"Has ", "has"}, {"Doesn't have ", "missing"}}};
constexpr std::array<VocabularyWord, 2> kUsingOrNot = {{{"Using ", "is"}, {"Not using ", "not"}}};
constexpr std::array<VocabularyWord, 2> kInCombatOrNot = {
    {{"In combat", "true"}, {"Not in combat", "false"}}};
constexpr std::array<VocabularyWord, 2> kColorOrGreyscale = {
    {{"Color", "true"}, {"Greyscale", "false"}}};
constexpr std::array<VocabularyWord, 2> kExistsOrMissing = {
    {{"exists", "exists"}, {"doesn't exist", "missing"}}};
constexpr std::array<VocabularyWord, 2> kKnowsOrNot = {
    {{"Knows ", "known"}, {"Doesn't know ", "unknown"}}};
constexpr std::array<VocabularyWord, 2> kEquippedOrNot = {
    {{" equipped", "equipped"}, {" not equipped", "unequipped"}}};
constexpr std::array<VocabularyWord, 2> kGiveOrTake = {{{" Give ", "give"}, {" Take ", "take"}}};
constexpr std::array<VocabularyWord, 2> kPlaceOrRemove = {
    {{" place ", "place"}, {" remove ", "remove"}}};
constexpr std::array<VocabularyWord, 2> kProcessOrIgnore = {
    {{" process conditions ", "process"}, {" ignore conditions ", "ignore"}}};
constexpr std::array<VocabularyWord, 2> kNoWaitOrWait = {
    {{" no wait", "nowait"}, {" wait for key", "wait"}}};
constexpr std::array<VocabularyWord, 2> kStartOrStop = {
    {{" start combat with ", "start"}, {" stop combat", "stop"}}};
constexpr std::array<VocabularyWord, 2> kEquipOrRemove = {
    {{" equip ", "add"}, {" unequip ", "remove"}}};

struct TableEntry {
  VocabularyTable words;
  // Only tables whose unknown words the importer reports have a noun.
  std::string_view noun;
};

// Indexed by WordTable.
constexpr TableEntry kTables[] = {
    {kComparisons, "comparison"},
    {kValueSources, "value source"},
    {kAttributes, "attribute"},
    {kOperations, "operation"},
    {kTimeUnits, {}},
    {kConditionLayers, {}},
    {kCommandLayers, {}},
    {kDirections, {}},
    {kCustomScreens, {}},
    {kAtOrNotAt, {}},
    {kHasOrMissing, {}},
    {kUsingOrNot, {}},
    {kInCombatOrNot, {}},
    {kColorOrGreyscale, {}},
    {kExistsOrMissing, {}},
    {kKnowsOrNot, {}},
    {kEquippedOrNot, {}},
    {kGiveOrTake, {}},
    {kPlaceOrRemove, {}},
    {kProcessOrIgnore, {}},
    {kNoWaitOrWait, {}},
    {kStartOrStop, {}},
    {kEquipOrRemove, {}},
};
static_assert(std::size(kTables) == static_cast<std::size_t>(WordTable::EquipOrRemove) + 1);

}  // namespace

VocabularyTable Words(WordTable table) {
  return kTables[static_cast<std::size_t>(table)].words;
}
std::string_view WordNoun(WordTable table) {
  return kTables[static_cast<std::size_t>(table)].noun;
}
VocabularyTable Comparisons() {
  return kComparisons;
}
VocabularyTable ValueSources() {
  return kValueSources;
}
VocabularyTable Attributes() {
  return kAttributes;
}
VocabularyTable Operations() {
  return kOperations;
}
VocabularyTable ScriptHeaders() {
  return kScriptHeaders;
}

const VocabularyWord* WordAt(VocabularyTable table, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= table.size()) return nullptr;
  return &table[static_cast<std::size_t>(index)];
}

void AppendWord(std::string& out, VocabularyTable table, int index, bool keyword) {
  if (const VocabularyWord* word = WordAt(table, index)) {
    out += keyword ? word->keyword : word->readable;
    return;
  }
  out += '(';
  out += std::to_string(index);
  out += ')';
}

std::string ReadableWord(VocabularyTable table, int index) {
  std::string word;
  AppendWord(word, table, index, false);
  return word;
}

std::string KeywordWord(VocabularyTable table, int index) {
  std::string word;
  AppendWord(word, table, index, true);
  return word;
}

int FindKeyword(VocabularyTable table, std::string_view keyword) {
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (EqualsIgnoringAsciiCase(table[i].keyword, keyword)) return static_cast<int>(i);
  }
  return -1;
}

int FindExactKeyword(VocabularyTable table, std::string_view keyword) {
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (table[i].keyword == keyword) return static_cast<int>(i);
  }
  return -1;
}

const VocabularyWord* ConditionKind(int code) {
  const Form* form = ConditionForm(code);
  return form ? &form->kind : nullptr;
}

const VocabularyWord* CommandKind(int code) {
  const Form* form = CommandForm(code);
  return form ? &form->kind : nullptr;
}

namespace {

// The codes of one kind of entry by the length of their keyword, so that finding a keyword
// compares it with a few keywords only: every line of script text is looked up.
class KeywordIndex {
 public:
  KeywordIndex(const Form* (*formOf)(int), int first, int last) {
    for (int code = first; code <= last; ++code) {
      if (const Form* form = formOf(code)) {
        byLength_.at(form->kind.keyword.size()).push_back({Folded(form->kind.keyword), code});
      }
    }
  }
  // The keyword is folded once into a block of zeros, then compared with the folded keywords
  // of its length two words at a time, with no call for each comparison.
  int Find(std::string_view keyword) const {
    if (keyword.empty() || keyword.size() >= byLength_.size()) return -1;
    const Key key = Folded(keyword);
    for (const Candidate& candidate : byLength_[keyword.size()]) {
      if (candidate.key[0] == key[0] && candidate.key[1] == key[1]) return candidate.code;
    }
    return -1;
  }

 private:
  static constexpr std::size_t kLongest = 16;
  using Key = std::array<std::uint64_t, 2>;  // kLongest bytes
  struct Candidate {
    Key key;
    int code;
  };
  // Shorter than kLongest: the caller checks.
  static Key Folded(std::string_view word) {
    std::array<char, kLongest> bytes{};
    for (std::size_t i = 0; i < word.size(); ++i) bytes[i] = FoldAsciiCase(word[i]);
    Key key;
    std::memcpy(key.data(), bytes.data(), kLongest);
    return key;
  }

  std::array<std::vector<Candidate>, kLongest> byLength_;
};

}  // namespace

int FindConditionCode(std::string_view keyword) {
  static const KeywordIndex index(ConditionForm, 0, kLastConditionCode);
  return index.Find(keyword);
}

int FindCommandCode(std::string_view keyword) {
  static const KeywordIndex index(CommandForm, kFirstCommandCode, kLastCommandCode);
  return index.Find(keyword);
}

}  // namespace zr3
