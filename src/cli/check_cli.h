#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "check/check_result.h"
#include "cli/output_cli.h"
#include "platform/canvas.h"
#include "platform/settings_store.h"
#include "platform/system.h"

namespace hoshizora {

extern const char* const kCheckUsage;

// `check KEY.txt [COPY] [--out DIR] [--json] [--quiet]`: scores the copy (a
// telegram file, or a plain UTF-8 body; standard input for "-" or none)
// against the key and writes the marked form pages. Prints the score, the
// counts, each error and each page written, or with --json one JSON object.
// Returns 0 when scored, 1 when a page could not be written, 2 for bad
// arguments or input (nothing is written then).
// A score as `check` prints it, with no pages: text, or one JSON object
// and a line break.
void PrintCheckReport(std::ostream& out, const CheckResult& result, bool json);

int RunCheckCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out,
                std::ostream& err, System& system, SettingsStore& settings,
                const std::function<Canvas&()>& canvas, const CliSetup& setup = {});

}  // namespace hoshizora
