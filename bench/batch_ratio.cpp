// zr3 check of many levels in one call, on two workers against one after another: the ratio
// of the two times (target: at most 0.6 on two cores), and the same for its floor, two
// processes each checking half the levels.
//   zr3_batch_ratio [--levels=N] [--size=NAME] [benchmark options]
// N stress levels of the size NAME (default 100 of large/16), built by the test-side builder,
// each a file of its own.
#include <benchmark/benchmark.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "figures.h"
#include "stress_level.h"

namespace {

// Takes --name=value out of the arguments, leaving the rest to the benchmark library.
std::string TakeOption(int& argc, char** argv, const std::string& name, std::string fallback) {
  const std::string prefix = "--" + name + "=";
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]).rfind(prefix, 0) == 0) {
      fallback = std::string(argv[i]).substr(prefix.size());
      for (int j = i; j + 1 < argc; ++j) argv[j] = argv[j + 1];
      --argc;
      break;
    }
  }
  return fallback;
}

// Seconds the shell command takes.
double SecondsOf(const std::string& command, benchmark::State& state) {
  const auto start = std::chrono::steady_clock::now();
  // The stress levels are built to have no problems: any other status is a fault.
  if (std::system(command.c_str()) != 0) state.SkipWithError(("failed: " + command).c_str());
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Keeps the ratio of the figure (its median when there are repetitions) to print after the
// table.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      if (median || (run.run_type == Run::RT_Iteration && !fromMedian)) {
        one = run.counters.at("jobs_1_ms");
        two = run.counters.at("jobs_2_ms");
        floor = run.counters.at("floor_ms");
        fromMedian = fromMedian || median;
      }
    }
  }
  double one = 0;
  double two = 0;
  double floor = 0;
  bool fromMedian = false;
};

}  // namespace

int main(int argc, char** argv) {
  const int count = std::stoi(TakeOption(argc, argv, "levels", "100"));
  const std::string size = TakeOption(argc, argv, "size", "large/16");
  benchmark::Initialize(&argc, argv);

  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("zr3_batch_ratio_" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  const std::string bytes = zr3bench::BuildStressLevel(zr3bench::SizeNamed(size));
  // All the files, and the first and second half of them.
  std::string files;
  std::array<std::string, 2> halves;
  for (int i = 0; i < count; ++i) {
    const std::filesystem::path path = folder / ("level" + std::to_string(i) + ".zr3");
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    files += " '" + path.string() + "'";
    halves[i < count / 2 ? 0 : 1] += " '" + path.string() + "'";
  }
  std::fprintf(stderr, "%d levels of %s, %zu bytes each\n", count, size.c_str(), bytes.size());

  // Each iteration checks the levels one after another, then on two workers, then as the
  // floor: two processes at once, each checking half of them one after another. All three meet
  // the same load of a shared machine.
  const auto check = [](int jobs, const std::string& levels) {
    return std::string("'") + ZR3_CLI_PATH + "' check -j " + std::to_string(jobs) + levels +
           " >/dev/null";
  };
  const std::string one = check(1, files);
  const std::string two = check(2, files);
  const std::string floor = check(1, halves[0]) + " & " + check(1, halves[1]) + "; wait";
  zr3bench::RegisterFigure("check_levels_jobs_1_then_2", [&](benchmark::State& state) {
    double oneTime = 0;
    double twoTime = 0;
    double floorTime = 0;
    for (auto _ : state) {
      oneTime += SecondsOf(one, state);
      twoTime += SecondsOf(two, state);
      floorTime += SecondsOf(floor, state);
    }
    const double perIteration = 1000 / static_cast<double>(state.iterations());
    state.counters["jobs_1_ms"] = oneTime * perIteration;
    state.counters["jobs_2_ms"] = twoTime * perIteration;
    state.counters["floor_ms"] = floorTime * perIteration;
    state.counters["ratio"] = twoTime / oneTime;
  });
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::filesystem::remove_all(folder);
  if (reporter.one > 0) {
    std::printf(
        "check of %d levels: 2 workers %.1f ms, one after another %.1f ms, ratio %.2f (floor: "
        "two processes of half the levels each %.1f ms, ratio %.2f)\n",
        count, reporter.two, reporter.one, reporter.two / reporter.one, reporter.floor,
        reporter.floor / reporter.one);
  }
  benchmark::Shutdown();
  return 0;
}
