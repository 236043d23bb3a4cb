#include "edit/paste.h"

#include <algorithm>

#include "edit/edit_common.h"
#include "edit/placement.h"

namespace zr3 {

std::string PasteRefusal(const ZR3Level& level, const std::vector<PastedRecord>& records) {
  std::map<Category, std::size_t> added;
  for (const PastedRecord& pasted : records) {
    if (IsFixedTable(pasted.list)) return FixedTableRefusal(pasted.list, "pasted");
    ++added[pasted.list];
  }
  for (const auto& [list, count] : added) {
    // The file counts a list's records in 16 bits.
    if (level.List(list).size() + count > ZR3Level::kMaxRecords) {
      return "Cannot paste: " + std::string(InfoOf(list).sectionName) + " would hold more than " +
             std::to_string(ZR3Level::kMaxRecords) + " records, the most a level file can hold";
    }
  }
  return {};
}

std::vector<NamedRecord> InsertPasted(ZR3Level& level, std::vector<PastedRecord>& records,
                                      std::optional<NamedRecord> after) {
  // Where the next record of each list goes.
  std::map<Category, std::size_t> next;
  std::vector<NamedRecord> placed;
  placed.reserve(records.size());
  for (PastedRecord& pasted : records) {
    auto [at, first] = next.try_emplace(pasted.list, level.List(pasted.list).size());
    if (first && after && after->category == pasted.list) {
      at->second = std::min(after->index + 1, level.List(pasted.list).size());
    }
    InsertRecord(level, pasted.list, at->second, std::move(pasted.record));
    placed.push_back({pasted.list, at->second++});
  }
  return placed;
}

std::vector<std::unique_ptr<ZR3Base>> TakePasted(ZR3Level& level,
                                                 const std::vector<NamedRecord>& placed) {
  std::vector<std::unique_ptr<ZR3Base>> taken(placed.size());
  for (std::size_t i = placed.size(); i-- > 0;) {
    taken[i] = TakeRecord(level, *placed[i].category, placed[i].index);
  }
  return taken;
}

void PutBackPasted(ZR3Level& level, const std::vector<NamedRecord>& placed,
                   std::vector<std::unique_ptr<ZR3Base>> taken) {
  for (std::size_t i = 0; i < placed.size(); ++i) {
    InsertRecord(level, *placed[i].category, placed[i].index, std::move(taken[i]));
  }
}

PastedNames::PastedNames(const ZR3Level& level, const std::vector<Pasted>& pasted) : level_(level) {
  for (const Pasted& record : pasted) {
    pasted_.emplace(std::pair(record.list, record.sourceIndex), record.record);
    pastedRecords_.insert(record.record);
  }
}

ZR3Base* PastedNames::Find(Category list, std::int64_t sourceIndex, std::string_view name) {
  if (sourceIndex >= 0) {
    if (const auto found = pasted_.find({list, sourceIndex}); found != pasted_.end()) {
      return found->second;
    }
    if (IsFixedTable(list)) return level_.RecordAt(list, static_cast<int>(sourceIndex));
  }
  auto [at, first] = names_.try_emplace(list);
  Names& names = at->second;
  if (first) {
    for (const auto& record : level_.List(list)) {
      if (pastedRecords_.contains(record.get())) continue;
      names.index.Append(record->Name());
      names.records.push_back(record.get());
    }
  }
  const std::optional<NameIndex::Found> found = names.index.Find(name);
  if (!found || found->ambiguous) return nullptr;
  return names.records[static_cast<std::size_t>(found->position)];
}

ResultLines UnresolvedLines(const ZR3Level& level, const std::vector<UnresolvedReference>& refs) {
  ResultLines lines{
      {"References left unresolved by the paste: " + std::to_string(refs.size()), std::nullopt},
      {}};
  for (const UnresolvedReference& ref : refs) {
    const std::string noun(InfoOf(ref.target).recordNoun);
    const std::string why = ref.name.empty()
                                ? "names no " + noun + " by name"
                                : "no single " + noun + " is named \"" + ref.name + "\"";
    lines.push_back(
        {RecordOf(level, *ref.record.category, static_cast<long long>(ref.record.index)).Name() +
             ", " + ref.field + ": " + why,
         ref.record});
  }
  return lines;
}

}  // namespace zr3
