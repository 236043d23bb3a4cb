#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "support/blob.h"

namespace zr3test {

// Every field of an 88-byte shop record.
struct ShopFields {
  std::string name;
  std::array<std::uint32_t, 10> items{};
  std::uint16_t buyback = 0;
  std::uint16_t markup = 0;
  std::uint32_t nextId = 0;
  std::uint32_t prevId = 0;
  std::uint32_t id = 0;
};

Blob ShopRecord(const ShopFields& shop);

}  // namespace zr3test
