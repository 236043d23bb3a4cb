#pragma once

#include <cstdint>
#include <string>

#include "support/blob.h"

namespace zr3test {

struct PaletteFields {
  std::string name{};
  std::string colours = std::string(768, '\0');  // 256 colours of three bytes
  std::uint32_t nextId = 0;
  std::uint32_t prevId = 0;
  std::uint32_t id = 0;
};

Blob PaletteBlob(const PaletteFields& palette);

}  // namespace zr3test
