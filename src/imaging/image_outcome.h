#pragma once

#include <filesystem>
#include <string>
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
  // Characters drawn as empty boxes, or not at all, because no installed face
  // has them (each once), and the design faces that no installed face stood
  // in for. A picture with such characters is saved, but is not what was asked.
  std::u16string undrawable;
  std::vector<std::u16string> missing_faces;
};

}  // namespace hoshizora
