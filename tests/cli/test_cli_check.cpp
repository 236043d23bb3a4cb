#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "merge/merge_conflicts.h"
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

// A merge that left conflicts unresolved fails the check until the file goes.
TEST(CliCheck, AMergesConflictsFileIsAFinding) {
  zr3test::TempDir dir;
  const std::string level = dir.Path("merged.zr3");
  zr3test::WriteFile(level, zr3test::ReadFile(ZR3_DEMO_PATH));
  const std::string conflicts = level + ".conflicts.json";
  zr3::merge::MergeConflict conflict;
  conflict.place.field = "name";
  conflict.base = conflict.ours = conflict.theirs = "\"Town\"";
  zr3test::WriteFile(conflicts, zr3::merge::ConflictsToJson({conflict, conflict, conflict}));
  auto result = RunCli({"check", level});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, conflicts +
                            ": 3 merge conflicts not resolved (open the level in zr3tool to "
                            "resolve them, then save)\nProblems: 0\n");

  zr3test::WriteFile(conflicts, "{\"format\": \"zr3-merge-conflicts\"");
  result = RunCli({"check", level});
  EXPECT_EQ(result.status, 1);
  EXPECT_THAT(result.out, ::testing::StartsWith(conflicts + ": a merge left this conflicts file, "
                                                            "which cannot be read: "));

  std::filesystem::remove(conflicts);
  EXPECT_EQ(RunCli({"check", level}).status, 0);
}

TEST(CliCheck, ALevelThatDoesNotLoadIsAnError) {
  zr3test::TempDir dir;
  const auto result = RunCli({"check", dir.Path("missing.zr3")});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "zr3: Cannot open file " + dir.Path("missing.zr3") + "\n");
}

}  // namespace
