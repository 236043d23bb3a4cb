#pragma once

#include <CLI/CLI.hpp>
#include <functional>
#include <memory>
#include <string>

#include "level/bytes.h"
#include "level/category.h"
#include "level/zr3level.h"

namespace zr3::cli {

// Loads and links a level; throws ZR3Error with the loader's message on failure.
std::unique_ptr<ZR3Level> LoadLevel(const std::string& path);

// The category named on the command line; throws ZR3Error naming the valid ones otherwise.
Category ParseCategory(const std::string& name);

// Writes what produce writes to the file at path atomically, or to standard output when path
// is "-"; either way through a bounded buffer.
void WriteOutput(const std::string& path, const std::function<void(ByteWriter& out)>& produce);
// Prints each line, the level's text as UTF-8, followed by a line feed.
void PrintLines(const Lines& lines);
// Lines of the level's text as UTF-8, a line feed after each, for a report printed later.
std::string Utf8Text(const Lines& lines);
// Prints lines that are UTF-8 already (a report that mixes the level's texts with its own
// signs), one a line.
void PrintUtf8Lines(const Lines& lines);

// Where a modifying command writes its result: -o OUT or --in-place.
struct OutputTarget {
  std::string out;
  bool inPlace = false;
};
void AddOutputOptions(CLI::App& command, OutputTarget& target);
// Saves the level to the chosen target; throws ZR3Error when neither was given.
void SaveTo(ZR3Level& level, const std::string& levelPath, const OutputTarget& target);

// Each group of subcommands registers itself on the application.
void AddBasicCommands(CLI::App& app);
void AddCheckCommand(CLI::App& app);
void AddEditCommands(CLI::App& app);
void AddScriptCommands(CLI::App& app);
void AddJsonCommands(CLI::App& app);
void AddFieldCommands(CLI::App& app);
// Script text as a language: lint-scripts and the language server.
void AddLintCommand(CLI::App& app);
void AddLspCommand(CLI::App& app);
// paint (map cells) and set-colour (palette colours).
void AddPaintCommands(CLI::App& app);

}  // namespace zr3::cli
