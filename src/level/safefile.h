#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "level/bytes.h"

namespace zr3 {

// The operating-system calls through which every file the tool writes goes. Tests replace it
// to inject failures at any point of a write.
class FileLayer {
 public:
  virtual ~FileLayer() = default;
  // Creates a new, empty temporary file beside path; returns a descriptor or -1, and the
  // temporary's name in tempPath.
  virtual int CreateTemporary(const std::string& path, std::string& tempPath);
  // Writes up to count bytes; returns the number written or -1.
  virtual long Write(int fd, const char* data, std::size_t count);
  virtual bool Sync(int fd);
  virtual bool Close(int fd);
  virtual bool Rename(const std::string& from, const std::string& to);
  virtual void Remove(const std::string& path);
};

// The layer in use; the default one talks to the operating system.
FileLayer& CurrentFileLayer();
// Replaces the layer (nullptr restores the default); for tests.
void SetFileLayer(FileLayer* layer);

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

// Replaces the file at path with bytes: written to a temporary file in the same folder,
// synced, then renamed over the target. On any failure the temporary is removed, the
// existing file is untouched and ZR3Error is thrown ("Cannot create file %s" when the file
// cannot be made, "Cannot write file %s" when writing fails).
void WriteFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace zr3
