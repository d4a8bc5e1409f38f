#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "cli/output_cli.h"
#include "history/history_file.h"
#include "platform/canvas.h"
#include "platform/system.h"

namespace hoshizora {

// `stats [--last N] [--json] [--chart FILE.png]`: how the learner stands by
// the practice history, over all records or the newest N: the characters
// worst first, the most frequent confusions and the score's trend; --json
// prints one object instead, --chart draws the scores and the weakest
// characters into a PNG. Exit 0 also when there is no history yet; 1 when the
// chart could not be written; 2 for bad arguments or a history that cannot
// be read.
// What the command line says on `err` after adding a record to the history
// at `file`: nothing when all went well.
void NoteHistoryAppend(const HistoryAppend& append, const std::filesystem::path& file,
                       std::ostream& err);

int RunStatsCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
                System& system, const std::function<Canvas&()>& canvas, const CliSetup& setup);

}  // namespace hoshizora
