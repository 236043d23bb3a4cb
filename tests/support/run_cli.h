#pragma once

#include <string>
#include <vector>

namespace zr3test {

struct CliResult {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs the zr3 command line with the given arguments, no standard input, and collects its
// exit status and both output streams.
CliResult RunCli(const std::vector<std::string>& args);
// The same with input as the command's standard input.
CliResult RunCliWithInput(const std::vector<std::string>& args, const std::string& input);

}  // namespace zr3test
