#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "level/category.h"
#include "level/text.h"

namespace zr3 {

// The record a result line names: the record at index of a category list, or the level
// information when there is no category.
struct NamedRecord {
  std::optional<Category> category;
  std::size_t index = 0;
  bool operator==(const NamedRecord&) const = default;
};

// One line of a search or a check, with the record it names (none for headings and
// summaries), so that a viewer can go to that record.
struct ResultLine {
  std::string text;
  std::optional<NamedRecord> record;
  bool operator==(const ResultLine&) const = default;
};
using ResultLines = std::vector<ResultLine>;

// The lines alone, as the details pane and the command line show them.
Lines TextOf(ResultLines lines);

}  // namespace zr3
