#include "level/file_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>
#include <vector>

#include "level/parallel.h"
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

std::size_t FileSource::ReadStart(char* out, std::size_t count) {
  // Below this a second thread costs more than it saves.
  constexpr std::size_t kBytesPerPart = 1 << 20;
  // Where each part began, and where its reading ended.
  struct Reached {
    std::size_t first;
    std::size_t done;
  };
  const std::vector<Reached> parts =
      PartResults<Reached>(count, kBytesPerPart, [&](std::size_t first, std::size_t last) {
        std::size_t done = first;
        while (done < last) {
          const ssize_t n = ::pread(fd_, out + done, last - done, static_cast<off_t>(done));
          if (n < 0 && errno == EINTR) continue;
          if (n < 0) throw ZR3Error("Cannot open file " + path_);
          if (n == 0) break;
          done += static_cast<std::size_t>(n);
        }
        return Reached{first, done};
      });
  // A file that shrank meanwhile ends at the first part that came short.
  std::size_t done = 0;
  for (const Reached& part : parts) {
    if (part.first != done) break;
    done = part.done;
  }
  if (done > 0 && ::lseek(fd_, static_cast<off_t>(done), SEEK_SET) < 0) {
    throw ZR3Error("Cannot open file " + path_);
  }
  return done;
}

namespace {

// Reads the whole file into bytes, which is sized once with a byte to spare: filling it shows
// that the file grew since it was opened, and only then is it read on to its end in larger
// steps. Returns the count read.
template <class Buffer>
std::size_t ReadToEnd(const std::string& path, Buffer& bytes) {
  FileSource file(path);
  bytes.resize(file.Size() + 1);
  std::size_t done = file.ReadStart(bytes.data(), file.Size());
  for (;;) {
    if (done == bytes.size()) bytes.resize(bytes.size() + 65536);
    const std::size_t got =
        file.Read(reinterpret_cast<unsigned char*>(bytes.data()) + done, bytes.size() - done);
    if (got == 0) break;
    done += got;
  }
  return done;
}

}  // namespace

std::string ReadWholeFile(const std::string& path) {
  std::string bytes;
  bytes.resize(ReadToEnd(path, bytes));
  return bytes;
}

FileBytes::FileBytes(const std::string& path) {
  size_ = ReadToEnd(path, buffer_);
}

void FileBytes::Buffer::resize(std::size_t size) {
  std::unique_ptr<char[]> grown = std::make_unique_for_overwrite<char[]>(size);
  if (bytes) std::memcpy(grown.get(), bytes.get(), std::min(size, capacity));
  bytes = std::move(grown);
  capacity = size;
}

}  // namespace zr3
