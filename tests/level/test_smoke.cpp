#include <gtest/gtest.h>

#include "level/zr3level.h"
#include "support/level_builder.h"

TEST(Smoke, EmptyLevelLoads) {
  zr3test::LevelBuilder builder;
  zr3::ZR3Level level;
  level.LoadFromBytes(builder.Build().Bytes());
  EXPECT_TRUE(level.Loaded());
}
