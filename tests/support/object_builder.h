#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "support/blob.h"

namespace zr3test {

// Every field of an object record.
struct ObjectFields {
  std::string name;
  std::uint32_t mapId = 0;
  std::uint8_t x = 0;
  std::uint8_t y = 0;
  std::string opaque = std::string(2, '\0');
  std::uint32_t gfxId = 0;
  std::array<std::uint32_t, 10> scriptIds{};
  std::uint32_t nextId = 0;
  std::uint32_t prevId = 0;
  std::uint32_t id = 0;
  std::string path;
};

Blob ObjectRecord(const ObjectFields& object);

// Offsets inside an object record.
inline constexpr std::size_t kObjectMapOffset = 32;
inline constexpr std::size_t kObjectScriptsOffset = 44;

// An object with only a name and a map identifier.
ObjectFields NamedObject(std::string name, std::uint32_t mapId);

}  // namespace zr3test
