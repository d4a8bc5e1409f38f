#pragma once

#include <string_view>

namespace hoshizora {

// The bytes of assets/practice_words.txt, compiled in by the build.
std::string_view PracticeWordsFileBytes();

}  // namespace hoshizora
