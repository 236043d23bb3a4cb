#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zr3 {

// The list of text lines that Describe, DescribeInfo, ExportText and the importer's report
// append to. Lines are 8-bit bytes, never converted.
using Lines = std::vector<std::string>;

// The label followed by " %02x" for each byte.
std::string HexDump(const std::string& label, const std::uint8_t* bytes, std::size_t count);
// A 32-bit value dumped in file order, least significant byte first.
std::string HexDumpU32(const std::string& label, std::uint32_t value);

// Every line followed by a carriage return and a line feed, as text files are written.
std::string JoinLinesCrLf(const Lines& lines);
void AppendLinesCrLf(const Lines& lines, std::string& out);

}  // namespace zr3
