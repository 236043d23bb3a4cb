#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <sstream>

#include "level/zr3level.h"
#include "records/zr3map.h"
#include "records/zr3tile.h"
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

bool IsHexByte(std::string_view token) {
  auto hex = [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); };
  return token.size() == 2 && hex(token[0]) && hex(token[1]);
}

// Whether text is nothing but dumped bytes, " xx" each.
bool IsBareHexDump(std::string_view text) {
  if (text.empty() || text.size() % 3 != 0) return false;
  for (std::size_t i = 0; i < text.size(); i += 3) {
    if (text[i] != ' ' || !IsHexByte(text.substr(i + 1, 2))) return false;
  }
  return true;
}

// Identifiers are renumbered by every save: mask the dumped bytes that show them.
std::string MaskIdentifiers(const std::string& line) {
  if (line.rfind("Unknown:", 0) == 0) return line;
  std::istringstream words(line);
  std::string masked;
  for (std::string word; words >> word;) masked += IsHexByte(word) ? " ??" : " " + word;
  return masked;
}

// A reference label followed by a bare hex dump: the form of a reference that did not
// resolve ("Map: 05 00 00 00"); identifiers and opaque bytes are dumps by nature.
bool IsUnresolvedReference(const std::string& line) {
  static const char* const kLabels[] = {
      "Map",  "Script",  "Item",       "Spell",         "Result",           "Pre",   "Post",
      "Tile", "Palette", "Background", "Combat Screen", "Inventory Screen", "Border"};
  const std::size_t colon = line.find(':');
  if (colon == std::string::npos) return false;
  const std::string label = line.substr(0, colon);
  // The label alone, or followed by a slot number or a border's side: "Script 3", "Border N".
  auto labelled = [&label](const std::string& known) {
    if (label == known) return true;
    if (label.rfind(known + " ", 0) != 0) return false;
    const std::string slot = label.substr(known.size() + 1);
    return slot.size() == 1 || slot.find_first_not_of("0123456789") == std::string::npos;
  };
  for (const char* known : kLabels) {
    if (labelled(known)) return IsBareHexDump(std::string_view(line).substr(colon + 1));
  }
  return false;
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
  EXPECT_NE(level.Info().palette.Record(), nullptr);
  EXPECT_NE(level.Info().background.Record(), nullptr);
  EXPECT_NE(level.Info().combatScreen.Record(), nullptr);
  EXPECT_NE(level.Info().inventoryScreen.Record(), nullptr);

  for (const std::string& line : TextLines(level.LevelText())) {
    EXPECT_EQ(line.find("Bad reference"), std::string::npos) << line;
    EXPECT_EQ(line.find("(Tile not found)"), std::string::npos) << line;
    EXPECT_FALSE(IsUnresolvedReference(line)) << line;
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

// The demo's maps are places worth looking at: beside the small town, a village of at least
// 40 x 40 cells with tiles on all three layers, and every tile has a picture that the demo
// keeps beside the level (in lower case, which the drawing matches ignoring case).
TEST(DemoLevel, HasAVillageOnThreeLayersAndAPictureForEveryTile) {
  zr3::ZR3Level level;
  level.Load(ZR3_DEMO_PATH);
  const zr3::RecordList& maps = level.List(Category::Maps);
  ASSERT_EQ(maps.size(), 2u);
  EXPECT_EQ(static_cast<const zr3::ZR3Map&>(*maps[0]).Side(), 10);
  const auto& village = static_cast<const zr3::ZR3Map&>(*maps[1]);
  EXPECT_GE(village.Side(), 40);
  std::array<int, zr3::ZR3Map::kSlotsPerCell> used{};
  for (int row = 0; row < village.Side(); ++row) {
    for (int column = 0; column < village.Side(); ++column) {
      for (std::size_t slot = 0; slot < used.size(); ++slot) {
        if (village.CellTile(row, column, slot)) ++used[slot];
      }
    }
  }
  // The ground is everywhere, the upper layers in part.
  EXPECT_EQ(used[0], village.Side() * village.Side());
  EXPECT_GT(used[1], 0);
  EXPECT_GT(used[2], 0);
  for (std::size_t i = 0; i < zr3::ZR3Map::kBorderCount; ++i) EXPECT_NE(village.Border(i), nullptr);

  const std::filesystem::path folder = std::filesystem::path(ZR3_DEMO_PATH).parent_path();
  for (const auto& record : level.List(Category::Tiles)) {
    std::string file = static_cast<const zr3::ZR3Tile&>(*record).ImagePath();
    ASSERT_FALSE(file.empty()) << record->Name();
    std::replace(file.begin(), file.end(), '\\', '/');
    std::transform(file.begin(), file.end(), file.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    EXPECT_TRUE(std::filesystem::is_regular_file(folder / file)) << file;
  }
}

}  // namespace
