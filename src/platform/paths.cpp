#include "platform/paths.h"

#include <type_traits>

#include "base/utf8.h"

namespace hoshizora {

namespace fs = std::filesystem;

// Templates, so that only the branch for this system's path characters is
// compiled: the other would not convert.
template <typename Char>
std::u16string TextFromNative(const std::basic_string<Char>& native) {
  if constexpr (std::is_same_v<Char, char>) {
    return DecodeUtf8Lenient(native);
  } else {
    return std::u16string(native.begin(), native.end());
  }
}

template <typename Char>
std::basic_string<Char> NativeFromText(std::u16string_view text) {
  if constexpr (std::is_same_v<Char, char>) {
    return EncodeUtf8(text);
  } else {
    return std::basic_string<Char>(text.begin(), text.end());
  }
}

std::u16string PathText(const fs::path& path) {
  return TextFromNative(path.native());
}

fs::path PathFromText(std::u16string_view text) {
  return fs::path(NativeFromText<fs::path::value_type>(text));
}

fs::path WithSuffix(fs::path path, std::u16string_view suffix) {
  path += PathFromText(suffix).native();
  return path;
}

}  // namespace hoshizora
