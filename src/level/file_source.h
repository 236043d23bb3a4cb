#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "level/bytes.h"

namespace zr3 {

// A file read from start to end; ZR3Error "Cannot open file %s" when it cannot be opened or
// a read fails.
class FileSource : public ByteSource {
 public:
  explicit FileSource(const std::string& path);
  ~FileSource() override;
  FileSource(const FileSource&) = delete;
  FileSource& operator=(const FileSource&) = delete;

  std::size_t Read(unsigned char* out, std::size_t count) override;
  // Reads the file's first count bytes into out, or up to its end when it ends first, and
  // returns how many; Read goes on after them. A large read is split into parts read on
  // several threads, so that each part's memory is first touched, and filled, on its own core.
  std::size_t ReadStart(char* out, std::size_t count);
  // The file's size when it was opened.
  std::size_t Size() const { return size_; }

 private:
  std::string path_;
  int fd_;
  std::size_t size_;
};

// Reads a whole file; ZR3Error "Cannot open file %s" when it cannot be read.
std::string ReadWholeFile(const std::string& path);

// The same into memory that is not cleared first, for a large file read only once.
class FileBytes {
 public:
  explicit FileBytes(const std::string& path);

  std::string_view View() const { return {buffer_.bytes.get(), size_}; }

 private:
  // Grows keeping what it holds, without clearing what it adds.
  struct Buffer {
    std::unique_ptr<char[]> bytes;
    std::size_t capacity = 0;

    void resize(std::size_t size);
    char* data() { return bytes.get(); }
    std::size_t size() const { return capacity; }
  };

  Buffer buffer_;
  std::size_t size_ = 0;
};

}  // namespace zr3
