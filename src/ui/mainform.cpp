#include "ui/mainform.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDockWidget>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QTreeView>
#include <QUndoStack>
#include <QUndoView>
#include <QVBoxLayout>
#include <array>

#include "edit/check.h"
#include "edit/copy.h"
#include "edit/deletion.h"
#include "edit/edit_common.h"
#include "edit/field_edit.h"
#include "edit/references.h"
#include "edit/rename.h"
#include "level/bytes.h"
#include "level/safefile.h"
#include "records/zr3palette.h"
#include "render/image_path.h"
#include "script/zr3importer.h"
#include "script/zr3script.h"
#include "ui/busycursor.h"
#include "ui/comparison.h"
#include "ui/fielddelegate.h"
#include "ui/fieldmodel.h"
#include "ui/itemlistmodel.h"
#include "ui/mappane.h"
#include "ui/paletteview.h"
#include "ui/pictureview.h"
#include "ui/resultlistmodel.h"
#include "ui/scripteditor.h"
#include "ui/texts.h"
#include "ui/tilepalette.h"

namespace zr3::ui {

namespace {

const QString kTitle = QStringLiteral("ZR3Tool");

struct CategoryRow {
  const char* caption;
  std::optional<Category> category;
};

// The category list's rows; other commands refer to them by index.
constexpr std::array<CategoryRow, TfrmMain::kCategoryRows> kCategoryRowTable = {{
    {"General", std::nullopt},
    {"Maps", Category::Maps},
    {"Tiles", Category::Tiles},
    {"Objects", Category::Objects},
    {"Scripts - Global", Category::GlobalScripts},
    {"Scripts - Death", Category::DeathScripts},
    {"Scripts - Object", Category::ObjectScripts},
    {"Scripts - Start", Category::StartupScripts},
    {"Flags", Category::Flags},
    {"Groups", Category::Groups},
    {"Items", Category::Items},
    {"Spells", Category::Spells},
    {"Shops", Category::Shops},
    {"Monsters", Category::Monsters},
    {"Palettes", Category::Palettes},
    {"Text", Category::Texts},
    {"Characters", Category::Characters},
    {"Songs", Category::Songs},
    {"Graphics", Category::Graphics},
    {"Lists", Category::Lists},
}};

// The file's name with the place of the modified marker; a "[*]" inside the name is doubled,
// which the title shows as it is.
QString TitleFor(const QString& path) {
  return QFileInfo(path).fileName().replace(QStringLiteral("[*]"), QStringLiteral("[*][*]")) +
         QStringLiteral("[*] - ") + kTitle;
}

// How many referrers a refused deletion names; the rest are counted.
constexpr int kRefusalReferrers = 10;

// The folder of a file, ending with a separator.
QString FolderOf(const QString& path) {
  return QDir::toNativeSeparators(QFileInfo(path).absolutePath() + QLatin1Char('/'));
}

QIcon ThemeIcon(const char* name, QStyle::StandardPixmap fallback) {
  return QIcon::fromTheme(QLatin1String(name), QApplication::style()->standardIcon(fallback));
}

}  // namespace

TfrmMain::TfrmMain(Prompt* prompt, QWidget* parent)
    : QMainWindow(parent),
      ownPrompt_(prompt ? nullptr : std::make_unique<DialogPrompt>(this)),
      prompt_(prompt ? prompt : ownPrompt_.get()) {
  setObjectName(QStringLiteral("frmMain"));
  setWindowTitle(kTitle);
  undoStack_ = new QUndoStack(this);
  undoStack_->setObjectName(QStringLiteral("undoStack"));
  connect(undoStack_, &QUndoStack::indexChanged, this, &TfrmMain::ShowModified);
  connect(undoStack_, &QUndoStack::cleanChanged, this, &TfrmMain::ShowModified);
  CreateMenus();
  CreateToolBar();
  CreatePanes();
  SetLevelCommands(false);
  SetEditCommands(false);
  ApplySettings();
  FillRecentMenu();
  setAcceptDrops(true);
  watcher_ = new QFileSystemWatcher(this);
  connect(watcher_, &QFileSystemWatcher::fileChanged, this, &TfrmMain::FileChangedOnDisk);
}

TfrmMain::~TfrmMain() {
  undoStack_->clear();
  fieldModel_->Show(nullptr, {});
  itemCategory_.reset();
  itemModel_->Reload();
  level_.reset();
  const std::unique_ptr<QSettings> store = OpenSettingsStore();
  WriteSettings(*store, CurrentSettings());
}

QAction* TfrmMain::NewAction(const char* name, const QString& text) {
  auto* action = new QAction(text, this);
  action->setObjectName(QLatin1String(name));
  return action;
}

QAction* TfrmMain::NewButton(QAction* action, const QString& hint, const QIcon& icon) {
  action->setIcon(icon);
  // The menus stay as they were, without icons.
  action->setIconVisibleInMenu(false);
  action->setToolTip(hint);
  action->setStatusTip(hint);
  return action;
}

void TfrmMain::CreateMenus() {
  menuBar()->setObjectName(QStringLiteral("mnuMain"));

  QMenu* mnuFile = menuBar()->addMenu(tr("&File"));
  mnuFile->setObjectName(QStringLiteral("mnuFile"));
  mnuFileOpen_ = NewAction("mnuFileOpen", tr("&Open..."));
  mnuFileSave_ = NewAction("mnuFileSave", tr("&Save"));
  mnuFileSaveAs_ = NewAction("mnuFileSaveAs", tr("Save &As..."));
  mnuFileExport_ = NewAction("mnuFileExport", tr("&Export..."));
  mnuFileImport_ = NewAction("mnuFileImport", tr("&Import Scripts..."));
  mnuFileCompare_ = NewAction("mnuFileCompare", tr("&Compare With..."));
  mnuFileExit_ = NewAction("mnuFileExit", tr("E&xit"));
  mnuFileOpen_->setShortcut(QKeySequence::Open);
  mnuFileSave_->setShortcut(QKeySequence::Save);
  mnuFileSaveAs_->setShortcut(QKeySequence::SaveAs);
  mnuFileExit_->setShortcut(QKeySequence::Quit);
  mnuFile->addAction(mnuFileOpen_);
  mnuFile->addAction(mnuFileSave_);
  mnuFile->addAction(mnuFileSaveAs_);
  mnuFile->addSeparator();
  mnuFile->addAction(mnuFileExport_);
  mnuFileScriptExport_ = mnuFile->addMenu(tr("Ex&port Scripts"));
  mnuFileScriptExport_->setObjectName(QStringLiteral("mnuFileScriptExport"));
  mnuFileScriptExport_->menuAction()->setObjectName(QStringLiteral("mnuFileScriptExport"));
  mnuFileScriptsSelected_ = NewAction("mnuFileScriptsSelected", tr("&Selected..."));
  mnuFileScriptsType_ = NewAction("mnuFileScriptsType", tr("Current &Type..."));
  mnuFileScriptsAll_ = NewAction("mnuFileScriptsAll", tr("&All..."));
  mnuFileScriptExport_->addAction(mnuFileScriptsSelected_);
  mnuFileScriptExport_->addAction(mnuFileScriptsType_);
  mnuFileScriptExport_->addAction(mnuFileScriptsAll_);
  mnuFile->addAction(mnuFileImport_);
  mnuFile->addAction(mnuFileCompare_);
  mnuFile->addSeparator();
  mnuFileRecent_ = mnuFile->addMenu(tr("Recent &Files"));
  mnuFileRecent_->setObjectName(QStringLiteral("mnuFileRecent"));
  mnuFileRecent_->menuAction()->setObjectName(QStringLiteral("mnuFileRecent"));
  mnuFile->addSeparator();
  mnuFile->addAction(mnuFileExit_);

  QMenu* mnuEdit = menuBar()->addMenu(tr("&Edit"));
  mnuEdit->setObjectName(QStringLiteral("mnuEdit"));
  mnuEditCopy_ = NewAction("mnuEditCopy", tr("&Copy"));
  mnuEditCopy_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
  mnuEditDelete_ = NewAction("mnuEditDelete", tr("&Delete"));
  mnuEditDelete_->setShortcut(QKeySequence(Qt::Key_Delete));
  mnuEditFind_ = NewAction("mnuEditFind", tr("&Find..."));
  mnuEditFind_->setShortcuts(
      {QKeySequence(Qt::Key_F3), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F)});
  mnuEditUndo_ = undoStack_->createUndoAction(this, tr("Undo"));
  mnuEditUndo_->setObjectName(QStringLiteral("mnuEditUndo"));
  mnuEditUndo_->setShortcuts(QKeySequence::Undo);
  mnuEditRedo_ = undoStack_->createRedoAction(this, tr("Redo"));
  mnuEditRedo_->setObjectName(QStringLiteral("mnuEditRedo"));
  mnuEditRedo_->setShortcuts(QKeySequence::Redo);
  mnuEdit->addAction(mnuEditUndo_);
  mnuEdit->addAction(mnuEditRedo_);
  mnuEdit->addSeparator();
  mnuEdit->addAction(mnuEditCopy_);
  mnuEdit->addAction(mnuEditDelete_);
  mnuEdit->addSeparator();
  mnuEdit->addAction(mnuEditFind_);
  mnuEditCheck_ = NewAction("mnuEditCheck", tr("Check &Level"));
  mnuEdit->addSeparator();
  mnuEdit->addAction(mnuEditCheck_);
  mnuEditHistory_ = NewAction("mnuEditHistory", tr("&History"));
  mnuEditHistory_->setCheckable(true);
  mnuEdit->addSeparator();
  mnuEdit->addAction(mnuEditHistory_);
  // Ctrl+F goes to the filter above the item list from anywhere in the window.
  mnuEditFilter_ = NewAction("mnuEditFilter", tr("Filter Items"));
  mnuEditFilter_->setShortcut(QKeySequence::Find);
  addAction(mnuEditFilter_);
  connect(mnuEditFilter_, &QAction::triggered, this, &TfrmMain::FocusFilter);

