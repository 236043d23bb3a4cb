#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "level/category.h"
#include "level/zr3level.h"

namespace zr3 {

// Why a fixed table refuses an operation that would change its order or size.
std::string FixedTableRefusal(Category category, std::string_view operation);

}  // namespace zr3
