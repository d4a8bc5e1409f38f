#pragma once

#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>

#include "base/keying_options.h"

namespace hoshizora {

class SpinButtons;

// The audio settings dialog, 「音声の設定」: the rise time and the effective
// speed, each in an edit with its spin bound to its range, and OK / Cancel.
class KeyingDialog : public QDialog {
 public:
  KeyingDialog(const KeyingOptions& shown, int max_effective, QWidget* parent);

  // The numbers as typed; a field that holds no number gives its shown value.
  KeyingOptions Values() const;

  QLineEdit* rise() const { return rise_; }
  QLineEdit* effective() const { return effective_; }
  SpinButtons* rise_spin() const { return rise_spin_; }
  SpinButtons* effective_spin() const { return effective_spin_; }
  QDialogButtonBox* buttons() const { return buttons_; }

 private:
  KeyingOptions shown_;
  QLineEdit* rise_;
  QLineEdit* effective_;
  SpinButtons* rise_spin_;
  SpinButtons* effective_spin_;
  QDialogButtonBox* buttons_;
};

}  // namespace hoshizora
