#include "level/safefile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "level/zr3error.h"

namespace zr3 {

namespace {

FileLayer gDefaultLayer;
FileLayer* gLayer = &gDefaultLayer;

}  // namespace

int FileLayer::CreateTemporary(const std::string& path, std::string& tempPath) {
  std::string pattern = path + ".tmp-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = ::mkstemp(name.data());
  if (fd >= 0) {
    // mkstemp makes the file private; give it the usual permissions of a new file.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    tempPath.assign(name.data());
  }
  return fd;
}

long FileLayer::Write(int fd, const char* data, std::size_t count) {
  ssize_t written;
  do {
    written = ::write(fd, data, count);
  } while (written < 0 && errno == EINTR);
  return static_cast<long>(written);
}

bool FileLayer::Sync(int fd) {
  return ::fsync(fd) == 0;
}
bool FileLayer::Close(int fd) {
  return ::close(fd) == 0;
}
bool FileLayer::Rename(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) == 0;
}
void FileLayer::Remove(const std::string& path) {
  ::unlink(path.c_str());
}

FileLayer& CurrentFileLayer() {
  return *gLayer;
}
void SetFileLayer(FileLayer* layer) {
  gLayer = layer ? layer : &gDefaultLayer;
}

AtomicFile::AtomicFile(const std::string& path) : path_(path) {
  struct stat info;
  if (path.empty() || (::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode))) {
    throw ZR3Error("Cannot create file " + path);
  }
  fd_ = CurrentFileLayer().CreateTemporary(path, tempPath_);
  if (fd_ < 0) throw ZR3Error("Cannot create file " + path);
}

AtomicFile::~AtomicFile() {
  Discard();
}

void AtomicFile::Discard() {
  FileLayer& layer = CurrentFileLayer();
  if (fd_ >= 0) layer.Close(fd_);
  if (!tempPath_.empty()) layer.Remove(tempPath_);
  fd_ = -1;
  tempPath_.clear();
}

void AtomicFile::Fail() {
  Discard();
  throw ZR3Error("Cannot write file " + path_);
}

void AtomicFile::Write(const char* data, std::size_t count) {
  if (fd_ < 0) Fail();
  FileLayer& layer = CurrentFileLayer();
  std::size_t done = 0;
  while (done < count) {
    const long written = layer.Write(fd_, data + done, count - done);
    if (written <= 0) Fail();
    done += static_cast<std::size_t>(written);
  }
}

void AtomicFile::Commit() {
  if (fd_ < 0) Fail();
  FileLayer& layer = CurrentFileLayer();
  const bool synced = layer.Sync(fd_);
  const bool closed = layer.Close(fd_);
  fd_ = -1;
  if (!synced || !closed || !layer.Rename(tempPath_, path_)) Fail();
  tempPath_.clear();
}

void WriteFileAtomically(const std::string& path, std::string_view bytes) {
  AtomicFile file(path);
  file.Write(bytes.data(), bytes.size());
  file.Commit();
}

namespace {

// Hands the windows a ByteWriter fills to a thread of its own that writes them to the target,
// so that making one window and writing the one before overlap. At most two windows wait;
// their buffers are used again. Without a thread it writes them itself.
class BackgroundWriter : public ByteSink {
 public:
  explicit BackgroundWriter(ByteSink& target) : target_(target) {
    try {
      thread_ = std::thread([this] { Run(); });
    } catch (const std::system_error&) {
      // No thread to be had: every window is written on the caller's thread.
    }
  }
  ~BackgroundWriter() override { Stop(); }
  BackgroundWriter(const BackgroundWriter&) = delete;
  BackgroundWriter& operator=(const BackgroundWriter&) = delete;

  void Write(const char* data, std::size_t count) override {
    if (!thread_.joinable()) {
      target_.Write(data, count);
      return;
    }
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return waiting_.size() < kMostWaiting || failure_; });
    if (failure_) std::rethrow_exception(failure_);
    std::string window;
    if (!spare_.empty()) {
      window = std::move(spare_.back());
      spare_.pop_back();
    }
    window.assign(data, count);
    waiting_.push_back(std::move(window));
    changed_.notify_all();
  }

  // Waits until every window is written; throws what writing one threw.
  void Finish() {
    Stop();
    if (failure_) std::rethrow_exception(failure_);
  }

 private:
  static constexpr std::size_t kMostWaiting = 2;

  void Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
      changed_.wait(lock, [this] { return !waiting_.empty() || stopping_; });
      if (waiting_.empty()) return;
      std::string window = std::move(waiting_.front());
      waiting_.pop_front();
      lock.unlock();
      try {
        target_.Write(window.data(), window.size());
      } catch (...) {
        lock.lock();
        failure_ = std::current_exception();
        waiting_.clear();
        changed_.notify_all();
        return;
      }
      lock.lock();
      spare_.push_back(std::move(window));
      changed_.notify_all();
    }
  }

  void Stop() {
    {
      std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    changed_.notify_all();
    if (thread_.joinable()) thread_.join();
  }

  ByteSink& target_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::string> waiting_;
  std::vector<std::string> spare_;
  std::exception_ptr failure_;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace

void WriteFileAtomically(const std::string& path,
                         const std::function<void(ByteWriter& out)>& produce) {
  AtomicFile file(path);
  {
    // Ends, with its thread, before the file is committed or removed.
    BackgroundWriter background(file);
    ByteWriter out(background);
    produce(out);
    out.Flush();
    background.Finish();
  }
  file.Commit();
}

}  // namespace zr3
