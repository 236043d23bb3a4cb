#pragma once

#include <cstdint>
#include <string>

#include "support/blob.h"

namespace zr3test {

// Every field of a tile record; the path is stored only when gfxId is not 0.
struct TileFields {
  std::string name;
  std::uint32_t gfxId = 0;
  std::string opaque = std::string(32, '\0');
  std::uint8_t layer = 0;
  std::string opaqueAfterLayer = std::string(3, '\0');
  std::uint32_t nextId = 0;
  std::uint32_t prevId = 0;
  std::uint32_t id = 0;
  std::string path;
};

Blob TileRecord(const TileFields& tile);

// A tile with only a name and an own identifier.
TileFields NamedTile(std::string name, std::uint32_t id);

}  // namespace zr3test
