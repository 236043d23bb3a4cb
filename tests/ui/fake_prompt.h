#pragma once

#include <deque>
#include <optional>
#include <vector>

#include "ui/prompt.h"

// Answers the window's questions from queues and records what was asked.
class FakePrompt : public zr3::ui::Prompt {
 public:
  struct Question {
    QMessageBox::Icon icon;
    QString caption;
    QString text;
    QMessageBox::StandardButtons buttons;
    QStringList details;
  };

  QMessageBox::StandardButton Ask(QMessageBox::Icon icon, const QString& caption,
                                  const QString& text, QMessageBox::StandardButtons buttons,
                                  const QStringList& details = {}) override {
    questions.push_back({icon, caption, text, buttons, details});
    if (answers.empty())
      return buttons.testFlag(QMessageBox::Ok) ? QMessageBox::Ok : QMessageBox::Cancel;
    const QMessageBox::StandardButton answer = answers.front();
    answers.pop_front();
    return answer;
  }
  QString OpenFile(const zr3::ui::FileDialogRequest& request) override { return Choose(request); }
  QString SaveFile(const zr3::ui::FileDialogRequest& request) override { return Choose(request); }
  QString ChooseFolder(const QString&, const QString&) override {
    if (folders.empty()) return {};
    const QString folder = folders.front();
    folders.pop_front();
    return folder;
  }
  std::optional<int> CopyScriptTarget(int current) override {
    offeredTargets.push_back(current);
    if (scriptTargets.empty()) return std::nullopt;
    const int target = scriptTargets.front();
    scriptTargets.pop_front();
    return target;
  }

  std::optional<QString> EditText(const QString&, const QString& text) override {
    shownTexts.push_back(text);
    if (editedTexts.empty()) return std::nullopt;
    const QString edited = editedTexts.front();
    editedTexts.pop_front();
    return edited;
  }

  std::optional<QColor> ChooseColour(const QString&, const QColor& initial) override {
    offeredColours.push_back(initial);
    if (chosenColours.empty()) return std::nullopt;
    const QColor chosen = chosenColours.front();
    chosenColours.pop_front();
    return chosen;
  }

  std::deque<QMessageBox::StandardButton> answers;
  // The text editor's answers; an empty queue answers Cancel.
  std::deque<QString> editedTexts;
  // The texts the text editor was shown.
  std::vector<QString> shownTexts;
  // The files the dialogs return; an empty queue answers Cancel.
  std::deque<QString> files;
  // The folder dialog's answers; an empty queue answers Cancel.
  std::deque<QString> folders;
  std::vector<Question> questions;
  std::vector<zr3::ui::FileDialogRequest> dialogs;
  // The copy-script dialog's answers; an empty queue answers Cancel.
  std::deque<int> scriptTargets;
  // The entry the copy-script dialog offered first, each time it was shown.
  std::vector<int> offeredTargets;
  // The colour dialog's answers; an empty queue answers Cancel.
  std::deque<QColor> chosenColours;
  // The colour the colour dialog started from, each time it was shown.
  std::vector<QColor> offeredColours;

 private:
  QString Choose(const zr3::ui::FileDialogRequest& request) {
    dialogs.push_back(request);
    if (files.empty()) return {};
    const QString file = files.front();
    files.pop_front();
    return file;
  }
};
