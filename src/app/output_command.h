#pragma once

#include "app/output_run.h"
#include "app/program_folders.h"
#include "platform/canvas.h"
#include "platform/dialog.h"
#include "platform/system.h"

namespace hoshizora {

// The window's refusal when an installed program knows no home folder to
// write into: it never falls back to the program's own folder.
inline constexpr std::u16string_view kNoOutputFolder =
    u"ホームフォルダが分からないため、出力先のフォルダを決められません。";

// The output command, the window's front of an output run: reads the telegram
// and the tone settings from the dialog (refusing nonsense settings before
// anything is written), runs the output with the window's keying options
// inside the progress window into the folders' window root, then shows the
// run's messages and its closing message. An installed program makes its
// root under the documents folder when missing and names the run's folder in
// the closing message, since it is not beside the program.
OutputReport RunOutputCommand(Dialog& dialog, System& system, Canvas& canvas,
                              const KeyingOptions& keying, const ProgramFolders& folders);

}  // namespace hoshizora
