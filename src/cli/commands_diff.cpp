#include "cli/commands_diff.h"

#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>
#include <unistd.h>

#include <iostream>
#include <memory>
#include <thread>

#include "cli/cli_common.h"
#include "compare/diff_report.h"
#include "compare/level_diff.h"
#include "compare/level_listing.h"
#include "level/windows1252.h"
#include "level/zr3error.h"

namespace zr3::cli {

namespace {

using compare::LevelDiff;

struct DiffArgs {
  std::vector<std::string> files;
  std::string color = "auto";
  bool stat = false;
  bool json = false;
  bool textconv = false;
};

// Exit statuses, as diff has them.
constexpr int kDifferent = 1;
constexpr int kTrouble = 2;

// The JSON form of a diff; its schema is schema/zr3-diff.schema.json.
class DiffJson {
 public:
  std::string Write(const LevelDiff& diff) {
    out_.StartObject();
    out_.Key("same");
    out_.Bool(diff.Empty());
    out_.Key("info");
    Fields(diff.info);
    out_.Key("lists");
    out_.StartArray();
    for (const compare::ListDiff& list : diff.lists) List(list);
    out_.EndArray();
    out_.EndObject();
    return buffer_.GetString();
  }

 private:
  void Text(const std::string& bytes) {
    std::string utf8;
    AppendUtf8(utf8, bytes);
    out_.String(utf8.c_str(), static_cast<rapidjson::SizeType>(utf8.size()));
  }
  void Number(const char* key, std::size_t value) {
    out_.Key(key);
    out_.Uint64(value);
  }
  void Named(const char* key, const std::string& value) {
    out_.Key(key);
    Text(value);
  }
  void Fields(const std::vector<compare::FieldChange>& fields) {
    out_.StartArray();
    for (const compare::FieldChange& field : fields) {
      out_.StartObject();
      Named("field", field.field);
      if (field.lines.empty()) {
        Named("before", field.before);
        Named("after", field.after);
      } else {
        out_.Key("lines");
        out_.StartArray();
        for (const std::string& line : field.lines) Text(line);
        out_.EndArray();
      }
      out_.EndObject();
    }
    out_.EndArray();
  }
  template <class Entries, class Write>
  void Array(const char* key, const Entries& entries, Write write) {
    out_.Key(key);
    out_.StartArray();
    for (const auto& entry : entries) {
      out_.StartObject();
      write(entry);
      out_.EndObject();
    }
    out_.EndArray();
  }
  void List(const compare::ListDiff& list) {
    out_.StartObject();
    out_.Key("list");
    out_.String(std::string(InfoOf(list.category).commandName).c_str());
    const auto place = [this](const compare::RecordPlace& record) {
      Number("index", record.index);
      Named("name", record.name);
    };
    Array("added", list.added, place);
    Array("removed", list.removed, place);
    Array("moved", list.moved, [this](const compare::RecordMove& move) {
      Named("name", move.name);
      Number("from", move.from);
      Number("to", move.to);
    });
    Array("renamed", list.renamed, [this](const compare::RecordRename& rename) {
      Number("index", rename.index);
      Named("before", rename.before);
      Named("after", rename.after);
    });
    Array("changed", list.changed, [this](const compare::RecordChange& change) {
      Number("before_index", change.beforeIndex);
      Number("index", change.index);
      Named("name", change.name);
      out_.Key("fields");
      Fields(change.fields);
      Array("cells", change.cells, [this](const compare::CellRegion& region) {
        Number("layer", static_cast<std::size_t>(region.layer));
        Number("first_row", static_cast<std::size_t>(region.firstRow));
        Number("last_row", static_cast<std::size_t>(region.lastRow));
        Number("first_column", static_cast<std::size_t>(region.firstColumn));
        Number("last_column", static_cast<std::size_t>(region.lastColumn));
        Number("count", region.cells);
        Array("tiles", region.tiles, [this](const compare::CellChange& cell) {
          Number("row", static_cast<std::size_t>(cell.row));
          Number("column", static_cast<std::size_t>(cell.column));
          Named("before", cell.before);
          Named("after", cell.after);
        });
      });
    });
    out_.EndObject();
  }

