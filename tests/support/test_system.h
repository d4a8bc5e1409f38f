#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/posix/posix_system.h"

namespace hoshizora::testing {

// The real POSIX system, with the executable placed in a folder of the test's
// choosing and the clock, opens and started programs under the test's control.
class TestSystem : public PosixSystem {
 public:
  explicit TestSystem(std::u16string executable_path) : executable_(std::move(executable_path)) {}

  std::u16string ExecutablePath() override { return executable_; }
  std::optional<LocalTime> LocalNow() override { return now; }
  ProcessResult RunProcess(const std::vector<std::u16string>& argv,
                           const CancelFlag* cancel) override {
    started.push_back(argv);
    return PosixSystem::RunProcess(argv, cancel);
  }
  void OpenWithDesktop(const std::u16string& path) override { opened.push_back(path); }

  std::optional<LocalTime> now = LocalTime{2024, 1, 31, 9, 5, 7};
  std::vector<std::vector<std::u16string>> started;
  std::vector<std::u16string> opened;

 private:
  std::u16string executable_;
};

}  // namespace hoshizora::testing
