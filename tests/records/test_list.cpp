#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "level/bytes.h"
#include "level/zr3level.h"
#include "records/zr3list.h"
#include "support/compare.h"
#include "support/level_builder.h"
#include "support/list_builder.h"

namespace {

using zr3::Category;
using zr3::ZR3Level;
using zr3::ZR3List;
using zr3test::LevelBuilder;
using zr3test::ListBlob;
using zr3test::ListFields;

// A stand-in for a script record: a list needs nothing of a script but its place in a list,
// its own identifier and its name. It remembers the save identifier it was written with.
class StandInScript : public zr3::ZR3ChainRecord {
 public:
  StandInScript(Category category, std::string name, std::uint32_t id) : category_(category) {
    name_ = std::move(name);
    zr3test::Blob chain;
    chain.U32(0).U32(0).U32(id);
    zr3::ByteReader in(chain.Bytes());
    ReadChain(in);
  }
  Category ListCategory() const override { return category_; }
  void Describe(zr3::Lines&) const override {}
  void Write(zr3::ByteWriter& out) override {
    written = SaveId();
    WriteChain(out);
  }
  void CopyTo(zr3::ZR3Base&) const override {}

  std::uint32_t written = 0;

 private:
  Category category_;
};

StandInScript& AddScript(ZR3Level& level, Category category, std::string name, std::uint32_t id) {
  zr3::RecordList& list = level.List(category);
  list.push_back(std::make_unique<StandInScript>(category, std::move(name), id));
  list.back()->SetPosition(static_cast<int>(list.size() - 1));
  return static_cast<StandInScript&>(*list.back());
}

zr3::Lines Described(const ZR3List& list) {
  zr3::Lines lines;
  list.Describe(lines);
  return lines;
}

// The lists are the last section of the file.
std::size_t LastListOffset(const std::string& saved) {
  return saved.size() - ZR3List::kSize;
}

}  // namespace

TEST(List, DescribesOptionsAndUnresolvedResultsBelowTheCount) {
  ListFields spec{.name = "Question", .count = 2, .opaque = "\xab\xcd", .id = 0x11};
  spec.optionTexts = {"Yes", "No", "Hidden"};
  spec.resultIds = {5, 0, 7};
  LevelBuilder builder;
  builder.Add(Category::Lists, ListBlob(spec));
  ZR3Level level;
  level.LoadFromBytes(builder.Build().Bytes());

  const zr3::Lines expected = {
      "Name: Question",        "Option 0: Yes",  "Option 1: No",   "Result 0: 05 00 00 00",
      "Result 1: 00 00 00 00", "Count: 2",       "Unknown: ab cd", "Next Id: 00 00 00 00",
      "Prev Id: 00 00 00 00",  "Id: 11 00 00 00"};
  EXPECT_EQ(Described(level.At<ZR3List>(Category::Lists, 0)), expected);
}

TEST(List, UnresolvedResultsAreSavedAsZeroWhileTextsBeyondTheCountAreKept) {
  ListFields spec{.name = "Question", .count = 2, .opaque = "\x01\x02", .id = 3};
  spec.optionTexts = {"Yes", "No", "Hidden", "", "", "", "", "", "", "Last"};
  spec.resultIds = {5, 0, 7, 0, 0, 0, 0, 0, 0, 9};
  LevelBuilder builder;
  builder.Add(Category::Lists, ListBlob(spec));
  ZR3Level level;
  level.LoadFromBytes(builder.Build().Bytes());
  const std::string saved = level.SaveToBytes();
  ASSERT_EQ(saved.size() - LastListOffset(saved), 408u);

  ListFields written = spec;
  written.resultIds = {};
  LevelBuilder expected;
  expected.Add(Category::Lists, ListBlob(written));
  EXPECT_TRUE(zr3test::SameModuloIds(expected.Build(), saved));
}

TEST(List, CountZeroDescribesNoOptionsAndSavesZeroResults) {
  ListFields spec{.name = "Empty", .count = 0};
  spec.optionTexts[0] = "Unused";
  spec.resultIds = {4, 4, 4, 4, 4, 4, 4, 4, 4, 4};
  LevelBuilder builder;
  builder.Add(Category::Lists, ListBlob(spec));
  ZR3Level level;
  level.LoadFromBytes(builder.Build().Bytes());
  const zr3::Lines lines = Described(level.At<ZR3List>(Category::Lists, 0));
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[1], "Count: 0");

  const std::string saved = level.SaveToBytes();
  EXPECT_EQ(saved.substr(LastListOffset(saved) + 352, 40), std::string(40, '\0'));
}

