#include "edit/rename.h"

#include "level/zr3error.h"
#include "level/zr3level.h"

namespace zr3 {

std::string RenameRecord(ZR3Level& level, Category category, std::size_t index,
                         std::string_view newName) {
  ZR3Base& record = RecordOf(level, category, static_cast<long long>(index));
  std::string name(newName.substr(0, kMaxNameLength));
  record.SetName(name);
  level.SetModified(true);
  return name;
}

}  // namespace zr3
