#pragma once

#include <filesystem>

#include "app/output_run.h"

namespace hoshizora {

// The answer key beside a practice run's files: "<folder name>_telegram.txt".
std::filesystem::path PracticeKeyPath(const std::filesystem::path& folder);

struct PracticeOutput {
  OutputReport report;
  // The answer key written into the run's folder; empty when the run made no
  // folder or the key could not be written.
  std::filesystem::path key;
};

// One practice telegram written as the command line's `practice` writes it:
// the output run of the request's fields, then the telegram file of the
// fields as the answer key in the run's folder.
PracticeOutput RunPracticeOutput(const OutputRequest& request, System& system, Canvas& canvas,
                                 OutputSink& sink);

}  // namespace hoshizora
