#include "ui/windowactions.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>
#include <QUndoStack>

namespace zr3::ui {

namespace {

// Where an action shows: a menu of the menu bar, the "Export Scripts" submenu, or only as a
// shortcut of the window.
enum class Place { File, ExportScripts, Edit, View, Tools, Help, Window };

struct ActionSpec {
  QAction* WindowActions::*member;
  const char* name;
  const char* text;
  Place place;
  // A standard key, or keys written as QKeySequence reads them ("Ctrl+C; Del").
  QKeySequence::StandardKey standardKey = QKeySequence::UnknownKey;
  const char* keys = nullptr;
  // A separator goes before the action in its menu.
  bool separated = false;
};

// The menus' contents in order.
const ActionSpec kActions[] = {
    {&WindowActions::newLevel, "actionNew", QT_TR_NOOP("&New"), Place::File, QKeySequence::New},
    {&WindowActions::open, "actionOpen", QT_TR_NOOP("&Open..."), Place::File, QKeySequence::Open},
    {&WindowActions::save, "actionSave", QT_TR_NOOP("&Save"), Place::File, QKeySequence::Save},
    {&WindowActions::saveAs, "actionSaveAs", QT_TR_NOOP("Save &As..."), Place::File,
     QKeySequence::UnknownKey, "Ctrl+Shift+S"},
    {&WindowActions::exportLevel, "actionExport", QT_TR_NOOP("&Export..."), Place::File,
     QKeySequence::UnknownKey, nullptr, true},
    {&WindowActions::exportSelectedScript, "actionExportSelectedScript", QT_TR_NOOP("&Selected..."),
     Place::ExportScripts},
    {&WindowActions::exportScriptType, "actionExportScriptType", QT_TR_NOOP("Current &Type..."),
     Place::ExportScripts},
    {&WindowActions::exportAllScripts, "actionExportAllScripts", QT_TR_NOOP("&All..."),
     Place::ExportScripts},
    {&WindowActions::importScripts, "actionImportScripts", QT_TR_NOOP("&Import Scripts..."),
     Place::File},
    {&WindowActions::compareWith, "actionCompareWith", QT_TR_NOOP("&Compare With..."), Place::File},
    {&WindowActions::exit, "actionExit", QT_TR_NOOP("E&xit"), Place::File, QKeySequence::Quit,
     nullptr, true},
    {&WindowActions::undo, "actionUndo", QT_TR_NOOP("Undo"), Place::Edit, QKeySequence::Undo},
    {&WindowActions::redo, "actionRedo", QT_TR_NOOP("Redo"), Place::Edit, QKeySequence::UnknownKey,
     "Ctrl+Y; Ctrl+Shift+Z"},
    {&WindowActions::newRecord, "actionNewRecord", QT_TR_NOOP("&New Record"), Place::Edit,
     QKeySequence::UnknownKey, "Ins", true},
    {&WindowActions::rename, "actionRename", QT_TR_NOOP("&Rename"), Place::Edit,
     QKeySequence::UnknownKey, "F2"},
    {&WindowActions::copy, "actionCopy", QT_TR_NOOP("&Copy"), Place::Edit, QKeySequence::UnknownKey,
     "Ctrl+D"},
    // The clipboard carries records between levels, and within one.
    {&WindowActions::copyRecords, "actionCopyRecords", QT_TR_NOOP("Cop&y Records"), Place::Edit,
     QKeySequence::UnknownKey, "Ctrl+C"},
    {&WindowActions::pasteRecords, "actionPasteRecords", QT_TR_NOOP("&Paste Records"), Place::Edit,
     QKeySequence::UnknownKey, "Ctrl+V"},
    {&WindowActions::remove, "actionDelete", QT_TR_NOOP("&Delete"), Place::Edit,
     QKeySequence::UnknownKey, "Del"},
    {&WindowActions::find, "actionFind", QT_TR_NOOP("&Find..."), Place::Edit,
     QKeySequence::UnknownKey, "F3; Ctrl+Shift+F", true},
    {&WindowActions::checkLevel, "actionCheckLevel", QT_TR_NOOP("Check &Level"), Place::Edit,
     QKeySequence::UnknownKey, nullptr, true},
    {&WindowActions::gameFolder, "actionGameFolder", QT_TR_NOOP("&Game Folder..."), Place::View},
    {&WindowActions::levelFolder, "actionLevelFolder", QT_TR_NOOP("&Level's Own Folder"),
     Place::View},
    {&WindowActions::testPlay, "actionTestPlay", QT_TR_NOOP("&Test Play"), Place::Tools,
     QKeySequence::UnknownKey, "F5"},
    {&WindowActions::testPlayCommand, "actionTestPlayCommand", QT_TR_NOOP("Test Play &Command..."),
     Place::Tools},
    {&WindowActions::shortcuts, "actionShortcuts", QT_TR_NOOP("&Keyboard Shortcuts"), Place::Help},
    {&WindowActions::about, "actionAbout", QT_TR_NOOP("&About"), Place::Help},
    // Ctrl+F goes to the filter above the record list from anywhere in the window.
    {&WindowActions::filter, "actionFilter", QT_TR_NOOP("Filter Records"), Place::Window,
     QKeySequence::Find},
    {&WindowActions::moveUp, "actionMoveUp", QT_TR_NOOP("Move current item up"), Place::Window,
     QKeySequence::UnknownKey, "Ctrl+Up"},
    {&WindowActions::moveDown, "actionMoveDown", QT_TR_NOOP("Move current item down"),
     Place::Window, QKeySequence::UnknownKey, "Ctrl+Down"},
};

struct ButtonSpec {
  QAction* WindowActions::*member;  // nullptr for a separator
  const char* hint = nullptr;
  const char* icon = nullptr;
  QStyle::StandardPixmap fallback = QStyle::SP_CustomBase;
};

// The toolbar's buttons run the menus' own actions.
const ButtonSpec kButtons[] = {
    {&WindowActions::open, QT_TR_NOOP("Load Level"), "document-open", QStyle::SP_DialogOpenButton},
    {&WindowActions::save, QT_TR_NOOP("Save Level"), "document-save", QStyle::SP_DialogSaveButton},
    {nullptr},
    {&WindowActions::newRecord, QT_TR_NOOP("Add a new record after the selected one"), "list-add",
     QStyle::SP_FileDialogNewFolder},
    {&WindowActions::copy, QT_TR_NOOP("Copy the selected item"), "edit-copy", QStyle::SP_FileIcon},
    {&WindowActions::remove, QT_TR_NOOP("Delete the selected item"), "edit-delete",
     QStyle::SP_TrashIcon},
    {nullptr},
    {&WindowActions::moveUp, QT_TR_NOOP("Move current item up"), "go-up", QStyle::SP_ArrowUp},
    {&WindowActions::moveDown, QT_TR_NOOP("Move current item down"), "go-down",
     QStyle::SP_ArrowDown},
    {nullptr},
    {&WindowActions::find, QT_TR_NOOP("Search"), "edit-find", QStyle::SP_FileDialogContentsView},
};

QString Translated(const char* text) {
  return QCoreApplication::translate("zr3::ui::MainWindow", text);
}

QMenu* AddMenu(QMenuBar* bar, const char* name, const char* title) {
  QMenu* menu = bar->addMenu(Translated(title));
  menu->setObjectName(QLatin1String(name));
  menu->menuAction()->setObjectName(QLatin1String(name));
  return menu;
}

}  // namespace

QStringList ShortcutLines(const WindowActions& actions) {
  QStringList lines;
  lines << Translated(QT_TR_NOOP("KEYBOARD SHORTCUTS")) << QString();
  for (const ActionSpec& spec : kActions) {
    const QAction* action = actions.*spec.member;
    if (action->shortcuts().isEmpty()) continue;
    QStringList keys;
    for (const QKeySequence& key : action->shortcuts()) {
      keys << key.toString(QKeySequence::NativeText);
    }
    // The table's text: the history's own actions name their next step.
    QString text = Translated(spec.text).remove(QLatin1Char('&'));
    if (text.endsWith(QLatin1String("..."))) text.chop(3);
    lines << text.leftJustified(28) + keys.join(QStringLiteral(", "));
  }
  return lines;
}

WindowActions CreateWindowActions(QMainWindow& window, QUndoStack& history) {
  WindowActions actions;
  actions.undo = history.createUndoAction(&window, Translated(QT_TR_NOOP("Undo")));
  actions.redo = history.createRedoAction(&window, Translated(QT_TR_NOOP("Redo")));

  QMenuBar* bar = window.menuBar();
  bar->setObjectName(QStringLiteral("menuBar"));
  QMenu* file = AddMenu(bar, "menuFile", QT_TR_NOOP("&File"));
  QMenu* edit = AddMenu(bar, "menuEdit", QT_TR_NOOP("&Edit"));
  actions.view = AddMenu(bar, "menuView", QT_TR_NOOP("&View"));
  QMenu* tools = AddMenu(bar, "menuTools", QT_TR_NOOP("&Tools"));
  QMenu* help = AddMenu(bar, "menuHelp", QT_TR_NOOP("&Help"));
  actions.exportScripts = new QMenu(Translated(QT_TR_NOOP("Ex&port Scripts")), &window);
  actions.exportScripts->setObjectName(QStringLiteral("menuExportScripts"));
  actions.exportScripts->menuAction()->setObjectName(QStringLiteral("menuExportScripts"));
  actions.recentFiles = new QMenu(Translated(QT_TR_NOOP("Recent &Files")), &window);
  actions.recentFiles->setObjectName(QStringLiteral("menuRecentFiles"));
  actions.recentFiles->menuAction()->setObjectName(QStringLiteral("menuRecentFiles"));
  actions.viewDocksEnd = actions.view->addSeparator();

  for (const ActionSpec& spec : kActions) {
    QAction*& action = actions.*spec.member;
    if (action == nullptr) action = new QAction(Translated(spec.text), &window);
    action->setObjectName(QLatin1String(spec.name));
    if (spec.standardKey != QKeySequence::UnknownKey) {
      action->setShortcuts(spec.standardKey);
    } else if (spec.keys != nullptr) {
      action->setShortcuts(QKeySequence::listFromString(QLatin1String(spec.keys)));
    }
    QMenu* menu = nullptr;
    switch (spec.place) {
      case Place::File:
        menu = file;
        break;
      case Place::ExportScripts:
        menu = actions.exportScripts;
        break;
      case Place::Edit:
        menu = edit;
        break;
      case Place::View:
        menu = actions.view;
        break;
      case Place::Tools:
        menu = tools;
        break;
      case Place::Help:
        menu = help;
        break;
      case Place::Window:
        window.addAction(action);
        continue;
    }
    if (spec.separated) menu->addSeparator();
    menu->addAction(action);
    // The submenus follow the actions they come after.
    if (action == actions.exportLevel) file->addMenu(actions.exportScripts);
    if (action == actions.compareWith) {
      file->addSeparator();
      file->addMenu(actions.recentFiles);
    }
  }

  actions.toolBar = window.addToolBar(Translated(QT_TR_NOOP("Toolbar")));
  actions.toolBar->setObjectName(QStringLiteral("toolBar"));
  actions.toolBar->setMovable(false);
  actions.toolBar->setFloatable(false);
  actions.toolBar->setIconSize(QSize(16, 16));
  actions.toolBar->setContextMenuPolicy(Qt::PreventContextMenu);
  for (const ButtonSpec& button : kButtons) {
    if (button.member == nullptr) {
      actions.toolBar->addSeparator();
      continue;
    }
    QAction* action = actions.*button.member;
    action->setIcon(QIcon::fromTheme(QLatin1String(button.icon),
                                     QApplication::style()->standardIcon(button.fallback)));
    // The menus stay as they were, without icons.
    action->setIconVisibleInMenu(false);
    action->setToolTip(Translated(button.hint));
    action->setStatusTip(Translated(button.hint));
    actions.toolBar->addAction(action);
    actions.toolBar->widgetForAction(action)->setAccessibleName(action->toolTip());
  }
  return actions;
}

}  // namespace zr3::ui
