#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "support/level_builder.h"
#include "support/map_builder.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace {

using ::testing::HasSubstr;
using zr3test::ReadFile;
using zr3test::RunCli;

// A command that takes several levels: its name, its options, and where a level's answer
// goes: standard output (empty extension) or a file per level under --output-dir.
struct BatchCase {
  std::string command;
  std::vector<std::string> options;
  std::string extension;
  // The single-level form's words after LEVEL that write to OUT; OUT is appended.
  std::vector<std::string> singleWords;
};

// Names the case in the test's output.
void PrintTo(const BatchCase& c, std::ostream* out) {
  *out << c.command;
}

std::string CaseName(const ::testing::TestParamInfo<BatchCase>& info) {
  std::string name = info.param.command;
  std::replace(name.begin(), name.end(), '-', '_');
  return name;
}

// The demo, a level with a problem (a border no tile carries) and a damaged file, in the order
// given on the command line.
class CliBatch : public ::testing::TestWithParam<BatchCase> {
 protected:
  void SetUp() override {
    zr3test::LevelBuilder builder;
    zr3test::MapFields town = zr3test::NamedMap("Town", 2, 1);
    town.borders[0] = 77;
    builder.Add(zr3::Category::Maps, zr3test::MapRecord(town));
    built = builder.WriteTo(dir.Path("built.zr3"));
    damaged = dir.Path("damaged.zr3");
    zr3test::WriteFile(damaged, ReadFile(ZR3_DEMO_PATH).substr(0, 3000));
    levels = {ZR3_DEMO_PATH, damaged, built};
  }

  std::vector<std::string> Args(const std::vector<std::string>& files,
                                const std::vector<std::string>& extra = {}) const {
    std::vector<std::string> args{GetParam().command};
    args.insert(args.end(), GetParam().options.begin(), GetParam().options.end());
    args.insert(args.end(), extra.begin(), extra.end());
    if (!GetParam().extension.empty()) {
      args.push_back("--output-dir");
      args.push_back(dir.Path("out"));
    }
    args.insert(args.end(), files.begin(), files.end());
    return args;
  }

  // What the single-level form writes for level: its standard output, or its file.
  std::string SingleAnswer(const std::string& level) const {
    const BatchCase& c = GetParam();
    std::vector<std::string> args{c.command};
    args.insert(args.end(), c.options.begin(), c.options.end());
    args.push_back(level);
    if (c.extension.empty()) return RunCli(args).out;
    const std::string out = dir.Path("single" + c.extension);
    args.insert(args.end(), c.singleWords.begin(), c.singleWords.end());
    args.push_back(out);
    EXPECT_EQ(RunCli(args).status, 0);
    return ReadFile(out);
  }

  std::string OutputOf(const std::string& level) const {
    return dir.Path("out/" + std::filesystem::path(level).stem().string() + GetParam().extension);
  }

  zr3test::TempDir dir;
  std::string built;
  std::string damaged;
  std::vector<std::string> levels;
};

TEST_P(CliBatch, ReportsEachFileInOrderAndNamesTheDamagedOne) {
  const zr3test::CliResult result = RunCli(Args(levels));
  EXPECT_EQ(result.status, 1);
  EXPECT_THAT(result.err, HasSubstr("zr3: " + damaged + ": "));
  EXPECT_THAT(result.err, HasSubstr("zr3: 1 of 3 files failed: " + damaged + "\n"));
  const BatchCase& c = GetParam();
  if (!c.extension.empty()) {
    // Each good level's file is what the single form writes; the damaged one has none.
    for (const std::string& level : {std::string(ZR3_DEMO_PATH), built}) {
      EXPECT_EQ(ReadFile(OutputOf(level)), SingleAnswer(level)) << level;
      EXPECT_THAT(result.out, HasSubstr(level + " -> " + OutputOf(level) + "\n"));
    }
    EXPECT_FALSE(std::filesystem::exists(OutputOf(damaged)));
    return;
  }
  // Each block names its file and holds what the single form prints, in the order given.
  EXPECT_EQ(result.out, "==> " + levels[0] + " <==\n" + SingleAnswer(levels[0]) + "\n==> " +
                            levels[1] + " <==\n\n==> " + levels[2] + " <==\n" +
                            SingleAnswer(levels[2]));
}

TEST_P(CliBatch, OneWorkerAndSeveralGiveTheSameAnswers) {
  const std::vector<std::string> many = {built, ZR3_DEMO_PATH, damaged, built, ZR3_DEMO_PATH};
  const zr3test::CliResult one = RunCli(Args(many, {"--jobs", "1"}));
  const zr3test::CliResult several = RunCli(Args(many, {"-j", "3"}));
  EXPECT_EQ(one.status, several.status);
  EXPECT_EQ(one.err, several.err);
  if (GetParam().extension.empty()) {
    EXPECT_EQ(one.out, several.out);
  }
}

