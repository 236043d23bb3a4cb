#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "cli/commands_diff.h"
#include "level/safefile.h"
#include "level/zr3error.h"

extern char** environ;

namespace zr3::cli {

namespace {

// What git-setup puts in place: the attribute each level gets in .gitattributes, and the
// repository settings that make the attribute's driver run zr3. Another driver (a merge) is
// one more entry.
struct GitSetting {
  std::string_view key;        // "diff.zr3.command"
  std::string_view arguments;  // what follows the program in the setting, or the whole value
  bool runsZr3 = true;         // false: a plain value, not a command
};
struct GitDriver {
  std::string_view attribute;  // "diff=zr3"
  std::array<GitSetting, 2> settings;
};
// git diff runs the command on both versions; git log -p, which runs no command unless told
// (--ext-diff), diffs the textconv listings line by line. git merge runs the driver on the
// ancestor, ours and theirs, and takes the level it leaves over ours.
constexpr std::array<GitDriver, 2> kDrivers = {{
    {"diff=zr3", {{{"diff.zr3.command", "diff"}, {"diff.zr3.textconv", "diff --textconv"}}}},
    {"merge=zr3",
     {{{"merge.zr3.name", "zr3 level merge", false},
       {"merge.zr3.driver", "merge --git %O %A %B %P"}}}},
}};
constexpr std::string_view kPattern = "*.zr3";

struct GitResult {
  int status = 0;
  std::string output;
};

// Runs git with the arguments, without a shell; answers its exit status and standard output
// less the final line feed.
GitResult RunGit(const std::vector<std::string>& arguments) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) throw ZR3Error("Cannot run git: no pipe");
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
  std::vector<std::string> all = {"git"};
  all.insert(all.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& argument : all) argv.push_back(argument.data());
  argv.push_back(nullptr);
  pid_t child = 0;
  const int spawned = posix_spawnp(&child, "git", &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeEnds[1]);
  GitResult result;
  if (spawned != 0) {
    close(pipeEnds[0]);
    throw ZR3Error("Cannot run git: is it installed?");
  }
  std::array<char, 4096> chunk;
  ssize_t count = 0;
  while ((count = read(pipeEnds[0], chunk.data(), chunk.size())) > 0) {
    result.output.append(chunk.data(), static_cast<std::size_t>(count));
  }
  close(pipeEnds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : 1;
  while (!result.output.empty() && result.output.back() == '\n') result.output.pop_back();
  return result;
}

// The program's own path, so that git finds this zr3 whatever the PATH.
std::string OwnPath() {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string("zr3") : self.string();
}

// A path as a POSIX shell reads it back: git runs the setting through the shell.
std::string ShellQuoted(const std::string& text) {
  std::string quoted = "'";
  for (const char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

// Adds each driver's attribute to the line of level files, or a line of its own; answers
// what it did.
std::vector<std::string> SetAttributes(const std::filesystem::path& file) {
  std::vector<std::string> lines;
  if (std::ifstream in(file); in) {
    for (std::string line; std::getline(in, line);) lines.push_back(line);
  }
  std::vector<std::string> done;
  std::size_t patternLine = lines.size();
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::istringstream words(lines[i]);
    std::string first;
    if (words >> first && first == kPattern) patternLine = i;
  }
  if (patternLine == lines.size()) lines.emplace_back(kPattern);
  bool changed = false;
  for (const GitDriver& driver : kDrivers) {
    std::istringstream words(lines[patternLine]);
    bool present = false;
    for (std::string word; words >> word;) present = present || word == driver.attribute;
    if (present) {
      done.push_back(".gitattributes already has " + std::string(kPattern) + " " +
                     std::string(driver.attribute));
      continue;
    }
    lines[patternLine] += " " + std::string(driver.attribute);
    done.push_back(".gitattributes: added " + std::string(kPattern) + " " +
                   std::string(driver.attribute));
    changed = true;
  }
  if (changed) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    WriteFileAtomically(file.string(), text);
  }
  return done;
}

void GitSetup() {
  const GitResult top = RunGit({"rev-parse", "--show-toplevel"});
  if (top.status != 0 || top.output.empty()) {
    throw ZR3Error("git-setup works inside a git repository: this folder is not in one");
  }
  for (const std::string& line :
       SetAttributes(std::filesystem::path(top.output) / ".gitattributes")) {
    std::cout << line << '\n';
  }
  const std::string program = ShellQuoted(OwnPath());
  for (const GitDriver& driver : kDrivers) {
    for (const GitSetting& setting : driver.settings) {
      const std::string value = setting.runsZr3 ? program + " " + std::string(setting.arguments)
                                                : std::string(setting.arguments);
      const std::string key(setting.key);
      if (RunGit({"config", "--local", "--get", key}).output == value) {
        std::cout << "git config already has " << key << " = " << value << '\n';
        continue;
      }
      if (RunGit({"config", "--local", key, value}).status != 0) {
        throw ZR3Error("git config " + key + " failed");
      }
      std::cout << "git config: set " << key << " = " << value << '\n';
    }
  }
}

}  // namespace

void AddGitSetupCommand(CLI::App& app) {
  CLI::App* setup = app.add_subcommand(
      "git-setup",
      "Make git diff of this repository's levels show zr3 diff's report, git log -p a "
      "listing of their records and git merge merge them with zr3 merge (adds to "
      ".gitattributes and the repository's config; running it again changes nothing)");
  setup->callback(GitSetup);
}

}  // namespace zr3::cli
