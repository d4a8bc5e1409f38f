#include "cli/cli_app.h"

#include <iostream>

#include "cli/text_commands.h"

namespace hoshizora {
namespace {

constexpr const char* kUsage =
    "Usage: hoshizora-cli COMMAND\n"
    "\n"
    "Commands:\n"
    "  encode      read UTF-8 text on stdin, print its Morse Code text\n"
    "  mark        read UTF-8 text on stdin, print it with Group marks inserted\n"
    "  --help      show this help\n"
    "  --version   show the version\n";

}  // namespace

int RunCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
           std::ostream& err) {
  if (args.empty()) {
    err << "hoshizora-cli: missing command (see --help)\n";
    return 2;
  }
  const std::string& command = args.front();
  if (command == "--help" || command == "-h") {
    out << kUsage;
    return 0;
  }
  if (command == "--version") {
    out << "hoshizora-cli " << HOSHIZORA_VERSION << "\n";
    return 0;
  }
  if (command == "encode" || command == "mark") {
    if (args.size() > 1) {
      err << "hoshizora-cli: unexpected argument '" << args[1] << "'\n";
      return 2;
    }
    return RunTextCommand(command, in, out, err);
  }
  err << "hoshizora-cli: unknown command '" << command << "' (see --help)\n";
  return 2;
}

}  // namespace hoshizora
