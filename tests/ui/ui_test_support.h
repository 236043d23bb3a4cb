#pragma once

#include <QAction>
#include <QListView>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QWindow>

#include "document/texts.h"
#include "support/level_builder.h"
#include "ui/categoryrows.h"
#include "ui/mainwindow.h"
#include "ui/recordcontroller.h"
#include "ui/recordviews.h"
#include "ui/tilepalette.h"

// Keeps the window's settings inside a temporary folder for the whole test program.
inline void IsolateSettings(const QTemporaryDir& folder) {
  QStandardPaths::setTestModeEnabled(true);
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.path());
}

inline QString SettingsFile() {
  QSettings store(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Hollowtree"),
                  QStringLiteral("ZR3Tool"));
  return store.fileName();
}

// The title as the window system shows it: the modified marker "[*]" becomes "*" while the
// window is modified and vanishes otherwise.
inline QString ShownTitle(QWidget& window) {
  window.winId();  // the native window carries the shown title
  return window.windowHandle()->title();
}

// The action of a menu item, or the one a tool button runs (the menu's own, where it has one).
inline QAction* ActionOf(const zr3::ui::MainWindow& window, const char* name) {
  auto* action = window.findChild<QAction*>(QLatin1String(name));
  if (action == nullptr) {
    if (auto* button = window.findChild<QToolButton*>(QLatin1String(name))) {
      action = button->defaultAction();
    }
  }
  if (action == nullptr) qFatal("no action %s", name);
  return action;
}

inline QListWidget* CategoryList(const zr3::ui::MainWindow& window) {
  return window.findChild<QListWidget*>(QStringLiteral("categoryList"));
}

inline QListView* RecordList(const zr3::ui::MainWindow& window) {
  return window.findChild<QListView*>(QStringLiteral("recordList"));
}

inline QPlainTextEdit* Details(const zr3::ui::MainWindow& window) {
  return window.findChild<QPlainTextEdit*>(QStringLiteral("details"));
}

inline QString WriteLevel(const QTemporaryDir& folder, const QString& name,
                          const zr3test::LevelBuilder& builder = zr3test::LevelBuilder()) {
  const QString path = folder.filePath(name);
  builder.WriteTo(path.toStdString());
  return path;
}

// The captions of the record list's rows.
inline QStringList Rows(const zr3::ui::MainWindow& window) {
  QStringList rows;
  const QAbstractItemModel* model = RecordList(window)->model();
  for (int row = 0; row < model->rowCount(); ++row) rows << model->index(row, 0).data().toString();
  return rows;
}

// The selected row of the record list, or -1.
inline int SelectedRow(const zr3::ui::MainWindow& window) {
  const QModelIndexList rows = RecordList(window)->selectionModel()->selectedIndexes();
  return rows.isEmpty() ? -1 : rows.first().row();
}

inline QStringList DetailLines(const zr3::ui::MainWindow& window) {
  return Details(window)->toPlainText().split(QLatin1Char('\n'));
}

// What the details pane shows for a record.
inline QString DescriptionOf(const zr3::ZR3Base& record) {
  zr3::Lines lines;
  record.Describe(lines);
  return zr3::LinesToDisplay(lines);
}
