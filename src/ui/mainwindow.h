#pragma once

#include <QMainWindow>
#include <QStringList>
#include <memory>

#include "level/zr3level.h"
#include "render/image_cache.h"
#include "ui/prompt.h"
#include "ui/settings.h"
#include "ui/windowactions.h"

class QDockWidget;
class QLabel;
class QSplitter;
class QUndoStack;

namespace zr3 {
class LevelDocument;
}

namespace zr3::ui {

class FileController;
struct LevelPlacement;
class RecordController;
class RecordViews;
class ScriptController;
class TilePalette;

// The main window: the layout of the lists, the record's tabs and the docks, the menus and the
// toolbar, the title and the status bar, and the window's state between runs. The commands
// live in the file, record and script controllers; every view follows the level document.
class MainWindow : public QMainWindow, public ZR3Progress {
  Q_OBJECT

 public:
  // prompt answers every question; the window asks with real dialogs when it is nullptr. With
  // a parent it is one page of a window that holds several levels, whose pages share settings
  // (the recent files, the folders); otherwise it reads its own.
  explicit MainWindow(Prompt* prompt = nullptr, QWidget* parent = nullptr,
                      WindowSettings* shared = nullptr);
  ~MainWindow() override;

  // Offers to restore what a crashed session left. Then each argument that names a level file
  // (".zr3" in any case) opens where the placement puts it; without a placement only the first
  // does, and only when nothing was restored.
  void StartUp(const QStringList& arguments);
  void SetPlacement(LevelPlacement placement);
  // The level's file name, or "Untitled".
  QString LevelName() const;
  // Holds no level, or an untouched untitled one: what a level opened next may replace.
  bool Blank() const;
  void ShowStatus(const std::string& text) override;

  LevelDocument& Document() const { return *document_; }
  ZR3Level* Level() const;
  QUndoStack* UndoStack() const;
  // Replaces the level by the file's; true when it loaded.
  bool OpenLevel(const QString& path);
  const QString& DefaultPath() const { return settings_.defaultPath; }
  const QStringList& RecentFiles() const { return settings_.recentFiles; }
  // The folders tile and other pictures are looked up in.
  const QStringList& ImageFolders() const;

  RecordViews* Views() const { return views_; }
  RecordController* Records() const { return records_; }
  FileController* Files() const { return files_; }
  ScriptController* Scripts() const { return scripts_; }
  TilePalette* Tiles() const { return tiles_; }
  const WindowActions& Actions() const { return actions_; }

  // Lost focus (or a test standing for it): the recovery copy is written now.
  void onDeactivated();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void CreateLayout();
  QDockWidget* AddDock(const char* name, const QString& title, QWidget* content,
                       Qt::DockWidgetArea area);
  void ConnectDocument();
  void ApplySettings();
  WindowSettings CurrentSettings() const;
  // How many level files one drop opens.
  qsizetype MostDropped() const;
  void ShowTitle();
  void onLevelReplaced();
  void onAbout();
  void onGameFolder();
  void onLevelFolder();
  // Points the picture lookups at the chosen game folder, or the open level's defaults.
  void ApplyGameFolder();
  void ShowMissingImages(int count);
  // A refused change says why until the next command.
  void ShowRefusal(const QString& reason);
  void ClearRefusal();
  // Runs ZR3TOOL_TEST_EDIT ("Caption|index|field|value", a change through the Fields pane's
  // path) and then loses the focus: how the crash recovery test edits a running editor.
  void RunTestEdit(const QString& edit);

  std::unique_ptr<Prompt> ownPrompt_;
  Prompt* prompt_;
  std::unique_ptr<WindowSettings> ownSettings_;
  WindowSettings& settings_;
  LevelDocument* document_;
  WindowActions actions_;
  // The tile palette's small pictures, apart from the map's, so that neither scales the
  // other's out of its cache.
  render::ImageCache tileIcons_;
  RecordViews* views_ = nullptr;
  RecordController* records_ = nullptr;
  FileController* files_ = nullptr;
  ScriptController* scripts_ = nullptr;
  TilePalette* tiles_ = nullptr;
  QSplitter* mainSplitter_ = nullptr;
  QSplitter* browserSplitter_ = nullptr;
  QDockWidget* resultsDock_ = nullptr;
  QDockWidget* historyDock_ = nullptr;
  QDockWidget* tilesDock_ = nullptr;
  QLabel* missingLabel_ = nullptr;
  QString refusal_;
  // Whether levels opened from here go to tabs of their own.
  bool placesElsewhere_ = false;
};

// Gives a window the size and place of the last run (or a share of the screen at the first),
// kept on the screens there are now.
void PlaceWindow(QWidget& window, const WindowSettings& settings);

}  // namespace zr3::ui
