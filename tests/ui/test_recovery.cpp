// Crash recovery: the editor, run as a program of its own, is killed after an edit; the next
// start offers the changes back, and saving them writes exactly what saving before the kill
// would have written.
#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

#include "document/leveldocument.h"
#include "fake_prompt.h"
#include "support/edit_levels.h"
#include "ui_test_support.h"

namespace {

// The notes of the recovery copies under a data folder.
QStringList RecoveryNotes(const QString& dataFolder) {
  QStringList notes;
  QDirIterator files(dataFolder, {QStringLiteral("*.recovery")}, QDir::Files,
                     QDirIterator::Subdirectories);
  while (files.hasNext()) notes << files.next();
  return notes;
}

QByteArray FileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class TestRecovery : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    // The program and this test share the data and settings folders, never the user's.
    QVERIFY(home_.isValid());
    qputenv("XDG_DATA_HOME", home_.filePath(QStringLiteral("data")).toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", home_.filePath(QStringLiteral("config")).toLocal8Bit());
    QCoreApplication::setOrganizationName(QStringLiteral("Hollowtree"));
    QCoreApplication::setApplicationName(QStringLiteral("ZR3Tool"));
  }

  void aKilledEditorsChangesComeBackByteForByte() {
    const QString level = home_.filePath(QStringLiteral("demo.zr3"));
    zr3test::World().WriteTo(level.toStdString());
    // What saving the edit before the kill would have written.
    zr3::ZR3Level expected;
    expected.Load(level.toStdString());
    expected.List(zr3::Category::Items)[0]->SetField(expected, "cost", "7");
    const std::string wanted = expected.SaveToBytes();
    const QByteArray written = FileBytes(level);

    QProcess editor;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("ZR3TOOL_TEST_EDIT"), QStringLiteral("Items|0|cost|7"));
    editor.setProcessEnvironment(environment);
    editor.start(QStringLiteral(ZR3TOOL_PATH), {level});
    QVERIFY(editor.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(!RecoveryNotes(home_.path()).isEmpty(), 20000);
    ::kill(static_cast<pid_t>(editor.processId()), SIGKILL);
    QVERIFY(editor.waitForFinished());
    QCOMPARE(editor.exitStatus(), QProcess::CrashExit);
    // The level itself was never touched.
    QCOMPARE(FileBytes(level), written);

    FakePrompt prompt;
    prompt.answers = {QMessageBox::Yes};
    zr3::ui::MainWindow window(&prompt);
    window.StartUp({});
    QCOMPARE(prompt.questions.size(), std::size_t{1});
    QCOMPARE(prompt.questions[0].caption, QStringLiteral("Recover"));
    QVERIFY(QRegularExpression(
                QStringLiteral("^Restore unsaved changes to demo\\.zr3 from \\d\\d:\\d\\d\\?$"))
                .match(prompt.questions[0].text)
                .hasMatch());
    QVERIFY(window.isWindowModified());
    QCOMPARE(ShownTitle(window), QStringLiteral("demo.zr3* - ZR3Tool"));
    ActionOf(window, "actionSave")->trigger();
    QVERIFY(!window.isWindowModified());
    QVERIFY(FileBytes(level).toStdString() == wanted);
    // Saved: nothing is offered again.
    QVERIFY(RecoveryNotes(home_.path()).isEmpty());
  }

  void declinedChangesAreDropped() {
    const QString level = home_.filePath(QStringLiteral("other.zr3"));
    zr3test::World().WriteTo(level.toStdString());
    {
      FakePrompt prompt;
      zr3::ui::MainWindow window(&prompt);
      QVERIFY(window.OpenLevel(level));
      QVERIFY(window.Document().EditField({zr3::Category::Items, 0}, "cost", "3").isEmpty());
      window.onDeactivated();
      QCOMPARE(RecoveryNotes(home_.path()).size(), 1);
      // Left behind as a crash would leave it: the window goes without being closed.
    }
    FakePrompt prompt;
    prompt.answers = {QMessageBox::No};
    zr3::ui::MainWindow window(&prompt);
    window.StartUp({});
    QCOMPARE(prompt.questions.size(), std::size_t{1});
    QCOMPARE(window.Level(), nullptr);
    QVERIFY(RecoveryNotes(home_.path()).isEmpty());
  }

 private:
  QTemporaryDir home_;
};

QTEST_MAIN(TestRecovery)
#include "test_recovery.moc"
