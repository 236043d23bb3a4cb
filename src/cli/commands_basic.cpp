#include <iostream>

#include "cli/cli_common.h"
#include "level/zr3error.h"

namespace zr3::cli {

namespace {

struct BasicArgs {
  std::string level;
  std::string out;
  std::string category;
  long long index = -1;
};

void Info(const BasicArgs& args) {
  std::unique_ptr<ZR3Level> level = LoadLevel(args.level);
  Lines lines;
  level->DescribeInfo(lines);
  for (std::size_t c = 0; c < kCategoryCount; ++c) {
    const Category category = static_cast<Category>(c);
    lines.push_back(std::string(InfoOf(category).commandName) + ": " +
                    std::to_string(level->List(category).size()));
  }
  PrintLines(lines);
}

void List(const BasicArgs& args) {
  const Category category = ParseCategory(args.category);
  std::unique_ptr<ZR3Level> level = LoadLevel(args.level);
  const RecordList& list = level->List(category);
  WriteOutput("-", [&list](ByteWriter& out) {
    for (std::size_t i = 0; i < list.size(); ++i) {
      const std::string number = std::to_string(i);
      out.Bytes(number.data(), number.size());
      out.U8('\t');
      out.Bytes(list[i]->Name().data(), list[i]->Name().size());
      out.U8('\n');
      out.FlushIfFull();
    }
  });
}

void Show(const BasicArgs& args, bool indexGiven) {
  Lines lines;
  if (args.category == "general") {
    if (indexGiven) throw ZR3Error("The category general takes no index");
    std::unique_ptr<ZR3Level> level = LoadLevel(args.level);
    level->DescribeInfo(lines);
  } else {
    const Category category = ParseCategory(args.category);
    if (!indexGiven) throw ZR3Error("Give the index of the record to show");
    std::unique_ptr<ZR3Level> level = LoadLevel(args.level);
    RecordOf(*level, category, args.index).Describe(lines);
  }
  PrintLines(lines);
}

}  // namespace

void AddBasicCommands(CLI::App& app) {
  auto args = std::make_shared<BasicArgs>();

  CLI::App* info = app.add_subcommand("info", "Print the level information and record counts");
  info->add_option("LEVEL", args->level, "Level file")->required();
  info->callback([args] { Info(*args); });

  CLI::App* exportText = app.add_subcommand("export-text", "Export the whole level as text");
  exportText->add_option("LEVEL", args->level, "Level file")->required();
  exportText->add_option("OUT", args->out, "Text file, or - for standard output")->required();
  exportText->callback([args] {
    const std::unique_ptr<ZR3Level> level = LoadLevel(args->level);
    WriteOutput(args->out, [&level](ByteWriter& out) { level->WriteLevelText(out); });
  });

  CLI::App* save = app.add_subcommand("save", "Load, link and save the level (a round trip)");
  save->add_option("LEVEL", args->level, "Level file")->required();
  save->add_option("OUT", args->out, "Level file to write")->required();
  save->callback([args] { LoadLevel(args->level)->Save(args->out); });

  CLI::App* list = app.add_subcommand("list", "List the records of a category");
  list->add_option("LEVEL", args->level, "Level file")->required();
  list->add_option("CATEGORY", args->category, "Category")->required();
  list->callback([args] { List(*args); });

  CLI::App* show = app.add_subcommand("show", "Describe one record, or general information");
  show->add_option("LEVEL", args->level, "Level file")->required();
  show->add_option("CATEGORY", args->category, "Category, or general")->required();
  CLI::Option* index = show->add_option("INDEX", args->index, "Record index");
  show->callback([args, index] { Show(*args, index->count() > 0); });
}

}  // namespace zr3::cli
