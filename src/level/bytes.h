#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zr3 {

// Little-endian values at p.
inline std::uint16_t LoadU16(const unsigned char* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::uint32_t LoadU32(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// Where a ByteReader takes bytes from when they are not all in memory, such as a file.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Reads up to count bytes into out; returns how many, 0 only at the end.
  virtual std::size_t Read(unsigned char* out, std::size_t count) = 0;
};

// Little-endian reader over bytes in memory or from a source. Every read checks what
// remains, so a file that ends early fails with "Unexpected end of file while loading
// <section>".
class ByteReader {
 public:
  ByteReader(const unsigned char* data, std::size_t size) : data_(data), size_(size) {}
  explicit ByteReader(std::string_view bytes)
      : ByteReader(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()) {}
  // Reads from source through a window of windowSize bytes, so that a level file is never
  // held in memory whole next to the records made from it.
  explicit ByteReader(ByteSource& source, std::size_t windowSize = std::size_t{1} << 20)
      : data_(nullptr), size_(0), source_(&source), window_(windowSize) {}

  // Names the section being read, for the end-of-file message.
  void SetSection(std::string section) { section_ = std::move(section); }
  const std::string& Section() const { return section_; }

  // The small reads are inline: a load makes millions of them.
  std::uint8_t U8() { return *Take(1); }
  std::uint16_t U16() { return LoadU16(Take(2)); }
  std::int16_t I16() { return static_cast<std::int16_t>(U16()); }
  std::uint32_t U32() { return LoadU32(Take(4)); }
  // A fixed-width text field: the bytes up to the first zero, at most width bytes.
  std::string FixedText(std::size_t width);
  void Bytes(unsigned char* out, std::size_t count);
  template <std::size_t N>
  std::array<std::uint8_t, N> Array() {
    std::array<std::uint8_t, N> result;
    Bytes(result.data(), N);
    return result;
  }
  void Skip(std::size_t count);
  // The next count bytes, consumed; valid until the next read.
  const unsigned char* Take(std::size_t count) {
    if (count > size_ - offset_ && !Fill(count)) ThrowEndOfFile();
    const unsigned char* at = data_ + offset_;
    offset_ += count;
    return at;
  }
  // Up to count bytes from the current offset, without consuming them; fewer at the end.
  std::string_view Peek(std::size_t count);

  // The bytes not read yet: of the memory given, or of the current window of a source.
  std::size_t Remaining() const { return size_ - offset_; }
  // The bytes read so far.
  std::size_t Offset() const { return dropped_ + offset_; }

 private:
  // Makes count bytes available from the source; false when it ends first.
  bool Fill(std::size_t count);
  [[noreturn]] void ThrowEndOfFile() const;

  const unsigned char* data_;
  std::size_t size_;
  std::size_t offset_ = 0;
  std::size_t dropped_ = 0;  // bytes of a source read before the window's start
  std::string section_;
  ByteSource* source_ = nullptr;
  std::vector<unsigned char> window_;
};

// Where a ByteWriter sends its bytes when they are not all kept in memory, such as a file.
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  // Takes all count bytes or throws.
  virtual void Write(const char* data, std::size_t count) = 0;
};

// Little-endian writer into a byte string held in memory, or through a window of that string
// into a sink, so that a file of any size is written with a buffer of bounded size.
class ByteWriter {
 public:
  ByteWriter() = default;
  explicit ByteWriter(ByteSink& sink, std::size_t windowSize = std::size_t{1} << 20)
      : sink_(&sink), windowSize_(windowSize) {
    buffer_.reserve(windowSize);
  }

  // Whole values are appended at once, inline: a save writes millions of them.
  void U8(std::uint8_t value) { buffer_.push_back(static_cast<char>(value)); }
  void U16(std::uint16_t value) {
    const char bytes[2] = {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
    buffer_.append(bytes, 2);
  }
  void I16(std::int16_t value) { U16(static_cast<std::uint16_t>(value)); }
  void U32(std::uint32_t value) {
    const char bytes[4] = {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF),
                           static_cast<char>((value >> 16) & 0xFF), static_cast<char>(value >> 24)};
    buffer_.append(bytes, 4);
  }
  // Writes the first width bytes of text, padded with zero bytes up to width.
  void FixedText(std::string_view text, std::size_t width);
  void Bytes(const void* data, std::size_t count) {
    buffer_.append(static_cast<const char*>(data), count);
  }
  template <std::size_t N>
  void Array(const std::array<std::uint8_t, N>& bytes) {
    Bytes(bytes.data(), N);
  }
  void Zeros(std::size_t count) { buffer_.append(count, '\0'); }
  // The buffer itself, for text appended in place.
  std::string& Text() { return buffer_; }

  // With a sink: hands the bytes held to it once they fill the window. Writers call this
  // between records and between blocks of lines.
  void FlushIfFull() {
    if (sink_ && buffer_.size() >= windowSize_) Flush();
  }
  // With a sink: hands every byte held to it.
  void Flush();

  void Reserve(std::size_t bytes) { buffer_.reserve(bytes); }
  // The bytes written so far, those handed to the sink included.
  std::size_t Size() const { return flushed_ + buffer_.size(); }
  // Without a sink: every byte written.
  const std::string& Data() const { return buffer_; }
  std::string Release() { return std::move(buffer_); }

 private:
  std::string buffer_;
  ByteSink* sink_ = nullptr;
  std::size_t windowSize_ = 0;
  std::size_t flushed_ = 0;
};

}  // namespace zr3