  QMenu* mnuView = menuBar()->addMenu(tr("&View"));
  mnuView->setObjectName(QStringLiteral("mnuView"));
  mnuViewTiles_ = NewAction("mnuViewTiles", tr("&Tile Palette"));
  mnuViewTiles_->setCheckable(true);
  mnuView->addAction(mnuViewTiles_);
  mnuView->addSeparator();
  mnuViewGameFolder_ = NewAction("mnuViewGameFolder", tr("&Game Folder..."));
  mnuViewDefaultGameFolder_ = NewAction("mnuViewDefaultGameFolder", tr("&Level's Own Folder"));
  mnuView->addAction(mnuViewGameFolder_);
  mnuView->addAction(mnuViewDefaultGameFolder_);
  connect(mnuViewGameFolder_, &QAction::triggered, this, &TfrmMain::mnuViewGameFolderClick);
  connect(mnuViewDefaultGameFolder_, &QAction::triggered, this,
          &TfrmMain::mnuViewDefaultGameFolderClick);

  QMenu* mnuHelp = menuBar()->addMenu(tr("&Help"));
  mnuHelp->setObjectName(QStringLiteral("mnuHelp"));
  mnuHelpAbout_ = NewAction("mnuHelpAbout", tr("&About"));
  mnuHelp->addAction(mnuHelpAbout_);

  connect(mnuFileOpen_, &QAction::triggered, this, &TfrmMain::mnuFileOpenClick);
  connect(mnuFileCompare_, &QAction::triggered, this, &TfrmMain::mnuFileCompareClick);
  connect(mnuFileSave_, &QAction::triggered, this, &TfrmMain::mnuFileSaveClick);
  connect(mnuFileSaveAs_, &QAction::triggered, this, &TfrmMain::mnuFileSaveAsClick);
  connect(mnuFileExit_, &QAction::triggered, this, &TfrmMain::mnuFileExitClick);
  connect(mnuFileExport_, &QAction::triggered, this, &TfrmMain::mnuFileExportClick);
  connect(mnuFileScriptsSelected_, &QAction::triggered, this,
          &TfrmMain::mnuFileScriptsSelectedClick);
  connect(mnuFileScriptsType_, &QAction::triggered, this, &TfrmMain::mnuFileScriptsTypeClick);
  connect(mnuFileScriptsAll_, &QAction::triggered, this, &TfrmMain::mnuFileScriptsAllClick);
  connect(mnuFileImport_, &QAction::triggered, this, &TfrmMain::mnuFileImportClick);
  connect(mnuEditCopy_, &QAction::triggered, this, &TfrmMain::btnCopyClick);
  connect(mnuEditDelete_, &QAction::triggered, this, &TfrmMain::btnDeleteClick);
  connect(mnuEditFind_, &QAction::triggered, this, &TfrmMain::btnFindClick);
  connect(mnuEditCheck_, &QAction::triggered, this, &TfrmMain::mnuEditCheckClick);
  connect(mnuHelpAbout_, &QAction::triggered, this, &TfrmMain::mnuHelpAboutClick);
}

void TfrmMain::CreateToolBar() {
  ToolBar1_ = addToolBar(QStringLiteral("ToolBar1"));
  ToolBar1_->setObjectName(QStringLiteral("ToolBar1"));
  ToolBar1_->setMovable(false);
  ToolBar1_->setFloatable(false);
  ToolBar1_->setIconSize(QSize(16, 16));
  ToolBar1_->setContextMenuPolicy(Qt::PreventContextMenu);

  // The buttons run the menu's own actions, so that one action keeps text, state and
  // shortcut for both; only the moves have no menu item.
  btnUp_ = NewAction("btnUp", tr("Move current item up"));
  btnDown_ = NewAction("btnDown", tr("Move current item down"));
  btnUp_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Up));
  btnDown_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Down));
  const struct {
    const char* name;
    QAction* action;
  } buttons[] = {
      {"btnLoad", NewButton(mnuFileOpen_, tr("Load Level"),
                            ThemeIcon("document-open", QStyle::SP_DialogOpenButton))},
      {"btnSave", NewButton(mnuFileSave_, tr("Save Level"),
                            ThemeIcon("document-save", QStyle::SP_DialogSaveButton))},
      {nullptr, nullptr},
      {"btnCopy", NewButton(mnuEditCopy_, tr("Copy the selected item"),
                            ThemeIcon("edit-copy", QStyle::SP_FileIcon))},
      {"btnDelete", NewButton(mnuEditDelete_, tr("Delete the selected item"),
                              ThemeIcon("edit-delete", QStyle::SP_TrashIcon))},
      {nullptr, nullptr},
      {"btnUp", NewButton(btnUp_, btnUp_->text(), ThemeIcon("go-up", QStyle::SP_ArrowUp))},
      {"btnDown",
       NewButton(btnDown_, btnDown_->text(), ThemeIcon("go-down", QStyle::SP_ArrowDown))},
      {nullptr, nullptr},
      {"btnFind", NewButton(mnuEditFind_, tr("Search"),
                            ThemeIcon("edit-find", QStyle::SP_FileDialogContentsView))},
  };
  for (const auto& button : buttons) {
    if (button.action == nullptr) {
      ToolBar1_->addSeparator();
      continue;
    }
    ToolBar1_->addAction(button.action);
    QWidget* widget = ToolBar1_->widgetForAction(button.action);
    widget->setObjectName(QLatin1String(button.name));
    widget->setAccessibleName(button.action->toolTip());
  }

  connect(btnUp_, &QAction::triggered, this, &TfrmMain::btnUpClick);
  connect(btnDown_, &QAction::triggered, this, &TfrmMain::btnDownClick);
}

