#include "level/file_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "level/zr3error.h"

namespace zr3 {

FileSource::FileSource(const std::string& path) : path_(path), fd_(-1), size_(0) {
  struct stat info;
  if (path.empty() || ::stat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) {
    throw ZR3Error("Cannot open file " + path);
  }
  fd_ = ::open(path.c_str(), O_RDONLY);
  if (fd_ < 0) throw ZR3Error("Cannot open file " + path);
  size_ = static_cast<std::size_t>(info.st_size);
}

FileSource::~FileSource() {
  ::close(fd_);
}

std::size_t FileSource::Read(unsigned char* out, std::size_t count) {
  ssize_t got;
  do {
    got = ::read(fd_, out, count);
  } while (got < 0 && errno == EINTR);
  if (got < 0) throw ZR3Error("Cannot open file " + path_);
  return static_cast<std::size_t>(got);
}

std::string ReadWholeFile(const std::string& path) {
  FileSource file(path);
  // Sized once, with a byte to spare: filling it shows that the file grew since it was
  // opened, and only then is it read on to its end in larger steps.
  std::string bytes(file.Size() + 1, '\0');
  std::size_t done = 0;
  for (;;) {
    if (done == bytes.size()) bytes.resize(bytes.size() + 65536);
    const std::size_t got =
        file.Read(reinterpret_cast<unsigned char*>(bytes.data()) + done, bytes.size() - done);
    if (got == 0) break;
    done += got;
  }
  bytes.resize(done);
  return bytes;
}

}  // namespace zr3
