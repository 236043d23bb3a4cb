#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "edit/results.h"
#include "level/category.h"
#include "level/text.h"
#include "level/zr3level.h"

namespace zr3 {

// Whether a field of the level information resolved to target.
using InfoQuery = bool (*)(const ZR3LevelInfo& info, const ZR3Base& target);

// One place of the level that can refer to a record: either a field of the level information
// (its line is the label alone) or a list whose records are each asked one query (its line is
// the label followed by the referrer's name).
struct ReferencePlace {
  std::string_view label;
  InfoQuery infoQuery = nullptr;
  Category list = Category::Maps;
  // The record itself is skipped when its own list is asked.
  bool selfExcluded = false;
};

// Everything that can refer to a record of one category. The search lists every referrer in
// searchOrder; the deletion check stops at the first referrer in deletionOrder. Both orders
// are indexes into places, so the two can never disagree about the places themselves.
struct Referrers {
  std::span<const ReferencePlace> places;
  std::span<const std::size_t> searchOrder;
  std::span<const std::size_t> deletionOrder;
};

// The places that can refer to a record of the category (none for the general category or
// kinds nothing refers to).
Referrers ReferrersOf(Category category);

// "Search results for " + name, an empty line, then one line per referrer, all of them; each
// referrer's line names the referrer (the level information for its own fields).
ResultLines FindReferences(const ZR3Level& level, Category category, std::size_t index);
// The text of FindReferences.
Lines SearchReferences(const ZR3Level& level, Category category, std::size_t index);

// The line of the first referrer in deletion order, or nothing when no place refers to the
// record.
std::optional<std::string> FirstReferrer(const ZR3Level& level, Category category,
                                         std::size_t index);

}  // namespace zr3
