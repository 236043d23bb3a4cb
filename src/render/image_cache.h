#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <string>
#include <unordered_map>

namespace zr3::render {

// The file a game path names ("gfx\chest\Tower22.bmp", relative to the game folder, either
// slash) under folder, each part matched ignoring case; empty when there is none. Paths that
// are absolute or step out of the folder ("..") name nothing.
QString ResolveGamePath(const QString& folder, const std::string& gamePath);

// The folders a level's images are looked up in when none is chosen: the level's own folder,
// then its parent.
QStringList DefaultGameFolders(const QString& levelPath);

// Magenta, the colour that stands for transparency in a game picture.
inline constexpr QRgb kColourKey = 0xFFFF00FF;

// The picture with its magenta pixels transparent, as premultiplied ARGB; a picture with
// neither magenta nor an alpha channel is returned opaque (RGB32).
QImage ApplyColourKey(const QImage& picture);

// Tile, object and monster images by game path, read once and scaled to the size asked for.
// Image files are untrusted: a declared size beyond kMaxSide or a file that does not decode
// counts as missing, and a path that failed is never read again until the folders change.
// Magenta (255, 0, 255) is the transparent colour of an image.
class ImageCache {
 public:
  static constexpr int kMaxSide = 4096;

  explicit ImageCache(QStringList folders = {});

  void SetFolders(QStringList folders);
  const QStringList& Folders() const { return folders_; }

  // The image at gamePath scaled to side x side pixels; null when it is missing or unreadable.
  // The pointer stays valid until the next call with another side or folders.
  const QImage* Scaled(const std::string& gamePath, int side);
  // The image as read, or null.
  const QImage* Original(const std::string& gamePath);

  // How many distinct paths asked for so far were missing or unreadable.
  int MissingCount() const { return missing_; }
  // How many image files were decoded so far (a failing one counts once).
  int DecodeCount() const { return decoded_; }

 private:
  struct Entry {
    bool failed = false;
    QImage original;
    QImage scaled;
  };
  Entry& Load(const std::string& gamePath);
  QImage Decode(const QString& file);

  QStringList folders_;
  std::unordered_map<std::string, Entry> entries_;
  int missing_ = 0;
  int decoded_ = 0;
};

}  // namespace zr3::render
