#pragma once

#include <string>
#include <vector>

namespace hoshizora {

// Lines joined for a message box, one line feed between them.
std::u16string JoinLines(const std::vector<std::u16string>& lines);

}  // namespace hoshizora
