#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "level/category.h"
#include "level/text.h"
#include "script/zr3script.h"

namespace zr3 {

class ZR3Level;

// What an import changed, for an editor that undoes it: the scripts overwritten in place, each
// with its list, its index and a copy of its contents before the import, and how many scripts
// were appended to the end of each script list (by kind number).
struct ImportChanges {
  struct Overwritten {
    Category list;
    std::size_t index;
    std::unique_ptr<ZR3Script> before;
  };
  std::vector<Overwritten> overwritten;
  std::array<std::size_t, 4> appended{};
};

// Reads script text into a level: every script the text names is overwritten in place when
// its kind's list holds a script of that name, otherwise appended to that list. Two passes,
// so that a command may name a script defined further down. One importer serves one level.
//
// An import either completes (the scripts written are linked, the lists renumbered, the
// level marked as changed) or leaves the level untouched: the whole text is checked and
// resolved before the first change.
class ZR3Importer {
 public:
  explicit ZR3Importer(ZR3Level& level) : level_(level) {}

  // Imports the script text file. Throws ZR3Error "Cannot open file %s" when it cannot be
  // read, or with the line of the first fault of a malformed file; the log then says so.
  void Import(const std::string& fileName);
  // The same for script text already in memory.
  void ImportText(std::string_view text);

  // Stops an import before it starts: the log gives the reason as a failed import's does,
  // and ZR3Error is thrown with it.
  [[noreturn]] void Refuse(const std::string& reason);

  // "IMPORT SCRIPTS", an empty line, then the log of the last import.
  void AppendReport(Lines& lines) const;
  const Lines& Log() const { return log_; }
  // The file of the last import; empty for text imported from memory.
  const std::string& FileName() const { return fileName_; }

  // Asks the next imports to keep what they change (copies of the overwritten scripts, which
  // a command-line import has no use for).
  void KeepChanges() { keepChanges_ = true; }
  // What the last completed import changed, when kept; empty after a failed one.
  ImportChanges TakeChanges() { return std::move(changes_); }

 private:
  void Run(std::string_view text);

  ZR3Level& level_;
  std::string fileName_;
  Lines log_;
  bool keepChanges_ = false;
  ImportChanges changes_;
};

// The tokens of one line of script text: runs of bytes above 32 other than ",", or quoted
// texts in which two quotes stand for one; bytes 0 to 32 separate tokens, and so does one
// comma. An unterminated quote runs to the end of the line.
std::vector<std::string> TokenizeScriptLine(std::string_view line);

// A token read as a number: an optional sign and decimal digits that fit 32 bits; nothing
// for anything else.
std::optional<std::int32_t> ParseScriptNumber(std::string_view token);

}  // namespace zr3
