#pragma once

#include <filesystem>
#include <list>
#include <string>
#include <string_view>

#include "platform/icon_resources.h"

namespace hoshizora {

// Icon resources written into an executable file with the resource-update
// functions, then announced to the shell so that cached icons are redrawn.
// Windows and Wine refuse to update the file of a running executable, so an
// update of the program's own file fails (at the start or at the commit) and
// leaves the file as it was.
class Win32IconResources : public IconResources {
 public:
  Win32IconResources() = default;
  ~Win32IconResources() override;
  Win32IconResources(const Win32IconResources&) = delete;
  Win32IconResources& operator=(const Win32IconResources&) = delete;

  bool BeginUpdate(const std::filesystem::path& executable_path) override;
  bool AddResource(int type, int id, int language, std::string_view bytes) override;
  bool Commit() override;
  void Discard() override;

 private:
  void* update_ = nullptr;  // the update handle while an update is open
  std::filesystem::path executable_;
  std::list<std::string> data_;  // what the open update points into
};

}  // namespace hoshizora