  rapidjson::StringBuffer buffer_;
  rapidjson::Writer<rapidjson::StringBuffer> out_{buffer_};
};

// Loads both versions at once, each on its own thread.
std::pair<std::unique_ptr<ZR3Level>, std::unique_ptr<ZR3Level>> LoadBoth(const std::string& a,
                                                                         const std::string& b) {
  std::unique_ptr<ZR3Level> before;
  std::exception_ptr failure;
  std::thread loader([&] {
    try {
      before = LoadLevel(a);
    } catch (...) {
      failure = std::current_exception();
    }
  });
  std::unique_ptr<ZR3Level> after;
  try {
    after = LoadLevel(b);
  } catch (...) {
    loader.join();
    throw;
  }
  loader.join();
  if (failure) std::rethrow_exception(failure);
  return {std::move(before), std::move(after)};
}

compare::Colour ChooseColour(const std::string& choice) {
  if (choice == "always") return compare::Colour::Always;
  if (choice == "never") return compare::Colour::Never;
  return isatty(STDOUT_FILENO) ? compare::Colour::Always : compare::Colour::Never;
}

// Git hands an external diff command seven arguments: the path, then the older file, its hash
// and mode, then the newer file, its hash and mode. A level added or deleted has /dev/null on
// the other side.
int RunGitDiff(const std::vector<std::string>& args, compare::Colour colour) {
  const std::string& path = args[0];
  const std::string& oldFile = args[1];
  const std::string& newFile = args[4];
  std::cout << "zr3 diff " << path << '\n';
  if (oldFile == "/dev/null" || newFile == "/dev/null") {
    std::cout << (oldFile == "/dev/null" ? "new level\n" : "deleted level\n");
    return 0;
  }
  try {
    auto [before, after] = LoadBoth(oldFile, newFile);
    PrintUtf8Lines(compare::ReportLines(compare::CompareLevels(*before, *after), colour));
  } catch (const ZR3Error& error) {
    std::cout << "zr3: " << error.what() << '\n';
  }
  // Git stops at the first external diff that does not exit 0, so a difference is not one.
  return 0;
}

int RunDiff(const DiffArgs& args) {
  const compare::Colour colour = ChooseColour(args.color);
  if (args.textconv) {
    if (args.files.size() != 1) throw CLI::ValidationError("--textconv", "takes one level");
    PrintLines(compare::LevelListing(*LoadLevel(args.files[0])));
    return 0;
  }
  if (args.files.size() == 7) return RunGitDiff(args.files, colour);
  if (args.files.size() != 2) {
    throw CLI::ValidationError("OLD NEW", "takes two levels (or the seven arguments git hands)");
  }
  std::unique_ptr<ZR3Level> before;
  std::unique_ptr<ZR3Level> after;
  try {
    std::tie(before, after) = LoadBoth(args.files[0], args.files[1]);
  } catch (const ZR3Error& error) {
    std::cerr << "zr3: " << error.what() << '\n';
    return kTrouble;
  }
  const LevelDiff diff = compare::CompareLevels(*before, *after);
  if (args.json) {
    std::cout << DiffJson().Write(diff) << '\n';
  } else if (args.stat) {
    PrintUtf8Lines(compare::StatLines(diff));
  } else {
    PrintUtf8Lines(compare::ReportLines(diff, colour));
  }
  return diff.Empty() ? 0 : kDifferent;
}

}  // namespace

void AddDiffCommand(CLI::App& app) {
  auto args = std::make_shared<DiffArgs>();
  CLI::App* diff = app.add_subcommand(
      "diff",
      "What changed between two versions of a level, record by record; exit status 0 when "
      "they are the same, 1 when they differ, 2 when a level cannot be read");
  diff->add_option("OLD NEW", args->files, "The older and the newer level")
      ->required()
      ->expected(1, 7);
  diff->add_option("--color", args->color, "Colour the report: auto (on a terminal), always, never")
      ->check(CLI::IsMember({"auto", "always", "never"}));
  CLI::Option* stat = diff->add_flag("--stat", args->stat, "Only count the changes per list");
  diff->add_flag("--json", args->json, "The report as JSON (schema/zr3-diff.schema.json)")
      ->excludes(stat);
  diff->add_flag("--textconv", args->textconv,
                 "Print one level (the only file given) as lines for git's textconv: a record "
                 "a heading, a field a line, no identifiers");
  diff->callback([args] {
    std::cout.flush();
    const int status = RunDiff(*args);
    std::cout.flush();
    if (status != 0) throw CLI::RuntimeError(status);
  });
}

}  // namespace zr3::cli
