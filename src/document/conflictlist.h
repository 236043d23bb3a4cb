#pragma once

#include <QObject>
#include <QString>
#include <cstddef>
#include <optional>
#include <vector>

#include "level/category.h"
#include "merge/conflict_resolution.h"
#include "merge/merge_conflicts.h"

namespace zr3 {

class LevelDocument;

// The merge conflicts of the open level, read from the conflicts file beside it when the level
// is opened. Each is resolved by choosing a side's value, one step of the document's history
// (undoing it brings the conflict back). The records they name follow the records' moves in the
// level; a save writes the conflicts left beside the level, or removes the file when none are.
class ConflictList : public QObject {
  Q_OBJECT

 public:
  struct Entry {
    merge::MergeConflict conflict;
    bool resolved = false;
    // Its record was deleted since: it cannot be resolved until the deletion is undone.
    bool lost = false;
  };

  explicit ConflictList(LevelDocument& document);

  const std::vector<Entry>& Entries() const { return entries_; }
  std::size_t UnresolvedCount() const;
  // The conflicts file the entries were read from; empty when the level has none.
  const QString& FilePath() const { return filePath_; }
  // Why the conflicts file beside the level could not be read; empty when it was, or when
  // there is none.
  const QString& LoadError() const { return loadError_; }

  // Resolves the entry with the side's value as one step of the history; answers the reason
  // when the level cannot take the value (nothing changed then).
  QString Resolve(std::size_t entry, merge::ConflictSide side);

  // After the level was saved to levelPath: writes the unresolved conflicts beside it, or
  // removes that conflicts file when every conflict is resolved. Throws ZR3Error when the file
  // cannot be written or removed.
  void Saved(const QString& levelPath);

  // For the resolving command: marks the entry and says so.
  void SetResolved(std::size_t entry, bool resolved);
  // For the resolving command: while it changes the lists, its own entry keeps its place.
  void SetBusy(std::optional<std::size_t> entry) { busy_ = entry; }

 signals:
  // The entries, their records' places or the file changed.
  void changed();

 private:
  void Load();
  void OnInserted(Category category, std::size_t index, std::size_t count);
  void OnRemoved(Category category, std::size_t index, std::size_t count);
  void OnMoved(Category category, std::size_t from, std::size_t to);
  // Calls shift for every entry of the category but the busy one, then says so when any is.
  template <class Shift>
  void Follow(Category category, Shift shift);

  LevelDocument& document_;
  std::vector<Entry> entries_;
  QString filePath_;
  QString loadError_;
  std::optional<std::size_t> busy_;
};

}  // namespace zr3
