#include "edit/edit_common.h"

#include "level/zr3error.h"

namespace zr3 {

std::string FixedTableRefusal(Category category, std::string_view operation) {
  return std::string(InfoOf(category).sectionName) + " is a fixed table: its records cannot be " +
         std::string(operation);
}

}  // namespace zr3
