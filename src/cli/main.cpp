#include <iostream>

#include "cli/cli_common.h"
#include "cli/commands_create.h"
#include "cli/commands_render.h"
#include "level/zr3error.h"

int main(int argc, char** argv) {
  CLI::App app{"zr3: inspect and edit ZR3 level files"};
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
  zr3::cli::AddRenderCommands(app);
  zr3::cli::AddCreateCommands(app);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e);
  } catch (const zr3::ZR3Error& e) {
    std::cout.flush();
    std::cerr << "zr3: " << e.what() << '\n';
    return 1;
  } catch (const std::exception& e) {
    std::cout.flush();
    std::cerr << "zr3: " << e.what() << '\n';
    return 1;
  }
  return 0;
}
