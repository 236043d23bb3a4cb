#include "document/fileidentity.h"

#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

namespace zr3 {

FileIdentity FileIdentity::Of(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  QCryptographicHash hash(QCryptographicHash::Sha256);
  if (!hash.addData(&file)) return {};
  return {QFileInfo(path).size(), QFileInfo(path).lastModified(), hash.result()};
}

}  // namespace zr3
