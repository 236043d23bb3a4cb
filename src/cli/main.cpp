#include "cli/cli_common.h"
#include "cli/commands_create.h"
#include "cli/commands_diff.h"
#include "cli/commands_render.h"
#include "cli/run.h"

int main(int argc, char** argv) {
  CLI::App app{"zr3: inspect and edit ZR3 level files", "zr3"};
  app.set_version_flag("--version", std::string("zr3 ") + ZR3_VERSION);
  app.require_subcommand(1);
  zr3::cli::AddBasicCommands(app);
  zr3::cli::AddCheckCommand(app);
  zr3::cli::AddEditCommands(app);
  zr3::cli::AddScriptCommands(app);
  zr3::cli::AddLintCommand(app);
  zr3::cli::AddLspCommand(app);
  zr3::cli::AddJsonCommands(app);
  zr3::cli::AddFieldCommands(app);
  zr3::cli::AddPaintCommands(app);
  zr3::cli::AddRenderCommands(app);
  zr3::cli::AddCreateCommands(app);
  zr3::cli::AddDiffCommand(app);
  zr3::cli::AddMergeCommand(app);
  zr3::cli::AddGitSetupCommand(app);
  return zr3::cli::Run(app, argc, argv);
}
