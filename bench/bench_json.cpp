// The level as JSON both ways, each next to its floor measured in the same run:
//   zr3_bench_json --file=<level.zr3> [Google Benchmark flags]
// json_export streams the document into a file as zr3 export-json does; its floor writes and
// syncs as many bytes. json_import reads the document, builds, links and saves the level as
// zr3 import-json does; its floor is RapidJSON's own parse of the same document into its DOM
// plus the binary save.
#include <rapidjson/document.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "bench_io.h"
#include "figures.h"
#include "json/json_export.h"
#include "json/json_import.h"
#include "level/safefile.h"
#include "level/zr3level.h"

namespace zr3bench {

namespace {

struct Setup {
  std::string path;      // the level file measured
  std::string jsonPath;  // its export, next to it
  std::string outPath;   // where the exports and saves go
  std::string json;      // the export, for the size of the export floor
};

Setup gSetup;

void RegisterAll() {
  RegisterFigure("json_export", [](benchmark::State& state) {
    zr3::ZR3Level level;
    level.Load(gSetup.path);
    for (auto _ : state) {
      zr3::WriteFileAtomically(gSetup.outPath, [&level](zr3::ByteWriter& out) {
        zr3::json::WriteLevelJson(level, out);
      });
    }
    CountBytes(state, gSetup.json.size());
  });
  RegisterFigure("json_export_floor", [](benchmark::State& state) {
    for (auto _ : state) {
      WriteFileFloor(gSetup.outPath, gSetup.json.data(), gSetup.json.size(), true);
    }
    CountBytes(state, gSetup.json.size());
  });

  RegisterFigure("json_import", [](benchmark::State& state) {
    for (auto _ : state) {
      std::unique_ptr<zr3::ZR3Level> level =
          zr3::json::ImportLevelJson(zr3::ReadWholeFile(gSetup.jsonPath));
      level->Save(gSetup.outPath);
      state.PauseTiming();
      level.reset();
      state.ResumeTiming();
    }
    CountBytes(state, gSetup.json.size());
  });
  RegisterFigure("json_import_floor", [](benchmark::State& state) {
    zr3::ZR3Level level;
    level.Load(gSetup.path);
    for (auto _ : state) {
      auto document = std::make_unique<rapidjson::Document>();
      const std::string text = zr3::ReadWholeFile(gSetup.jsonPath);
      document->Parse(text.data(), text.size());
      benchmark::DoNotOptimize(document->HasParseError());
      level.Save(gSetup.outPath);
      state.PauseTiming();
      document.reset();
      state.ResumeTiming();
    }
    CountBytes(state, gSetup.json.size());
  });
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
  gSetup.outPath = gSetup.path + ".bench-json-out";
  gSetup.jsonPath = gSetup.path + ".bench.json";
  {
    zr3::ZR3Level level;
    level.Load(gSetup.path);
    gSetup.json = zr3::json::LevelJson(level);
    zr3::WriteFileAtomically(gSetup.jsonPath, gSetup.json);
  }
  zr3bench::RegisterAll();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::remove(gSetup.outPath.c_str());
  std::remove(gSetup.jsonPath.c_str());
  return 0;
}
