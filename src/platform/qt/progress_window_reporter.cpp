#include "platform/qt/progress_window_reporter.h"

#include <algorithm>

#include "platform/qt/qt_canvas.h"

namespace hoshizora {

void ProgressWindowReporter::Report(std::u16string_view step, double share) {
  const QString label = ToQString(step);
  const bool busy = share < 0;
  const int value = busy ? 0 : std::clamp(static_cast<int>(share * kSteps), 0, kSteps - 1);
  QMetaObject::invokeMethod(
      dialog_,
      [d = dialog_, label, busy, value] {
        d->setLabelText(label);
        const int maximum = busy ? 0 : kSteps;
        if (d->maximum() != maximum) {
          d->setRange(0, maximum);
        }
        d->setValue(value);
      },
      Qt::QueuedConnection);
}

}  // namespace hoshizora
