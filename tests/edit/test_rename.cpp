#include <gtest/gtest.h>

#include <string>

#include "edit/rename.h"
#include "level/zr3error.h"
#include "level/zr3level.h"
#include "support/level_builder.h"

namespace {

class RenameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    zr3test::LevelBuilder builder;
    builder.flags[3] = "OldFlag";
    level.LoadFromBytes(builder.Build().Bytes());
  }
  zr3::ZR3Level level;
};

TEST_F(RenameTest, CutsLongNamesToThirtyOneCharacters) {
  const std::string forty(40, 'x');
  EXPECT_EQ(zr3::RenameRecord(level, zr3::Category::Flags, 3, forty), std::string(31, 'x'));
  EXPECT_EQ(level.List(zr3::Category::Flags)[3]->Name(), std::string(31, 'x'));
  EXPECT_TRUE(level.Modified());

  const std::string thirtyTwo = std::string(31, 'a') + "b";
  EXPECT_EQ(zr3::RenameRecord(level, zr3::Category::Flags, 3, thirtyTwo), std::string(31, 'a'));
  const std::string thirtyOne(31, 'c');
  EXPECT_EQ(zr3::RenameRecord(level, zr3::Category::Flags, 3, thirtyOne), thirtyOne);
}

TEST_F(RenameTest, AcceptsEmptyAndUnchangedNamesAndMarksTheLevelModified) {
  EXPECT_FALSE(level.Modified());
  EXPECT_EQ(zr3::RenameRecord(level, zr3::Category::Flags, 3, "OldFlag"), "OldFlag");
  EXPECT_TRUE(level.Modified());

  level.SetModified(false);
  EXPECT_EQ(zr3::RenameRecord(level, zr3::Category::Flags, 3, ""), "");
  EXPECT_EQ(level.List(zr3::Category::Flags)[3]->Name(), "");
  EXPECT_TRUE(level.Modified());
}

TEST_F(RenameTest, KeepsEveryByteOfTheName) {
  const std::string bytes = "\xe9t\xe9\xff\x01";
  EXPECT_EQ(zr3::RenameRecord(level, zr3::Category::Groups, 0, bytes), bytes);
  EXPECT_EQ(level.List(zr3::Category::Groups)[0]->Name(), bytes);
}

TEST_F(RenameTest, RefusesAnIndexPastTheEnd) {
  EXPECT_THROW(zr3::RenameRecord(level, zr3::Category::Groups, 20, "x"), zr3::ZR3Error);
  EXPECT_THROW(zr3::RenameRecord(level, zr3::Category::Maps, 0, "x"), zr3::ZR3Error);
  EXPECT_FALSE(level.Modified());
}

}  // namespace
