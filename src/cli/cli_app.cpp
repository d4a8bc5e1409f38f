#include "cli/cli_app.h"

#include <exception>
#include <iostream>

#include "cli/check_cli.h"
#include "cli/decode_cli.h"
#include "cli/output_cli.h"
#include "cli/practice_cli.h"
#include "cli/text_commands.h"

namespace hoshizora {
namespace {

constexpr const char* kUsage =
    "Usage: hoshizora-cli COMMAND\n"
    "\n"
    "Commands:\n"
    "  output [TELEGRAM.txt] [--freq HZ] [--cpm N] [--out DIR]\n"
    "         [--rise-ms MS] [--effective-cpm N] [--quiet]\n"
    "              write the audio, listing and form pictures of a telegram\n"
    "              (the sample telegram when no file is given) into a new folder\n"
    "              in DIR, else beside the executable (installed: in the current\n"
    "              folder); HZ 100-2000, N 20-200, by default from settings.ini\n"
    "              (else 440 and 100); --quiet shows no progress\n"
    "              --rise-ms: each element fades in and out over MS 0-20\n"
    "              (0 = off); --effective-cpm: Farnsworth spacing, the whole\n"
    "              telegram as long as keyed at N, 20 up to the speed (the\n"
    "              speed = off); both by default from settings.ini (else off)\n"
    "  practice [--count N] [--length MIN-MAX] [--groups [--chars SET]] [--seed S]\n"
    "           [--freq HZ] [--cpm N] [--out DIR]\n"
    "              write N practice telegrams (default 1, at most 100) as output\n"
    "              does, each folder also holding its telegram file\n"
    "              FOLDER_telegram.txt as the answer key; bodies of MIN-MAX\n"
    "              counted characters (default 60-130, within 10-1000), made of\n"
    "              words or, with --groups, of five-character groups from SET\n"
    "              (default the 47 basic kana); prints the seed S, random\n"
    "              unless given; telegram i of the batch (from 0) uses seed S+i\n"
    "  check KEY.txt [COPY] [--out DIR] [--json] [--quiet]\n"
    "              score a copy (a telegram file or plain UTF-8 text, stdin for\n"
    "              - or none) against the answer key and write the marked form\n"
    "              pages KEY_採点_N.jpg into DIR (default: the key's folder);\n"
    "              --json prints one JSON object, --quiet only score and counts;\n"
    "              see check --help\n"
    "  decode AUDIO [--key KEY.txt] [--json] [--chart FILE.png]\n"
    "              decode the Wabun keying in a WAV (or an MP3, through lame\n"
    "              beside the program) and print the text and feedback on its\n"
    "              timing, with --key the score against a telegram file as check\n"
    "              gives it, with --chart a PNG of speed and dah/dit ratios;\n"
    "              exit 1 when no keying is found (see decode --help)\n"
    "  encode      read UTF-8 text on stdin, print its Morse Code text\n"
    "  mark        read UTF-8 text on stdin, print it with Group marks inserted\n"
    "\n"
    "Control characters and bidirectional marks of a telegram are printed as U+XXXX.\n"
    "Ctrl-C, SIGTERM or SIGHUP ends a run cleanly: the encoder stops, no partial WAV\n"
    "is left, and the exit status is 128 + the signal.\n"
    "  --help      show this help\n"
    "  --version   show the version\n"
    "\n"
    "Exit status: 0 everything written, 1 a writer failed (or standard output could\n"
    "not be written), 2 bad arguments or input.\n";

}  // namespace

int RunCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
           std::ostream& err, System& system, SettingsStore& settings,
           const std::function<Canvas&()>& canvas, const CliSetup& setup) {
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
  if (command == "practice") {
    return RunPracticeCli(std::vector<std::string>(args.begin() + 1, args.end()), out, err, system,
                          settings, canvas, FreshSeed, setup);
  }
  if (command == "check") {
    return RunCheckCli(std::vector<std::string>(args.begin() + 1, args.end()), in, out, err, system,
                       settings, canvas, setup);
  }
  if (command == "decode") {
    return RunDecodeCli(std::vector<std::string>(args.begin() + 1, args.end()), out, err, system,
                        settings, canvas);
  }
  if (command == "output") {
    return RunOutputCli(std::vector<std::string>(args.begin() + 1, args.end()), out, err, system,
                        settings, canvas, setup);
  }
  err << "hoshizora-cli: unknown command '" << command << "' (see --help)\n";
  return 2;
}

int RunGuarded(const std::function<int()>& run, std::ostream& out, std::ostream& err) {
  int status = 2;
  try {
    status = run();
  } catch (const std::exception& e) {
    err << "hoshizora-cli: " << e.what() << "\n";
  } catch (...) {
    err << "hoshizora-cli: unexpected failure\n";
  }
  out.flush();
  if (!out) {
    err << "hoshizora-cli: cannot write to standard output\n";
    status = status == 0 ? 1 : status;
  }
  return status;
}

}  // namespace hoshizora
