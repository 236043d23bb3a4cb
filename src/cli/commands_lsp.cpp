#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "cli/cli_common.h"
#include "lsp/lsp_server.h"

namespace zr3::cli {

namespace {

// Serves the client on standard input and output until it says exit; answers the exit
// status (0 when it asked to shut down first).
int ServeLanguage(const std::string& levelPath) {
  lsp::Server server({.levelPath = levelPath}, [](std::string_view message) {
    std::fwrite(message.data(), 1, message.size(), stdout);
    std::fflush(stdout);
  });
  std::string buffer(64 * 1024, '\0');
  while (!server.Exited()) {
    const ssize_t count = read(STDIN_FILENO, buffer.data(), buffer.size());
    if (count < 0 && errno == EINTR) continue;
    // The client went away without saying exit.
    if (count <= 0) return 1;
    server.Feed(std::string_view(buffer.data(), static_cast<std::size_t>(count)));
  }
  return server.ExitCode();
}

}  // namespace

void AddLspCommand(CLI::App& app) {
  auto level = std::make_shared<std::string>();
  CLI::App* lsp = app.add_subcommand(
      "lsp", "Language server for script text files on standard input and output");
  lsp->add_option("--level", *level,
                  "Level whose records the names must name (otherwise the .zr3 of the same "
                  "name beside each script file)");
  lsp->callback([level] {
    const int status = ServeLanguage(*level);
    if (status != 0) throw CLI::RuntimeError(status);
  });
}

}  // namespace zr3::cli
