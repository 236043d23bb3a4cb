#include "ui/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QUndoStack>
#include <QUndoView>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>

#include "document/leveldocument.h"
#include "document/texts.h"
#include "level/zr3error.h"
#include "render/image_path.h"
#include "ui/categoryrows.h"
#include "ui/conflictcontroller.h"
#include "ui/filecontroller.h"
#include "ui/mappane.h"
#include "ui/recordcontroller.h"
#include "ui/recordviews.h"
#include "ui/scriptcontroller.h"
#include "ui/testplay.h"
#include "ui/tilepalette.h"

namespace zr3::ui {

namespace {

const QString kTitle = QStringLiteral("ZR3Tool");
// How much of the screen a first run fills.
constexpr double kFirstRunShare = 0.7;

// The file's name with the place of the modified marker; a "[*]" inside the name is doubled,
// which the title shows as it is.
QString TitleFor(const QString& name) {
  return QString(name).replace(QStringLiteral("[*]"), QStringLiteral("[*][*]")) +
         QStringLiteral("[*] - ") + kTitle;
}

// The level files a drag carries, or nothing when it carries anything else or more files than
// the window opens at once.
QStringList DroppedLevels(const QMimeData* data, qsizetype most) {
  if (data == nullptr || data->urls().isEmpty() || data->urls().size() > most) return {};
  QStringList files;
  for (const QUrl& url : data->urls()) {
    const QString file = url.toLocalFile();
    if (!file.endsWith(QLatin1String(".zr3"), Qt::CaseInsensitive)) return {};
    files << file;
  }
  return files;
}

// A panel holding widgets one above the other, edge to edge.
QWidget* Column(const char* name, std::initializer_list<QWidget*> widgets) {
  auto* panel = new QWidget;
  panel->setObjectName(QLatin1String(name));
  panel->setMinimumSize(WindowSettings::kMinimumSplit, WindowSettings::kMinimumSplit);
  auto* layout = new QVBoxLayout(panel);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  for (QWidget* widget : widgets) layout->addWidget(widget);
  return panel;
}

}  // namespace

MainWindow::MainWindow(Prompt* prompt, QWidget* parent, WindowSettings* shared)
    : QMainWindow(parent),
      ownPrompt_(prompt ? nullptr : std::make_unique<DialogPrompt>(this)),
      prompt_(prompt ? prompt : ownPrompt_.get()),
      ownSettings_(shared ? nullptr
                          : std::make_unique<WindowSettings>(ReadSettings(*OpenSettingsStore()))),
      settings_(shared ? *shared : *ownSettings_),
      document_(new LevelDocument(this)),
      actions_(CreateWindowActions(*this, *document_->UndoStack())) {
  if (parent != nullptr) setWindowFlags(Qt::Widget);
  setObjectName(QStringLiteral("mainWindow"));
  setWindowTitle(kTitle);
  views_ = new RecordViews(*document_, *prompt_);
  resultsDock_ = new QDockWidget(tr("Results"), this);
  resultsDock_->setObjectName(QStringLiteral("resultsDock"));
  records_ = new RecordController(*document_, *prompt_, *views_, actions_, *this, *resultsDock_);
  files_ = new FileController(*document_, *prompt_, settings_, actions_, *this, this);
  scripts_ = new ScriptController(*document_, *prompt_, settings_, actions_, *files_, *records_,
                                  *views_, this);
  new TestPlayController(*document_, *prompt_, settings_, actions_, *records_, *views_, this);
  CreateLayout();
  ConnectDocument();
  onLevelReplaced();
  ApplySettings();
  setAcceptDrops(true);
}

MainWindow::~MainWindow() {
  WriteSettings(*OpenSettingsStore(), CurrentSettings());
  // The views and the controllers act on the document (an open editor commits as it closes):
  // they go before it.
  delete centralWidget();
  qDeleteAll(findChildren<QDockWidget*>(Qt::FindDirectChildrenOnly));
  delete scripts_;
  delete records_;
  delete files_;
  delete document_;
}

ZR3Level* MainWindow::Level() const {
  return document_->Level();
}

QUndoStack* MainWindow::UndoStack() const {
  return document_->UndoStack();
}

const QStringList& MainWindow::ImageFolders() const {
  return views_->Images().Folders();
}

bool MainWindow::OpenLevel(const QString& path) {
  return files_->OpenLevel(path);
}

QDockWidget* MainWindow::AddDock(const char* name, const QString& title, QWidget* content,
                                 Qt::DockWidgetArea area) {
  QDockWidget* dock = findChild<QDockWidget*>(QLatin1String(name));
  if (dock == nullptr) dock = new QDockWidget(title, this);
  dock->setObjectName(QLatin1String(name));
  dock->setWidget(content);
  addDockWidget(area, dock);
  dock->hide();
  // View lists every dock, so that a closed one can be opened again.
  QAction* toggle = dock->toggleViewAction();
  // "resultsDock" toggles with "actionViewResults".
  QString toggleName = QLatin1String(name).chopped(4);
  toggleName[0] = toggleName[0].toUpper();
  toggle->setObjectName(QStringLiteral("actionView") + toggleName);
  actions_.view->insertAction(actions_.viewDocksEnd, toggle);
  return dock;
}

void MainWindow::CreateLayout() {
  QWidget* categories = Column("categoryPanel", {records_->CategoryList()});
  QWidget* recordPanel = Column("recordPanel", {records_->FilterEdit(), records_->RecordList()});
  browserSplitter_ = new QSplitter(Qt::Vertical);
  browserSplitter_->setObjectName(QStringLiteral("browserSplitter"));
  browserSplitter_->setChildrenCollapsible(false);
  browserSplitter_->addWidget(categories);
  browserSplitter_->addWidget(recordPanel);
  browserSplitter_->setStretchFactor(0, 0);
  browserSplitter_->setStretchFactor(1, 1);

  mainSplitter_ = new QSplitter(Qt::Horizontal);
  mainSplitter_->setObjectName(QStringLiteral("mainSplitter"));
  mainSplitter_->setChildrenCollapsible(false);
  mainSplitter_->addWidget(Column("browser", {browserSplitter_}));
  mainSplitter_->addWidget(views_);
  mainSplitter_->setStretchFactor(0, 0);
  mainSplitter_->setStretchFactor(1, 1);
  setCentralWidget(mainSplitter_);

  auto* conflicts = new ConflictController(*document_, *prompt_, *records_, *views_, *resultsDock_);
  AddDock("resultsDock", tr("Results"), conflicts->DockContent(records_->ResultList()),
          Qt::BottomDockWidgetArea)
      ->setAllowedAreas(Qt::BottomDockWidgetArea | Qt::RightDockWidgetArea);
  auto* history = new QUndoView(document_->UndoStack());
  history->setObjectName(QStringLiteral("historyView"));
  history->setEmptyLabel(tr("<opened>"));
  historyDock_ = AddDock("historyDock", tr("History"), history, Qt::RightDockWidgetArea);
  tiles_ = new TilePalette(tileIcons_);
  tilesDock_ = AddDock("tilesDock", tr("Tile Palette"), tiles_, Qt::RightDockWidgetArea);
  tilesDock_->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);

