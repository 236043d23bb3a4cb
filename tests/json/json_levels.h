#pragma once

#include <cstdint>
#include <string>

#include "support/level_builder.h"

namespace zr3test {

// A level of every kind whose references fail in every way the file allows: identifiers that
// match nothing (kept or written as zero), positions outside their lists, list results beyond
// the count, paths beside identifier 0; maps of size 0 and 100, empty lists elsewhere.
LevelBuilder UnresolvedLevel();

// Texts holding every byte value from 1 to 255: in the names of the flags, a text record, the
// level text and a list's options.
LevelBuilder AllBytesLevel();

// A level of a few records of each kind with field values drawn from the seed; it loads, and
// its references resolve or not as chance has it.
LevelBuilder RandomLevel(std::uint32_t seed);

}  // namespace zr3test
