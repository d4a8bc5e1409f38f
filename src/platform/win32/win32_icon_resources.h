#pragma once

#include <filesystem>
#include <list>
#include <string>
#include <string_view>

#include "platform/icon_resources.h"

namespace hoshizora {

inline constexpr int kIconResourceType = 3;        // RT_ICON
inline constexpr int kIconGroupResourceType = 14;  // RT_GROUP_ICON

// The program's icon as resources of its executable file: each image of the
// icon file an RT_ICON record (ids from 1) and the directory an RT_GROUP_ICON
// record, written with the resource-update functions, then announced to the
// shell so that cached icons are redrawn.
// Windows and Wine refuse to update the file of a running executable, so an
// update of the program's own file fails (at the start or at the commit) and
// leaves the file as it was.
class Win32IconResources : public IconResources {
 public:
  Win32IconResources() = default;
  ~Win32IconResources() override;
  Win32IconResources(const Win32IconResources&) = delete;
  Win32IconResources& operator=(const Win32IconResources&) = delete;

  bool InstallProgramIcon(const std::filesystem::path& executable_path,
                          std::string_view icon_file) override;

  // One update of the file's resources, keeping the others: started, added
  // to (type, integer id, language), then committed all at once or dropped.
  bool BeginUpdate(const std::filesystem::path& executable_path);
  bool AddResource(int type, int id, int language, std::string_view bytes);
  bool Commit();
  void Discard();

 private:
  void* update_ = nullptr;  // the update handle while an update is open
  std::filesystem::path executable_;
  std::list<std::string> data_;  // what the open update points into
};

}  // namespace hoshizora
