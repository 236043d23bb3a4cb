#pragma once

#include <QDateTime>
#include <QMainWindow>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

#include "edit/reorder.h"
#include "edit/results.h"
#include "level/zr3level.h"
#include "render/image_cache.h"
#include "ui/prompt.h"
#include "ui/settings.h"
#include "ui/undocommands.h"

class QAction;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTreeView;
class QUndoStack;
class QUndoView;
class QDockWidget;
class QFileSystemWatcher;
class QLabel;
class QListView;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QSplitter;
class QStatusBar;
class QToolBar;

namespace zr3 {
class ZR3Importer;
}

namespace zr3::ui {

class FieldTreeModel;
class TMapPane;
class TPaletteView;
class TPictureView;
class TTilePalette;
class ItemFilterModel;
class ItemListModel;
class ResultListModel;

// The main window: owns the open level, runs the file commands, browses the level's
// categories and records and shows their descriptions.
class TfrmMain : public QMainWindow, public ZR3Progress, public EditHost {
  Q_OBJECT

 public:
  static constexpr int kCategoryRows = 20;
  static constexpr int kGeneralRow = 0;

  // prompt answers every question; the window asks with real dialogs when it is nullptr.
  explicit TfrmMain(Prompt* prompt = nullptr, QWidget* parent = nullptr);
  ~TfrmMain() override;

  // Opens the first argument when it names a level file (".zr3" in any case).
  void StartUp(const QStringList& arguments);
  // Replaces the current level by the file's; true when it loaded.
  bool OpenLevel(const QString& path);
  void ShowStatus(const std::string& text) override;

  // The list each row of the category list shows ("General" shows none).
  static std::optional<Category> CategoryOfRow(int row);
  // The row that shows a category's records; "General" for the level information (no
  // category) and the custom text, which it shows.
  static int RowOfCategory(std::optional<Category> category);

  ZR3Level* Level() const { return level_.get(); }
  // The category the item list shows; none for "General" and before the first choice.
  std::optional<Category> ItemCategory() const { return itemCategory_; }
  bool FixedTable() const { return fixedTable_; }
  const QString& DefaultPath() const { return settings_.defaultPath; }
  // Every change to the open level, undone and redone in order; its clean state is the
  // level's unmodified state.
  QUndoStack* UndoStack() const { return undoStack_; }
  FieldTreeModel* FieldModel() const { return fieldModel_; }
  TMapPane* MapPane() const { return pnlMap_; }
  TPaletteView* PaletteView() const { return pnlPalette_; }
  TPictureView* PictureView() const { return pnlPicture_; }
  TTilePalette* TilePalette() const { return pnlTiles_; }
  QTabWidget* RecordTabs() const { return tabRecord_; }
  // The folders tile and other pictures are looked up in.
  const QStringList& ImageFolders() const { return images_.Folders(); }

  ZR3Level& EditedLevel() override { return *level_; }
  void RecordChanged(const FieldOwner& owner) override;
  void ListChanged(Category category, std::size_t select) override;
  void ScriptsChanged() override;

  void mnuFileOpenClick();
  void mnuFileSaveClick();
  void mnuFileSaveAsClick();
  void mnuFileExitClick();
  // Shows what the level does not carry as meant, one line per problem, in the details pane.
  void mnuEditCheckClick();
  void mnuFileExportClick();
  void mnuFileScriptsSelectedClick();
  void mnuFileScriptsTypeClick();
  void mnuFileScriptsAllClick();
  void mnuFileImportClick();
  void mnuFileCompareClick();
  void mnuHelpAboutClick();
  // Asks for the folder the level's image paths are relative to.
  void mnuViewGameFolderClick();
  // Looks pictures up in the level's own folder and its parent again.
  void mnuViewDefaultGameFolderClick();
  void btnUpClick();
  void btnDownClick();
  void btnCopyClick();
  void btnFindClick();
  void btnDeleteClick();

