#pragma once

#include <QDialog>
#include <cstddef>
#include <functional>
#include <optional>

#include "level/category.h"

class QLabel;
class QListWidget;

namespace zr3 {
class ZR3Level;
}

namespace zr3::ui {

class ScriptEditor;

// What a script text editor edits: the level its names name, and, in one script's own
// editor, that script, whose header may rename it but not change its kind.
struct ScriptEditContext {
  const ZR3Level* level = nullptr;
  std::optional<Category> list{};
  std::size_t index = 0;
};

// Script text in the script editor with the text's problems listed below it. OK keeps the
// dialog open while the text has an error, showing the errors and keeping the text; with
// warnings alone it asks once whether to go on.
class ScriptEditDialog : public QDialog {
  Q_OBJECT

 public:
  ScriptEditDialog(const QString& title, const QString& text, ScriptEditContext context,
                   QWidget* parent = nullptr);

  QString Text() const;
  ScriptEditor* Editor() const { return editor_; }
  QListWidget* Problems() const { return problems_; }
  QLabel* Status() const { return status_; }
  // Asked before a text with warnings alone is taken; answers whether to take it. By
  // default a message box asks.
  void SetConfirmWarnings(std::function<bool(int warnings)> confirm) {
    confirm_ = std::move(confirm);
  }

  void accept() override;

 private:
  void ShowProblems();
  void FollowProblem(int row);

  ScriptEditContext context_;
  ScriptEditor* editor_;
  QListWidget* problems_;
  QLabel* status_;
  std::function<bool(int)> confirm_;
};

}  // namespace zr3::ui
