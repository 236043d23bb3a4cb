#include "compare/record_changes.h"

#include <algorithm>
#include <span>

#include "compare/map_regions.h"
#include "compare/record_keys.h"
#include "compare/sequence_alignment.h"
#include "level/zr3error.h"
#include "records/zr3map.h"
#include "records/zr3palette.h"
#include "script/scriptforms.h"
#include "script/zr3script.h"
#include "script/zr3scriptentry.h"

namespace zr3::compare {

namespace {

// The lines of a script's text below its header, which names the script.
Lines ScriptBody(const ZR3Script& script) {
  Lines lines;
  script.ExportText(lines);
  if (!lines.empty()) lines.erase(lines.begin());
  return lines;
}

// Every line of both texts marked as a unified diff marks them, lines pairing by their keys.
std::vector<std::string> MarkedLines(const Lines& before,
                                     const std::vector<std::uint64_t>& beforeKeys,
                                     const Lines& after,
                                     const std::vector<std::uint64_t>& afterKeys) {
  // A script has at most a few dozen lines: the alignment never gives up.
  const std::vector<AlignedPair> common =
      *CommonSubsequence(beforeKeys, afterKeys, before.size() + after.size());
  std::vector<std::string> marked;
  std::size_t i = 0;
  std::size_t j = 0;
  const auto emitUntil = [&](std::size_t endBefore, std::size_t endAfter) {
    for (; i < endBefore; ++i) marked.push_back("-" + before[i]);
    for (; j < endAfter; ++j) marked.push_back("+" + after[j]);
  };
  for (const auto& [b, a] : common) {
    emitUntil(b, a);
    marked.push_back(" " + after[a]);
    ++i;
    ++j;
  }
  emitUntil(before.size(), after.size());
  return marked;
}

// The keys of a script body's lines: each condition and command by EntryKey, the lines
// around them by their text.
std::vector<std::uint64_t> BodyKeys(const ZR3Script& script, const Lines& body,
                                    const RecordMatching* matching) {
  std::vector<std::uint64_t> keys;
  keys.reserve(body.size());
  keys.push_back(TextKey(body.at(0)));  // "conditions:"
  for (std::size_t i = 0; i < script.ConditionsInUse(); ++i) {
    keys.push_back(EntryKey(script.Condition(i), matching));
  }
  keys.push_back(TextKey(body.at(keys.size())));  // "commands:"
  for (std::size_t i = 0; i < script.CommandsInUse(); ++i) {
    keys.push_back(EntryKey(script.Command(i), matching));
  }
  while (keys.size() < body.size()) keys.push_back(TextKey(body[keys.size()]));
  return keys;
}

bool IsScriptSlots(const ZR3Base& record, const FieldInfo& field) {
  return field.kind == FieldKind::Part && dynamic_cast<const ZR3Script*>(&record) &&
         (field.name == "conditions" || field.name == "commands");
}

bool IsCells(const ZR3Base& record, const FieldInfo& field) {
  return field.kind == FieldKind::Part && field.name == "cells" &&
         dynamic_cast<const ZR3Map*>(&record);
}

bool IsColours(const ZR3Base& record, const FieldInfo& field) {
  return field.kind == FieldKind::Opaque && field.name == "colours" &&
         dynamic_cast<const ZR3Palette*>(&record);
}

std::string ColourText(const std::string& hex, std::size_t colour) {
  const std::size_t digits = ZR3Palette::kBytesPerColour * 2;
  std::string text;
  for (std::size_t i = 0; i < digits; i += 2) {
    if (!text.empty()) text += ' ';
    text += hex.substr(colour * digits + i, 2);
  }
  return text;
}

// Each entry of a map's tile table as one number that two versions share for the same
// slot content: a resolved tile as its index in the newer level (an older map's tiles through
// the matching), an unresolved one as its stored identifier; an empty slot is 0.
std::vector<std::uint64_t> TableValues(const ZR3Map& map, const RecordMatching* matching) {
  const std::span<const std::uint32_t> ids = map.TableIds();
  const std::span<ZR3ChainRecord* const> tiles = map.TableTiles();
  std::vector<std::uint64_t> values(ids.size());
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (!tiles[i]) {
      values[i] = std::uint64_t{ids[i]} << 1;
      continue;
    }
    const auto position = static_cast<std::size_t>(tiles[i]->Position());
    const std::size_t index = matching ? matching->NewIndexOf(Category::Tiles, position) : position;
    // A removed tile is the same as no tile of the newer level.
    values[i] =
        index == RecordMatching::kNone ? ~std::uint64_t{0} : (std::uint64_t{index} << 1) | 1;
  }
  return values;
}

// One layer of a map's cells as TableValues numbers, outside the map's side as empty.
class LayerValues {
 public:
  LayerValues(const ZR3Map& map, const RecordMatching* matching)
      : side_(map.Side()), cells_(map.CellSlots()), values_(TableValues(map, matching)) {
    if (cells_.size() != static_cast<std::size_t>(side_) * static_cast<std::size_t>(side_)) {
      throw ZR3Error("The cells of the map \"" + map.Name() + "\" do not fill its side");
    }
  }
  std::uint64_t At(int row, int column, std::size_t slot) const {
    if (row >= side_ || column >= side_) return 0;
    const std::uint16_t entry =
        cells_[static_cast<std::size_t>(row) * static_cast<std::size_t>(side_) +
               static_cast<std::size_t>(column)][slot];
    return entry == ZR3Map::kEmptySlot ? 0 : values_[entry];
  }

