#pragma once

#include <charconv>
#include <cstdint>
#include <optional>
#include <string_view>
#include <system_error>

namespace zr3 {

// A whole number written as decimal digits with an optional sign ("12", "-3", "+7"); nothing
// for anything else or for a value beyond 64 bits. The field interface, the JSON reader, the
// script importer and the command line read numbers through it.
inline std::optional<std::int64_t> ParseInteger(std::string_view text) {
  // from_chars takes a minus sign but not a plus sign.
  if (text.size() > 1 && text[0] == '+' && text[1] != '-') text.remove_prefix(1);
  std::int64_t value = 0;
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
