#include "render/image_cache.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QRegularExpression>
#include <algorithm>

namespace zr3::render {

namespace {

// What a single decoded image may allocate, in megabytes: four times the largest side we
// accept, squared, at four bytes a pixel.
constexpr int kAllocationLimitMb = 64;

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

QStringList DefaultGameFolders(const QString& levelPath) {
  const QDir own = QFileInfo(levelPath).absoluteDir();
  QStringList folders{own.path()};
  QDir parent = own;
  if (parent.cdUp()) folders.append(parent.path());
  return folders;
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
  QImageReader::setAllocationLimit(kAllocationLimitMb);
  QImageReader reader(file);
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
  // The colour key becomes transparency; an image without it stays opaque, which draws
  // faster.
  image = image.convertToFormat(QImage::Format_RGB32);
  constexpr QRgb kKey = qRgb(255, 0, 255);
  bool keyed = false;
  for (int y = 0; y < image.height() && !keyed; ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    keyed = std::find(line, line + image.width(), kKey) != line + image.width();
  }
  if (!keyed) return image;
  image = image.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    std::replace(line, line + image.width(), kKey, QRgb{0});
  }
  return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
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
