#include "edit/placement.h"

#include <algorithm>
#include <utility>

#include "edit/edit_common.h"

namespace zr3 {

void InsertRecord(ZR3Level& level, Category category, std::size_t position,
                  std::unique_ptr<ZR3Base> record) {
  RecordList& list = level.List(category);
  position = std::min(position, list.size());
  list.insert(list.begin() + static_cast<std::ptrdiff_t>(position), std::move(record));
  // The inserted record and its successor both get new neighbours.
  level.Renumber(category, position == 0 ? 0 : position - 1, position + 1);
}

std::unique_ptr<ZR3Base> TakeRecord(ZR3Level& level, Category category, std::size_t position) {
  RecordOf(level, category, position);
  RecordList& list = level.List(category);
  const auto gap = list.begin() + static_cast<std::ptrdiff_t>(position);
  std::unique_ptr<ZR3Base> taken = std::move(*gap);
  list.erase(gap);
  // The record before the gap and the one that took the taken record's place.
  level.Renumber(category, position == 0 ? 0 : position - 1, position);
  return taken;
}

}  // namespace zr3