void TfrmMain::CreatePanes() {
  lvwType_ = new QListWidget;
  lvwType_->setObjectName(QStringLiteral("lvwType"));
  lvwType_->setAccessibleName(tr("Categories"));
  lvwType_->setSelectionMode(QAbstractItemView::SingleSelection);
  lvwType_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  for (const CategoryRow& row : kCategoryRowTable) {
    auto* item = new QListWidgetItem(QLatin1String(row.caption), lvwType_);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemNeverHasChildren);
  }

  pnlList_ = new QWidget;
  pnlList_->setObjectName(QStringLiteral("pnlList"));
  pnlList_->setMinimumSize(WindowSettings::kMinimumSplit, WindowSettings::kMinimumSplit);
  auto* listLayout = new QVBoxLayout(pnlList_);
  listLayout->setContentsMargins(0, 0, 0, 0);
  listLayout->addWidget(lvwType_);

  itemModel_ = new ItemListModel([this] { return ItemList(); }, this);
  itemFilter_ = new ItemFilterModel(itemModel_, this);
  edtFilter_ = NewFilterEdit(itemFilter_, tr("Filter by name (Ctrl+F)"));
  edtFilter_->setObjectName(QStringLiteral("edtFilter"));
  edtFilter_->setAccessibleName(tr("Filter"));
  lvwItems_ = new QListView;
  lvwItems_->setObjectName(QStringLiteral("lvwItems"));
  lvwItems_->setAccessibleName(tr("Items"));
  lvwItems_->setSelectionMode(QAbstractItemView::SingleSelection);
  lvwItems_->setEditTriggers(QAbstractItemView::SelectedClicked |
                             QAbstractItemView::EditKeyPressed);
  // Every row has the same height, so the view never measures 65535 captions.
  lvwItems_->setUniformItemSizes(true);
  lvwItems_->setModel(itemFilter_);
  pnlItems_ = new QWidget;
  pnlItems_->setObjectName(QStringLiteral("pnlItems"));
  pnlItems_->setMinimumSize(WindowSettings::kMinimumSplit, WindowSettings::kMinimumSplit);
  auto* itemsLayout = new QVBoxLayout(pnlItems_);
  itemsLayout->setContentsMargins(0, 0, 0, 0);
  itemsLayout->setSpacing(2);
  itemsLayout->addWidget(edtFilter_);
  itemsLayout->addWidget(lvwItems_);

  // Copy, Delete and the moves act on records only while the item list itself has the
  // focus: not in a caption editor, not in the details pane or a field editor.
  for (QAction* action : {mnuEditCopy_, mnuEditDelete_, btnUp_, btnDown_}) {
    action->setShortcutContext(Qt::WidgetShortcut);
    lvwItems_->addAction(action);
  }

  splitterLeft_ = new QSplitter(Qt::Vertical);
  splitterLeft_->setObjectName(QStringLiteral("splitterLeft"));
  splitterLeft_->setChildrenCollapsible(false);
  splitterLeft_->addWidget(pnlList_);
  splitterLeft_->addWidget(pnlItems_);
  splitterLeft_->setStretchFactor(0, 0);
  splitterLeft_->setStretchFactor(1, 1);

  pnlLeft_ = new QWidget;
  pnlLeft_->setObjectName(QStringLiteral("pnlLeft"));
  pnlLeft_->setMinimumSize(WindowSettings::kMinimumSplit, WindowSettings::kMinimumSplit);
  auto* leftLayout = new QVBoxLayout(pnlLeft_);
  leftLayout->setContentsMargins(0, 0, 0, 0);
  leftLayout->addWidget(splitterLeft_);

  memGeneral_ = new QPlainTextEdit;
  memGeneral_->setObjectName(QStringLiteral("memGeneral"));
  memGeneral_->setAccessibleName(tr("Details"));
  memGeneral_->setReadOnly(true);
  memGeneral_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memGeneral_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  memGeneral_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

  splitterMain_ = new QSplitter(Qt::Horizontal);
  splitterMain_->setObjectName(QStringLiteral("splitterMain"));
  splitterMain_->setChildrenCollapsible(false);
  splitterMain_->addWidget(pnlLeft_);
  fieldModel_ = new FieldTreeModel(
      [this](const FieldOwner& owner, const std::string& path, const std::string& value) {
        return CommitField(owner, path, value);
      },
      this);
  tvwFields_ = new QTreeView;
  tvwFields_->setObjectName(QStringLiteral("tvwFields"));
  tvwFields_->setAccessibleName(tr("Fields"));
  tvwFields_->setModel(fieldModel_);
  tvwFields_->setItemDelegate(new FieldDelegate(tvwFields_));
  tvwFields_->setUniformRowHeights(true);
  tvwFields_->setAlternatingRowColors(true);
  tvwFields_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                              QAbstractItemView::SelectedClicked);
  tvwFields_->header()->setSectionResizeMode(QHeaderView::Interactive);
  tvwFields_->header()->resizeSection(FieldTreeModel::NameColumn, 160);
  tvwFields_->header()->resizeSection(FieldTreeModel::ValueColumn, 200);
  pnlFields_ = new QWidget;
  pnlFields_->setObjectName(QStringLiteral("pnlFields"));
  auto* fieldsLayout = new QVBoxLayout(pnlFields_);
  fieldsLayout->setContentsMargins(0, 0, 0, 0);
  btnEditText_ = new QPushButton(tr("Edit as text..."));
  btnEditText_->setObjectName(QStringLiteral("btnEditText"));
  btnEditText_->setToolTip(tr("Edit the script's conditions and commands as script text"));
  btnEditText_->hide();
  connect(btnEditText_, &QPushButton::clicked, this, &TfrmMain::EditScriptText);
  auto* fieldButtons = new QHBoxLayout;
  fieldButtons->addWidget(btnEditText_);
  fieldButtons->addStretch();
  // A script's conditions and commands have no fields of their own: the pane shows its text.
  memScriptText_ = new ScriptEditor;
  memScriptText_->setObjectName(QStringLiteral("memScriptText"));
  memScriptText_->setAccessibleName(tr("Script text"));
  memScriptText_->setReadOnly(true);
  memScriptText_->setLineWrapMode(QPlainTextEdit::NoWrap);
  memScriptText_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  memScriptText_->hide();
  fieldsLayout->addLayout(fieldButtons);
  fieldsLayout->addWidget(tvwFields_);
  fieldsLayout->addWidget(memScriptText_);

  // Later views of a record (its map, its picture) come as further tabs.
  tabRecord_ = new QTabWidget;
  tabRecord_->setObjectName(QStringLiteral("tabRecord"));
  tabRecord_->addTab(memGeneral_, tr("Details"));
  tabRecord_->addTab(pnlFields_, tr("Fields"));
  pnlMap_ = new TMapPane(images_);
  pnlPalette_ = new TPaletteView;
  pnlPalette_->setObjectName(QStringLiteral("pnlPalette"));
  pnlPicture_ = new TPictureView;
  pnlPicture_->setObjectName(QStringLiteral("pnlPicture"));
  // Shown only for the records they draw.
  tabRecord_->addTab(pnlMap_, tr("Map"));
  tabRecord_->addTab(pnlPalette_, tr("Palette"));
  tabRecord_->addTab(pnlPicture_, tr("Picture"));
  for (QWidget* view : {static_cast<QWidget*>(pnlMap_), static_cast<QWidget*>(pnlPalette_),
                        static_cast<QWidget*>(pnlPicture_)}) {
    tabRecord_->setTabVisible(tabRecord_->indexOf(view), false);
  }
  connect(tabRecord_, &QTabWidget::currentChanged, this, &TfrmMain::ShowShownDetails);
  connect(tabRecord_, &QTabWidget::tabBarClicked, this,
          [this](int index) { chosenTab_ = tabRecord_->widget(index); });
  splitterMain_->addWidget(tabRecord_);
  splitterMain_->setStretchFactor(0, 0);
  splitterMain_->setStretchFactor(1, 1);
  setCentralWidget(splitterMain_);

  resultModel_ = new ResultListModel(this);
  lvwResults_ = new QListView;
  lvwResults_->setObjectName(QStringLiteral("lvwResults"));
  lvwResults_->setAccessibleName(tr("Results"));
  lvwResults_->setModel(resultModel_);
  lvwResults_->setUniformItemSizes(true);
  lvwResults_->setSelectionMode(QAbstractItemView::SingleSelection);
  lvwResults_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  lvwResults_->setFont(memGeneral_->font());
  dckResults_ = new QDockWidget(tr("Results"), this);
  dckResults_->setObjectName(QStringLiteral("dckResults"));
  dckResults_->setWidget(lvwResults_);
  dckResults_->setAllowedAreas(Qt::BottomDockWidgetArea | Qt::RightDockWidgetArea);
  addDockWidget(Qt::BottomDockWidgetArea, dckResults_);
  dckResults_->hide();
  // Enter and a double-click both activate a line.
  connect(lvwResults_, &QAbstractItemView::activated, this, &TfrmMain::lvwResultsActivated);

  lvwHistory_ = new QUndoView(undoStack_);
  lvwHistory_->setObjectName(QStringLiteral("lvwHistory"));
  lvwHistory_->setEmptyLabel(tr("<opened>"));
  dckHistory_ = new QDockWidget(tr("History"), this);
  dckHistory_->setObjectName(QStringLiteral("dckHistory"));
  dckHistory_->setWidget(lvwHistory_);
  addDockWidget(Qt::RightDockWidgetArea, dckHistory_);
  dckHistory_->hide();
  connect(mnuEditHistory_, &QAction::toggled, dckHistory_, &QDockWidget::setVisible);
  connect(dckHistory_, &QDockWidget::visibilityChanged, mnuEditHistory_, &QAction::setChecked);

  StatusBar1_ = statusBar();
  StatusBar1_->setObjectName(QStringLiteral("StatusBar1"));
  lblPosition_ = new QLabel;
  lblPosition_->setObjectName(QStringLiteral("lblPosition"));
  StatusBar1_->addPermanentWidget(lblPosition_);
  lblMissing_ = new QLabel;
  lblMissing_->setObjectName(QStringLiteral("lblMissing"));
  StatusBar1_->addPermanentWidget(lblMissing_);

  pnlTiles_ = new TTilePalette(tileIcons_);
  dckTiles_ = new QDockWidget(tr("Tile Palette"), this);
  dckTiles_->setObjectName(QStringLiteral("dckTiles"));
  dckTiles_->setWidget(pnlTiles_);
  dckTiles_->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
  addDockWidget(Qt::RightDockWidgetArea, dckTiles_);
  dckTiles_->hide();
  connect(mnuViewTiles_, &QAction::toggled, dckTiles_, &QDockWidget::setVisible);
  connect(dckTiles_, &QDockWidget::visibilityChanged, mnuViewTiles_, &QAction::setChecked);

  TMapView* map = pnlMap_->View();
  map->SetBrushSource([this] { return pnlTiles_->Tile(); });
  map->SetStrokeSink([this](MapPaint&& paint, const QString& verb) {
    const FieldOwner owner{Category::Maps, paint.MapIndex()};
    Push(new MapPaintCommand(*this, verb, std::move(paint)));
    RecordChanged(owner);
  });
  connect(map, &TMapView::TilePicked, pnlTiles_, &TTilePalette::ChooseTile);
  connect(pnlMap_->PaintAction(), &QAction::triggered, dckTiles_, &QDockWidget::show);
  connect(map, &TMapView::MissingImagesChanged, this, &TfrmMain::ShowMissingImages);
  connect(pnlMap_, &TMapPane::Hint, StatusBar1_,
          [this](const QString& text) { StatusBar1_->showMessage(text); });
  connect(pnlPalette_, &TPaletteView::Hovered, this, [this](int colour) {
    if (colour >= 0) StatusBar1_->showMessage(pnlPalette_->ColourText(colour));
  });
  connect(pnlPalette_, &TPaletteView::SwatchActivated, this, &TfrmMain::ChangePaletteColour);
  connect(pnlMap_, &TMapPane::TileActivated, this, [this](ZR3ChainRecord* tile) {
    ShowRecord(NamedRecord{Category::Tiles, static_cast<std::size_t>(tile->Position())});
  });
  // Choosing a tile to paint with, in the palette or on the map, takes up the brush.
  connect(pnlTiles_, &TTilePalette::TileChosen, this, [this] {
    pnlMap_->StartPainting();
    if (pnlMap_->View()->Map()) dckTiles_->show();
  });

  connect(lvwType_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [this](const QItemSelection& selected) {
            if (!selected.indexes().isEmpty()) lvwTypeSelectItem(selected.indexes().first().row());
          });
  connect(lvwItems_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [this](const QItemSelection& selected, const QItemSelection& deselected) {
            if (!selected.indexes().isEmpty()) {
              lvwItemsSelectItem(ItemPosition(selected.indexes().first()), true);
            } else if (!deselected.indexes().isEmpty()) {
              lvwItemsSelectItem(ItemPosition(deselected.indexes().first()), false);
            }
          });
  connect(itemModel_, &ItemListModel::Edited, this, &TfrmMain::lvwItemsEdited);
}

