#include "ui/scriptcontroller.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QPushButton>

#include "document/levelcommands.h"
#include "document/leveldocument.h"
#include "document/texts.h"
#include "edit/script_import_edit.h"
#include "level/bytes.h"
#include "level/safefile.h"
#include "level/zr3error.h"
#include "script/zr3importer.h"
#include "script/zr3script.h"
#include "ui/busycursor.h"
#include "ui/categoryrows.h"
#include "ui/filecontroller.h"
#include "ui/prompt.h"
#include "ui/recordcontroller.h"
#include "ui/recordviews.h"
#include "ui/settings.h"
#include "ui/windowactions.h"

namespace zr3::ui {

namespace {

QString FolderOf(const QString& path) {
  return QDir::toNativeSeparators(QFileInfo(path).absolutePath() + QLatin1Char('/'));
}

}  // namespace

ScriptController::ScriptController(LevelDocument& document, Prompt& prompt,
                                   WindowSettings& settings, const WindowActions& actions,
                                   FileController& files, RecordController& records,
                                   RecordViews& views, QObject* parent)
    : QObject(parent),
      document_(document),
      prompt_(prompt),
      settings_(settings),
      files_(files),
      records_(records),
      views_(views) {
  connect(actions.exportSelectedScript, &QAction::triggered, this,
          &ScriptController::onExportSelected);
  connect(actions.exportScriptType, &QAction::triggered, this, &ScriptController::onExportType);
  connect(actions.exportAllScripts, &QAction::triggered, this, &ScriptController::onExportAll);
  connect(actions.importScripts, &QAction::triggered, this, &ScriptController::onImport);
  connect(views_.EditAsTextButton(), &QPushButton::clicked, this, &ScriptController::onEditAsText);
}

void ScriptController::ExportScripts(const std::function<void(ByteWriter&)>& produce) {
  FileDialogRequest request = files_.ExportRequest(settings_.importPath);
  request.title = tr("Export Scripts");
  const QString path = ChooseSaveFile(prompt_, request);
  if (path.isEmpty()) return;
  QString error;
  {
    BusyCursor busy;
    try {
      WriteFileAtomically(ToNativePath(path), produce);
    } catch (const std::exception& e) {
      error = MessageText(e);
    }
  }
  if (!error.isEmpty()) ShowError(prompt_, error);
  // The import looks where the scripts went, whether or not the write worked.
  settings_.importPath = FolderOf(path);
}

void ScriptController::onExportSelected() {
  if (!document_.Loaded()) return;
  const int position = records_.SelectedRecord();
  const std::optional<Category> category = records_.ShownCategory();
  if (position < 0 || !category || !IsScriptCategory(*category)) {
    prompt_.Ask(QMessageBox::Warning, tr("Export"), tr("No script selected."), QMessageBox::Ok);
    return;
  }
  ExportScripts([&](ByteWriter& out) {
    WriteScriptText(
        static_cast<const ZR3Script&>(RecordOf(*document_.Level(), *category, position)), out);
  });
}

void ScriptController::onExportType() {
  if (!document_.Loaded()) return;
  const std::optional<Category> category = CategoryOfRow(records_.SelectedCategoryRow());
  if (!category || !IsScriptCategory(*category)) {
    prompt_.Ask(QMessageBox::Warning, tr("Export"), tr("Script type not selected."),
                QMessageBox::Ok);
    return;
  }
  ExportScripts([&](ByteWriter& out) { ExportScriptList(*document_.Level(), *category, out); });
}

void ScriptController::onExportAll() {
  if (!document_.Loaded()) return;
  ExportScripts([&](ByteWriter& out) { ExportAllScripts(*document_.Level(), out); });
}

void ScriptController::onImport() {
  if (!document_.Loaded()) return;
  const QString path = prompt_.OpenFile({.name = QStringLiteral("dlgImport"),
                                         .title = tr("Import Scripts"),
                                         .filter = tr("ZR3 Script Files (*.txt);;All Files (*.*)"),
                                         .folder = settings_.importPath});
  if (!path.isEmpty()) ImportScripts(path);
}

void ScriptController::ImportScripts(const QString& path) {
  if (!document_.Loaded()) return;
  RunImport([&](ZR3Importer& importer) { importer.Import(ToNativePath(path)); },
            tr("Import Scripts from %1").arg(QFileInfo(path).fileName()));
  settings_.importPath = FolderOf(path);
}

bool ScriptController::RunImport(const std::function<void(ZR3Importer&)>& import,
                                 const QString& change) {
  Lines report;
  bool imported = false;
  {
    BusyCursor busy;
    imported = document_.ImportScripts(import, change, report);
  }
  views_.ShowLines(report);
  // The import's report, with its warnings, in front.
  views_.setCurrentWidget(views_.Details());
  return imported;
}

void ScriptController::onEditAsText() {
  const FieldOwner owner = views_.Owner();
  if (!document_.Loaded() || !views_.Showing() || !owner.category ||
      !IsScriptCategory(*owner.category)) {
    return;
  }
  const QString caption = RecordCaption(*document_.Level(), owner);
  const std::optional<QString> edited =
      prompt_.EditScriptText(tr("Edit %1").arg(caption), views_.ScriptTextOf(owner),
                             {document_.Level(), owner.category, owner.index});
  if (!edited) return;
  // Script text files end their lines with CR LF, as the export writes them.
  QString text = *edited;
  text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  std::string bytes;
  try {
    bytes = FromDisplay(text);
  } catch (const ZR3Error& error) {
    ShowError(prompt_, MessageText(error));
    return;
  }
  // A new name in the script's header renames this script in the same step as its body.
  RunImport(
      [&](ZR3Importer& importer) {
        ImportOwnScriptText(importer, *document_.Level(), *owner.category, owner.index, bytes);
      },
      tr("Edit %1 as Text").arg(caption));
}

}  // namespace zr3::ui
