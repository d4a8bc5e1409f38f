#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace hoshizora {

// UTF-16 to UTF-8. A lone surrogate becomes U+FFFD, as the platform
// conversion does, so the result is always valid UTF-8.
std::string EncodeUtf8(std::u16string_view text);

// UTF-8 to UTF-16; nothing when the bytes are not valid UTF-8.
std::optional<std::u16string> DecodeUtf8Strict(std::string_view bytes);

// UTF-8 to UTF-16; every invalid sequence becomes U+FFFD.
std::u16string DecodeUtf8Lenient(std::string_view bytes);

// The length of the well-formed UTF-8 sequence that `bytes` starts with, its
// code point in `cp`; 0 when there is none (overlong forms, surrogates and
// values above U+10FFFF included).
std::size_t DecodeUtf8Sequence(std::string_view bytes, char32_t& cp);

}  // namespace hoshizora
