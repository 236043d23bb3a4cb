#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

namespace zr3test {

// A fresh folder for one test, removed with everything in it at the end.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  std::string Path(const std::string& name) const { return (path_ / name).string(); }
  const std::filesystem::path& Root() const { return path_; }
  // The files in the folder and below it, to see that no temporary file was left behind.
  std::size_t FileCount() const;

 private:
  std::filesystem::path path_;
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);

}  // namespace zr3test
