#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace hoshizora {

// The whole command line of hoshizora-cli, minus the program name. Returns
// the exit status: 0 done, 1 a writer failed, 2 bad arguments or input.
int RunCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
           std::ostream& err);

}  // namespace hoshizora
