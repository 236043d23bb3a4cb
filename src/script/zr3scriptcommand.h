#pragma once

#include <string>

#include "script/zr3scriptentry.h"

namespace zr3 {

// One command slot of a script: codes 100 to 134. Commands refer to flags and to fifteen
// kinds of record.
class ZR3ScriptCommand : public ZR3ScriptEntry {
 public:
  static constexpr std::string_view kBadReference = " Bad reference";

  ZR3ScriptCommand() : ZR3ScriptEntry(Slot::Command) {}
  ZR3ScriptCommand(const ZR3ScriptCommand&) = default;
  ZR3ScriptCommand& operator=(const ZR3ScriptCommand&) = default;

  // The text behind "Command n:" in the details pane; it always begins with a blank.
  std::string ReadableText() const;
  // The command's line of script text, without the indentation of the script block.
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
  bool RefersToGraphic(const ZR3Base& record) const {
    return Holds(ScriptReference::Graphic, record);
  }
  bool RefersToText(const ZR3Base& record) const { return Holds(ScriptReference::Text, record); }
  bool RefersToSong(const ZR3Base& record) const { return Holds(ScriptReference::Song, record); }
  bool RefersToSpell(const ZR3Base& record) const { return Holds(ScriptReference::Spell, record); }
  bool RefersToObject(const ZR3Base& record) const {
    return Holds(ScriptReference::Object, record);
  }
  // Either of the two tiles.
  bool RefersToTile(const ZR3Base& record) const {
    return Holds(ScriptReference::FirstTile, record) || Holds(ScriptReference::SecondTile, record);
  }
  bool RefersToScript(const ZR3Base& record) const {
    return Holds(ScriptReference::Script, record);
  }
  bool RefersToPalette(const ZR3Base& record) const {
    return Holds(ScriptReference::Palette, record);
  }
  bool RefersToShop(const ZR3Base& record) const { return Holds(ScriptReference::Shop, record); }
  bool RefersToMonster(const ZR3Base& record) const {
    return Holds(ScriptReference::Monster, record);
  }
  bool RefersToList(const ZR3Base& record) const { return Holds(ScriptReference::List, record); }

  // The parameters that name records, for the current code and parameters.
  ReferenceSteps StepsOf() const;
};

}  // namespace zr3
