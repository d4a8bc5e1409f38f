#pragma once

#include <QLineEdit>
#include <QToolButton>
#include <QWidget>

namespace hoshizora {

// An up-down control bound to a buddy edit: each arrow click, or an arrow key
// in the buddy, steps the buddy's number by one within the range and writes
// it back as plain decimal digits. The buddy still takes any typed text.
class SpinButtons : public QWidget {
 public:
  explicit SpinButtons(QWidget* parent);

  void Bind(QLineEdit* buddy, int minimum, int maximum, int position);
  void Step(int delta);
  int position() const { return position_; }
  QToolButton* up() const { return up_; }
  QToolButton* down() const { return down_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QToolButton* up_;
  QToolButton* down_;
  QLineEdit* buddy_ = nullptr;
  int minimum_ = 0;
  int maximum_ = 100;
  int position_ = 0;
};

}  // namespace hoshizora