  statusBar()->setObjectName(QStringLiteral("statusBar"));
  statusBar()->addPermanentWidget(records_->PositionLabel());
  missingLabel_ = new QLabel;
  missingLabel_->setObjectName(QStringLiteral("missingImagesLabel"));
  statusBar()->addPermanentWidget(missingLabel_);

  MapPane* map = views_->MapTab();
  map->View()->SetBrushSource([this] { return tiles_->Tile(); });
  connect(map->View(), &MapView::TilePicked, tiles_, &TilePalette::ChooseTile);
  connect(map->View(), &MapView::ObjectClicked, this, [this](std::size_t object) {
    records_->ShowRecord(NamedRecord{Category::Objects, object});
  });
  connect(map->PaintAction(), &QAction::triggered, tilesDock_, &QDockWidget::show);
  connect(map, &MapPane::TileActivated, this, [this](ZR3ChainRecord* tile) {
    records_->ShowRecord(NamedRecord{Category::Tiles, static_cast<std::size_t>(tile->Position())});
  });
  // Choosing a tile to paint with, in the palette or on the map, takes up the brush.
  connect(tiles_, &TilePalette::TileChosen, this, [this] {
    views_->MapTab()->StartPainting();
    if (views_->MapTab()->View()->Map()) tilesDock_->show();
  });
  connect(views_, &RecordViews::hint, statusBar(),
          [this](const QString& text) { statusBar()->showMessage(text); });
  connect(views_, &RecordViews::refused, this, &MainWindow::ShowRefusal);
  connect(views_, &RecordViews::missingImagesChanged, this, &MainWindow::ShowMissingImages);

