// Peak resident memory while loading a level, or while importing its JSON export:
//   zr3_bench_memory <level.zr3>
//   zr3_bench_memory --json <level.json>
// prints "file_bytes=<n> peak_rss_bytes=<n> baseline_rss_bytes=<n>". Run it in a process of
// its own so that nothing else has raised the peak.
#include <cstdio>
#include <cstring>
#include <exception>

#include "bench_io.h"
#include "json/json_import.h"
#include "level/safefile.h"
#include "level/zr3level.h"

int main(int argc, char** argv) {
  const bool json = argc == 3 && std::strcmp(argv[1], "--json") == 0;
  if (argc != 2 && !json) {
    std::fprintf(stderr, "usage: zr3_bench_memory <level.zr3> | --json <level.json>\n");
    return 2;
  }
  try {
    if (json) {
      const std::size_t fileBytes = zr3bench::FileSize(argv[2]);
      const std::size_t baseline = zr3bench::PeakRssBytes();
      const auto level = zr3::json::ImportLevelJson(zr3::ReadWholeFile(argv[2]));
      std::printf("file_bytes=%zu peak_rss_bytes=%zu baseline_rss_bytes=%zu\n", fileBytes,
                  zr3bench::PeakRssBytes(), baseline);
      return 0;
    }
    const std::size_t fileBytes = zr3bench::FileSize(argv[1]);
    const std::size_t baseline = zr3bench::PeakRssBytes();
    zr3::ZR3Level level;
    level.Load(argv[1]);
    std::printf("file_bytes=%zu peak_rss_bytes=%zu baseline_rss_bytes=%zu\n", fileBytes,
                zr3bench::PeakRssBytes(), baseline);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "zr3_bench_memory: %s\n", error.what());
    return 1;
  }
  return 0;
}
