#include <gtest/gtest.h>
#include <rapidjson/document.h>
#include <rapidjson/pointer.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include <cctype>
#include <memory>
#include <string>
#include <utility>
#include <valijson/adapters/rapidjson_adapter.hpp>
#include <valijson/schema.hpp>
#include <valijson/schema_parser.hpp>
#include <valijson/validator.hpp>

#include "json/json_export.h"
#include "json/json_import.h"
#include "json/json_levels.h"
#include "level/file_source.h"
#include "stress_level.h"
#include "support/edit_levels.h"
#include "support/item_builder.h"
#include "support/record_helpers.h"

namespace {

using zr3::json::ImportLevelJson;
using zr3::json::JsonImportError;
using zr3::json::LevelJson;

// The committed schema, parsed once for every test.
const valijson::Schema& CommittedSchema() {
  static const std::unique_ptr<valijson::Schema> schema = [] {
    rapidjson::Document document;
    document.Parse(zr3::ReadWholeFile(ZR3_SCHEMA_PATH).c_str());
    EXPECT_FALSE(document.HasParseError());
    auto parsed = std::make_unique<valijson::Schema>();
    valijson::SchemaParser parser(valijson::SchemaParser::kDraft7);
    parser.populateSchema(valijson::adapters::RapidJsonAdapter(document), *parsed);
    return parsed;
  }();
  return *schema;
}

// The schema's complaints about the document, one line each; empty when it is valid.
std::string SchemaErrors(const rapidjson::Document& document) {
  valijson::Validator validator;
  valijson::ValidationResults results;
  if (validator.validate(CommittedSchema(), valijson::adapters::RapidJsonAdapter(document),
                         &results)) {
    return {};
  }
  std::string text;
  valijson::ValidationResults::Error error;
  while (results.popError(error)) {
    for (const std::string& step : error.context) text += step;
    text += ": " + error.description + "\n";
  }
  return text.empty() ? "refused" : text;
}

rapidjson::Document Parsed(const std::string& text) {
  rapidjson::Document document;
  document.Parse(text.c_str());
  EXPECT_FALSE(document.HasParseError());
  return document;
}

void ExpectExportValid(const std::string& file) {
  const std::string document = LevelJson(*zr3test::LoadLevel(file));
  EXPECT_EQ(SchemaErrors(Parsed(document)), "");
}

TEST(JsonSchemaContract, ExportsOfEveryTestLevelAreValid) {
  ExpectExportValid(zr3::ReadWholeFile(ZR3_DEMO_PATH));
  ExpectExportValid(zr3test::World().Build().Bytes());
  ExpectExportValid(zr3test::UnresolvedLevel().Build().Bytes());
  ExpectExportValid(zr3test::AllBytesLevel().Build().Bytes());
  ExpectExportValid(zr3test::LevelBuilder().Build().Bytes());
  for (std::uint32_t seed = 1; seed <= 10; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    ExpectExportValid(zr3test::RandomLevel(seed).Build().Bytes());
  }
}

TEST(JsonSchemaContract, AFullListIsValid) {
  zr3test::LevelBuilder builder;
  for (std::uint32_t i = 0; i < zr3::ZR3Level::kMaxRecords; ++i) {
    builder.Add(zr3::Category::Items,
                zr3test::ItemBlob({.name = "Item " + std::to_string(i), .id = i + 1}));
  }
  ExpectExportValid(builder.Build().Bytes());
}

TEST(JsonSchemaContract, StressLevelIsValid) {
  ExpectExportValid(zr3bench::BuildStressLevel(zr3bench::SizeNamed("large/64")));
}

// A change to a valid export: the value at the pointer replaced, or removed when value is
// empty, or a member added to the object at the pointer when key is given.
struct Refused {
  explicit Refused(std::string at, std::string with = {}, std::string member = {})
      : pointer(std::move(at)), value(std::move(with)), key(std::move(member)) {}

  std::string pointer;
  std::string value;
  std::string key;
};

std::ostream& operator<<(std::ostream& out, const Refused& refused) {
  return out << refused.pointer << " " << refused.key << " " << refused.value;
}

class JsonSchemaRefusal : public testing::TestWithParam<Refused> {};

// What the schema refuses, the import refuses as well.
TEST_P(JsonSchemaRefusal, SchemaAndImportBothRefuse) {
  const Refused& change = GetParam();
  const std::string valid = LevelJson(*zr3test::LoadLevel(zr3test::World().Build().Bytes()));
  rapidjson::Document document = Parsed(valid);
  ASSERT_EQ(SchemaErrors(document), "");
  auto& allocator = document.GetAllocator();
  rapidjson::Value* target = rapidjson::Pointer(change.pointer.c_str()).Get(document);
  ASSERT_NE(target, nullptr) << change.pointer;
  if (!change.key.empty()) {
    rapidjson::Document value(&allocator);
    value.Parse(change.value.c_str());
    target->AddMember(rapidjson::Value(change.key.c_str(), allocator),
                      rapidjson::Value(value, allocator), allocator);
  } else if (change.value.empty()) {
    ASSERT_TRUE(rapidjson::Pointer(change.pointer.c_str()).Erase(document));
  } else {
    rapidjson::Document value(&allocator);
    value.Parse(change.value.c_str());
    ASSERT_FALSE(value.HasParseError()) << change.value;
    target->CopyFrom(value, allocator);
  }
  EXPECT_NE(SchemaErrors(document), "");
  rapidjson::StringBuffer text;
  rapidjson::Writer<rapidjson::StringBuffer> writer(text);
  document.Accept(writer);
  EXPECT_THROW(ImportLevelJson(text.GetString()), JsonImportError);
}

INSTANTIATE_TEST_SUITE_P(
    Documents, JsonSchemaRefusal,
    testing::Values(Refused{"/format", "\"zr3\""}, Refused{"/format_version", "2"},
                    Refused{"/header", "\"02012401\""}, Refused{"/info"}, Refused{"/maps"},
                    Refused{"/flags/0", "7"},
                    Refused{"/groups/19", "\"" + std::string(33, 'g') + "\""},
                    Refused{"/opaque", "\"00\""}, Refused{"/custom-text", "[\"a\"]"},
                    Refused{"", "1", "surplus"}, Refused{"/maps/0", "1", "surplus"},
                    Refused{"/maps/0/name", "\"" + std::string(33, 'n') + "\""},
                    Refused{"/maps/0/size", "-1"}, Refused{"/maps/0/size", "65536"},
                    Refused{"/maps/0/size", "1.5"}, Refused{"/maps/0/border_north", "\"Wall\""},
                    Refused{"/maps/0/border_north", "{\"unresolved\": -1}"},
                    Refused{"/maps/0/border_north", "{}"}, Refused{"/maps/0/cells/0/0", "[0, 0]"},
                    Refused{"/tiles/0/id", "4294967296"}, Refused{"/tiles/0/name", "true"},
                    Refused{"/items/0/cost", "32768"}, Refused{"/items/0", "3", "surplus"},
                    Refused{"/global-scripts/0/conditions", "[]"},
                    Refused{"/global-scripts/0/commands/0/parameters", "[1, 2]"},
                    Refused{"/global-scripts/0/commands/0/code", "65536"},
                    Refused{"/global-scripts/0/opaque", "\"zz00\""},
                    Refused{"/palettes/0/colours", "\"00\""}),
    [](const testing::TestParamInfo<Refused>& info) {
      std::string name = std::to_string(info.index) + "_";
      for (const char c : info.param.pointer + info.param.key) {
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
      }
      return name;
    });

}  // namespace
