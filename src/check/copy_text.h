#pragma once

#include <optional>
#include <string_view>

#include "check/check_result.h"

namespace hoshizora {

// A learner's copy from a file's or standard input's bytes, which must be
// UTF-8 (a byte order mark is allowed). With the telegram tags it is a
// whole telegram, read as 電報読込 reads one; otherwise all of it is the body.
// Nothing when the bytes are not UTF-8.
std::optional<CheckCopy> ParseCopyText(std::string_view bytes);

}  // namespace hoshizora
