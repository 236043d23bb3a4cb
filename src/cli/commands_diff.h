#pragma once

#include <CLI/CLI.hpp>

namespace zr3::cli {

// diff: what changed between two versions of a level.
void AddDiffCommand(CLI::App& app);
// git-setup: makes git show levels through zr3 diff.
void AddGitSetupCommand(CLI::App& app);

}  // namespace zr3::cli
