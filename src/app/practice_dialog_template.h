#pragma once

#include "platform/dialog_template.h"

namespace hoshizora {

// The practice dialog's template, 「受信練習」: making or choosing the answer
// key, playing it, the copy (body and header fields), scoring and the result.
const DialogTemplate& PracticeDialogTemplate();

}  // namespace hoshizora
