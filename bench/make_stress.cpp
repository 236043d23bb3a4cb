// Writes a stress level file: zr3_make_stress <size> <output.zr3>
// Sizes: large, max, and either divided by N as large/N or max/N.
#include <cstdio>
#include <exception>
#include <fstream>

#include "stress_level.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: zr3_make_stress large|max[/N] <output.zr3>\n");
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
  } catch (const std::exception& error) {
    std::fprintf(stderr, "zr3_make_stress: %s\n", error.what());
    return 1;
  }
  return 0;
}
