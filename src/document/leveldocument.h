#pragma once

#include <QObject>
#include <QString>
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "document/fileidentity.h"
#include "edit/field_edit.h"
#include "edit/map_paint.h"
#include "edit/paste.h"
#include "edit/reorder.h"
#include "level/category.h"
#include "level/text.h"
#include "level/zr3level.h"

class QTimer;
class QUndoStack;

namespace zr3 {

class ConflictList;
class LevelCommand;
class Recovery;
class ZR3Importer;

// One open level: the level itself, its file and the file's identity on disk, and the undo
// history of every change made to it. Every change goes through a command pushed onto the
// history, whose redo does the work the first time too; once the level is consistent again
// the document says what changed, exactly once, and the views follow those signals only.
class LevelDocument : public QObject {
  Q_OBJECT

 public:
  explicit LevelDocument(QObject* parent = nullptr);
  ~LevelDocument() override;

  // Replaces the level by the file's and starts a new history. Throws ZR3Error when the file
  // does not load; the level then holds what was read before the failure and Loaded() is
  // false. Emits levelReplaced either way.
  void Open(const QString& path, ZR3Progress* progress = nullptr);
  // Replaces the level by a new, empty one with no file: Save must be given a path.
  void New();
  // Replaces the level by a recovery copy of the file at path: the level shows as modified,
  // with no history, and Save writes to path. identity is the file as the copy's session
  // last knew it. Throws ZR3Error when the copy does not load, leaving the level as it was.
  void OpenRecovered(const QString& copy, const QString& path, const FileIdentity& identity);
  // Writes the level to path, or to its own file when path is empty; the history becomes
  // clean and the file's identity is taken again. Throws ZR3Error when the save failed: the
  // existing file is untouched and the level stays modified. The conflicts left unresolved
  // are written beside the file (ZR3Error too when that fails, the level being saved).
  void Save(const QString& path = {});

  ZR3Level* Level() const { return level_.get(); }
  bool Loaded() const { return level_ && level_->Loaded(); }
  const QString& FilePath() const { return path_; }
  QUndoStack* UndoStack() const { return undoStack_; }
  bool Modified() const;
  // The file as it was when the level was opened from it or last saved to it.
  const FileIdentity& Identity() const { return identity_; }
  // Whether the file on disk is no longer the one opened or last saved (size, time or bytes).
  bool ChangedOnDisk() const;
  Recovery& RecoveryCopy() const { return *recovery_; }
  // The merge conflicts of the level, from the conflicts file beside it.
  ConflictList& Conflicts() const { return *conflicts_; }
  // Writes the recovery copy now when the level changed since the last one; the window calls
  // it when it loses the focus. Otherwise a copy follows a change within kRecoveryInterval.
  void WriteRecovery();
  static constexpr int kRecoveryInterval = 30000;

  // The changes. Each pushes one command onto the history; a change that is refused leaves
  // the level and the history as they were and answers the reason (empty when done).
  QString EditField(const FieldOwner& owner, const std::string& path, const std::string& value);
  QString SetPaletteColour(std::size_t palette, std::size_t colour,
                           std::array<std::uint8_t, 3> rgb);
  // A rename to the name the record has takes no place in the history.
  void Rename(Category category, std::size_t index, const std::string& name);
  void Move(Category category, std::size_t index, MoveDirection direction);
  QString Copy(Category category, std::size_t index, Category target);
  // A new record with its kind's defaults at position of the list.
  QString AddRecord(Category category, std::size_t position);
  QString Delete(Category category, std::size_t index);
  // Pastes the records of their JSON form (as RecordsJson writes it) behind the record after,
  // or at the ends of their lists; unresolved receives the references that named nothing.
  QString Paste(std::string json, std::optional<NamedRecord> after,
                std::vector<UnresolvedReference>& unresolved);
  // Puts an object on another cell of its map (column x, row y): one step of the history.
  QString MoveObject(std::size_t object, int x, int y);
  // A stroke already painted on the map (it shows while the mouse moves) becomes a step.
  void AddPaintStroke(MapPaint paint, const QString& verb);
  // Runs an import of script text; report receives the importer's report. False when the
  // import failed, which changes nothing.
  bool ImportScripts(const std::function<void(ZR3Importer&)>& run, const QString& text,
                     Lines& report);

  // For the commands: a refusal of the change being done, and its report.
  void Refuse(const QString& reason) { refusal_ = reason; }

 signals:
  // Records were put into a list at index (later records moved up by count).
  void recordsInserted(zr3::Category category, std::size_t index, std::size_t count);
  // Records left a list at index.
  void recordsRemoved(zr3::Category category, std::size_t index, std::size_t count);
  // The records at from and to changed places.
  void recordMoved(zr3::Category category, std::size_t from, std::size_t to);
  void recordRenamed(zr3::Category category, std::size_t index);
  // Fields of a record, or of the level information, changed.
  void fieldsChanged(const zr3::FieldOwner& owner);
  void mapCellsChanged(std::size_t map);
  void paletteColoursChanged(std::size_t palette);
  // The whole level is another one (opened, or a failed open).
  void levelReplaced();
  void modifiedChanged(bool modified);
  void filePathChanged(const QString& path);
  // An undo or redo (not the first doing) changed this record, or the list around it: the
  // record the window brings into view.
  void stepped(const zr3::FieldOwner& record);

 private:
  // Resolving a conflict is a command of its own.
  friend class ConflictList;
  QString Push(LevelCommand* command);
  void SetPath(const QString& path);
  void ReplaceLevel(std::unique_ptr<ZR3Level> level);

  std::unique_ptr<ZR3Level> level_;
  QString path_;
  FileIdentity identity_;
  QUndoStack* undoStack_;
  std::unique_ptr<Recovery> recovery_;
  QString refusal_;
  QTimer* recoveryTimer_;
  ConflictList* conflicts_;
  // Whether the level changed since the recovery copy was last written.
  bool recoveryDue_ = false;
};

}  // namespace zr3
