#pragma once

#include <CLI/CLI.hpp>

namespace zr3::cli {

// render-map and render-palette: a map or palette drawn into a PNG file.
void AddRenderCommands(CLI::App& app);

}  // namespace zr3::cli
