#include "edit/script_import_edit.h"

#include <utility>

#include "edit/edit_common.h"
#include "edit/placement.h"

namespace zr3 {

ScriptImportEdit::ScriptImportEdit(const ZR3Level& level, ImportChanges changes)
    : changes_(std::move(changes)) {
  for (const ImportChanges::Overwritten& script : changes_.overwritten) {
    after_.push_back(std::make_unique<ZR3Script>(
        static_cast<const ZR3Script&>(RecordOf(level, script.list, script.index))));
  }
}

bool ScriptImportEdit::Empty() const {
  for (const std::size_t count : changes_.appended) {
    if (count > 0) return false;
  }
  return changes_.overwritten.empty();
}

void ScriptImportEdit::Undo(ZR3Level& level) {
  for (std::size_t kind = 0; kind < taken_.size(); ++kind) {
    const Category list = ScriptCategoryOfKind(static_cast<int>(kind));
    for (std::size_t i = 0; i < changes_.appended[kind]; ++i) {
      taken_[kind].push_back(TakeRecord(level, list, level.List(list).size() - 1));
    }
  }
  for (const ImportChanges::Overwritten& script : changes_.overwritten) {
    script.before->CopyTo(RecordOf(level, script.list, script.index));
  }
  level.SetModified(true);
}

void ScriptImportEdit::Redo(ZR3Level& level) {
  for (std::size_t kind = 0; kind < taken_.size(); ++kind) {
    const Category list = ScriptCategoryOfKind(static_cast<int>(kind));
    while (!taken_[kind].empty()) {
      InsertRecord(level, list, level.List(list).size(), std::move(taken_[kind].back()));
      taken_[kind].pop_back();
    }
  }
  for (std::size_t i = 0; i < after_.size(); ++i) {
    const ImportChanges::Overwritten& script = changes_.overwritten[i];
    after_[i]->CopyTo(RecordOf(level, script.list, script.index));
  }
  level.SetModified(true);
}

}  // namespace zr3
