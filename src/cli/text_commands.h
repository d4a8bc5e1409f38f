#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>

namespace hoshizora {

inline constexpr std::size_t kLargestTextInput = 16 * 1024 * 1024;

enum class InputStatus { kRead, kTooLarge, kReadFailed };

// Reads the whole input, but no more than kLargestTextInput: standard input
// may be a device that never ends. A read error (standard input being a
// folder, say) is a failure, never an exception.
InputStatus ReadInput(std::istream& in, std::string& bytes);

// `encode` and `mark`: UTF-8 text from `in`, its Code text or Marked text to
// `out` with no added line break. Returns the exit status (2 for input that is
// not UTF-8, larger than 16 MiB or unreadable, with a one-line reason on `err`).
int RunTextCommand(std::string_view command, std::istream& in, std::ostream& out,
                   std::ostream& err);

}  // namespace hoshizora