  // Exit closes the whole window, with every level it holds.
  connect(actions_.exit, &QAction::triggered, this, [this] { window()->close(); });
  connect(actions_.about, &QAction::triggered, this, &MainWindow::onAbout);
  connect(actions_.shortcuts, &QAction::triggered, this, [this] {
    Lines lines;
    for (const QString& line : ShortcutLines(actions_)) lines.push_back(line.toStdString());
    views_->ShowLines(lines);
    views_->setCurrentWidget(views_->Details());
  });
  connect(actions_.gameFolder, &QAction::triggered, this, &MainWindow::onGameFolder);
  connect(actions_.levelFolder, &QAction::triggered, this, &MainWindow::onLevelFolder);
  // A refusal in the status bar stays until the next command.
  for (QAction* action : findChildren<QAction*>()) {
    connect(action, &QAction::triggered, this, &MainWindow::ClearRefusal);
  }
  connect(records_->RecordList()->selectionModel(), &QItemSelectionModel::currentChanged, this,
          &MainWindow::ClearRefusal);
  connect(qApp, &QGuiApplication::applicationStateChanged, this,
          [this](Qt::ApplicationState state) {
            if (state != Qt::ApplicationActive) onDeactivated();
          });
}

void MainWindow::ConnectDocument() {
  connect(document_, &LevelDocument::levelReplaced, this, &MainWindow::onLevelReplaced);
  connect(document_, &LevelDocument::modifiedChanged, this, &QWidget::setWindowModified);
  connect(document_, &LevelDocument::filePathChanged, this, &MainWindow::ShowTitle);
  connect(document_->UndoStack(), &QUndoStack::indexChanged, this, &MainWindow::ClearRefusal);
  // A tile's name or picture shows in the palette and on the map.
  auto tilesMoved = [this](Category category) {
    if (category == Category::Tiles) tiles_->Reload();
  };
  connect(document_, &LevelDocument::recordsInserted, this, tilesMoved);
  connect(document_, &LevelDocument::recordsRemoved, this, tilesMoved);
  connect(document_, &LevelDocument::recordMoved, this, tilesMoved);
  auto tileChanged = [this](const FieldOwner& owner) {
    if (owner.category != Category::Tiles) return;
    tiles_->TileChanged(owner.index);
    views_->MapTab()->Refresh();
  };
  connect(document_, &LevelDocument::fieldsChanged, this, tileChanged);
  connect(document_, &LevelDocument::recordRenamed, this,
          [tileChanged](Category category, std::size_t index) {
            tileChanged({category, index});
          });
}

void MainWindow::onLevelReplaced() {
  const bool loaded = document_->Loaded();
  tiles_->ShowLevel(loaded ? document_->Level() : nullptr);
  // A level that failed to load holds only what was read before the failure; exporting it
  // would write an almost empty text as if it were the level.
  for (QAction* command :
       {actions_.save, actions_.saveAs, actions_.exportLevel, actions_.exportScripts->menuAction(),
        actions_.importScripts, actions_.compareWith, actions_.checkLevel, actions_.testPlay}) {
    command->setEnabled(loaded);
  }
  ShowTitle();
  ApplyGameFolder();
}

void MainWindow::ShowTitle() {
  // A failed open keeps the title of the level before it.
  if (document_->Loaded()) setWindowTitle(TitleFor(LevelName()));
  setWindowModified(document_->Modified());
}

void MainWindow::ShowStatus(const std::string& text) {
  statusBar()->showMessage(ToDisplay(text));
  // Loading runs without returning to the event loop; paint the message now.
  statusBar()->repaint();
}

void MainWindow::ShowRefusal(const QString& reason) {
  refusal_ = reason;
  statusBar()->showMessage(reason);
}

void MainWindow::ClearRefusal() {
  if (refusal_.isEmpty()) return;
  if (statusBar()->currentMessage() == refusal_) statusBar()->clearMessage();
  refusal_.clear();
}

void MainWindow::onAbout() {
  views_->ShowLines({"ZR3Tool", std::string("Version: ") + ZR3_VERSION,
                     std::string("Qt version: ") + qVersion()});
}

void MainWindow::ApplyGameFolder() {
  const QStringList folders = !settings_.gameFolder.isEmpty() ? QStringList{settings_.gameFolder}
                              : document_->Loaded()
                                  ? render::DefaultGameFolders(document_->FilePath())
                                  : QStringList{};
  views_->Images().SetFolders(folders);
  tileIcons_.SetFolders(folders);
  tiles_->Reload();
  views_->ReloadPictures();
  ShowMissingImages(views_->Images().MissingCount());
}

void MainWindow::ShowMissingImages(int count) {
  missingLabel_->setText(count == 0   ? QString()
                         : count == 1 ? tr("1 image missing")
                                      : tr("%1 images missing").arg(count));
  missingLabel_->setToolTip(
      tr("Looked up in: %1").arg(views_->Images().Folders().join(QStringLiteral("; "))));
}

void MainWindow::onGameFolder() {
  const QString current =
      settings_.gameFolder.isEmpty() ? views_->Images().Folders().value(0) : settings_.gameFolder;
  const QString folder = prompt_->ChooseFolder(tr("Game Folder"), current);
  if (folder.isEmpty()) return;
  settings_.gameFolder = folder;
  ApplyGameFolder();
}

