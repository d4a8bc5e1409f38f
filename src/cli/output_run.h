#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "platform/canvas.h"
#include "platform/system.h"

namespace hoshizora {

// `hoshizora-cli output [TELEGRAM.txt] [--freq HZ] [--cpm N] [--out DIR]`:
// the output run without a window. Returns the exit status.
int RunOutputRun(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                 System& system, const std::function<Canvas&()>& canvas);

}  // namespace hoshizora
