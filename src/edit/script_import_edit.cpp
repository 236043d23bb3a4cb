#include "edit/script_import_edit.h"

#include <utility>

#include "edit/edit_common.h"
#include "edit/placement.h"
#include "edit/rename.h"
#include "script/script_analysis.h"

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

namespace {

// The one script the text holds, when it holds exactly one.
std::optional<ScriptSymbol> OnlyScript(std::string_view text) {
  ScriptAnalysis analysis = ScriptAnalyzer().Analyze(text);
  if (analysis.scripts.size() != 1) return std::nullopt;
  return std::move(analysis.scripts.front());
}

// A name in script text: quoted, a quote inside doubled.
std::string QuotedName(std::string_view name) {
  std::string quoted(1, '"');
  for (const char c : name) {
    quoted += c;
    if (c == '"') quoted += '"';
  }
  quoted += '"';
  return quoted;
}

// The text with the name of the header on the line (counted from 1) replaced.
std::string WithHeaderName(std::string_view text, const ScriptSymbol& script,
                           std::string_view name) {
  std::size_t start = 0;
  for (std::size_t line = 1; line < script.line; ++line) start = text.find('\n', start) + 1;
  std::string changed(text.substr(0, start + script.nameColumn));
  changed += QuotedName(name);
  changed += text.substr(start + script.nameColumn + script.nameLength);
  return changed;
}

}  // namespace

std::optional<std::string> CheckOwnScriptText(const ZR3Level& level, Category list,
                                              std::size_t index, std::string_view text) {
  const std::optional<ScriptSymbol> script = OnlyScript(text);
  if (!script) return std::nullopt;
  const auto& own = static_cast<const ZR3Script&>(RecordOf(level, list, index));
  if (ScriptCategoryOfKind(script->kind) != list) {
    const std::string_view header = ScriptHeaders()[static_cast<std::size_t>(script->kind)].keyword;
    return "The header \"" + std::string(header) + "\" would make \"" + own.Name() + "\" " +
           std::string(InfoOf(ScriptCategoryOfKind(script->kind)).recordNoun) + "; a script " +
           "keeps its kind here (copy it to the other list instead).";
  }
  if (script->name == own.Name()) return std::nullopt;
  const std::string name = script->name.substr(0, kMaxNameLength);
  const int other = level.FindByName(name, list);
  if (other >= 0 && static_cast<std::size_t>(other) != index) {
    return "Another " + std::string(InfoOf(list).recordNoun) + " is already named \"" + name +
           "\".";
  }
  return std::nullopt;
}

void ImportOwnScriptText(ZR3Importer& importer, ZR3Level& level, Category list, std::size_t index,
                         std::string_view text) {
  if (const std::optional<std::string> refusal = CheckOwnScriptText(level, list, index, text)) {
    importer.Refuse(*refusal);
  }
  const std::optional<ScriptSymbol> script = OnlyScript(text);
  const std::string oldName = RecordOf(level, list, index).Name();
  if (!script || script->name == oldName) {
    importer.ImportText(text);
    return;
  }
  const std::string newName = script->name.substr(0, kMaxNameLength);
  // Imported under the old name, the text overwrites the script in place; the new name
  // follows once the import has succeeded.
  importer.ImportText(WithHeaderName(text, *script, oldName));
  RenameRecord(level, list, index, newName);
}

}  // namespace zr3
