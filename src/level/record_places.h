#pragma once

#include <functional>
#include <optional>

namespace zr3 {

class ZR3Base;

// Where records stand in a level other than their own (another version's records written
// for a merged level): a record's position there, none where it has no place there.
using RecordPlaces = std::function<std::optional<int>(const ZR3Base& record)>;

}  // namespace zr3
