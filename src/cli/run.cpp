#include "cli/run.h"

#include <iostream>

namespace zr3::cli {

namespace {

// "zr3 check" for the innermost subcommand the parse reached, "zr3" before any.
std::string CommandPath(const CLI::App& app) {
  std::string path = app.get_name();
  const CLI::App* command = &app;
  while (true) {
    const std::vector<CLI::App*> chosen = command->get_subcommands();
    if (chosen.empty()) return path;
    command = chosen.front();
    path += " " + command->get_name();
  }
}

// The status a command ends with once what it printed reached its reader: output lost to a full
// disk or a closed pipe is a failure, never a success.
int Printed(int status) {
  std::cout.flush();
  if (std::cout) return status;
  std::cerr << "zr3: Cannot write to standard output\n";
  return status == kExitSuccess ? kExitFailure : status;
}

}  // namespace

int Run(CLI::App& app, int argc, char** argv) {
  AddGenerateCommand(app);
  try {
    app.parse(argc, argv);
  } catch (const CLI::RuntimeError& e) {
    // A command that has said what went wrong ends with its status alone.
    return Printed(e.get_exit_code());
  } catch (const CLI::ParseError& e) {
    if (e.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success)) return app.exit(e);
    std::cout.flush();
    const std::string path = CommandPath(app);
    // A word where the command belongs is an unknown command, whatever the parser calls it.
    if (path == app.get_name() && argc > 1 && argv[1][0] != '-') {
      std::cerr << "zr3: unknown command \"" << argv[1] << "\"; see '" << path << " --help'\n";
    } else {
      std::cerr << "zr3: " << e.what() << "; see '" << path << " --help'\n";
    }
    return kExitUsage;
  } catch (const std::exception& e) {
    std::cout.flush();
    std::cerr << "zr3: " << e.what() << '\n';
    return kExitFailure;
  }
  return Printed(kExitSuccess);
}

}  // namespace zr3::cli
