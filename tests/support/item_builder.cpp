#include "support/item_builder.h"

namespace zr3test {

Blob ItemBlob(const ItemFields& item) {
  Blob b;
  b.Text(item.name, 32).U16(item.type).I16(item.cost);
  for (std::int16_t parameter : item.parameters) b.I16(parameter);
  for (std::int16_t group : item.groups) b.I16(group);
  for (std::uint16_t modifier : item.modifiers) b.U16(modifier);
  b.Id(item.nextId).Id(item.prevId).Id(item.id);
  return b;
}

}  // namespace zr3test
