#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "platform/system.h"

namespace hoshizora {

// `decode AUDIO [--json]`: reads a WAV, or an MP3 through the encoder beside
// the program (`lame --decode`), decodes the Wabun keying in it and prints
// the text and the timing feedback (or one JSON object). Exit status 0 when
// something was decoded, 1 when no keying was found, 2 for bad arguments or
// input.
int RunDecodeCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                 System& system);

}  // namespace hoshizora
