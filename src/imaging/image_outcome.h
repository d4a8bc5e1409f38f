#pragma once

#include <filesystem>
#include <vector>

namespace hoshizora {

// What a picture writer did, for the output command's closing message.
enum class ImageStatus {
  kWritten,
  kNothingToDraw,  // the form writer found no body between the signs
  kNoJpegEncoder,
  kNoFormTemplate,
  kSaveFailed,  // some or all files could not be saved
  kCancelled,   // stopped on request before every page was written
};

struct ImageOutcome {
  ImageStatus status = ImageStatus::kWritten;
  std::vector<std::filesystem::path> written;  // in the order written
  std::vector<std::filesystem::path> failed;   // could not be saved
};

}  // namespace hoshizora
