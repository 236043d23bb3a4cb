#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "support/blob.h"

namespace zr3test {

struct CharacterFields {
  std::string name{};
  std::array<std::uint32_t, 8> imageIds{};
  std::uint32_t nextId = 0;
  std::uint32_t prevId = 0;
  std::uint32_t id = 0;
  // One 80-byte field is written for each non-zero image identifier; the path of an
  // identifier of 0 is ignored.
  std::array<std::string, 8> imagePaths{};
};

Blob CharacterBlob(const CharacterFields& character);

}  // namespace zr3test
