#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
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
inline constexpr std::size_t kFlagCount = 256;
inline constexpr std::size_t kGroupCount = 20;
inline constexpr std::size_t kCustomTextCount = 4;
// What each of the custom texts names, as the details text and the Fields pane label them.
inline constexpr std::array<std::string_view, kCustomTextCount> kCustomTextLabels = {
    "Spells Text", "Items Text", "Gold Text", "Exp Text"};
constexpr std::size_t FixedTableSize(Category category) {
  switch (category) {
    case Category::Flags:
      return kFlagCount;
    case Category::Groups:
      return kGroupCount;
    case Category::CustomText:
      return kCustomTextCount;
    default:
      return 0;
  }
}
constexpr bool IsFixedTable(Category category) {
  return FixedTableSize(category) != 0;
}

bool IsScriptCategory(Category category);
// The four kinds of script, numbered as the file and the script text number them.
enum class ScriptKind : unsigned char { Global = 0, Death = 1, Object = 2, Startup = 3 };

// One kind of script: its name on the command line and in the window ("global") and its list.
struct ScriptKindInfo {
  ScriptKind kind;
  std::string_view name;
  Category category;
};

// The script kinds in the order of their numbers, which "export all scripts" follows.
inline constexpr std::array<ScriptKindInfo, 4> kScriptKinds = {{
    {ScriptKind::Global, "global", Category::GlobalScripts},
    {ScriptKind::Death, "death", Category::DeathScripts},
    {ScriptKind::Object, "object", Category::ObjectScripts},
    {ScriptKind::Startup, "startup", Category::StartupScripts},
}};
inline constexpr std::array<Category, 4> kScriptListsByKind = {
    Category::GlobalScripts, Category::DeathScripts, Category::ObjectScripts,
    Category::StartupScripts};

// The kind whose name is the given text.
std::optional<ScriptKind> ScriptKindFromName(std::string_view name);
// "global, death, object, startup", for messages.
std::string ScriptKindNames();
// The kind's number (global 0, death 1, object 2, startup 3) for a script list; -1 for any
// other category.
int ScriptKindOf(Category scriptCategory);
// The script list of a kind number; the global scripts for a number outside 0 to 3.
Category ScriptCategoryOfKind(int kind);
inline Category CategoryOf(ScriptKind kind) {
  return kScriptKinds[static_cast<std::size_t>(kind)].category;
}

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
