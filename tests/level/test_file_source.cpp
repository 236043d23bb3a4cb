#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <string>
#include <thread>

#include "level/file_source.h"
#include "support/temp_dir.h"

namespace zr3test {
namespace {

// Both ways of reading a whole file give its bytes exactly.
void ExpectReadsAs(const std::string& path, const std::string& bytes) {
  EXPECT_EQ(zr3::ReadWholeFile(path), bytes);
  EXPECT_EQ(zr3::FileBytes(path).View(), bytes);
}

TEST(WholeFileReading, GivesEveryByteOfFilesLargeSmallAndEmpty) {
  TempDir dir;
  // Large enough to be read in parts on several threads; no two parts alike.
  std::string large(3 * 1024 * 1024 + 7, '\0');
  for (std::size_t i = 0; i < large.size(); ++i) large[i] = static_cast<char>((i * 131) >> 7);
  for (const std::string& bytes : {large, std::string("a\0b", 3), std::string()}) {
    const std::string path = dir.Path("file");
    WriteFile(path, bytes);
    ExpectReadsAs(path, bytes);
  }
}

TEST(WholeFileReading, ReadsAPipeWhoseSizeIsUnknownBeforehand) {
  TempDir dir;
  const std::string path = dir.Path("pipe");
  ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
  const std::string bytes(200000, 'x');
  for (int reader = 0; reader < 2; ++reader) {
    std::thread writer([&] {
      std::FILE* out = std::fopen(path.c_str(), "wb");
      std::fwrite(bytes.data(), 1, bytes.size(), out);
      std::fclose(out);
    });
    const std::string got =
        reader == 0 ? zr3::ReadWholeFile(path) : std::string(zr3::FileBytes(path).View());
    writer.join();
    EXPECT_EQ(got, bytes);
  }
}

}  // namespace
}  // namespace zr3test
