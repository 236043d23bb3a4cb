#include "ui/leveltabs.h"

#include <QCloseEvent>
#include <QFileInfo>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "document/leveldocument.h"
#include "ui/filecontroller.h"
#include "ui/mainwindow.h"
#include "ui/settings.h"

namespace zr3::ui {

namespace {

// Whether the page holds the level file at path.
bool Holds(const MainWindow& page, const QString& path) {
  const QString held = page.Document().FilePath();
  if (held.isEmpty() || !page.Document().Loaded()) return false;
  const QFileInfo a(held);
  const QFileInfo b(path);
  const QString canonical = a.canonicalFilePath();
  return canonical.isEmpty() ? a.absoluteFilePath() == b.absoluteFilePath()
                             : canonical == b.canonicalFilePath();
}

}  // namespace

LevelTabs::LevelTabs(Prompt* prompt, QWidget* parent)
    : QWidget(parent),
      prompt_(prompt),
      settings_(ReadSettings(*OpenSettingsStore())),
      tabs_(new QTabWidget(this)) {
  setObjectName(QStringLiteral("levelTabs"));
  tabs_->setObjectName(QStringLiteral("levelTabWidget"));
  tabs_->setDocumentMode(true);
  tabs_->setTabsClosable(true);
  tabs_->setMovable(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(tabs_);
  connect(tabs_, &QTabWidget::currentChanged, this, &LevelTabs::ShowTitle);
  connect(tabs_, &QTabWidget::tabCloseRequested, this, &LevelTabs::ClosePage);
  AddPage();
  PlaceWindow(*this, settings_);
}

LevelTabs::~LevelTabs() {
  // Each page keeps the window's frame in the settings as it goes: while the window is whole.
  while (tabs_->count() > 0) delete tabs_->widget(0);
}

int LevelTabs::Count() const {
  return tabs_->count();
}

MainWindow* LevelTabs::Page(int index) const {
  return static_cast<MainWindow*>(tabs_->widget(index));
}

MainWindow* LevelTabs::Current() const {
  return static_cast<MainWindow*>(tabs_->currentWidget());
}

void LevelTabs::SetCurrent(int index) {
  tabs_->setCurrentIndex(index);
}

MainWindow* LevelTabs::AddPage() {
  auto* page = new MainWindow(prompt_, tabs_, &settings_);
  page->SetPlacement({.open = [this](const QString& path) { Open(path); },
                      .newLevel = [this] { NewLevel(); },
                      .restore = [this](const RecoveredLevel& left) { return Restore(left); }});
  connect(page, &QWidget::windowTitleChanged, this, [this, page] { ShowTabText(page); });
  connect(&page->Document(), &LevelDocument::modifiedChanged, this,
          [this, page] { ShowTabText(page); });
  tabs_->setCurrentIndex(tabs_->addTab(page, QString()));
  ShowTabText(page);
  return page;
}

void LevelTabs::RemovePage(MainWindow* page) {
  tabs_->removeTab(tabs_->indexOf(page));
  delete page;
  // The window always has a page to open the next level from.
  if (tabs_->count() == 0) AddPage();
}

MainWindow* LevelTabs::PageForLevel() {
  MainWindow* current = Current();
  return current != nullptr && current->Blank() ? current : AddPage();
}

template <class Load>
void LevelTabs::PlaceLevel(Load load) {
  const bool added = Current() == nullptr || !Current()->Blank();
  MainWindow* page = PageForLevel();
  if (!load(*page->Files()) && added) RemovePage(page);
}

void LevelTabs::Open(const QString& path) {
  for (int i = 0; i < tabs_->count(); ++i) {
    if (Holds(*Page(i), path)) {
      tabs_->setCurrentIndex(i);
      return;
    }
  }
  PlaceLevel([&](FileController& files) { return files.OpenLevel(path); });
}

void LevelTabs::NewLevel() {
  PlaceLevel([](FileController& files) {
    files.NewLevel();
    return true;
  });
}

bool LevelTabs::Restore(const RecoveredLevel& left) {
  bool restored = false;
  PlaceLevel([&](FileController& files) { return restored = files.Restore(left); });
  return restored;
}

void LevelTabs::StartUp(const QStringList& arguments) {
  Current()->StartUp(arguments);
}

bool LevelTabs::ClosePage(int index) {
  MainWindow* page = Page(index);
  if (page == nullptr) return true;
  tabs_->setCurrentIndex(index);
  if (!page->Files()->SaveChangesFirst(tr("Close"))) return false;
  RemovePage(page);
  return true;
}

void LevelTabs::closeEvent(QCloseEvent* event) {
  for (int i = 0; i < tabs_->count(); ++i) {
    if (!Page(i)->Document().Modified()) continue;
    tabs_->setCurrentIndex(i);
    if (!Page(i)->Files()->SaveChangesFirst(tr("Close"))) {
      event->ignore();
      return;
    }
  }
  event->accept();
}

void LevelTabs::ShowTitle() {
  const MainWindow* page = Current();
  if (page == nullptr) return;
  setWindowTitle(page->windowTitle());
  setWindowModified(page->Document().Modified());
}

void LevelTabs::ShowTabText(MainWindow* page) {
  const int index = tabs_->indexOf(page);
  if (index < 0) return;
  const LevelDocument& document = page->Document();
  QString text = document.Loaded() ? page->LevelName() : tr("No level");
  if (document.Modified()) text += QLatin1Char('*');
  tabs_->setTabText(index, text);
  tabs_->setTabToolTip(index, document.FilePath());
  if (page == Current()) ShowTitle();
}

}  // namespace zr3::ui
