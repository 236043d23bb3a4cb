#include "records/zr3monster.h"

namespace zr3 {

namespace {

// Appends "<label><name of value>" and answers true, or answers false when the value has no
// entry in the table.
bool DescribeChoice(Lines& lines, std::string_view label, std::span<const std::string_view> table,
                    std::uint16_t value) {
  if (value >= table.size()) return false;
  lines.push_back(std::string(label) + std::string(table[value]));
  return true;
}

}  // namespace

void ZR3Monster::DescribeStyle(Lines& lines) const {
  if (DescribeChoice(lines, "Type: ", kTypes, type_) &&
      DescribeChoice(lines, "Build: ", kBuilds, build_)) {
    DescribeChoice(lines, "Attack Style: ", kAttackStyles, attackStyle_);
  }
}

}  // namespace zr3
