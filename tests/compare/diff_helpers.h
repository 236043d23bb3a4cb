#pragma once

#include <memory>

#include "compare/level_diff.h"
#include "level/zr3level.h"

namespace zr3test {

// The level as a reload of its saved bytes: the save gives every record a new identifier.
inline std::unique_ptr<zr3::ZR3Level> Resaved(zr3::ZR3Level& level) {
  auto copy = std::make_unique<zr3::ZR3Level>();
  copy->LoadFromBytes(level.SaveToBytes());
  return copy;
}

// The one list of the diff that differs; fails the test when it is not exactly one.
inline zr3::compare::ListDiff OnlyList(const zr3::compare::LevelDiff& diff) {
  EXPECT_TRUE(diff.info.empty());
  EXPECT_EQ(diff.lists.size(), 1u);
  return diff.lists.empty() ? zr3::compare::ListDiff{} : diff.lists.front();
}

}  // namespace zr3test
