#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "level/zr3level.h"
#include "support/level_builder.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;
using zr3test::RunCli;

class CliBasics : public ::testing::Test {
 protected:
  void SetUp() override {
    builder.info.name = "Cli Level";
    builder.flags[3] = "Door";
    builder.flags[4] =
        "\xC9p\xE9"
        "e";  // "Épée" in the level's code page
    level = builder.WriteTo(dir.Path("level.zr3"));
  }
  zr3test::TempDir dir;
  zr3test::LevelBuilder builder;
  std::string level;
};

TEST_F(CliBasics, SaveWritesTheSameBytes) {
  const auto result = RunCli({"save", level, dir.Path("copy.zr3")});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(zr3test::ReadFile(dir.Path("copy.zr3")), zr3test::ReadFile(level));
}

TEST_F(CliBasics, InfoListsInformationAndCounts) {
  const auto result = RunCli({"info", level});
  EXPECT_EQ(result.status, 0);
  EXPECT_THAT(result.out, StartsWith("Header: 02012400\nName: Cli Level\n"));
  EXPECT_THAT(result.out, HasSubstr("\nmaps: 0\n"));
  EXPECT_THAT(result.out, HasSubstr("\nflags: 256\n"));
}

// Printed, the level text is UTF-8 lines as every printed text; the file keeps the level's
// bytes and its CR LF line ends.
TEST_F(CliBasics, ExportTextPrintsUtf8AndWritesTheLevelsBytesToAFile) {
  const auto toStdout = RunCli({"export-text", level, "-"});
  EXPECT_EQ(toStdout.status, 0);
  EXPECT_THAT(toStdout.out, HasSubstr("Name: Cli Level\n"));
  EXPECT_THAT(toStdout.out, HasSubstr("\n3: Door\n4: \xC3\x89p\xC3\xA9"
                                      "e\n"));
  EXPECT_EQ(toStdout.out.find('\r'), std::string::npos);
  const auto toFile = RunCli({"export-text", level, dir.Path("level.txt")});
  EXPECT_EQ(toFile.status, 0);
  const std::string file = zr3test::ReadFile(dir.Path("level.txt"));
  EXPECT_THAT(file, HasSubstr("\r\n3: Door\r\n4: \xC9p\xE9"
                              "e\r\n"));
  EXPECT_EQ(std::count(file.begin(), file.end(), '\n'),
            std::count(toStdout.out.begin(), toStdout.out.end(), '\n'));
}

TEST(CliPrinting, InfoPrintsTheLevelsTextAsUtf8) {
  zr3test::TempDir dir;
  zr3test::LevelBuilder builder;
  builder.info.name = "Caf\xE9";
  const std::string level = builder.WriteTo(dir.Path("cafe.zr3"));
  EXPECT_THAT(RunCli({"info", level}).out, HasSubstr("\nName: Caf\xC3\xA9\n"));
}

TEST_F(CliBasics, ListAndShow) {
  const auto list = RunCli({"list", level, "flags"});
  EXPECT_EQ(list.status, 0);
  EXPECT_THAT(list.out, StartsWith("0\t\n1\t\n2\t\n3\tDoor\n4\t\xC3\x89p\xC3\xA9"
                                   "e\n"));
  const auto show = RunCli({"show", level, "flags", "3"});
  EXPECT_EQ(show.out, "Name: Door\n");
  const auto general = RunCli({"show", level, "general"});
  EXPECT_THAT(general.out, StartsWith("Header: 02012400\nName: Cli Level\nVersion: \n"));
}

TEST_F(CliBasics, BadInputExitsWithStatusOne) {
  zr3test::WriteFile(dir.Path("bad.zr3"), "02012401 and more");
  zr3test::WriteFile(dir.Path("short.zr3"), zr3test::ReadFile(level).substr(0, 5000));
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"info", dir.Path("bad.zr3")}, "zr3: Not a ZR3 File\n"},
      {{"info", dir.Path("missing.zr3")},
       "zr3: Cannot open file " + dir.Path("missing.zr3") + "\n"},
      {{"info", dir.Path("short.zr3")}, "zr3: Unexpected end of file while loading Flags\n"},
      {{"save", level, dir.Path("no/such/folder.zr3")},
       "zr3: Cannot create file " + dir.Path("no/such/folder.zr3") + "\n"},
      {{"show", level, "flags", "256"}, "zr3: No record 256 in flags (it holds 256)\n"},
      {{"show", level, "flags", "-1"}, "zr3: No record -1 in flags (it holds 256)\n"},
  };
  for (const auto& [args, message] : cases) {
    const auto result = RunCli(args);
    EXPECT_EQ(result.status, 1) << args[0];
    EXPECT_EQ(result.err, message);
  }
  const auto unknown = RunCli({"list", level, "wizards"});
  EXPECT_EQ(unknown.status, 1);
  EXPECT_THAT(unknown.err, StartsWith("zr3: Unknown category \"wizards\""));
}

TEST(Cli, HelpAndVersion) {
  const auto help = RunCli({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_THAT(help.out, HasSubstr("export-text"));
  const auto version = RunCli({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_THAT(version.out, StartsWith("zr3 "));
}

}  // namespace

namespace {

// Every category of the demo level lists and shows through the command line.
TEST(Cli, ListsAndShowsEveryCategoryOfTheDemo) {
  zr3::ZR3Level demo;
  demo.Load(ZR3_DEMO_PATH);
  for (std::size_t c = 0; c < zr3::kCategoryCount; ++c) {
    const auto category = static_cast<zr3::Category>(c);
    const std::string name(zr3::InfoOf(category).commandName);
    const zr3::RecordList& records = demo.List(category);
    SCOPED_TRACE(name);
    const auto list = RunCli({"list", ZR3_DEMO_PATH, name});
    EXPECT_EQ(list.status, 0);
    EXPECT_THAT(list.out, StartsWith("0\t" + records.front()->Name() + "\n"));
    EXPECT_EQ(std::count(list.out.begin(), list.out.end(), '\n'),
              static_cast<long>(records.size()));

    const std::size_t last = records.size() - 1;
    zr3::Lines expected;
    records[last]->Describe(expected);
    std::string text;
    for (const std::string& line : expected) text += line + "\n";
    EXPECT_EQ(RunCli({"show", ZR3_DEMO_PATH, name, std::to_string(last)}).out, text);
  }
}

}  // namespace

// Output that never reached its reader is a failure with a message, never a silent success.
TEST_F(CliBasics, PrintingToAFullDeviceFails) {
  for (const std::string& command : {"export-text " + level + " -", "info " + level}) {
    const std::string errors = dir.Path("errors.txt");
    const int status = std::system(
        (std::string(ZR3_CLI_PATH) + " " + command + " >/dev/full 2>" + errors).c_str());
    ASSERT_TRUE(WIFEXITED(status)) << command;
    EXPECT_EQ(WEXITSTATUS(status), 1) << command;
    EXPECT_THAT(zr3test::ReadFile(errors), HasSubstr("Cannot write to standard output")) << command;
  }
}
