#include <filesystem>
#include <optional>
#include <string>

#include "cli/batch.h"
#include "cli/cli_common.h"
#include "cli/json_report.h"
#include "edit/check.h"
#include "level/file_source.h"
#include "merge/merge_conflicts.h"

namespace zr3::cli {

namespace {

// A merge whose conflicts are not all resolved leaves its conflicts file beside the level:
// the file, and how many conflicts it lists or why it cannot be read.
struct PendingMerge {
  std::string file;
  std::size_t unresolved = 0;
  std::string error;
};

std::optional<PendingMerge> FindPendingMerge(const std::string& level) {
  PendingMerge pending;
  pending.file = merge::ConflictsFilePath(level);
  std::error_code missing;
  if (!std::filesystem::exists(pending.file, missing)) return std::nullopt;
  try {
    pending.unresolved = merge::ConflictsFromJson(ReadWholeFile(pending.file)).size();
  } catch (const std::exception& error) {
    pending.error = error.what();
  }
  return pending;
}

std::string PendingMergeLine(const PendingMerge& pending) {
  if (!pending.error.empty()) {
    return pending.file +
           ": a merge left this conflicts file, which cannot be read: " + pending.error;
  }
  return pending.file + ": " + std::to_string(pending.unresolved) +
         (pending.unresolved == 1 ? " merge conflict" : " merge conflicts") +
         " not resolved (open the level in zr3tool to resolve them, then save)";
}

void PendingMergeJson(const PendingMerge& pending, rapidjson::Document& into) {
  auto& allocator = into.GetAllocator();
  rapidjson::Value entry(rapidjson::kObjectType);
  entry.AddMember("file", rapidjson::Value(pending.file.c_str(), allocator), allocator);
  if (pending.error.empty()) {
    entry.AddMember("unresolved", static_cast<std::uint64_t>(pending.unresolved), allocator);
  } else {
    entry.AddMember("error", rapidjson::Value(pending.error.c_str(), allocator), allocator);
  }
  into.AddMember("merge_conflicts", entry, allocator);
}

struct CheckArgs {
  BatchArgs batch;
  bool json = false;
};

void Check(const CheckArgs& args) {
  const std::vector<FileOutcome> outcomes =
      RunEach(args.batch, [&args](const std::string& file, FileOutcome& outcome) {
        const std::unique_ptr<ZR3Level> level = LoadLevel(file);
        const std::optional<PendingMerge> pending = FindPendingMerge(file);
        if (args.json) {
          const LevelProblems problems = FindLevelProblems(*level);
          ProblemsJson(problems.lines, problems.problemCount, outcome.json);
          if (pending) PendingMergeJson(*pending, outcome.json);
          outcome.finding = problems.problemCount > 0 || pending;
          return;
        }
        if (pending) outcome.text += PendingMergeLine(*pending) + '\n';
        const LevelCheck result = CheckLevel(*level);
        outcome.text += Utf8Text(result.lines);
        outcome.finding = result.problemCount > 0 || pending;
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
      "List what each level does not carry as meant, and a merge's conflicts file left beside it; "
      "exit status 1 when anything is found or a level cannot be read");
  AddBatchArguments(*check, args->batch);
  AddJsonFlag(*check, args->json, "zr3-check");
  check->callback([args] { Check(*args); });
}

}  // namespace zr3::cli
