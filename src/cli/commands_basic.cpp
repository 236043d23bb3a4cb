#include <iostream>

#include "cli/batch.h"
#include "cli/cli_common.h"
#include "cli/json_report.h"
#include "level/windows1252.h"
#include "level/zr3error.h"

namespace zr3::cli {

namespace {

struct BasicArgs {
  std::string level;
  std::string out;
  std::string category;
  long long index = -1;
  BatchArgs batch;
  bool json = false;
};

std::string InfoText(const ZR3Level& level) {
  Lines lines;
  level.DescribeInfo(lines);
  for (std::size_t c = 0; c < kCategoryCount; ++c) {
    const Category category = static_cast<Category>(c);
    lines.push_back(std::string(InfoOf(category).commandName) + ": " +
                    std::to_string(level.List(category).size()));
  }
  return Utf8Text(lines);
}

void Info(const BasicArgs& args) {
  const std::vector<FileOutcome> outcomes =
      RunEach(args.batch, [&args](const std::string& file, FileOutcome& outcome) {
        const std::unique_ptr<ZR3Level> level = LoadLevel(file);
        if (args.json) {
          InfoJson(*level, outcome.json);
        } else {
          outcome.text = InfoText(*level);
        }
      });
  if (args.json) {
    PrintFilesJson("zr3-info", args.batch.levels, outcomes);
  } else {
    PrintOutcomes(args.batch.levels, outcomes);
  }
  FinishBatch(args.batch.levels, outcomes);
}

// Without --output-dir the words are LEVEL OUT, as for one level.
void ExportText(const BasicArgs& args) {
  const std::vector<std::string>& words = args.batch.levels;
  if (args.batch.outputDir.empty()) {
    if (words.size() != 2) {
      throw CLI::ArgumentMismatch("export-text takes LEVEL OUT, or LEVEL... with --output-dir");
    }
    const std::unique_ptr<ZR3Level> level = LoadLevel(words[0]);
    if (words[1] == "-") {
      // Printed as every printed text is: UTF-8 lines; the file keeps the level's bytes.
      level->EachLevelTextPart(PrintLines);
      return;
    }
    WriteOutput(words[1], [&level](ByteWriter& out) { level->WriteLevelText(out); });
    return;
  }
  WriteEach(args.batch, ".txt",
            [](const ZR3Level& level, ByteWriter& out) { level.WriteLevelText(out); });
}

void ListJson(Category category, const ZR3Level& level) {
  rapidjson::Document report = NewReport("zr3-list");
  auto& allocator = report.GetAllocator();
  report.AddMember("category",
                   rapidjson::StringRef(InfoOf(category).commandName.data(),
                                        InfoOf(category).commandName.size()),
                   allocator);
  rapidjson::Value records(rapidjson::kArrayType);
  const RecordList& list = level.List(category);
  for (std::size_t i = 0; i < list.size(); ++i) {
    rapidjson::Value record(rapidjson::kObjectType);
    record.AddMember("index", static_cast<std::uint64_t>(i), allocator);
    record.AddMember("name", LevelString(list[i]->Name(), allocator), allocator);
    records.PushBack(record, allocator);
  }
  report.AddMember("records", records, allocator);
  PrintJson(report);
}

void List(const BasicArgs& args) {
  const Category category = ParseCategory(args.category);
  std::unique_ptr<ZR3Level> level = LoadLevel(args.level);
  if (args.json) {
    ListJson(category, *level);
    return;
  }
  const RecordList& list = level->List(category);
  WriteOutput("-", [&list](ByteWriter& out) {
    std::string name;
    for (std::size_t i = 0; i < list.size(); ++i) {
      const std::string number = std::to_string(i);
      out.Bytes(number.data(), number.size());
      out.U8('\t');
      AppendUtf8(name, list[i]->Name());
      out.Bytes(name.data(), name.size());
      name.clear();
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

  CLI::App* info =
      app.add_subcommand("info", "Print the level information and record counts of each level");
  AddBatchArguments(*info, args->batch);
  AddJsonFlag(*info, args->json, "zr3-info");
  info->callback([args] { Info(*args); });

  CLI::App* exportText = app.add_subcommand(
      "export-text",
      "Export the whole level as text: LEVEL OUT (- for standard output), or LEVEL... with "
      "--output-dir (LEVEL.txt each)");
  AddBatchArguments(*exportText, args->batch, "LEVEL OUT, or level files with --output-dir", true);
  exportText->callback([args] { ExportText(*args); });

  CLI::App* save = app.add_subcommand("save", "Load, link and save the level (a round trip)");
  save->add_option("LEVEL", args->level, "Level file")->required();
  save->add_option("OUT", args->out, "Level file to write")->required();
  save->callback([args] { LoadLevel(args->level)->Save(args->out); });

  CLI::App* list = app.add_subcommand("list", "List the records of a category");
  list->add_option("LEVEL", args->level, "Level file")->required();
  list->add_option("CATEGORY", args->category, "Category")->required();
  AddJsonFlag(*list, args->json, "zr3-list");
  list->callback([args] { List(*args); });

  CLI::App* show = app.add_subcommand("show", "Describe one record, or general information");
  show->add_option("LEVEL", args->level, "Level file")->required();
  show->add_option("CATEGORY", args->category, "Category, or general")->required();
  CLI::Option* index = show->add_option("INDEX", args->index, "Record index");
  show->callback([args, index] { Show(*args, index->count() > 0); });
}

}  // namespace zr3::cli
