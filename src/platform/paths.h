#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace hoshizora {

// A path as the user reads it, for messages and pictures only: never made
// back into a path. On POSIX the native bytes read as UTF-8 (a byte that is
// not UTF-8 shows as U+FFFD); on Windows the native UTF-16.
std::u16string PathText(const std::filesystem::path& path);

// Text of our own making (a folder name, a name the user typed) as a path.
std::filesystem::path PathFromText(std::u16string_view text);

// The path with `suffix` appended to its last component ("x" + ".wav").
std::filesystem::path WithSuffix(std::filesystem::path path, std::u16string_view suffix);

}  // namespace hoshizora
