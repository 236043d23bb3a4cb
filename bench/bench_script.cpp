// Script text on one level file, each figure next to its floor measured in the same run:
//   zr3_bench_script --file=<level.zr3> [Google Benchmark flags]
// script_export writes every script as script text (global, death, object and startup
// scripts, as Export All does) against writing as many bytes; import_all_scripts reads that
// file back into the level, overwriting every script by name, against reading its bytes.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench_io.h"
#include "figures.h"
#include "level/safefile.h"
#include "level/zr3level.h"
#include "script/zr3importer.h"
#include "script/zr3script.h"

namespace zr3bench {

namespace {

zr3::ZR3Level gLevel;
std::string gTextPath;  // the exported script text
std::string gOutPath;   // where the exports of the benchmark go
std::string gText;

std::string AllScriptsText(const zr3::ZR3Level& level) {
  zr3::ByteWriter out;
  zr3::ExportAllScripts(level, out);
  return out.Release();
}

void RegisterAll() {
  RegisterFigure("script_export", [](benchmark::State& state) {
    for (auto _ : state) {
      zr3::WriteFileAtomically(gOutPath,
                               [](zr3::ByteWriter& out) { zr3::ExportAllScripts(gLevel, out); });
    }
    CountBytes(state, gText.size());
  });
  RegisterFigure("script_export_floor", [](benchmark::State& state) {
    for (auto _ : state) WriteFileFloor(gOutPath, gText.data(), gText.size(), true);
    CountBytes(state, gText.size());
  });
  RegisterFigure("import_all_scripts", [](benchmark::State& state) {
    std::size_t logLines = 0;
    for (auto _ : state) {
      zr3::ZR3Importer importer(gLevel);
      importer.Import(gTextPath);
      logLines = importer.Log().size();
    }
    CountBytes(state, gText.size());
    state.counters["log_lines"] = static_cast<double>(logLines);
  });
  RegisterFigure("import_all_scripts_floor", [](benchmark::State& state) {
    std::vector<char> buffer = FloorBuffer(gTextPath);
    for (auto _ : state) benchmark::DoNotOptimize(ReadFileFloor(gTextPath, buffer));
    CountBytes(state, gText.size());
  });
}

}  // namespace

}  // namespace zr3bench

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  using namespace zr3bench;
  std::string path;
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--file=", 7) == 0) path = argv[i] + 7;
  }
  if (path.empty()) {
    std::fprintf(stderr, "usage: %s --file=<level.zr3> [benchmark flags]\n", argv[0]);
    return 2;
  }
  gLevel.Load(path);
  gText = AllScriptsText(gLevel);
  gTextPath = path + ".scripts.txt";
  gOutPath = path + ".bench-scripts";
  zr3::WriteFileAtomically(gTextPath, gText);
  RegisterAll();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::remove(gTextPath.c_str());
  std::remove(gOutPath.c_str());
  return 0;
}
