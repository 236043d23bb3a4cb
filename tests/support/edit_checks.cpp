#include "support/edit_checks.h"

#include <set>

namespace zr3test {

namespace {

const zr3::ZR3ChainRecord* ChainAt(const zr3::RecordList& list, std::size_t i) {
  return i < list.size() ? dynamic_cast<const zr3::ZR3ChainRecord*>(list[i].get()) : nullptr;
}

}  // namespace

std::vector<std::string> Names(const zr3::ZR3Level& level, zr3::Category category) {
  std::vector<std::string> names;
  for (const auto& record : level.List(category)) names.push_back(record->Name());
  return names;
}

::testing::AssertionResult ListIsConsistent(const zr3::ZR3Level& level, zr3::Category category) {
  const zr3::RecordList& list = level.List(category);
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (list[i]->Position() != static_cast<int>(i)) {
      return ::testing::AssertionFailure()
             << "record " << i << " has position " << list[i]->Position();
    }
    const zr3::ZR3ChainRecord* record = ChainAt(list, i);
    if (!record) continue;
    if (record->Prev() != (i > 0 ? ChainAt(list, i - 1) : nullptr)) {
      return ::testing::AssertionFailure() << "record " << i << " has a wrong previous neighbour";
    }
    if (record->Next() != ChainAt(list, i + 1)) {
      return ::testing::AssertionFailure() << "record " << i << " has a wrong next neighbour";
    }
  }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult StoredChainIsUnbroken(const zr3::ZR3Level& level,
                                                 zr3::Category category) {
  const zr3::RecordList& list = level.List(category);
  std::set<std::uint32_t> ids;
  for (std::size_t i = 0; i < list.size(); ++i) {
    const zr3::ZR3ChainRecord* record = ChainAt(list, i);
    const zr3::ZR3ChainRecord* prev = i > 0 ? ChainAt(list, i - 1) : nullptr;
    const zr3::ZR3ChainRecord* next = ChainAt(list, i + 1);
    if (!record || record->StoredId() == 0 || !ids.insert(record->StoredId()).second) {
      return ::testing::AssertionFailure() << "record " << i << " has no identifier of its own";
    }
    if (record->StoredPrevId() != (prev ? prev->StoredId() : 0) ||
        record->StoredNextId() != (next ? next->StoredId() : 0)) {
      return ::testing::AssertionFailure() << "the chain breaks at record " << i;
    }
  }
  return ::testing::AssertionSuccess();
}

}  // namespace zr3test
