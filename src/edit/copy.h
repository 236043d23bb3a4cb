#pragma once

#include <cstddef>
#include <string>

#include "level/category.h"
#include "level/zr3level.h"

namespace zr3 {

// What a copy did: the new record sits at index of the list category (the row to add when
// that list is shown). Nothing was added when refusal is set.
struct CopyResult {
  std::string refusal;
  Category category = Category::Maps;
  std::size_t index = 0;
  std::string name;
  bool Copied() const { return refusal.empty(); }
};

// Appends a copy of the record to its own list.
CopyResult CopyRecord(ZR3Level& level, Category category, std::size_t index);
// Appends a copy of the record to the target list: a script may go to any of the four script
// lists and takes the kind of that list; any other record only to its own list.
// The modified flag is set after every copy command, also when it copies nothing.
CopyResult CopyRecord(ZR3Level& level, Category category, std::size_t index, Category target);

}  // namespace zr3
