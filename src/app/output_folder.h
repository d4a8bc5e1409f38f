#pragma once

#include <filesystem>
#include <string>

#include "platform/system.h"

namespace hoshizora {

// The run's own folder, or the last name tried and why it could not be made.
struct OutputFolder {
  std::u16string name;
  FolderMade made = FolderMade::kFailed;  // kNameTaken: every name was taken
};

// Makes the run's own folder in `root`: "和文電報_" + timestamp, or the same
// with "_2", "_3", … while that name is taken by anything at all (a link
// included, never followed).
OutputFolder MakeOutputFolder(System& system, const std::filesystem::path& root,
                              const std::u16string& timestamp);

}  // namespace hoshizora
