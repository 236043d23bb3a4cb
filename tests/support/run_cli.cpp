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

CliResult Run(const std::vector<std::string>& args, const std::string* input) {
  TempDir dir;
  std::string command = Quote(ZR3_CLI_PATH);
  for (const std::string& arg : args) {
    command += ' ';
    command += Quote(arg);
  }
  if (input) {
    WriteFile(dir.Path("in"), *input);
    command += " <" + Quote(dir.Path("in"));
  } else {
    command += " </dev/null";
  }
  command += " >";
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

}  // namespace

CliResult RunCli(const std::vector<std::string>& args) {
  return Run(args, nullptr);
}

CliResult RunCliWithInput(const std::vector<std::string>& args, const std::string& input) {
  return Run(args, &input);
}

}  // namespace zr3test
