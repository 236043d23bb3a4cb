// zr3 check of many levels in one call, on two workers against one after another: the ratio
// of the two times (target: at most 0.6 on two cores).
//   zr3_batch_ratio [--levels=N] [--size=NAME] [benchmark options]
// N stress levels of the size NAME (default 100 of large/16), built by the test-side builder,
// each a file of its own.
#include <benchmark/benchmark.h>

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
        fromMedian = fromMedian || median;
      }
    }
  }
  double one = 0;
  double two = 0;
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
  std::string files;
  for (int i = 0; i < count; ++i) {
    const std::filesystem::path path = folder / ("level" + std::to_string(i) + ".zr3");
    std::ofstream(path, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    files += " '" + path.string() + "'";
  }
  std::fprintf(stderr, "%d levels of %s, %zu bytes each\n", count, size.c_str(), bytes.size());

  // Each iteration checks the levels one after another and then on two workers, so that both
  // meet the same load of a shared machine.
  const auto command = [&files](int jobs) {
    return std::string("'") + ZR3_CLI_PATH + "' check -j " + std::to_string(jobs) + files +
           " >/dev/null";
  };
  zr3bench::RegisterFigure("check_levels_jobs_1_then_2", [&](benchmark::State& state) {
    double one = 0;
    double two = 0;
    for (auto _ : state) {
      one += SecondsOf(command(1), state);
      two += SecondsOf(command(2), state);
    }
    const double iterations = static_cast<double>(state.iterations());
    state.counters["jobs_1_ms"] = one * 1000 / iterations;
    state.counters["jobs_2_ms"] = two * 1000 / iterations;
    state.counters["ratio"] = one > 0 ? two / one : 0;
  });
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::filesystem::remove_all(folder);
  if (reporter.one > 0) {
    std::printf("check of %d levels: 2 workers %.1f ms, one after another %.1f ms, ratio %.2f\n",
                count, reporter.two, reporter.one, reporter.two / reporter.one);
  }
  benchmark::Shutdown();
  return 0;
}
