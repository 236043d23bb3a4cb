#include "ui/scripteditor.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QFontDatabase>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTextBlock>
#include <QTimer>
#include <QToolTip>

#include "document/texts.h"

namespace zr3::ui {

namespace {

constexpr int kInsertTextRole = Qt::UserRole + 1;

QTextCharFormat Format(const QColor& colour, bool bold = false) {
  QTextCharFormat format;
  format.setForeground(colour);
  if (bold) format.setFontWeight(QFont::Bold);
  return format;
}

QColor SeverityColour(Severity severity) {
  return severity == Severity::Warning ? QColor(0xE0, 0x8A, 0x00) : QColor(0xD0, 0x10, 0x10);
}

}  // namespace

ScriptHighlighter::ScriptHighlighter(QTextDocument* document) : QSyntaxHighlighter(document) {}

void ScriptHighlighter::highlightBlock(const QString& text) {
  static const QTextCharFormat kKeyword = Format(QColor(0x1F, 0x3F, 0xB0), true);
  static const QTextCharFormat kWord = Format(QColor(0x00, 0x70, 0x80));
  static const QTextCharFormat kName = Format(QColor(0x8B, 0x45, 0x13));
  static const QTextCharFormat kNumber = Format(QColor(0x80, 0x20, 0x90));
  for (const TokenSpan& span : ClassifyScriptLine(InspectedBytes(text))) {
    const QTextCharFormat* format = &kWord;
    switch (span.role) {
      case TokenRole::Keyword:
        format = &kKeyword;
        break;
      case TokenRole::Name:
        format = &kName;
        break;
      case TokenRole::Number:
        format = &kNumber;
        break;
      case TokenRole::Word:
        break;
    }
    setFormat(static_cast<int>(span.column), static_cast<int>(span.length), *format);
  }
}

// The numbers of the lines, painted by the editor beside its text.
class LineNumberArea : public QWidget {
 public:
  explicit LineNumberArea(ScriptEditor* editor) : QWidget(editor), editor_(editor) {}
  QSize sizeHint() const override { return {editor_->LineNumberWidth(), 0}; }

 protected:
  void paintEvent(QPaintEvent* event) override { editor_->PaintLineNumbers(event); }

