#include "script/vocabulary.h"

#include <array>

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

// Indexed by code; code 10 has no kind.
constexpr int kMissingConditionCode = 10;
constexpr std::array<VocabularyWord, kLastConditionCode + 1> kConditionKinds = {{
    {"Always fire", "always"},
    {"Flag value", "flag"},
    {"Location", "location"},
    {"Attribute", "attribute"},
    {"Item", "item"},
    {"Character graphic", "charset"},
    {"Palette", "palette"},
    {"Combat", "incombat"},
    {"Time", "time"},
    {"Color", "color"},
    {"", ""},
    {"Tile exists", "tileexists"},
    {"Spell", "spell"},
    {"Equipped", "equipped"},
}};

// Indexed by code minus 100.
constexpr std::array<VocabularyWord, kLastCommandCode - kFirstCommandCode + 1> kCommandKinds = {{
    {"No action", "nothing"},
    {"Change flag value", "changeflag"},
    {"Warp", "warp"},
    {"Change attribute", "changeattribute"},
    {"Give/take item", "givetake"},
    {"Change char graphic", "changecharset"},
    {"Display graphic", "showgraphic"},
    {"Display text", "showtext"},
    {"", "[ex-command]"},
    {"Play song", "play"},
    {"Wait", "wait"},
    {"Learn spell", "learn"},
    {"Place/remove object", "moveobj"},
    {"Change map tiles", "changetiles"},
    {"Run script", "run"},
    {"End game", "gameover"},
    {"Change palette", "changepalette"},
    {"Change object graphic", "changeobjpic"},
    {"Display shop", "shop"},
    {"Start/end combat", "combat"},
    {"Redraw map", "redrawmap"},
    {"Change custom screen", "changescreen"},
    {"Clear screen", "clear"},
    {"Stop execution of scripts", "stopscripts"},
    {"Advanced display graphic", "advshowgraphic"},
    {"Advanced tile change", "advchangetiles"},
    {"Advanced place/remove object", "advmoveobj"},
    {"Redo global scripts", "redoglobals"},
    {"Return to map screen", "returntomap"},
    {"Display list", "showlist"},
    {"Remove spell", "unlearn"},
    {"Get custom screen tap", "customtap"},
    {"Walk player", "walk"},
    {"Equip/unequip", "equip"},
    {"Delete tile layer", "deletelayer"},
}};

}  // namespace

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
VocabularyTable TimeUnits() {
  return kTimeUnits;
}
VocabularyTable ConditionLayers() {
  return kConditionLayers;
}
VocabularyTable CommandLayers() {
  return kCommandLayers;
}
VocabularyTable Directions() {
  return kDirections;
}
VocabularyTable CustomScreens() {
  return kCustomScreens;
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
  if (code == kMissingConditionCode) return nullptr;
  return WordAt(kConditionKinds, code);
}

const VocabularyWord* CommandKind(int code) {
  return WordAt(kCommandKinds, code - kFirstCommandCode);
}

int FindConditionCode(std::string_view keyword) {
  if (keyword.empty()) return -1;
  const int code = FindKeyword(kConditionKinds, keyword);
  return code == kMissingConditionCode ? -1 : code;
}

int FindCommandCode(std::string_view keyword) {
  const int index = FindKeyword(kCommandKinds, keyword);
  return index < 0 ? -1 : index + kFirstCommandCode;
}

}  // namespace zr3
