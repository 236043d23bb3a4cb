#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <rapidjson/document.h>

#include <valijson/adapters/rapidjson_adapter.hpp>
#include <valijson/schema.hpp>
#include <valijson/schema_parser.hpp>
#include <valijson/validation_results.hpp>
#include <valijson/validator.hpp>

#include "level/zr3level.h"
#include "merge/merge_conflicts.h"
#include "support/level_builder.h"
#include "support/map_builder.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace {

using ::testing::HasSubstr;
using zr3test::RunCli;

rapidjson::Document Parse(const std::string& text) {
  rapidjson::Document document;
  document.Parse(text.c_str(), text.size());
  EXPECT_FALSE(document.HasParseError()) << text;
  return document;
}

// The committed schema of every --json answer.
class ReportSchema {
 public:
  ReportSchema() {
    schemaDocument_ = Parse(zr3test::ReadFile(ZR3_REPORTS_SCHEMA_PATH));
    valijson::SchemaParser parser;
    valijson::adapters::RapidJsonAdapter adapter(schemaDocument_);
    parser.populateSchema(adapter, schema_);
  }

  // The schema's complaints about the document; empty when it is valid.
  std::string Problems(const rapidjson::Document& document) const {
    valijson::Validator validator;
    valijson::ValidationResults results;
    valijson::adapters::RapidJsonAdapter adapter(document);
    if (validator.validate(schema_, adapter, &results)) return "";
    std::string problems;
    valijson::ValidationResults::Error error;
    while (results.popError(error)) {
      for (const std::string& part : error.context) problems += part;
      problems += ": " + error.description + "\n";
    }
    return problems.empty() ? "invalid" : problems;
  }

 private:
  rapidjson::Document schemaDocument_;
  valijson::Schema schema_;
};

class CliJsonReports : public ::testing::Test {
 protected:
  void SetUp() override {
    zr3test::LevelBuilder builder;
    builder.info.name = "Caf\xe9";  // Windows-1252 e acute
    zr3test::MapFields town = zr3test::NamedMap("Town", 2, 1);
    town.borders[2] = 99;  // no tile carries it
    builder.Add(zr3::Category::Maps, zr3test::MapRecord(town));
    builder.flags[4] = "D\xe9j\xe0";
    built = builder.WriteTo(dir.Path("built.zr3"));
    damaged = dir.Path("damaged.zr3");
    zr3test::WriteFile(damaged, "02012401 and no more");
  }

  // Runs the command, and answers its document after checking it against the schema.
  rapidjson::Document Answer(const std::vector<std::string>& args, int status = 0) {
    const zr3test::CliResult result = RunCli(args);
    EXPECT_EQ(result.status, status) << result.err;
    rapidjson::Document document = Parse(result.out);
    EXPECT_EQ(schema.Problems(document), "") << result.out;
    return document;
  }

  ReportSchema schema;
  zr3test::TempDir dir;
  std::string built;
  std::string damaged;
};

TEST_F(CliJsonReports, InfoCountsEveryCategoryOfEachFile) {
  const rapidjson::Document document = Answer({"info", "--json", ZR3_DEMO_PATH, damaged, built}, 1);
  EXPECT_STREQ(document["format"].GetString(), "zr3-info");
  const auto& files = document["files"];
  ASSERT_EQ(files.Size(), 3u);
  zr3::ZR3Level demo;
  demo.Load(ZR3_DEMO_PATH);
  EXPECT_STREQ(files[0]["file"].GetString(), ZR3_DEMO_PATH);
  EXPECT_EQ(files[0]["counts"]["maps"].GetUint(), demo.List(zr3::Category::Maps).size());
  EXPECT_EQ(files[0]["counts"]["tiles"].GetUint(), demo.List(zr3::Category::Tiles).size());
  EXPECT_STREQ(files[1]["error"].GetString(), "Not a ZR3 File");
  EXPECT_STREQ(files[2]["info"]["name"].GetString(), "Caf\xc3\xa9");
  EXPECT_EQ(files[2]["counts"]["flags"].GetUint(), 256u);
}

