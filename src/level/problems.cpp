#include "level/problems.h"

#include "level/text.h"

namespace zr3 {

std::string_view RecordNoun(Category category) {
  switch (category) {
    case Category::Characters:
      return "character set";
    case Category::Graphics:
      return "graphic";
    case Category::Items:
      return "item";
    case Category::Lists:
      return "list";
    case Category::Maps:
      return "map";
    case Category::Monsters:
      return "monster";
    case Category::Objects:
      return "object";
    case Category::Palettes:
      return "palette";
    case Category::GlobalScripts:
      return "global script";
    case Category::ObjectScripts:
      return "object script";
    case Category::DeathScripts:
      return "death script";
    case Category::StartupScripts:
      return "startup script";
    case Category::Shops:
      return "shop";
    case Category::Songs:
      return "song";
    case Category::Spells:
      return "spell";
    case Category::Flags:
      return "flag";
    case Category::Groups:
      return "group";
    case Category::CustomText:
      return "custom text entry";
    case Category::Texts:
      return "text";
    case Category::Tiles:
      return "tile";
  }
  return "record";
}

RecordProblem UnresolvedIdentifier(std::string field, std::uint32_t id, Category list,
                                   AtSave atSave) {
  // The bytes as the details pane dumps them, without the label's blank.
  return {std::move(field), HexDumpU32("", id).substr(1),
          "no " + std::string(RecordNoun(list)) + " has this identifier", atSave};
}

RecordProblem UnresolvedPosition(std::string field, int position, Category list) {
  return {std::move(field), std::to_string(position),
          "no " + std::string(RecordNoun(list)) + " at this position", AtSave::Kept};
}

RecordProblem CountAboveSlots(std::string field, unsigned count, std::size_t slots) {
  return {
      std::move(field), std::to_string(count),
      "above " + std::to_string(slots) + "; only the first " + std::to_string(slots) + " are used",
      AtSave::Kept};
}

}  // namespace zr3
