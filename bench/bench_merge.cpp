// zr3 merge of three versions of a stress level, each side a few hundred edits on records of
// its own, next to loading the three versions (its floor):
//   zr3_bench_merge [--size=large*8/5] [Google Benchmark flags]
// The size is a stress size name, optionally followed by "*M/N" (large*8/5: about 40 MB).
#include <cstring>
#include <memory>
#include <string>

#include "edit/copy.h"
#include "edit/field_edit.h"
#include "edit/map_paint.h"
#include "edit/rename.h"
#include "figures.h"
#include "level/zr3level.h"
#include "merge/level_merge.h"
#include "stress_level.h"

namespace zr3bench {

namespace {

using zr3::Category;

struct Versions {
  std::string base;
  std::string ours;
  std::string theirs;
  std::size_t edits = 0;
};

// A few hundred edits on one side's share of the records (side 0 or 1 of every other slice):
// renames, field edits, copies and a painted rectangle on a map of its own.
std::size_t Edit(zr3::ZR3Level& level, std::size_t side) {
  std::size_t edits = 0;
  const Category lists[] = {Category::Items, Category::ObjectScripts, Category::Monsters,
                            Category::Tiles, Category::Objects};
  for (const Category list : lists) {
    const std::size_t count = level.List(list).size();
    for (std::size_t n = side; n < 40; n += 2) {
      zr3::RenameRecord(level, list, count * n / 41, "Renamed " + std::to_string(n));
      ++edits;
    }
    for (std::size_t n = 0; n < 10; ++n) {
      zr3::CopyRecord(level, list, count / 3 + 2 * n + side);
      ++edits;
    }
  }
  const std::size_t items = level.List(Category::Items).size();
  for (std::size_t n = side; n < 200; n += 2) {
    zr3::EditField(level, {Category::Items, n * 13 % items}, "cost", std::to_string(n + 7));
    ++edits;
  }
  auto* tile = static_cast<zr3::ZR3ChainRecord*>(level.List(Category::Tiles)[5].get());
  zr3::MapPaint paint(level, side);
  edits += paint.Fill(level, 10, 10, 19, 19, 1, tile) > 0 ? 1 : 0;
  return edits;
}

std::string gSize = "large*8/5";

StressSize SizeFrom(const std::string& name) {
  const std::size_t star = name.find('*');
  if (star == std::string::npos) return SizeNamed(name);
  const std::size_t slash = name.find('/', star);
  const int multiplier = std::stoi(name.substr(star + 1, slash - star - 1));
  const int divisor = slash == std::string::npos ? 1 : std::stoi(name.substr(slash + 1));
  return Scaled(SizeNamed(name.substr(0, star)), multiplier, divisor);
}

const Versions& TheVersions() {
  static const Versions versions = [] {
    Versions made;
    made.base = BuildStressLevel(SizeFrom(gSize));
    for (const std::size_t side : {0u, 1u}) {
      zr3::ZR3Level level;
      level.LoadFromBytes(made.base);
      made.edits += Edit(level, side);
      (side == 0 ? made.ours : made.theirs) = level.SaveToBytes();
    }
    return made;
  }();
  return versions;
}

std::size_t Bytes(const Versions& versions) {
  return versions.base.size() + versions.ours.size() + versions.theirs.size();
}

void LoadThree(benchmark::State& state) {
  const Versions& versions = TheVersions();
  for (auto _ : state) {
    auto levels = std::make_unique<zr3::ZR3Level[]>(3);
    levels[0].LoadFromBytes(versions.base);
    levels[1].LoadFromBytes(versions.ours);
    levels[2].LoadFromBytes(versions.theirs);
    state.PauseTiming();
    levels.reset();
    state.ResumeTiming();
  }
  CountBytes(state, Bytes(versions));
}

// The merge alone; ours, which it changes, is loaded afresh outside the timing.
void Merge(benchmark::State& state) {
  const Versions& versions = TheVersions();
  zr3::ZR3Level base;
  zr3::ZR3Level theirs;
  base.LoadFromBytes(versions.base);
  theirs.LoadFromBytes(versions.theirs);
  std::size_t conflicts = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto ours = std::make_unique<zr3::ZR3Level>();
    ours->LoadFromBytes(versions.ours);
    state.ResumeTiming();
    conflicts = zr3::merge::MergeLevels(base, *ours, theirs).size();
    state.PauseTiming();
    ours.reset();
    state.ResumeTiming();
  }
  CountBytes(state, Bytes(versions));
  state.counters["edits"] = static_cast<double>(versions.edits);
  state.counters["conflicts"] = static_cast<double>(conflicts);
}

}  // namespace

}  // namespace zr3bench

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--size=", 7) == 0) zr3bench::gSize = argv[i] + 7;
  }
  zr3bench::RegisterThreadedFigure("merge", zr3bench::Merge);
  zr3bench::RegisterThreadedFigure("merge_floor", zr3bench::LoadThree);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
