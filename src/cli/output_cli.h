#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <variant>
#include <vector>

#include "app/output_request.h"
#include "platform/canvas.h"
#include "platform/settings_store.h"
#include "platform/system.h"

namespace hoshizora {

// Why the command line refused to start a run: the line to print, exit status 2.
struct CliRefusal {
  std::string message;
};

// The request `output [TELEGRAM.txt] [--freq HZ] [--cpm N] [--out DIR]` asks
// for: the telegram from the file (or the sample telegram), the tone from the
// flags or else the settings, the output root from --out (which must name an
// existing folder) or else the program folder.
std::variant<OutputRequest, CliRefusal> BuildOutputRequest(const std::vector<std::string>& args,
                                                           System& system, SettingsStore& settings);

// The output run without a window: progress and messages on `err`, every file
// written and a summary line on `out`. Returns the exit status.
int RunOutputCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                 System& system, SettingsStore& settings, const std::function<Canvas&()>& canvas);

}  // namespace hoshizora
