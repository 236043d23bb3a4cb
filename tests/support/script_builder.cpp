#include "support/script_builder.h"

#include <stdexcept>

namespace zr3test {

Blob SlotBlob(const SlotFields& slot) {
  Blob b;
  b.U16(slot.code);
  for (std::int16_t parameter : slot.p) b.I16(parameter);
  return b;
}

Blob ScriptBlob(const ScriptFields& script) {
  if (script.blockA.size() != 200 || script.blockB.size() != 200 || script.opaque.size() != 2) {
    throw std::invalid_argument("opaque blocks of a script spec have the wrong size");
  }
  Blob b;
  b.Text(script.name, 32);
  for (const SlotFields& slot : script.conditions) b.Append(SlotBlob(slot));
  b.Raw(script.blockA);
  for (const SlotFields& slot : script.commands) b.Append(SlotBlob(slot));
  b.Raw(script.blockB);
  b.U8(script.conditionCount).U8(script.commandCount).Raw(script.opaque);
  b.Id(script.nextId).Id(script.prevId).Id(script.id);
  return b;
}

ScriptFields ScriptWith(std::string name, const std::vector<SlotFields>& conditions,
                        const std::vector<SlotFields>& commands) {
  if (conditions.size() > 10 || commands.size() > 10) {
    throw std::invalid_argument("a script holds ten conditions and ten commands");
  }
  ScriptFields script;
  script.name = std::move(name);
  for (std::size_t i = 0; i < conditions.size(); ++i) script.conditions[i] = conditions[i];
  for (std::size_t i = 0; i < commands.size(); ++i) script.commands[i] = commands[i];
  script.conditionCount = static_cast<std::uint8_t>(conditions.size());
  script.commandCount = static_cast<std::uint8_t>(commands.size());
  return script;
}

}  // namespace zr3test
