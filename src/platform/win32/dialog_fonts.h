#pragma once

#include <windows.h>

#include "platform/dialog.h"

namespace hoshizora {

// The GDI description of a dialog font: a character height (negative
// lfHeight), the weight and the face, bounded to LF_FACESIZE characters.
// Every other attribute comes from `base`, or is zero with the default
// character set when there is no base.
LOGFONTW DialogLogFont(const DialogFont& font, const LOGFONTW* base);

// Creates the font a dialog control shows. The proportional UI face starts
// from the system's GUI font, so that it keeps that font's quality and pitch;
// the other faces start from zero. Null on failure.
HFONT CreateDialogGdiFont(const DialogFont& font);

// Vertical pixels per logical inch of the screen.
int ScreenPixelsPerInchY();

}  // namespace hoshizora
