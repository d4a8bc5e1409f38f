#pragma once

#include "platform/dialog_template.h"

namespace hoshizora {

// The Main dialog's template: its controls, the default button, Esc and the
// その他 menu with its items.
const DialogTemplate& MainDialogTemplate();

}  // namespace hoshizora
