// The script analysis behind the script editor, lint-scripts and zr3 lsp, on a script text of
// 10,000 lines made from a level's own scripts, next to the importer reading the same text:
//   zr3_bench_script_language [--file=<level.zr3>] [Google Benchmark flags]
// (the demo level without --file). script_analysis is what the editor runs a moment after
// typing stops; script_analysis_unchecked the same without a level (lint-scripts without
// --level); script_completion_last_line a completion at the text's end; import_same_text
// the importer overwriting every script of the text, which the level already holds.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "figures.h"
#include "level/zr3level.h"
#include "script/script_analysis.h"
#include "script/zr3importer.h"
#include "script/zr3script.h"

namespace zr3bench {

namespace {

constexpr std::size_t kLines = 10000;

zr3::ZR3Level gLevel;
std::string gText;
std::size_t gLineCount = 0;

// The level's scripts as text, again and again under new names, up to the line count.
std::string TextOfLines(const zr3::ZR3Level& level, std::size_t lines) {
  std::vector<std::string> blocks;
  for (zr3::Category category : {zr3::Category::GlobalScripts, zr3::Category::DeathScripts,
                                 zr3::Category::ObjectScripts, zr3::Category::StartupScripts}) {
    for (const auto& record : level.List(category)) {
      zr3::ByteWriter out;
      zr3::WriteScriptText(static_cast<const zr3::ZR3Script&>(*record), out);
      blocks.push_back(out.Release());
    }
  }
  std::string text;
  gLineCount = 0;
  for (std::size_t round = 0; gLineCount < lines && !blocks.empty(); ++round) {
    for (const std::string& block : blocks) {
      std::string copy = block;
      if (round > 0) {
        // "kind \"Name\"" becomes "kind \"Name 3\"": another script of the same body.
        const std::size_t close = copy.find("\"\r\n");
        copy.insert(close, " " + std::to_string(round));
      }
      for (const char c : copy) gLineCount += c == '\n';
      text += copy;
      if (gLineCount >= lines) break;
    }
  }
  return text;
}

void RegisterAll() {
  RegisterFigure("script_analysis", [](benchmark::State& state) {
    std::size_t found = 0;
    for (auto _ : state) {
      found = zr3::ScriptAnalyzer(&gLevel).Analyze(gText).diagnostics.size();
    }
    CountBytes(state, gText.size());
    state.counters["lines"] = static_cast<double>(gLineCount);
    state.counters["diagnostics"] = static_cast<double>(found);
  });
  RegisterFigure("script_analysis_unchecked", [](benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(zr3::ScriptAnalyzer().Analyze(gText));
    CountBytes(state, gText.size());
  });
  RegisterFigure("script_completion_last_line", [](benchmark::State& state) {
    for (auto _ : state) {
      benchmark::DoNotOptimize(zr3::ScriptAnalyzer(&gLevel).Complete(gText, gLineCount, 2));
    }
    CountBytes(state, gText.size());
  });
  RegisterFigure("import_same_text", [](benchmark::State& state) {
    for (auto _ : state) {
      zr3::ZR3Importer importer(gLevel);
      importer.ImportText(gText);
    }
    CountBytes(state, gText.size());
  });
}

}  // namespace

}  // namespace zr3bench

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  using namespace zr3bench;
  std::string path = ZR3_DEMO_PATH;
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--file=", 7) == 0) path = argv[i] + 7;
  }
  gLevel.Load(path);
  gText = TextOfLines(gLevel, kLines);
  // The scripts the text adds exist from here on, so that every import overwrites them.
  zr3::ZR3Importer(gLevel).ImportText(gText);
  RegisterAll();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
