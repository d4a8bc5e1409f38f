#include "cli/cli_app.h"

#include <algorithm>
#include <exception>
#include <iostream>
#include <optional>
#include <string_view>

#include "cli/check_cli.h"
#include "cli/decode_cli.h"
#include "cli/output_cli.h"
#include "cli/practice_cli.h"
#include "cli/stats_cli.h"
#include "cli/text_commands.h"

namespace hoshizora {
namespace {

// Each command's entry in the help, as the overview lists it; `COMMAND
// --help` shows the one entry with the notes.
struct CommandHelp {
  std::string_view name;
  std::string_view text;
};

constexpr CommandHelp kCommandHelp[] = {
    {"output",
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
     "              speed = off); both by default from settings.ini (else off)\n"},
    {"practice",
     "  practice [--count N] [--length MIN-MAX] [--groups [--chars SET]] [--seed S]\n"
     "           [--focus weak] [--freq HZ] [--cpm N] [--out DIR] [--quiet]\n"
     "              write N practice telegrams (default 1, at most 100) as output\n"
     "              does, each folder also holding its telegram file\n"
     "              FOLDER_telegram.txt as the answer key; bodies of MIN-MAX\n"
     "              counted characters (default 60-130, within 10-1000), made of\n"
     "              words or, with --groups, of five-character groups from SET\n"
     "              (default the 47 basic kana); prints the seed S, random\n"
     "              unless given; telegram i of the batch (from 0) uses seed S+i;\n"
     "              --focus weak draws groups and words toward the characters the\n"
     "              practice history shows written wrong most (plain without one);\n"
     "              --quiet shows no progress\n"},
    {"check",
     "  check KEY.txt [COPY] [--out DIR] [--json] [--quiet] [--no-history]\n"
     "              score a copy (a telegram file or plain UTF-8 text, stdin for\n"
     "              - or none) against the answer key and write the marked form\n"
     "              pages KEY_採点_N.jpg into DIR (default: the key's folder);\n"
     "              --json prints one JSON object, --quiet only score and counts;\n"
     "              each scored copy joins the practice history unless\n"
     "              --no-history\n"},
    {"stats",
     "  stats [--last N] [--json] [--chart FILE.png]\n"
     "              how you stand by the practice history: characters worst\n"
     "              first, frequent confusions, the score's trend; --chart draws\n"
     "              the scores and the twenty weakest characters as a PNG\n"},
    {"decode",
     "  decode AUDIO [--key KEY.txt] [--json] [--chart FILE.png]\n"
     "              decode the Wabun keying in a WAV (or an MP3, through lame\n"
     "              beside the program) and print the text and feedback on its\n"
     "              timing, with --key the score against a telegram file as check\n"
     "              gives it, with --chart a PNG of speed and dah/dit ratios;\n"
     "              exit 1 when no keying is found\n"},
    {"encode",
     "  encode < TEXT\n"
     "              read UTF-8 text on stdin, print its Morse Code text; the\n"
     "              characters that have no code are named on stderr\n"},
    {"mark",
     "  mark < TEXT\n"
     "              read UTF-8 text on stdin, print it with Group marks inserted\n"},
};

#ifdef _WIN32
constexpr std::string_view kStops =
    "Ctrl-C, Ctrl-Break or closing the console window ends a run cleanly: the\n"
    "encoder stops, no partial WAV is left, and the exit status is 130 (143 when\n"
    "the console window is closed).\n";
#else
constexpr std::string_view kStops =
    "Ctrl-C, SIGTERM or SIGHUP ends a run cleanly: the encoder stops, no partial WAV\n"
    "is left, and the exit status is 128 + the signal.\n";
#endif

constexpr std::string_view kNotes =
    "On a terminal, control characters and bidirectional marks of a telegram are\n"
    "shown as U+XXXX; a file or a pipe gets the text exactly.\n";

constexpr std::string_view kExitStatus =
    "Exit status: 0 everything written, 1 a writer failed or a field was cut (or\n"
    "standard output could not be written), 2 bad arguments or input.\n";

std::string Usage() {
  std::string usage = "Usage: hoshizora-cli COMMAND\n\nCommands:\n";
  for (const CommandHelp& command : kCommandHelp) {
    usage += command.text;
  }
  usage += "\n";
  usage += kNotes;
  usage += kStops;
  usage +=
      "\n"
      "  COMMAND --help  show the command's usage\n"
      "  --help          show this help\n"
      "  --version       show the version\n\n";
  usage += kExitStatus;
  return usage;
}

// The usage of one command, or nothing when there is no such command.
std::optional<std::string> CommandUsage(std::string_view name) {
  for (const CommandHelp& command : kCommandHelp) {
    if (command.name == name) {
      // The entry's first line starts with the command's synopsis; a short
      // entry's description follows on that line after a wide gap.
      std::string_view synopsis = command.text.substr(0, command.text.find('\n'));
      synopsis.remove_prefix(synopsis.find_first_not_of(' '));
      synopsis = synopsis.substr(0, synopsis.find("  "));
      return "Usage: hoshizora-cli " + std::string(synopsis) + "\n\n" + std::string(command.text) +
             "\n" + std::string(kNotes) + std::string(kStops) + "\n" + std::string(kExitStatus);
    }
  }
  return std::nullopt;
}

bool AsksForHelp(const std::vector<std::string>& args) {
  return std::any_of(args.begin() + 1, args.end(),
                     [](const std::string& a) { return a == "--help" || a == "-h"; });
}

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
    out << Usage();
    return 0;
  }
  if (AsksForHelp(args)) {
    if (const auto usage = CommandUsage(command)) {
      out << *usage;
      return 0;
    }
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
    return RunTextCommand(
        command, in, out, err,
        setup.stdout_is_terminal ? FilterOutput::kTerminal : FilterOutput::kExact);
  }
  if (command == "practice") {
    return RunPracticeCli(std::vector<std::string>(args.begin() + 1, args.end()), out, err, system,
                          settings, canvas, FreshSeed, setup);
  }
  if (command == "check") {
    return RunCheckCli(std::vector<std::string>(args.begin() + 1, args.end()), in, out, err, system,
                       settings, canvas, setup);
  }
  if (command == "stats") {
    return RunStatsCli(std::vector<std::string>(args.begin() + 1, args.end()), out, err, system,
                       canvas, setup);
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
