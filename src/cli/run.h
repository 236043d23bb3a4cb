#pragma once

#include <CLI/CLI.hpp>

namespace zr3::cli {

// The exit statuses of every command but diff and merge, which keep diff's rule.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;  // a refused or unreadable file, problems found
inline constexpr int kExitUsage = 2;    // an unknown subcommand or option, a missing argument

// Parses the command line with the subcommands registered on app and runs the chosen one;
// answers the exit status. Adds the hidden "generate" command, which writes the manual's
// command section and the shell completions from the subcommands registered before it.
int Run(CLI::App& app, int argc, char** argv);

// The hidden command that writes documentation generated from app's subcommands.
void AddGenerateCommand(CLI::App& app);

}  // namespace zr3::cli
