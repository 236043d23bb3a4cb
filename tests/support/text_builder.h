#pragma once

#include <string>

#include "support/blob.h"

namespace zr3test {

struct TextFields {
  std::string name{};
  std::string text{};  // written into a 512-byte field
};

Blob TextBlob(const TextFields& text);

}  // namespace zr3test
