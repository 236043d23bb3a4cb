#include <QApplication>

#include "ui/mainwindow.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setOrganizationName(QStringLiteral("Hollowtree"));
  QApplication::setApplicationName(QStringLiteral("ZR3Tool"));
  QApplication::setApplicationVersion(QStringLiteral(ZR3_VERSION));

  zr3::ui::MainWindow window;
  window.show();
  window.StartUp(QApplication::arguments().mid(1));
  return QApplication::exec();
}
