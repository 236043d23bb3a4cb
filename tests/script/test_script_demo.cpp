#include <gtest/gtest.h>

#include "level/zr3level.h"
#include "support/temp_dir.h"

namespace {

using zr3::Category;

constexpr Category kScriptLists[] = {Category::GlobalScripts, Category::DeathScripts,
                                     Category::ObjectScripts, Category::StartupScripts};

zr3::Lines DescribeScripts(const zr3::ZR3Level& level) {
  zr3::Lines lines;
  for (Category category : kScriptLists) {
    for (const auto& script : level.List(category)) script->Describe(lines);
  }
  return lines;
}

TEST(ScriptDemo, DemoLevelHoldsScriptsOfEveryKindThatSurviveASave) {
  zr3::ZR3Level level;
  level.LoadFromBytes(zr3test::ReadFile(ZR3_DEMO_PATH));
  for (Category category : kScriptLists) EXPECT_FALSE(level.List(category).empty());
  const zr3::Lines before = DescribeScripts(level);

  zr3::ZR3Level reloaded;
  reloaded.LoadFromBytes(level.SaveToBytes());
  zr3::Lines after = DescribeScripts(reloaded);
  // Only the identifier lines may change.
  ASSERT_EQ(before.size(), after.size());
  for (std::size_t i = 0; i < before.size(); ++i) {
    if (before[i].find("Id:") == std::string::npos) {
      EXPECT_EQ(before[i], after[i]);
    }
  }
}

}  // namespace
