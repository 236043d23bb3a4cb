#include "cli/cli_common.h"
#include "edit/check.h"

namespace zr3::cli {

void AddCheckCommand(CLI::App& app) {
  auto level = std::make_shared<std::string>();
  CLI::App* check = app.add_subcommand(
      "check", "List what the level does not carry as meant; exit status 1 when anything is found");
  check->add_option("LEVEL", *level, "Level file")->required();
  check->callback([level] {
    const LevelCheck result = CheckLevel(*LoadLevel(*level));
    PrintLines(result.lines);
    // A silent error: the lines above already say what was found.
    if (result.problemCount > 0) throw CLI::RuntimeError(1);
  });
}

}  // namespace zr3::cli
