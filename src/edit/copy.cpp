#include "edit/copy.h"

#include <memory>

#include "edit/edit_common.h"
#include "edit/placement.h"
#include "level/record_factory.h"
#include "script/zr3script.h"

namespace zr3 {

namespace {

std::string CopyRefusal(const ZR3Level& level, Category category, Category target) {
  if (IsFixedTable(category)) return FixedTableRefusal(category, "copied");
  if (target != category && !(IsScriptCategory(category) && IsScriptCategory(target))) {
    return "Only a script can be copied into another list";
  }
  // The file counts a list's records in 16 bits.
  if (level.List(target).size() >= ZR3Level::kMaxRecords) {
    return "Cannot copy: " + std::string(InfoOf(target).sectionName) + " already holds " +
           std::to_string(ZR3Level::kMaxRecords) + " records, the most a level file can hold";
  }
  return {};
}

}  // namespace

CopyResult CopyRecord(ZR3Level& level, Category category, std::size_t index) {
  return CopyRecord(level, category, index, category);
}

CopyResult CopyRecord(ZR3Level& level, Category category, std::size_t index, Category target) {
  const ZR3Base& source = RecordOf(level, category, index);
  level.SetModified(true);
  CopyResult result;
  result.category = target;
  result.refusal = CopyRefusal(level, category, target);
  if (!result.Copied()) return result;

  std::unique_ptr<ZR3Base> copy = NewRecord(target);
  source.CopyTo(*copy);
  if (IsScriptCategory(target)) {
    static_cast<ZR3Script&>(*copy).SetKind(static_cast<std::uint8_t>(ScriptKindOf(target)));
  }
  result.index = level.List(target).size();
  result.name = copy->Name();
  InsertRecord(level, target, result.index, std::move(copy));
  return result;
}

}  // namespace zr3
