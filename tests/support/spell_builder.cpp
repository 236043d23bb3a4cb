#include "support/spell_builder.h"

namespace zr3test {

Blob SpellBlob(const SpellFields& spell) {
  Blob b;
  b.Text(spell.name, 32).I16(spell.minSp).I16(spell.spCost).I16(spell.mastery);
  for (std::uint8_t byte : spell.opaqueA) b.U8(byte);
  b.Id(spell.learnId).U16(spell.type);
  for (std::int16_t parameter : spell.parameters) b.I16(parameter);
  for (std::int16_t group : spell.groups) b.I16(group);
  for (std::int16_t modifier : spell.modifiers) b.I16(modifier);
  for (std::uint8_t byte : spell.opaqueB) b.U8(byte);
  b.Id(spell.nextId).Id(spell.prevId).Id(spell.id);
  return b;
}

}  // namespace zr3test
