#include "platform/paths.h"

#include "encoding/utf8.h"

namespace hoshizora {

std::u16string JoinPath(std::u16string_view folder, std::u16string_view name) {
  while (!folder.empty() && folder.back() == kPathSeparator && folder.size() > 1) {
    folder.remove_suffix(1);
  }
  while (!name.empty() && name.front() == kPathSeparator) {
    name.remove_prefix(1);
  }
  std::u16string out(folder);
  if (!out.empty() && out.back() != kPathSeparator && !name.empty()) {
    out.push_back(kPathSeparator);
  }
  out.append(name);
  return out;
}

std::u16string RemoveLastComponent(std::u16string_view path) {
  const std::size_t slash = path.rfind(kPathSeparator);
  if (slash == std::u16string_view::npos) {
    return {};
  }
  if (slash == 0) {
    return std::u16string(1, kPathSeparator);
  }
  return std::u16string(path.substr(0, slash));
}

std::filesystem::path ToFsPath(std::u16string_view path) {
  const std::string utf8 = EncodeUtf8(path);
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::u16string FromFsPath(const std::filesystem::path& path) {
  const std::u8string utf8 = path.u8string();
  return DecodeUtf8Lenient(
      std::string_view(reinterpret_cast<const char*>(utf8.data()), utf8.size()));
}

}  // namespace hoshizora
