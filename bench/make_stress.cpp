// Writes a stress level file:
//   zr3_make_stress <size> <output.zr3> [--check]
// Sizes: large, max, either divided by N as large/N or max/N, or multiplied as large*N. With
// --check the level is loaded back and every reference its text shows unresolved is counted; the
// exit status is 1 when there is any.
#include <cstdio>
#include <cstring>
#include <exception>
#include <fstream>
#include <regex>
#include <sstream>

#include "level/zr3level.h"
#include "stress_level.h"

namespace {

// Lines of the level text that show a reference that did not resolve: a missing name in a
// script entry, or a stored identifier dumped where a name belongs. Identifier lines and
// opaque bytes are dumps by nature.
std::size_t UnresolvedLines(const std::string& text) {
  static const std::regex dump("^(.*):( [0-9a-f]{2}){4}\r$");
  static const std::regex intended("^(Id|Next Id|Prev Id|GFX Id[0-9]?|GFX resource\\?|Unknown)$");
  std::istringstream lines(text);
  std::string line;
  std::size_t count = 0;
  std::smatch match;
  while (std::getline(lines, line)) {
    if (line.find("Bad reference") != std::string::npos ||
        line.find("Definition: Run script ") != std::string::npos ||
        (std::regex_match(line, match, dump) && !std::regex_match(match[1].str(), intended))) {
      if (count++ < 5) std::fprintf(stderr, "unresolved: %s\n", line.c_str());
    }
  }
  return count;
}

}  // namespace

int main(int argc, char** argv) {
  const bool check = argc == 4 && std::strcmp(argv[3], "--check") == 0;
  if (argc != 3 && !check) {
    std::fprintf(stderr, "usage: zr3_make_stress large|max[/N|*N] <output.zr3> [--check]\n");
    return 2;
  }
  try {
    const std::string bytes = zr3bench::BuildStressLevel(zr3bench::SizeNamed(argv[1]));
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      std::fprintf(stderr, "zr3_make_stress: cannot write %s\n", argv[2]);
      return 1;
    }
    std::printf("%s: %s, %zu bytes\n", argv[2], argv[1], bytes.size());
    if (check) {
      zr3::ZR3Level level;
      level.LoadFromBytes(bytes);
      const std::size_t unresolved = UnresolvedLines(level.LevelText());
      std::printf("unresolved references: %zu\n", unresolved);
      if (unresolved > 0) return 1;
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "zr3_make_stress: %s\n", error.what());
    return 1;
  }
  return 0;
}
