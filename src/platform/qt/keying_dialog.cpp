#include "platform/qt/keying_dialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "base/decimal_parse.h"
#include "platform/qt/qt_canvas.h"
#include "platform/qt/spin_buttons.h"

namespace hoshizora {
namespace {

QString RangeText(int minimum, int maximum) {
  return QString::number(minimum) + QStringLiteral("〜") + QString::number(maximum);
}

}  // namespace

KeyingDialog::KeyingDialog(const KeyingOptions& shown, int max_effective, QWidget* parent)
    : QDialog(parent),
      shown_(shown),
      rise_(new QLineEdit(QString::number(shown.rise_ms), this)),
      effective_(new QLineEdit(QString::number(shown.effective_cpm), this)),
      rise_spin_(new SpinButtons(this)),
      effective_spin_(new SpinButtons(this)),
      buttons_(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this)) {
  setWindowTitle(QStringLiteral("音声の設定"));
  setModal(true);
  rise_spin_->Bind(rise_, 0, kMaxRiseMs, shown.rise_ms);
  effective_spin_->Bind(effective_, kMinEffectiveCpm, max_effective, shown.effective_cpm);
  buttons_->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));

  auto* grid = new QGridLayout(this);
  const int edit_height = rise_->sizeHint().height();
  for (SpinButtons* spin : {rise_spin_, effective_spin_}) {
    spin->setFixedSize(edit_height / 2 + 4, edit_height);
    spin->setFocusPolicy(Qt::NoFocus);
  }
  grid->addWidget(new QLabel(QStringLiteral("立ち上がり(ms)"), this), 0, 0);
  grid->addWidget(rise_, 0, 1);
  grid->addWidget(rise_spin_, 0, 2);
  grid->addWidget(new QLabel(RangeText(0, kMaxRiseMs), this), 0, 3);
  grid->addWidget(new QLabel(QStringLiteral("実効速度(CPM)"), this), 1, 0);
  grid->addWidget(effective_, 1, 1);
  grid->addWidget(effective_spin_, 1, 2);
  grid->addWidget(new QLabel(RangeText(kMinEffectiveCpm, max_effective), this), 1, 3);
  auto* note = new QLabel(
      QStringLiteral("立ち上がりが0、または実効速度が速度と同じときは、その設定を使いません。"),
      this);
  note->setWordWrap(true);
  grid->addWidget(note, 2, 0, 1, 4);
  grid->addWidget(buttons_, 3, 0, 1, 4);
  connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

KeyingOptions KeyingDialog::Values() const {
  return {.rise_ms = DecideIntField(FromQString(rise_->text()), shown_.rise_ms),
          .effective_cpm = DecideIntField(FromQString(effective_->text()), shown_.effective_cpm)};
}

}  // namespace hoshizora
