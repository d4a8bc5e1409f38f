#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace hoshizora {

// Reads a name of unknown length through a function that fills a buffer the
// way GetModuleFileNameW does: `read(buffer, size)` returns the characters
// written, 0 on failure, and `size` when the name was cut to fit. The buffer
// grows until the name fits; a name longer than `limit` characters (the
// terminator included) gives an empty text, never a cut one.
std::wstring ReadWholeName(const std::function<std::uint32_t(wchar_t*, std::uint32_t)>& read,
                           std::uint32_t limit);

}  // namespace hoshizora
