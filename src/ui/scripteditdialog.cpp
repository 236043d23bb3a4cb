#include "ui/scripteditdialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QSplitter>
#include <QVBoxLayout>

#include "document/texts.h"
#include "edit/script_import_edit.h"
#include "ui/scripteditor.h"

namespace zr3::ui {

namespace {

constexpr int kLineRole = Qt::UserRole + 1;
constexpr int kColumnRole = Qt::UserRole + 2;

}  // namespace

ScriptEditDialog::ScriptEditDialog(const QString& title, const QString& text,
                                   ScriptEditContext context, QWidget* parent)
    : QDialog(parent),
      context_(context),
      editor_(new ScriptEditor),
      problems_(new QListWidget),
      status_(new QLabel) {
  setObjectName(QStringLiteral("dlgEditScript"));
  setWindowTitle(title);
  editor_->setObjectName(QStringLiteral("memText"));
  editor_->setPlainText(text);
  problems_->setObjectName(QStringLiteral("lstProblems"));
  problems_->setAccessibleName(tr("Problems"));
  status_->setObjectName(QStringLiteral("lblStatus"));
  status_->setWordWrap(true);
  status_->hide();

  auto* splitter = new QSplitter(Qt::Vertical);
  splitter->addWidget(editor_);
  splitter->addWidget(problems_);
  splitter->setStretchFactor(0, 4);
  splitter->setStretchFactor(1, 1);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &ScriptEditDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &ScriptEditDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(splitter);
  layout->addWidget(status_);
  layout->addWidget(buttons);
  resize(760, 560);

  connect(editor_, &ScriptEditor::analyzed, this, &ScriptEditDialog::ShowProblems);
  connect(problems_, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { FollowProblem(problems_->row(item)); });
  confirm_ = [this](int warnings) {
    return QMessageBox::question(this, tr("Warnings"),
                                 tr("The script text has %n warning(s). Import it anyway?", nullptr,
                                    warnings)) == QMessageBox::Yes;
  };
  editor_->SetLevel(context_.level);
}

QString ScriptEditDialog::Text() const {
  return editor_->toPlainText();
}

void ScriptEditDialog::ShowProblems() {
  problems_->clear();
  for (const ScriptDiagnostic& diagnostic : editor_->Analysis().diagnostics) {
    const bool error = diagnostic.severity == Severity::Error;
    auto* item = new QListWidgetItem(
        tr("Line %1, column %2: %3: %4")
            .arg(diagnostic.line)
            .arg(diagnostic.column + 1)
            .arg(error ? tr("error") : tr("warning"), ToDisplay(diagnostic.message)));
    item->setIcon(style()->standardIcon(error ? QStyle::SP_MessageBoxCritical
                                              : QStyle::SP_MessageBoxWarning));
    item->setData(kLineRole, static_cast<qulonglong>(diagnostic.line));
    item->setData(kColumnRole, static_cast<qulonglong>(diagnostic.column));
    problems_->addItem(item);
  }
}

void ScriptEditDialog::FollowProblem(int row) {
  const QListWidgetItem* item = problems_->item(row);
  if (!item) return;
  editor_->GoTo(item->data(kLineRole).toULongLong(), item->data(kColumnRole).toULongLong());
}

void ScriptEditDialog::accept() {
  const ScriptAnalysis& analysis = editor_->Analyze();
  const auto refuse = [this](const QString& why) {
    status_->setText(why);
    status_->setStyleSheet(QStringLiteral("color: #c01010"));
    status_->show();
  };
  if (analysis.HasErrors()) {
    const auto errors =
        std::count_if(analysis.diagnostics.begin(), analysis.diagnostics.end(),
                      [](const ScriptDiagnostic& d) { return d.severity == Severity::Error; });
    refuse(tr("The text has %n error(s), listed below; mend them or cancel.", nullptr,
              static_cast<int>(errors)));
    problems_->setCurrentRow(0);
    FollowProblem(0);
    return;
  }
  if (context_.level && context_.list) {
    if (const std::optional<std::string> refusal = CheckOwnScriptText(
            *context_.level, *context_.list, context_.index, editor_->ScriptBytes())) {
      refuse(ToDisplay(*refusal));
      return;
    }
  }
  const int warnings = static_cast<int>(analysis.diagnostics.size());
  if (warnings > 0 && !confirm_(warnings)) return;
  QDialog::accept();
}

}  // namespace zr3::ui
