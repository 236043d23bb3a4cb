#include "cli/batch.h"
#include "cli/cli_common.h"
#include "cli/json_report.h"
#include "edit/check.h"

namespace zr3::cli {

namespace {

struct CheckArgs {
  BatchArgs batch;
  bool json = false;
};

void Check(const CheckArgs& args) {
  const std::vector<FileOutcome> outcomes =
      RunEach(args.batch, [&args](const std::string& file, FileOutcome& outcome) {
        const std::unique_ptr<ZR3Level> level = LoadLevel(file);
        if (args.json) {
          const LevelProblems problems = FindLevelProblems(*level);
          ProblemsJson(problems.lines, problems.problemCount, outcome.json);
          outcome.finding = problems.problemCount > 0;
          return;
        }
        const LevelCheck result = CheckLevel(*level);
        outcome.text += Utf8Text(result.lines);
        outcome.finding = result.problemCount > 0;
      });
  if (args.json) {
    PrintFilesJson("zr3-check", args.batch.levels, outcomes);
  } else {
    PrintOutcomes(args.batch.levels, outcomes);
  }
  FinishBatch(args.batch.levels, outcomes);
}

}  // namespace

void AddCheckCommand(CLI::App& app) {
  auto args = std::make_shared<CheckArgs>();
  CLI::App* check = app.add_subcommand(
      "check",
      "List what each level does not carry as meant; exit status 1 when anything is found or a "
      "level cannot be read");
  AddBatchArguments(*check, args->batch);
  AddJsonFlag(*check, args->json, "zr3-check");
  check->callback([args] { Check(*args); });
}

}  // namespace zr3::cli
