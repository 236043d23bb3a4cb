#pragma once

#include <charconv>
#include <optional>
#include <string_view>
#include <system_error>

namespace zr3 {

// The one reading of a decimal number from text, for the field interface, the script importer
// and the command line: an optional sign and decimal digits, nothing else, that fit T.
template <class T>
std::optional<T> ParseDecimal(std::string_view text) {
  // std::from_chars takes a minus sign only.
  if (text.starts_with('+')) {
    text.remove_prefix(1);
    if (text.starts_with('-')) return std::nullopt;
  }
  T value{};
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
  return value;
}

// The value of a hex digit, either case; -1 for any other character.
constexpr int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace zr3
