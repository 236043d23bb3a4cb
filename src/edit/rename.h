#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "level/category.h"

namespace zr3 {

class ZR3Level;

// Names are stored in 32-byte fields; the editor keeps them one short of that.
inline constexpr std::size_t kMaxNameLength = 31;

// Gives the record at index of the category's list a new name, cut to kMaxNameLength
// characters (an empty name is allowed), and marks the level modified even when the name
// did not change. Returns the name as stored. Throws ZR3Error when index is past the end.
std::string RenameRecord(ZR3Level& level, Category category, std::size_t index,
                         std::string_view newName);

}  // namespace zr3
