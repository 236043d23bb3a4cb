#include "edit/rename.h"

#include "level/zr3error.h"
#include "level/zr3level.h"

namespace zr3 {

std::string RenameRecord(ZR3Level& level, Category category, std::size_t index,
                         std::string_view newName) {
  RecordList& list = level.List(category);
  if (index >= list.size()) {
    throw ZR3Error("List index out of bounds (" + std::to_string(index) + ")");
  }
  std::string name(newName.substr(0, kMaxNameLength));
  list[index]->SetName(name);
  level.SetModified(true);
  return name;
}

}  // namespace zr3
