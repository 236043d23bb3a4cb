#include "document/texts.h"

#include <QFile>
#include <QStringDecoder>

#include "level/windows1252.h"

namespace zr3 {

QString ToDisplay(std::string_view bytes) {
  return QString::fromStdString(ToUtf8(bytes));
}

std::string FromDisplay(const QString& text) {
  return StoredText(text.toStdString());
}

std::string InspectedBytes(const QString& text) {
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(text.size()));
  std::string unit;
  std::string error;
  for (const QChar c : text) {
    if (c.isSurrogate() || !ToWindows1252(QString(c).toStdString(), unit, error)) {
      bytes += '\x7F';
    } else {
      bytes += unit;
    }
  }
  return bytes;
}

QString LinesToDisplay(const Lines& lines) {
  QString text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) text += QLatin1Char('\n');
    text += ToDisplay(lines[i]);
  }
  return text;
}

std::string ToNativePath(const QString& path) {
  return QFile::encodeName(path).toStdString();
}

QString FromNativePath(const std::string& path) {
  return QFile::decodeName(QByteArray::fromStdString(path));
}

QString MessageText(const std::exception& error) {
  const QByteArray bytes(error.what());
  QStringDecoder utf8(QStringDecoder::Utf8);
  const QString text = utf8(bytes);
  return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

}  // namespace zr3
