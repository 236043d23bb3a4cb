#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "support/edit_levels.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace {

using ::testing::HasSubstr;
using zr3test::RunCli;

class CliEdit : public ::testing::Test {
 protected:
  void SetUp() override { level = zr3test::World().WriteTo(dir.Path("world.zr3")); }
  std::string Out() const { return dir.Path("out.zr3"); }
  std::string ListOf(const std::string& file, const std::string& category) const {
    return RunCli({"list", file, category}).out;
  }
  zr3test::TempDir dir;
  std::string level;
};

TEST_F(CliEdit, RefsPrintsTheSearchLines) {
  const auto result = RunCli({"refs", level, "maps", "1"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out,
            "Search results for Cave\n\nGlobal script: Watcher\nStartup script: Opening\n"
            "Death script: Mourner\n");
  EXPECT_EQ(RunCli({"refs", level, "maps", "3"}).status, 1);
}

TEST_F(CliEdit, DeleteRefusesAReferredRecordAndSavesNothing) {
  const auto refused = RunCli({"delete", level, "object-scripts", "1", "-o", Out()});
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.err, "Cannot delete item while other items\nstill refer to it.\n");
  EXPECT_FALSE(std::filesystem::exists(Out()));
  const auto why = RunCli({"delete", level, "object-scripts", "1", "--why", "-o", Out()});
  EXPECT_EQ(why.status, 1);
  EXPECT_EQ(why.err,
            "Cannot delete item while other items\nstill refer to it.\n"
            "Search results for Drink\n\nItem: Potion\n");
}

TEST_F(CliEdit, DeleteWritesTheLevelWithoutTheRecord) {
  const auto result = RunCli({"delete", level, "object-scripts", "2", "-o", Out()});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(ListOf(Out(), "object-scripts"), "0\tOpen\n1\tDrink\n2\tLoop\n3\tListed\n");
  // The item still runs the script it ran.
  EXPECT_THAT(RunCli({"show", Out(), "items", "1"}).out, HasSubstr("Run Drink"));
}

TEST_F(CliEdit, MoveInPlaceAndNothingAtTheEnds) {
  const auto moved = RunCli({"move", level, "items", "1", "up", "--in-place"});
  EXPECT_EQ(moved.status, 0) << moved.err;
  EXPECT_EQ(ListOf(level, "items"), "0\tPotion\n1\tAxe\n");
  const auto atEnd = RunCli({"move", level, "items", "1", "down", "-o", Out()});
  EXPECT_EQ(atEnd.status, 1);
  EXPECT_THAT(atEnd.err, HasSubstr("already the last"));
  EXPECT_FALSE(std::filesystem::exists(Out()));
}

TEST_F(CliEdit, CopyPrintsWhereTheCopyWent) {
  const auto script = RunCli({"copy", level, "global-scripts", "0", "--to", "object", "-o", Out()});
  EXPECT_EQ(script.status, 0) << script.err;
  EXPECT_EQ(script.out, "object-scripts 5\n");
  EXPECT_THAT(ListOf(Out(), "object-scripts"), HasSubstr("\n5\tWatcher\n"));
  EXPECT_EQ(ListOf(Out(), "global-scripts"), "0\tWatcher\n");

  const auto map = RunCli({"copy", level, "maps", "2", "--in-place"});
  EXPECT_EQ(map.out, "maps 3\n");
  EXPECT_EQ(RunCli({"copy", level, "items", "0", "--to", "object", "-o", Out()}).status, 1);
}

TEST_F(CliEdit, RenameCutsLongNamesAndWorksOnFixedTables) {
  const std::string longName(40, 'x');
  const auto result = RunCli({"rename", level, "flags", "3", longName, "-o", Out()});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_THAT(ListOf(Out(), "flags"), HasSubstr("\n3\t" + std::string(31, 'x') + "\n4\t"));
  EXPECT_EQ(RunCli({"rename", level, "maps", "0", "", "--in-place"}).status, 0);
  EXPECT_THAT(ListOf(level, "maps"), HasSubstr("0\t\n1\tCave\n"));
}

TEST_F(CliEdit, FixedTablesAndMissingTargetsAreRefused) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"move", level, "flags", "0", "down", "-o", Out()},
        {"copy", level, "groups", "1", "-o", Out()},
        {"delete", level, "flags", "2", "-o", Out()}}) {
    const auto result = RunCli(args);
    EXPECT_EQ(result.status, 1) << args[0];
    EXPECT_THAT(result.err, HasSubstr("is a fixed table")) << args[0];
  }
  const auto noTarget = RunCli({"move", level, "items", "0", "down"});
  EXPECT_EQ(noTarget.status, 1);
  EXPECT_THAT(noTarget.err, HasSubstr("-o OUT or --in-place"));
  EXPECT_FALSE(std::filesystem::exists(Out()));
}

}  // namespace

TEST_F(CliEdit, NewWritesTheEmptyLevelAndKeepsAnExistingFile) {
  const std::string path = dir.Path("new.zr3");
  const auto result = RunCli({"new", path});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(zr3test::ReadFile(path), zr3test::LevelBuilder().Build().Bytes());
  const auto refused = RunCli({"new", level});
  EXPECT_EQ(refused.status, 1);
  EXPECT_THAT(refused.err, HasSubstr("already exists"));
  EXPECT_EQ(zr3test::ReadFile(level), zr3test::World().Build().Bytes());
}

TEST_F(CliEdit, AddPutsANamedRecordWhereAskedAndPrintsItsIndex) {
  const auto result =
      RunCli({"add", level, "object-scripts", "--name", "Fresh", "--at", "1", "-o", Out()});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "1\n");
  EXPECT_EQ(ListOf(Out(), "object-scripts"),
            "0\tOpen\n1\tFresh\n2\tDrink\n3\tSpare\n4\tLoop\n5\tListed\n");
  EXPECT_EQ(RunCli({"refs", Out(), "object-scripts", "2"}).out,
            "Search results for Drink\n\nItem: Potion\n");
  EXPECT_EQ(RunCli({"add", level, "items", "-o", Out()}).out, "2\n");
  EXPECT_EQ(ListOf(Out(), "items"), "0\tAxe\n1\tPotion\n2\tNew item\n");
  EXPECT_EQ(RunCli({"add", level, "flags", "-o", Out()}).status, 1);
  EXPECT_EQ(RunCli({"add", level, "items", "--at", "9", "-o", Out()}).status, 1);
}
