#pragma once

#include <QDialog>

class QComboBox;

namespace zr3::ui {

// Asks into which of the four script lists a script is copied. Entry k is script kind k:
// global, death, object, startup.
class TfrmCopyScript : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kTargets = 4;

  explicit TfrmCopyScript(QWidget* parent = nullptr);

  // Preselects entry target; any other value than 0 to 3 is ignored.
  void SetTarget(int target);
  int GetTarget() const;

 private:
  QComboBox* cboScriptType_ = nullptr;
};

}  // namespace zr3::ui
