#include "level/bytes.h"

#include <cstring>

#include "level/zr3error.h"

namespace zr3 {

void ByteReader::ThrowEndOfFile() const {
  throw ZR3Error("Unexpected end of file while loading " + section_);
}

std::string ByteReader::FixedText(std::size_t width) {
  const unsigned char* p = Take(width);
  const void* zero = std::memchr(p, 0, width);
  const std::size_t length =
      zero ? static_cast<std::size_t>(static_cast<const unsigned char*>(zero) - p) : width;
  return std::string(reinterpret_cast<const char*>(p), length);
}

void ByteReader::Bytes(unsigned char* out, std::size_t count) {
  const unsigned char* p = Take(count);
  if (count != 0) std::memcpy(out, p, count);
}

void ByteReader::Skip(std::size_t count) {
  Take(count);
}

void ByteWriter::U16(std::uint16_t value) {
  U8(static_cast<std::uint8_t>(value & 0xFF));
  U8(static_cast<std::uint8_t>(value >> 8));
}

void ByteWriter::U32(std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) U8(static_cast<std::uint8_t>(value >> shift));
}

void ByteWriter::FixedText(std::string_view text, std::size_t width) {
  const std::size_t kept = text.size() < width ? text.size() : width;
  buffer_.append(text.data(), kept);
  buffer_.append(width - kept, '\0');
}

void ByteWriter::Bytes(const void* data, std::size_t count) {
  buffer_.append(static_cast<const char*>(data), count);
}

}  // namespace zr3
