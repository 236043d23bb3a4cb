// zr3 check of many levels in one call, on two workers against one after another: the ratio
// of the two times (target: at most 0.6 on two cores).
//   zr3_batch_ratio [--levels=N] [--size=NAME] [benchmark options]
// N stress levels of the size NAME (default 100 of large/16), built by the test-side builder,
// each a file of its own.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
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

// Remembers each figure's real time per iteration (the median when there are repetitions), to
// print the ratio after the table.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      const std::string& name = run.run_name.function_name;
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
        times[name] = run.GetAdjustedRealTime();
        medians[name] = true;
      } else if (run.run_type == Run::RT_Iteration && !medians[name]) {
        times[name] = run.GetAdjustedRealTime();
      }
    }
  }
  std::map<std::string, double> times;
  std::map<std::string, bool> medians;
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

  for (const int jobs : {1, 2}) {
    const std::string name = "check_levels_jobs_" + std::to_string(jobs);
    const std::string command = std::string("'") + ZR3_CLI_PATH + "' check -j " +
                                std::to_string(jobs) + files + " >/dev/null";
    zr3bench::RegisterFigure(name.c_str(), [command](benchmark::State& state) {
      for (auto _ : state) {
        // The stress levels are built to have no problems: any other status is a fault.
        if (std::system(command.c_str()) != 0) {
          state.SkipWithError("zr3 check failed");
          break;
        }
      }
    });
  }
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::filesystem::remove_all(folder);
  const double one = reporter.times["check_levels_jobs_1"];
  const double two = reporter.times["check_levels_jobs_2"];
  if (one > 0 && two > 0) {
    std::printf("check of %d levels: 2 workers %.1f ms, one after another %.1f ms, ratio %.2f\n",
                count, two, one, two / one);
  }
  benchmark::Shutdown();
  return 0;
}
