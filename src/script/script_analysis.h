#pragma once

// Script text as a language: the problems of a text with their places, what fits at a place
// (completion) and what a name there refers to (hover). It reads the text with the importer's
// own rules (script_reading.h), so that what it reports is what an import would do; the
// script editor, `zr3 lint-scripts` and `zr3 lsp` all ask it.
//
// Places: lines are counted from 1, columns from 0 in characters of the line as the author
// sees it (the line break and a carriage return before it are not part of the line). Texts
// are Windows-1252 bytes, one byte a character.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "script/script_reading.h"

namespace zr3 {

class ZR3Level;

struct ScriptDiagnostic {
  std::size_t line;
  std::size_t column;
  std::size_t length;
  Severity severity;  // an error or a warning
  std::string message;
};

// One script block of the text.
struct ScriptSymbol {
  int kind;  // 0 global, 1 death, 2 object, 3 startup
  std::string name;
  std::size_t line;     // of the header
  std::size_t endLine;  // of "end script", or the last line of the text
  std::size_t nameColumn;
  std::size_t nameLength;
};

struct ScriptAnalysis {
  std::vector<ScriptDiagnostic> diagnostics;  // in the order of their places
  std::vector<ScriptSymbol> scripts;
  bool HasErrors() const;
};

enum class CompletionKind : std::uint8_t { Keyword, Word, Name };

struct ScriptCompletion {
  std::string label;
  std::string insertText;  // a name comes quoted
  CompletionKind kind;
  std::string detail;
};

// What may stand at a place, and the part of the line it replaces (the token there, or
// nothing between two tokens).
struct CompletionList {
  std::size_t column = 0;
  std::size_t length = 0;
  std::vector<ScriptCompletion> items;
};

struct ScriptHover {
  std::size_t column;
  std::size_t length;
  Lines text;
};

// What a token is, for colouring a line on its own.
enum class TokenRole : std::uint8_t { Keyword, Word, Name, Number };

struct TokenSpan {
  std::size_t column;
  std::size_t length;
  TokenRole role;
};

// The tokens of one line as a highlighter colours them, without the lines around it: a first
// word that begins some line of script text is a keyword, a quoted token a name.
std::vector<TokenSpan> ClassifyScriptLine(std::string_view line);

class ScriptAnalyzer {
 public:
  // Without a level, names are neither checked nor offered.
  explicit ScriptAnalyzer(const ZR3Level* level = nullptr) : level_(level) {}

  ScriptAnalysis Analyze(std::string_view text) const;
  CompletionList Complete(std::string_view text, std::size_t line, std::size_t column) const;
  std::optional<ScriptHover> Hover(std::string_view text, std::size_t line,
                                   std::size_t column) const;

 private:
  struct Place;
  Place Locate(std::string_view text, std::size_t line, LineBuffer& buffer) const;

  const ZR3Level* level_;
};

}  // namespace zr3
