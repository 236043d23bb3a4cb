#include "support/object_builder.h"

namespace zr3test {

Blob ObjectRecord(const ObjectFields& object) {
  Blob b;
  b.Text(object.name, 32).Id(object.mapId).U8(object.x).U8(object.y).Raw(object.opaque);
  b.U32(object.gfxId);
  for (std::uint32_t id : object.scriptIds) b.Id(id);
  b.Id(object.nextId).Id(object.prevId).Id(object.id);
  b.Text(object.path, 80);
  return b;
}

ObjectFields NamedObject(std::string name, std::uint32_t mapId) {
  ObjectFields object;
  object.name = std::move(name);
  object.mapId = mapId;
  return object;
}

}  // namespace zr3test
