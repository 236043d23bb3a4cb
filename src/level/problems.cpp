#include "level/problems.h"

#include "level/text.h"

namespace zr3 {

RecordProblem UnresolvedIdentifier(std::string field, std::uint32_t id, Category list,
                                   AtSave atSave) {
  // The bytes as the details pane dumps them, without the label's blank.
  return {std::move(field), HexDumpU32("", id).substr(1),
          "no " + std::string(InfoOf(list).recordNoun) + " has this identifier", atSave};
}

RecordProblem UnresolvedPosition(std::string field, int position, Category list) {
  return {std::move(field), std::to_string(position),
          "no " + std::string(InfoOf(list).recordNoun) + " at this position", AtSave::Kept};
}

RecordProblem CountAboveSlots(std::string field, unsigned count, std::size_t slots) {
  return {
      std::move(field), std::to_string(count),
      "above " + std::to_string(slots) + "; only the first " + std::to_string(slots) + " are used",
      AtSave::Kept};
}

}  // namespace zr3
