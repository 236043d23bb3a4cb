#include "edit/reorder.h"

#include <algorithm>
#include <utility>

#include "edit/edit_common.h"

namespace zr3 {

MoveResult MoveRecord(ZR3Level& level, Category category, std::size_t index,
                      MoveDirection direction) {
  RecordOf(level, category, index);
  MoveResult result;
  result.from = result.to = index;
  if (IsFixedTable(category)) {
    result.refusal = FixedTableRefusal(category, "moved");
    return result;
  }
  RecordList& list = level.List(category);
  if (direction == MoveDirection::Up) {
    if (index == 0) {
      result.refusal = "The record is already the first one";
      return result;
    }
    result.to = index - 1;
  } else {
    if (index + 1 >= list.size()) {
      result.refusal = "The record is already the last one";
      return result;
    }
    result.to = index + 1;
  }
  std::swap(list[result.from], list[result.to]);
  const std::size_t lower = std::min(result.from, result.to);
  // The pair and the records just before and after it have new neighbours.
  level.Renumber(category, lower == 0 ? 0 : lower - 1, lower + 2);
  level.SetModified(true);
  return result;
}

}  // namespace zr3
