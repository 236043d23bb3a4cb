// Editing operations on one level file, each next to its floor measured in the same run:
//   zr3_bench_edit --file=<level.zr3> [Google Benchmark flags]
// The floor of a query over the level is one visit of every record of every list: the least
// any question about "who refers to this" must do.
#include <cstdio>
#include <cstring>
#include <string>

#include "edit/deletion.h"
#include "edit/references.h"
#include "figures.h"
#include "level/zr3level.h"
#include "stress_level.h"

namespace zr3bench {

namespace {

zr3::ZR3Level gLevel;

std::size_t VisitEveryRecord(const zr3::ZR3Level& level) {
  std::size_t sum = 0;
  for (std::size_t c = 0; c < zr3::kCategoryCount; ++c) {
    for (const auto& record : level.List(static_cast<zr3::Category>(c))) {
      sum += record->Name().size() + static_cast<std::size_t>(record->Position());
    }
  }
  return sum;
}

void VisitFloor(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(VisitEveryRecord(gLevel));
}

std::size_t UnnamedScript() {
  return gLevel.List(kHotCategory).size() - 1;
}

void RegisterAll() {
  RegisterFigure("reference_search", [](benchmark::State& state) {
    std::size_t lines = 0;
    for (auto _ : state) {
      lines = zr3::SearchReferences(gLevel, kHotCategory, kHotIndex).size();
      benchmark::DoNotOptimize(lines);
    }
    state.counters["lines"] = static_cast<double>(lines);
  });
  RegisterFigure("reference_search_floor", VisitFloor);
  RegisterFigure("deletion_check", [](benchmark::State& state) {
    for (auto _ : state) {
      benchmark::DoNotOptimize(zr3::CheckDeletion(gLevel, kHotCategory, kHotIndex).Allowed());
    }
  });
  RegisterFigure("deletion_check_floor", VisitFloor);
  RegisterFigure("deletion_check_unnamed", [](benchmark::State& state) {
    for (auto _ : state) {
      benchmark::DoNotOptimize(zr3::CheckDeletion(gLevel, kHotCategory, UnnamedScript()).Allowed());
    }
  });
  RegisterFigure("deletion_check_unnamed_floor", VisitFloor);
}

}  // namespace

}  // namespace zr3bench

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  std::string path;
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--file=", 7) == 0) path = argv[i] + 7;
  }
  if (path.empty()) {
    std::fprintf(stderr, "usage: %s --file=<level.zr3> [benchmark flags]\n", argv[0]);
    return 2;
  }
  zr3bench::gLevel.Load(path);
  zr3bench::RegisterAll();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
