#pragma once

#include "script/zr3scriptentry.h"

namespace zr3 {

// One condition slot of a script: codes 0 to 13 (no code 10). Its references are flags, a
// map, an item, a character set, a palette and a spell.
class ZR3ScriptCondition : public ZR3ScriptEntry {
 public:
  static constexpr std::string_view kBadReference = kConditionBadReference;

  ZR3ScriptCondition() : ZR3ScriptEntry(Slot::Condition) {}
  ZR3ScriptCondition(const ZR3ScriptCondition&) = default;
  ZR3ScriptCondition& operator=(const ZR3ScriptCondition&) = default;
};

}  // namespace zr3
