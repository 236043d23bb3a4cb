#include <QDockWidget>
#include <QFileInfo>
#include <QMenu>
#include <QScreen>
#include <QSplitter>
#include <cstdlib>
#include <memory>

#include "fake_prompt.h"
#include "ui/settings.h"
#include "ui_test_support.h"

using zr3::ui::MainWindow;
using zr3::ui::ReadSettings;
using zr3::ui::WindowSettings;

namespace {

std::unique_ptr<QSettings> Store() {
  return zr3::ui::OpenSettingsStore();
}

int LeftPanelWidth(const MainWindow& window) {
  return window.findChild<QWidget*>(QStringLiteral("browser"))->width();
}

int CategoryPanelHeight(const MainWindow& window) {
  return window.findChild<QWidget*>(QStringLiteral("categoryPanel"))->height();
}

}  // namespace

class TestSettings : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { IsolateSettings(settingsFolder_); }
  void init() { QFile::remove(SettingsFile()); }

  void storeLivesInTheTestFolder() { QVERIFY(SettingsFile().startsWith(settingsFolder_.path())); }

  void firstRunFillsMostOfTheScreenAndCreatesTheKeyAtExit() {
    FakePrompt prompt;
    auto window = std::make_unique<MainWindow>(&prompt);
    QVERIFY(!QFileInfo::exists(SettingsFile()));
    window->show();
    const QRect screen = window->screen()->availableGeometry();
    QCOMPARE(window->size(), screen.size() * 0.7);
    QVERIFY(std::abs(window->geometry().center().x() - screen.center().x()) <= 1);
    QVERIFY(std::abs(window->geometry().center().y() - screen.center().y()) <= 1);
    QCOMPARE(LeftPanelWidth(*window), 180);
    QCOMPARE(CategoryPanelHeight(*window), 105);
    // The first category is chosen, ready for the first level.
    QCOMPARE(CategoryList(*window)->currentRow(), zr3::ui::kGeneralRow);
    const QSize size = window->size();
    window.reset();

    QVERIFY(QFileInfo::exists(SettingsFile()));
    const std::unique_ptr<QSettings> store = Store();
    QCOMPARE(store->allKeys().size(), 10);
    QCOMPARE(store->value("DefaultPath").toString(), QString());
    QCOMPARE(store->value("ImportPath").toString(), QString());
    QCOMPARE(store->value("ExportPath").toString(), QString());
    QCOMPARE(store->value("Maximized").toInt(), 0);
    QCOMPARE(store->value("Height").toInt(), size.height());
    QCOMPARE(store->value("Width").toInt(), size.width());
    QCOMPARE(store->value("HSplit").toInt(), 180);
    QCOMPARE(store->value("VSplit").toInt(), 105);
    QVERIFY(!store->value("Geometry").toByteArray().isEmpty());
    QVERIFY(!store->value("DockState").toByteArray().isEmpty());
  }

  void theDocksAndThePlaceComeBackAndStayOnTheScreen() {
    QRect placed;
    {
      FakePrompt prompt;
      MainWindow window(&prompt);
      window.show();
      window.setGeometry(40, 30, 500, 380);
      // Results closed and reopened from View; History shown and moved to the left.
      window.findChild<QDockWidget*>(QStringLiteral("historyDock"))->show();
      window.addDockWidget(Qt::LeftDockWidgetArea,
                           window.findChild<QDockWidget*>(QStringLiteral("historyDock")));
      ActionOf(window, "actionViewResults")->trigger();
      QVERIFY(window.findChild<QDockWidget*>(QStringLiteral("resultsDock"))->isVisible());
      placed = window.geometry();
    }
    FakePrompt prompt;
    MainWindow again(&prompt);
    again.show();
    QCOMPARE(again.geometry(), placed);
    auto* history = again.findChild<QDockWidget*>(QStringLiteral("historyDock"));
    QVERIFY(history->isVisible());
    QCOMPARE(again.dockWidgetArea(history), Qt::LeftDockWidgetArea);
    QVERIFY(again.findChild<QDockWidget*>(QStringLiteral("resultsDock"))->isVisible());
    QVERIFY(!again.findChild<QDockWidget*>(QStringLiteral("tilesDock"))->isVisible());
    // View lists every dock.
    for (const char* toggle : {"actionViewResults", "actionViewHistory", "actionViewTiles"}) {
      QVERIFY(again.findChild<QMenu*>(QStringLiteral("menuView"))
                  ->actions()
                  .contains(ActionOf(again, toggle)));
    }

    // A place no screen shows any more comes back onto the screen.
    {
      const std::unique_ptr<QSettings> store = Store();
      store->remove("Geometry");
      store->setValue("Width", 400);
      store->setValue("Height", 300);
    }
    again.move(5000, 4000);
    const QRect screen = again.screen()->availableGeometry();
    QVERIFY(!screen.contains(again.geometry()));
    const QByteArray far = again.saveGeometry();
    Store()->setValue("Geometry", far);
    MainWindow moved(&prompt);
    moved.show();
    QVERIFY(screen.contains(moved.geometry()));
  }

  void storedValuesComeBackInTheNextRun() {
    QTemporaryDir folder;
    const QString level = WriteLevel(folder, "town.zr3");
    {
      FakePrompt prompt;
      MainWindow window(&prompt);
      window.show();
      window.resize(600, 400);
      window.findChild<QSplitter*>(QStringLiteral("mainSplitter"))->setSizes({150, 450});
      QVERIFY(window.OpenLevel(level));
      prompt.folders.push_back(folder.path());
      ActionOf(window, "actionGameFolder")->trigger();
    }
    const WindowSettings read = ReadSettings(*Store());
    QCOMPARE(read.defaultPath, QDir::toNativeSeparators(folder.path() + "/"));
    QCOMPARE(read.width, 600);
    QCOMPARE(read.height, 400);
    QCOMPARE(read.hSplit, 150);
    QCOMPARE(read.gameFolder, folder.path());

    FakePrompt prompt;
    MainWindow again(&prompt);
    again.show();
    QCOMPARE(again.size(), QSize(600, 400));
    QCOMPARE(LeftPanelWidth(again), 150);
    QCOMPARE(again.DefaultPath(), read.defaultPath);
  }

  void smallSizesAreClamped() {
    {
      const std::unique_ptr<QSettings> store = Store();
      store->setValue("DefaultPath", "/levels/");
      store->setValue("Maximized", 0);
      store->setValue("Height", 10);
      store->setValue("Width", 2);
      store->setValue("HSplit", 5);
      store->setValue("VSplit", -4);
    }
    const WindowSettings read = ReadSettings(*Store());
    QCOMPARE(read.height, 50);
    QCOMPARE(read.width, 30);
    QCOMPARE(read.hSplit, 30);
    QCOMPARE(read.vSplit, 30);

    {
      const std::unique_ptr<QSettings> store = Store();
      store->setValue("Height", 498);
      store->setValue("Width", 655);
    }
    FakePrompt prompt;
    MainWindow window(&prompt);
    window.show();
    QCOMPARE(LeftPanelWidth(window), 30);
    QCOMPARE(CategoryPanelHeight(window), 30);
  }

  void aMistypedValueEndsTheReading() {
    {
      const std::unique_ptr<QSettings> store = Store();
      store->setValue("DefaultPath", "/levels/");
      store->setValue("Maximized", 0);
      store->setValue("Height", 400);
      store->setValue("Width", "wide");
      store->setValue("HSplit", 100);
      store->setValue("VSplit", 90);
      store->setValue("ImportPath", "/scripts/");
      store->setValue("GameFolder", "/game/");
    }
    WindowSettings read = ReadSettings(*Store());
    // The game folder is read on its own.
    QCOMPARE(read.gameFolder, QStringLiteral("/game/"));
    QCOMPARE(read.defaultPath, QStringLiteral("/levels/"));
    QCOMPARE(read.height, 400);
    QCOMPARE(read.width, 655);
    QCOMPARE(read.hSplit, 180);
    QCOMPARE(read.vSplit, 105);
    QCOMPARE(read.importPath, QString());

    // A missing number ends it too; a missing path reads as empty and goes on.
    {
      const std::unique_ptr<QSettings> store = Store();
      store->remove("DefaultPath");
      store->setValue("Width", 500);
      store->remove("HSplit");
    }
    read = ReadSettings(*Store());
    QCOMPARE(read.width, 500);
    QCOMPARE(read.hSplit, 180);
    QCOMPARE(read.vSplit, 105);

    // A path stored as a list is of another type.
    {
      const std::unique_ptr<QSettings> store = Store();
      store->setValue("HSplit", 100);
      store->setValue("ImportPath", QStringList{"a", "b"});
      store->setValue("ExportPath", "/text/");
    }
    read = ReadSettings(*Store());
    QCOMPARE(read.vSplit, 90);
    QCOMPARE(read.importPath, QString());
    QCOMPARE(read.exportPath, QString());
  }

  void aMaximizedWindowSkipsHeightAndWidth() {
    {
      const std::unique_ptr<QSettings> store = Store();
      store->setValue("Maximized", 1);
      store->setValue("Height", "tall");
      store->setValue("Width", 300);
      store->setValue("HSplit", 77);
      store->setValue("VSplit", 66);
    }
    const WindowSettings read = ReadSettings(*Store());
    QVERIFY(read.maximized);
    QCOMPARE(read.width, 655);
    QCOMPARE(read.hSplit, 77);
    QCOMPARE(read.vSplit, 66);

    QFile::remove(SettingsFile());
    WindowSettings maximized;
    maximized.maximized = true;
    zr3::ui::WriteSettings(*Store(), maximized);
    const std::unique_ptr<QSettings> store = Store();
    QVERIFY(!store->contains("Height"));
    QVERIFY(!store->contains("Width"));
    QCOMPARE(store->value("Maximized").toInt(), 1);
    QCOMPARE(store->value("HSplit").toInt(), 180);
  }

 private:
  QTemporaryDir settingsFolder_;
};

QTEST_MAIN(TestSettings)
#include "test_settings.moc"
