#pragma once

#include <gtest/gtest.h>

#include <string>

#include "level/safefile.h"
#include "level/zr3level.h"
#include "support/temp_dir.h"

namespace zr3test {

// A level file written into a fresh folder and loaded from there, for the tests of what a
// failed save or export leaves behind. Any file layer a test puts in place ends with it.
class LevelOnDisk : public ::testing::Test {
 protected:
  void TearDown() override { zr3::SetFileLayer(nullptr); }

  // Writes bytes to path and loads the level from it.
  void Place(std::string bytes) {
    original = std::move(bytes);
    path = dir.Path("level.zr3");
    WriteFile(path, original);
    level.Load(path);
  }

  TempDir dir;
  std::string original;
  std::string path;
  zr3::ZR3Level level;
};

}  // namespace zr3test
