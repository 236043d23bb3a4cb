#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "level/text.h"

namespace zr3 {

// One word of the script vocabulary: how the details pane shows it and how script text
// writes it. Readable texts, script text and the importer all read these same tables.
struct VocabularyWord {
  std::string_view readable;
  std::string_view keyword;
};

using VocabularyTable = std::span<const VocabularyWord>;

// Comparison operators, indexed by the parameter that holds them.
VocabularyTable Comparisons();
// How the operand that follows is read.
VocabularyTable ValueSources();
// The 27 attributes of the player, the object and the monster.
VocabularyTable Attributes();
// Arithmetic of the "change" commands.
VocabularyTable Operations();

// Value sources by index.
enum ValueSource : int {
  kSourceValue = 0,
  kSourceAttribute = 1,
  kSourceRandom = 2,
  kSourceFlag = 3,
};

// Every word table of the vocabulary, for the line forms that name them.
enum class WordTable : std::uint8_t {
  Comparisons,
  ValueSources,
  Attributes,
  Operations,
  // Fixed words of single line forms, indexed by their parameter; a form shows nothing for
  // an index outside them. The readable column holds the word as the details pane joins it,
  // blanks included where the line form puts them.
  TimeUnits,        // condition "Time": "Minute " / "minute"
  ConditionLayers,  // condition "Tile exists": " Bottom layer " / "bottom"
  CommandLayers,    // "Delete tile layer": " bottom layer" / "bottom"
  Directions,       // "Walk player": " up" / "up"
  CustomScreens,    // "Change custom screen": " Background to " / "background"
  // Two-way choices: word 0 for a parameter of 0, word 1 for any other value. The importer
  // tests the keyword of word 1 alone and takes every other token for word 0.
  AtOrNotAt,         // "Location": "At Map " / "at", "Not at Map " / "not"
  HasOrMissing,      // "Item": "Has " / "has", "Doesn't have " / "missing"
  UsingOrNot,        // "Character graphic", "Palette": "Using " / "is", "Not using " / "not"
  InCombatOrNot,     // "Combat": "In combat" / "true", "Not in combat" / "false"
  ColorOrGreyscale,  // "Color": "Color" / "true", "Greyscale" / "false"
  ExistsOrMissing,   // "Tile exists": "exists", "doesn't exist" / "missing"
  KnowsOrNot,        // "Spell": "Knows " / "known", "Doesn't know " / "unknown"
  EquippedOrNot,     // "Equipped": " equipped", " not equipped" / "unequipped"
  GiveOrTake,        // "Give/take item": " Give " / "give", " Take " / "take"
  PlaceOrRemove,     // the object commands: " place " / "place", " remove " / "remove"
  ProcessOrIgnore,   // "Run script": " process conditions " / "process", ... / "ignore"
  NoWaitOrWait,      // "Display text": " no wait" / "nowait", " wait for key" / "wait"
  StartOrStop,       // "Start/end combat": " start combat with " / "start", " stop combat" / "stop"
  EquipOrRemove,     // "Equip/unequip": " equip " / "add", " unequip " / "remove"
};

VocabularyTable Words(WordTable table);
// How messages name one word of the table: "comparison", "value source", ...
std::string_view WordNoun(WordTable table);

// Script kinds by kind number (0 global, 1 death, 2 object, 3 startup): the import log's
// label and the header word of script text, "Global script: " / "globalscript".
VocabularyTable ScriptHeaders();

// The fixed lines and words of a script block, and the script text of entries that cannot
// be shown: a command below 100 is "null", a code without a kind "Invalid (n) ". "script"
// alone also heads an object script.
inline constexpr std::string_view kConditionsLine = "conditions:";
inline constexpr std::string_view kCommandsLine = "commands:";
inline constexpr std::string_view kEndWord = "end";
inline constexpr std::string_view kScriptWord = "script";
inline constexpr std::string_view kNullWord = "null";
inline constexpr std::string_view kInvalidWord = "Invalid";

// The word at index, or nullptr when index lies outside the table.
const VocabularyWord* WordAt(VocabularyTable table, int index);
// The readable word at index; "(index)" outside the table.
std::string ReadableWord(VocabularyTable table, int index);
// The keyword at index; "(index)" outside the table.
std::string KeywordWord(VocabularyTable table, int index);
// Appends the readable word or the keyword at index to out; "(index)" outside the table.
void AppendWord(std::string& out, VocabularyTable table, int index, bool keyword);
// The index of the keyword, compared without regard to ASCII case; -1 when none matches.
int FindKeyword(VocabularyTable table, std::string_view keyword);
// The index of the keyword compared exactly, case included; -1 when none matches.
int FindExactKeyword(VocabularyTable table, std::string_view keyword);

// Condition kinds: codes 0 to 13, with no kind for code 10.
inline constexpr std::uint16_t kLastConditionCode = 13;
// Command kinds: codes 100 to 134, the code being the table index plus 100.
inline constexpr std::uint16_t kFirstCommandCode = 100;
inline constexpr std::uint16_t kLastCommandCode = 134;

// Condition codes.
enum ConditionCode : int {
  kAlwaysFire = 0,
  kFlagValue = 1,
  kLocation = 2,
  kAttribute = 3,
  kHasItem = 4,
  kCharacterGraphic = 5,
  kUsingPalette = 6,
  kInCombat = 7,
  kTime = 8,
  kColor = 9,
  kTileExists = 11,
  kKnowsSpell = 12,
  kEquipped = 13,
};

// Command codes.
enum CommandCode : int {
  kNoAction = 100,
  kChangeFlag = 101,
  kWarp = 102,
  kChangeAttribute = 103,
  kGiveTakeItem = 104,
  kChangeCharacterGraphic = 105,
  kDisplayGraphic = 106,
  kDisplayText = 107,
  kExCommand = 108,
  kPlaySong = 109,
  kWait = 110,
  kLearnSpell = 111,
  kPlaceRemoveObject = 112,
  kChangeMapTiles = 113,
  kRunScript = 114,
  kEndGame = 115,
  kChangePalette = 116,
  kChangeObjectGraphic = 117,
  kDisplayShop = 118,
  kStartEndCombat = 119,
  kRedrawMap = 120,
  kChangeCustomScreen = 121,
  kClearScreen = 122,
  kStopScripts = 123,
  kAdvancedDisplayGraphic = 124,
  kAdvancedTileChange = 125,
  kAdvancedPlaceRemoveObject = 126,
  kRedoGlobalScripts = 127,
  kReturnToMap = 128,
  kDisplayList = 129,
  kRemoveSpell = 130,
  kCustomScreenTap = 131,
  kWalkPlayer = 132,
  kEquipUnequip = 133,
  kDeleteTileLayer = 134,
};

// The condition kind of the code, or nullptr for a code without a kind.
const VocabularyWord* ConditionKind(int code);
// The command kind of the code, or nullptr outside 100 to 134.
const VocabularyWord* CommandKind(int code);
// The code whose keyword matches (ASCII case-insensitive), or -1. An empty keyword never
// matches, nor does the missing condition code 10.
int FindConditionCode(std::string_view keyword);
int FindCommandCode(std::string_view keyword);

}  // namespace zr3
