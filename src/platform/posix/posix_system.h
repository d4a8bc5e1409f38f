#pragma once

#include "platform/system.h"

namespace hoshizora {

// The System port on Linux and other POSIX systems.
class PosixSystem : public System {
 public:
  std::u16string ExecutablePath() override;
  std::optional<LocalTime> LocalNow() override;
  ProcessResult RunProcess(const std::vector<std::u16string>& argv,
                           const CancelFlag* cancel) override;
  std::optional<std::uintmax_t> FileSize(const std::u16string& path) override;
  bool PathExists(const std::u16string& path) override;
  bool RemoveFile(const std::u16string& path) override;
  bool CreateFolder(const std::u16string& path) override;
  void OpenWithDesktop(const std::u16string& path) override;
};

}  // namespace hoshizora
