#include "cli/json_report.h"

#include <rapidjson/prettywriter.h>
#include <rapidjson/stringbuffer.h>

#include <iostream>

#include "level/category.h"
#include "level/field_access.h"
#include "level/windows1252.h"
#include "level/zr3error.h"
#include "level/zr3level.h"

namespace zr3::cli {

namespace {

constexpr int kFormatVersion = 1;

rapidjson::Value String(std::string_view text, rapidjson::Document::AllocatorType& allocator) {
  return rapidjson::Value(text.data(), static_cast<rapidjson::SizeType>(text.size()), allocator);
}

// Counts what Validate passes on; only whether it passes matters.
struct Discard {
  void Put(char) {}
};

bool IsUtf8(const std::string& text) {
  rapidjson::StringStream in(text.c_str());
  Discard sink;
  while (in.Tell() < text.size()) {
    if (!rapidjson::UTF8<>::Validate(in, sink)) return false;
  }
  return true;
}

// A file name or a message, which holds UTF-8 paths and may hold names from the level: kept
// when it is UTF-8, otherwise read as the level's Windows-1252.
rapidjson::Value AnyText(const std::string& text, rapidjson::Document::AllocatorType& allocator) {
  if (IsUtf8(text)) return String(text, allocator);
  std::string utf8;
  AppendUtf8(utf8, text);
  return String(utf8, allocator);
}

}  // namespace

void AddJsonFlag(CLI::App& command, bool& json, std::string_view format) {
  command.add_flag("--json", json,
                   "Print one JSON document instead: format \"" + std::string(format) +
                       "\" of schema/zr3-reports.schema.json");
}

rapidjson::Value LevelString(std::string_view windows1252,
                             rapidjson::Document::AllocatorType& allocator) {
  std::string utf8;
  AppendUtf8(utf8, windows1252);
  return String(utf8, allocator);
}

void InfoJson(const ZR3Level& level, rapidjson::Document& into) {
  auto& allocator = into.GetAllocator();
  into.SetObject();
  rapidjson::Value info(rapidjson::kObjectType);
  for (const FieldInfo& field : level.Info().Fields()) {
    info.AddMember(String(field.name, allocator), LevelString(field.value, allocator), allocator);
  }
  rapidjson::Value counts(rapidjson::kObjectType);
  for (std::size_t c = 0; c < kCategoryCount; ++c) {
    const Category category = static_cast<Category>(c);
    counts.AddMember(String(InfoOf(category).commandName, allocator),
                     rapidjson::Value(static_cast<std::uint64_t>(level.List(category).size())),
                     allocator);
  }
  into.AddMember("info", info, allocator);
  into.AddMember("counts", counts, allocator);
}

rapidjson::Value NamedLinesJson(const ResultLines& lines,
                                rapidjson::Document::AllocatorType& allocator) {
  rapidjson::Value array(rapidjson::kArrayType);
  for (const ResultLine& line : lines) {
    if (!line.record) continue;
    rapidjson::Value entry(rapidjson::kObjectType);
    entry.AddMember("text", LevelString(line.text, allocator), allocator);
    if (line.record->category) {
      entry.AddMember("category", String(InfoOf(*line.record->category).commandName, allocator),
                      allocator);
      entry.AddMember("index", static_cast<std::uint64_t>(line.record->index), allocator);
    } else {
      entry.AddMember("category", "general", allocator);
    }
    array.PushBack(entry, allocator);
  }
  return array;
}

void ProblemsJson(const ResultLines& problems, std::size_t problemCount,
                  rapidjson::Document& into) {
  auto& allocator = into.GetAllocator();
  into.SetObject();
  into.AddMember("problem_count", static_cast<std::uint64_t>(problemCount), allocator);
  into.AddMember("problems", NamedLinesJson(problems, allocator), allocator);
}

rapidjson::Document NewReport(std::string_view format) {
  rapidjson::Document report(rapidjson::kObjectType);
  report.AddMember("format", String(format, report.GetAllocator()), report.GetAllocator());
  report.AddMember("format_version", kFormatVersion, report.GetAllocator());
  return report;
}

void PrintFilesJson(std::string_view format, const std::vector<std::string>& files,
                    const std::vector<FileOutcome>& outcomes) {
  rapidjson::Document report = NewReport(format);
  auto& allocator = report.GetAllocator();
  rapidjson::Value entries(rapidjson::kArrayType);
  for (std::size_t i = 0; i < files.size(); ++i) {
    rapidjson::Value entry(rapidjson::kObjectType);
    entry.AddMember("file", AnyText(files[i], allocator), allocator);
    const FileOutcome& outcome = outcomes[i];
    if (!outcome.error.empty()) {
      entry.AddMember("error", AnyText(outcome.error, allocator), allocator);
    } else if (outcome.json.IsObject()) {
      for (const auto& member : outcome.json.GetObject()) {
        entry.AddMember(rapidjson::Value(member.name, allocator),
                        rapidjson::Value(member.value, allocator), allocator);
      }
    }
    entries.PushBack(entry, allocator);
  }
  report.AddMember("files", entries, allocator);
  PrintJson(report);
  for (std::size_t i = 0; i < files.size(); ++i) ReportMessages(files, i, outcomes[i]);
}

void PrintJson(const rapidjson::Value& document) {
  rapidjson::StringBuffer buffer;
  rapidjson::PrettyWriter<rapidjson::StringBuffer> writer(buffer);
  writer.SetIndent(' ', 2);
  document.Accept(writer);
  std::cout.write(buffer.GetString(), static_cast<std::streamsize>(buffer.GetSize()));
  std::cout.put('\n');
  std::cout.flush();
  if (!std::cout) throw ZR3Error("Cannot write to standard output");
}

}  // namespace zr3::cli
