#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "app/output_request.h"
#include "app/output_run.h"
#include "app/program_folders.h"
#include "cli/cli_refusals.h"
#include "platform/canvas.h"
#include "platform/settings_store.h"
#include "platform/system.h"

namespace hoshizora {

// Why the command line refused to start a run: the line to print, exit status 2.
struct CliRefusal {
  std::string message;
};

// What the program's start knows of where the command line runs.
struct CliSetup {
  // Where files go; unset, everything is beside the executable, as in a
  // portable copy.
  std::optional<ProgramFolders> folders;
  // The width of the terminal stderr is, asked at each redraw of the progress
  // bar; empty when stderr is no terminal, and progress goes in plain lines.
  std::function<int()> terminal_columns;
  // Whether stdout is a terminal, where the filters show control characters
  // as codes.
  bool stdout_is_terminal = false;
};

// The summary line of a run: how many files it wrote where, and how many of
// its parts failed. A run that made no folder names none.
std::string RunSummary(std::size_t written, const std::filesystem::path& folder,
                       std::size_t failed);

// The folder --out names, made absolute: "dir/" and "dir/." name the folder
// itself. It must exist already; a command makes only its own files inside.
std::variant<std::filesystem::path, CliRefusal> OutputRoot(const std::string& arg);

// The telegram of a file named on the command line: a regular file of at most
// 1 MiB that holds the telegram tags.
std::variant<TelegramFields, CliRefusal> ReadTelegram(System& system, const std::string& file);

// The request `output [TELEGRAM.txt] [--freq HZ] [--cpm N] [--rise-ms MS]
// [--effective-cpm N] [--out DIR] [--quiet]` asks for: the telegram from the
// file (or the sample telegram), the tone and the keying options from the
// flags or else the settings (the keying bounded for the speed used), the output root from --out
// (which must name an existing folder) or else the folders' command-line root, which is the current
// folder when that is empty. --quiet is the console's business and leaves the request alone.
std::variant<OutputRequest, CliRefusal> BuildOutputRequest(const std::vector<std::string>& args,
                                                           System& system, SettingsStore& settings,
                                                           const ProgramFolders& folders);

// One output run with its progress on `err`, as a bar redrawn in place on a
// terminal, plain lines elsewhere, none when `quiet`; then the run's closing
// message. The caller watches for a stop (WatchedRun).
OutputReport RunOutputOnConsole(const OutputRequest& request, System& system, Canvas& canvas,
                                std::ostream& err, bool quiet, const CliSetup& setup);

// Says once on `err` when the settings file is there but cannot be read, so
// that a run at the default tone is no surprise.
void WarnIfSettingsUnreadable(SettingsStore& settings, const ProgramFolders& folders,
                              std::ostream& err);

// The output run without a window: progress and messages on `err`, every file
// written and a summary line on `out`. Returns the exit status.
int RunOutputCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                 System& system, SettingsStore& settings, const std::function<Canvas&()>& canvas,
                 const CliSetup& setup);

}  // namespace hoshizora
