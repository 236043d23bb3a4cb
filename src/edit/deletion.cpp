#include "edit/deletion.h"

#include "edit/edit_common.h"
#include "edit/placement.h"
#include "edit/references.h"

namespace zr3 {

DeletionCheck CheckDeletion(const ZR3Level& level, Category category, std::size_t index) {
  const ZR3Base& record = RecordOf(level, category, index);
  DeletionCheck check;
  if (IsFixedTable(category)) {
    check.refusal = FixedTableRefusal(category, "deleted");
  } else if (level.List(category).size() < 2) {
    check.refusal = "Cannot delete the last record of " + std::string(InfoOf(category).sectionName);
  } else if (std::optional<std::string> referrer = FirstReferrer(level, category, index)) {
    check.refusal = kReferredRefusal;
    check.referrer = std::move(*referrer);
  } else {
    check.confirmation = "Delete " + record.Name() + "?";
  }
  return check;
}

DeletionResult DeleteRecord(ZR3Level& level, Category category, std::size_t index) {
  DeletionResult result;
  result.refusal = CheckDeletion(level, category, index).refusal;
  if (!result.Deleted()) return result;
  result.removed = TakeRecord(level, category, index);
  result.index = index;
  level.SetModified(true);
  return result;
}

}  // namespace zr3
