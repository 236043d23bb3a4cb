#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "level/zr3level.h"
#include "support/temp_dir.h"

namespace {

using zr3::Category;

std::vector<std::string> TextLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// Identifiers are renumbered by every save: mask the four-byte dumps that show them.
std::string MaskIdentifiers(const std::string& line) {
  if (line.rfind("Unknown:", 0) == 0) return line;
  static const std::regex kFourBytes(R"(( [0-9a-f]{2}){4}\b)");
  return std::regex_replace(line, kFourBytes, " <id>");
}

// The demo level is what a new user opens first: it holds every kind of record, and every
// reference in it resolves.
TEST(DemoLevel, HoldsEveryKindWithReferencesThatResolve) {
  zr3::ZR3Level level;
  level.Load(ZR3_DEMO_PATH);
  for (std::size_t c = 0; c < zr3::kCategoryCount; ++c) {
    const Category category = static_cast<Category>(c);
    EXPECT_FALSE(level.List(category).empty()) << zr3::InfoOf(category).sectionName;
  }
  EXPECT_NE(level.Info().palette, nullptr);
  EXPECT_NE(level.Info().background, nullptr);
  EXPECT_NE(level.Info().combatScreen, nullptr);
  EXPECT_NE(level.Info().inventoryScreen, nullptr);

  // An unresolved reference shows as "Bad reference", "(Tile not found)" or a label followed
  // by a bare hex dump; identifiers and opaque bytes are dumps by nature.
  const std::regex unresolvedDump(
      R"(^(Map|Script \d|Item \d|Spell \d|Result \d|Pre \d|Post \d|Tile \d|Palette|Background|Combat Screen|Inventory Screen):( [0-9a-f]{2})+$)");
  for (const std::string& line : TextLines(level.LevelText())) {
    EXPECT_EQ(line.find("Bad reference"), std::string::npos) << line;
    EXPECT_EQ(line.find("(Tile not found)"), std::string::npos) << line;
    EXPECT_FALSE(std::regex_match(line, unresolvedDump)) << line;
    if (line.rfind("Border ", 0) == 0) {
      EXPECT_FALSE(std::regex_match(line, std::regex(R"(^Border .:( [0-9a-f]{2}){4}$)"))) << line;
    }
  }
}

TEST(DemoLevel, SavesAndReloadsToTheSameText) {
  zr3::ZR3Level level;
  level.Load(ZR3_DEMO_PATH);
  zr3::ZR3Level reloaded;
  reloaded.LoadFromBytes(level.SaveToBytes());
  const auto before = TextLines(level.LevelText());
  const auto after = TextLines(reloaded.LevelText());
  ASSERT_EQ(before.size(), after.size());
  for (std::size_t i = 0; i < before.size(); ++i) {
    EXPECT_EQ(MaskIdentifiers(before[i]), MaskIdentifiers(after[i]));
  }
}

}  // namespace
