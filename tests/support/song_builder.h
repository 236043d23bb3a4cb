#pragma once

#include <cstdint>
#include <string>

#include "support/blob.h"

namespace zr3test {

struct SongFields {
  std::string name{};
  std::string data = std::string(404, '\0');
  std::uint32_t nextId = 0;
  std::uint32_t prevId = 0;
  std::uint32_t id = 0;
};

Blob SongBlob(const SongFields& song);

}  // namespace zr3test
