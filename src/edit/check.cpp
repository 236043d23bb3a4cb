#include "edit/check.h"

#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "level/field_visitors.h"
#include "level/problems.h"
#include "level/zr3level.h"

namespace zr3 {

namespace {

// Script text names records of every list but the groups and the custom text, and the
// importer finds them again by name.
bool NamedInScriptText(Category category) {
  return category != Category::Groups && category != Category::CustomText;
}

// A name as one line of the report can show it: control characters are escaped, so that a
// line break inside a name cannot split the line.
std::string Quoted(std::string_view name) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text = "\"";
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '\n') {
      text += "\\n";
    } else if (c == '\r') {
      text += "\\r";
    } else if (byte < 0x20 || byte == 0x7f) {
      text += "\\x";
      text += kDigits[byte >> 4];
      text += kDigits[byte & 0x0f];
    } else {
      text += c;
    }
  }
  return text + "\"";
}

std::string RecordLabel(Category category, std::size_t index) {
  return std::string(InfoOf(category).sectionName) + " " + std::to_string(index);
}

// Script text names records by name and the importer takes the first record of a name; a
// line break cannot stand inside a line of script text, so it is written as a blank. Such
// names do not come back as the same record. (A double quote is doubled and does come back.)
void CollectNameProblems(Category category, std::size_t index, const std::string& name,
                         std::unordered_map<std::string, std::size_t>& firstOfName,
                         RecordProblems& problems) {
  // Unnamed records are common (most flags are), so a shared empty name is not reported.
  if (name.empty()) return;
  const auto [first, added] = firstOfName.try_emplace(name, index);
  if (!added) {
    problems.push_back({"Name", Quoted(name),
                        "also the name of " + RecordLabel(category, first->second) +
                            ", which the importer takes instead",
                        AtSave::Kept});
  }
  if (name.find_first_of("\r\n") != std::string::npos) {
    problems.push_back({"Name", Quoted(name),
                        "holds a line break, which script text cannot carry back", AtSave::Kept});
  }
}

// Identifier 0 names nothing; any other that matched nothing is written back as stored.
RecordProblems InfoProblems(const ZR3LevelInfo& info) {
  RecordProblems problems;
  ProblemCollector collect(problems);
  ZR3LevelInfo::Fields(info, collect);
  return problems;
}

}  // namespace

LevelProblems FindLevelProblems(const ZR3Level& level) {
  LevelProblems found;
  auto report = [&found](const std::string& record, const NamedRecord& named,
                         const RecordProblems& problems) {
    for (const RecordProblem& problem : problems) {
      found.lines.push_back(
          {record + ", " + problem.field + " = " + problem.value + ": " + problem.issue +
               "; next save: " + (problem.atSave == AtSave::Kept ? "kept" : "written as 0"),
           named});
    }
    found.problemCount += problems.size();
  };

  report("General", NamedRecord{}, InfoProblems(level.Info()));
  for (const Category category : kFileOrder) {
    const RecordList& list = level.List(category);
    std::unordered_map<std::string, std::size_t> firstOfName;
    for (std::size_t i = 0; i < list.size(); ++i) {
      const ZR3Base& record = *list[i];
      RecordProblems problems;
      if (NamedInScriptText(category)) {
        CollectNameProblems(category, i, record.Name(), firstOfName, problems);
      }
      record.CollectProblems(problems);
      report(RecordLabel(category, i) + " " + Quoted(record.Name()), NamedRecord{category, i},
             problems);
    }
  }
  found.lines.push_back({"Problems: " + std::to_string(found.problemCount), std::nullopt});
  return found;
}

LevelCheck CheckLevel(const ZR3Level& level) {
  LevelProblems found = FindLevelProblems(level);
  return {TextOf(std::move(found.lines)), found.problemCount};
}

}  // namespace zr3
