#pragma once

#include "platform/dialog_template.h"

namespace hoshizora {

// The sending dialog's template, 「送信練習」: making or choosing the telegram
// to send, showing it, recording the learner's keying or opening a recording,
// and the decoded text, score and timing feedback.
const DialogTemplate& SendingDialogTemplate();

}  // namespace hoshizora
