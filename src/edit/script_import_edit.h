#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
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

// The text of one script's own editor holds that script; its header may give it another
// name but not another kind. Answers why the text cannot be imported as that script's
// text, or nothing when it can. A text of several scripts is an ordinary import.
std::optional<std::string> CheckOwnScriptText(const ZR3Level& level, Category list,
                                              std::size_t index, std::string_view text);

// Imports the text of the script at index of the list through the importer. When the text
// holds that one script under another name, the script takes that name (cut as a rename
// cuts it) and the import overwrites it in place, so that the rename and the new body are
// one change for a ScriptImportEdit made afterwards. Refuses through the importer (its
// report says why, ZR3Error is thrown) what CheckOwnScriptText refuses, leaving the level as
// it was.
void ImportOwnScriptText(ZR3Importer& importer, ZR3Level& level, Category list, std::size_t index,
                         std::string_view text);

}  // namespace zr3