const BatchCase kBatchCases[] = {
    {"check", {}, "", {}},
    {"info", {}, "", {}},
    {"export-text", {}, ".txt", {}},
    {"export-json", {}, ".json", {}},
};
INSTANTIATE_TEST_SUITE_P(Commands, CliBatch, ::testing::ValuesIn(kBatchCases), CaseName);

TEST(CliBatchCheck, FindingsAndFailuresAreNamedApart) {
  zr3test::TempDir dir;
  zr3test::LevelBuilder builder;
  builder.flags[0] = "Gold";
  builder.flags[1] = "Gold";
  const std::string found = builder.WriteTo(dir.Path("found.zr3"));
  const std::string missing = dir.Path("missing.zr3");
  const auto result = RunCli({"check", ZR3_DEMO_PATH, found, missing});
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.err, "zr3: " + missing + ": Cannot open file " + missing + "\n" +
                            "zr3: 1 of 3 files failed: " + missing + "\n" +
                            "zr3: problems found in 1 of 3 files: " + found + "\n");
  const auto clean = RunCli({"check", ZR3_DEMO_PATH, ZR3_DEMO_PATH});
  EXPECT_EQ(clean.status, 0) << clean.err;
  EXPECT_EQ(clean.err, "");
}

TEST(CliBatchRender, EveryMapOfEveryLevelIntoTheFolder) {
  zr3test::TempDir dir;
  const std::string out = dir.Path("maps");
  const auto result = RunCli(
      {"render-map", "--output-dir", out, ZR3_DEMO_PATH, "--cell", "4", dir.Path("missing.zr3")});
  EXPECT_EQ(result.status, 1);
  EXPECT_THAT(result.err, HasSubstr("zr3: 1 of 2 files failed: " + dir.Path("missing.zr3")));
  for (const std::string index : {"0", "1"}) {
    const std::string batch = out + "/demo-" + index + ".png";
    EXPECT_THAT(result.out, HasSubstr(batch + "\n"));
    const std::string single = dir.Path("single.png");
    ASSERT_EQ(RunCli({"render-map", ZR3_DEMO_PATH, index, single, "--cell", "4"}).status, 0);
    EXPECT_EQ(ReadFile(batch), ReadFile(single)) << index;
  }
  const auto one = RunCli({"render-map", "--output-dir", out, "--map", "1", ZR3_DEMO_PATH});
  EXPECT_EQ(one.status, 0) << one.err;
  EXPECT_EQ(one.out, out + "/demo-1.png\n");
}

TEST(CliBatchRender, LevelsThatWouldShareAnOutputAreRefused) {
  zr3test::TempDir dir;
  std::filesystem::create_directory(dir.Path("other"));
  zr3test::WriteFile(dir.Path("other/demo.zr3"), ReadFile(ZR3_DEMO_PATH));
  const auto result = RunCli(
      {"export-text", "--output-dir", dir.Path("out"), ZR3_DEMO_PATH, dir.Path("other/demo.zr3")});
  EXPECT_EQ(result.status, 1);
  EXPECT_THAT(result.err, HasSubstr("would both be written to demo.txt"));
  EXPECT_FALSE(std::filesystem::exists(dir.Path("out/demo.txt")));
}

// A usage error exits with 2 and one line that says what to read; help and version exit 0.
TEST(CliUsage, UsageErrorsExitWithTwoAndAOneLineHint) {
  zr3test::TempDir dir;
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"frob"}, "zr3: unknown command \"frob\"; see 'zr3 --help'\n"},
      {{}, "zr3: A subcommand is required; see 'zr3 --help'\n"},
      {{"check", "--frob", ZR3_DEMO_PATH},
       "zr3: The following argument was not expected: --frob; see 'zr3 check --help'\n"},
      {{"check"}, "zr3: LEVEL is required; see 'zr3 check --help'\n"},
      {{"render-map", ZR3_DEMO_PATH},
       "zr3: render-map takes LEVEL INDEX OUT.png, or LEVEL... with --output-dir; see 'zr3 "
       "render-map --help'\n"},
      {{"render-map", ZR3_DEMO_PATH, "one", dir.Path("x.png")},
       "zr3: The value one is not an allowed value for INDEX; see 'zr3 render-map --help'\n"},
      {{"export-text", ZR3_DEMO_PATH},
       "zr3: export-text takes LEVEL OUT, or LEVEL... with --output-dir; see 'zr3 export-text "
       "--help'\n"},
      {{"paint", ZR3_DEMO_PATH, "0", "4", "0", "0,0", "-o", dir.Path("x.zr3")},
       "zr3: LAYER: Value 4 not in range 1 to 3; see 'zr3 paint --help'\n"},
  };
  for (const auto& [args, message] : cases) {
    const auto result = RunCli(args);
    EXPECT_EQ(result.status, 2) << message;
    EXPECT_EQ(result.err, message);
    EXPECT_EQ(result.out, "");
  }
  for (const std::string option : {"--help", "--version"}) {
    EXPECT_EQ(RunCli({option}).status, 0) << option;
  }
  EXPECT_EQ(RunCli({"check", "--help"}).status, 0);
}

}  // namespace
