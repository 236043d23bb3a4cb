#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "support/blob.h"

namespace zr3test {

struct ListFields {
  std::string name{};
  std::array<std::string, 10> optionTexts{};
  std::array<std::uint32_t, 10> resultIds{};  // object script identifiers
  std::uint16_t count = 0;
  std::string opaque = std::string(2, '\0');
  std::uint32_t nextId = 0;
  std::uint32_t prevId = 0;
  std::uint32_t id = 0;
};

Blob ListBlob(const ListFields& list);

}  // namespace zr3test