 private:
  ScriptEditor* editor_;
};

ScriptEditor::ScriptEditor(QWidget* parent)
    : QPlainTextEdit(parent),
      lineNumbers_(new LineNumberArea(this)),
      analysisTimer_(new QTimer(this)),
      completer_(new QCompleter(this)),
      completions_(new QStandardItemModel(this)) {
  setObjectName(QStringLiteral("edtScript"));
  setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  setLineWrapMode(QPlainTextEdit::NoWrap);
  new ScriptHighlighter(document());

  connect(this, &QPlainTextEdit::blockCountChanged, this,
          [this] { setViewportMargins(LineNumberWidth(), 0, 0, 0); });
  connect(this, &QPlainTextEdit::updateRequest, this, [this](const QRect& rect, int dy) {
    if (dy != 0) {
      lineNumbers_->scroll(0, dy);
    } else {
      lineNumbers_->update(0, rect.y(), lineNumbers_->width(), rect.height());
    }
  });
  setViewportMargins(LineNumberWidth(), 0, 0, 0);

  // The text is analysed once typing pauses, never on every key.
  analysisTimer_->setSingleShot(true);
  analysisTimer_->setInterval(kAnalysisDelayMs);
  connect(analysisTimer_, &QTimer::timeout, this, &ScriptEditor::Analyze);
  connect(this, &QPlainTextEdit::textChanged, analysisTimer_, qOverload<>(&QTimer::start));

  completer_->setWidget(this);
  completer_->setModel(completions_);
  completer_->setCompletionMode(QCompleter::PopupCompletion);
  completer_->setCaseSensitivity(Qt::CaseInsensitive);
  completer_->setFilterMode(Qt::MatchContains);
  completer_->popup()->setObjectName(QStringLiteral("lstCompletions"));
  connect(completer_, qOverload<const QModelIndex&>(&QCompleter::activated), this,
          [this](const QModelIndex& index) {
            InsertCompletion(index.data(kInsertTextRole).toString());
          });
}

void ScriptEditor::SetLevel(const ZR3Level* level) {
  level_ = level;
  Analyze();
}

std::string ScriptEditor::ScriptBytes() const {
  return InspectedBytes(toPlainText());
}

const ScriptAnalysis& ScriptEditor::Analyze() {
  analysisTimer_->stop();
  analysis_ = ScriptAnalyzer(level_).Analyze(ScriptBytes());
  ShowDiagnostics();
  emit analyzed();
  return analysis_;
}

void ScriptEditor::ShowDiagnostics() {
  QList<QTextEdit::ExtraSelection> selections;
  for (const ScriptDiagnostic& diagnostic : analysis_.diagnostics) {
    const QTextBlock block = document()->findBlockByNumber(static_cast<int>(diagnostic.line) - 1);
    if (!block.isValid()) continue;
    const int lineLength = block.length() - 1;
    int start = std::min(static_cast<int>(diagnostic.column), lineLength);
    int end = std::min(static_cast<int>(diagnostic.column + diagnostic.length), lineLength);
    // A place without width is shown on the character before it.
    if (end == start) start = std::max(0, start - 1);
    QTextEdit::ExtraSelection selection;
    selection.cursor = QTextCursor(block);
    selection.cursor.setPosition(block.position() + start);
    selection.cursor.setPosition(block.position() + std::max(end, start + 1),
                                 QTextCursor::KeepAnchor);
    selection.format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
    selection.format.setUnderlineColor(SeverityColour(diagnostic.severity));
    selections.append(selection);
  }
  setExtraSelections(selections);
}

void ScriptEditor::GoTo(std::size_t line, std::size_t column) {
  const QTextBlock block = document()->findBlockByNumber(static_cast<int>(line) - 1);
  if (!block.isValid()) return;
  QTextCursor cursor(block);
  cursor.setPosition(block.position() + std::min(static_cast<int>(column), block.length() - 1));
  setTextCursor(cursor);
  ensureCursorVisible();
  setFocus();
}

QString ScriptEditor::PrepareCompletion() {
  const QTextCursor cursor = textCursor();
  const QTextBlock block = cursor.block();
  const int column = cursor.positionInBlock();
  const CompletionList list = ScriptAnalyzer(level_).Complete(
      ScriptBytes(), static_cast<std::size_t>(block.blockNumber()) + 1,
      static_cast<std::size_t>(column));
  completions_->clear();
  for (const ScriptCompletion& item : list.items) {
    auto* row = new QStandardItem(ToDisplay(item.label));
    row->setData(ToDisplay(item.insertText), kInsertTextRole);
    row->setToolTip(ToDisplay(item.detail));
    completions_->appendRow(row);
  }
  completionStart_ = block.position() + static_cast<int>(list.column);
  completionEnd_ = completionStart_ + static_cast<int>(list.length);
  // What is typed so far, without the opening quote of a name.
  QString typed =
      block.text().mid(static_cast<int>(list.column), column - static_cast<int>(list.column));
  if (typed.startsWith(QLatin1Char('"'))) typed.remove(0, 1);
  return typed;
}

void ScriptEditor::Complete() {
  const QString typed = PrepareCompletion();
  completer_->setCompletionPrefix(typed);
  if (completions_->rowCount() == 0 || completer_->completionCount() == 0) {
    completer_->popup()->hide();
    return;
  }
  QRect rect = cursorRect();
  rect.setWidth(completer_->popup()->sizeHintForColumn(0) +
                completer_->popup()->verticalScrollBar()->sizeHint().width() + 16);
  completer_->complete(rect);
  completer_->popup()->setCurrentIndex(completer_->completionModel()->index(0, 0));
}

void ScriptEditor::InsertCompletion(const QString& insertText) {
  QTextCursor cursor = textCursor();
  cursor.setPosition(completionStart_);
  cursor.setPosition(std::max(completionEnd_, textCursor().position()), QTextCursor::KeepAnchor);
  cursor.insertText(insertText);
  setTextCursor(cursor);
}

void ScriptEditor::keyPressEvent(QKeyEvent* event) {
  // While the list is open, the keys that choose from it are the list's.
  if (completer_->popup()->isVisible()) {
    switch (event->key()) {
      case Qt::Key_Enter:
      case Qt::Key_Return:
      case Qt::Key_Escape:
      case Qt::Key_Tab:
      case Qt::Key_Backtab:
        event->ignore();
        return;
      default:
        break;
    }
  }
  if (isReadOnly()) {
    QPlainTextEdit::keyPressEvent(event);
    return;
  }
  if (event->key() == Qt::Key_Space && event->modifiers().testFlag(Qt::ControlModifier)) {
    Complete();
    return;
  }
  QPlainTextEdit::keyPressEvent(event);
  const QString typed = event->text();
  if (typed.isEmpty() || event->modifiers().testFlag(Qt::ControlModifier)) return;
  // Taking a character back narrows an open list again but opens none.
  if (event->key() == Qt::Key_Backspace) {
    if (completer_->popup()->isVisible()) Complete();
    return;
  }
  const QChar last = typed.back();
  // A word or a name being typed is completed; a blank or a line break ends it.
  const bool inWord = last.isLetterOrNumber() || last == QLatin1Char('"') ||
                      last == QLatin1Char('.') || last == QLatin1Char(':');
  if (!inWord) {
    completer_->popup()->hide();
    return;
  }
  Complete();
}

int ScriptEditor::LineNumberWidth() const {
  int digits = 1;
  for (int lines = std::max(1, blockCount()); lines >= 10; lines /= 10) ++digits;
  return 8 + fontMetrics().horizontalAdvance(QLatin1Char('9')) * std::max(digits, 3);
}

void ScriptEditor::resizeEvent(QResizeEvent* event) {
  QPlainTextEdit::resizeEvent(event);
  const QRect area = contentsRect();
  lineNumbers_->setGeometry(QRect(area.left(), area.top(), LineNumberWidth(), area.height()));
}

void ScriptEditor::PaintLineNumbers(QPaintEvent* event) {
  QPainter painter(lineNumbers_);
  painter.fillRect(event->rect(), palette().color(QPalette::AlternateBase));
  painter.setPen(palette().color(QPalette::PlaceholderText));
  QTextBlock block = firstVisibleBlock();
  int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
  while (block.isValid() && top <= event->rect().bottom()) {
    const int height = qRound(blockBoundingRect(block).height());
    if (block.isVisible() && top + height >= event->rect().top()) {
      painter.drawText(0, top, lineNumbers_->width() - 4, fontMetrics().height(), Qt::AlignRight,
                       QString::number(block.blockNumber() + 1));
    }
    top += height;
    block = block.next();
  }
}

const ScriptDiagnostic* ScriptEditor::DiagnosticAt(std::size_t line, std::size_t column) const {
  for (const ScriptDiagnostic& diagnostic : analysis_.diagnostics) {
    if (diagnostic.line == line && diagnostic.column <= column &&
        column <= diagnostic.column + diagnostic.length) {
      return &diagnostic;
    }
  }
  return nullptr;
}

bool ScriptEditor::event(QEvent* event) {
  if (event->type() != QEvent::ToolTip) return QPlainTextEdit::event(event);
  auto* help = static_cast<QHelpEvent*>(event);
  const QTextCursor cursor = cursorForPosition(viewport()->mapFromGlobal(help->globalPos()));
  const std::size_t line = static_cast<std::size_t>(cursor.blockNumber()) + 1;
  const std::size_t column = static_cast<std::size_t>(cursor.positionInBlock());
  QString tip;
  if (const ScriptDiagnostic* diagnostic = DiagnosticAt(line, column)) {
    tip = ToDisplay(diagnostic->message);
  } else if (const std::optional<ScriptHover> hover =
                 ScriptAnalyzer(level_).Hover(ScriptBytes(), line, column)) {
    tip = LinesToDisplay(hover->text);
  }
  if (tip.isEmpty()) {
    QToolTip::hideText();
  } else {
    QToolTip::showText(help->globalPos(), tip, this);
  }
  return true;
}

}  // namespace zr3::ui
