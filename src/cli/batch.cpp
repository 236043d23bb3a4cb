#include "cli/batch.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <iostream>
#include <map>
#include <thread>

#include "cli/cli_common.h"
#include "level/parallel.h"
#include "level/zr3error.h"

namespace zr3::cli {

CLI::Option* AddBatchArguments(CLI::App& command, BatchArgs& args, const std::string& levels,
                               bool writes) {
  command.add_option("LEVEL", args.levels, levels)->required();
  command.add_option("-j,--jobs", args.jobs,
                     "How many levels are worked on at once (default: one per processor core)");
  if (!writes) return nullptr;
  return command.add_option("--output-dir", args.outputDir,
                            "Write one file per level into this folder, named after the level");
}

std::vector<FileOutcome> RunEach(const BatchArgs& args, const FileWork& work) {
  const std::vector<std::string>& files = args.levels;
  std::vector<FileOutcome> outcomes(files.size());
  const auto runOne = [&](std::size_t index) {
    try {
      work(files[index], outcomes[index]);
    } catch (const std::exception& error) {
      outcomes[index].text.clear();
      outcomes[index].note.clear();
      outcomes[index].error = error.what();
    }
  };
  // Levels differ in size, so each worker takes the next file when it is done with one
  // rather than a fixed share of them.
  std::size_t workers =
      args.jobs > 0 ? args.jobs : std::max(1u, std::thread::hardware_concurrency());
  workers = std::min(workers, files.size());
  std::atomic<std::size_t> next{0};
  ParallelParts(workers, 1, [&](std::size_t, std::size_t) {
    for (std::size_t index = next++; index < files.size(); index = next++) runOne(index);
  });
  return outcomes;
}

void PrintOutcomes(const std::vector<std::string>& files,
                   const std::vector<FileOutcome>& outcomes) {
  const bool several = files.size() > 1;
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (several) std::cout << (i > 0 ? "\n" : "") << "==> " << files[i] << " <==\n";
    std::cout << outcomes[i].text;
    ReportMessages(files, i, outcomes[i]);
  }
  std::cout.flush();
}

void ReportMessages(const std::vector<std::string>& files, std::size_t index,
                    const FileOutcome& outcome) {
  const std::string name = files.size() > 1 ? files[index] + ": " : "";
  for (const std::string* message : {&outcome.note, &outcome.error}) {
    if (message->empty()) continue;
    std::cout.flush();
    std::cerr << "zr3: " << name << *message << '\n';
  }
}

namespace {

std::string Joined(const std::vector<std::string>& names) {
  std::string joined;
  for (const std::string& name : names) joined += (joined.empty() ? "" : ", ") + name;
  return joined;
}

}  // namespace

void FinishBatch(const std::vector<std::string>& files, const std::vector<FileOutcome>& outcomes) {
  std::vector<std::string> failed;
  std::vector<std::string> found;
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (!outcomes[i].error.empty()) failed.push_back(files[i]);
    if (outcomes[i].finding) found.push_back(files[i]);
  }
  if (failed.empty() && found.empty()) return;
  if (files.size() > 1) {
    std::cout.flush();
    const std::string total = " of " + std::to_string(files.size()) + " files";
    if (!failed.empty()) {
      std::cerr << "zr3: " << failed.size() << total << " failed: " << Joined(failed) << '\n';
    }
    if (!found.empty()) {
      std::cerr << "zr3: problems found in " << found.size() << total << ": " << Joined(found)
                << '\n';
    }
  }
  // A silent error: the lines above already say what went wrong.
  throw CLI::RuntimeError(1);
}

void WriteEach(const BatchArgs& args, const std::string& extension,
               const std::function<void(const ZR3Level& level, ByteWriter& out)>& produce) {
  CreateOutputFolder(args.outputDir);
  RefuseSharedOutputs(args.levels, extension);
  const std::vector<FileOutcome> outcomes =
      RunEach(args, [&](const std::string& file, FileOutcome& outcome) {
        const std::unique_ptr<ZR3Level> level = LoadLevel(file);
        const std::string out = OutputPathFor(args.outputDir, file, extension);
        WriteOutput(out, [&](ByteWriter& bytes) { produce(*level, bytes); });
        outcome.text = file + " -> " + out + "\n";
      });
  PrintOutcomes(args.levels, outcomes);
  FinishBatch(args.levels, outcomes);
}

std::string OutputPathFor(const std::string& folder, const std::string& level,
                          const std::string& extension) {
  const std::filesystem::path name = std::filesystem::path(level).stem();
  return (std::filesystem::path(folder) / name).string() + extension;
}

void CreateOutputFolder(const std::string& folder) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error || !std::filesystem::is_directory(folder)) {
    throw ZR3Error("Cannot create the folder " + folder);
  }
}

void RefuseSharedOutputs(const std::vector<std::string>& levels, const std::string& extension) {
  std::map<std::string, std::string> first;
  for (const std::string& level : levels) {
    const std::string out = OutputPathFor("", level, extension);
    const auto [place, added] = first.emplace(out, level);
    if (!added) {
      throw ZR3Error(level + " and " + place->second + " would both be written to " + out +
                     "; rename one or run them apart");
    }
  }
}

}  // namespace zr3::cli
