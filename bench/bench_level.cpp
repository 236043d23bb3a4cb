// Level-wide figures on one level file, each next to its floor measured in the same run:
//   zr3_bench_level --file=<level.zr3> [Google Benchmark flags]
// A figure named X has its floor named X_floor; tools/bench.sh prints their ratios.
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bench_io.h"
#include "figures.h"
#include "level/zr3level.h"

namespace zr3bench {

namespace {

struct Setup {
  std::string path;     // the level file measured
  std::string outPath;  // where saves and exports go, next to it
  std::size_t fileBytes = 0;
  std::string saved;  // the level as saved, for the size of the save floor
  std::string text;   // the level text, for the size of the export floor
};

Setup gSetup;

void ReadFloor(benchmark::State& state) {
  std::vector<char> buffer = FloorBuffer(gSetup.path);
  for (auto _ : state) benchmark::DoNotOptimize(ReadFileFloor(gSetup.path, buffer));
  CountBytes(state, gSetup.fileBytes);
}

void LoadLink(benchmark::State& state) {
  for (auto _ : state) {
    // The level is discarded outside the timed part: closing a level is not part of opening.
    auto level = std::make_unique<zr3::ZR3Level>();
    level->Load(gSetup.path);
    state.PauseTiming();
    level.reset();
    state.ResumeTiming();
  }
  CountBytes(state, gSetup.fileBytes);
}

void WriteFloor(benchmark::State& state, const std::string& bytes, bool durable) {
  for (auto _ : state) WriteFileFloor(gSetup.outPath, bytes.data(), bytes.size(), durable);
  CountBytes(state, bytes.size());
}

// Runs body on a level loaded once for the benchmark.
void OnLevel(benchmark::State& state, const std::function<std::size_t(zr3::ZR3Level&)>& body) {
  zr3::ZR3Level level;
  level.Load(gSetup.path);
  std::size_t bytes = 0;
  for (auto _ : state) bytes = body(level);
  CountBytes(state, bytes);
}

void RegisterAll() {
  RegisterFigure("load_link", LoadLink);
  RegisterFigure("load_link_floor", ReadFloor);

  RegisterFigure("save", [](benchmark::State& state) {
    OnLevel(state, [](zr3::ZR3Level& level) {
      level.Save(gSetup.outPath);
      return gSetup.saved.size();
    });
  });
  RegisterFigure("save_floor", [](benchmark::State& s) { WriteFloor(s, gSetup.saved, true); });

  RegisterFigure("save_to_memory", [](benchmark::State& state) {
    OnLevel(state, [](zr3::ZR3Level& level) {
      const std::string bytes = level.SaveToBytes();
      benchmark::DoNotOptimize(bytes.data());
      return bytes.size();
    });
  });
  RegisterFigure("save_to_memory_floor",
                 [](benchmark::State& s) { WriteFloor(s, gSetup.saved, false); });

  RegisterFigure("level_text_export", [](benchmark::State& state) {
    OnLevel(state, [](zr3::ZR3Level& level) {
      level.ExportLevelText(gSetup.outPath);
      return gSetup.text.size();
    });
  });
  RegisterFigure("level_text_export_floor",
                 [](benchmark::State& s) { WriteFloor(s, gSetup.text, true); });

  RegisterFigure("level_text_to_memory", [](benchmark::State& state) {
    OnLevel(state, [](zr3::ZR3Level& level) {
      const std::string text = level.LevelText();
      benchmark::DoNotOptimize(text.data());
      return text.size();
    });
  });
  RegisterFigure("level_text_to_memory_floor",
                 [](benchmark::State& s) { WriteFloor(s, gSetup.text, false); });
}

}  // namespace

}  // namespace zr3bench

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  using zr3bench::gSetup;
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--file=", 7) == 0) gSetup.path = argv[i] + 7;
  }
  if (gSetup.path.empty()) {
    std::fprintf(stderr, "usage: %s --file=<level.zr3> [benchmark flags]\n", argv[0]);
    return 2;
  }
  gSetup.outPath = gSetup.path + ".bench-out";
  gSetup.fileBytes = zr3bench::FileSize(gSetup.path);
  {
    zr3::ZR3Level level;
    level.Load(gSetup.path);
    gSetup.saved = level.SaveToBytes();
    gSetup.text = level.LevelText();
  }
  zr3bench::RegisterAll();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::remove(gSetup.outPath.c_str());
  return 0;
}