  // Reads script text into the level and shows the import's report.
  void ImportScripts(const QString& path);
  // Opens the shown script's text in a text editor and imports it back on OK.
  void EditScriptText();
  // Selects the record's category and row, which shows its details; false when the open
  // level has no such record.
  bool ShowRecord(const NamedRecord& record);
  // Opens a file of File > Recent Files after asking to save changes; a file that is gone
  // leaves the list with a message.
  void OpenRecentFile(const QString& path);
  // Opens a level file dropped on the window after asking to save changes.
  void OpenDroppedFile(const QString& path);
  // The open file was changed on disk by someone else: offers to read it again.
  void FileChangedOnDisk(const QString& path);
  const QStringList& RecentFiles() const { return settings_.recentFiles; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  QAction* NewAction(const char* name, const QString& text);
  // Gives an action its toolbar look: icon, tooltip and status tip.
  static QAction* NewButton(QAction* action, const QString& hint, const QIcon& icon);
  void CreateMenus();
  void CreateToolBar();
  void CreatePanes();
  void ApplySettings();
  WindowSettings CurrentSettings() const;

  bool FormCloseQuery();
  // Asks "Save changes?" when the level is modified; false when the command must stop.
  bool SaveChangesFirst(const QString& caption);
  // Saves to path (the level's own file when empty); shows the error and answers false
  // when the save failed.
  bool SaveLevel(const QString& path);
  void ShowError(const QString& message);
  // Runs work with the hourglass; shows the error and answers false when it failed.
  bool Attempt(const std::function<void()>& work);
  // The file the user chose to write, with the request's suffix added to a name typed
  // without one; empty when cancelled.
  QString ChooseSaveFile(const FileDialogRequest& request);
  // dlgExport in folder, proposing the level's file name as a text file.
  FileDialogRequest ExportRequest(const QString& folder) const;
  // Writes the script text that produce appends into a file the user chooses.
  void ExportScripts(const std::function<void(ByteWriter&)>& produce);
  void SetLevelCommands(bool loaded);
  // Runs an import, shows its report and the script list again; false when it failed.
  bool RunImport(const std::function<void(ZR3Importer&)>& import, const QString& change);
  void AddRecentFile(const QString& path);
  void FillRecentMenu();
  // Watches the level's file, remembering how the window itself last left it.
  void WatchFile(const QString& path);
  void SetEditCommands(bool selected);

  void lvwTypeSelectItem(int row);
  void lvwItemsSelectItem(int row, bool selected);
  void lvwItemsEdited(int row, const QString& text);
  void ClearItems();
  // The selected rows, or -1.
  int SelectedCategoryRow() const;
  int SelectedItemRow() const;
  void SelectItemRow(int row);
  void MoveSelected(MoveDirection direction);
  void ShowLines(const Lines& lines);
  // Shows lines in the details pane and, followable, in the results list.
  void ShowResults(ResultLines lines);
  // Shows lines in the results list only.
  void ListResults(ResultLines lines);
  // Results name records by position; they go when the positions change.
  void ClearResults();
  // Ends a comparison: its lines and the outline of the changed cells go.
  void EndComparison();
  void lvwResultsActivated(const QModelIndex& index);
  void ShowModified();
  // Takes a change that was just done as the next step of the undo history.
  void Push(QUndoCommand* command);
  // Sets a field from the Fields pane; shows the reason in the status bar when refused.
  bool CommitField(const FieldOwner& owner, const std::string& path, const std::string& value);
  // Shows the fields of what the details pane shows: the selected record, or General.
  void ShowFields(const FieldOwner& owner);
  // Shows the tabs that draw what the Fields pane shows (a map, a palette, a picture), or
  // hides them.
  void ShowRecordViews(const FieldOwner& owner);
  // Asks for a new colour for a swatch of the shown palette.
  void ChangePaletteColour(int colour);
  // Points the picture lookups at the chosen game folder, or the open level's defaults.
  void ApplyGameFolder();
  void ShowMissingImages(int count);
  void ClearFields();
  // Describes the record the Fields pane shows in the details pane, when a change since the
  // last description left it behind.
  void ShowShownDetails();
  // The script's text as an editor shows it, lines ended by line feeds.
  QString ScriptText(const FieldOwner& owner) const;
  void FocusFilter();
  void ShowPosition(int row);
  // The one place where a row of the item list view and a position in the shown list are
  // turned into each other.
  QModelIndex ItemIndex(int position) const;
  int ItemPosition(const QModelIndex& index) const;
  const RecordList* ItemList() const;

  std::unique_ptr<Prompt> ownPrompt_;
  Prompt* prompt_;
  std::unique_ptr<ZR3Level> level_;
  std::unique_ptr<class Comparison> comparison_;
  WindowSettings settings_;
  std::optional<Category> itemCategory_;
  bool fixedTable_ = false;

  QAction* mnuFileOpen_ = nullptr;
  QAction* mnuFileSave_ = nullptr;
  QAction* mnuFileSaveAs_ = nullptr;
  QAction* mnuFileExport_ = nullptr;
  QMenu* mnuFileScriptExport_ = nullptr;
  QAction* mnuFileScriptsSelected_ = nullptr;
  QAction* mnuFileScriptsType_ = nullptr;
  QAction* mnuFileScriptsAll_ = nullptr;
  QAction* mnuFileImport_ = nullptr;
  QAction* mnuFileCompare_ = nullptr;
  QAction* mnuFileExit_ = nullptr;
  QMenu* mnuFileRecent_ = nullptr;
  QAction* mnuViewTiles_ = nullptr;
  QAction* mnuViewGameFolder_ = nullptr;
  QAction* mnuViewDefaultGameFolder_ = nullptr;
  QAction* mnuEditUndo_ = nullptr;
  QAction* mnuEditRedo_ = nullptr;
  QAction* mnuEditHistory_ = nullptr;
  QAction* mnuEditFilter_ = nullptr;
  QAction* mnuEditCopy_ = nullptr;
  QAction* mnuEditDelete_ = nullptr;
  QAction* mnuEditFind_ = nullptr;
  QAction* mnuEditCheck_ = nullptr;
  QAction* mnuHelpAbout_ = nullptr;

  QToolBar* ToolBar1_ = nullptr;
  QAction* btnUp_ = nullptr;
  QAction* btnDown_ = nullptr;

  QSplitter* splitterMain_ = nullptr;
  QSplitter* splitterLeft_ = nullptr;
  QWidget* pnlLeft_ = nullptr;
  QWidget* pnlList_ = nullptr;
  QListWidget* lvwType_ = nullptr;
  QListView* lvwItems_ = nullptr;
  ItemListModel* itemModel_ = nullptr;
  ItemFilterModel* itemFilter_ = nullptr;
  QLineEdit* edtFilter_ = nullptr;
  QWidget* pnlItems_ = nullptr;
  QTabWidget* tabRecord_ = nullptr;
  QPlainTextEdit* memGeneral_ = nullptr;
  QWidget* pnlFields_ = nullptr;
  QTreeView* tvwFields_ = nullptr;
  QPushButton* btnEditText_ = nullptr;
  QPlainTextEdit* memScriptText_ = nullptr;
  FieldTreeModel* fieldModel_ = nullptr;
  QUndoStack* undoStack_ = nullptr;
  QDockWidget* dckHistory_ = nullptr;
  QUndoView* lvwHistory_ = nullptr;
  QDockWidget* dckResults_ = nullptr;
  QListView* lvwResults_ = nullptr;
  ResultListModel* resultModel_ = nullptr;
  QStatusBar* StatusBar1_ = nullptr;
  QLabel* lblPosition_ = nullptr;
  QLabel* lblMissing_ = nullptr;

  // Pictures for the map view, and apart from them the tile palette's small ones, so that
  // neither scales the other's out of its cache.
  render::ImageCache images_;
  render::ImageCache tileIcons_;
  TMapPane* pnlMap_ = nullptr;
  TPaletteView* pnlPalette_ = nullptr;
  TPictureView* pnlPicture_ = nullptr;
  TTilePalette* pnlTiles_ = nullptr;
  QDockWidget* dckTiles_ = nullptr;
  // The tab the user last brought to the front; it comes back when a record shows it again.
  QWidget* chosenTab_ = nullptr;

  QFileSystemWatcher* watcher_ = nullptr;
  // The open file's size and time as the window last read or wrote it; a change signal for a
  // file that still looks so is the window's own doing.
  qint64 watchedSize_ = -1;
  QDateTime watchedTime_;
  bool askingReload_ = false;
  bool detailsStale_ = false;
};

}  // namespace zr3::ui
