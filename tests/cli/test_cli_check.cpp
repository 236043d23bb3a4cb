#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "support/level_builder.h"
#include "support/map_builder.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace {

using zr3test::RunCli;

TEST(CliCheck, PrintsTheProblemsAndExitsWithOne) {
  zr3test::TempDir dir;
  zr3test::LevelBuilder builder;
  zr3test::MapFields town = zr3test::NamedMap("Town", 1, 1);
  town.borders[3] = 5;  // no tile carries 5
  builder.Add(zr3::Category::Maps, zr3test::MapRecord(town));
  builder.flags[0] = "Gold";
  builder.flags[1] = "Gold";
  const auto result = RunCli({"check", builder.WriteTo(dir.Path("level.zr3"))});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.out,
            "Maps 0 \"Town\", Border W = 05 00 00 00: no tile has this identifier; next save: "
            "written as 0\n"
            "Flags 1 \"Gold\", Name = \"Gold\": also the name of Flags 0, which the importer "
            "takes instead; next save: kept\n"
            "Problems: 2\n");
}

TEST(CliCheck, ExitsWithZeroOnTheDemoLevel) {
  const auto result = RunCli({"check", ZR3_DEMO_PATH});
  EXPECT_EQ(result.status, 0) << result.out;
  EXPECT_EQ(result.out, "Problems: 0\n");
}

TEST(CliCheck, ALevelThatDoesNotLoadIsAnError) {
  zr3test::TempDir dir;
  const auto result = RunCli({"check", dir.Path("missing.zr3")});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "zr3: Cannot open file " + dir.Path("missing.zr3") + "\n");
}

}  // namespace
