#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include <cstdlib>
#include <valijson/adapters/rapidjson_adapter.hpp>
#include <valijson/schema.hpp>
#include <valijson/schema_parser.hpp>
#include <valijson/validator.hpp>

#include "compare/diff_helpers.h"
#include "edit/field_edit.h"
#include "edit/rename.h"
#include "support/edit_levels.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace {

using namespace zr3;
using zr3test::RunCli;

// The world as OLD, and as NEW with the first item renamed and the second one's cost changed.
class CliDiffTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ZR3Level level;
    zr3test::LoadWorld(level);
    zr3test::WriteFile(oldPath_, level.SaveToBytes());
    RenameRecord(level, Category::Items, 0, "Hatchet");
    EditField(level, {Category::Items, 1}, "cost", "12");
    zr3test::WriteFile(newPath_, level.SaveToBytes());
  }

  zr3test::TempDir dir_;
  std::string oldPath_ = dir_.Path("old.zr3");
  std::string newPath_ = dir_.Path("new.zr3");
};

TEST_F(CliDiffTest, ExitsAsDiffDoes) {
  const zr3test::CliResult same = RunCli({"diff", oldPath_, oldPath_});
  EXPECT_EQ(same.status, 0);
  EXPECT_EQ(same.out, "");
  const zr3test::CliResult different = RunCli({"diff", oldPath_, newPath_});
  EXPECT_EQ(different.status, 1);
  EXPECT_NE(different.out.find("renamed 0: \"Axe\""), std::string::npos) << different.out;
  EXPECT_EQ(different.out.find("\x1b["), std::string::npos);
  EXPECT_NE(RunCli({"diff", "--color=always", oldPath_, newPath_}).out.find("\x1b["),
            std::string::npos);
  EXPECT_EQ(RunCli({"diff", "--stat", oldPath_, newPath_}).out,
            "Items: 1 renamed, 1 changed\n2 record changes, 0 level information fields\n");

  const std::string damaged = dir_.Path("damaged.zr3");
  zr3test::WriteFile(damaged, zr3test::ReadFile(newPath_).substr(0, 5000));
  const zr3test::CliResult trouble = RunCli({"diff", oldPath_, damaged});
  EXPECT_EQ(trouble.status, 2);
  EXPECT_EQ(trouble.err.rfind("zr3: ", 0), 0u) << trouble.err;
  EXPECT_EQ(trouble.out, "");
}

TEST_F(CliDiffTest, ALevelThroughJsonIsTheSame) {
  const std::string json = dir_.Path("level.json");
  const std::string imported = dir_.Path("imported.zr3");
  ASSERT_EQ(RunCli({"export-json", newPath_, json}).status, 0);
  ASSERT_EQ(RunCli({"import-json", json, "-o", imported}).status, 0);
  EXPECT_EQ(RunCli({"diff", newPath_, imported}).status, 0);
}

TEST_F(CliDiffTest, JsonFollowsItsSchema) {
  const zr3test::CliResult result = RunCli({"diff", "--json", oldPath_, newPath_});
  EXPECT_EQ(result.status, 1);
  rapidjson::Document document;
  ASSERT_FALSE(document.Parse(result.out.c_str()).HasParseError()) << result.out;
  rapidjson::Document schemaDocument;
  ASSERT_FALSE(
      schemaDocument.Parse(zr3test::ReadFile(ZR3_DIFF_SCHEMA_PATH).c_str()).HasParseError());
  valijson::Schema schema;
  valijson::SchemaParser parser;
  parser.populateSchema(valijson::adapters::RapidJsonAdapter(schemaDocument), schema);
  valijson::Validator validator;
  valijson::ValidationResults errors;
  EXPECT_TRUE(validator.validate(schema, valijson::adapters::RapidJsonAdapter(document), &errors));
  valijson::ValidationResults::Error error;
  while (errors.popError(error)) ADD_FAILURE() << error.description;

  EXPECT_FALSE(document["same"].GetBool());
  const rapidjson::Value& items = document["lists"][0];
  EXPECT_STREQ(items["list"].GetString(), "items");
  EXPECT_STREQ(items["renamed"][0]["after"].GetString(), "Hatchet");
  EXPECT_STREQ(items["changed"][0]["fields"][0]["field"].GetString(), "cost");
  EXPECT_STREQ(items["changed"][0]["fields"][0]["after"].GetString(), "12");
}

// git diff of a level after git-setup shows the report; git-setup twice changes nothing.
TEST_F(CliDiffTest, GitDiffShowsTheReportAfterGitSetup) {
  const std::string repo = dir_.Path("repo");
  const std::string git = "cd '" + repo + "' && git ";
  const auto run = [](const std::string& command) { return std::system(command.c_str()); };
  ASSERT_EQ(run("mkdir '" + repo + "' && " + git + "init -q && " + git +
                "config user.name Tester && " + git + "config user.email tester@example.org"),
            0);
  const std::string zr3 = ZR3_CLI_PATH;
  ASSERT_EQ(run("cd '" + repo + "' && '" + zr3 + "' git-setup > setup1.txt && '" + zr3 +
                "' git-setup > setup2.txt"),
            0);
  EXPECT_NE(zr3test::ReadFile(repo + "/setup1.txt").find("added *.zr3 diff=zr3"),
            std::string::npos);
  EXPECT_NE(zr3test::ReadFile(repo + "/setup2.txt").find("already has *.zr3 diff=zr3"),
            std::string::npos);
  EXPECT_EQ(zr3test::ReadFile(repo + "/.gitattributes"), "*.zr3 diff=zr3 merge=zr3\n");

  zr3test::WriteFile(repo + "/level.zr3", zr3test::ReadFile(oldPath_));
  ASSERT_EQ(run(git + "add level.zr3 .gitattributes && " + git + "commit -qm old"), 0);
  zr3test::WriteFile(repo + "/level.zr3", zr3test::ReadFile(newPath_));
  ASSERT_EQ(run(git + "commit -qam new"), 0);
  ASSERT_EQ(run(git + "diff HEAD~1 HEAD > diff.txt && " + git +
                "log -p --ext-diff -1 > log.txt && " + git + "log -p -1 > listing.txt"),
            0);
  for (const char* output : {"/diff.txt", "/log.txt"}) {
    const std::string text = zr3test::ReadFile(repo + output);
    EXPECT_NE(text.find("zr3 diff level.zr3\nItems\n  renamed 0: \"Axe\""), std::string::npos)
        << text;
    EXPECT_NE(text.find("    cost: 0 \xE2\x86\x92 12"), std::string::npos) << text;
  }
  // Without --ext-diff git log diffs the listings: the changed lines and their records only.
  const std::string listing = zr3test::ReadFile(repo + "/listing.txt");
  EXPECT_NE(listing.find("\n-Items \"Axe\"\n+Items \"Hatchet\"\n"), std::string::npos) << listing;
  EXPECT_NE(listing.find("\n-  cost: 0\n+  cost: 12\n"), std::string::npos) << listing;
}

}  // namespace
