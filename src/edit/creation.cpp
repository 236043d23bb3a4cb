#include "edit/creation.h"

#include <algorithm>
#include <utility>

#include "edit/edit_common.h"
#include "edit/placement.h"
#include "edit/rename.h"
#include "level/field_access.h"
#include "level/record_factory.h"
#include "records/zr3map.h"
#include "script/zr3script.h"

namespace zr3 {

std::unique_ptr<ZR3Level> NewLevel() {
  auto level = std::make_unique<ZR3Level>();
  for (std::size_t c = 0; c < kCategoryCount; ++c) {
    const auto category = static_cast<Category>(c);
    for (std::size_t i = 0; i < FixedTableSize(category); ++i) {
      level->List(category).push_back(NewRecord(category));
    }
    level->Renumber(category, 0, level->List(category).size());
  }
  level->FinishBuilt();
  level->SetModified(false);
  return level;
}

std::string NewRecordName(Category category) {
  return "New " + std::string(InfoOf(category).recordNoun);
}

std::string AddRefusal(const ZR3Level& level, Category category) {
  if (IsFixedTable(category)) return FixedTableRefusal(category, "added");
  // The file counts a list's records in 16 bits.
  if (level.List(category).size() >= ZR3Level::kMaxRecords) {
    return "Cannot add: " + std::string(InfoOf(category).sectionName) + " already holds " +
           std::to_string(ZR3Level::kMaxRecords) + " records, the most a level file can hold";
  }
  return {};
}

std::unique_ptr<ZR3Base> MakeRecord(Category category, std::string_view name) {
  std::unique_ptr<ZR3Base> record = NewRecord(category);
  if (IsScriptCategory(category)) {
    static_cast<ZR3Script&>(*record).SetKind(static_cast<std::uint8_t>(ScriptKindOf(category)));
  }
  record->SetName(std::string(name.substr(0, kMaxNameLength)));
  return record;
}

AddResult AddRecord(ZR3Level& level, Category category, std::size_t position,
                    std::string_view name) {
  AddResult result;
  result.refusal = AddRefusal(level, category);
  if (!result.Added()) return result;
  const std::string chosen = name.empty() ? NewRecordName(category) : std::string(name);
  std::unique_ptr<ZR3Base> record = MakeRecord(category, chosen);
  // A position of the defaults names no record (a group is "none", not the first group), and
  // the rest of the references resolve as a read record's do, so the record is the same before
  // and after a save.
  for (const FieldInfo& field : record->Fields()) {
    if (field.kind == FieldKind::Position && field.min < 0 && field.resolved == nullptr) {
      record->SetField(level, field.name, "-1");
    }
  }
  // A map of side 0 has no cell to paint: a new one starts with the smallest side that has.
  if (category == Category::Maps) {
    record->SetField(level, "size", std::to_string(ZR3Map::kNewSide));
  }
  record->Link(level);
  result.name = record->Name();
  result.index = std::min(position, level.List(category).size());
  InsertRecord(level, category, result.index, std::move(record));
  level.SetModified(true);
  return result;
}

}  // namespace zr3
