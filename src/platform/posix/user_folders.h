#pragma once

#include <filesystem>
#include <string>

namespace hoshizora {

// The value of an environment variable as a path; empty when unset.
std::filesystem::path EnvironmentPath(const char* name);

// What `xdg-user-dir NAME` prints (DOCUMENTS, MUSIC, ...), without its line
// break; empty when the program is missing, fails or names no absolute path.
// The program is run by its full path, never looked up on PATH.
std::filesystem::path XdgUserDir(const std::string& name,
                                 const std::filesystem::path& program = "/usr/bin/xdg-user-dir");

// Whether this process may make files in `folder`.
bool FolderWritable(const std::filesystem::path& folder);

}  // namespace hoshizora
