#include <QTemporaryDir>

#include "fake_prompt.h"
#include "support/map_builder.h"
#include "ui_test_support.h"

using zr3::ui::MainWindow;

class TestCheckLevel : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { IsolateSettings(settingsFolder_); }

  void checkLevelNeedsAnOpenLevel() {
    FakePrompt prompt;
    MainWindow window(&prompt);
    QAction* check = ActionOf(window, "actionCheckLevel");
    QCOMPARE(check->text(), QStringLiteral("Check &Level"));
    QVERIFY(!check->isEnabled());
  }

  void checkLevelShowsTheProblemsInTheDetailsPane() {
    zr3test::LevelBuilder builder;
    zr3test::MapFields town = zr3test::NamedMap("Town", 1, 1);
    town.borders[0] = 5;  // no tile carries 5
    builder.Add(zr3::Category::Maps, zr3test::MapRecord(town));
    QTemporaryDir folder;
    FakePrompt prompt;
    MainWindow window(&prompt);
    QVERIFY(window.OpenLevel(WriteLevel(folder, "town.zr3", builder)));
    Details(window)->setPlainText(QStringLiteral("something else"));

    QAction* check = ActionOf(window, "actionCheckLevel");
    QVERIFY(check->isEnabled());
    check->trigger();
    QCOMPARE(Details(window)->toPlainText(),
             QStringLiteral("Maps 0 \"Town\", Border N = 05 00 00 00: no tile has this "
                            "identifier; next save: written as 0\nProblems: 1"));
    QVERIFY(prompt.questions.empty());
    QVERIFY(!window.Level()->Modified());
  }

 private:
  QTemporaryDir settingsFolder_;
};

QTEST_MAIN(TestCheckLevel)
#include "test_check_level.moc"
