#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "compare/diff_helpers.h"
#include "edit/field_edit.h"
#include "merge/merge_conflicts.h"
#include "support/edit_levels.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace {

using namespace zr3;
using zr3test::ReadFile;
using zr3test::RunCli;

// The world saved, and saved again with an item's cost set.
std::string WorldWithCost(const char* item, const char* cost) {
  ZR3Level level;
  zr3test::LoadWorld(level);
  if (item)
    EditField(level,
              {Category::Items, static_cast<std::size_t>(level.FindByName(item, Category::Items))},
              "cost", cost);
  return level.SaveToBytes();
}

int Cost(const std::string& path, const char* item) {
  ZR3Level level;
  level.Load(path);
  return std::stoi(FieldText(
      level, {Category::Items, static_cast<std::size_t>(level.FindByName(item, Category::Items))},
      "cost"));
}

class CliMergeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    zr3test::WriteFile(base_, WorldWithCost(nullptr, nullptr));
    zr3test::WriteFile(ours_, WorldWithCost("Axe", "5"));
    zr3test::WriteFile(theirs_, WorldWithCost("Potion", "7"));
    zr3test::WriteFile(clash_, WorldWithCost("Axe", "9"));
  }

  zr3test::TempDir dir_;
  std::string base_ = dir_.Path("base.zr3");
  std::string ours_ = dir_.Path("ours.zr3");
  std::string theirs_ = dir_.Path("theirs.zr3");
  std::string clash_ = dir_.Path("clash.zr3");
  std::string out_ = dir_.Path("out.zr3");
};

TEST_F(CliMergeTest, ExitStatusSaysCleanConflictsOrTrouble) {
  const std::string conflicts = merge::ConflictsFilePath(out_);
  const zr3test::CliResult conflicted = RunCli({"merge", base_, ours_, clash_, "-o", out_});
  EXPECT_EQ(conflicted.status, 1) << conflicted.err;
  EXPECT_NE(conflicted.out.find("items 0 \"Axe\" cost: changed on both sides"), std::string::npos)
      << conflicted.out;
  EXPECT_EQ(Cost(out_, "Axe"), 5);
  const std::vector<merge::MergeConflict> listed = merge::ConflictsFromJson(ReadFile(conflicts));
  ASSERT_EQ(listed.size(), 1u);
  EXPECT_EQ(listed[0].ours, "5");
  EXPECT_EQ(listed[0].theirs, "9");

  // A clean merge over the same output takes the stale conflicts file away.
  const zr3test::CliResult clean = RunCli({"merge", base_, ours_, theirs_, "-o", out_});
  EXPECT_EQ(clean.status, 0) << clean.err;
  EXPECT_EQ(Cost(out_, "Axe"), 5);
  EXPECT_EQ(Cost(out_, "Potion"), 7);
  EXPECT_FALSE(std::filesystem::exists(conflicts));

  // An unreadable input: a message, and neither file written or left.
  const std::string before = ReadFile(out_);
  zr3test::WriteFile(theirs_, "not a level");
  const zr3test::CliResult refused = RunCli({"merge", base_, ours_, theirs_, "-o", out_});
  EXPECT_EQ(refused.status, 2);
  EXPECT_NE(refused.err.find("zr3: "), std::string::npos);
  EXPECT_EQ(ReadFile(out_), before);
  EXPECT_FALSE(std::filesystem::exists(conflicts));
  EXPECT_EQ(dir_.FileCount(), 5u);

  EXPECT_EQ(RunCli({"merge", base_, ours_, clash_}).status, 2) << "no -o and no --git";
}

// Two branches change one level, first on different items, then on the same one: git merge
// runs the driver that git-setup installs.
TEST_F(CliMergeTest, GitMergesLevelsThroughTheDriver) {
  const std::string repo = dir_.Path("repo");
  const std::string git = "cd '" + repo + "' && git ";
  const auto run = [](const std::string& command) { return std::system(command.c_str()); };
  const auto commit = [&](const std::string& level, const std::string& message) {
    zr3test::WriteFile(repo + "/level.zr3", ReadFile(level));
    return run(git + "commit -qam " + message);
  };
  ASSERT_EQ(run("mkdir '" + repo + "' && " + git + "init -q -b main && " + git +
                "config user.name Tester && " + git + "config user.email tester@example.org && " +
                "cd '" + repo + "' && '" + ZR3_CLI_PATH + "' git-setup > /dev/null"),
            0);
  EXPECT_EQ(ReadFile(repo + "/.gitattributes"), "*.zr3 diff=zr3 merge=zr3\n");
  zr3test::WriteFile(repo + "/level.zr3", ReadFile(base_));
  ASSERT_EQ(run(git + "add level.zr3 .gitattributes && " + git + "commit -qm base"), 0);
  ASSERT_EQ(run(git + "branch other"), 0);
  ASSERT_EQ(commit(ours_, "axe"), 0);
  ASSERT_EQ(run(git + "checkout -q other"), 0);
  ASSERT_EQ(commit(theirs_, "potion"), 0);
  ASSERT_EQ(run(git + "checkout -q main && " + git + "merge -q --no-edit other > /dev/null"), 0);
  EXPECT_EQ(Cost(repo + "/level.zr3", "Axe"), 5);
  EXPECT_EQ(Cost(repo + "/level.zr3", "Potion"), 7);

  ASSERT_EQ(run(git + "checkout -q other"), 0);
  ASSERT_EQ(commit(clash_, "clash"), 0);
  ASSERT_EQ(run(git + "checkout -q main"), 0);
  EXPECT_NE(run(git + "merge -q --no-edit other > merge.txt 2>&1"), 0);
  EXPECT_NE(ReadFile(repo + "/merge.txt").find("CONFLICT"), std::string::npos);
  EXPECT_EQ(Cost(repo + "/level.zr3", "Axe"), 5);
  EXPECT_EQ(Cost(repo + "/level.zr3", "Potion"), 0) << "their side set it back";
  EXPECT_EQ(merge::ConflictsFromJson(ReadFile(repo + "/level.zr3.conflicts.json")).size(), 1u);
}

}  // namespace
