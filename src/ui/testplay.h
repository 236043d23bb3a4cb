#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

namespace zr3 {
class LevelDocument;
}

namespace zr3::ui {

class Prompt;
class RecordController;
class RecordViews;
struct WindowActions;
struct WindowSettings;

// Where the game starts: the level file, and the map and cell chosen in the window.
struct PlayPlace {
  QString level;
  int map = 0;
  int x = 0;
  int y = 0;
};

// The program and its arguments for a test play: the command is split as a shell would split
// it, and %level, %map, %x and %y in each argument are replaced. An empty list for an empty
// command.
QStringList TestPlayCommandLine(const QString& command, const PlayPlace& place);

// Tools > Test Play: saves the level to a copy of its own (never over the author's file) and
// starts the game's command on it without waiting for it; Tools > Test Play Command sets the
// command.
class TestPlayController : public QObject {
  Q_OBJECT

 public:
  TestPlayController(LevelDocument& document, Prompt& prompt, WindowSettings& settings,
                     const WindowActions& actions, RecordController& records, RecordViews& views,
                     QObject* parent);

  // The copy the last test play wrote (empty before the first).
  const QString& CopyPath() const { return copy_; }

  void onTestPlay();
  void onSetCommand();

 private:
  PlayPlace Place(const QString& copy) const;

  LevelDocument& document_;
  Prompt& prompt_;
  WindowSettings& settings_;
  RecordController& records_;
  RecordViews& views_;
  QString copy_;
};

}  // namespace zr3::ui
