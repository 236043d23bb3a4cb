#pragma once

#include <rapidjson/document.h>

#include <CLI/CLI.hpp>
#include <functional>
#include <string>
#include <vector>

namespace zr3 {
class ByteWriter;
class ZR3Level;
}  // namespace zr3

namespace zr3::cli {

// What one level file of a command over several files gave: its text for standard output, or
// its part of a JSON document, a note for standard error, and whether it failed (the failure's
// message) or found something (check's problems).
struct FileOutcome {
  std::string text;
  rapidjson::Document json;
  std::string note;
  std::string error;
  bool finding = false;
};

// The level files of a command and how many run at once.
struct BatchArgs {
  std::vector<std::string> levels;
  unsigned jobs = 0;  // 0: one per processor core
  std::string outputDir;
};

// The level files of the levels help ("LEVEL...") and -j/--jobs on a command that reads several
// levels; for one that writes a file per level (writes), --output-dir too, which is answered.
CLI::Option* AddBatchArguments(CLI::App& command, BatchArgs& args,
                               const std::string& levels = "Level files", bool writes = false);

// Runs work on every file, several at once on up to args.jobs threads (each file on its own
// level; nothing shared), and answers the outcomes in the files' order. An exception of work is
// that file's failure: it never stops the other files.
using FileWork = std::function<void(const std::string& file, FileOutcome& outcome)>;
std::vector<FileOutcome> RunEach(const BatchArgs& args, const FileWork& work);

// Prints the outcomes in order: each file's text, with a "==> FILE <==" line before it when
// there are several files, and each note and failure as "zr3: FILE: message" on standard
// error.
void PrintOutcomes(const std::vector<std::string>& files, const std::vector<FileOutcome>& outcomes);
// The note and the failure of the file at index, if any, as PrintOutcomes tells them.
void ReportMessages(const std::vector<std::string>& files, std::size_t index,
                    const FileOutcome& outcome);

// Ends the command: with status 1 after naming the files that failed or found something on
// standard error (one file: its own message was enough), otherwise normally.
void FinishBatch(const std::vector<std::string>& files, const std::vector<FileOutcome>& outcomes);

// Writes what produce writes for each level into args.outputDir, as the level's file name with
// extension, several at once; prints "LEVEL -> OUT" for each and ends as FinishBatch does.
void WriteEach(const BatchArgs& args, const std::string& extension,
               const std::function<void(const ZR3Level& level, ByteWriter& out)>& produce);

// The file in folder that a level's output goes to: the level's file name with extension
// instead of its own ("maps/cave.zr3", ".txt" gives "folder/cave.txt").
std::string OutputPathFor(const std::string& folder, const std::string& level,
                          const std::string& extension);

// Makes the folder when it is not there yet; throws ZR3Error when it cannot.
void CreateOutputFolder(const std::string& folder);

// Throws ZR3Error when two levels would write the same output file.
void RefuseSharedOutputs(const std::vector<std::string>& levels, const std::string& extension);

}  // namespace zr3::cli
