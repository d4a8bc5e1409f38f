#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>

#include "base/limits.h"

namespace hoshizora {

// How the filters write their result.
enum class FilterOutput {
  kExact,     // a file or a pipe: the text byte for byte
  kTerminal,  // control characters and bidirectional marks shown as U+XXXX
};

enum class InputStatus { kRead, kTooLarge, kReadFailed };

// Reads the whole input, but no more than kLargestTextInput: standard input
// may be a device that never ends. A read error (standard input being a
// folder, say) is a failure, never an exception.
InputStatus ReadInput(std::istream& in, std::string& bytes);

// `encode` and `mark`: UTF-8 text from `in`, its Code text or Marked text to
// `out` with no added line break. `encode` names on `err` the characters it
// has no code for. Returns the exit status (2 for input that is not UTF-8,
// larger than 16 MiB or unreadable, with a one-line reason on `err`).
int RunTextCommand(std::string_view command, std::istream& in, std::ostream& out, std::ostream& err,
                   FilterOutput shown = FilterOutput::kExact);

}  // namespace hoshizora
