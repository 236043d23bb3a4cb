#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "support/edit_levels.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace {

using ::testing::HasSubstr;
using zr3test::ReadFile;
using zr3test::RunCli;

class CliJson : public ::testing::Test {
 protected:
  void SetUp() override { level = zr3test::World().WriteTo(dir.Path("world.zr3")); }
  zr3test::TempDir dir;
  std::string level;
};

TEST_F(CliJson, ImportOfTheExportSavesWhatSaveWrites) {
  ASSERT_EQ(RunCli({"export-json", level, dir.Path("world.json")}).status, 0);
  const auto imported = RunCli({"import-json", dir.Path("world.json"), "-o", dir.Path("j.zr3")});
  ASSERT_EQ(imported.status, 0) << imported.err;
  ASSERT_EQ(RunCli({"save", level, dir.Path("s.zr3")}).status, 0);
  EXPECT_TRUE(ReadFile(dir.Path("j.zr3")) == ReadFile(dir.Path("s.zr3")));
  // Standard output, named by "-" or by nothing, carries the same document.
  EXPECT_EQ(RunCli({"export-json", level, "-"}).out, ReadFile(dir.Path("world.json")));
  EXPECT_EQ(RunCli({"export-json", level}).out, ReadFile(dir.Path("world.json")));
}

TEST_F(CliJson, ARefusedImportListsEveryProblemAndWritesNothing) {
  std::string document = RunCli({"export-json", level}).out;
  document.replace(document.find("\"cost\": 0"), 9, "\"cost\": 70000");
  document.replace(document.find("\"name\": \"Menu\""), 14, "\"name\": 5");
  zr3test::WriteFile(dir.Path("bad.json"), document);
  const std::string before = ReadFile(level);
  const auto result = RunCli({"import-json", dir.Path("bad.json"), "--in-place", level});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err,
            "zr3: $.items[0].cost: 70000 is out of range -32768..32767\n"
            "zr3: $.lists[0].name: expected a string, not a number\n");
  EXPECT_TRUE(ReadFile(level) == before);
  EXPECT_EQ(dir.FileCount(), 2u);
  EXPECT_THAT(RunCli({"import-json", dir.Path("bad.json")}).err,
              HasSubstr("Give -o OUT or --in-place LEVEL"));
}

TEST_F(CliJson, CommittedSchemaIsWhatTheCommandPrints) {
  const auto result = RunCli({"json-schema"});
  ASSERT_EQ(result.status, 0);
  EXPECT_EQ(result.out, ReadFile(ZR3_SCHEMA_PATH))
      << "regenerate with: zr3 json-schema schema/zr3-level.schema.json";
}

TEST_F(CliJson, GetPrintsFieldsAndSetChangesThemAllOrNone) {
  EXPECT_EQ(RunCli({"get", level, "items", "1", "cost"}).out, "0\n");
  EXPECT_EQ(RunCli({"get", level, "objects", "0", "scripts[3]"}).out, "4\n");
  EXPECT_EQ(RunCli({"get", level, "general", "palette"}).out, "0\n");
  EXPECT_THAT(RunCli({"get", level, "maps", "0"}).out,
              HasSubstr("name = Town\nsize = 2\nopaque = 0000\ncells = 2 x 2 cells\n"
                        "border_north = 1\n"));

  const std::string out = dir.Path("out.zr3");
  const auto refused = RunCli(
      {"set", level, "items", "1", "cost", "25", "group_1", "20", "name", "Elixir", "-o", out});
  EXPECT_EQ(refused.status, 1);
  EXPECT_THAT(refused.err, HasSubstr("zr3: group_1: no group at position 20"));
  EXPECT_FALSE(std::filesystem::exists(out));

  const auto set = RunCli({"set", level, "items", "1", "cost", "-25", "parameter_1", "Spare",
                           "name", "Elixir", "-o", out});
  ASSERT_EQ(set.status, 0) << set.err;
  EXPECT_EQ(RunCli({"get", out, "items", "1", "cost"}).out, "-25\n");
  EXPECT_EQ(RunCli({"get", out, "items", "1", "parameter_1"}).out, "2\n");
  EXPECT_EQ(RunCli({"get", out, "items", "1", "name"}).out, "Elixir\n");
  const auto info = RunCli({"set", out, "general", "encounter_percent", "42", "--in-place"});
  ASSERT_EQ(info.status, 0) << info.err;
  EXPECT_EQ(RunCli({"get", out, "general", "encounter_percent"}).out, "42\n");
}

