#pragma once

#include <cstdint>
#include <string>

#include "support/blob.h"

namespace zr3test {

// Every field of a graphic record; the path is stored only when resource is not 0.
struct GraphicFields {
  std::string name;
  std::uint32_t resource = 0;
  std::uint32_t nextId = 0;
  std::uint32_t prevId = 0;
  std::uint32_t id = 0;
  std::string path;
};

Blob GraphicRecord(const GraphicFields& graphic);

// A graphic with a name, a resource value and an own identifier.
GraphicFields NamedGraphic(std::string name, std::uint32_t resource, std::uint32_t id);

}  // namespace zr3test
