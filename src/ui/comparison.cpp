#include "ui/comparison.h"

#include "compare/diff_report.h"
#include "level/windows1252.h"

namespace zr3::ui {

namespace {

// The window's result lines are the level's 8-bit bytes, which have no arrow: the UTF-8
// report's arrows become "->", and the rest, the level's own texts, go back to their bytes.
std::string WindowText(std::string text) {
  static constexpr std::string_view kArrow = "\xE2\x86\x92";
  for (std::size_t at = text.find(kArrow); at != std::string::npos; at = text.find(kArrow, at)) {
    text.replace(at, kArrow.size(), "->");
  }
  return StoredText(text);
}

}  // namespace

Comparison::Comparison(const ZR3Level& older, const ZR3Level& current) {
  const compare::LevelDiff diff = compare::CompareLevels(older, current);
  same_ = diff.Empty();
  if (same_) {
    lines_.push_back({"No differences", std::nullopt});
    cells_.emplace_back();
    return;
  }
  for (const compare::ReportLine& line : compare::ReportEntries(diff, compare::Colour::Never)) {
    std::optional<NamedRecord> record;
    if (line.subject) record = NamedRecord{line.subject->list, line.subject->index};
    lines_.push_back({WindowText(line.text), record});
    cells_.push_back(line.cell ? std::optional(MapCell{line.cell->first, line.cell->second})
                               : std::nullopt);
  }
  for (const compare::MapCellChanges& map : compare::ChangedCells(diff)) {
    changed_[map.map] = render::ChangedCellsOf(diff, map.map, 0);
  }
}

std::optional<MapCell> Comparison::CellAt(std::size_t line) const {
  return line < cells_.size() ? cells_[line] : std::nullopt;
}

const render::CellSet* Comparison::ChangedCells(std::size_t map) const {
  const auto found = changed_.find(map);
  return found == changed_.end() ? nullptr : &found->second;
}

}  // namespace zr3::ui
