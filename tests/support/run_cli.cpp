#include "support/run_cli.h"

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>

#include "support/temp_dir.h"

namespace zr3test {

namespace {

std::string Quote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

}  // namespace

CliResult RunCli(const std::vector<std::string>& args) {
  TempDir dir;
  std::string command = Quote(ZR3_CLI_PATH);
  for (const std::string& arg : args) {
    command += ' ';
    command += Quote(arg);
  }
  command += " </dev/null >";
  command += Quote(dir.Path("out"));
  command += " 2>";
  command += Quote(dir.Path("err"));
  CliResult result;
  const int raw = std::system(command.c_str());
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  result.out = ReadFile(dir.Path("out"));
  result.err = ReadFile(dir.Path("err"));
  return result;
}

}  // namespace zr3test
