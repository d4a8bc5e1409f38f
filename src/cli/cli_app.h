#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "platform/canvas.h"
#include "platform/system.h"

namespace hoshizora {

// The whole command line of hoshizora-cli, minus the program name. Returns
// the exit status: 0 done, 1 a writer failed, 2 bad arguments or input.
// `canvas` is asked for only by the commands that draw.
int RunCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
           std::ostream& err, System& system, const std::function<Canvas&()>& canvas);

}  // namespace hoshizora
