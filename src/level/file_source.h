#pragma once

#include <cstddef>
#include <string>

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
  // The file's size when it was opened.
  std::size_t Size() const { return size_; }

 private:
  std::string path_;
  int fd_;
  std::size_t size_;
};

// Reads a whole file; ZR3Error "Cannot open file %s" when it cannot be read.
std::string ReadWholeFile(const std::string& path);

}  // namespace zr3
