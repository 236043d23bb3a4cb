#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zr3test {

// Bytes of a level file or one of its records, written field by field by the tests' own
// code, with the offsets of every identifier field so that round trips can be compared
// modulo identifier values.
class Blob {
 public:
  Blob& U8(std::uint8_t value);
  Blob& U16(std::uint16_t value);
  Blob& I16(std::int16_t value) { return U16(static_cast<std::uint16_t>(value)); }
  Blob& U32(std::uint32_t value);
  // An identifier field: a record's own, next or previous identifier, or a reference by
  // identifier.
  Blob& Id(std::uint32_t value);
  // A text in a fixed-width field: its first width bytes, padded with zeros.
  Blob& Text(std::string_view text, std::size_t width);
  Blob& Raw(std::string_view bytes);
  Blob& Zeros(std::size_t count);
  Blob& Append(const Blob& other);

  const std::string& Bytes() const { return bytes_; }
  const std::vector<std::size_t>& IdOffsets() const { return idOffsets_; }
  std::size_t Size() const { return bytes_.size(); }

 private:
  std::string bytes_;
  std::vector<std::size_t> idOffsets_;
};

// Reads a little-endian value at an offset of a byte string.
std::uint16_t U16At(const std::string& bytes, std::size_t offset);
std::uint32_t U32At(const std::string& bytes, std::size_t offset);

}  // namespace zr3test
