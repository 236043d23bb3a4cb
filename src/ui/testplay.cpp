#include "ui/testplay.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

#include "document/leveldocument.h"
#include "document/texts.h"
#include "level/safefile.h"
#include "ui/mappane.h"
#include "ui/mapview.h"
#include "ui/prompt.h"
#include "ui/recordcontroller.h"
#include "ui/recordviews.h"
#include "ui/settings.h"
#include "ui/windowactions.h"

namespace zr3::ui {

QStringList TestPlayCommandLine(const QString& command, const PlayPlace& place) {
  QStringList parts = QProcess::splitCommand(command);
  for (QString& part : parts) {
    part.replace(QLatin1String("%level"), place.level)
        .replace(QLatin1String("%map"), QString::number(place.map))
        .replace(QLatin1String("%x"), QString::number(place.x))
        .replace(QLatin1String("%y"), QString::number(place.y));
  }
  return parts;
}

TestPlayController::TestPlayController(LevelDocument& document, Prompt& prompt,
                                       WindowSettings& settings, const WindowActions& actions,
                                       RecordController& records, RecordViews& views,
                                       QObject* parent)
    : QObject(parent),
      document_(document),
      prompt_(prompt),
      settings_(settings),
      records_(records),
      views_(views) {
  connect(actions.testPlay, &QAction::triggered, this, &TestPlayController::onTestPlay);
  connect(actions.testPlayCommand, &QAction::triggered, this, &TestPlayController::onSetCommand);
}

PlayPlace TestPlayController::Place(const QString& copy) const {
  PlayPlace place{copy};
  if (records_.ShownCategory() == Category::Maps && records_.SelectedRecord() >= 0) {
    place.map = records_.SelectedRecord();
    if (const std::optional<MapCell> cell = views_.MapTab()->View()->SelectedCell()) {
      place.x = cell->column;
      place.y = cell->row;
    }
  }
  return place;
}

void TestPlayController::onSetCommand() {
  const std::optional<QString> command = prompt_.EditText(
      tr("Test Play Command (%level %map %x %y are replaced)"), settings_.testPlayCommand);
  if (command) settings_.testPlayCommand = command->trimmed();
}

void TestPlayController::onTestPlay() {
  if (!document_.Loaded()) return;
  if (settings_.testPlayCommand.trimmed().isEmpty()) {
    prompt_.Ask(QMessageBox::Warning, tr("Test Play"),
                tr("No command runs the game yet: set it with Tools > Test Play Command."),
                QMessageBox::Ok);
    return;
  }
  // One copy per session, in the temporary folder: the author's file is never written.
  if (copy_.isEmpty()) {
    copy_ = QDir::temp().filePath(
        QStringLiteral("zr3tool-test-play-%1.zr3").arg(QCoreApplication::applicationPid()));
  }
  try {
    WriteFileAtomically(ToNativePath(copy_), document_.Level()->SaveToBytes());
  } catch (const std::exception& error) {
    ShowError(prompt_, MessageText(error));
    return;
  }
  QStringList commandLine = TestPlayCommandLine(settings_.testPlayCommand, Place(copy_));
  if (commandLine.isEmpty()) return;
  QProcess process;
  process.setProgram(commandLine.takeFirst());
  process.setArguments(commandLine);
  if (!document_.FilePath().isEmpty()) {
    process.setWorkingDirectory(QFileInfo(document_.FilePath()).absolutePath());
  }
  if (!process.startDetached()) {
    ShowError(prompt_, tr("Cannot run %1: %2").arg(process.program(), process.errorString()));
  }
}

}  // namespace zr3::ui
