#pragma once
// Whether a picture file's bytes run to their format's end. Decoders make
// the best of a file that stops early (a copy that broke off, a download cut
// short) and fill the rest with grey; what is drawn on it would look whole.

#include <string_view>

namespace hoshizora {

// False for a JPEG with no end-of-image marker after its last scan, and for
// a PNG without its closing IEND chunk. Other formats are not judged: true.
bool PictureRunsToItsEnd(std::string_view bytes);

}  // namespace hoshizora
