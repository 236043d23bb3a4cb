#include "compare/diff_report.h"

#include <string_view>

#include "level/windows1252.h"

namespace zr3::compare {

namespace {

constexpr std::string_view kArrow = " \xE2\x86\x92 ";  // " → " in UTF-8

class Painter {
 public:
  explicit Painter(Colour colour) : on_(colour == Colour::Always) {}
  std::string operator()(std::string_view code, const std::string& text) const {
    if (!on_) return text;
    return "\x1b[" + std::string(code) + "m" + text + "\x1b[m";
  }

 private:
  bool on_;
};

constexpr std::string_view kBold = "1";
constexpr std::string_view kGreen = "32";
constexpr std::string_view kRed = "31";
constexpr std::string_view kCyan = "36";
constexpr std::string_view kYellow = "33";

// The report is UTF-8: the level's texts in it are converted from their stored bytes.
std::string Quoted(const std::string& name) {
  return "\"" + ToUtf8(name) + "\"";
}

std::string Span(std::string_view one, std::string_view many, int first, int last) {
  if (first == last) return std::string(one) + " " + std::to_string(first);
  return std::string(many) + " " + std::to_string(first) + "-" + std::to_string(last);
}

// The lines a report gives one subject: each added with the record and cell it is about.
class Entries {
 public:
  explicit Entries(std::vector<ReportLine>& lines) : lines_(lines) {}
  void About(std::optional<ReportSubject> subject) { subject_ = subject; }
  void Add(std::string text, std::optional<std::pair<int, int>> cell = std::nullopt) {
    lines_.push_back({std::move(text), subject_, cell});
  }

 private:
  std::vector<ReportLine>& lines_;
  std::optional<ReportSubject> subject_;
};

void FieldLines(const FieldChange& field, const Painter& paint, Entries& lines) {
  if (field.lines.empty()) {
    lines.Add("    " + field.field + ": " + ToUtf8(field.before) + std::string(kArrow) +
              ToUtf8(field.after));
    return;
  }
  lines.Add("    " + field.field + ":");
  for (const std::string& line : field.lines) {
    const std::string text = "      " + ToUtf8(line);
    if (line.starts_with('+')) {
      lines.Add(paint(kGreen, text));
    } else if (line.starts_with('-')) {
      lines.Add(paint(kRed, text));
    } else {
      lines.Add(text);
    }
  }
}

std::string Count(std::size_t count, std::string_view what) {
  return std::to_string(count) + " " + std::string(what);
}

}  // namespace

std::string RegionText(const CellRegion& region) {
  std::string text = "layer " + std::to_string(region.layer) + ": " +
                     Span("row", "rows", region.firstRow, region.lastRow) + ", " +
                     Span("column", "columns", region.firstColumn, region.lastColumn) + ": " +
                     std::to_string(region.cells) + (region.cells == 1 ? " cell" : " cells");
  if (region.tiles.empty()) return text;
  text += " (";
  for (std::size_t i = 0; i < region.tiles.size(); ++i) {
    const CellChange& cell = region.tiles[i];
    if (i > 0) text += "; ";
    if (region.tiles.size() > 1) {
      text += std::to_string(cell.row) + "," + std::to_string(cell.column) + ": ";
    }
    text += ToUtf8(cell.before) + std::string(kArrow) + ToUtf8(cell.after);
  }
  return text + ")";
}

std::vector<ReportLine> ReportEntries(const LevelDiff& diff, Colour colour) {
  const Painter paint(colour);
  std::vector<ReportLine> report;
  Entries lines(report);
  if (!diff.info.empty()) {
    lines.About(ReportSubject{std::nullopt, 0});
    lines.Add(paint(kBold, "Level information"));
    for (const FieldChange& field : diff.info) FieldLines(field, paint, lines);
  }
  for (const ListDiff& list : diff.lists) {
    const auto record = [&list](std::size_t index) { return ReportSubject{list.category, index}; };
    lines.About(std::nullopt);
    lines.Add(paint(kBold, std::string(InfoOf(list.category).sectionName)));
    for (const RecordPlace& added : list.added) {
      lines.About(record(added.index));
      lines.Add(paint(kGreen, "  added " + std::to_string(added.index) + " " + Quoted(added.name)));
    }
    // A removed record is in the older version only.
    lines.About(std::nullopt);
    for (const RecordPlace& removed : list.removed) {
      lines.Add(
          paint(kRed, "  removed " + std::to_string(removed.index) + " " + Quoted(removed.name)));
    }
    for (const RecordMove& move : list.moved) {
      lines.About(record(move.to));
      lines.Add(paint(kCyan, "  moved " + Quoted(move.name) + ": " + std::to_string(move.from) +
                                 std::string(kArrow) + std::to_string(move.to)));
    }
    for (const RecordRename& rename : list.renamed) {
      lines.About(record(rename.index));
      lines.Add(paint(kCyan, "  renamed " + std::to_string(rename.index) + ": " +
                                 Quoted(rename.before) + std::string(kArrow) +
                                 Quoted(rename.after)));
    }
    for (const RecordChange& change : list.changed) {
      lines.About(record(change.index));
      lines.Add(
          paint(kYellow, "  changed " + std::to_string(change.index) + " " + Quoted(change.name)));
      for (const FieldChange& field : change.fields) FieldLines(field, paint, lines);
      for (const CellRegion& region : change.cells) {
        lines.Add("    " + RegionText(region), region.members.front());
      }
    }
  }
  return report;
}

Lines ReportLines(const LevelDiff& diff, Colour colour) {
  Lines lines;
  for (ReportLine& line : ReportEntries(diff, colour)) lines.push_back(std::move(line.text));
  return lines;
}

Lines StatLines(const LevelDiff& diff) {
  Lines lines;
  std::size_t total = 0;
  if (!diff.info.empty()) {
    lines.push_back("Level information: " + Count(diff.info.size(), "changed fields"));
  }
  for (const ListDiff& list : diff.lists) {
    std::string line = std::string(InfoOf(list.category).sectionName) + ":";
    const std::pair<std::size_t, std::string_view> counts[] = {{list.added.size(), "added"},
                                                               {list.removed.size(), "removed"},
                                                               {list.moved.size(), "moved"},
                                                               {list.renamed.size(), "renamed"},
                                                               {list.changed.size(), "changed"}};
    bool first = true;
    for (const auto& [count, what] : counts) {
      if (count == 0) continue;
      line += (first ? " " : ", ") + Count(count, what);
      first = false;
      total += count;
    }
    lines.push_back(line);
  }
  lines.push_back(Count(total, "record changes") + ", " +
                  Count(diff.info.size(), "level information fields"));
  return lines;
}

}  // namespace zr3::compare
