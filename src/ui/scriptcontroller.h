#pragma once

#include <QObject>
#include <functional>

#include "level/text.h"

namespace zr3 {
class ByteWriter;
class LevelDocument;
class ZR3Importer;
}  // namespace zr3

namespace zr3::ui {

class FileController;
class Prompt;
class RecordController;
class RecordViews;
struct WindowActions;
struct WindowSettings;

// The script commands: exporting scripts as text, importing script text, and editing the
// shown script as text.
class ScriptController : public QObject {
  Q_OBJECT

 public:
  ScriptController(LevelDocument& document, Prompt& prompt, WindowSettings& settings,
                   const WindowActions& actions, FileController& files, RecordController& records,
                   RecordViews& views, QObject* parent);

  // Reads script text into the level and shows the import's report.
  void ImportScripts(const QString& path);
  // Opens the shown script's text in a text editor and imports it back on OK.
  void onEditAsText();

  void onExportSelected();
  void onExportType();
  void onExportAll();
  void onImport();

 private:
  // Writes the script text that produce appends into a file the user chooses.
  void ExportScripts(const std::function<void(ByteWriter&)>& produce);
  // Runs an import as one step of the history and shows its report; false when it failed.
  bool RunImport(const std::function<void(ZR3Importer&)>& import, const QString& change);

  LevelDocument& document_;
  Prompt& prompt_;
  WindowSettings& settings_;
  FileController& files_;
  RecordController& records_;
  RecordViews& views_;
};

}  // namespace zr3::ui
