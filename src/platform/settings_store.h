#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace hoshizora {

// Private-profile (INI) settings: section and key names match without regard
// to case.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // The leading decimal number of the value, 0 when it has none, or
  // `default_value` when the key (or the file) is missing.
  virtual std::int32_t ReadInt(std::string_view section, std::string_view key,
                               std::int32_t default_value) = 0;
  // Replaces the key's value in place, or adds the key (and the section);
  // everything else in the file stays as it was. False when it cannot be written.
  virtual bool WriteString(std::string_view section, std::string_view key,
                           std::string_view value) = 0;
  // True when the settings are there but cannot be read (no permission, not
  // a regular file, too large): every read gives its default and nothing is
  // written over them.
  virtual bool Unreadable() = 0;
};

}  // namespace hoshizora