TEST(List, CountAboveTenIsKeptAndOnlyTenOptionsAreUsed) {
  ListFields spec{.name = "Many", .count = 12};
  for (std::size_t i = 0; i < 10; ++i) {
    spec.optionTexts[i] = "Choice " + std::to_string(i);
    spec.resultIds[i] = 5;
  }
  LevelBuilder builder;
  builder.Add(Category::Lists, ListBlob(spec));
  ZR3Level level;
  level.LoadFromBytes(builder.Build().Bytes());

  const zr3::Lines lines = Described(level.At<ZR3List>(Category::Lists, 0));
  ASSERT_EQ(lines.size(), 1u + 10 + 10 + 5);
  EXPECT_EQ(lines[10], "Option 9: Choice 9");
  EXPECT_EQ(lines[11], "Result 0: 05 00 00 00");
  EXPECT_EQ(lines[20], "Result 9: 05 00 00 00");
  EXPECT_EQ(lines[21], "Count: 12");

  const std::string saved = level.SaveToBytes();
  EXPECT_EQ(zr3test::U16At(saved, LastListOffset(saved) + 392), 12u);

  // All ten results link when the count exceeds them.
  StandInScript& script = AddScript(level, Category::ObjectScripts, "Pick", 5);
  level.LinkAll();
  const ZR3List& list = level.At<ZR3List>(Category::Lists, 0);
  for (std::size_t i = 0; i < 10; ++i) EXPECT_EQ(list.Result(i), &script) << i;
  EXPECT_EQ(Described(list)[20], "Result 9: Pick");
}

TEST(List, ResultsLinkToTheFirstObjectScriptBelowTheCountOnly) {
  ListFields spec{.name = "Menu", .count = 3, .id = 40};
  spec.optionTexts = {"Fight", "Talk", "Flee", "Beyond"};
  spec.resultIds = {5, 0, 7, 0};
  LevelBuilder builder;
  builder.Add(Category::Lists, ListBlob(spec));
  ZR3Level level;
  level.LoadFromBytes(builder.Build().Bytes());

  StandInScript& global = AddScript(level, Category::GlobalScripts, "Global", 7);
  StandInScript& first = AddScript(level, Category::ObjectScripts, "First", 5);
  StandInScript& zero = AddScript(level, Category::ObjectScripts, "Zero", 0);
  StandInScript& later = AddScript(level, Category::ObjectScripts, "Later", 5);
  level.LinkAll();

  const ZR3List& list = level.At<ZR3List>(Category::Lists, 0);
  EXPECT_EQ(list.Result(0), &first);
  EXPECT_EQ(list.Result(1), &zero);    // identifier 0 is searched like any other
  EXPECT_EQ(list.Result(2), nullptr);  // only a global script has identifier 7
  EXPECT_EQ(list.Result(3), nullptr);  // beyond the count, although "Zero" matches
  EXPECT_TRUE(list.RefersTo(first));
  EXPECT_TRUE(list.RefersTo(zero));
  EXPECT_FALSE(list.RefersTo(later));
  EXPECT_FALSE(list.RefersTo(global));

  const zr3::Lines lines = Described(list);
  EXPECT_EQ(lines[4], "Result 0: First");
  EXPECT_EQ(lines[5], "Result 1: Zero");
  EXPECT_EQ(lines[6], "Result 2: 07 00 00 00");

  const std::string saved = level.SaveToBytes();
  const std::size_t results = LastListOffset(saved) + 352;
  EXPECT_NE(first.written, 0u);
  EXPECT_EQ(zr3test::U32At(saved, results), first.written);
  EXPECT_EQ(zr3test::U32At(saved, results + 4), zero.written);
  EXPECT_EQ(zr3test::U32At(saved, results + 8), 0u);
  EXPECT_EQ(zr3test::U32At(saved, results + 12), 0u);

  // A copy shares the results.
  ZR3List copy;
  list.CopyTo(copy);
  EXPECT_TRUE(copy.RefersTo(first));
  EXPECT_EQ(Described(copy), lines);
}
