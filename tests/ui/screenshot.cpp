// Draws the editor window into a PNG: screenshot OUT.png LEVEL.zr3 [CATEGORY_ROW [ITEM_ROW]]
#include <QApplication>
#include <QListView>
#include <QListWidget>
#include <QTimer>

#include "ui/mainform.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  const QStringList arguments = QApplication::arguments();
  if (arguments.size() < 3) {
    qCritical("usage: zr3tool_screenshot OUT.png LEVEL.zr3 [CATEGORY_ROW [ITEM_ROW]]");
    return 2;
  }
  zr3::ui::TfrmMain window;
  window.show();
  window.StartUp({arguments[2]});
  auto* categories = window.findChild<QListWidget*>(QStringLiteral("lvwType"));
  auto* items = window.findChild<QListView*>(QStringLiteral("lvwItems"));
  if (arguments.size() > 3) categories->setCurrentRow(arguments[3].toInt());
  if (arguments.size() > 4) items->setCurrentIndex(items->model()->index(arguments[4].toInt(), 0));
  QTimer::singleShot(500, &window, [&] {
    const bool saved = window.grab().save(arguments[1]);
    window.hide();
    QApplication::exit(saved ? 0 : 1);
  });
  return QApplication::exec();
}
