#include <iostream>

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
    const std::optional<std::int64_t> index = ParseFieldNumber(args.words[0]);
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
  const FieldList fields = target.record ? target.record->Fields() : target.level->InfoFields();
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
        target.level->SetInfoField(target.rest[i], value);
      }
    } catch (const ZR3Error& error) {
      problems.push_back(error.what());
    }
  }
  if (!problems.empty()) Refuse(problems);
  SaveTo(*target.level, args.level, args.output);
}

void AddFieldArguments(CLI::App& command, FieldArgs& args, const std::string& words) {
  command.add_option("LEVEL", args.level, "Level file")->required();
  command.add_option("CATEGORY", args.category, "Category, as zr3 list names it, or general")
      ->required();
  command.add_option("ARGS", args.words, words);
}

}  // namespace

void AddJsonCommands(CLI::App& app) {
  auto level = std::make_shared<std::string>();
  auto out = std::make_shared<std::string>("-");
  CLI::App* exportJson = app.add_subcommand(
      "export-json", "Export the whole level as one JSON document (OUT - or left out: stdout)");
  exportJson->add_option("LEVEL", *level, "Level file")->required();
  exportJson->add_option("OUT", *out, "JSON file, or - for standard output");
  exportJson->callback([level, out] {
    const std::unique_ptr<ZR3Level> loaded = LoadLevel(*level);
    WriteOutput(*out, [&loaded](ByteWriter& bytes) { json::WriteLevelJson(*loaded, bytes); });
  });

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
  AddFieldArguments(*get, *getArgs, "INDEX [FIELD]");
  get->callback([getArgs] { Get(*getArgs); });

  auto setArgs = std::make_shared<FieldArgs>();
  CLI::App* set = app.add_subcommand(
      "set",
      "Set fields of a record from FIELD VALUE pairs, all or none ('general': the level "
      "information, no INDEX)");
  AddFieldArguments(*set, *setArgs, "INDEX FIELD VALUE [FIELD VALUE ...]");
  AddOutputOptions(*set, setArgs->output);
  set->callback([setArgs] { Set(*setArgs); });
}

}  // namespace zr3::cli
