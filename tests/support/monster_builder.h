#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "support/blob.h"

namespace zr3test {

// Every field of a 372-byte monster record.
struct MonsterFields {
  std::string name;
  std::uint32_t gfxId = 0;
  std::uint16_t level = 0;
  std::uint16_t maxHp = 0;
  std::uint16_t hp = 0;
  std::uint16_t maxSp = 0;
  std::uint16_t sp = 0;
  std::uint16_t str = 0;
  std::uint16_t intelligence = 0;
  std::uint16_t dex = 0;
  std::uint32_t experience = 0;
  std::uint16_t gold = 0;
  std::uint16_t type = 0;
  std::uint16_t build = 0;
  std::uint16_t attackStyle = 0;
  std::string opaqueA = std::string(2, '\0');
  std::int16_t group1 = 0;
  std::int16_t group2 = 0;
  std::string opaqueB = std::string(2, '\0');
  std::array<std::uint32_t, 10> items{};
  std::array<std::uint32_t, 10> spells{};
  std::array<std::uint32_t, 10> preScripts{};
  std::array<std::uint32_t, 10> postScripts{};
  std::array<std::uint32_t, 10> tiles{};
  std::string opaqueC = std::string(8, '\0');
  std::uint32_t nextId = 0;
  std::uint32_t prevId = 0;
  std::uint32_t id = 0;
  std::string imagePath;
};

Blob MonsterRecord(const MonsterFields& monster);

}  // namespace zr3test
