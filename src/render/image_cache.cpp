#include "render/image_cache.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QRegularExpression>
#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace zr3::render {

namespace {

// What a single decoded image may allocate, in megabytes: the largest picture accepted,
// ImageCache::kMaxSide squared, at four bytes a pixel.
constexpr int kAllocationLimitMb = 64;
// No tile picture comes near this; a larger file is not read at all.
constexpr qint64 kMaxFileBytes = 64 * 1024 * 1024;

std::uint32_t LoadLe(const QByteArray& bytes, qsizetype at, int width) {
  std::uint32_t value = 0;
  for (int i = width - 1; i >= 0; --i) {
    value = value << 8 | static_cast<std::uint8_t>(bytes[at + i]);
  }
  return value;
}

// Whether bytes are an uncompressed BMP whose pixels end before the rows it declares do. The
// BMP reader draws such a file in part without a word, so it is checked here.
bool IsTruncatedBmp(const QByteArray& bytes) {
  constexpr qsizetype kHeaderEnd = 34;
  if (!bytes.startsWith("BM") || bytes.size() < kHeaderEnd) return false;
  if (LoadLe(bytes, 14, 4) < 40) return false;  // older headers: the reader's own checks
  const std::uint32_t compression = LoadLe(bytes, 30, 4);
  if (compression != 0 && compression != 3) return false;  // run-length data has no fixed size
  const auto width = static_cast<std::int32_t>(LoadLe(bytes, 18, 4));
  const auto height = static_cast<std::int32_t>(LoadLe(bytes, 22, 4));
  const std::uint32_t bitsPerPixel = LoadLe(bytes, 28, 2);
  const qint64 rowBytes = (static_cast<qint64>(std::abs(width)) * bitsPerPixel + 31) / 32 * 4;
  const qint64 needed = LoadLe(bytes, 10, 4) + rowBytes * std::abs(static_cast<qint64>(height));
  return bytes.size() < needed;
}

}  // namespace

QString ResolveGamePath(const QString& folder, const std::string& gamePath) {
  const QString text =
      QString::fromLatin1(gamePath.data(), static_cast<qsizetype>(gamePath.size()));
  if (folder.isEmpty() || text.isEmpty() || text.startsWith('\\') || text.startsWith('/') ||
      text.contains(':')) {
    return {};
  }
  const QStringList parts = text.split(QRegularExpression(R"([\\/])"), Qt::SkipEmptyParts);
  QString current = folder;
  for (const QString& part : parts) {
    if (part == "." || part == "..") return {};
    const QString exact = current + '/' + part;
    if (QFileInfo::exists(exact)) {
      current = exact;
      continue;
    }
    const QStringList entries = QDir(current).entryList(QDir::AllEntries | QDir::NoDotAndDotDot |
                                                        QDir::Hidden | QDir::System);
    const auto match = std::find_if(entries.begin(), entries.end(), [&part](const QString& entry) {
      return entry.compare(part, Qt::CaseInsensitive) == 0;
    });
    if (match == entries.end()) return {};
    current += '/' + *match;
  }
  return QFileInfo(current).isFile() ? current : QString();
}

QImage ApplyColourKey(const QImage& picture) {
  const bool alpha = picture.hasAlphaChannel();
  QImage image = picture.convertToFormat(alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
  bool keyed = false;
  for (int y = 0; y < image.height() && !keyed; ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    keyed = std::find(line, line + image.width(), kColourKey) != line + image.width();
  }
  // An image without the key or an alpha channel stays opaque, which draws faster.
  if (!keyed && !alpha) return image;
  if (!alpha) image = image.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < image.height() && keyed; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    std::replace(line, line + image.width(), kColourKey, QRgb{0});
  }
  return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QStringList DefaultGameFolders(const QString& levelPath) {
  const QString own = QFileInfo(levelPath).absolutePath();
  const QString parent = QFileInfo(own).path();
  return parent == own ? QStringList{own} : QStringList{own, parent};
}

ImageCache::ImageCache(QStringList folders) : folders_(std::move(folders)) {}

void ImageCache::SetFolders(QStringList folders) {
  if (folders == folders_) return;
  folders_ = std::move(folders);
  entries_.clear();
  missing_ = 0;
}

QImage ImageCache::Decode(const QString& file) {
  ++decoded_;
  QFile in(file);
  if (!in.open(QIODevice::ReadOnly) || in.size() > kMaxFileBytes) return {};
  QByteArray bytes = in.readAll();
  if (IsTruncatedBmp(bytes)) return {};
  QBuffer buffer(&bytes);
  QImageReader::setAllocationLimit(kAllocationLimitMb);
  QImageReader reader(&buffer);
  // The declared size is checked before anything is decoded.
  const QSize declared = reader.size();
  if (declared.isValid() &&
      (declared.width() > kMaxSide || declared.height() > kMaxSide || declared.isEmpty())) {
    return {};
  }
  QImage image;
  if (!reader.read(&image) || image.isNull() || image.width() > kMaxSide ||
      image.height() > kMaxSide) {
    return {};
  }
  // The game's pictures have no alpha channel: transparency is the colour key alone.
  return ApplyColourKey(image.convertToFormat(QImage::Format_RGB32));
}

ImageCache::Entry& ImageCache::Load(const std::string& gamePath) {
  auto [it, added] = entries_.try_emplace(gamePath);
  Entry& entry = it->second;
  if (!added) return entry;
  for (const QString& folder : folders_) {
    const QString file = ResolveGamePath(folder, gamePath);
    if (file.isEmpty()) continue;
    entry.original = Decode(file);
    break;
  }
  if (entry.original.isNull()) {
    entry.failed = true;
    ++missing_;
  }
  return entry;
}

const QImage* ImageCache::Original(const std::string& gamePath) {
  if (gamePath.empty()) return nullptr;
  Entry& entry = Load(gamePath);
  return entry.failed ? nullptr : &entry.original;
}

const QImage* ImageCache::Scaled(const std::string& gamePath, int side) {
  if (gamePath.empty() || side <= 0) return nullptr;
  Entry& entry = Load(gamePath);
  if (entry.failed) return nullptr;
  if (entry.scaled.width() != side || entry.scaled.height() != side) {
    // Tile pictures are pixel art: each pixel stays one colour.
    entry.scaled =
        entry.original.size() == QSize(side, side)
            ? entry.original
            : entry.original.scaled(side, side, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  }
  return &entry.scaled;
}

}  // namespace zr3::render
