#include <filesystem>
#include <iostream>
#include <memory>
#include <thread>

#include "cli/cli_common.h"
#include "cli/commands_diff.h"
#include "level/safefile.h"
#include "level/windows1252.h"
#include "level/zr3error.h"
#include "merge/level_merge.h"
#include "merge/merge_conflicts.h"

namespace zr3::cli {

namespace {

// Exit statuses, as diff has them: merged cleanly, merged with conflicts, not merged.
constexpr int kConflicts = 1;
constexpr int kTrouble = 2;

struct MergeArgs {
  std::vector<std::string> files;
  std::string output;
  bool git = false;
};

// Loads the levels at once, each on its own thread; the first failure is thrown once all are
// done.
std::vector<std::unique_ptr<ZR3Level>> LoadAll(const std::vector<std::string>& paths) {
  std::vector<std::unique_ptr<ZR3Level>> levels(paths.size());
  std::vector<std::exception_ptr> failures(paths.size());
  std::vector<std::thread> loaders;
  for (std::size_t i = 0; i < paths.size(); ++i) {
    loaders.emplace_back([&, i] {
      try {
        levels[i] = LoadLevel(paths[i]);
      } catch (...) {
        failures[i] = std::current_exception();
      }
    });
  }
  for (std::thread& loader : loaders) loader.join();
  for (const std::exception_ptr& failure : failures) {
    if (failure) std::rethrow_exception(failure);
  }
  return levels;
}

std::string_view KindText(merge::ConflictKind kind) {
  switch (kind) {
    case merge::ConflictKind::ChangedOnBoth:
      return "changed on both sides";
    case merge::ConflictKind::DeletedAndChanged:
      return "deleted and changed";
    case merge::ConflictKind::DeletedAndReferenced:
      break;
  }
  return "deleted and referenced";
}

// "items 3 "Sword" price: changed on both sides".
std::string ConflictLine(const merge::MergeConflict& conflict) {
  std::string line;
  if (conflict.category) {
    line = std::string(InfoOf(*conflict.category).commandName) + ' ' +
           std::to_string(conflict.index) + " \"" + ToUtf8(conflict.name) + '"';
  } else {
    line = "level information";
  }
  const merge::ConflictPlace& place = conflict.place;
  if (!place.field.empty()) {
    line += ' ' + place.field;
  } else if (place.cell) {
    line += " cell " + std::to_string(place.cell->row) + ',' + std::to_string(place.cell->column) +
            " layer " + std::to_string(place.cell->layer);
  } else if (place.colour) {
    line += " colour " + std::to_string(*place.colour);
  }
  return line + ": " + std::string(KindText(conflict.kind));
}

// Writes the merged level and, with conflicts, the conflicts file beside it; a conflicts file
// left from an earlier merge goes when this one is clean. The level's bytes are made before
// anything is written, so a level that cannot be saved leaves both files as they were.
void WriteResult(ZR3Level& merged, const std::vector<merge::MergeConflict>& conflicts,
                 const std::string& output, const std::string& conflictsPath) {
  const std::string bytes = merged.SaveToBytes();
  if (conflicts.empty()) {
    WriteFileAtomically(output, bytes);
    std::error_code ignored;
    std::filesystem::remove(conflictsPath, ignored);
    return;
  }
  WriteFileAtomically(conflictsPath, merge::ConflictsToJson(conflicts));
  try {
    WriteFileAtomically(output, bytes);
  } catch (...) {
    std::error_code ignored;
    std::filesystem::remove(conflictsPath, ignored);
    throw;
  }
}

int RunMerge(const MergeArgs& args) {
  const std::string output = args.git ? args.files[1] : args.output;
  if (output.empty()) throw CLI::ValidationError("-o", "names the merged level (or give --git)");
  if (args.files.size() == 4 && !args.git) {
    throw CLI::ValidationError("BASE OURS THEIRS",
                               "takes three levels (and git's path with --git)");
  }
  // Git merges into a temporary file: the conflicts file goes beside the level in the work
  // tree, whose path git hands last.
  const std::string conflictsPath =
      merge::ConflictsFilePath(args.files.size() == 4 ? args.files[3] : output);
  std::vector<std::unique_ptr<ZR3Level>> levels;
  std::vector<merge::MergeConflict> conflicts;
  try {
    levels = LoadAll({args.files[0], args.files[1], args.files[2]});
    conflicts = merge::MergeLevels(*levels[0], *levels[1], *levels[2]);
    WriteResult(*levels[1], conflicts, output, conflictsPath);
  } catch (const ZR3Error& error) {
    std::cerr << "zr3: " << error.what() << '\n';
    return kTrouble;
  }
  if (conflicts.empty()) {
    std::cout << "Merged cleanly into " << output << '\n';
    return 0;
  }
  std::cout << conflicts.size() << (conflicts.size() == 1 ? " conflict" : " conflicts")
            << ", our side kept in " << output << ", listed in " << conflictsPath << ":\n";
  for (const merge::MergeConflict& conflict : conflicts) {
    std::cout << "  " << ConflictLine(conflict) << '\n';
  }
  return kConflicts;
}

}  // namespace

void AddMergeCommand(CLI::App& app) {
  auto args = std::make_shared<MergeArgs>();
  CLI::App* merge = app.add_subcommand(
      "merge",
      "Three-way merge of a level: what OURS and THEIRS each changed against BASE, taken "
      "together; exit status 0 when merged cleanly, 1 with conflicts (OUT keeps our side and "
      "OUT.conflicts.json lists them), 2 when a level cannot be read or written");
  merge
      ->add_option("BASE OURS THEIRS", args->files,
                   "The common ancestor and the two versions (with --git, then the level's path)")
      ->required()
      ->expected(3, 4);
  CLI::Option* git = merge->add_flag("--git", args->git,
                                     "As git's merge driver (%O %A %B %P): the result is written "
                                     "over OURS, the conflicts file beside the level's path");
  merge->add_option("-o,--output", args->output, "The merged level")->excludes(git);
  merge->callback([args] {
    std::cout.flush();
    const int status = RunMerge(*args);
    std::cout.flush();
    if (status != 0) throw CLI::RuntimeError(status);
  });
}

}  // namespace zr3::cli