void TfrmMain::ApplySettings() {
  const std::unique_ptr<QSettings> store = OpenSettingsStore();
  settings_ = ReadSettings(*store);
  resize(settings_.width, settings_.height);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect frame = geometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
  splitterMain_->setSizes({settings_.hSplit, std::max(settings_.width - settings_.hSplit, 1)});
  splitterLeft_->setSizes({settings_.vSplit, std::max(settings_.height - settings_.vSplit, 1)});
  if (settings_.maximized) setWindowState(windowState() | Qt::WindowMaximized);
}

WindowSettings TfrmMain::CurrentSettings() const {
  WindowSettings current = settings_;
  current.maximized = isMaximized();
  if (!current.maximized) {
    current.height = height();
    current.width = width();
  }
  current.hSplit = splitterMain_->sizes().value(0, current.hSplit);
  current.vSplit = splitterLeft_->sizes().value(0, current.vSplit);
  return current;
}

void TfrmMain::StartUp(const QStringList& arguments) {
  if (!arguments.isEmpty() &&
      arguments.first().endsWith(QLatin1String(".zr3"), Qt::CaseInsensitive)) {
    OpenLevel(arguments.first());
  }
}

void TfrmMain::ShowStatus(const std::string& text) {
  StatusBar1_->showMessage(ToDisplay(text));
  // Loading runs without returning to the event loop; paint the message now.
  StatusBar1_->repaint();
}

std::optional<Category> TfrmMain::CategoryOfRow(int row) {
  if (row < 0 || row >= kCategoryRows) return std::nullopt;
  return kCategoryRowTable[static_cast<std::size_t>(row)].category;
}

int TfrmMain::RowOfCategory(std::optional<Category> category) {
  for (int row = 0; row < kCategoryRows; ++row) {
    if (category && CategoryOfRow(row) == category) return row;
  }
  return kGeneralRow;
}

bool TfrmMain::OpenLevel(const QString& path) {
  QString error;
  {
    BusyCursor busy;
    // Nothing may keep showing or pointing into the level about to be destroyed.
    undoStack_->clear();
    ClearFields();
    ClearItems();
    ClearResults();
    memGeneral_->clear();
    pnlTiles_->ShowLevel(nullptr);
    level_.reset();
    level_ = std::make_unique<ZR3Level>();
    try {
      level_->Load(ToNativePath(path), this);
    } catch (const std::exception& e) {
      error = MessageText(e);
    }
    SetLevelCommands(level_->Loaded());
    if (level_->Loaded()) {
      setWindowTitle(TitleFor(path));
      settings_.defaultPath = FolderOf(path);
      AddRecentFile(path);
      WatchFile(path);
      ApplyGameFolder();
      pnlTiles_->ShowLevel(level_.get());
      // The category chosen before shows the new level's records.
      if (SelectedCategoryRow() >= 0) lvwTypeSelectItem(SelectedCategoryRow());
    }
    ShowModified();
  }
  if (!error.isEmpty()) ShowError(error);
  return error.isEmpty();
}

void TfrmMain::ShowError(const QString& message) {
  prompt_->Ask(QMessageBox::Critical, tr("Error"), message, QMessageBox::Ok);
}

