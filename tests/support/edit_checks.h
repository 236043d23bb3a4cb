#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "level/zr3level.h"

namespace zr3test {

// The names of the list's records, in list order.
std::vector<std::string> Names(const zr3::ZR3Level& level, zr3::Category category);

// Every record's current position equals its index, and each chain record's neighbours are
// the records just before and after it.
::testing::AssertionResult ListIsConsistent(const zr3::ZR3Level& level, zr3::Category category);

// In a level read from a file: every record's stored next and previous identifiers name the
// records after and before it (0 at the ends), and the own identifiers differ.
::testing::AssertionResult StoredChainIsUnbroken(const zr3::ZR3Level& level,
                                                 zr3::Category category);

}  // namespace zr3test
