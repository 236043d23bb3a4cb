#pragma once

#include <cstddef>
#include <memory>

#include "level/category.h"
#include "level/zr3level.h"

namespace zr3 {

// The two halves of every change to a list's length: both keep positions equal to indexes
// and relink the neighbours on both sides of the place, so that taking a record and putting
// it back at the same place leaves the list exactly as it was.

// Puts the record at position of the category's list (the end at most).
void InsertRecord(ZR3Level& level, Category category, std::size_t position,
                  std::unique_ptr<ZR3Base> record);
// Removes the record at position and hands it back; throws ZR3Error when there is none.
std::unique_ptr<ZR3Base> TakeRecord(ZR3Level& level, Category category, std::size_t position);

}  // namespace zr3