void MainWindow::onLevelFolder() {
  settings_.gameFolder.clear();
  ApplyGameFolder();
}

void PlaceWindow(QWidget& window, const WindowSettings& settings) {
  if (settings.geometry.isEmpty() || !window.restoreGeometry(settings.geometry)) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
    window.resize(settings.sized ? QSize(settings.width, settings.height)
                                 : available.size() * kFirstRunShare);
    QRect frame = window.geometry();
    frame.moveCenter(available.center());
    window.move(frame.topLeft());
  }
  QScreen* screen = QGuiApplication::screenAt(window.geometry().center());
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  if (screen != nullptr) {
    const QRect available = screen->availableGeometry();
    QRect frame = window.geometry();
    frame.setSize(frame.size().boundedTo(available.size()));
    frame.moveLeft(
        std::clamp(frame.left(), available.left(), available.right() - frame.width() + 1));
    frame.moveTop(
        std::clamp(frame.top(), available.top(), available.bottom() - frame.height() + 1));
    window.setGeometry(frame);
  }
  if (settings.maximized) window.setWindowState(window.windowState() | Qt::WindowMaximized);
}

void MainWindow::ApplySettings() {
  // A page of a window that holds several levels leaves the frame to that window.
  if (isWindow()) PlaceWindow(*this, settings_);
  mainSplitter_->setSizes({settings_.hSplit, std::max(width() - settings_.hSplit, 1)});
  browserSplitter_->setSizes({settings_.vSplit, std::max(height() - settings_.vSplit, 1)});
  if (!settings_.dockState.isEmpty()) restoreState(settings_.dockState);
}

WindowSettings MainWindow::CurrentSettings() const {
  WindowSettings current = settings_;
  const QWidget& frame = *window();
  current.maximized = frame.isMaximized();
  if (!current.maximized) {
    current.height = frame.height();
    current.width = frame.width();
  }
  current.hSplit = mainSplitter_->sizes().value(0, current.hSplit);
  current.vSplit = browserSplitter_->sizes().value(0, current.vSplit);
  current.geometry = frame.saveGeometry();
  current.dockState = saveState();
  return current;
}

void MainWindow::SetPlacement(LevelPlacement placement) {
  placesElsewhere_ = static_cast<bool>(placement.open);
  files_->SetPlacement(std::move(placement));
}

QString MainWindow::LevelName() const {
  const QString& path = document_->FilePath();
  return path.isEmpty() ? tr("Untitled") : QFileInfo(path).fileName();
}

bool MainWindow::Blank() const {
  return !document_->Loaded() ||
         (document_->FilePath().isEmpty() && document_->UndoStack()->count() == 0);
}

void MainWindow::StartUp(const QStringList& arguments) {
  const bool restored = files_->OfferRecovery();
  for (const QString& argument : arguments) {
    if (!placesElsewhere_ && restored) break;
    if (!argument.endsWith(QLatin1String(".zr3"), Qt::CaseInsensitive)) continue;
    if (!placesElsewhere_) {
      files_->OpenLevel(argument);
      break;
    }
    files_->Open(argument);
  }
  const QString testEdit = qEnvironmentVariable("ZR3TOOL_TEST_EDIT");
  if (!testEdit.isEmpty()) RunTestEdit(testEdit);
}

void MainWindow::RunTestEdit(const QString& edit) {
  const QStringList parts = edit.split(QLatin1Char('|'));
  if (parts.size() != 4 || !document_->Loaded()) return;
  for (const CategoryRow& row : kCategoryRows) {
    if (ToDisplay(row.caption) != parts[0]) continue;
    QString refusal;
    try {
      refusal = document_->EditField(FieldOwner{row.category, parts[1].toULongLong()},
                                     FromDisplay(parts[2]), FromDisplay(parts[3]));
    } catch (const ZR3Error& error) {
      refusal = MessageText(error);
    }
    if (!refusal.isEmpty()) ShowRefusal(refusal);
  }
  onDeactivated();
}

void MainWindow::onDeactivated() {
  document_->WriteRecovery();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (files_->SaveChangesFirst(tr("Close"))) {
    event->accept();
  } else {
    event->ignore();
  }
}

qsizetype MainWindow::MostDropped() const {
  // Without tabs a level replaces the one open: one at a time.
  return placesElsewhere_ ? std::numeric_limits<qsizetype>::max() : 1;
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (!DroppedLevels(event->mimeData(), MostDropped()).isEmpty()) event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  const QStringList files = DroppedLevels(event->mimeData(), MostDropped());
  if (files.isEmpty()) return;
  event->acceptProposedAction();
  for (const QString& file : files) files_->Open(file);
}

}  // namespace zr3::ui
