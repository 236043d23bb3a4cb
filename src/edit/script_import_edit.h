#pragma once

#include <array>
#include <memory>
#include <vector>

#include "level/zr3level.h"
#include "script/zr3importer.h"

namespace zr3 {

// A completed script import as an undoable change: undo takes the appended scripts off the
// ends of their lists (keeping them) and puts the overwritten scripts' old contents back;
// redo puts the same scripts back and the imported contents again. Only the scripts the
// import wrote are copied, never the level.
class ScriptImportEdit {
 public:
  // Takes the importer's report right after the import, while the level holds its result.
  ScriptImportEdit(const ZR3Level& level, ImportChanges changes);

  void Undo(ZR3Level& level);
  void Redo(ZR3Level& level);
  // Whether the import wrote no script at all.
  bool Empty() const;

 private:
  ImportChanges changes_;
  // The overwritten scripts as the import left them, in the order of changes_.overwritten.
  std::vector<std::unique_ptr<ZR3Script>> after_;
  // The appended scripts while undone, last taken last.
  std::array<std::vector<std::unique_ptr<ZR3Base>>, 4> taken_;
};

}  // namespace zr3
