#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "level/category.h"
#include "script/vocabulary.h"

namespace zr3 {

// The kinds of record a parameter of a condition or command can name (flags aside, which
// fill the three flag slots).
enum class ScriptReference : unsigned char {
  Map,
  Item,
  CharacterSet,
  Graphic,
  Text,
  Song,
  Spell,
  Object,
  FirstTile,
  SecondTile,
  Script,
  Palette,
  Shop,
  Monster,
  List,
};
inline constexpr std::size_t kScriptReferenceCount = 15;

// The level list a reference resolves into; scripts are always object scripts.
Category CategoryOf(ScriptReference reference);

// What one piece of a line form shows, writes and reads. Every piece but a text works on one
// parameter (operands on it and the next); the importer reads one token for each of them,
// two for an operand.
enum class PieceKind : std::uint8_t {
  Text,          // a fixed text, shown or written only
  Number,        // the parameter in decimal
  Record,        // a record named by its list position
  Flag,          // a flag named by its table position; takes the next flag slot
  Word,          // a word of a vocabulary table; "(n)" outside it
  OptionalWord,  // a word of a vocabulary table; nothing outside it
  Choice,        // a two-word table: 0 gives the first word, any other value the second
  Operand,       // a value source and its operand
  MapOperand,    // the same, the operand of a value source naming a map
};

// A value of a piece's parameter that ends the line early or stands for something other
// than the parameter's usual meaning ("default position", "all maps", "stop combat").
enum class Sentinel : std::uint8_t {
  None,
  MinusOne,
  Negative,
  NotZero,
};

struct Piece {
  // Everything after a piece whose parameter meets its sentinel is left out.
  static constexpr std::uint8_t kRest = 0xFF;

  // What linking reads comes first, so that walking a form for its references touches one
  // cache line a piece.
  PieceKind kind = PieceKind::Text;
  std::uint8_t parameter = 0;
  WordTable words = WordTable::Comparisons;          // of a word, optional word or choice
  ScriptReference reference = ScriptReference::Map;  // of a record
  // When the parameter meets the sentinel, the next skip pieces are left out; readable text
  // shows readableSentinel (when there is one) instead of the text before and the value, and
  // script text writes a record's parameter as a number, or -1 when writesMinusOne is set.
  Sentinel sentinel = Sentinel::None;
  std::uint8_t skip = 0;
  bool writesMinusOne = false;
  // Read by the importer, never shown or written: values the line form accepts beyond the
  // exported ones.
  bool importOnly = false;
  // The text before the value in readable text and in script text; a text piece's whole
  // text. A missing record keeps the text before it.
  std::string_view readable{};
  std::string_view keyword{};
  // Script text after an optional word that is shown.
  std::string_view keywordAfter{};
  std::string_view readableSentinel{};
};

// One condition or command kind: its readable name and keyword, and its line form.
struct Form {
  VocabularyWord kind;
  std::span<const Piece> pieces;
  // The readable text is the pieces' alone, without the blank and the readable name.
  bool pieceTextOnly = false;
};

// The form of a condition code, or nullptr for a code without a kind (10, above 13).
const Form* ConditionForm(int code);
// The form of a command code, or nullptr outside 100 to 134.
const Form* CommandForm(int code);
// True when some condition form names a record of the list (flags included).
bool ConditionsName(Category list);

inline bool MeetsSentinel(Sentinel sentinel, std::int16_t value) {
  switch (sentinel) {
    case Sentinel::MinusOne:
      return value == -1;
    case Sentinel::Negative:
      return value < 0;
    case Sentinel::NotZero:
      return value != 0;
    case Sentinel::None:
      break;
  }
  return false;
}

// Calls visit with each piece of the form in order, passing over the pieces that a met
// sentinel leaves out. The sentinel is tested after the visit, so a visit that sets the
// parameter (the importer) decides what follows. visit answers false to stop.
template <class Visit>
void WalkForm(const Form& form, const std::array<std::int16_t, 9>& parameters, Visit&& visit) {
  const std::span<const Piece> pieces = form.pieces;
  for (std::size_t i = 0; i < pieces.size(); ++i) {
    const Piece& piece = pieces[i];
    if (!visit(piece)) return;
    if (MeetsSentinel(piece.sentinel, parameters[piece.parameter])) {
      if (piece.skip == Piece::kRest) return;
      i += piece.skip;
    }
  }
}

}  // namespace zr3
