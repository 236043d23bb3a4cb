#include "script/scriptforms.h"

namespace zr3 {

Category CategoryOf(ScriptReference reference) {
  static constexpr std::array<Category, kScriptReferenceCount> kLists = {
      Category::Maps,  Category::Items,    Category::Characters,    Category::Graphics,
      Category::Texts, Category::Songs,    Category::Spells,        Category::Objects,
      Category::Tiles, Category::Tiles,    Category::ObjectScripts, Category::Palettes,
      Category::Shops, Category::Monsters, Category::Lists};
  return kLists[static_cast<std::size_t>(reference)];
}

namespace {

using enum ScriptReference;
using W = WordTable;

// The pieces, each with the text before its value in readable text and in script text.
// Readable text mostly joins with one blank, script text always does; a condition's keyword
// is followed by a blank of its own, so the first piece of a condition adds none.

constexpr Piece Fixed(std::string_view readable, std::string_view keyword = {}) {
  return {.kind = PieceKind::Text, .readable = readable, .keyword = keyword};
}
constexpr Piece Number(int p, std::string_view readable = " ", std::string_view keyword = " ") {
  return {.kind = PieceKind::Number,
          .parameter = static_cast<std::uint8_t>(p),
          .readable = readable,
          .keyword = keyword};
}
constexpr Piece Record(int p, ScriptReference reference, std::string_view readable = " ",
                       std::string_view keyword = " ") {
  return {.kind = PieceKind::Record,
          .parameter = static_cast<std::uint8_t>(p),
          .reference = reference,
          .readable = readable,
          .keyword = keyword};
}
constexpr Piece Flag(int p, std::string_view readable = " ", std::string_view keyword = " ") {
  return {.kind = PieceKind::Flag,
          .parameter = static_cast<std::uint8_t>(p),
          .readable = readable,
          .keyword = keyword};
}
constexpr Piece Word(int p, WordTable words, std::string_view readable = " ",
                     std::string_view keyword = " ") {
  return {.kind = PieceKind::Word,
          .parameter = static_cast<std::uint8_t>(p),
          .words = words,
          .readable = readable,
          .keyword = keyword};
}
// Readable words carry their own blanks; in script text the word is framed only when shown.
constexpr Piece OptionalWord(int p, WordTable words, std::string_view keyword,
                             std::string_view keywordAfter) {
  return {.kind = PieceKind::OptionalWord,
          .parameter = static_cast<std::uint8_t>(p),
          .words = words,
          .keyword = keyword,
          .keywordAfter = keywordAfter};
}
// Readable words carry their own blanks.
constexpr Piece Choice(int p, WordTable words, std::string_view keyword = " ") {
  return {.kind = PieceKind::Choice,
          .parameter = static_cast<std::uint8_t>(p),
          .words = words,
          .keyword = keyword};
}
constexpr Piece Operand(int p, std::string_view readable = " ", std::string_view keyword = " ") {
  return {.kind = PieceKind::Operand,
          .parameter = static_cast<std::uint8_t>(p),
          .readable = readable,
          .keyword = keyword};
}
constexpr Piece MapOperand(int p, std::string_view readable, std::string_view keyword = " ") {
  return {.kind = PieceKind::MapOperand,
          .parameter = static_cast<std::uint8_t>(p),
          .readable = readable,
          .keyword = keyword};
}

// The piece's parameter meeting the sentinel leaves out the next skip pieces; readable text
// then shows readableSentinel in place of the piece, when one is given.
constexpr Piece EndsWhen(Piece piece, Sentinel sentinel, std::string_view readableSentinel = {},
                         std::uint8_t skip = Piece::kRest) {
  piece.sentinel = sentinel;
  piece.readableSentinel = readableSentinel;
  piece.skip = skip;
  return piece;
}
// Script text writes -1 for every value meeting the sentinel.
constexpr Piece WritesMinusOne(Piece piece) {
  piece.writesMinusOne = true;
  return piece;
}
constexpr Piece ImportOnly(Piece piece) {
  piece.importOnly = true;
  return piece;
}

constexpr Sentinel kMinusOne = Sentinel::MinusOne;
constexpr Sentinel kNegative = Sentinel::Negative;

// Condition forms. Readable text: a blank, the readable name, a blank, the pieces. Script
// text: the keyword, a blank, the pieces.
namespace condition {
constexpr Piece kFlagValue[] = {Flag(0, "", ""), Word(1, W::Comparisons), Operand(2)};
constexpr Piece kLocation[] = {Choice(0, W::AtOrNotAt, ""), MapOperand(1, ""), Operand(3, ", X = "),
                               Operand(5, " Y = ")};
constexpr Piece kAttribute[] = {Word(0, W::Attributes, "", ""), Word(1, W::Comparisons),
                                Operand(2)};
constexpr Piece kHasItem[] = {Choice(0, W::HasOrMissing, ""), Record(1, Item, "")};
constexpr Piece kCharacterGraphic[] = {Choice(0, W::UsingOrNot, ""), Record(1, CharacterSet, "")};
constexpr Piece kUsingPalette[] = {Choice(0, W::UsingOrNot, ""), Record(1, Palette, "")};
constexpr Piece kInCombat[] = {Choice(0, W::InCombatOrNot, "")};
// Without a unit word the comparison follows the keyword directly.
constexpr Piece kTime[] = {OptionalWord(0, W::TimeUnits, "", " "), Word(1, W::Comparisons, "", ""),
                           Operand(2)};
constexpr Piece kColor[] = {Choice(0, W::ColorOrGreyscale, "")};
// Without a layer word "exists" follows the Y operand directly.
constexpr Piece kTileExists[] = {Operand(0, "X = ", ""), Operand(2, " Y = "),
                                 OptionalWord(4, W::ConditionLayers, " ", " "),
                                 Choice(5, W::ExistsOrMissing, "")};
constexpr Piece kKnowsSpell[] = {Choice(0, W::KnowsOrNot, ""), Record(1, Spell, "")};
constexpr Piece kEquipped[] = {Record(0, Item, "", ""), Choice(1, W::EquippedOrNot)};
}  // namespace condition

// Indexed by code; code 10 has no kind (an empty keyword).
constexpr Form kConditionForms[] = {
    {{"Always fire", "always"}, {}},
    {{"Flag value", "flag"}, condition::kFlagValue},
    {{"Location", "location"}, condition::kLocation},
    {{"Attribute", "attribute"}, condition::kAttribute},
    {{"Item", "item"}, condition::kHasItem},
    {{"Character graphic", "charset"}, condition::kCharacterGraphic},
    {{"Palette", "palette"}, condition::kUsingPalette},
    {{"Combat", "incombat"}, condition::kInCombat},
    {{"Time", "time"}, condition::kTime},
    {{"Color", "color"}, condition::kColor},
    {{"", ""}, {}},
    {{"Tile exists", "tileexists"}, condition::kTileExists},
    {{"Spell", "spell"}, condition::kKnowsSpell},
    {{"Equipped", "equipped"}, condition::kEquipped},
};
static_assert(std::size(kConditionForms) == kLastConditionCode + 1);

// Command forms. Readable text: a blank, the readable name, the pieces. Script text: the
// keyword, the pieces.
namespace command {
constexpr Piece kChangeFlag[] = {Word(0, W::Operations), Flag(1), Operand(2)};
constexpr Piece kWarp[] = {MapOperand(0, " Map="), Operand(2, ", X="), Operand(4, ", Y=")};
constexpr Piece kChangeAttribute[] = {Word(0, W::Attributes), Word(1, W::Operations), Operand(2)};
constexpr Piece kGiveTakeItem[] = {Choice(0, W::GiveOrTake), Record(1, Item, "")};
constexpr Piece kChangeCharacterGraphic[] = {Record(0, CharacterSet)};
constexpr Piece kDisplayGraphic[] = {
    Record(0, Graphic), EndsWhen(Number(1), kMinusOne, " Default position"), Number(2, ",")};
// " at " stays before the default position too, so that two blanks stand there.
constexpr Piece kDisplayText[] = {
    Record(0, Text), Number(1, " in color "),
    Fixed(" at "),   EndsWhen(Number(2), kMinusOne, " Default position", 3),
    Number(3, ","),  Number(4, " to "),
    Number(5, ","),  Choice(6, W::NoWaitOrWait)};
// The exporter writes only the song; a position after it is still read.
constexpr Piece kPlaySong[] = {Record(0, Song), ImportOnly(EndsWhen(Number(1), kMinusOne)),
                               ImportOnly(Number(2))};
constexpr Piece kWait[] = {EndsWhen(Number(0), kMinusOne, " for keypress"), Fixed("ms"),
                           ImportOnly(Number(1))};
constexpr Piece kLearnSpell[] = {Record(0, Spell)};
constexpr Piece kPlaceRemoveObject[] = {Choice(0, W::PlaceOrRemove), Record(1, Object, ""),
                                        Record(2, Map, " on "), Number(3, " at "), Number(4, ",")};
// A negative map stands for all maps, a negative X for the whole map.
constexpr Piece kChangeMapTiles[] = {
    Record(0, FirstTile, " replace "), Record(1, SecondTile, " with "),
    EndsWhen(Record(2, Map, " on "), kNegative, " on all maps"),
    EndsWhen(Number(3, " at "), kNegative, " everywhere"), Number(4, ",")};
constexpr Piece kRunScript[] = {Record(0, Script), Choice(1, W::ProcessOrIgnore), Operand(2, ""),
                                Fixed(" times")};
constexpr Piece kChangePalette[] = {Record(0, Palette)};
// As "Change map tiles", but script text writes every negative map or X as -1.
constexpr Piece kChangeObjectGraphic[] = {
    Record(0, Object, " replace "), Record(1, Graphic, " image with "),
    WritesMinusOne(EndsWhen(Record(2, Map, " on "), kNegative, " on all maps")),
    WritesMinusOne(EndsWhen(Number(3, " at "), kNegative, " everywhere")), Number(4, ",")};
constexpr Piece kDisplayShop[] = {Record(0, Shop)};
// Its readable text has no readable name: the choice words say it all.
constexpr Piece kStartEndCombat[] = {EndsWhen(Choice(0, W::StartOrStop), Sentinel::NotZero),
                                     Record(1, Monster, "")};
// Two blanks before a screen word in script text; none when it is missing.
constexpr Piece kChangeCustomScreen[] = {Fixed(" change graphic for "),
                                         OptionalWord(0, W::CustomScreens, "  ", ""),
                                         Record(1, Graphic, "")};
constexpr Piece kClearScreen[] = {Number(0, " color ")};
constexpr Piece kAdvancedDisplayGraphic[] = {Record(0, Graphic), Operand(1, " at X = "),
                                             Operand(3, ", Y = ")};
constexpr Piece kAdvancedTileChange[] = {Record(0, FirstTile, " change to "),
                                         MapOperand(1, " at map = "), Operand(3, ", X = "),
                                         Operand(5, ", Y = ")};
constexpr Piece kAdvancedPlaceRemoveObject[] = {Choice(0, W::PlaceOrRemove), Record(1, Object, ""),
                                                MapOperand(2, " at map = "), Operand(4, ", X = "),
                                                Operand(6, ", Y = ")};
// Script text has two blanks after the colour, whichever position follows.
constexpr Piece kDisplayList[] = {
    Record(0, List),    Number(1, " in color "),
    Fixed(" at ", " "), EndsWhen(Number(2), kMinusOne, " Default position"),
    Number(3, ","),     Number(4, " to "),
    Number(5, ",")};
constexpr Piece kRemoveSpell[] = {Record(0, Spell)};
constexpr Piece kCustomScreenTap[] = {Flag(0, " X into "), Flag(1, ", Y into ")};
constexpr Piece kWalkPlayer[] = {OptionalWord(0, W::Directions, " ", "")};
constexpr Piece kEquipUnequip[] = {Choice(0, W::EquipOrRemove), Record(1, Item, "")};
constexpr Piece kDeleteTileLayer[] = {MapOperand(0, " Map "), Operand(2, ", X = "),
                                      Operand(4, ", Y = "),
                                      OptionalWord(6, W::CommandLayers, " ", "")};
}  // namespace command

// Indexed by code minus 100.
constexpr Form kCommandForms[] = {
    {{"No action", "nothing"}, {}},
    {{"Change flag value", "changeflag"}, command::kChangeFlag},
    {{"Warp", "warp"}, command::kWarp},
    {{"Change attribute", "changeattribute"}, command::kChangeAttribute},
    {{"Give/take item", "givetake"}, command::kGiveTakeItem},
    {{"Change char graphic", "changecharset"}, command::kChangeCharacterGraphic},
    {{"Display graphic", "showgraphic"}, command::kDisplayGraphic},
    {{"Display text", "showtext"}, command::kDisplayText},
    {{"", "[ex-command]"}, {}},
    {{"Play song", "play"}, command::kPlaySong},
    {{"Wait", "wait"}, command::kWait},
    {{"Learn spell", "learn"}, command::kLearnSpell},
    {{"Place/remove object", "moveobj"}, command::kPlaceRemoveObject},
    {{"Change map tiles", "changetiles"}, command::kChangeMapTiles},
    {{"Run script", "run"}, command::kRunScript},
    {{"End game", "gameover"}, {}},
    {{"Change palette", "changepalette"}, command::kChangePalette},
    {{"Change object graphic", "changeobjpic"}, command::kChangeObjectGraphic},
    {{"Display shop", "shop"}, command::kDisplayShop},
    {{"Start/end combat", "combat"}, command::kStartEndCombat, true},
    {{"Redraw map", "redrawmap"}, {}},
    {{"Change custom screen", "changescreen"}, command::kChangeCustomScreen},
    {{"Clear screen", "clear"}, command::kClearScreen},
    {{"Stop execution of scripts", "stopscripts"}, {}},
    {{"Advanced display graphic", "advshowgraphic"}, command::kAdvancedDisplayGraphic},
    {{"Advanced tile change", "advchangetiles"}, command::kAdvancedTileChange},
    {{"Advanced place/remove object", "advmoveobj"}, command::kAdvancedPlaceRemoveObject},
    {{"Redo global scripts", "redoglobals"}, {}},
    {{"Return to map screen", "returntomap"}, {}},
    {{"Display list", "showlist"}, command::kDisplayList},
    {{"Remove spell", "unlearn"}, command::kRemoveSpell},
    {{"Get custom screen tap", "customtap"}, command::kCustomScreenTap},
    {{"Walk player", "walk"}, command::kWalkPlayer},
    {{"Equip/unequip", "equip"}, command::kEquipUnequip},
    {{"Delete tile layer", "deletelayer"}, command::kDeleteTileLayer},
};
static_assert(std::size(kCommandForms) == kLastCommandCode - kFirstCommandCode + 1);

}  // namespace

const Form* ConditionForm(int code) {
  if (code < 0 || code > kLastConditionCode) return nullptr;
  const Form& form = kConditionForms[code];
  return form.kind.keyword.empty() ? nullptr : &form;
}

const Form* CommandForm(int code) {
  if (code < kFirstCommandCode || code > kLastCommandCode) return nullptr;
  return &kCommandForms[code - kFirstCommandCode];
}

bool ConditionsName(Category list) {
  static const std::array<bool, kCategoryCount> kNamed = [] {
    std::array<bool, kCategoryCount> named{};
    for (const Form& form : kConditionForms) {
      for (const Piece& piece : form.pieces) {
        switch (piece.kind) {
          case PieceKind::Record:
            named[IndexOf(CategoryOf(piece.reference))] = true;
            break;
          case PieceKind::MapOperand:
            named[IndexOf(Category::Maps)] = true;
            [[fallthrough]];
          case PieceKind::Flag:
          case PieceKind::Operand:
            named[IndexOf(Category::Flags)] = true;
            break;
          default:
            break;
        }
      }
    }
    return named;
  }();
  return kNamed[IndexOf(list)];
}

}  // namespace zr3
