// zr3 diff on two versions of a stress level that differ by a few hundred edits, next to
// loading both versions (its floor), at the sizes given by divisors of the measured size so
// that its growth with the records shows:
//   zr3_bench_diff [--size=large*8/5] [Google Benchmark flags]
//   zr3_bench_diff [--size=large*8/5] --write-pair=DIR
// The size is a stress size name, optionally followed by "/N" (large*8/5: about 40 MB).
// Before the figures it prints the heap the diff holds beyond both levels at its peak. With
// --write-pair it writes both versions as DIR/old.zr3 and DIR/new.zr3 instead, for timing and
// measuring `zr3 diff` itself.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#include "compare/level_diff.h"
#include "edit/copy.h"
#include "edit/field_edit.h"
#include "edit/map_paint.h"
#include "edit/rename.h"
#include "edit/reorder.h"
#include "figures.h"
#include "level/zr3level.h"
#include "stress_level.h"
#include "support/allocation_meter.h"

namespace zr3bench {

namespace {

using zr3::Category;

// The two versions of one size: the stress level, and the same after the edits and a save.
struct Versions {
  std::string before;
  std::string after;
  std::size_t edits = 0;
};

// A few hundred edits spread over the lists: renames, field edits, moves, copies and a
// painted rectangle.
std::size_t Edit(zr3::ZR3Level& level) {
  std::size_t edits = 0;
  const Category lists[] = {Category::Items, Category::ObjectScripts, Category::Monsters,
                            Category::Tiles, Category::Objects};
  for (const Category list : lists) {
    const std::size_t count = level.List(list).size();
    for (std::size_t n = 1; n <= 20; ++n) {
      const std::size_t index = count * n / 21;
      zr3::RenameRecord(level, list, index, "Renamed " + std::to_string(n));
      zr3::MoveRecord(level, list, index + 1, zr3::MoveDirection::Down);
      edits += 2;
    }
    for (std::size_t n = 0; n < 10; ++n) {
      zr3::CopyRecord(level, list, count / 3 + n);
      ++edits;
    }
  }
  const std::size_t items = level.List(Category::Items).size();
  for (std::size_t n = 0; n < 100; ++n) {
    zr3::EditField(level, {Category::Items, n * 13 % items}, "cost", std::to_string(n + 7));
    ++edits;
  }
  auto* tile = static_cast<zr3::ZR3ChainRecord*>(level.List(Category::Tiles)[5].get());
  zr3::MapPaint paint(level, 0);
  edits += paint.Fill(level, 10, 10, 19, 19, 1, tile) > 0 ? 1 : 0;
  return edits;
}

std::string gSize = "large*8/5";
std::map<int, Versions> gVersions;

const Versions& VersionsAt(int divisor) {
  Versions& versions = gVersions[divisor];
  if (versions.before.empty()) {
    const std::string name = gSize + (divisor > 1 ? "/" + std::to_string(divisor) : "");
    StressSize size;
    if (const std::size_t star = gSize.find('*'); star != std::string::npos) {
      // "large*8/5": the base times 8 divided by 5, then by the divisor.
      const std::size_t slash = gSize.find('/', star);
      const int multiplier = std::stoi(gSize.substr(star + 1, slash - star - 1));
      const int base = slash == std::string::npos ? 1 : std::stoi(gSize.substr(slash + 1));
      size = Scaled(SizeNamed(gSize.substr(0, star)), multiplier, base * divisor);
    } else {
      size = SizeNamed(name);
    }
    versions.before = BuildStressLevel(size);
    zr3::ZR3Level level;
    level.LoadFromBytes(versions.before);
    versions.edits = Edit(level);
    versions.after = level.SaveToBytes();
  }
  return versions;
}

void LoadBoth(benchmark::State& state) {
  const Versions& versions = VersionsAt(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    auto before = std::make_unique<zr3::ZR3Level>();
    auto after = std::make_unique<zr3::ZR3Level>();
    before->LoadFromBytes(versions.before);
    after->LoadFromBytes(versions.after);
    state.PauseTiming();
    before.reset();
    after.reset();
    state.ResumeTiming();
  }
  CountBytes(state, versions.before.size() + versions.after.size());
}

void Diff(benchmark::State& state) {
  const Versions& versions = VersionsAt(static_cast<int>(state.range(0)));
  zr3::ZR3Level before;
  zr3::ZR3Level after;
  before.LoadFromBytes(versions.before);
  after.LoadFromBytes(versions.after);
  std::size_t records = 0;
  for (const Category list : zr3::kFileOrder) records += before.List(list).size();
  for (auto _ : state) {
    const zr3::compare::LevelDiff diff = zr3::compare::CompareLevels(before, after);
    benchmark::DoNotOptimize(diff.lists.data());
  }
  CountBytes(state, versions.before.size() + versions.after.size());
  state.counters["records"] = static_cast<double>(records);
  state.counters["edits"] = static_cast<double>(versions.edits);
}

// The heap the diff holds at its peak beyond both loaded levels, and the levels' own.
void PrintMemory() {
  const Versions& versions = VersionsAt(1);
  zr3::ZR3Level before;
  zr3::ZR3Level after;
  std::size_t levels = 0;
  {
    zr3test::AllocationMeter meter;
    before.LoadFromBytes(versions.before);
    after.LoadFromBytes(versions.after);
    levels = meter.PeakBytes();
  }
  zr3test::AllocationMeter meter;
  const zr3::compare::LevelDiff diff = zr3::compare::CompareLevels(before, after);
  std::printf("file_bytes=%zu edits=%zu levels_heap_bytes=%zu diff_peak_heap_bytes=%zu\n",
              versions.before.size(), versions.edits, levels, meter.PeakBytes());
}

// Writes both versions of the measured size for `zr3 diff`.
bool WritePair(const std::string& folder) {
  const Versions& versions = VersionsAt(1);
  for (const auto& [name, bytes] :
       {std::pair<const char*, const std::string*>{"old", &versions.before},
        std::pair<const char*, const std::string*>{"new", &versions.after}}) {
    const std::string path = folder + "/" + name + ".zr3";
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes->data(), static_cast<std::streamsize>(bytes->size()));
    out.close();
    if (!out) {
      std::fprintf(stderr, "zr3_bench_diff: cannot write %s\n", path.c_str());
      return false;
    }
    std::printf("%s: %zu bytes\n", path.c_str(), bytes->size());
  }
  return true;
}

}  // namespace

}  // namespace zr3bench

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  const char* pairFolder = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--size=", 7) == 0) zr3bench::gSize = argv[i] + 7;
    if (std::strncmp(argv[i], "--write-pair=", 13) == 0) pairFolder = argv[i] + 13;
  }
  if (pairFolder) return zr3bench::WritePair(pairFolder) ? 0 : 1;
  zr3bench::PrintMemory();
  // Both use a second thread; each at every size.
  for (const int divisor : {4, 2, 1}) {
    zr3bench::RegisterThreadedFigure("diff", zr3bench::Diff)->Arg(divisor);
    zr3bench::RegisterThreadedFigure("diff_floor", zr3bench::LoadBoth)->Arg(divisor);
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
