// Draws the editor window into a PNG:
//   screenshot OUT.png LEVEL.zr3 [CATEGORY_ROW [ITEM_ROW [ACTION [RESULT_ROW]]]]
// LEVEL "-" starts without a level, as a first launch does; LEVEL "A.zr3,B.zr3" opens each in
// a tab, and the rest acts on the last. A question the start asks (the
// offer to restore a crashed session's changes) is drawn over the window.
// ACTION names a menu item or tool button (actionFind, actionCopy, ...) that runs before the
// picture is taken; a dialog it opens is drawn over the window, as a user sees it.
// RESULT_ROW is then activated in the results list, as Enter there would. An ACTION
// "tab:NAME" shows the record's tab of that name (Fields) in a larger window instead; on the
// Map tab a further argument "TILE,LAYER,ROW,COLUMN,ROW,COLUMN;..." fills those rectangles
// with the tile at that position of the tile list, with the mouse as a user does. An ACTION
// "compare:OTHER.zr3" runs File > Compare With... on that file.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QListView>
#include <QListWidget>
#include <QScreen>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <utility>

#include "ui/leveltabs.h"
#include "ui/mainwindow.h"
#include "ui/mappane.h"
#include "ui/prompt.h"
#include "ui/recordcontroller.h"
#include "ui/recordviews.h"
#include "ui/tilepalette.h"

namespace {

// Each rectangle of the list a Shift+drag of the tile on the layer (1 to 3).
void FillRectangles(zr3::ui::MainWindow& window, const QString& list) {
  zr3::ui::MapView* view = window.Views()->MapTab()->View();
  for (const QString& fill : list.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
    const QStringList n = fill.split(QLatin1Char(','));
    if (n.size() != 6)
      qFatal("a fill needs TILE,LAYER,ROW,COLUMN,ROW,COLUMN: %s", qPrintable(fill));
    const auto& tiles = window.Level()->List(zr3::Category::Tiles);
    const auto tile = static_cast<std::size_t>(n[0].toInt());
    if (tile >= tiles.size()) qFatal("no tile %zu", tile);
    window.Tiles()->ChooseTile(static_cast<zr3::ZR3ChainRecord*>(tiles[tile].get()));
    window.Views()->MapTab()->LayerBox()->setCurrentIndex(n[1].toInt() - 1);
    const QPoint from = view->CellCentre({n[2].toInt(), n[3].toInt()});
    const QPoint to = view->CellCentre({n[4].toInt(), n[5].toInt()});
    QTest::mousePress(view->viewport(), Qt::LeftButton, Qt::ShiftModifier, from);
    QTest::mouseMove(view->viewport(), to);
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, Qt::ShiftModifier, to);
  }
  QTest::mouseMove(view->viewport(), view->CellCentre({0, 0}));
}

// Answers the file dialog with the file given, once; asks as a user would otherwise.
class ChosenFilePrompt : public zr3::ui::DialogPrompt {
 public:
  ChosenFilePrompt() : DialogPrompt(nullptr) {}
  QString file;
  QString OpenFile(const zr3::ui::FileDialogRequest& request) override {
    if (file.isEmpty()) return DialogPrompt::OpenFile(request);
    return std::exchange(file, {});
  }
};

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  // The program's own names: a recovery copy it left is offered here too.
  QApplication::setOrganizationName(QStringLiteral("Hollowtree"));
  QApplication::setApplicationName(QStringLiteral("ZR3Tool"));
  const QStringList arguments = QApplication::arguments();
  if (arguments.size() < 3) {
    qCritical(
        "usage: zr3tool_screenshot OUT.png LEVEL.zr3 [CATEGORY_ROW [ITEM_ROW [ACTION "
        "[RESULT_ROW]]]]");
    return 2;
  }
  // The window starts with the first-run layout and leaves the user's settings alone.
  const QTemporaryDir settings;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
  ChosenFilePrompt prompt;
  zr3::ui::LevelTabs tabs(&prompt);
  tabs.show();
  // From the event loop, so that a question the start asks is on the screen when the picture
  // is taken.
  QTimer::singleShot(0, &tabs, [&] {
    tabs.StartUp(arguments[2] == QLatin1String("-") ? QStringList()
                                                    : arguments[2].split(QLatin1Char(',')));
    // The rest acts on the last level opened.
    zr3::ui::MainWindow& window = *tabs.Current();
    auto* categories = window.findChild<QListWidget*>(QStringLiteral("categoryList"));
    auto* items = window.findChild<QListView*>(QStringLiteral("recordList"));
    if (arguments.size() > 3) categories->setCurrentRow(arguments[3].toInt());
    if (arguments.size() > 4)
      items->setCurrentIndex(items->model()->index(arguments[4].toInt(), 0));
    if (arguments.size() > 5 && arguments[5].startsWith(QLatin1String("tab:"))) {
      tabs.resize(1000, 700);
      auto* recordTabs = window.findChild<QTabWidget*>(QStringLiteral("recordTabs"));
      for (int i = 0; i < recordTabs->count(); ++i) {
        if (recordTabs->tabText(i) == arguments[5].mid(4)) recordTabs->setCurrentIndex(i);
      }
      if (arguments.size() > 6) FillRectangles(window, arguments[6]);
    } else if (arguments.size() > 5 && arguments[5].startsWith(QLatin1String("compare:"))) {
      prompt.file = arguments[5].mid(8);
      QTimer::singleShot(0, window.findChild<QAction*>(QStringLiteral("actionCompareWith")),
                         &QAction::trigger);
    } else if (arguments.size() > 5) {
      auto* action = window.findChild<QAction*>(arguments[5]);
      if (auto* button = window.findChild<QToolButton*>(arguments[5]);
          action == nullptr && button) {
        action = button->defaultAction();
      }
      if (action == nullptr) {
        qCritical("no action %s", qPrintable(arguments[5]));
        QApplication::exit(2);
        return;
      }
      // A modal dialog runs its own event loop, so the action starts from the main one.
      QTimer::singleShot(0, action, &QAction::trigger);
    }
    if (arguments.size() > 6 && !arguments[5].startsWith(QLatin1String("tab:"))) {
      auto* results = window.findChild<QListView*>(QStringLiteral("resultList"));
      const int row = arguments[6].toInt();
      QTimer::singleShot(100, results, [results, row] {
        results->setFocus();
        results->setCurrentIndex(results->model()->index(row, 0));
        QTest::keyClick(results, Qt::Key_Return);
      });
    }
  });
  QTimer::singleShot(800, &tabs, [&] {
    QWidget* dialog = QApplication::activeModalWidget();
    QPixmap picture;
    if (dialog != nullptr) {
      const QRect area = tabs.frameGeometry().united(dialog->frameGeometry());
      picture = tabs.screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
      dialog->close();
    } else {
      picture = tabs.grab();
    }
    const bool saved = picture.save(arguments[1]);
    tabs.hide();
    QApplication::exit(saved ? 0 : 1);
  });
  return QApplication::exec();
}
