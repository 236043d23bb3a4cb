#include "level/category.h"

namespace zr3 {

namespace {

// Indexed by Category.
constexpr std::array<CategoryInfo, kCategoryCount> kCategories = {{
    {Category::Characters, "characters", "Character Sets", "Loading Character Sets...",
     "CHARACTER SET ", "character set"},
    {Category::Graphics, "graphics", "Graphics", "Loading Graphics...", "GRAPHIC ", "graphic"},
    {Category::Items, "items", "Items", "Loading Items...", "ITEM ", "item"},
    {Category::Lists, "lists", "Lists", "Loading Lists...", "LIST ", "list"},
    {Category::Maps, "maps", "Maps", "Loading Maps...", "MAP ", "map"},
    {Category::Monsters, "monsters", "Monsters", "Loading Monsters...", "MONSTER ", "monster"},
    {Category::Objects, "objects", "Objects", "Loading Objects...", "OBJECT ", "object"},
    {Category::Palettes, "palettes", "Palettes", "Loading Palettes...", "PALETTE ", "palette"},
    {Category::GlobalScripts, "global-scripts", "Global Scripts", "Loading Global Scripts...",
     "GLOBAL SCRIPT ", "global script"},
    {Category::ObjectScripts, "object-scripts", "Object Scripts", "Loading Object Scripts...",
     "OBJECT SCRIPT ", "object script"},
    {Category::DeathScripts, "death-scripts", "Death Scripts", "Loading Death Scripts...",
     "DEATH SCRIPT ", "death script"},
    {Category::StartupScripts, "startup-scripts", "Startup Scripts", "Loading Startup Scripts...",
     "STARTUP SCRIPT ", "startup script"},
    {Category::Shops, "shops", "Shops", "Loading Shops...", "SHOP ", "shop"},
    {Category::Songs, "songs", "Songs", "Loading Songs...", "SONG ", "song"},
    {Category::Spells, "spells", "Spells", "Loading Spells...", "SPELL ", "spell"},
    {Category::Flags, "flags", "Flags", "Loading Flags...", "", "flag"},
    {Category::Groups, "groups", "Groups", "Loading Groups...", "", "group"},
    {Category::CustomText, "custom-text", "Custom Text", "Loading Custom Text...", "",
     "custom text entry"},
    {Category::Texts, "texts", "Texts", "Loading Texts...", "TEXT ", "text"},
    {Category::Tiles, "tiles", "Tiles", "Loading Tiles...", "TILE ", "tile"},
}};

}  // namespace

const CategoryInfo& InfoOf(Category category) {
  return kCategories[IndexOf(category)];
}

std::optional<Category> CategoryFromCommandName(std::string_view name) {
  for (const CategoryInfo& info : kCategories) {
    if (info.commandName == name) return info.category;
  }
  return std::nullopt;
}

bool IsScriptCategory(Category category) {
  return category == Category::GlobalScripts || category == Category::DeathScripts ||
         category == Category::ObjectScripts || category == Category::StartupScripts;
}

std::optional<ScriptKind> ScriptKindFromName(std::string_view name) {
  for (const ScriptKindInfo& info : kScriptKinds) {
    if (info.name == name) return info.kind;
  }
  return std::nullopt;
}

std::string ScriptKindNames() {
  std::string names;
  for (const ScriptKindInfo& info : kScriptKinds) {
    if (!names.empty()) names += ", ";
    names += info.name;
  }
  return names;
}

int ScriptKindOf(Category scriptCategory) {
  for (const ScriptKindInfo& info : kScriptKinds) {
    if (info.category == scriptCategory) return static_cast<int>(info.kind);
  }
  return -1;
}

Category ScriptCategoryOfKind(int kind) {
  return kind >= 0 && kind < static_cast<int>(kScriptKinds.size())
             ? kScriptKinds[static_cast<std::size_t>(kind)].category
             : Category::GlobalScripts;
}

}  // namespace zr3
