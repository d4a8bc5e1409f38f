#pragma once

#include <filesystem>
#include <string>

namespace hoshizora {

// Arguments and printed paths are UTF-8 on Windows (wmain converts them) and
// the native bytes elsewhere; a path's u8 form is exactly that on both.
std::filesystem::path PathFromArg(const std::string& arg);
std::string PrintablePath(const std::filesystem::path& path);

}  // namespace hoshizora
