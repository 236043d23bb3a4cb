#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace zr3 {

// What a file on disk was when the editor last read or wrote it: its size, its modification
// time and a hash of its bytes. The hash decides, since a checkout can bring back an older
// time and an editor can keep the size.
struct FileIdentity {
  qint64 size = -1;
  QDateTime modified;
  QByteArray hash;

  // The identity of the file at path now; an empty identity when it cannot be read.
  static FileIdentity Of(const QString& path);
  bool Empty() const { return size < 0; }
  bool operator==(const FileIdentity& other) const {
    return size == other.size && modified == other.modified && hash == other.hash;
  }
};

}  // namespace zr3
