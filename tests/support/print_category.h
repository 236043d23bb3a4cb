#pragma once

#include <ostream>

#include "level/category.h"

namespace zr3 {

// GoogleTest names a category parameter by its command-line name ("maps"). Every test that
// prints a category must see this (the support headers that name categories include it):
// GoogleTest's printer is a template, and the linker keeps one instantiation of it, which
// would otherwise dump the byte.
inline void PrintTo(Category category, std::ostream* out) {
  *out << InfoOf(category).commandName;
}

}  // namespace zr3
