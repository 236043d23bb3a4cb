#include "ui/filecontroller.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QMenu>

#include "document/leveldocument.h"
#include "document/recovery.h"
#include "document/texts.h"
#include "ui/busycursor.h"
#include "ui/settings.h"
#include "ui/windowactions.h"

namespace zr3::ui {

namespace {

// The folder of a file, ending with a separator.
QString FolderOf(const QString& path) {
  return QDir::toNativeSeparators(QFileInfo(path).absolutePath() + QLatin1Char('/'));
}

}  // namespace

FileController::FileController(LevelDocument& document, Prompt& prompt, WindowSettings& settings,
                               const WindowActions& actions, ZR3Progress& progress, QObject* parent)
    : QObject(parent),
      document_(document),
      prompt_(prompt),
      settings_(settings),
      actions_(actions),
      progress_(progress),
      watcher_(new QFileSystemWatcher(this)) {
  connect(watcher_, &QFileSystemWatcher::fileChanged, this, &FileController::FileChangedOnDisk);
  connect(actions_.newLevel, &QAction::triggered, this, &FileController::onNew);
  connect(actions_.open, &QAction::triggered, this, &FileController::onOpen);
  connect(actions_.save, &QAction::triggered, this, &FileController::onSave);
  connect(actions_.saveAs, &QAction::triggered, this, &FileController::onSaveAs);
  connect(actions_.exportLevel, &QAction::triggered, this, &FileController::onExport);
  // Another tab may have added to the recent files since.
  connect(actions_.recentFiles, &QMenu::aboutToShow, this, &FileController::FillRecentMenu);
  FillRecentMenu();
}

const QStringList& FileController::RecentFiles() const {
  return settings_.recentFiles;
}

bool FileController::OpenLevel(const QString& path) {
  QString error;
  {
    BusyCursor busy;
    try {
      document_.Open(path, &progress_);
    } catch (const std::exception& e) {
      error = MessageText(e);
    }
  }
  if (!error.isEmpty()) {
    ShowError(prompt_, error);
    return false;
  }
  Opened(path);
  return true;
}

void FileController::Opened(const QString& path) {
  settings_.defaultPath = FolderOf(path);
  AddRecentFile(path);
  WatchFile(path);
}

void FileController::Open(const QString& path) {
  if (placement_.open) {
    placement_.open(path);
  } else if (SaveChangesFirst(tr("Open"))) {
    OpenLevel(path);
  }
}

bool FileController::Restore(const RecoveredLevel& left) {
  try {
    document_.OpenRecovered(left.copy, left.path, left.identity);
  } catch (const std::exception& e) {
    ShowError(prompt_, MessageText(e));
    return false;
  }
  Opened(left.path);
  return true;
}

bool FileController::OfferRecovery() {
  bool restored = false;
  for (const RecoveredLevel& left : Recovery::Left()) {
    const QString name = QFileInfo(left.path).fileName();
    const QDateTime written = left.written.toLocalTime();
    const QString when = written.date() == QDate::currentDate()
                             ? written.toString(QStringLiteral("hh:mm"))
                             : written.toString(QStringLiteral("yyyy-MM-dd hh:mm"));
    if (prompt_.Ask(QMessageBox::Question, tr("Recover"),
                    tr("Restore unsaved changes to %1 from %2?").arg(name, when),
                    QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
      Recovery::Remove(left);
      continue;
    }
    if (!placement_.restore) {
      if (Restore(left)) return true;
    } else if (placement_.restore(left)) {
      restored = true;
    }
  }
  return restored;
}

bool FileController::SaveLevel(const QString& path) {
  // An untitled level is saved under a name the author chooses first.
  if (path.isEmpty() && document_.FilePath().isEmpty()) return SaveUntitled();
  const QString target = path.isEmpty() ? document_.FilePath() : path;
  if (target == document_.FilePath() && document_.ChangedOnDisk() &&
      prompt_.Ask(QMessageBox::Warning, tr("Save"),
                  tr("%1 was changed by another program since it was opened. Overwrite it?")
                      .arg(QFileInfo(target).fileName()),
                  QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
    return false;
  }
  QString error;
  {
    BusyCursor busy;
    try {
      document_.Save(target);
    } catch (const std::exception& e) {
      error = MessageText(e);
    }
  }
  if (!error.isEmpty()) {
    ShowError(prompt_, error);
    return false;
  }
  WatchFile(target);
  return true;
}

bool FileController::SaveChangesFirst(const QString& caption) {
  if (!document_.Modified()) return true;
  switch (prompt_.Ask(QMessageBox::Question, caption, tr("Save changes?"),
                      QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
    case QMessageBox::Yes:
      // A failed save keeps the level and its changes where they are.
      return SaveLevel({});
    case QMessageBox::No:
      // The changes are given up: their recovery copy goes with them.
      document_.RecoveryCopy().Discard();
      return true;
    default:
      return false;
  }
}

void FileController::NewLevel() {
  document_.New();
  WatchFile({});
}

void FileController::onNew() {
  if (placement_.newLevel) {
    placement_.newLevel();
  } else if (SaveChangesFirst(tr("New"))) {
    NewLevel();
  }
}

void FileController::onOpen() {
  // A level that replaces this one is asked about before the dialog.
  if (!placement_.open && !SaveChangesFirst(tr("Open"))) return;
  const QString path = prompt_.OpenFile({.name = QStringLiteral("dlgOpen"),
                                         .title = tr("Open File"),
                                         .filter = tr("ZR3 Level Files (*.zr3)"),
                                         .folder = settings_.defaultPath});
  if (path.isEmpty()) return;
  if (placement_.open) {
    placement_.open(path);
  } else {
    OpenLevel(path);
  }
}

void FileController::onSave() {
  if (document_.Loaded()) SaveLevel({});
}

void FileController::onSaveAs() {
  if (document_.Loaded()) SaveUntitled();
}

bool FileController::SaveUntitled() {
  const QString path = ChooseSaveFile(prompt_, {.name = QStringLiteral("dlgSave"),
                                                .title = tr("Save Map"),
                                                .filter = tr("ZR3 Map Files (*.zr3)"),
                                                .folder = settings_.defaultPath,
                                                .defaultSuffix = QStringLiteral("zr3")});
  if (path.isEmpty()) return false;
  const bool saved = SaveLevel(path);
  settings_.defaultPath = FolderOf(path);
  if (saved) AddRecentFile(path);
  return saved;
}

FileDialogRequest FileController::ExportRequest(const QString& folder) const {
  const QString levelFile = document_.FilePath();
  return {.name = QStringLiteral("dlgExport"),
          .title = tr("Export Level"),
          .filter = tr("Text Files (*.txt)"),
          .folder = folder,
          .defaultSuffix = QStringLiteral("txt"),
          .fileName = levelFile.isEmpty()
                          ? QString()
                          : QFileInfo(levelFile).completeBaseName() + QStringLiteral(".txt")};
}

void FileController::onExport() {
  if (!document_.Loaded()) return;
  const QString path = ChooseSaveFile(prompt_, ExportRequest(settings_.exportPath));
  if (path.isEmpty()) return;
  QString error;
  {
    BusyCursor busy;
    try {
      document_.Level()->ExportLevelText(ToNativePath(path));
    } catch (const std::exception& e) {
      error = MessageText(e);
    }
  }
  if (!error.isEmpty()) ShowError(prompt_, error);
  settings_.exportPath = FolderOf(path);
}

void FileController::AddRecentFile(const QString& path) {
  const QString file = QFileInfo(path).absoluteFilePath();
  settings_.recentFiles.removeAll(file);
  settings_.recentFiles.prepend(file);
  while (settings_.recentFiles.size() > WindowSettings::kRecentFiles) {
    settings_.recentFiles.removeLast();
  }
  FillRecentMenu();
}

void FileController::FillRecentMenu() {
  QMenu* menu = actions_.recentFiles;
  menu->clear();
  for (int i = 0; i < settings_.recentFiles.size(); ++i) {
    const QString file = settings_.recentFiles[i];
    QAction* action =
        menu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(file)));
    action->setObjectName(QStringLiteral("actionRecentFile%1").arg(i + 1));
    connect(action, &QAction::triggered, this, [this, file] { OpenRecentFile(file); });
  }
  menu->setEnabled(!settings_.recentFiles.isEmpty());
}

void FileController::OpenRecentFile(const QString& path) {
  if (!QFileInfo::exists(path)) {
    prompt_.Ask(QMessageBox::Warning, tr("Open"),
                tr("%1 no longer exists.\nIt is removed from the recent files.")
                    .arg(QDir::toNativeSeparators(path)),
                QMessageBox::Ok);
    settings_.recentFiles.removeAll(path);
    FillRecentMenu();
    return;
  }
  Open(path);
}

void FileController::WatchFile(const QString& path) {
  if (!watcher_->files().isEmpty()) watcher_->removePaths(watcher_->files());
  seen_ = document_.Identity();
  // An untitled level has no file to watch.
  if (!path.isEmpty()) watcher_->addPath(QFileInfo(path).absoluteFilePath());
}

void FileController::FileChangedOnDisk(const QString& path) {
  // A file replaced by rename is no longer watched: watch the new one.
  if (QFileInfo::exists(path) && !watcher_->files().contains(path)) watcher_->addPath(path);
  if (askingReload_ || !document_.Level() || !QFileInfo::exists(path)) return;
  const FileIdentity now = FileIdentity::Of(path);
  // The window's own save, or a change already asked about.
  if (now == seen_) return;
  seen_ = now;
  const QString name = QDir::toNativeSeparators(path);
  const QString question =
      document_.Modified()
          ? tr("%1 was changed by another program.\nReloading it discards your unsaved "
               "changes. Reload it?")
                .arg(name)
          : tr("%1 was changed by another program.\nReload it?").arg(name);
  askingReload_ = true;
  const bool reload = prompt_.Ask(QMessageBox::Question, tr("Reload"), question,
                                  QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
  askingReload_ = false;
  if (reload) OpenLevel(path);
}

}  // namespace zr3::ui
