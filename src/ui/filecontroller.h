#pragma once

#include <QObject>
#include <QStringList>
#include <functional>

#include "document/fileidentity.h"
#include "ui/prompt.h"

class QFileSystemWatcher;

namespace zr3 {
class LevelDocument;
class ZR3Progress;
struct RecoveredLevel;
}  // namespace zr3

namespace zr3::ui {

struct WindowActions;
struct WindowSettings;

// Where the file commands put a level when the window holds several: each hook opens it in a
// tab of its own (or shows the tab that already holds the file). Without them a level replaces
// the window's own.
struct LevelPlacement {
  std::function<void(const QString& path)> open;
  std::function<void()> newLevel;
  std::function<bool(const RecoveredLevel& left)> restore;
};

// The file commands: open (from the dialog, the recent files, a drop or the command line),
// save, save as, export, the question about unsaved changes, the watch on the open file, and
// the offer to restore the changes a crashed session left.
class FileController : public QObject {
  Q_OBJECT

 public:
  FileController(LevelDocument& document, Prompt& prompt, WindowSettings& settings,
                 const WindowActions& actions, ZR3Progress& progress, QObject* parent);

  void SetPlacement(LevelPlacement placement) { placement_ = std::move(placement); }
  // Opens a level file where the placement puts it, or here.
  void Open(const QString& path);
  // Replaces the level by the file's; true when it loaded. A failure is shown.
  bool OpenLevel(const QString& path);
  // Replaces the level by a new, empty, untitled one.
  void NewLevel();
  // Replaces the level by a recovery copy; true when it loaded. A failure is shown.
  bool Restore(const RecoveredLevel& left);
  // Asks "Save changes?" when the level is modified; false when the command must stop.
  bool SaveChangesFirst(const QString& caption);
  // Opens a file of File > Recent Files after asking to save changes; a file that is gone
  // leaves the list with a message.
  void OpenRecentFile(const QString& path);
  // The open file was changed on disk: offers to read it again.
  void FileChangedOnDisk(const QString& path);
  // Offers each recovery copy a crashed session left; true when one was restored. Without a
  // placement the first one restored ends the offers.
  bool OfferRecovery();
  const QStringList& RecentFiles() const;
  // The export dialog in folder, proposing the level's file name as a text file.
  FileDialogRequest ExportRequest(const QString& folder) const;

  // A new, empty, untitled level where the placement puts it, or here after asking to save
  // changes.
  void onNew();
  void onOpen();
  void onSave();
  void onSaveAs();
  void onExport();

 private:
  // Saves to path (the level's own file when empty); asks before overwriting a file that
  // another program changed; shows a failure. False when nothing was saved.
  bool SaveLevel(const QString& path);
  // Asks for a file name and saves there; false when nothing was saved.
  bool SaveUntitled();
  void AddRecentFile(const QString& path);
  void FillRecentMenu();
  // Watches the level's file; its identity now is what the window has seen.
  void WatchFile(const QString& path);
  // What follows a successful open or restore.
  void Opened(const QString& path);

  LevelDocument& document_;
  Prompt& prompt_;
  WindowSettings& settings_;
  const WindowActions& actions_;
  ZR3Progress& progress_;
  QFileSystemWatcher* watcher_;
  // The watched file as the window last saw it, so that one change is asked about once.
  FileIdentity seen_;
  bool askingReload_ = false;
  LevelPlacement placement_;
};

}  // namespace zr3::ui
