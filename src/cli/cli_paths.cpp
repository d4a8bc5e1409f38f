#include "cli/cli_paths.h"

namespace hoshizora {

std::filesystem::path PathFromArg(const std::string& arg) {
  return std::filesystem::path(std::u8string(arg.begin(), arg.end()));
}

std::string PrintablePath(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

}  // namespace hoshizora
