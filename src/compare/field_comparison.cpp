#include "compare/field_comparison.h"

#include <algorithm>
#include <array>
#include <functional>
#include <string_view>

#include "compare/map_regions.h"
#include "compare/sequence_alignment.h"
#include "records/zr3map.h"
#include "records/zr3palette.h"
#include "script/scriptforms.h"
#include "script/zr3script.h"
#include "script/zr3scriptentry.h"

namespace zr3::compare {

namespace {

void MixNumber(std::uint64_t& hash, std::uint64_t value);

// Folds the bytes into a running hash; the length goes in too, so that "ab" + "c" and
// "a" + "bc" differ.
void Mix(std::uint64_t& hash, std::string_view bytes) {
  MixNumber(hash, std::hash<std::string_view>{}(bytes));
  MixNumber(hash, bytes.size());
}

void MixNumber(std::uint64_t& hash, std::uint64_t value) {
  hash ^= value + 0x9e3779b97f4a7c15ULL + (hash << 6) + (hash >> 2);
  hash *= 0x100000001b3ULL;
}

constexpr std::uint64_t kHashStart = 0xcbf29ce484222325ULL;

// A reference in a key: the name of its record, or its stored value while it names none.
void MixReference(std::uint64_t& hash, const FieldInfo& field) {
  if (field.resolved) {
    Mix(hash, field.resolved->Name());
  } else {
    MixNumber(hash, static_cast<std::uint64_t>(field.number));
  }
}

// The lines of a script's text below its header, which names the script.
Lines ScriptBody(const ZR3Script& script) {
  Lines lines;
  script.ExportText(lines);
  if (!lines.empty()) lines.erase(lines.begin());
  return lines;
}

std::uint64_t LineHash(const std::string& line) {
  std::uint64_t hash = kHashStart;
  Mix(hash, line);
  return hash;
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

// A condition or command as a key: its code, its parameters, and for each parameter that
// names a resolved record what recordKey makes of that record in place of the parameter.
template <class RecordKey>
std::uint64_t EntryKey(const ZR3ScriptEntry& entry, RecordKey recordKey) {
  std::uint64_t hash = kHashStart;
  MixNumber(hash, entry.Code());
  std::array<bool, ZR3ScriptEntry::kParameterCount> named{};
  for (const ReferenceStep& step : entry.StepsOf()) {
    if (step.flag) continue;
    const ZR3Base* record = entry.Reference(step.reference);
    if (!record) continue;
    named[static_cast<std::size_t>(step.parameter)] = true;
    MixNumber(hash, recordKey(*record, step.reference));
  }
  for (std::size_t i = 0; i < ZR3ScriptEntry::kParameterCount; ++i) {
    if (!named[i]) MixNumber(hash, static_cast<std::uint16_t>(entry.Parameter(i)));
  }
  return hash;
}

// In a comparison a record stands for its index in the newer level, an older entry's records
// through the matching, so that a record that moved or was renamed leaves the key as it was.
std::uint64_t EntryKey(const ZR3ScriptEntry& entry, const RecordMatching* matching) {
  return EntryKey(entry, [matching](const ZR3Base& record, ScriptReference reference) {
    const auto index = static_cast<std::size_t>(record.Position());
    return matching ? matching->NewIndexOf(CategoryOf(reference), index) : index;
  });
}

// In a record's key a record stands for its name.
void MixScript(std::uint64_t& hash, const ZR3Script& script) {
  const auto byName = [](const ZR3Base& record, ScriptReference) {
    return std::hash<std::string_view>{}(record.Name());
  };
  MixNumber(hash, script.ConditionsInUse());
  for (std::size_t i = 0; i < script.ConditionsInUse(); ++i) {
    MixNumber(hash, EntryKey(script.Condition(i), byName));
  }
  MixNumber(hash, script.CommandsInUse());
  for (std::size_t i = 0; i < script.CommandsInUse(); ++i) {
    MixNumber(hash, EntryKey(script.Command(i), byName));
  }
}

// The keys of a script body's lines: each condition and command by EntryKey, the lines
// around them by their text.
std::vector<std::uint64_t> BodyKeys(const ZR3Script& script, const Lines& body,
                                    const RecordMatching* matching) {
  std::vector<std::uint64_t> keys;
  keys.reserve(body.size());
  keys.push_back(LineHash(body.at(0)));  // "conditions:"
  for (std::size_t i = 0; i < script.ConditionsInUse(); ++i) {
    keys.push_back(EntryKey(script.Condition(i), matching));
  }
  keys.push_back(LineHash(body.at(keys.size())));  // "commands:"
  for (std::size_t i = 0; i < script.CommandsInUse(); ++i) {
    keys.push_back(EntryKey(script.Command(i), matching));
  }
  while (keys.size() < body.size()) keys.push_back(LineHash(body[keys.size()]));
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

void MixCells(std::uint64_t& hash, const ZR3Map& map) {
  map.DecodeCells();
  const int side = map.Side();
  MixNumber(hash, static_cast<std::uint64_t>(side));
  const ZR3ChainRecord* lastTile = nullptr;
  std::uint64_t lastName = 0;
  for (int row = 0; row < side; ++row) {
    for (int column = 0; column < side; ++column) {
      for (std::size_t slot = 0; slot < ZR3Map::kSlotsPerCell; ++slot) {
        if (const ZR3ChainRecord* tile = map.CellTile(row, column, slot)) {
          // Neighbouring cells mostly hold the same tiles: its name is hashed once a run.
          if (tile != lastTile) {
            lastTile = tile;
            lastName = std::hash<std::string_view>{}(tile->Name());
          }
          MixNumber(hash, lastName);
        } else {
          MixNumber(hash, map.CellTileId(row, column, slot));
        }
      }
    }
  }
}

// One field into a key: what ContentKey says.
void MixField(std::uint64_t& hash, const ZR3Base& record, const FieldInfo& field) {
  switch (field.kind) {
    case FieldKind::ChainId:
      break;
    case FieldKind::Text:
      if (field.name != "name") Mix(hash, field.value);
      break;
    case FieldKind::Reference:
    case FieldKind::Position:
      MixReference(hash, field);
      break;
    case FieldKind::Run:
      for (const FieldInfo& slot : field.elements) MixReference(hash, slot);
      break;
    case FieldKind::Part:
      if (IsCells(record, field)) {
        MixCells(hash, static_cast<const ZR3Map&>(record));
      } else if (IsScriptSlots(record, field)) {
        MixScript(hash, static_cast<const ZR3Script&>(record));
      } else {
        Mix(hash, field.value);
      }
      break;
    default:
      Mix(hash, field.value);
      break;
  }
}

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

std::uint64_t FieldComparison::Key(const ZR3Base& record, std::uint64_t contentKey) {
  std::uint64_t hash = contentKey;
  Mix(hash, record.Name());
  return hash;
}

std::uint64_t FieldComparison::ContentKey(const ZR3Base& record) {
  std::uint64_t hash = kHashStart;
  // Scripts are the most numerous records: theirs is taken from the script itself rather than
  // through the field interface, which would spell out its 400 kept bytes in hex.
  if (const auto* script = dynamic_cast<const ZR3Script*>(&record)) {
    MixScript(hash, *script);
    const auto bytes = [](const auto& array) {
      return std::string_view(reinterpret_cast<const char*>(array.data()), array.size());
    };
    Mix(hash, bytes(script->BlockA()));
    Mix(hash, bytes(script->BlockB()));
    Mix(hash, bytes(script->Opaque()));
    MixNumber(hash, script->ConditionCount());
    MixNumber(hash, script->CommandCount());
    return hash;
  }
  for (const FieldInfo& field : record.Fields()) MixField(hash, record, field);
  return hash;
}

std::vector<std::uint64_t> FieldComparison::FieldKeys(const ZR3Base& record) {
  std::vector<std::uint64_t> keys;
  for (const FieldInfo& field : record.Fields()) {
    std::uint64_t hash = kHashStart;
    MixField(hash, record, field);
    keys.push_back(hash);
  }
  return keys;
}

bool FieldComparison::SameValue(const FieldInfo& before, const FieldInfo& after) const {
  const bool reference = before.kind == FieldKind::Reference || before.kind == FieldKind::Position;
  if (!reference || before.kind != after.kind || !before.target) {
    return before.value == after.value;
  }
  if (before.resolved || after.resolved) {
    return matching_.SameRecord(before.resolved, after.resolved, *before.target);
  }
  // Neither names a record: the stored values are what the author sees.
  return before.number == after.number;
}

void FieldComparison::CompareFields(const FieldList& before, const FieldList& after, bool skipName,
                                    std::vector<FieldChange>& changes) const {
  const std::size_t count = std::min(before.size(), after.size());
  for (std::size_t i = 0; i < count; ++i) {
    const FieldInfo& b = before[i];
    const FieldInfo& a = after[i];
    if (b.kind == FieldKind::ChainId || b.kind == FieldKind::Part) continue;
    if (skipName && b.name == "name") continue;
    if (b.kind == FieldKind::Run) {
      CompareFields(b.elements, a.elements, false, changes);
      continue;
    }
    if (!SameValue(b, a)) changes.push_back({b.name, ValueText(b), ValueText(a), {}});
  }
}

void FieldComparison::CompareColours(const FieldInfo& before, const FieldInfo& after,
                                     std::vector<FieldChange>& changes) const {
  for (std::size_t colour = 0; colour < ZR3Palette::kColourCount; ++colour) {
    const std::string b = ColourText(before.value, colour);
    const std::string a = ColourText(after.value, colour);
    if (b != a) changes.push_back({"colour " + std::to_string(colour), b, a, {}});
  }
}

void FieldComparison::CompareRecords(const ZR3Base& before, const ZR3Base& after,
                                     RecordChange& change) const {
  const FieldList beforeFields = before.Fields();
  const FieldList afterFields = after.Fields();
  FieldList plain;
  FieldList plainAfter;
  // The fields whose values compare as they are, in file order; the palette's colours, a map's
  // cells and a script's slots each have a comparison of their own.
  bool scriptCompared = false;
  const auto flushPlain = [&] {
    CompareFields(plain, plainAfter, true, change.fields);
    plain.clear();
    plainAfter.clear();
  };
  for (std::size_t i = 0; i < std::min(beforeFields.size(), afterFields.size()); ++i) {
    const FieldInfo& b = beforeFields[i];
    const FieldInfo& a = afterFields[i];
    if (IsColours(before, b)) {
      flushPlain();
      CompareColours(b, a, change.fields);
    } else if (IsCells(before, b)) {
      flushPlain();
      CompareCells(before, after, change);
    } else if (IsScriptSlots(before, b)) {
      flushPlain();
      if (!scriptCompared) CompareScripts(before, after, change);
      scriptCompared = true;
    } else if (b.kind == FieldKind::Part) {
      flushPlain();
      if (b.value != a.value) change.fields.push_back({b.name, b.value, a.value, {}});
    } else {
      plain.push_back(b);
      plainAfter.push_back(a);
    }
  }
  flushPlain();
}

void FieldComparison::CompareScripts(const ZR3Base& before, const ZR3Base& after,
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

void FieldComparison::CompareCells(const ZR3Base& before, const ZR3Base& after,
                                   RecordChange& change) const {
  const auto& b = static_cast<const ZR3Map&>(before);
  const auto& a = static_cast<const ZR3Map&>(after);
  b.DecodeCells();
  a.DecodeCells();
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
        const bool inBefore = row < b.Side() && column < b.Side();
        const bool inAfter = row < a.Side() && column < a.Side();
        const ZR3ChainRecord* tileBefore = inBefore ? b.CellTile(row, column, slot) : nullptr;
        const ZR3ChainRecord* tileAfter = inAfter ? a.CellTile(row, column, slot) : nullptr;
        const std::uint32_t idBefore = inBefore ? b.CellTileId(row, column, slot) : 0;
        const std::uint32_t idAfter = inAfter ? a.CellTileId(row, column, slot) : 0;
        const bool same = (tileBefore || tileAfter)
                              ? matching_.SameRecord(tileBefore, tileAfter, Category::Tiles)
                              : idBefore == idAfter;
        if (!same) grid.Mark(row, column);
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

std::vector<FieldChange> FieldComparison::CompareInfo() const {
  std::vector<FieldChange> changes;
  CompareFields(before_.Info().Fields(), after_.Info().Fields(), false, changes);
  return changes;
}

}  // namespace zr3::compare
