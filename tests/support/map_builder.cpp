#include "support/map_builder.h"

namespace zr3test {

Blob MapRecord(const MapFields& map) {
  Blob b;
  b.Text(map.name, 32).U16(map.size).Raw(map.opaque);
  for (const MapFields::Cell& cell : map.cells) {
    for (std::uint32_t id : cell) b.Id(id);
  }
  for (std::uint32_t id : map.borders) b.Id(id);
  b.Id(map.nextId).Id(map.prevId).Id(map.id);
  return b;
}

MapFields NamedMap(std::string name, std::uint16_t size, std::uint32_t id) {
  MapFields map;
  map.name = std::move(name);
  map.size = size;
  map.id = id;
  return map;
}

}  // namespace zr3test