TEST_F(CliJsonReports, CheckListsEachProblemWithItsRecord) {
  const rapidjson::Document document = Answer({"check", "--json", built, ZR3_DEMO_PATH}, 1);
  const auto& files = document["files"];
  ASSERT_EQ(files.Size(), 2u);
  EXPECT_EQ(files[0]["problem_count"].GetUint(), 1u);
  ASSERT_EQ(files[0]["problems"].Size(), 1u);
  const auto& problem = files[0]["problems"][0];
  EXPECT_STREQ(problem["category"].GetString(), "maps");
  EXPECT_EQ(problem["index"].GetUint(), 0u);
  EXPECT_THAT(problem["text"].GetString(), HasSubstr("Border S"));
  EXPECT_EQ(files[1]["problem_count"].GetUint(), 0u);
  Answer({"check", "--json", ZR3_DEMO_PATH}, 0);
}

TEST_F(CliJsonReports, CheckNamesAMergesConflictsFile) {
  const std::string level = dir.Path("merged.zr3");
  zr3test::WriteFile(level, zr3test::ReadFile(ZR3_DEMO_PATH));
  zr3::merge::MergeConflict conflict;
  conflict.category = zr3::Category::Items;
  conflict.place.field = "cost";
  conflict.base = conflict.ours = conflict.theirs = "1";
  zr3test::WriteFile(level + ".conflicts.json", zr3::merge::ConflictsToJson({conflict, conflict}));
  const rapidjson::Document document = Answer({"check", "--json", level}, 1);
  const auto& pending = document["files"][0]["merge_conflicts"];
  EXPECT_EQ(pending["file"].GetString(), level + ".conflicts.json");
  EXPECT_EQ(pending["unresolved"].GetUint(), 2u);
}

TEST_F(CliJsonReports, ListAndRefsOfOneRecord) {
  const rapidjson::Document flags = Answer({"list", "--json", built, "flags"});
  EXPECT_STREQ(flags["category"].GetString(), "flags");
  ASSERT_EQ(flags["records"].Size(), 256u);
  EXPECT_STREQ(flags["records"][4]["name"].GetString(), "D\xc3\xa9j\xc3\xa0");
  EXPECT_EQ(flags["records"][4]["index"].GetUint(), 4u);

  // The first graphic is the level's combat screen and is named by records as well: the level
  // information's line names no index.
  const rapidjson::Document refs = Answer({"refs", "--json", ZR3_DEMO_PATH, "tiles", "0"});
  EXPECT_STREQ(refs["name"].GetString(), "Grass");
  const auto& references = refs["references"];
  const std::string text = RunCli({"refs", ZR3_DEMO_PATH, "tiles", "0"}).out;
  // The text form has a heading and an empty line before one line per reference.
  EXPECT_EQ(references.Size() + 2,
            static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')));
  for (const auto& reference : references.GetArray()) {
    EXPECT_THAT(text, HasSubstr(std::string(reference["text"].GetString()) + "\n"));
  }
  const rapidjson::Document screen = Answer({"refs", "--json", ZR3_DEMO_PATH, "graphics", "1"});
  bool general = false;
  for (const auto& reference : screen["references"].GetArray()) {
    general |= std::string(reference["category"].GetString()) == "general";
  }
  EXPECT_TRUE(general);
}

// The schema is no formality: documents of the wrong shape fail it.
TEST_F(CliJsonReports, TheSchemaRefusesOtherShapes) {
  for (
      const char* text : {
          R"({"format": "zr3-info", "format_version": 1})",
          R"({"format": "zr3-list", "format_version": 1, "category": "maps", "records": [{"index": -1, "name": "A"}]})",
          R"({"format": "zr3-check", "format_version": 1, "files": [{"file": "a"}]})",
          R"({"format": "zr3-refs", "format_version": 1, "category": "maps", "index": 0, "name": "A", "references": [{"text": "x", "category": "maps"}]})",
      }) {
    EXPECT_NE(schema.Problems(Parse(text)), "") << text;
  }
}

}  // namespace
