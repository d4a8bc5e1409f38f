#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace hoshizora {

inline constexpr char16_t kPathSeparator = u'/';

// Joins folder and name with exactly one separator between them.
std::u16string JoinPath(std::u16string_view folder, std::u16string_view name);

// The path without its last component ("/opt/app" for "/opt/app/hoshizora");
// the root stays the root, and a bare name gives an empty text.
std::u16string RemoveLastComponent(std::u16string_view path);

// A UTF-16 path as the file system takes it (UTF-8 on POSIX).
std::filesystem::path ToFsPath(std::u16string_view path);
std::u16string FromFsPath(const std::filesystem::path& path);

}  // namespace hoshizora
