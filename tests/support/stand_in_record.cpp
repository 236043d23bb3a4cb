#include "support/stand_in_record.h"

#include <algorithm>

namespace zr3test {

void AddStandIns(zr3::ZR3Level& level, zr3::Category category,
                 const std::vector<std::string>& names) {
  zr3::RecordList& list = level.List(category);
  const std::size_t first = list.size();
  for (const std::string& name : names) {
    list.push_back(std::make_unique<StandInRecord>(category, name));
  }
  level.Renumber(category, first, list.size());
}

void MoveRecord(zr3::ZR3Level& level, zr3::Category category, std::size_t from, std::size_t to) {
  zr3::RecordList& list = level.List(category);
  if (from < to) {
    std::rotate(list.begin() + static_cast<long>(from), list.begin() + static_cast<long>(from) + 1,
                list.begin() + static_cast<long>(to) + 1);
  } else {
    std::rotate(list.begin() + static_cast<long>(to), list.begin() + static_cast<long>(from),
                list.begin() + static_cast<long>(from) + 1);
  }
  level.Renumber(category, 0, list.size());
}

}  // namespace zr3test
