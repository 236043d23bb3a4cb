#include <iostream>
#include <iterator>
#include <optional>

#include "cli/cli_common.h"
#include "level/zr3error.h"
#include "script/zr3importer.h"
#include "script/zr3script.h"

namespace zr3::cli {

namespace {

struct ExportArgs {
  std::string level;
  std::string out;
  std::string kind;
  long long index = -1;
};

void ExportScripts(const ExportArgs& args, bool kindGiven, bool indexGiven) {
  if (indexGiven && !kindGiven) throw ZR3Error("--index needs --kind");
  const std::optional<ScriptKind> chosen = ScriptKindFromName(args.kind);
  if (kindGiven && !chosen) {
    throw ZR3Error("Unknown script kind \"" + args.kind + "\" (one of: " + ScriptKindNames() + ")");
  }
  std::unique_ptr<ZR3Level> level = LoadLevel(args.level);
  const ZR3Script* single =
      indexGiven ? &static_cast<const ZR3Script&>(RecordOf(*level, CategoryOf(*chosen), args.index))
                 : nullptr;
  WriteOutput(args.out, [&](ByteWriter& out) {
    if (single) {
      WriteScriptText(*single, out);
    } else if (chosen) {
      ExportScriptList(*level, CategoryOf(*chosen), out);
    } else {
      ExportAllScripts(*level, out);
    }
  });
}

struct ImportArgs {
  std::string level;
  std::string scripts;
  OutputTarget target;
};

void ImportScripts(const ImportArgs& args) {
  if (args.target.out.empty() && !args.target.inPlace) {
    throw ZR3Error("Give -o OUT or --in-place to say where the changed level goes");
  }
  std::unique_ptr<ZR3Level> level = LoadLevel(args.level);
  ZR3Importer importer(*level);
  Lines report;
  try {
    if (args.scripts == "-") {
      const std::string text{std::istreambuf_iterator<char>(std::cin),
                             std::istreambuf_iterator<char>()};
      if (std::cin.bad()) throw ZR3Error("Cannot read standard input");
      importer.ImportText(text);
    } else {
      importer.Import(args.scripts);
    }
  } catch (const ZR3Error&) {
    // The report says what stopped the import; nothing is saved.
    importer.AppendReport(report);
    PrintLines(report);
    throw;
  }
  importer.AppendReport(report);
  PrintLines(report);
  SaveTo(*level, args.level, args.target);
}

}  // namespace

void AddScriptCommands(CLI::App& app) {
  auto exportArgs = std::make_shared<ExportArgs>();
  CLI::App* exportScripts = app.add_subcommand("export-scripts", "Export scripts as script text");
  exportScripts->add_option("LEVEL", exportArgs->level, "Level file")->required();
  exportScripts->add_option("OUT", exportArgs->out, "Text file, or - for standard output")
      ->required();
  CLI::Option* kind = exportScripts->add_option(
      "--kind", exportArgs->kind, "Only the scripts of this kind: " + ScriptKindNames());
  CLI::Option* index =
      exportScripts->add_option("--index", exportArgs->index, "Only the script at this index");
  exportScripts->callback([exportArgs, kind, index] {
    ExportScripts(*exportArgs, kind->count() > 0, index->count() > 0);
  });

  auto importArgs = std::make_shared<ImportArgs>();
  CLI::App* importScripts =
      app.add_subcommand("import-scripts", "Import script text into the level and save it");
  importScripts->add_option("LEVEL", importArgs->level, "Level file")->required();
  importScripts
      ->add_option("SCRIPTS", importArgs->scripts,
                   "Script text file, or - for standard input (such as one script "
                   "export-scripts --kind --index wrote, edited)")
      ->required();
  AddOutputOptions(*importScripts, importArgs->target);
  importScripts->callback([importArgs] { ImportScripts(*importArgs); });
}

}  // namespace zr3::cli
