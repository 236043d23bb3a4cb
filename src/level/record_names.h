#pragma once

#include <cstdint>
#include <string_view>
#include <unordered_map>

#include "level/zr3level.h"

namespace zr3 {

// The one lookup of a record by its name, for the field interface and the JSON reader: each
// name of a list to the position of the one record so named. The names are views into the
// records, so the index lives only while the list does not change.
class RecordNames {
 public:
  enum : std::int64_t { kNone = -1, kSeveral = -2 };

  explicit RecordNames(const RecordList& records) {
    names_.reserve(records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
      const auto [at, added] = names_.try_emplace(records[i]->Name(), static_cast<std::int64_t>(i));
      if (!added) at->second = kSeveral;
    }
  }

  // The position of the one record named name; kNone when none is, kSeveral when more are.
  std::int64_t Find(std::string_view name) const {
    const auto found = names_.find(name);
    return found == names_.end() ? kNone : found->second;
  }

 private:
  std::unordered_map<std::string_view, std::int64_t> names_;
};

}  // namespace zr3
