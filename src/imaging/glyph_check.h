#pragma once

#include <string_view>

#include "imaging/image_outcome.h"
#include "platform/canvas.h"

namespace hoshizora {

// Notes in `outcome` the characters of `text` that `font`, made for
// `design_face`, cannot draw (each once, in order of first appearance), and
// the design face itself when no installed face stands in for it. An invalid
// font draws nothing, so every visible character is noted.
void NoteUndrawable(Canvas& canvas, std::u16string_view design_face, const Font& font,
                    std::u16string_view text, ImageOutcome& outcome);

}  // namespace hoshizora
