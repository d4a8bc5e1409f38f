#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "cli/output_cli.h"
#include "platform/canvas.h"
#include "platform/settings_store.h"
#include "platform/system.h"

namespace hoshizora {

// `decode AUDIO [--key KEY.txt [--no-history]] [--json] [--chart FILE.png]`: reads a WAV, or an MP3
// through the encoder beside the program (`lame --decode`), decodes the Wabun keying in it and
// prints the text and the timing feedback (or one JSON object); with a key, the decoded text is
// scored as `check` scores a plain copy, with the scheme in the settings, and the score joins the
// practice history as a sending unless --no-history; with a chart, the speed over time and the
// dah/dit ratio per character are drawn into a PNG. Exit status 0 when something was decoded, 1
// when no keying was found or the chart could not be written, 2 for bad arguments or input.
int RunDecodeCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                 System& system, SettingsStore& settings, const std::function<Canvas&()>& canvas,
                 const CliSetup& setup = {});

}  // namespace hoshizora
