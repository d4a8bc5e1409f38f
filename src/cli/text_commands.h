#pragma once

#include <cstddef>
#include <iosfwd>
#include <string_view>

namespace hoshizora {

inline constexpr std::size_t kLargestTextInput = 16 * 1024 * 1024;

// `encode` and `mark`: UTF-8 text from `in`, its Code text or Marked text to
// `out` with no added line break. Returns the exit status (2 for input that is
// not UTF-8, larger than 16 MiB or unreadable, with a one-line reason on `err`).
int RunTextCommand(std::string_view command, std::istream& in, std::ostream& out,
                   std::ostream& err);

}  // namespace hoshizora
