#include "level/text.h"

namespace zr3 {

std::string HexDump(const std::string& label, const std::uint8_t* bytes, std::size_t count) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string result = label;
  result.reserve(label.size() + count * 3);
  for (std::size_t i = 0; i < count; ++i) {
    result.push_back(' ');
    result.push_back(kDigits[bytes[i] >> 4]);
    result.push_back(kDigits[bytes[i] & 0x0F]);
  }
  return result;
}

std::string HexDumpU32(const std::string& label, std::uint32_t value) {
  const std::uint8_t bytes[4] = {
      static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
      static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
  return HexDump(label, bytes, 4);
}

std::string EntryOrNumber(std::span<const std::string_view> table, long value) {
  if (value >= 0 && static_cast<unsigned long>(value) < table.size()) {
    return std::string(table[static_cast<std::size_t>(value)]);
  }
  std::string number = "(";
  number += std::to_string(value);
  number += ')';
  return number;
}

void WriteLinesCrLf(const Lines& lines, ByteWriter& out) {
  WriterLineOut lineOut(out);
  for (const std::string& line : lines) lineOut.Line(line);
  out.FlushIfFull();
}

std::string JoinLinesCrLf(const Lines& lines) {
  ByteWriter out;
  WriteLinesCrLf(lines, out);
  return out.Release();
}

}  // namespace zr3
