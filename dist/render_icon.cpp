// Draws the scalable icon into the PNG sizes of the hicolor theme, at build time, so that no
// picture is kept that the SVG could not make again:
//   zr3_render_icon ICON.svg FOLDER NAME SIZE...  writes FOLDER/SIZExSIZE/apps/NAME.png
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: zr3_render_icon ICON.svg FOLDER NAME SIZE...\n");
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
  if (!renderer.isValid()) {
    std::fprintf(stderr, "zr3_render_icon: cannot read %s\n", argv[1]);
    return 1;
  }
  const QString folder = QString::fromLocal8Bit(argv[2]);
  const QString name = QString::fromLocal8Bit(argv[3]);
  for (int i = 4; i < argc; ++i) {
    bool number = false;
    const int side = QString::fromLocal8Bit(argv[i]).toInt(&number);
    if (!number || side < 1 || side > 1024) {
      std::fprintf(stderr, "zr3_render_icon: bad size %s\n", argv[i]);
      return 2;
    }
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter);
    painter.end();
    const QString sizeFolder = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(side);
    const QString path = QStringLiteral("%1/%2.png").arg(sizeFolder, name);
    if (!QDir().mkpath(sizeFolder) || !image.save(path, "PNG")) {
      std::fprintf(stderr, "zr3_render_icon: cannot write %s\n", qPrintable(path));
      return 1;
    }
  }
  return 0;
}
