#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "app/output_request.h"
#include "app/output_sink.h"
#include "platform/canvas.h"
#include "platform/system.h"

namespace hoshizora {

// What one output run did, for the closing message and the command line.
struct OutputReport {
  enum class Result {
    kComplete,    // every writer succeeded
    kIncomplete,  // a folder was made but some writer failed or was cancelled
    kRefused,     // bad tone settings: nothing was written
  };
  Result result = Result::kRefused;
  std::filesystem::path folder;
  std::vector<std::filesystem::path> written;  // every file the run left, in order
  std::vector<std::u16string> problems;        // one line per failure
  std::vector<std::u16string> notes;           // characters left out of the audio, and the like
  // The closing message, for the front end to show.
  std::u16string message;
  std::u16string caption;
  MessageIcon icon = MessageIcon::kError;
};

// The report of a run refused before it began, with the reason as its message.
OutputReport RefusedReport(std::u16string_view reason);

// One output run: makes a new folder, writes the audio, the listing picture
// and the form pages, opens what the request asks for, and reports.
OutputReport RunOutput(const OutputRequest& request, System& system, Canvas& canvas,
                       OutputSink& sink);

}  // namespace hoshizora
