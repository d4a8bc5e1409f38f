#include "platform/qt/spin_buttons.h"

#include <QKeyEvent>
#include <algorithm>

#include "base/decimal_parse.h"
#include "platform/qt/qt_canvas.h"

namespace hoshizora {

SpinButtons::SpinButtons(QWidget* parent)
    : QWidget(parent), up_(new QToolButton(this)), down_(new QToolButton(this)) {
  up_->setArrowType(Qt::UpArrow);
  down_->setArrowType(Qt::DownArrow);
  for (QToolButton* b : {up_, down_}) {
    b->setAutoRepeat(true);
    b->setFocusPolicy(Qt::NoFocus);
  }
  connect(up_, &QToolButton::clicked, this, [this] { Step(1); });
  connect(down_, &QToolButton::clicked, this, [this] { Step(-1); });
}

void SpinButtons::Bind(QLineEdit* buddy, int minimum, int maximum, int position) {
  if (buddy_ != nullptr) {
    buddy_->removeEventFilter(this);
  }
  buddy_ = buddy;
  minimum_ = minimum;
  maximum_ = maximum;
  position_ = std::clamp(position, minimum, maximum);
  buddy_->installEventFilter(this);
}

void SpinButtons::Step(int delta) {
  if (buddy_ == nullptr) {
    return;
  }
  // Start from the number in the buddy when it holds one, as the user may
  // have typed since the last step.
  const std::u16string text = FromQString(buddy_->text());
  const int typed = DecideIntField(text, position_);
  position_ = std::clamp(typed + delta, minimum_, maximum_);
  buddy_->setText(QString::number(position_));
}

bool SpinButtons::eventFilter(QObject* watched, QEvent* event) {
  if (watched == buddy_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
      Step(key == Qt::Key_Up ? 1 : -1);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void SpinButtons::resizeEvent(QResizeEvent*) {
  const int half = height() / 2;
  up_->setGeometry(0, 0, width(), half);
  down_->setGeometry(0, half, width(), height() - half);
}

}  // namespace hoshizora
