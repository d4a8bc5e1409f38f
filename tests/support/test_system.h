#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "platform/posix/posix_system.h"

namespace hoshizora::testing {

// The real POSIX system, with the executable placed in a folder of the test's
// choosing and the clock, opens and started programs under the test's control.
class TestSystem : public PosixSystem {
 public:
  explicit TestSystem(std::filesystem::path executable_path)
      : executable_(std::move(executable_path)) {}

  std::filesystem::path ExecutablePath() override { return executable_; }
  std::optional<LocalTime> LocalNow() override { return now; }
  ProcessResult RunProcess(const std::vector<std::filesystem::path>& argv,
                           const CancelFlag* cancel) override {
    started.push_back(argv);
    return PosixSystem::RunProcess(argv, cancel);
  }
  void OpenWithDesktop(const std::filesystem::path& path) override { opened.push_back(path); }

  std::optional<LocalTime> now = LocalTime{2024, 1, 31, 9, 5, 7};
  std::vector<std::vector<std::filesystem::path>> started;
  std::vector<std::filesystem::path> opened;

 private:
  std::filesystem::path executable_;
};

}  // namespace hoshizora::testing
