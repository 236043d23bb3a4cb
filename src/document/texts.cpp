#include "document/texts.h"

#include <QFile>
#include <QStringDecoder>

namespace zr3 {

QString ToDisplay(std::string_view bytes) {
  return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string FromDisplay(const QString& text) {
  return text.toLatin1().toStdString();
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
