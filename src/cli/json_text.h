#pragma once

#include <string>
#include <string_view>

namespace hoshizora {

// The text as a JSON string, quotes included: UTF-8, with the quote, the
// backslash and the control characters escaped (a lone surrogate becomes
// U+FFFD, so the result is always valid JSON).
std::string JsonString(std::u16string_view text);

}  // namespace hoshizora
