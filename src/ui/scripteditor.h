#pragma once

#include <QPlainTextEdit>
#include <QSyntaxHighlighter>
#include <cstddef>
#include <string>

#include "script/script_analysis.h"

class QCompleter;
class QStandardItemModel;
class QTimer;

namespace zr3 {
class ZR3Level;
}

namespace zr3::ui {

// Colours script text line by line: keywords, names, numbers and the other words.
class ScriptHighlighter : public QSyntaxHighlighter {
 public:
  explicit ScriptHighlighter(QTextDocument* document);

 protected:
  void highlightBlock(const QString& text) override;
};

// A script text editor: highlighting, line numbers, the problems of the text underlined a
// moment after typing stops, and completion of keywords, words and names (Ctrl+Space, and
// while a word is typed).
class ScriptEditor : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit ScriptEditor(QWidget* parent = nullptr);

  // The level whose records names must name; without one, names are neither checked nor
  // offered.
  void SetLevel(const ZR3Level* level);
  // The text as the core analyses it, column for column (InspectedBytes).
  std::string ScriptBytes() const;
  // Analyses the text now rather than when the typing pause ends.
  const ScriptAnalysis& Analyze();
  const ScriptAnalysis& Analysis() const { return analysis_; }
  // Puts the cursor at a place of the text: line counted from 1, column from 0.
  void GoTo(std::size_t line, std::size_t column);
  // Offers what may stand at the cursor.
  void Complete();
  QCompleter* Completer() const { return completer_; }
  // How long typing must pause before the text is analysed again.
  static constexpr int kAnalysisDelayMs = 300;

 signals:
  void analyzed();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool event(QEvent* event) override;

 private:
  friend class LineNumberArea;
  int LineNumberWidth() const;
  void PaintLineNumbers(QPaintEvent* event);
  void ShowDiagnostics();
  // Fills the completer for the cursor's place; answers the part of the token typed so far.
  QString PrepareCompletion();
  void InsertCompletion(const QString& insertText);
  const ScriptDiagnostic* DiagnosticAt(std::size_t line, std::size_t column) const;

  const ZR3Level* level_ = nullptr;
  QWidget* lineNumbers_;
  QTimer* analysisTimer_;
  QCompleter* completer_;
  QStandardItemModel* completions_;
  ScriptAnalysis analysis_;
  // The part of the line the chosen completion replaces.
  int completionStart_ = 0;
  int completionEnd_ = 0;
};

}  // namespace zr3::ui
