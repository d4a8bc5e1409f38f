#include "platform/paths.h"

#include <type_traits>

#include "base/utf8.h"

namespace hoshizora {

namespace fs = std::filesystem;

std::u16string PathText(const fs::path& path) {
  if constexpr (std::is_same_v<fs::path::value_type, char>) {
    return DecodeUtf8Lenient(path.native());
  } else {
    const auto& native = path.native();
    return std::u16string(native.begin(), native.end());
  }
}

fs::path PathFromText(std::u16string_view text) {
  if constexpr (std::is_same_v<fs::path::value_type, char>) {
    return fs::path(EncodeUtf8(text));
  } else {
    return fs::path(fs::path::string_type(text.begin(), text.end()));
  }
}

fs::path WithSuffix(fs::path path, std::u16string_view suffix) {
  path += PathFromText(suffix).native();
  return path;
}

}  // namespace hoshizora