void TfrmMain::SetLevelCommands(bool loaded) {
  lvwType_->setEnabled(loaded);
  // A level that failed to load holds only what was read before the failure; exporting it
  // would write an almost empty text as if it were the level.
  for (QAction* command : {mnuFileSave_, mnuFileSaveAs_, mnuFileExport_,
                           mnuFileScriptExport_->menuAction(), mnuFileImport_, mnuEditCheck_}) {
    command->setEnabled(loaded);
  }
}

void TfrmMain::SetEditCommands(bool selected) {
  const bool editable = selected && !fixedTable_;
  mnuEditCopy_->setEnabled(editable);
  const bool deletable = editable && itemModel_->rowCount() >= 2;
  mnuEditDelete_->setEnabled(deletable);
  btnUp_->setEnabled(editable);
  btnDown_->setEnabled(editable);
  mnuEditFind_->setEnabled(selected);
  ShowPosition(selected ? SelectedItemRow() : -1);
}

void TfrmMain::ShowPosition(int row) {
  lblPosition_->setText(row < 0 ? QString()
                                : tr("Record %1 of %2").arg(row + 1).arg(itemModel_->rowCount()));
}

void TfrmMain::ShowModified() {
  if (level_) level_->SetModified(!undoStack_->isClean());
  setWindowModified(level_ && level_->Modified());
}

void TfrmMain::Push(QUndoCommand* command) {
  undoStack_->push(command);
  ShowModified();
}

bool TfrmMain::Attempt(const std::function<void()>& work) {
  QString error;
  {
    BusyCursor busy;
    try {
      work();
    } catch (const std::exception& e) {
      error = MessageText(e);
    }
  }
  if (error.isEmpty()) return true;
  ShowError(error);
  return false;
}

bool TfrmMain::SaveLevel(const QString& path) {
  const bool saved =
      Attempt([&] { level_->Save(path.isEmpty() ? std::string() : ToNativePath(path)); });
  if (saved) {
    undoStack_->setClean();
    WatchFile(FromNativePath(level_->FileName()));
  } else if (undoStack_->isClean()) {
    // The file no longer holds what the history calls clean.
    undoStack_->resetClean();
  }
  ShowModified();
  return saved;
}

