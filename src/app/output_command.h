#pragma once

#include "app/output_run.h"
#include "platform/canvas.h"
#include "platform/dialog.h"
#include "platform/system.h"

namespace hoshizora {

// The output command, the window's front of an output run: reads the telegram
// and the tone settings from the dialog (refusing nonsense settings before
// anything is written), runs the output inside the progress window, then shows
// the run's messages and its closing message.
OutputReport RunOutputCommand(Dialog& dialog, System& system, Canvas& canvas);

}  // namespace hoshizora
