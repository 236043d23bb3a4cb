#include "ui/copyscript.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "level/category.h"

namespace zr3::ui {

TfrmCopyScript::TfrmCopyScript(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("frmCopyScript"));
  setWindowTitle(tr("Copy Script"));

  auto* label = new QLabel(tr("Copy to:"));
  label->setObjectName(QStringLiteral("copyToLabel"));
  cboScriptType_ = new QComboBox;
  cboScriptType_->setObjectName(QStringLiteral("cboScriptType"));
  // A drop-down list that offers only its own entries: a QComboBox is not editable. Its rows
  // are the script kinds in the order of their numbers.
  for (const ScriptKindInfo& kind : kScriptKinds) {
    cboScriptType_->addItem(QString::fromLatin1(InfoOf(kind.category).sectionName));
  }
  label->setBuddy(cboScriptType_);

  auto* buttons = new QDialogButtonBox;
  QPushButton* okButton = buttons->addButton(tr("OK"), QDialogButtonBox::AcceptRole);
  okButton->setObjectName(QStringLiteral("okButton"));
  okButton->setDefault(true);
  QPushButton* cancelButton = buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
  cancelButton->setObjectName(QStringLiteral("cancelButton"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* row = new QHBoxLayout;
  row->addWidget(label);
  row->addWidget(cboScriptType_, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(row);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TfrmCopyScript::SetTarget(int target) {
  if (target >= 0 && target < kTargets) cboScriptType_->setCurrentIndex(target);
}

int TfrmCopyScript::GetTarget() const {
  return cboScriptType_->currentIndex();
}

}  // namespace zr3::ui
