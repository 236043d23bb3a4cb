#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

#include "level/category.h"
#include "support/level_builder.h"

namespace zr3test {

// Where record index of a counted section begins in the built file (and in a save of it,
// which has the same layout), for records of recordSize bytes.
inline std::size_t RecordOffset(const LevelBuilder& builder, zr3::Category category,
                                std::size_t index, std::size_t recordSize) {
  const std::string section(zr3::InfoOf(category).sectionName);
  for (const auto& [name, offset] : builder.SectionOffsets()) {
    if (name == section) return offset + 2 + index * recordSize;
  }
  throw std::logic_error("no section " + section);
}

}  // namespace zr3test
