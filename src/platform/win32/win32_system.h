#pragma once

#include "platform/system.h"

namespace hoshizora {

// The System port on Windows. Every path goes to the wide (UTF-16) API.
class Win32System : public System {
 public:
  // Empty when the module's path does not fit the longest path Windows
  // allows: a cut path would name some other file.
  std::filesystem::path ExecutablePath() override;
  std::optional<LocalTime> LocalNow() override;
  // The program runs without a console window and with its standard streams
  // on NUL, inside a job object, so that a cancel ends whatever it started too.
  ProcessResult RunProcess(const std::vector<std::filesystem::path>& argv,
                           const CancelFlag* cancel) override;
  std::optional<std::uintmax_t> FileSize(const std::filesystem::path& path) override;
  bool PathExists(const std::filesystem::path& path) override;
  bool RemoveFile(const std::filesystem::path& path) override;
  FolderMade CreateFolder(const std::filesystem::path& path) override;
  void OpenWithDesktop(const std::filesystem::path& path) override;
};

}  // namespace hoshizora
