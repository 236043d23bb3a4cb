#pragma once

#include <QStringList>
#include <QWidget>

#include "ui/settings.h"

class QTabWidget;

namespace zr3 {
struct RecoveredLevel;
}

namespace zr3::ui {

class MainWindow;
class Prompt;

// The editor's window: one tab per open level, each a page with its own document, history,
// views, menus and docks. The window's title is the current page's; closing the window asks
// about every level with unsaved changes.
class LevelTabs : public QWidget {
  Q_OBJECT

 public:
  // prompt answers every question; each page asks with real dialogs when it is nullptr.
  explicit LevelTabs(Prompt* prompt = nullptr, QWidget* parent = nullptr);
  ~LevelTabs() override;

  // Offers what a crashed session left, each in a tab, then opens every level file among the
  // arguments, each in a tab.
  void StartUp(const QStringList& arguments);
  // Shows the tab that holds the file already; otherwise opens it in the current tab while
  // that one is blank, or in a new one.
  void Open(const QString& path);
  // A new, untitled level in the current tab while that one is blank, or in a new one.
  void NewLevel();

  int Count() const;
  MainWindow* Page(int index) const;
  MainWindow* Current() const;
  void SetCurrent(int index);
  // Asks about the page's unsaved changes and closes it; false when the author kept it.
  bool ClosePage(int index);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  MainWindow* AddPage();
  void RemovePage(MainWindow* page);
  // The current page while it is blank, otherwise a new one.
  MainWindow* PageForLevel();
  // Puts a level into the page PageForLevel gives; a new page whose level did not load goes.
  template <class Load>
  void PlaceLevel(Load load);
  bool Restore(const RecoveredLevel& left);
  void ShowTitle();
  void ShowTabText(MainWindow* page);

  Prompt* prompt_;
  // Read once; every page keeps the recent files and folders in it.
  WindowSettings settings_;
  QTabWidget* tabs_;
};

}  // namespace zr3::ui