 private:
  int side_;
  std::span<const ZR3Map::Cell> cells_;
  std::vector<std::uint64_t> values_;
};

}  // namespace

std::string ValueText(const FieldInfo& field) {
  switch (field.kind) {
    case FieldKind::Text:
      return "\"" + field.value + "\"";
    case FieldKind::Choice:
      if (field.number >= 0 && static_cast<std::size_t>(field.number) < field.words.size() &&
          !field.words[static_cast<std::size_t>(field.number)].empty()) {
        return std::string(field.words[static_cast<std::size_t>(field.number)]);
      }
      return field.value;
    case FieldKind::Reference:
      if (field.resolved) return field.resolved->Name();
      return field.value;
    case FieldKind::Position:
      if (field.resolved) return field.resolved->Name();
      return field.value + " (none)";
    default:
      return field.value;
  }
}

RecordChanges::RecordChanges(const ZR3Level& before, const ZR3Level& after,
                             const RecordMatching& matching)
    : before_(before),
      after_(after),
      matching_(matching),
      matched_([&matching](const ZR3Base& older, const ZR3Base& newer, Category list) {
        return matching.SameRecord(&older, &newer, list);
      }) {}

void RecordChanges::CompareRecords(const ZR3Base& before, const ZR3Base& after,
                                   RecordChange& change) const {
  // The palette's colours, a map's cells and a script's slots each read in terms of their own.
  bool scriptCompared = false;
  const auto differs = [&](const FieldInfo& b, const FieldInfo& a) {
    if (b.name == "name") return;
    if (!IsColours(before, b)) {
      change.fields.push_back({b.name, ValueText(b), ValueText(a), {}});
      return;
    }
    for (std::size_t colour = 0; colour < ZR3Palette::kColourCount; ++colour) {
      std::string older = ColourText(b.value, colour);
      std::string newer = ColourText(a.value, colour);
      if (older != newer) {
        change.fields.push_back(
            {"colour " + std::to_string(colour), std::move(older), std::move(newer), {}});
      }
    }
  };
  const auto part = [&](const FieldInfo& b, const FieldInfo& a) {
    if (IsCells(before, b)) {
      CompareCells(before, after, change);
    } else if (IsScriptSlots(before, b)) {
      if (!scriptCompared) CompareScripts(before, after, change);
      scriptCompared = true;
    } else if (b.value != a.value) {
      change.fields.push_back({b.name, b.value, a.value, {}});
    }
  };
  VisitDifferences(before.Fields(), after.Fields(), matched_, differs, part);
}

void RecordChanges::CompareScripts(const ZR3Base& before, const ZR3Base& after,
                                   RecordChange& change) const {
  const auto& b = static_cast<const ZR3Script&>(before);
  const auto& a = static_cast<const ZR3Script&>(after);
  const Lines beforeLines = ScriptBody(b);
  const Lines afterLines = ScriptBody(a);
  const std::vector<std::uint64_t> beforeKeys = BodyKeys(b, beforeLines, &matching_);
  const std::vector<std::uint64_t> afterKeys = BodyKeys(a, afterLines, nullptr);
  if (beforeKeys == afterKeys) return;
  change.fields.push_back(
      {"script", {}, {}, MarkedLines(beforeLines, beforeKeys, afterLines, afterKeys)});
}

void RecordChanges::CompareCells(const ZR3Base& before, const ZR3Base& after,
                                 RecordChange& change) const {
  const auto& b = static_cast<const ZR3Map&>(before);
  const auto& a = static_cast<const ZR3Map&>(after);
  const LayerValues older(b, &matching_);
  const LayerValues newer(a, nullptr);
  const int side = std::max(b.Side(), a.Side());
  const auto slotText = [](const ZR3Map& map, int row, int column, std::size_t slot) {
    if (row >= map.Side() || column >= map.Side()) return std::string("outside");
    if (const ZR3ChainRecord* tile = map.CellTile(row, column, slot)) return tile->Name();
    const std::uint32_t id = map.CellTileId(row, column, slot);
    return id == 0 ? std::string("empty") : std::string(kUnresolvedPrefix) + std::to_string(id);
  };
  for (std::size_t slot = 0; slot < ZR3Map::kSlotsPerCell; ++slot) {
    ChangedGrid grid(side);
    for (int row = 0; row < side; ++row) {
      for (int column = 0; column < side; ++column) {
        if (older.At(row, column, slot) != newer.At(row, column, slot)) grid.Mark(row, column);
      }
    }
    for (CellRegion& region : grid.Regions(static_cast<int>(slot) + 1)) {
      for (CellChange& cell : region.tiles) {
        cell.before = slotText(b, cell.row, cell.column, slot);
        cell.after = slotText(a, cell.row, cell.column, slot);
      }
      change.cells.push_back(std::move(region));
    }
  }
}

std::vector<FieldChange> RecordChanges::CompareInfo() const {
  std::vector<FieldChange> changes;
  VisitDifferences(before_.Info().Fields(), after_.Info().Fields(), matched_,
                   [&](const FieldInfo& b, const FieldInfo& a) {
                     changes.push_back({b.name, ValueText(b), ValueText(a), {}});
                   });
  return changes;
}

}  // namespace zr3::compare
