#include "ui/prompt.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QVBoxLayout>

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

void ShowError(Prompt& prompt, const QString& message) {
  prompt.Ask(QMessageBox::Critical, QObject::tr("Error"), message, QMessageBox::Ok);
}

QString ChooseSaveFile(Prompt& prompt, const FileDialogRequest& request) {
  const QString chosen = prompt.SaveFile(request);
  if (chosen.isEmpty() || !QFileInfo(chosen).suffix().isEmpty()) return chosen;
  // The dialog normally adds the suffix before its own question; when it did not, the
  // question about the final name is asked here.
  const QString path = chosen + QLatin1Char('.') + request.defaultSuffix;
  if (QFileInfo::exists(path) &&
      prompt.Ask(QMessageBox::Warning, request.title,
                 QObject::tr("%1 already exists.\nDo you want to replace it?")
                     .arg(QFileInfo(path).fileName()),
                 QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes) {
    return {};
  }
  return path;
}

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

QString DialogPrompt::ChooseFolder(const QString& title, const QString& current) {
  return QFileDialog::getExistingDirectory(parent_, title, current);
}

std::optional<int> DialogPrompt::CopyScriptTarget(int current) {
  TfrmCopyScript dialog(parent_);
  dialog.SetTarget(current);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.GetTarget();
}

std::optional<QString> DialogPrompt::EditScriptText(const QString& title, const QString& text,
                                                    const ScriptEditContext& context) {
  ScriptEditDialog dialog(title, text, context, parent_);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Text();
}

std::optional<QString> DialogPrompt::EditText(const QString& title, const QString& text) {
  QDialog dialog(parent_);
  dialog.setObjectName(QStringLiteral("dlgEditText"));
  dialog.setWindowTitle(title);
  auto* editor = new QPlainTextEdit(text);
  editor->setObjectName(QStringLiteral("textEditor"));
  editor->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  editor->setLineWrapMode(QPlainTextEdit::NoWrap);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(editor);
  layout->addWidget(buttons);
  dialog.resize(640, 480);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return editor->toPlainText();
}

std::optional<QColor> DialogPrompt::ChooseColour(const QString& title, const QColor& initial) {
  const QColor chosen = QColorDialog::getColor(initial, parent_, title);
  if (!chosen.isValid()) return std::nullopt;
  return chosen;
}

}  // namespace zr3::ui
