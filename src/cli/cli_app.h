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

// The whole command line of hoshizora-cli, minus the program name. Returns
// the exit status: 0 done, 1 a writer failed, 2 bad arguments or input.
// `settings` is the store at the folders' settings file; `canvas` is asked for
// only by the commands that draw.
int RunCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
           std::ostream& err, System& system, SettingsStore& settings,
           const std::function<Canvas&()>& canvas, const CliSetup& setup = {});

// What each system's `main` does around `run`: no exception ends the program
// (whatever escapes is reported, with the status for bad input), and losing
// standard output, which scripts read the written files from, is a failure.
int RunGuarded(const std::function<int()>& run, std::ostream& out, std::ostream& err);

}  // namespace hoshizora
