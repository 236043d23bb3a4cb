#pragma once

#include <CLI/CLI.hpp>

namespace zr3::cli {

// diff: what changed between two versions of a level.
void AddDiffCommand(CLI::App& app);
// merge: a three-way merge of a level's versions, also as git's merge driver.
void AddMergeCommand(CLI::App& app);
// git-setup: makes git diff and merge levels through zr3.
void AddGitSetupCommand(CLI::App& app);

}  // namespace zr3::cli
