#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "level/zr3level.h"
#include "script/zr3script.h"
#include "support/level_builder.h"
#include "support/run_cli.h"
#include "support/script_builder.h"
#include "support/temp_dir.h"

namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;
using zr3::Category;
using zr3test::RunCli;

// The header line and the three fixed lines of a script without conditions or commands.
std::string EmptyBlock(const std::string& kindWord, const std::string& name) {
  return kindWord + " \"" + name + "\"\r\nconditions:\r\ncommands:\r\nend script\r\n";
}

class CliScripts : public ::testing::Test {
 protected:
  void SetUp() override {
    zr3test::LevelBuilder builder;
    AddScripts(builder, Category::GlobalScripts, {"G1", "G2"}, 10);
    AddScripts(builder, Category::DeathScripts, {"D1"}, 20);
    AddScripts(builder, Category::ObjectScripts, {"O1", "O2"}, 30);
    AddScripts(builder, Category::StartupScripts, {"S1"}, 40);
    level = builder.WriteTo(dir.Path("level.zr3"));
  }
  static void AddScripts(zr3test::LevelBuilder& builder, Category category,
                         const std::vector<std::string>& names, std::uint32_t firstId) {
    std::vector<zr3test::ScriptFields> scripts;
    for (const std::string& name : names) scripts.push_back(zr3test::ScriptWith(name, {}, {}));
    zr3test::ChainIds(scripts, firstId);
    for (const auto& script : scripts) builder.Add(category, zr3test::ScriptBlob(script));
  }
  zr3test::TempDir dir;
  std::string level;
};

TEST_F(CliScripts, ExportWritesAllOneKindOrOneScript) {
  const auto all = RunCli({"export-scripts", level, "-"});
  EXPECT_EQ(all.status, 0) << all.err;
  EXPECT_EQ(all.out, EmptyBlock("globalscript", "G1") + EmptyBlock("globalscript", "G2") +
                         EmptyBlock("deathscript", "D1") + EmptyBlock("objectscript", "O1") +
                         EmptyBlock("objectscript", "O2") + EmptyBlock("startscript", "S1"));

  const auto objects = RunCli({"export-scripts", level, dir.Path("o.txt"), "--kind", "object"});
  EXPECT_EQ(objects.status, 0) << objects.err;
  EXPECT_EQ(zr3test::ReadFile(dir.Path("o.txt")),
            EmptyBlock("objectscript", "O1") + EmptyBlock("objectscript", "O2"));

  const auto one = RunCli({"export-scripts", level, "-", "--kind", "global", "--index", "1"});
  EXPECT_EQ(one.status, 0) << one.err;
  EXPECT_EQ(one.out, EmptyBlock("globalscript", "G2"));
}

TEST_F(CliScripts, ExportRefusesBadChoices) {
  const auto noKind = RunCli({"export-scripts", level, "-", "--index", "0"});
  EXPECT_EQ(noKind.status, 1);
  EXPECT_EQ(noKind.err, "zr3: --index needs --kind\n");
  const auto badKind = RunCli({"export-scripts", level, "-", "--kind", "wizard"});
  EXPECT_EQ(badKind.status, 1);
  EXPECT_THAT(badKind.err, StartsWith("zr3: Unknown script kind \"wizard\""));
  const auto badIndex = RunCli({"export-scripts", level, "-", "--kind", "death", "--index", "1"});
  EXPECT_EQ(badIndex.status, 1);
  EXPECT_THAT(badIndex.err, StartsWith("zr3: No record 1 in death-scripts"));
}

TEST_F(CliScripts, ImportPrintsTheReportAndSaves) {
  zr3test::WriteFile(dir.Path("in.txt"),
                     "objectscript \"O3\"\r\ncommands:\r\nwait 5\r\nend script\r\n");
  const auto result =
      RunCli({"import-scripts", level, dir.Path("in.txt"), "-o", dir.Path("out.zr3")});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out,
            "IMPORT SCRIPTS\n\n-------- First Pass --------\nObject script: O3\n...Added\n"
            "-------- Second Pass --------\nObject script: O3\n...Found\nO3 updated\n");
  zr3::ZR3Level saved;
  saved.Load(dir.Path("out.zr3"));
  ASSERT_EQ(saved.List(Category::ObjectScripts).size(), 3u);
  const auto& added = saved.At<zr3::ZR3Script>(Category::ObjectScripts, 2);
  EXPECT_EQ(added.Name(), "O3");
  EXPECT_EQ(added.Command(0).Parameter(0), 5);
  EXPECT_EQ(saved.At<zr3::ZR3Script>(Category::ObjectScripts, 1).Next(), &added);

  const auto inPlace = RunCli({"import-scripts", level, dir.Path("in.txt"), "--in-place"});
  EXPECT_EQ(inPlace.status, 0) << inPlace.err;
  zr3::ZR3Level replaced;
  replaced.Load(level);
  EXPECT_EQ(replaced.List(Category::ObjectScripts).size(), 3u);
}

TEST_F(CliScripts, FailedImportSavesNothing) {
  const std::string before = zr3test::ReadFile(level);
  zr3test::WriteFile(dir.Path("bad.txt"), "objectscript \"O3\"\nend script\nglobalscript\n");
  const auto bad = RunCli({"import-scripts", level, dir.Path("bad.txt"), "--in-place"});
  EXPECT_EQ(bad.status, 1);
  EXPECT_EQ(bad.out, "IMPORT SCRIPTS\n\nLine 3: script name missing\nNothing was imported.\n");
  EXPECT_EQ(bad.err, "zr3: Line 3: script name missing\n");
  EXPECT_EQ(zr3test::ReadFile(level), before);

  const auto missing =
      RunCli({"import-scripts", level, dir.Path("none.txt"), "-o", dir.Path("out.zr3")});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, "zr3: Cannot open file " + dir.Path("none.txt") + "\n");
  EXPECT_FALSE(std::filesystem::exists(dir.Path("out.zr3")));

  const auto nowhere = RunCli({"import-scripts", level, dir.Path("bad.txt")});
  EXPECT_EQ(nowhere.status, 1);
  EXPECT_THAT(nowhere.err, HasSubstr("-o OUT or --in-place"));
}

}  // namespace