QString TfrmMain::ChooseSaveFile(const FileDialogRequest& request) {
  const QString chosen = prompt_->SaveFile(request);
  if (chosen.isEmpty() || !QFileInfo(chosen).suffix().isEmpty()) return chosen;
  // The dialog normally adds the suffix before its own question; when it did not, the
  // question about the final name is asked here.
  const QString path = chosen + QLatin1Char('.') + request.defaultSuffix;
  if (QFileInfo::exists(path) &&
      prompt_->Ask(
          QMessageBox::Warning, request.title,
          tr("%1 already exists.\nDo you want to replace it?").arg(QFileInfo(path).fileName()),
          QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
    return {};
  }
  return path;
}

bool TfrmMain::SaveChangesFirst(const QString& caption) {
  if (!level_ || !level_->Modified()) return true;
  switch (prompt_->Ask(QMessageBox::Question, caption, tr("Save changes?"),
                       QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
    case QMessageBox::Yes:
      // A failed save keeps the level and its changes where they are.
      return SaveLevel({});
    case QMessageBox::No:
      return true;
    default:
      return false;
  }
}

void TfrmMain::mnuFileOpenClick() {
  if (!SaveChangesFirst(tr("Open"))) return;
  const QString path = prompt_->OpenFile({.name = QStringLiteral("dlgOpen"),
                                          .title = tr("Open File"),
                                          .filter = tr("ZR3 Level Files (*.zr3)"),
                                          .folder = settings_.defaultPath});
  if (!path.isEmpty()) OpenLevel(path);
}

void TfrmMain::mnuFileCompareClick() {
  if (!level_ || !level_->Loaded()) return;
  const QString path = prompt_->OpenFile({.name = QStringLiteral("dlgCompare"),
                                          .title = tr("Compare With"),
                                          .filter = tr("ZR3 Level Files (*.zr3)"),
                                          .folder = settings_.defaultPath});
  if (path.isEmpty()) return;
  try {
    BusyCursor busy;
    ZR3Level older;
    older.Load(ToNativePath(path));
    auto comparison = std::make_unique<Comparison>(older, *level_);
    ListResults(comparison->Lines());
    comparison_ = std::move(comparison);
    pnlMap_->View()->SetOutline(
        [this](std::size_t map) { return comparison_ ? comparison_->ChangedCells(map) : nullptr; });
  } catch (const std::exception& e) {
    ShowError(MessageText(e));
  }
}

void TfrmMain::mnuFileSaveClick() {
  if (level_ && level_->Loaded()) SaveLevel({});
}

void TfrmMain::mnuFileSaveAsClick() {
  if (!level_ || !level_->Loaded()) return;
  const QString path = ChooseSaveFile({.name = QStringLiteral("dlgSave"),
                                       .title = tr("Save Map"),
                                       .filter = tr("ZR3 Map Files (*.zr3)"),
                                       .folder = settings_.defaultPath,
                                       .defaultSuffix = QStringLiteral("zr3")});
  if (path.isEmpty()) return;
  const bool saved = SaveLevel(path);
  settings_.defaultPath = FolderOf(path);
  // The title names the file the next Save writes to, so it changes only when this worked.
  if (!saved) return;
  setWindowTitle(TitleFor(path));
  AddRecentFile(path);
}

void TfrmMain::mnuFileExitClick() {
  close();
}

FileDialogRequest TfrmMain::ExportRequest(const QString& folder) const {
  const QString levelFile = FromNativePath(level_->FileName());
  return {.name = QStringLiteral("dlgExport"),
          .title = tr("Export Level"),
          .filter = tr("Text Files (*.txt)"),
          .folder = folder,
          .defaultSuffix = QStringLiteral("txt"),
          .fileName =
              levelFile.isEmpty() ? QString() : QFileInfo(levelFile).completeBaseName() + ".txt"};
}

void TfrmMain::mnuFileExportClick() {
  if (!level_ || !level_->Loaded()) return;
  const QString path = ChooseSaveFile(ExportRequest(settings_.exportPath));
  if (path.isEmpty()) return;
  Attempt([&] { level_->ExportLevelText(ToNativePath(path)); });
  settings_.exportPath = FolderOf(path);
}

void TfrmMain::ExportScripts(const std::function<void(ByteWriter&)>& produce) {
  const QString path = ChooseSaveFile(ExportRequest(settings_.importPath));
  if (path.isEmpty()) return;
  Attempt([&] { WriteFileAtomically(ToNativePath(path), produce); });
  // The import looks where the scripts went, whether or not the write worked.
  settings_.importPath = FolderOf(path);
}

void TfrmMain::mnuFileScriptsSelectedClick() {
  if (!level_ || !level_->Loaded()) return;
  const int row = SelectedItemRow();
  const std::optional<Category> category = CategoryOfRow(SelectedCategoryRow());
  if (row < 0 || !category || !IsScriptCategory(*category)) {
    prompt_->Ask(QMessageBox::Warning, tr("Export"), tr("No script selected."), QMessageBox::Ok);
    return;
  }
  ExportScripts([&](ByteWriter& out) {
    WriteScriptText(
        static_cast<const ZR3Script&>(RecordOf(*level_, *category, static_cast<std::size_t>(row))),
        out);
  });
}

void TfrmMain::mnuFileScriptsTypeClick() {
  if (!level_ || !level_->Loaded()) return;
  const std::optional<Category> category = CategoryOfRow(SelectedCategoryRow());
  if (!category || !IsScriptCategory(*category)) {
    prompt_->Ask(QMessageBox::Warning, tr("Export"), tr("Script type not selected."),
                 QMessageBox::Ok);
    return;
  }
  ExportScripts([&](ByteWriter& out) { ExportScriptList(*level_, *category, out); });
}

void TfrmMain::mnuFileScriptsAllClick() {
  if (!level_ || !level_->Loaded()) return;
  ExportScripts([&](ByteWriter& out) { ExportAllScripts(*level_, out); });
}

void TfrmMain::mnuFileImportClick() {
  if (!level_ || !level_->Loaded()) return;
  const QString path = prompt_->OpenFile({.name = QStringLiteral("dlgImport"),
                                          .title = tr("Open File"),
                                          .filter = tr("ZR3 Script Files (*.txt);;All Files (*.*)"),
                                          .folder = settings_.importPath});
  if (!path.isEmpty()) ImportScripts(path);
}

void TfrmMain::ImportScripts(const QString& path) {
  if (!level_ || !level_->Loaded()) return;
  RunImport([&](ZR3Importer& importer) { importer.Import(ToNativePath(path)); },
            tr("Import Scripts from %1").arg(QFileInfo(path).fileName()));
  settings_.importPath = FolderOf(path);
}

void TfrmMain::EditScriptText() {
  const FieldOwner owner = fieldModel_->Owner();
  if (!level_ || !owner.category || !IsScriptCategory(*owner.category)) return;
  const std::optional<QString> edited =
      prompt_->EditScriptText(tr("Edit %1").arg(RecordCaption(*level_, owner)), ScriptText(owner),
                              {level_.get(), owner.category, owner.index});
  if (!edited) return;
  // Script text files end their lines with CR LF, as the export writes them.
  QString text = *edited;
  text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  if (!RunImport(
          [&](ZR3Importer& importer) {
            ImportOwnScriptText(importer, *level_, *owner.category, owner.index, FromDisplay(text));
          },
          tr("Edit %1 as Text").arg(RecordCaption(*level_, owner)))) {
    tabRecord_->setCurrentWidget(memGeneral_);
    return;
  }
  // The script shows again, then the import's report with its warnings, in front.
  const QString report = memGeneral_->toPlainText();
  ShowRecord(NamedRecord{owner.category, owner.index});
  memGeneral_->setPlainText(report);
  tabRecord_->setCurrentWidget(memGeneral_);
}

bool TfrmMain::RunImport(const std::function<void(ZR3Importer&)>& import, const QString& change) {
  BusyCursor busy;
  ZR3Importer importer(*level_);
  importer.KeepChanges();
  bool imported = true;
  try {
    import(importer);
  } catch (const std::exception&) {
    // The importer's report says what went wrong and where; the level is as it was.
    imported = false;
  }
  Lines report;
  importer.AppendReport(report);
  if (imported) {
    ScriptImportEdit edit(*level_, importer.TakeChanges());
    if (!edit.Empty()) Push(new ImportCommand(*this, change, std::move(edit)));
  }
  ScriptsChanged();
  ShowLines(report);
  return imported;
}

void TfrmMain::ScriptsChanged() {
  ClearResults();
  const std::optional<Category> category = CategoryOfRow(SelectedCategoryRow());
  if (!category || !IsScriptCategory(*category)) return;
  // The shown script list is refilled with no row selected.
  fixedTable_ = false;
  itemCategory_ = category;
  ClearFields();
  itemModel_->Reload();
  SetEditCommands(false);
}

void TfrmMain::mnuHelpAboutClick() {
  ShowLines({"ZR3Tool", std::string("Version: ") + ZR3_VERSION,
             std::string("Qt version: ") + qVersion()});
}

void TfrmMain::AddRecentFile(const QString& path) {
  const QString file = QFileInfo(path).absoluteFilePath();
  settings_.recentFiles.removeAll(file);
  settings_.recentFiles.prepend(file);
  while (settings_.recentFiles.size() > WindowSettings::kRecentFiles) {
    settings_.recentFiles.removeLast();
  }
  FillRecentMenu();
}

void TfrmMain::FillRecentMenu() {
  mnuFileRecent_->clear();
  for (int i = 0; i < settings_.recentFiles.size(); ++i) {
    const QString file = settings_.recentFiles[i];
    QAction* action = mnuFileRecent_->addAction(
        QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(file)));
    action->setObjectName(QStringLiteral("mnuFileRecent%1").arg(i + 1));
    connect(action, &QAction::triggered, this, [this, file] { OpenRecentFile(file); });
  }
  mnuFileRecent_->setEnabled(!settings_.recentFiles.isEmpty());
}

void TfrmMain::OpenRecentFile(const QString& path) {
  if (!QFileInfo::exists(path)) {
    prompt_->Ask(QMessageBox::Warning, tr("Open"),
                 tr("%1 no longer exists.\nIt is removed from the recent files.")
                     .arg(QDir::toNativeSeparators(path)),
                 QMessageBox::Ok);
    settings_.recentFiles.removeAll(path);
    FillRecentMenu();
    return;
  }
  if (SaveChangesFirst(tr("Open"))) OpenLevel(path);
}

void TfrmMain::OpenDroppedFile(const QString& path) {
  if (SaveChangesFirst(tr("Open"))) OpenLevel(path);
}

namespace {

// The level file a drag carries, or nothing.
QString DroppedLevel(const QMimeData* data) {
  if (data == nullptr || data->urls().size() != 1) return {};
  const QString file = data->urls().first().toLocalFile();
  return file.endsWith(QLatin1String(".zr3"), Qt::CaseInsensitive) ? file : QString();
}

}  // namespace

void TfrmMain::dragEnterEvent(QDragEnterEvent* event) {
  if (!DroppedLevel(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TfrmMain::dropEvent(QDropEvent* event) {
  const QString file = DroppedLevel(event->mimeData());
  if (file.isEmpty()) return;
  event->acceptProposedAction();
  OpenDroppedFile(file);
}

void TfrmMain::WatchFile(const QString& path) {
  if (!watcher_->files().isEmpty()) watcher_->removePaths(watcher_->files());
  const QFileInfo file(path);
  watchedSize_ = file.size();
  watchedTime_ = file.lastModified();
  watcher_->addPath(file.absoluteFilePath());
}

void TfrmMain::FileChangedOnDisk(const QString& path) {
  // A file replaced by rename is no longer watched: watch the new one.
  if (QFileInfo::exists(path) && !watcher_->files().contains(path)) watcher_->addPath(path);
  const QFileInfo file(path);
  if (askingReload_ || !level_ || !file.exists() ||
      (file.size() == watchedSize_ && file.lastModified() == watchedTime_)) {
    return;
  }
  watchedSize_ = file.size();
  watchedTime_ = file.lastModified();
  const QString name = QDir::toNativeSeparators(path);
  const QString question =
      level_->Modified()
          ? tr("%1 was changed by another program.\nReloading it discards your unsaved "
               "changes. Reload it?")
                .arg(name)
          : tr("%1 was changed by another program.\nReload it?").arg(name);
  askingReload_ = true;
  const bool reload = prompt_->Ask(QMessageBox::Question, tr("Reload"), question,
                                   QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
  askingReload_ = false;
  if (reload) OpenLevel(path);
}

bool TfrmMain::FormCloseQuery() {
  return SaveChangesFirst(tr("Close"));
}

void TfrmMain::closeEvent(QCloseEvent* event) {
  if (FormCloseQuery()) {
    event->accept();
  } else {
    event->ignore();
  }
}

const RecordList* TfrmMain::ItemList() const {
  if (!level_ || !itemCategory_) return nullptr;
  return &level_->List(*itemCategory_);
}

void TfrmMain::ClearItems() {
  ClearFields();
  itemCategory_.reset();
  itemModel_->Reload();
  SetEditCommands(false);
}

void TfrmMain::ShowLines(const Lines& lines) {
  detailsStale_ = false;
  memGeneral_->setPlainText(LinesToDisplay(lines));
}

void TfrmMain::ShowResults(ResultLines lines) {
  ShowLines(TextOf(lines));
  ListResults(std::move(lines));
}

void TfrmMain::ListResults(ResultLines lines) {
  EndComparison();
  resultModel_->SetLines(std::move(lines));
  if (!dckResults_->isHidden()) return;
  dckResults_->show();
  // Enough for a few lines, leaving the lists and the details most of the window.
  resizeDocks({dckResults_}, {height() / 4}, Qt::Vertical);
}

void TfrmMain::EndComparison() {
  if (!comparison_) return;
  comparison_.reset();
  pnlMap_->View()->SetOutline({});
}

void TfrmMain::ClearResults() {
  EndComparison();
  resultModel_->Clear();
  dckResults_->hide();
}

void TfrmMain::lvwResultsActivated(const QModelIndex& index) {
  if (const std::optional<NamedRecord> record = resultModel_->RecordAt(index.row())) {
    ShowRecord(*record);
  }
  if (const std::optional<MapCell> cell =
          comparison_ ? comparison_->CellAt(static_cast<std::size_t>(index.row())) : std::nullopt) {
    tabRecord_->setCurrentWidget(pnlMap_);
    pnlMap_->View()->SelectCell(cell);
  }
}

bool TfrmMain::ShowRecord(const NamedRecord& record) {
  if (!level_ || !level_->Loaded()) return false;
  const int categoryRow = RowOfCategory(record.category);
  if (categoryRow != kGeneralRow &&
      record.index >= level_->List(*CategoryOfRow(categoryRow)).size()) {
    return false;
  }
  if (SelectedCategoryRow() != categoryRow) {
    lvwType_->setCurrentRow(categoryRow);
  } else if (categoryRow == kGeneralRow) {
    // Already chosen: show the level information again in place of the results.
    lvwTypeSelectItem(kGeneralRow);
  }
  if (categoryRow != kGeneralRow) SelectItemRow(static_cast<int>(record.index));
  return true;
}

void TfrmMain::lvwTypeSelectItem(int row) {
  if (!level_ || !level_->Loaded()) return;
  const std::optional<Category> category = CategoryOfRow(row);
  if (row == kGeneralRow) {
    BusyCursor busy;
    memGeneral_->clear();
    ClearItems();
    Lines lines;
    level_->DescribeInfo(lines);
    ShowLines(lines);
    ShowFields(FieldOwner{});
    return;
  }
  if (!category) return;
  fixedTable_ = IsFixedTable(*category);
  itemCategory_ = category;
  itemModel_->Reload();
  SetEditCommands(false);
  if (itemModel_->rowCount() > 0) lvwItems_->setCurrentIndex(ItemIndex(0));
}

void TfrmMain::lvwItemsSelectItem(int row, bool selected) {
  SetEditCommands(selected);
  if (!selected) return;
  BusyCursor busy;
  memGeneral_->clear();
  const RecordList* list = ItemList();
  if (list == nullptr || row < 0 || static_cast<std::size_t>(row) >= list->size()) {
    ClearFields();
    return;
  }
  Lines lines;
  (*list)[static_cast<std::size_t>(row)]->Describe(lines);
  ShowLines(lines);
  ShowFields(FieldOwner{itemCategory_, static_cast<std::size_t>(row)});
}

void TfrmMain::ShowFields(const FieldOwner& owner) {
  ShowRecordViews(owner);
  fieldModel_->Show(level_.get(), owner);
  tvwFields_->expandAll();
  const bool script = owner.category && IsScriptCategory(*owner.category);
  btnEditText_->setVisible(script);
  tvwFields_->setVisible(!script);
  memScriptText_->setVisible(script);
  if (script) memScriptText_->setPlainText(ScriptText(owner));
}

QString TfrmMain::ScriptText(const FieldOwner& owner) const {
  ByteWriter text;
  WriteScriptText(static_cast<const ZR3Script&>(RecordOf(*level_, *owner.category, owner.index)),
                  text);
  return ToDisplay(text.Data()).remove(QLatin1Char('\r'));
}

void TfrmMain::ShowRecordViews(const FieldOwner& owner) {
  const ZR3Base* record =
      level_ && owner.category && owner.index < level_->List(*owner.category).size()
          ? level_->List(*owner.category)[owner.index].get()
          : nullptr;
  const bool map = record && owner.category == Category::Maps;
  pnlMap_->ShowMap(map ? level_.get() : nullptr,
                   map ? std::optional<std::size_t>(owner.index) : std::nullopt);
  tabRecord_->setTabVisible(tabRecord_->indexOf(pnlMap_), map);

  const auto* palette = dynamic_cast<const ZR3Palette*>(record);
  if (palette) pnlPalette_->SetColours(palette->Colours());
  tabRecord_->setTabVisible(tabRecord_->indexOf(pnlPalette_), palette != nullptr);

  const std::string path = record ? render::ImagePathOf(*record) : std::string();
  const QImage* picture = path.empty() ? nullptr : images_.Original(path);
  if (picture) {
    pnlPicture_->SetImage(*picture);
  } else {
    pnlPicture_->Clear();
  }
  tabRecord_->setTabVisible(tabRecord_->indexOf(pnlPicture_), picture != nullptr);
  ShowMissingImages(images_.MissingCount());
  if (chosenTab_ && tabRecord_->isTabVisible(tabRecord_->indexOf(chosenTab_))) {
    tabRecord_->setCurrentWidget(chosenTab_);
  }
}

void TfrmMain::ChangePaletteColour(int colour) {
  const FieldOwner owner = fieldModel_->Owner();
  if (!level_ || owner.category != Category::Palettes || colour < 0) return;
  const QColor before = pnlPalette_->ColourAt(colour);
  const std::optional<QColor> chosen =
      prompt_->ChooseColour(pnlPalette_->ColourText(colour), before);
  if (!chosen || !chosen->isValid() || chosen->rgb() == before.rgb()) return;
  const auto index = static_cast<std::size_t>(colour);
  try {
    FieldEdit edit = EditPaletteColour(
        *level_, owner.index, index,
        {static_cast<std::uint8_t>(chosen->red()), static_cast<std::uint8_t>(chosen->green()),
         static_cast<std::uint8_t>(chosen->blue())});
    Push(new PaletteColourCommand(*this, owner.index, index, std::move(edit)));
  } catch (const std::exception& e) {
    ShowError(MessageText(e));
    return;
  }
  RecordChanged(owner);
}

void TfrmMain::ApplyGameFolder() {
  const QStringList folders = !settings_.gameFolder.isEmpty() ? QStringList{settings_.gameFolder}
                              : level_
                                  ? render::DefaultGameFolders(FromNativePath(level_->FileName()))
                                  : QStringList{};
  images_.SetFolders(folders);
  tileIcons_.SetFolders(folders);
  pnlTiles_->Reload();
  ShowRecordViews(fieldModel_->Owner());
}

void TfrmMain::ShowMissingImages(int count) {
  lblMissing_->setText(count == 0   ? QString()
                       : count == 1 ? tr("1 image missing")
                                    : tr("%1 images missing").arg(count));
  lblMissing_->setToolTip(tr("Looked up in: %1").arg(images_.Folders().join(QStringLiteral("; "))));
}

void TfrmMain::mnuViewGameFolderClick() {
  const QString current =
      settings_.gameFolder.isEmpty() ? images_.Folders().value(0) : settings_.gameFolder;
  const QString folder = prompt_->ChooseFolder(tr("Game Folder"), current);
  if (folder.isEmpty()) return;
  settings_.gameFolder = folder;
  ApplyGameFolder();
}

void TfrmMain::mnuViewDefaultGameFolderClick() {
  settings_.gameFolder.clear();
  ApplyGameFolder();
}

void TfrmMain::ClearFields() {
  ShowRecordViews({});
  fieldModel_->Show(nullptr, {});
  btnEditText_->hide();
  memScriptText_->hide();
  tvwFields_->show();
}

void TfrmMain::FocusFilter() {
  edtFilter_->setFocus(Qt::ShortcutFocusReason);
  edtFilter_->selectAll();
}

bool TfrmMain::CommitField(const FieldOwner& owner, const std::string& path,
                           const std::string& value) {
  if (!level_ || !level_->Loaded()) return false;
  try {
    Push(new FieldEditCommand(*this, EditField(*level_, owner, path, value)));
  } catch (const std::exception& e) {
    StatusBar1_->showMessage(MessageText(e));
    return false;
  }
  StatusBar1_->clearMessage();
  RecordChanged(owner);
  return true;
}

void TfrmMain::RecordChanged(const FieldOwner& owner) {
  if (!level_) return;
  if (owner.category == Category::Tiles) {
    // A tile's name or picture shows in the palette and on the map.
    pnlTiles_->TileChanged(owner.index);
    pnlMap_->Refresh();
  }
  if (owner.category && owner.category == itemCategory_) {
    itemModel_->RowChanged(static_cast<int>(owner.index));
  }
  const FieldOwner& shown = fieldModel_->Owner();
  const bool general = !shown.category && fieldModel_->Level() != nullptr;
  if (!(owner == shown) &&
      !(general && (!owner.category || owner.category == Category::CustomText))) {
    // An undo or redo of a record shown no longer brings it back into view.
    ShowRecord(NamedRecord{owner.category, owner.index});
    return;
  }
  fieldModel_->Refresh();
  ShowRecordViews(shown);
  if (shown.category && IsScriptCategory(*shown.category)) {
    memScriptText_->setPlainText(ScriptText(shown));
  }
  // A map's description runs to thousands of lines: while the Fields tab is in front it is
  // written when the Details tab comes back.
  detailsStale_ = true;
  if (tabRecord_->currentWidget() == memGeneral_) ShowShownDetails();
}

void TfrmMain::ShowShownDetails() {
  if (!detailsStale_ || !level_ || fieldModel_->Level() == nullptr) return;
  detailsStale_ = false;
  const FieldOwner& shown = fieldModel_->Owner();
  Lines lines;
  if (!shown.category) {
    level_->DescribeInfo(lines);
  } else {
    RecordOf(*level_, *shown.category, shown.index).Describe(lines);
  }
  ShowLines(lines);
}

void TfrmMain::ListChanged(Category category, std::size_t select) {
  ClearResults();
  if (category == Category::Tiles) pnlTiles_->Reload();
  if (itemCategory_ == category) {
    itemModel_->Reload();
    SetEditCommands(false);
  }
  ShowRecord(NamedRecord{category, select});
}

void TfrmMain::lvwItemsEdited(int row, const QString& text) {
  if (!level_ || !itemCategory_ || row < 0 || row >= itemModel_->rowCount()) return;
  const auto index = static_cast<std::size_t>(row);
  std::string before = RecordOf(*level_, *itemCategory_, index).Name();
  std::string after = RenameRecord(*level_, *itemCategory_, index, FromDisplay(text));
  itemModel_->RowChanged(row);
  // A rename to the same text changes nothing and takes no place in the history.
  if (after != before) {
    Push(new RenameCommand(*this, *itemCategory_, index, std::move(before), std::move(after)));
  }
  ShowModified();
}

int TfrmMain::SelectedCategoryRow() const {
  const QModelIndexList rows = lvwType_->selectionModel()->selectedIndexes();
  return rows.isEmpty() ? -1 : rows.first().row();
}

int TfrmMain::SelectedItemRow() const {
  if (!level_ || !itemCategory_) return -1;
  const QModelIndexList rows = lvwItems_->selectionModel()->selectedIndexes();
  return rows.isEmpty() ? -1 : ItemPosition(rows.first());
}

QModelIndex TfrmMain::ItemIndex(int position) const {
  return itemFilter_->mapFromSource(itemModel_->index(position));
}

int TfrmMain::ItemPosition(const QModelIndex& index) const {
  return index.isValid() ? itemFilter_->mapToSource(index).row() : -1;
}

void TfrmMain::SelectItemRow(int row) {
  const QModelIndex index = ItemIndex(row);
  if (lvwItems_->selectionModel()->isSelected(index)) {
    // Selecting it again would change nothing; show its details in place of what the pane
    // shows now.
    lvwItemsSelectItem(row, true);
  } else {
    lvwItems_->setCurrentIndex(index);
  }
  lvwItems_->scrollTo(index);
}

void TfrmMain::MoveSelected(MoveDirection direction) {
  const int row = SelectedItemRow();
  if (row < 0) return;
  const MoveResult moved =
      MoveRecord(*level_, *itemCategory_, static_cast<std::size_t>(row), direction);
  if (!moved.Moved()) return;
  Push(new MoveCommand(*this, *itemCategory_, direction, moved));
  ClearResults();
  itemModel_->RowChanged(static_cast<int>(moved.from));
  itemModel_->RowChanged(static_cast<int>(moved.to));
  SelectItemRow(static_cast<int>(moved.to));
}

void TfrmMain::btnUpClick() {
  MoveSelected(MoveDirection::Up);
}

void TfrmMain::btnDownClick() {
  MoveSelected(MoveDirection::Down);
}

void TfrmMain::btnCopyClick() {
  const int row = SelectedItemRow();
  if (row < 0) return;
  Category target = *itemCategory_;
  if (IsScriptCategory(target)) {
    const std::optional<int> kind = prompt_->CopyScriptTarget(ScriptKindOf(target));
    if (!kind) return;
    target = ScriptCategoryOfKind(*kind);
  }
  CopyResult copied;
  const bool attempted = Attempt(
      [&] { copied = CopyRecord(*level_, *itemCategory_, static_cast<std::size_t>(row), target); });
  if (attempted && copied.Copied()) {
    Push(new CopyCommand(*this, *itemCategory_, static_cast<std::size_t>(row), copied));
  }
  // A copy that copied nothing is no change.
  ShowModified();
  if (!attempted) return;
  if (!copied.Copied()) {
    ShowError(ToDisplay(copied.refusal));
    return;
  }
  // A script copied into another kind has no row here; the selection stays on the source.
  if (copied.category == *itemCategory_) itemModel_->RowAppended();
  SetEditCommands(true);
}

void TfrmMain::btnFindClick() {
  const int row = SelectedItemRow();
  if (row < 0) return;
  BusyCursor busy;
  ShowResults(FindReferences(*level_, *itemCategory_, static_cast<std::size_t>(row)));
}

void TfrmMain::mnuEditCheckClick() {
  if (!level_ || !level_->Loaded()) return;
  BusyCursor busy;
  ShowResults(FindLevelProblems(*level_).lines);
}

void TfrmMain::btnDeleteClick() {
  const int row = SelectedItemRow();
  if (row < 0) return;
  const auto index = static_cast<std::size_t>(row);
  const DeletionCheck check = CheckDeletion(*level_, *itemCategory_, index);
  if (!check.Allowed()) {
    QStringList referrers;
    if (!check.referrer.empty()) {
      ResultLines found = FindReferences(*level_, *itemCategory_, index);
      // The referrers follow the heading and the empty line.
      const int count = static_cast<int>(found.size()) - 2;
      for (int i = 0; i < std::min(count, kRefusalReferrers); ++i) {
        referrers << ToDisplay(found[static_cast<std::size_t>(i) + 2].text);
      }
      if (count > kRefusalReferrers) referrers << tr("and %1 more").arg(count - kRefusalReferrers);
      // Listed where they can be followed once the message is closed; the details pane keeps
      // showing the record.
      ListResults(std::move(found));
    }
    prompt_->Ask(QMessageBox::Warning, tr("Delete"), ToDisplay(check.refusal), QMessageBox::Ok,
                 referrers);
    return;
  }
  if (prompt_->Ask(QMessageBox::Question, tr("Delete"), ToDisplay(check.confirmation),
                   QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok) {
    return;
  }
  DeletionResult deleted = DeleteRecord(*level_, *itemCategory_, index);
  if (!deleted.Deleted()) return;
  Push(new DeleteCommand(*this, *itemCategory_, std::move(deleted)));
  ClearResults();
  // The view would move the selection to the next row before it learns that the rows behind
  // have already moved up; clear it so that nothing shows a record for a row it left.
  lvwItems_->selectionModel()->clear();
  itemModel_->RowRemoved(row);
  // The record that took the removed one's place, or the new last one, as a user expects.
  SelectItemRow(std::min(row, itemModel_->rowCount() - 1));
}

}  // namespace zr3::ui
