#include "ui/prompt.h"

#include <QDir>
#include <QFileDialog>
#include <QTextDocument>

#include "ui/copyscript.h"

namespace zr3::ui {

namespace {

QString RunFileDialog(QWidget* parent, const FileDialogRequest& request,
                      QFileDialog::AcceptMode mode) {
  QFileDialog dialog(parent, request.title,
                     request.folder.isEmpty() ? QDir::currentPath() : request.folder,
                     request.filter);
  dialog.setObjectName(request.name);
  dialog.setAcceptMode(mode);
  dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                     : QFileDialog::AnyFile);
  dialog.setDefaultSuffix(request.defaultSuffix);
  if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);
  // Qt's own dialog adds the default suffix before it asks whether to replace a file; some
  // native ones add it only afterwards, which would replace "castle.zr3" without asking.
  if (mode == QFileDialog::AcceptSave) dialog.setOption(QFileDialog::DontUseNativeDialog);
  if (dialog.exec() != QDialog::Accepted) return {};
  return dialog.selectedFiles().value(0);
}

}  // namespace

QMessageBox::StandardButton DialogPrompt::Ask(QMessageBox::Icon icon, const QString& caption,
                                              const QString& text,
                                              QMessageBox::StandardButtons buttons,
                                              const QStringList& details) {
  QMessageBox box(icon, caption, text, buttons, parent_);
  // Level texts are shown as they are, never read as markup.
  box.setTextFormat(Qt::PlainText);
  if (!details.isEmpty()) box.setInformativeText(Qt::convertFromPlainText(details.join('\n')));
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

QString DialogPrompt::OpenFile(const FileDialogRequest& request) {
  return RunFileDialog(parent_, request, QFileDialog::AcceptOpen);
}

QString DialogPrompt::SaveFile(const FileDialogRequest& request) {
  return RunFileDialog(parent_, request, QFileDialog::AcceptSave);
}

std::optional<int> DialogPrompt::CopyScriptTarget(int current) {
  TfrmCopyScript dialog(parent_);
  dialog.SetTarget(current);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.GetTarget();
}

}  // namespace zr3::ui
