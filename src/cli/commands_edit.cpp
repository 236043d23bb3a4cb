#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "cli/cli_common.h"
#include "cli/json_report.h"
#include "edit/copy.h"
#include "edit/deletion.h"
#include "edit/references.h"
#include "edit/rename.h"
#include "edit/reorder.h"
#include "level/windows1252.h"
#include "level/zr3error.h"

namespace zr3::cli {

namespace {

// The record named on the command line, and where a changed level goes.
struct EditArgs {
  std::string level;
  std::string category;
  long long index = -1;
  OutputTarget output;
};

struct Selection {
  std::unique_ptr<ZR3Level> level;
  Category category;
  std::size_t index;
};

Selection Select(const EditArgs& args) {
  const Category category = ParseCategory(args.category);
  std::unique_ptr<ZR3Level> level = LoadLevel(args.level);
  RecordOf(*level, category, args.index);
  return Selection{std::move(level), category, static_cast<std::size_t>(args.index)};
}

void AddRecordArguments(CLI::App& command, EditArgs& args) {
  command.add_option("LEVEL", args.level, "Level file")->required();
  command.add_option("CATEGORY", args.category, "Category, as zr3 list names it")->required();
  command.add_option("INDEX", args.index, "Record index")->required();
}

void Refs(const EditArgs& args, bool json) {
  const Selection selection = Select(args);
  if (!json) {
    PrintLines(SearchReferences(*selection.level, selection.category, selection.index));
    return;
  }
  rapidjson::Document report = NewReport("zr3-refs");
  auto& allocator = report.GetAllocator();
  const ZR3Base& record = RecordOf(*selection.level, selection.category, selection.index);
  report.AddMember("category", LevelString(InfoOf(selection.category).commandName, allocator),
                   allocator);
  report.AddMember("index", static_cast<std::uint64_t>(selection.index), allocator);
  report.AddMember("name", LevelString(record.Name(), allocator), allocator);
  // The search's first two lines are its heading, which names the record itself, and an empty
  // line; one line per referrer follows.
  ResultLines lines = FindReferences(*selection.level, selection.category, selection.index);
  lines.erase(lines.begin(), lines.begin() + std::min<std::ptrdiff_t>(2, std::ssize(lines)));
  report.AddMember("references", NamedLinesJson(lines, allocator), allocator);
  PrintJson(report);
}

void Rename(const EditArgs& args, const std::string& newName) {
  const Selection selection = Select(args);
  RenameRecord(*selection.level, selection.category, selection.index, StoredText(newName));
  SaveTo(*selection.level, args.level, args.output);
}

void Move(const EditArgs& args, const std::string& direction) {
  const Selection selection = Select(args);
  const MoveResult result = MoveRecord(*selection.level, selection.category, selection.index,
                                       direction == "up" ? MoveDirection::Up : MoveDirection::Down);
  if (!result.Moved()) throw ZR3Error(result.refusal);
  SaveTo(*selection.level, args.level, args.output);
}

// The script kinds' names, for the choice of --to.
std::vector<std::string> ScriptKindNameList() {
  std::vector<std::string> names;
  for (const ScriptKindInfo& info : kScriptKinds) names.emplace_back(info.name);
  return names;
}

void Copy(const EditArgs& args, const std::string& targetKind) {
  const Selection selection = Select(args);
  Category target = selection.category;
  if (!targetKind.empty()) {
    if (!IsScriptCategory(selection.category)) throw ZR3Error("--to is only for scripts");
    target = CategoryOf(*ScriptKindFromName(targetKind));
  }
  const CopyResult result =
      CopyRecord(*selection.level, selection.category, selection.index, target);
  if (!result.Copied()) throw ZR3Error(result.refusal);
  SaveTo(*selection.level, args.level, args.output);
  std::cout << InfoOf(result.category).commandName << ' ' << result.index << '\n';
}

void Delete(const EditArgs& args, bool why) {
  const Selection selection = Select(args);
  DeletionResult result = DeleteRecord(*selection.level, selection.category, selection.index);
  if (!result.Deleted()) {
    std::cerr << result.refusal << '\n';
    if (why && result.refusal == kReferredRefusal) {
      const Lines lines = SearchReferences(*selection.level, selection.category, selection.index);
      for (const std::string& line : lines) std::cerr << line << '\n';
    }
    throw CLI::RuntimeError(1);
  }
  SaveTo(*selection.level, args.level, args.output);
}

}  // namespace

void AddEditCommands(CLI::App& app) {
  auto args = std::make_shared<EditArgs>();

  CLI::App* refs = app.add_subcommand("refs", "List every place that refers to a record");
  AddRecordArguments(*refs, *args);
  auto json = std::make_shared<bool>(false);
  AddJsonFlag(*refs, *json, "zr3-refs");
  refs->callback([args, json] { Refs(*args, *json); });

  auto newName = std::make_shared<std::string>();
  CLI::App* rename = app.add_subcommand(
      "rename", "Give a record a new name (cut to 31 characters; flags and groups too)");
  AddRecordArguments(*rename, *args);
  rename->add_option("NEWNAME", *newName, "The new name, may be empty")->required();
  AddOutputOptions(*rename, args->output);
  rename->callback([args, newName] { Rename(*args, *newName); });

  auto direction = std::make_shared<std::string>();
  CLI::App* move = app.add_subcommand("move", "Move a record one place up or down its list");
  AddRecordArguments(*move, *args);
  move->add_option("DIRECTION", *direction, "up or down")
      ->required()
      ->check(CLI::IsMember({"up", "down"}));
  AddOutputOptions(*move, args->output);
  move->callback([args, direction] { Move(*args, *direction); });

  auto targetKind = std::make_shared<std::string>();
  CLI::App* copy = app.add_subcommand(
      "copy", "Append a copy of a record to its list; prints the copy's category and index");
  AddRecordArguments(*copy, *args);
  copy->add_option("--to", *targetKind, "The script list a script is copied into")
      ->check(CLI::IsMember(ScriptKindNameList()));
  AddOutputOptions(*copy, args->output);
  copy->callback([args, targetKind] { Copy(*args, *targetKind); });

  auto why = std::make_shared<bool>(false);
  CLI::App* remove =
      app.add_subcommand("delete", "Delete a record that nothing in the level refers to");
  AddRecordArguments(*remove, *args);
  remove->add_flag("--why", *why, "When refused, also list what refers to the record");
  AddOutputOptions(*remove, args->output);
  remove->callback([args, why] { Delete(*args, *why); });
}

}  // namespace zr3::cli
