#pragma once

#include <CLI/CLI.hpp>

namespace zr3::cli {

// new and add: an empty level, and a new record in a level.
void AddCreateCommands(CLI::App& app);

}  // namespace zr3::cli
