#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "level/category.h"
#include "level/zr3level.h"

namespace zr3 {

// A new, empty, valid level: every counted list empty, the fixed tables (flags, groups,
// custom text) full of unnamed entries, empty level information and reserved block. It has no
// file name and counts as loaded and unmodified.
std::unique_ptr<ZR3Level> NewLevel();

// The name a new record of the category gets: "New item", "New map", ...
std::string NewRecordName(Category category);

// What adding a record did: the new record sits at index of its list; nothing changed when
// refusal is set.
struct AddResult {
  std::string refusal;
  std::size_t index = 0;
  std::string name;
  bool Added() const { return refusal.empty(); }
};

// Why a record cannot be added to the category's list, or nothing when it can.
std::string AddRefusal(const ZR3Level& level, Category category);

// A record of the category with the defaults of its kind and the given name (cut as a rename
// cuts it), not yet in any list.
std::unique_ptr<ZR3Base> MakeRecord(Category category, std::string_view name);

// Adds a new record at position of the category's list (the end at most), named name, or
// NewRecordName when name is empty. Every record behind it moves one place on and every
// reference keeps its record. Sets the modified flag when a record was added.
AddResult AddRecord(ZR3Level& level, Category category, std::size_t position,
                    std::string_view name = {});

}  // namespace zr3
