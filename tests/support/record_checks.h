#pragma once

#include <cstddef>
#include <string>

#include "level/zr3level.h"
#include "support/level_builder.h"

namespace zr3test {

// The record's details lines.
zr3::Lines Describe(const zr3::ZR3Base& record);

// The first line that starts with label, or a text saying there is none.
std::string LineStarting(const zr3::Lines& lines, const std::string& label);

// Where record index of a counted section begins in the built file (and in a save of it,
// which has the same layout), for records of recordSize bytes.
std::size_t RecordOffset(const LevelBuilder& builder, zr3::Category category, std::size_t index,
                         std::size_t recordSize);

// Loads the built level into level; answers the failure's message, or "" when it loads.
std::string LoadFailure(const LevelBuilder& builder, zr3::ZR3Level& level);

}  // namespace zr3test
