#include "support/graphic_builder.h"

namespace zr3test {

Blob GraphicRecord(const GraphicFields& graphic) {
  Blob b;
  b.Text(graphic.name, 32).U32(graphic.resource);
  b.Id(graphic.nextId).Id(graphic.prevId).Id(graphic.id);
  if (graphic.resource != 0) b.Text(graphic.path, 80);
  return b;
}

GraphicFields NamedGraphic(std::string name, std::uint32_t resource, std::uint32_t id) {
  GraphicFields graphic;
  graphic.name = std::move(name);
  graphic.resource = resource;
  graphic.id = id;
  return graphic;
}

}  // namespace zr3test
