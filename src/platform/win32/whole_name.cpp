#include "platform/win32/whole_name.h"

#include <algorithm>

namespace hoshizora {

std::wstring ReadWholeName(const std::function<std::uint32_t(wchar_t*, std::uint32_t)>& read,
                           std::uint32_t limit) {
  std::wstring buffer(std::min<std::uint32_t>(260, limit), L'\0');
  for (;;) {
    const auto size = static_cast<std::uint32_t>(buffer.size());
    const std::uint32_t length = read(buffer.data(), size);
    if (length == 0) {
      return {};
    }
    if (length < size) {
      buffer.resize(length);
      return buffer;
    }
    if (size >= limit) {
      return {};
    }
    buffer.resize(std::min<std::uint32_t>(size * 2, limit));
  }
}

}  // namespace hoshizora
