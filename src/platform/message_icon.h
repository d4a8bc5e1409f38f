#pragma once

namespace hoshizora {

// The icon of a modal message: none, information, or error.
enum class MessageIcon { kNone, kInformation, kError };

}  // namespace hoshizora
