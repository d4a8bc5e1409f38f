#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "platform/system.h"

namespace hoshizora {

// Makes the run's own folder in `root`: "和文電報_" + timestamp, or the same
// with "_2", "_3", … while that name is taken by anything at all (a link
// included, never followed). Gives the folder's name, or
// nothing when none can be made.
std::optional<std::u16string> MakeOutputFolder(System& system, const std::filesystem::path& root,
                                               const std::u16string& timestamp);

}  // namespace hoshizora
