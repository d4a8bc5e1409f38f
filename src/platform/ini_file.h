#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/settings_store.h"

namespace hoshizora {

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

// A SettingsStore over one INI file, read and written whole on every call.
class IniFileStore : public SettingsStore {
 public:
  explicit IniFileStore(std::filesystem::path path) : path_(std::move(path)) {}
  std::int32_t ReadInt(std::string_view section, std::string_view key,
                       std::int32_t default_value) override;
  bool WriteString(std::string_view section, std::string_view key, std::string_view value) override;

 private:
  std::filesystem::path path_;
};

}  // namespace hoshizora
