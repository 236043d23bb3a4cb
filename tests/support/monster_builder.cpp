#include "support/monster_builder.h"

namespace zr3test {

Blob MonsterRecord(const MonsterFields& m) {
  Blob b;
  b.Text(m.name, 32);
  // The graphic identifier is never resolved, so it is a plain value, not an identifier.
  b.U32(m.gfxId);
  b.U16(m.level).U16(m.maxHp).U16(m.hp).U16(m.maxSp).U16(m.sp);
  b.U16(m.str).U16(m.intelligence).U16(m.dex);
  b.U32(m.experience).U16(m.gold);
  b.U16(m.type).U16(m.build).U16(m.attackStyle);
  b.Raw(m.opaqueA).I16(m.group1).I16(m.group2).Raw(m.opaqueB);
  for (const auto* slots : {&m.items, &m.spells, &m.preScripts, &m.postScripts, &m.tiles}) {
    for (std::uint32_t id : *slots) b.Id(id);
  }
  b.Raw(m.opaqueC);
  b.Id(m.nextId).Id(m.prevId).Id(m.id);
  b.Text(m.imagePath, 80);
  return b;
}

}  // namespace zr3test
