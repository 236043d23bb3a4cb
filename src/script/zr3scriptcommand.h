#pragma once

#include "script/zr3scriptentry.h"

namespace zr3 {

// One command slot of a script: codes 100 to 134. Commands refer to flags and to fifteen
// kinds of record.
class ZR3ScriptCommand : public ZR3ScriptEntry {
 public:
  static constexpr std::string_view kBadReference = kCommandBadReference;

  ZR3ScriptCommand() : ZR3ScriptEntry(Slot::Command) {}
  ZR3ScriptCommand(const ZR3ScriptCommand&) = default;
  ZR3ScriptCommand& operator=(const ZR3ScriptCommand&) = default;
};

}  // namespace zr3
