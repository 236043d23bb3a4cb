#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "support/blob.h"

namespace zr3test {

// Every field of a 76-byte spell record, in file order.
struct SpellFields {
  std::string name{};
  std::int16_t minSp = 0;
  std::int16_t spCost = 0;
  std::int16_t mastery = 0;
  std::array<std::uint8_t, 2> opaqueA{};
  std::uint32_t learnId = 0;
  std::uint16_t type = 0;
  std::array<std::int16_t, 4> parameters{};
  std::array<std::int16_t, 2> groups{-1, -1};  // no group
  std::array<std::int16_t, 2> modifiers{};
  std::array<std::uint8_t, 2> opaqueB{};
  std::uint32_t nextId = 0;
  std::uint32_t prevId = 0;
  std::uint32_t id = 0;
};

Blob SpellBlob(const SpellFields& spell);

}  // namespace zr3test
