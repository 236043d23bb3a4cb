#pragma once

#include <rapidjson/document.h>

#include <CLI/CLI.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "cli/batch.h"
#include "edit/results.h"

namespace zr3 {
class ZR3Level;
}

namespace zr3::cli {

// The answers --json prints. Each is one document, described by schema/zr3-reports.schema.json;
// each starts with "format" naming it ("zr3-info", "zr3-check", "zr3-list", "zr3-refs") and
// "format_version". Texts of the level are Windows-1252 and come out as UTF-8.

// --json on a command whose report is the format's document.
void AddJsonFlag(CLI::App& command, bool& json, std::string_view format);

// A text of the level as a JSON string.
rapidjson::Value LevelString(std::string_view windows1252,
                             rapidjson::Document::AllocatorType& allocator);

// "info": the level information, field by field as zr3 get shows it; "counts": the number of
// records of every category.
void InfoJson(const ZR3Level& level, rapidjson::Document& into);
// "problem_count" and "problems", each with its text and the record it names.
void ProblemsJson(const ResultLines& problems, std::size_t problemCount, rapidjson::Document& into);
// The lines that name a record, each as its text, "category" and "index" ("general" and no
// index for the level information).
rapidjson::Value NamedLinesJson(const ResultLines& lines,
                                rapidjson::Document::AllocatorType& allocator);

// A document that starts with "format" and "format_version", for the members that follow.
rapidjson::Document NewReport(std::string_view format);

// Prints the report of a command over several files: "files" holds one member per file in the
// files' order, "file" first, then either the file's own members or its "error". A failure is
// also told on standard error.
void PrintFilesJson(std::string_view format, const std::vector<std::string>& files,
                    const std::vector<FileOutcome>& outcomes);

// Prints the document pretty, on standard output.
void PrintJson(const rapidjson::Value& document);

}  // namespace zr3::cli
