#pragma once

#include <stdexcept>
#include <string>

namespace zr3 {

// The one exception type of the core: it carries the text shown to the user.
class ZR3Error : public std::runtime_error {
 public:
  explicit ZR3Error(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace zr3
