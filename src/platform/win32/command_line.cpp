#include "platform/win32/command_line.h"

#include <cstddef>

namespace hoshizora {

std::wstring QuoteCommandLineArgument(std::wstring_view argument) {
  if (!argument.empty() && argument.find_first_of(L" \t\n\v\"") == std::wstring_view::npos) {
    return std::wstring(argument);
  }
  // Backslashes are literal except in front of a quote, where each pair
  // stands for one: so double those before an inner quote (plus one to escape
  // the quote) and those before the closing quote.
  std::wstring quoted = L"\"";
  std::size_t backslashes = 0;
  for (const wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    if (c == L'"') {
      quoted.append(backslashes * 2 + 1, L'\\');
    } else {
      quoted.append(backslashes, L'\\');
    }
    backslashes = 0;
    quoted.push_back(c);
  }
  quoted.append(backslashes * 2, L'\\');
  quoted.push_back(L'"');
  return quoted;
}

std::wstring BuildCommandLine(const std::vector<std::wstring>& argv) {
  std::wstring line;
  for (std::size_t i = 0; i < argv.size(); ++i) {
    if (i == 0) {
      line += L'"' + argv[0] + L'"';
    } else {
      line += L' ';
      line += QuoteCommandLineArgument(argv[i]);
    }
  }
  return line;
}

}  // namespace hoshizora
