#pragma once

#include <QByteArray>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <memory>

namespace zr3::ui {

// The window settings kept between runs, with their defaults for a first run.
struct WindowSettings {
  static constexpr int kDefaultWidth = 655;
  static constexpr int kDefaultHeight = 498;
  static constexpr int kMinimumHeight = 50;
  static constexpr int kMinimumWidth = 30;
  static constexpr int kMinimumSplit = 30;

  QString defaultPath;
  bool maximized = false;
  int height = kDefaultHeight;
  int width = kDefaultWidth;
  int hSplit = 180;  // width of the left panel
  int vSplit = 105;  // height of the category list
  QString importPath;
  QString exportPath;
  // The levels opened last, the newest first.
  QStringList recentFiles;
  static constexpr int kRecentFiles = 8;
  // The folder image paths are looked up in; empty for the level's own folder and its parent.
  QString gameFolder;
  // The command Test Play runs, with %level, %map, %x and %y; empty until the author sets it.
  QString testPlayCommand;
  // Whether Height and Width were read; a first run fills most of the screen instead.
  bool sized = false;
  // The window's place on the screens (QWidget::saveGeometry) and the layout of its docks and
  // toolbar (QMainWindow::saveState); empty on a first run.
  QByteArray geometry;
  QByteArray dockState;
};

// The user's store: organization "Hollowtree", application "ZR3Tool", native format (the
// registry key Software\Hollowtree\ZR3Tool on Windows, an INI file elsewhere).
std::unique_ptr<QSettings> OpenSettingsStore();

// Reads the values in their fixed order. Nothing is read when the store holds no values.
// A missing or mistyped number or flag, or a path stored as something other than text,
// ends the reading: it and every later value keep their defaults. Sizes are clamped to
// their minimums. Height and Width are read only when the window is not maximized.
WindowSettings ReadSettings(const QSettings& store);

// Writes DefaultPath, ImportPath, ExportPath, Maximized, then Height and Width unless
// maximized, then HSplit and VSplit, then RecentFiles and GameFolder when they are set, then
// Geometry and DockState. Those four are read on their own: a fault in the values before them
// does not lose them.
void WriteSettings(QSettings& store, const WindowSettings& settings);

}  // namespace zr3::ui
