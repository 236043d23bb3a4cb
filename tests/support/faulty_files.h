#pragma once

#include <algorithm>
#include <cstddef>
#include <string>

#include "level/safefile.h"

namespace zr3test {

// Fails the write after a given number of bytes, as a full disk would.
class FullDisk : public zr3::FileLayer {
 public:
  explicit FullDisk(std::size_t budget) : budget_(budget) {}
  long Write(int fd, const char* data, std::size_t count) override {
    if (budget_ == 0) return -1;
    const std::size_t now = std::min(count, budget_);
    budget_ -= now;
    return zr3::FileLayer::Write(fd, data, now);
  }

 private:
  std::size_t budget_;
};

// Fails one of the steps that make or finish a write.
class FailingStep : public zr3::FileLayer {
 public:
  enum Step { kCreate, kSync, kClose, kRename };
  explicit FailingStep(Step step) : step_(step) {}
  int CreateTemporary(const std::string& path, std::string& tempPath) override {
    return step_ == kCreate ? -1 : zr3::FileLayer::CreateTemporary(path, tempPath);
  }
  bool Sync(int fd) override { return step_ != kSync && zr3::FileLayer::Sync(fd); }
  bool Close(int fd) override {
    const bool closed = zr3::FileLayer::Close(fd);
    return step_ != kClose && closed;
  }
  bool Rename(const std::string& from, const std::string& to) override {
    return step_ != kRename && zr3::FileLayer::Rename(from, to);
  }

 private:
  Step step_;
};

// Puts a file layer in place for one scope.
class ScopedFileLayer {
 public:
  explicit ScopedFileLayer(zr3::FileLayer& layer) { zr3::SetFileLayer(&layer); }
  ~ScopedFileLayer() { zr3::SetFileLayer(nullptr); }
  ScopedFileLayer(const ScopedFileLayer&) = delete;
  ScopedFileLayer& operator=(const ScopedFileLayer&) = delete;
};

}  // namespace zr3test
