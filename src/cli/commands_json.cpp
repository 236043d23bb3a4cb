#include <iostream>

#include "cli/batch.h"
#include "cli/cli_common.h"
#include "json/json_export.h"
#include "json/json_import.h"
#include "json/json_schema.h"
#include "level/field_access.h"
#include "level/file_source.h"
#include "level/windows1252.h"
#include "level/zr3error.h"

namespace zr3::cli {

namespace {

// Prints every problem as its own "zr3: " line and ends the command with status 1.
[[noreturn]] void Refuse(const std::vector<std::string>& problems) {
  std::cout.flush();
  for (const std::string& problem : problems) std::cerr << "zr3: " << problem << '\n';
  throw CLI::RuntimeError(1);
}

void ImportJson(const std::string& document, const std::string& out, const std::string& inPlace) {
  if (out.empty() && inPlace.empty()) {
    throw ZR3Error("Give -o OUT or --in-place LEVEL to say where the level goes");
  }
  std::unique_ptr<ZR3Level> level;
  try {
    level = json::ImportLevelJson(ReadWholeFile(document));
  } catch (const json::JsonImportError& error) {
    Refuse(error.Problems());
  }
  SaveTo(*level, inPlace, OutputTarget{out, !inPlace.empty()});
}

// Without --output-dir the words are LEVEL [OUT], as for one level.
void ExportJson(const BatchArgs& args) {
  const auto produce = [](const ZR3Level& level, ByteWriter& bytes) {
    json::WriteLevelJson(level, bytes);
  };
  if (!args.outputDir.empty()) {
    WriteEach(args, ".json", produce);
    return;
  }
  if (args.levels.size() > 2) {
    throw CLI::ArgumentMismatch("export-json takes LEVEL [OUT], or LEVEL... with --output-dir");
  }
  const std::unique_ptr<ZR3Level> level = LoadLevel(args.levels[0]);
  WriteOutput(args.levels.size() == 2 ? args.levels[1] : "-",
              [&](ByteWriter& bytes) { produce(*level, bytes); });
}

// The command line's words after LEVEL and CATEGORY: the record's index unless the category is
// general, then the rest.
struct FieldArgs {
  std::string level;
  std::string category;
  std::vector<std::string> words;
  OutputTarget output;
};

// The record named, or none for the level information; the words that follow it.
struct FieldTarget {
  std::unique_ptr<ZR3Level> level;
  ZR3Base* record = nullptr;
  std::vector<std::string> rest;
};

FieldTarget Target(const FieldArgs& args) {
  FieldTarget target;
  std::optional<Category> category;
  std::size_t first = 0;
  if (args.category != "general") {
    category = ParseCategory(args.category);
    if (args.words.empty()) throw ZR3Error("Give the index of the record");
    first = 1;
  }
  target.level = LoadLevel(args.level);
  if (category) {
    const std::optional<std::int64_t> index = ParseInteger(args.words[0]);
    if (!index) throw ZR3Error("\"" + args.words[0] + "\" is not a record index");
    target.record = &RecordOf(*target.level, *category, *index);
  }
  target.rest.assign(args.words.begin() + static_cast<std::ptrdiff_t>(first), args.words.end());
  return target;
}

// "name = value" for each field; a run gives a line per slot.
void AppendFieldLines(const FieldInfo& field, Lines& lines) {
  if (field.kind == FieldKind::Run) {
    for (const FieldInfo& slot : field.elements) AppendFieldLines(slot, lines);
    return;
  }
  lines.push_back(field.name + " = " + field.value);
}

void Get(const FieldArgs& args) {
  const FieldTarget target = Target(args);
  if (target.rest.size() > 1) throw ZR3Error("get takes one FIELD at most");
  const FieldList fields = target.record ? target.record->Fields() : target.level->Info().Fields();
  Lines lines;
  for (const FieldInfo& field : fields) {
    if (target.rest.empty()) {
      AppendFieldLines(field, lines);
      continue;
    }
    const std::string& wanted = target.rest[0];
    if (field.name == wanted) {
      if (field.kind == FieldKind::Run) {
        for (const FieldInfo& slot : field.elements) lines.push_back(slot.value);
      } else {
        lines.push_back(field.value);
      }
    }
    for (const FieldInfo& slot : field.elements) {
      if (slot.name == wanted) lines.push_back(slot.value);
    }
  }
  if (!target.rest.empty() && lines.empty()) {
    throw ZR3Error(target.rest[0] + ": no such field");
  }
  PrintLines(lines);
}

void Set(const FieldArgs& args) {
  FieldTarget target = Target(args);
  if (target.rest.empty() || target.rest.size() % 2 != 0) {
    throw ZR3Error("set takes FIELD VALUE pairs");
  }
  // Each field is set or refused on its own, so every refusal is reported; nothing is saved
  // unless all were set.
  std::vector<std::string> problems;
  for (std::size_t i = 0; i < target.rest.size(); i += 2) {
    try {
      // The value is typed text: it goes into the level through the level's own code page.
      const std::string value = StoredText(target.rest[i + 1]);
      if (target.record) {
        target.record->SetField(*target.level, target.rest[i], value);
      } else {
        target.level->Info().SetField(*target.level, target.rest[i], value);
      }
    } catch (const ZR3Error& error) {
      problems.push_back(error.what());
    }
  }
  if (!problems.empty()) Refuse(problems);
  SaveTo(*target.level, args.level, args.output);
}

void AddLevelAndCategory(CLI::App& command, FieldArgs& args) {
  command.add_option("LEVEL", args.level, "Level file")->required();
  command.add_option("CATEGORY", args.category, "Category, as zr3 list names it, or general")
      ->required();
}

// The words of set after CATEGORY as given, so that a value may be anything, "-abc" included.
// Where a field name or the index would be, -o OUT, --output OUT and --in-place are the
// output options; the first "--" makes every later argument a word ("name -- --" sets "--").
void TakeSetWords(const std::vector<std::string>& given, FieldArgs& args) {
  bool wordsOnly = false;
  bool valueNext = false;
  const std::size_t firstField = args.category == "general" ? 0 : 1;
  for (std::size_t i = 0; i < given.size(); ++i) {
    const std::string& word = given[i];
    const bool fieldPlace = !valueNext && args.words.size() >= firstField;
    if (!wordsOnly && word == "--") {
      wordsOnly = true;
      continue;
    }
    if (!wordsOnly && fieldPlace && (word == "-o" || word == "--output")) {
      if (i + 1 == given.size()) throw ZR3Error(word + " needs the file to write");
      args.output.out = given[++i];
      continue;
    }
    if (!wordsOnly && fieldPlace && word == "--in-place") {
      args.output.inPlace = true;
      continue;
    }
    args.words.push_back(word);
    if (args.words.size() > firstField) valueNext = !valueNext;
  }
  if (!args.output.out.empty() && args.output.inPlace) {
    throw ZR3Error("Give either -o OUT or --in-place, not both");
  }
}

}  // namespace

void AddJsonCommands(CLI::App& app) {
  auto batch = std::make_shared<BatchArgs>();
  CLI::App* exportJson = app.add_subcommand(
      "export-json",
      "Export the whole level as one JSON document: LEVEL [OUT] (OUT - or left out: standard "
      "output), or LEVEL... with --output-dir (LEVEL.json each)");
  AddBatchArguments(*exportJson, *batch, "LEVEL [OUT], or level files with --output-dir", true);
  exportJson->callback([batch] { ExportJson(*batch); });

  auto document = std::make_shared<std::string>();
  auto target = std::make_shared<std::string>();
  auto inPlace = std::make_shared<std::string>();
  CLI::App* importJson =
      app.add_subcommand("import-json",
                         "Build a level from a JSON document and save it; nothing is written when "
                         "the document has problems (each is listed)");
  importJson->add_option("JSON", *document, "JSON document")->required();
  CLI::Option* output = importJson->add_option("-o,--output", *target, "Write the level here");
  importJson->add_option("--in-place", *inPlace, "Replace this level file")->excludes(output);
  importJson->callback([document, target, inPlace] { ImportJson(*document, *target, *inPlace); });

  auto schemaOut = std::make_shared<std::string>("-");
  CLI::App* schema = app.add_subcommand(
      "json-schema", "Print the JSON Schema of the documents export-json writes");
  schema->add_option("OUT", *schemaOut, "Schema file, or - for standard output");
  schema->callback([schemaOut] {
    WriteOutput(*schemaOut, [](ByteWriter& bytes) { json::WriteLevelJsonSchema(bytes); });
  });
}

void AddFieldCommands(CLI::App& app) {
  auto getArgs = std::make_shared<FieldArgs>();
  CLI::App* get = app.add_subcommand(
      "get",
      "Print one field of a record, or all as name = value lines ('general': the level "
      "information, no INDEX)");
  AddLevelAndCategory(*get, *getArgs);
  get->add_option("ARGS", getArgs->words, "INDEX [FIELD]");
  get->callback([getArgs] { Get(*getArgs); });

  auto setArgs = std::make_shared<FieldArgs>();
  CLI::App* set = app.add_subcommand(
      "set",
      "Set fields of a record from FIELD VALUE pairs, all or none ('general': the level "
      "information, no INDEX): INDEX FIELD VALUE [FIELD VALUE ...]; a VALUE may begin with "
      "-, and -- makes every later argument a word");
  AddLevelAndCategory(*set, *setArgs);
  AddOutputOptions(*set, setArgs->output);
  // The words after CATEGORY reach the command in order, whatever they look like.
  set->prefix_command();
  set->callback([set, setArgs] {
    TakeSetWords(set->remaining(), *setArgs);
    Set(*setArgs);
  });
}

}  // namespace zr3::cli
