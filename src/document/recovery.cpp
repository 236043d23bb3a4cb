#include "document/recovery.h"

#include <signal.h>

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QUndoStack>
#include <algorithm>
#include <exception>

#include "document/leveldocument.h"
#include "document/texts.h"
#include "level/safefile.h"

namespace zr3 {

namespace {

const QString kCopySuffix = QStringLiteral(".zr3");
const QString kNotesSuffix = QStringLiteral(".recovery");

// A process still running keeps its own copy up to date: it is not left behind.
bool IsRunning(qint64 pid) {
  return pid > 0 && pid != QCoreApplication::applicationPid() &&
         ::kill(static_cast<pid_t>(pid), 0) == 0;
}

}  // namespace

QString Recovery::Folder() {
  return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
         QStringLiteral("/recovery");
}

QString Recovery::CopyPath() const {
  const QString path = document_.FilePath();
  if (path.isEmpty()) return {};
  // One copy per level file, named after its absolute path.
  const QByteArray key = QCryptographicHash::hash(QFileInfo(path).absoluteFilePath().toUtf8(),
                                                  QCryptographicHash::Sha1)
                             .toHex()
                             .left(16);
  return Folder() + QLatin1Char('/') + QString::fromLatin1(key) + kCopySuffix;
}

QString Recovery::NotesPath() const {
  const QString copy = CopyPath();
  return copy.isEmpty() ? QString() : copy.chopped(kCopySuffix.size()) + kNotesSuffix;
}

void Recovery::Write() {
  const QString copy = CopyPath();
  if (copy.isEmpty() || !document_.Level()) return;
  if (!document_.Modified() || !document_.Loaded()) {
    Discard();
    return;
  }
  try {
    QDir().mkpath(Folder());
    WriteFileAtomically(ToNativePath(copy), document_.Level()->SaveToBytes());
  } catch (const std::exception&) {
    return;
  }
  // The notes come second: notes always name a complete copy.
  QSettings notes(NotesPath(), QSettings::IniFormat);
  notes.clear();
  const FileIdentity& identity = document_.Identity();
  notes.setValue(QStringLiteral("path"), QFileInfo(document_.FilePath()).absoluteFilePath());
  notes.setValue(QStringLiteral("size"), identity.size);
  notes.setValue(QStringLiteral("modified"), identity.modified.toString(Qt::ISODateWithMs));
  notes.setValue(QStringLiteral("hash"), QString::fromLatin1(identity.hash.toHex()));
  notes.setValue(QStringLiteral("written"),
                 QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs));
  notes.setValue(QStringLiteral("undoIndex"), document_.UndoStack()->index());
  notes.setValue(QStringLiteral("pid"), QCoreApplication::applicationPid());
  notes.sync();
}

void Recovery::Discard() {
  const QString copy = CopyPath();
  if (copy.isEmpty()) return;
  QFile::remove(NotesPath());
  QFile::remove(copy);
}

void Recovery::Remove(const RecoveredLevel& level) {
  QFile::remove(level.notes);
  QFile::remove(level.copy);
}

std::vector<RecoveredLevel> Recovery::Left() {
  std::vector<RecoveredLevel> left;
  const QDir folder(Folder());
  for (const QFileInfo& file :
       folder.entryInfoList({QLatin1Char('*') + kNotesSuffix}, QDir::Files)) {
    const QSettings notes(file.filePath(), QSettings::IniFormat);
    if (IsRunning(notes.value(QStringLiteral("pid")).toLongLong())) continue;
    RecoveredLevel level;
    level.notes = file.filePath();
    level.copy = file.path() + QLatin1Char('/') + file.completeBaseName() + kCopySuffix;
    level.path = notes.value(QStringLiteral("path")).toString();
    level.identity.size = notes.value(QStringLiteral("size"), -1).toLongLong();
    level.identity.modified = QDateTime::fromString(
        notes.value(QStringLiteral("modified")).toString(), Qt::ISODateWithMs);
    level.identity.hash =
        QByteArray::fromHex(notes.value(QStringLiteral("hash")).toString().toLatin1());
    level.written =
        QDateTime::fromString(notes.value(QStringLiteral("written")).toString(), Qt::ISODateWithMs);
    level.undoIndex = notes.value(QStringLiteral("undoIndex")).toInt();
    const QFileInfo original(level.path);
    // Saved since the copy was written, or no copy at all: nothing to offer.
    if (level.path.isEmpty() || !level.written.isValid() || !QFileInfo::exists(level.copy) ||
        (original.exists() && original.lastModified() > level.written)) {
      Remove(level);
      continue;
    }
    left.push_back(std::move(level));
  }
  std::sort(left.begin(), left.end(),
            [](const RecoveredLevel& a, const RecoveredLevel& b) { return a.written > b.written; });
  return left;
}

}  // namespace zr3