TEST_F(CliJson, SetTakesValuesThatBeginWithAMinus) {
  const std::string out = dir.Path("out.zr3");
  for (const std::vector<std::string>& words :
       {std::vector<std::string>{"name", "-abc", "-o", out},
        std::vector<std::string>{"-o", out, "name", "--", "-abc"}}) {
    std::vector<std::string> args = {"set", level, "items", "1"};
    args.insert(args.end(), words.begin(), words.end());
    const auto set = RunCli(args);
    ASSERT_EQ(set.status, 0) << set.err;
    EXPECT_EQ(RunCli({"get", out, "items", "1", "name"}).out, "-abc\n");
    std::filesystem::remove(out);
  }
  EXPECT_THAT(RunCli({"set", level, "items", "1", "name", "-abc"}).err,
              HasSubstr("Give -o OUT or --in-place"));
  EXPECT_THAT(RunCli({"set", level, "items", "1", "name", "-abc", "cost"}).err,
              HasSubstr("set takes FIELD VALUE pairs"));
}

// Typed text goes into the level as its Windows-1252 bytes and comes out as UTF-8; a character
// the level cannot hold is refused by name, by set, rename and add alike.
TEST_F(CliJson, TypedTextIsStoredInTheLevelsCodePageOrRefused) {
  const std::string out = dir.Path("out.zr3");
  const auto set = RunCli({"set", level, "items", "0", "name", "\u00C9p\u00E9e \u20AC", "-o", out});
  ASSERT_EQ(set.status, 0) << set.err;
  EXPECT_EQ(RunCli({"get", out, "items", "0", "name"}).out, "\u00C9p\u00E9e \u20AC\n");
  EXPECT_THAT(RunCli({"export-json", out, "-"}).out, HasSubstr("\"\u00C9p\u00E9e \u20AC\""));
  EXPECT_THAT(zr3test::ReadFile(out), HasSubstr("\xC9p\xE9"
                                                "e \x80"));

  const std::string refused = dir.Path("refused.zr3");
  for (const std::vector<std::string>& command :
       {std::vector<std::string>{"set", level, "items", "0", "name", "Za\u017C\u00F3\u0142\u0107"},
        std::vector<std::string>{"rename", level, "items", "0", "Za\u017C\u00F3\u0142\u0107"},
        std::vector<std::string>{"add", level, "items", "--name", "Za\u017C\u00F3\u0142\u0107"}}) {
    std::vector<std::string> args = command;
    args.insert(args.end(), {"-o", refused});
    const auto result = RunCli(args);
    EXPECT_EQ(result.status, 1) << command[0];
    EXPECT_THAT(result.err, HasSubstr("'\u017C' cannot be stored in a level's text")) << command[0];
    EXPECT_FALSE(std::filesystem::exists(refused)) << command[0];
  }
}

// The README's recipe: git shows a level's changes as changes of its JSON export.
TEST_F(CliJson, GitDiffShowsLevelsAsJson) {
  if (std::system("git --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "no git";
  const std::filesystem::path repo = dir.Root() / "repo";
  std::filesystem::create_directories(repo);
  std::filesystem::copy_file(level, repo / "world.zr3");
  zr3test::WriteFile((repo / ".gitattributes").string(), "*.zr3 diff=zr3\n");
  // Nothing from the user's or the system's git configuration takes part.
  const std::string git = "cd '" + repo.string() + "' && HOME='" + dir.Root().string() +
                          "' GIT_CONFIG_NOSYSTEM=1 GIT_CONFIG_GLOBAL=/dev/null git ";
  const std::string setup = git + "init -q && " + git + "config user.name Tester && " + git +
                            "config user.email tester@example.invalid && " + git +
                            "config diff.zr3.textconv '" + ZR3_CLI_PATH + " export-json' && " +
                            git + "add . && " + git + "commit -qm level";
  ASSERT_EQ(std::system(setup.c_str()), 0);
  ASSERT_EQ(RunCli({"set", (repo / "world.zr3").string(), "items", "1", "cost", "25", "--in-place"})
                .status,
            0);
  const std::string diff = dir.Path("diff.txt");
  ASSERT_EQ(std::system((git + "diff > '" + diff + "'").c_str()), 0);
  const std::string shown = ReadFile(diff);
  EXPECT_THAT(shown, HasSubstr("-      \"cost\": 0,\n+      \"cost\": 25,\n"));
  EXPECT_EQ(shown.find("Binary files"), std::string::npos);
}

}  // namespace
