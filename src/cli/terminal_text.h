#pragma once

#include <string>
#include <string_view>

namespace hoshizora {

// UTF-8 for a terminal. Control characters and bidirectional marks from a
// telegram could move the cursor, recolour the screen or reorder what
// follows; they are written as "U+XXXX". Line feeds, tabs and a carriage
// return before a line feed stay as they are.
std::string TerminalText(std::u16string_view text);

}  // namespace hoshizora
