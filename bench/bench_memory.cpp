// Peak resident memory while loading a level:
//   zr3_bench_memory <level.zr3>
// prints "file_bytes=<n> peak_rss_bytes=<n> baseline_rss_bytes=<n>". Run it in a process of
// its own so that nothing else has raised the peak.
#include <cstdio>
#include <exception>

#include "bench_io.h"
#include "level/zr3level.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: zr3_bench_memory <level.zr3>\n");
    return 2;
  }
  try {
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
