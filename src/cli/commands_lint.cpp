#include <iostream>

#include "cli/cli_common.h"
#include "level/file_source.h"
#include "script/script_analysis.h"

namespace zr3::cli {

namespace {

struct LintArgs {
  std::string scripts;
  std::string level;
};

// One line a finding, as compilers write them: FILE:LINE:COLUMN: error|warning: message,
// line and column counted from 1.
bool LintScripts(const LintArgs& args) {
  std::unique_ptr<ZR3Level> level;
  if (!args.level.empty()) level = LoadLevel(args.level);
  const FileBytes text(args.scripts);
  const ScriptAnalysis analysis = ScriptAnalyzer(level.get()).Analyze(text.View());
  for (const ScriptDiagnostic& diagnostic : analysis.diagnostics) {
    std::cout << args.scripts << ':' << diagnostic.line << ':' << diagnostic.column + 1 << ": "
              << (diagnostic.severity == Severity::Error ? "error" : "warning") << ": "
              << diagnostic.message << '\n';
  }
  return !analysis.HasErrors();
}

}  // namespace

void AddLintCommand(CLI::App& app) {
  auto args = std::make_shared<LintArgs>();
  CLI::App* lint = app.add_subcommand(
      "lint-scripts", "Check script text without importing it; exit status 1 when it has an error");
  lint->add_option("SCRIPTS", args->scripts, "Script text file")->required();
  lint->add_option("--level", args->level,
                   "Level whose records the names must name (without it names are not checked)");
  lint->callback([args] {
    // A silent error: the lines above already say what was found.
    if (!LintScripts(*args)) throw CLI::RuntimeError(1);
  });
}

}  // namespace zr3::cli
