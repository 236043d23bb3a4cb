#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "level/category.h"
#include "level/zr3level.h"

namespace zr3 {

inline constexpr std::string_view kReferredRefusal =
    "Cannot delete item while other items\nstill refer to it.";

// Whether the record may be deleted. When it may not, refusal says why (a referrer, the last
// record of its list, or a fixed table) and referrer holds the first referrer's search line,
// if that was the reason. Otherwise confirmation is the question to ask before deleting.
struct DeletionCheck {
  std::string refusal;
  std::string referrer;
  std::string confirmation;
  bool Allowed() const { return refusal.empty(); }
};

DeletionCheck CheckDeletion(const ZR3Level& level, Category category, std::size_t index);

// What a deletion did: the record left the list at index and is handed back (nothing in the
// level refers to it any more), so that InsertRecord can put it back exactly; nothing changed
// when refusal is set.
struct DeletionResult {
  std::string refusal;
  std::unique_ptr<ZR3Base> removed;
  std::size_t index = 0;
  bool Deleted() const { return refusal.empty(); }
};

// Checks, then removes the record, renumbers the records behind it, relinks the neighbours
// around the gap and sets the modified flag.
DeletionResult DeleteRecord(ZR3Level& level, Category category, std::size_t index);

}  // namespace zr3
