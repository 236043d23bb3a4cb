#include "records/zr3attributes.h"

namespace zr3 {

std::string EntryOrNumber(std::span<const std::string_view> table, long value) {
  if (value >= 0 && static_cast<unsigned long>(value) < table.size()) {
    return std::string(table[static_cast<std::size_t>(value)]);
  }
  std::string number = "(";
  number += std::to_string(value);
  number += ')';
  return number;
}

std::string AttributeChangeText(std::span<const std::string_view> attributes, int attribute,
                                int change) {
  return EntryOrNumber(attributes, attribute) + " " + (change >= 0 ? "+" : "") +
         std::to_string(change);
}

}  // namespace zr3
