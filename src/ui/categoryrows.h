#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "level/category.h"

namespace zr3::ui {

// One row of the category list: its caption and the list it shows ("General" shows the level
// information and the custom texts, no list).
struct CategoryRow {
  std::string_view caption;
  std::optional<Category> category;
};

// The category list's rows in their order; the window and its tests find rows here only.
inline constexpr std::array<CategoryRow, 20> kCategoryRows = {{
    {"General", std::nullopt},
    {"Maps", Category::Maps},
    {"Tiles", Category::Tiles},
    {"Objects", Category::Objects},
    {"Scripts - Global", Category::GlobalScripts},
    {"Scripts - Death", Category::DeathScripts},
    {"Scripts - Object", Category::ObjectScripts},
    {"Scripts - Start", Category::StartupScripts},
    {"Flags", Category::Flags},
    {"Groups", Category::Groups},
    {"Items", Category::Items},
    {"Spells", Category::Spells},
    {"Shops", Category::Shops},
    {"Monsters", Category::Monsters},
    {"Palettes", Category::Palettes},
    {"Text", Category::Texts},
    {"Characters", Category::Characters},
    {"Songs", Category::Songs},
    {"Graphics", Category::Graphics},
    {"Lists", Category::Lists},
}};

inline constexpr int kCategoryRowCount = static_cast<int>(kCategoryRows.size());
inline constexpr int kGeneralRow = 0;

// The list a row shows; none for "General" and for a row outside the list.
constexpr std::optional<Category> CategoryOfRow(int row) {
  if (row < 0 || row >= kCategoryRowCount) return std::nullopt;
  return kCategoryRows[static_cast<std::size_t>(row)].category;
}

// The row that shows a list; "General" for none and for the custom texts, which it shows.
constexpr int RowOfCategory(std::optional<Category> category) {
  for (int row = 0; row < kCategoryRowCount; ++row) {
    if (category && kCategoryRows[static_cast<std::size_t>(row)].category == category) return row;
  }
  return kGeneralRow;
}

}  // namespace zr3::ui
