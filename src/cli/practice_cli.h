#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "app/fresh_seed.h"
#include "app/output_request.h"
#include "app/program_folders.h"
#include "cli/output_cli.h"
#include "platform/canvas.h"
#include "platform/settings_store.h"
#include "platform/system.h"
#include "practice/practice_options.h"

namespace hoshizora {

inline constexpr int kLargestPracticeBatch = 100;

// What `practice` was asked for, checked: every run of the batch takes the
// request as it is and only puts its own telegram into the fields.
struct PracticePlan {
  PracticeOptions options;
  int count = 1;
  std::optional<std::uint64_t> seed;  // nothing: a fresh one
  // --focus weak: the batch leans toward the characters the history shows
  // written wrong most often.
  bool focus_weak = false;
  OutputRequest request;
  bool quiet = false;  // no progress on stderr
};

// `practice [--count N] [--length MIN-MAX] [--groups [--chars SET]] [--seed S]
// [--focus weak] [--freq HZ] [--cpm N] [--out DIR] [--quiet]`: the tone and --out are read as
// `output` reads them.
std::variant<PracticePlan, CliRefusal> BuildPracticePlan(const std::vector<std::string>& args,
                                                         System& system, SettingsStore& settings,
                                                         const ProgramFolders& folders);

// N output runs, each of a practice telegram from seed S + i, each folder with
// its telegram file `<folder>_telegram.txt` as the answer key. Prints the
// seed, every file written and a summary line per folder on `out`, each line
// flushed as it is printed; progress as `output` shows it on `err`; stops at
// the first run that is not complete. Returns the exit status.
int RunPracticeCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                   System& system, SettingsStore& settings, const std::function<Canvas&()>& canvas,
                   const SeedSource& fresh_seed, const CliSetup& setup = {});

}  // namespace hoshizora
