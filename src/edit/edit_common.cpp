#include "edit/edit_common.h"

#include "level/zr3error.h"

namespace zr3 {

ZR3Base& RecordOf(const ZR3Level& level, Category category, std::size_t index) {
  const RecordList& list = level.List(category);
  if (index >= list.size()) {
    throw ZR3Error("No record " + std::to_string(index) + " in " +
                   std::string(InfoOf(category).sectionName) + " (it holds " +
                   std::to_string(list.size()) + ")");
  }
  return *list[index];
}

std::string FixedTableRefusal(Category category, std::string_view operation) {
  return std::string(InfoOf(category).sectionName) + " is a fixed table: its records cannot be " +
         std::string(operation);
}

}  // namespace zr3
