#include "bench_io.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <stdexcept>

namespace zr3bench {

namespace {

int OpenOrThrow(const std::string& path, int flags) {
  const int fd = ::open(path.c_str(), flags, 0644);
  if (fd < 0) throw std::runtime_error("cannot open " + path);
  return fd;
}

}  // namespace

std::size_t ReadFileFloor(const std::string& path, std::vector<char>& buffer) {
  const int fd = OpenOrThrow(path, O_RDONLY);
  std::size_t done = 0;
  while (done < buffer.size()) {
    const ssize_t got = ::read(fd, buffer.data() + done, buffer.size() - done);
    if (got <= 0) break;
    done += static_cast<std::size_t>(got);
  }
  ::close(fd);
  if (done != FileSize(path)) throw std::runtime_error("short read of " + path);
  return done;
}

std::vector<char> FloorBuffer(const std::string& path) {
  return std::vector<char>(FileSize(path));
}

void WriteFileFloor(const std::string& path, const char* data, std::size_t count, bool durable) {
  const int fd = OpenOrThrow(path, O_WRONLY | O_CREAT | O_TRUNC);
  std::size_t done = 0;
  while (done < count) {
    const ssize_t put = ::write(fd, data + done, count - done);
    if (put <= 0) break;
    done += static_cast<std::size_t>(put);
  }
  const bool synced = !durable || ::fsync(fd) == 0;
  ::close(fd);
  if (done != count || !synced) throw std::runtime_error("cannot write " + path);
}

std::size_t FileSize(const std::string& path) {
  struct stat info;
  if (::stat(path.c_str(), &info) != 0) throw std::runtime_error("cannot open " + path);
  return static_cast<std::size_t>(info.st_size);
}

std::size_t PeakRssBytes() {
  struct rusage usage;
  ::getrusage(RUSAGE_SELF, &usage);
  return static_cast<std::size_t>(usage.ru_maxrss) * 1024;  // kilobytes on Linux
}

}  // namespace zr3bench
