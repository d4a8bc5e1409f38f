#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace hoshizora {

inline constexpr int kIconResourceType = 3;
inline constexpr int kIconGroupResourceType = 14;

// Writes icon resources for the executable, all or nothing.
class IconResources {
 public:
  virtual ~IconResources() = default;
  // Starts an update that keeps the existing resources; false when not possible.
  virtual bool BeginUpdate(const std::filesystem::path& executable_path) = 0;
  // Adds or replaces a resource (type, integer id, language).
  virtual bool AddResource(int type, int id, int language, std::string_view bytes) = 0;
  // Commits every addition at once; false when nothing could be committed.
  virtual bool Commit() = 0;
  // Drops every addition of the update.
  virtual void Discard() = 0;
};

}  // namespace hoshizora
