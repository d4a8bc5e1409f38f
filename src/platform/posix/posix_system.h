#pragma once

#include "platform/system.h"

namespace hoshizora {

// The System port on Linux and other POSIX systems.
class PosixSystem : public System {
 public:
  std::filesystem::path ExecutablePath() override;
  std::optional<LocalTime> LocalNow() override;
  ProcessResult RunProcess(const std::vector<std::filesystem::path>& argv,
                           const CancelFlag* cancel) override;
  std::optional<std::uintmax_t> FileSize(const std::filesystem::path& path) override;
  bool PathExists(const std::filesystem::path& path) override;
  bool RemoveFile(const std::filesystem::path& path) override;
  FolderMade CreateFolder(const std::filesystem::path& path) override;
  void OpenWithDesktop(const std::filesystem::path& path) override;
};

}  // namespace hoshizora
