#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace hoshizora {

// One argument quoted so that CommandLineToArgvW (and the C runtime's own
// parser) reads it back unchanged: blanks and quotes survive, and backslashes
// keep their number wherever they stand.
std::wstring QuoteCommandLineArgument(std::wstring_view argument);

// The command line CreateProcessW is given for `argv`. The program name,
// which Windows reads with simpler rules (quotes only, no escapes), is always
// put in quotes; a path cannot hold a quote anyway.
std::wstring BuildCommandLine(const std::vector<std::wstring>& argv);

}  // namespace hoshizora
