#pragma once

#include <filesystem>

namespace hoshizora::testing {

// The built command line copied to `cli`, and the form template into
// `data_folder`: a program of the test's own, whose folders it controls.
inline void CopyCliAndTemplate(const std::filesystem::path& cli,
                               const std::filesystem::path& data_folder) {
  std::filesystem::copy_file(HOSHIZORA_CLI, cli);
  std::filesystem::copy_file(std::filesystem::path(HOSHIZORA_PROGRAM_DIR) / "和文電報受信用紙.jpg",
                             data_folder / "和文電報受信用紙.jpg");
}

}  // namespace hoshizora::testing
