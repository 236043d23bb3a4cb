#pragma once

#include <QStringList>

class QAction;
class QMainWindow;
class QMenu;
class QToolBar;
class QUndoStack;

namespace zr3::ui {

// Every command of the main window. The actions, the menus and the toolbar are made from one
// table, so that a command keeps one text, state and shortcut wherever it shows.
struct WindowActions {
  QAction* newLevel = nullptr;
  QAction* open = nullptr;
  QAction* save = nullptr;
  QAction* saveAs = nullptr;
  QAction* exportLevel = nullptr;
  QAction* exportSelectedScript = nullptr;
  QAction* exportScriptType = nullptr;
  QAction* exportAllScripts = nullptr;
  QAction* importScripts = nullptr;
  QAction* compareWith = nullptr;
  QAction* exit = nullptr;
  QAction* undo = nullptr;
  QAction* redo = nullptr;
  QAction* newRecord = nullptr;
  QAction* rename = nullptr;
  QAction* copy = nullptr;
  QAction* copyRecords = nullptr;
  QAction* pasteRecords = nullptr;
  QAction* remove = nullptr;
  QAction* moveUp = nullptr;
  QAction* moveDown = nullptr;
  QAction* find = nullptr;
  QAction* checkLevel = nullptr;
  QAction* filter = nullptr;
  QAction* gameFolder = nullptr;
  QAction* levelFolder = nullptr;
  QAction* testPlay = nullptr;
  QAction* testPlayCommand = nullptr;
  QAction* shortcuts = nullptr;
  QAction* about = nullptr;

  QMenu* exportScripts = nullptr;
  QMenu* recentFiles = nullptr;
  // The docks' toggles go at its top, before the game folder commands.
  QMenu* view = nullptr;
  QAction* viewDocksEnd = nullptr;
  QToolBar* toolBar = nullptr;
};

// One line per command that has keys, in menu order: its text, then its keys ("Copy  Ctrl+C").
QStringList ShortcutLines(const WindowActions& actions);

// Makes the window's actions, its menu bar and its toolbar; undo and redo are the history's.
WindowActions CreateWindowActions(QMainWindow& window, QUndoStack& history);

}  // namespace zr3::ui
