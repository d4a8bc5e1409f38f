#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/settings_store.h"
#include "platform/system.h"

namespace hoshizora {

// Lines end in LF, CR LF or a lone CR; a UTF-8 byte order mark before the
// first line is not part of it.

// The value of a key in INI text (trimmed), or nothing when it is missing.
std::optional<std::string> FindIniValue(std::string_view content, std::string_view section,
                                        std::string_view key);

// The INI text with the key set to the value: replaced in place when the key
// exists, else added at the end of its section, else added in a new section
// at the end. Other lines, comments and their order are kept.
std::string SetIniValue(std::string_view content, std::string_view section, std::string_view key,
                        std::string_view value);

// The leading decimal number of a value ("12abc" gives 12), else 0.
std::int32_t LeadingInt(std::string_view value);

// A SettingsStore over one INI file, read and written whole on every call
// through the system's file seam. A file that is not a regular file, is larger
// than kLargestFile or cannot be read gives the defaults and is never
// written; a write goes through a temporary file and a rename, so the file is
// always whole and keeps its permissions.
class IniFileStore : public SettingsStore {
 public:
  static constexpr std::uintmax_t kLargestFile = 1024 * 1024;
  // Whether a write may make the file's folder first: a per-user settings
  // folder need not exist before the first save, while the folder of a
  // portable copy's settings is the program's own.
  enum class Folder { kMustExist, kMakeWhenMissing };

  IniFileStore(System& system, std::filesystem::path path, Folder folder = Folder::kMustExist)
      : system_(system), path_(std::move(path)), folder_(folder) {}
  std::int32_t ReadInt(std::string_view section, std::string_view key,
                       std::int32_t default_value) override;
  bool WriteString(std::string_view section, std::string_view key, std::string_view value) override;
  bool Unreadable() override;

 private:
  System& system_;
  std::filesystem::path path_;
  Folder folder_;
};

}  // namespace hoshizora
