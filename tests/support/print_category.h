#pragma once

#include <ostream>

#include "level/category.h"

namespace zr3 {

// GoogleTest names a category parameter by its command-line name ("maps").
inline void PrintTo(Category category, std::ostream* out) {
  *out << InfoOf(category).commandName;
}

}  // namespace zr3
