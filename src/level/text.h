#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "level/bytes.h"

namespace zr3 {

// The list of text lines that Describe, DescribeInfo, ExportText and the importer's report
// append to. Lines are 8-bit bytes, never converted.
using Lines = std::vector<std::string>;

// The label followed by " %02x" for each byte.
std::string HexDump(const std::string& label, const std::uint8_t* bytes, std::size_t count);
// A 32-bit value dumped in file order, least significant byte first.
std::string HexDumpU32(const std::string& label, std::uint32_t value);

// The ASCII lower case of a character (never the locale's).
constexpr char FoldAsciiCase(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// True when both texts are equal under ASCII case folding. Every word of a script line is
// compared this way, hence inline.
inline bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (FoldAsciiCase(a[i]) != FoldAsciiCase(b[i])) return false;
  }
  return true;
}

// The table's entry for value, or the value in parentheses when the table has none, so a
// damaged record never reads outside a table: "(7)".
std::string EntryOrNumber(std::span<const std::string_view> table, long value);

// Where text goes line by line: a list of lines, or a writer that ends each line with CR LF.
// Begin gives the line to append to; End closes it.
class LineOut {
 public:
  virtual ~LineOut() = default;
  virtual std::string& Begin() = 0;
  virtual void End() = 0;
  // A whole line at once.
  void Line(std::string_view text) {
    Begin() += text;
    End();
  }
};

class LinesOut : public LineOut {
 public:
  explicit LinesOut(Lines& lines) : lines_(lines) {}
  std::string& Begin() override { return lines_.emplace_back(); }
  void End() override {}

 private:
  Lines& lines_;
};

// Lines are built in the writer's buffer itself.
class WriterLineOut : public LineOut {
 public:
  explicit WriterLineOut(ByteWriter& out) : out_(out) {}
  std::string& Begin() override { return out_.Text(); }
  void End() override { out_.Bytes("\r\n", 2); }

 private:
  ByteWriter& out_;
};

// Every line followed by a carriage return and a line feed, as text files are written.
std::string JoinLinesCrLf(const Lines& lines);
void WriteLinesCrLf(const Lines& lines, ByteWriter& out);

}  // namespace zr3
