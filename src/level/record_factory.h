#pragma once

#include <memory>

#include "level/category.h"
#include "level/zr3base.h"

namespace zr3 {

class ByteReader;

// The one place where the level meets the record kinds: each kind plugs in here.
// Both answer nullptr for a kind that cannot be read.
std::unique_ptr<ZR3Base> ReadRecord(Category category, ByteReader& in);
// An empty record of the category's kind, the target of a copy.
std::unique_ptr<ZR3Base> NewRecord(Category category);

}  // namespace zr3
