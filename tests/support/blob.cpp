#include "support/blob.h"

namespace zr3test {

Blob& Blob::U8(std::uint8_t value) {
  bytes_.push_back(static_cast<char>(value));
  return *this;
}

Blob& Blob::U16(std::uint16_t value) {
  U8(static_cast<std::uint8_t>(value));
  return U8(static_cast<std::uint8_t>(value >> 8));
}

Blob& Blob::U32(std::uint32_t value) {
  U16(static_cast<std::uint16_t>(value));
  return U16(static_cast<std::uint16_t>(value >> 16));
}

Blob& Blob::Id(std::uint32_t value) {
  idOffsets_.push_back(bytes_.size());
  return U32(value);
}

Blob& Blob::Text(std::string_view text, std::size_t width) {
  for (std::size_t i = 0; i < width; ++i) U8(i < text.size() ? text[i] : 0);
  return *this;
}

Blob& Blob::Raw(std::string_view bytes) {
  bytes_.append(bytes);
  return *this;
}

Blob& Blob::Zeros(std::size_t count) {
  bytes_.append(count, '\0');
  return *this;
}

Blob& Blob::Append(const Blob& other) {
  for (std::size_t offset : other.idOffsets_) idOffsets_.push_back(bytes_.size() + offset);
  bytes_ += other.bytes_;
  return *this;
}

std::uint16_t U16At(const std::string& bytes, std::size_t offset) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes.at(offset)) |
                                    (static_cast<unsigned char>(bytes.at(offset + 1)) << 8));
}

std::uint32_t U32At(const std::string& bytes, std::size_t offset) {
  return U16At(bytes, offset) | (static_cast<std::uint32_t>(U16At(bytes, offset + 2)) << 16);
}

}  // namespace zr3test
