#pragma once

#include <cstddef>
#include <functional>
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

// A file that replaces the one at path only when complete: the bytes go to a temporary file
// in the same folder, which Commit syncs and renames over the target. On any failure, and
// when destroyed uncommitted, the temporary is removed and the existing file is untouched.
// Failures throw ZR3Error: "Cannot create file %s" when the temporary cannot be made,
// "Cannot write file %s" when writing, syncing or renaming fails.
class AtomicFile : public ByteSink {
 public:
  explicit AtomicFile(const std::string& path);
  ~AtomicFile() override;
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  void Write(const char* data, std::size_t count) override;
  void Commit();

 private:
  // Closes and removes the temporary, if any.
  void Discard();
  [[noreturn]] void Fail();

  std::string path_;
  std::string tempPath_;
  int fd_ = -1;
};

// Replaces the file at path with bytes, as AtomicFile does.
void WriteFileAtomically(const std::string& path, std::string_view bytes);
// Replaces the file at path with what produce writes, streamed through a bounded buffer, as
// AtomicFile does; whatever produce throws leaves the existing file untouched.
void WriteFileAtomically(const std::string& path,
                         const std::function<void(ByteWriter& out)>& produce);

}  // namespace zr3
