#pragma once

#include "platform/dialog_template.h"

namespace hoshizora {

// The Main dialog's template: its controls, the default button, Esc and the
// menu with the About item.
const DialogTemplate& MainDialogTemplate();

}  // namespace hoshizora
