#include "level/bytes.h"

#include <cstring>

#include "level/zr3error.h"

namespace zr3 {

bool ByteReader::Fill(std::size_t count) {
  if (!source_) return false;
  // Keep the bytes not read yet at the window's start, then top it up from the source.
  const std::size_t kept = size_ - offset_;
  if (kept > 0 && offset_ > 0) std::memmove(window_.data(), window_.data() + offset_, kept);
  if (window_.size() < count) window_.resize(count);
  dropped_ += offset_;
  size_ = kept;
  offset_ = 0;
  while (size_ < window_.size()) {
    const std::size_t got = source_->Read(window_.data() + size_, window_.size() - size_);
    if (got == 0) break;
    size_ += got;
  }
  data_ = window_.data();
  return size_ >= count;
}

std::string_view ByteReader::Peek(std::size_t count) {
  if (count > size_ - offset_) Fill(count);
  const std::size_t available = count < size_ - offset_ ? count : size_ - offset_;
  return std::string_view(reinterpret_cast<const char*>(data_ + offset_), available);
}

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

void ByteWriter::FixedText(std::string_view text, std::size_t width) {
  const std::size_t kept = text.size() < width ? text.size() : width;
  buffer_.append(text.data(), kept);
  buffer_.append(width - kept, '\0');
}

void ByteWriter::Flush() {
  if (!sink_ || buffer_.empty()) return;
  sink_->Write(buffer_.data(), buffer_.size());
  flushed_ += buffer_.size();
  buffer_.clear();
}

}  // namespace zr3
