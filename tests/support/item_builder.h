#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "support/blob.h"

namespace zr3test {

// Every field of a 64-byte item record, in file order.
struct ItemFields {
  std::string name{};
  std::uint16_t type = 0;
  std::int16_t cost = 0;
  std::array<std::int16_t, 4> parameters{};
  std::array<std::int16_t, 2> groups{-1, -1};  // no group
  std::array<std::uint16_t, 2> modifiers{};
  std::uint32_t nextId = 0;
  std::uint32_t prevId = 0;
  std::uint32_t id = 0;
};

Blob ItemBlob(const ItemFields& item);

}  // namespace zr3test
