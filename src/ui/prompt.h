#pragma once

#include <QColor>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <optional>

#include "ui/scripteditdialog.h"

class QWidget;

namespace zr3::ui {

// What a file dialog shows. The filter uses Qt's form: "ZR3 Level Files (*.zr3)".
struct FileDialogRequest {
  QString name{};  // the dialog's object name, "dlgOpen"
  QString title{};
  QString filter{};
  QString folder{};
  // Added by the dialog to a typed name without extension, before it asks whether to
  // replace an existing file.
  QString defaultSuffix{};
  // The name the dialog proposes, without folder.
  QString fileName{};
};

// Everything the window asks the user goes through here, so that tests can answer.
class Prompt {
 public:
  virtual ~Prompt() = default;
  // details: lines shown under the text, one a line.
  virtual QMessageBox::StandardButton Ask(QMessageBox::Icon icon, const QString& caption,
                                          const QString& text, QMessageBox::StandardButtons buttons,
                                          const QStringList& details = {}) = 0;
  // The chosen file, or an empty text when the user cancelled.
  virtual QString OpenFile(const FileDialogRequest& request) = 0;
  // The chosen file (the dialog has asked before replacing it), or an empty text.
  virtual QString SaveFile(const FileDialogRequest& request) = 0;
  // The chosen folder, starting at current, or an empty text when the user cancelled.
  virtual QString ChooseFolder(const QString& title, const QString& current) = 0;
  // The script list a script is copied into (0 global, 1 death, 2 object, 3 startup),
  // offering current first; nothing when the user cancelled.
  virtual std::optional<int> CopyScriptTarget(int current) = 0;
  // The text after the user edited it in a text editor dialog, or nothing when cancelled.
  virtual std::optional<QString> EditText(const QString& title, const QString& text) = 0;
  // The script text after the user edited it in the script editor, or nothing when
  // cancelled; an editor without the script editor edits it as plain text.
  virtual std::optional<QString> EditScriptText(const QString& title, const QString& text,
                                                const ScriptEditContext&) {
    return EditText(title, text);
  }
  // The colour the user picked, starting from initial, or nothing when cancelled.
  virtual std::optional<QColor> ChooseColour(const QString& title, const QColor& initial) = 0;
};

// Shows a failure in a message box captioned "Error".
void ShowError(Prompt& prompt, const QString& message);
// The file the user chose to write, with the request's suffix added to a name typed without
// one (asking before replacing the file so named); empty when cancelled.
QString ChooseSaveFile(Prompt& prompt, const FileDialogRequest& request);

// Asks with real message boxes and file dialogs.
class DialogPrompt : public Prompt {
 public:
  explicit DialogPrompt(QWidget* parent) : parent_(parent) {}

  QMessageBox::StandardButton Ask(QMessageBox::Icon icon, const QString& caption,
                                  const QString& text, QMessageBox::StandardButtons buttons,
                                  const QStringList& details = {}) override;
  QString OpenFile(const FileDialogRequest& request) override;
  QString SaveFile(const FileDialogRequest& request) override;
  QString ChooseFolder(const QString& title, const QString& current) override;
  std::optional<int> CopyScriptTarget(int current) override;
  std::optional<QString> EditText(const QString& title, const QString& text) override;
  std::optional<QString> EditScriptText(const QString& title, const QString& text,
                                        const ScriptEditContext& context) override;
  std::optional<QColor> ChooseColour(const QString& title, const QColor& initial) override;

 private:
  QWidget* parent_;
};

}  // namespace zr3::ui
