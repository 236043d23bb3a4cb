#pragma once

#include <string>

#include "script/zr3scriptentry.h"

namespace zr3 {

// One condition slot of a script: codes 0 to 13 (no code 10). Its references are flags, a
// map, an item, a character set, a palette and a spell.
class ZR3ScriptCondition : public ZR3ScriptEntry {
 public:
  static constexpr std::string_view kBadReference = "Bad reference";

  ZR3ScriptCondition() : ZR3ScriptEntry(Slot::Condition) {}
  ZR3ScriptCondition(const ZR3ScriptCondition&) = default;
  ZR3ScriptCondition& operator=(const ZR3ScriptCondition&) = default;

  // The text behind "Condition n:" in the details pane; it always begins with a blank.
  std::string ReadableText() const;
  // The condition's line of script text, without the indentation of the script block.
  std::string KeywordText() const;
  // The same, appended to out.
  void AppendReadableText(std::string& out) const;
  void AppendKeywordText(std::string& out) const;

  bool RefersToFlag(const ZR3Base& record) const { return FlagSlotsHold(record); }
  bool RefersToMap(const ZR3Base& record) const { return Holds(ScriptReference::Map, record); }
  bool RefersToItem(const ZR3Base& record) const { return Holds(ScriptReference::Item, record); }
  bool RefersToCharacterSet(const ZR3Base& record) const {
    return Holds(ScriptReference::CharacterSet, record);
  }
  bool RefersToPalette(const ZR3Base& record) const {
    return Holds(ScriptReference::Palette, record);
  }
  bool RefersToSpell(const ZR3Base& record) const { return Holds(ScriptReference::Spell, record); }

  // The parameters that name records, for the current code and parameters.
  ReferenceSteps StepsOf() const;
};

}  // namespace zr3
