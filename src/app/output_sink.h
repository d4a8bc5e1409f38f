#pragma once

#include <string_view>

#include "platform/message_icon.h"
#include "platform/progress_reporter.h"

namespace hoshizora {

// Where an output run reports: progress (ProgressReporter::Report, with
// kUnknownShare while the encoder runs), the cancel flag, and the messages it
// shows. Progress comes from any thread; messages come in the order they are
// to be shown, before the closing message that the report carries.
class OutputSink : public ProgressReporter {
 public:
  virtual void ShowMessage(std::u16string_view text, std::u16string_view caption,
                           MessageIcon icon) = 0;
};

}  // namespace hoshizora
