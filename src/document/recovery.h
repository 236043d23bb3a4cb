#pragma once

#include <QDateTime>
#include <QString>
#include <vector>

#include "document/fileidentity.h"

namespace zr3 {

class LevelDocument;

// A copy of a level's unsaved changes left by a session that ended without saving them.
struct RecoveredLevel {
  // The copy and the file of notes beside it.
  QString copy;
  QString notes;
  // The level file the changes belong to, and that file as the session knew it.
  QString path;
  FileIdentity identity;
  // When the copy was written, and how many steps of the session's history it holds.
  QDateTime written;
  int undoIndex = 0;
};

// The recovery copy of one document: while the level has unsaved changes, a copy of it under
// the application's data folder (never beside the level, never over it), written atomically,
// with notes naming the level's file, the file's identity and the history's position.
class Recovery {
 public:
  explicit Recovery(const LevelDocument& document) : document_(document) {}
  ~Recovery() = default;
  Recovery(const Recovery&) = delete;
  Recovery& operator=(const Recovery&) = delete;

  // The folder every recovery copy goes to.
  static QString Folder();
  // The copies left by sessions that are not running, newest first. A copy older than its
  // level's last save is stale: it is removed and not listed.
  static std::vector<RecoveredLevel> Left();
  // Removes a copy and its notes.
  static void Remove(const RecoveredLevel& level);

  // Writes the copy of the document's level now; removes it when nothing is unsaved.
  // Failures to write are not the user's concern: the level itself is untouched.
  void Write();
  // Removes the document's copy (after a save, or when the level is closed or replaced).
  void Discard();
  // The copy and notes the document writes to; empty without a file.
  QString CopyPath() const;
  QString NotesPath() const;

 private:
  const LevelDocument& document_;
};

}  // namespace zr3
