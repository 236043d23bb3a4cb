#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace zr3 {

// The twenty category lists of a level, in the level's member order.
enum class Category : unsigned char {
  Characters,
  Graphics,
  Items,
  Lists,
  Maps,
  Monsters,
  Objects,
  Palettes,
  GlobalScripts,
  ObjectScripts,
  DeathScripts,
  StartupScripts,
  Shops,
  Songs,
  Spells,
  Flags,
  Groups,
  CustomText,
  Texts,
  Tiles,
};

inline constexpr std::size_t kCategoryCount = 20;

struct CategoryInfo {
  Category category;
  std::string_view commandName;     // the name on the command line, "global-scripts"
  std::string_view sectionName;     // "Global Scripts", used in messages
  std::string_view loadingMessage;  // "Loading Global Scripts..."
  std::string_view exportHeading;   // "GLOBAL SCRIPT " (empty for the fixed tables)
  std::string_view recordNoun;      // how messages name one record: "object script"
};

const CategoryInfo& InfoOf(Category category);
inline std::size_t IndexOf(Category category) {
  return static_cast<std::size_t>(category);
}

// The category whose command-line name is the given text.
std::optional<Category> CategoryFromCommandName(std::string_view name);

// Fixed tables (flags, groups, custom text) never grow or shrink.
bool IsFixedTable(Category category);
inline constexpr std::size_t kFlagCount = 256;
inline constexpr std::size_t kGroupCount = 20;
inline constexpr std::size_t kCustomTextCount = 4;
std::size_t FixedTableSize(Category category);

bool IsScriptCategory(Category category);
// Script kinds as the file and the script text number them: global 0, death 1, object 2,
// startup 3.
int ScriptKindOf(Category scriptCategory);
Category ScriptCategoryOfKind(int kind);
// The script lists in the order of their kinds, which "export all scripts" follows.
inline constexpr std::array<Category, 4> kScriptListsByKind = {
    Category::GlobalScripts, Category::DeathScripts, Category::ObjectScripts,
    Category::StartupScripts};

// The counted sections and fixed tables in file order; the level information and the
// reserved block sit between them at fixed places (see ZR3Level).
inline constexpr std::array<Category, 20> kFileOrder = {
    Category::Maps,           Category::Tiles,        Category::Objects,
    Category::GlobalScripts,  Category::DeathScripts, Category::ObjectScripts,
    Category::StartupScripts, Category::Flags,        Category::Groups,
    Category::Items,          Category::Spells,       Category::Shops,
    Category::Monsters,       Category::Palettes,     Category::Texts,
    Category::Characters,     Category::Songs,        Category::Graphics,
    Category::CustomText,     Category::Lists};

// The order in which the loader links the records.
inline constexpr std::array<Category, 16> kLinkOrder = {
    Category::Characters,   Category::Graphics,       Category::Lists,
    Category::Maps,         Category::Monsters,       Category::Objects,
    Category::Palettes,     Category::GlobalScripts,  Category::ObjectScripts,
    Category::DeathScripts, Category::StartupScripts, Category::Items,
    Category::Shops,        Category::Songs,          Category::Spells,
    Category::Tiles};

}  // namespace zr3
