#include "cli/commands_create.h"

#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include "cli/cli_common.h"
#include "edit/creation.h"
#include "level/windows1252.h"
#include "level/zr3error.h"

namespace zr3::cli {

namespace {

void WriteNewLevel(const std::string& path, bool force) {
  std::error_code error;
  if (!force && std::filesystem::exists(path, error)) {
    throw ZR3Error(path + " already exists (give --force to replace it)");
  }
  NewLevel()->Save(path);
}

struct AddArgs {
  std::string level;
  std::string category;
  std::string name;
  long long at = -1;
  OutputTarget output;
};

void Add(const AddArgs& args) {
  const Category category = ParseCategory(args.category);
  std::unique_ptr<ZR3Level> level = LoadLevel(args.level);
  const std::size_t size = level->List(category).size();
  if (args.at < -1 || args.at > static_cast<long long>(size)) {
    throw ZR3Error("--at " + std::to_string(args.at) + " is outside " +
                   std::string(InfoOf(category).sectionName) + " (0 to " + std::to_string(size) +
                   ")");
  }
  const std::size_t position = args.at < 0 ? size : static_cast<std::size_t>(args.at);
  const AddResult result = AddRecord(*level, category, position, StoredText(args.name));
  if (!result.Added()) throw ZR3Error(result.refusal);
  SaveTo(*level, args.level, args.output);
  std::cout << result.index << '\n';
}

}  // namespace

void AddCreateCommands(CLI::App& app) {
  auto path = std::make_shared<std::string>();
  auto force = std::make_shared<bool>(false);
  CLI::App* create = app.add_subcommand("new", "Write a new, empty level");
  create->add_option("OUT", *path, "The level file to write")->required();
  create->add_flag("--force", *force, "Replace an existing file");
  create->callback([path, force] { WriteNewLevel(*path, *force); });

  auto args = std::make_shared<AddArgs>();
  CLI::App* add =
      app.add_subcommand("add", "Add a new record with its kind's defaults and print its index");
  add->add_option("LEVEL", args->level, "Level file")->required();
  add->add_option("CATEGORY", args->category, "Category, as zr3 list names it")->required();
  add->add_option("--name", args->name, "The new record's name (\"New item\" and so on)");
  add->add_option("--at", args->at, "Where the record goes (the end when not given)");
  AddOutputOptions(*add, args->output);
  add->callback([args] { Add(*args); });
}

}  // namespace zr3::cli
