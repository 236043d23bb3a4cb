#pragma once

#include <QImage>
#include <QString>
#include <filesystem>

namespace zr3test {

// A square picture of one colour with a different top-left pixel, so that a test sees both
// that the picture was drawn and that it was not turned or flipped.
inline QImage MarkedPicture(QRgb colour, QRgb corner, int side = 8) {
  QImage image(side, side, QImage::Format_RGB32);
  image.fill(colour);
  image.setPixel(0, 0, corner);
  return image;
}

inline QString ToQString(const std::filesystem::path& path) {
  return QString::fromStdString(path.string());
}

// The pixel's colour, opaque.
inline QRgb PixelAt(const QImage& image, int x, int y) {
  return image.pixel(x, y) | 0xFF000000u;
}

}  // namespace zr3test
