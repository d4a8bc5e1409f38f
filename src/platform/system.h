#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "encoding/local_time.h"

namespace hoshizora {

// How a started program ended.
struct ProcessResult {
  enum class Kind { kExited, kStartFailed, kCancelled };
  Kind kind = Kind::kStartFailed;
  int exit_code = -1;  // meaningful for kExited; a signal counts as a non-zero code
};

// Set from another thread to end a wait early.
using CancelFlag = std::atomic<bool>;

// Everything the commands need of the operating system.
class System {
 public:
  virtual ~System() = default;

  // The running executable's full path.
  virtual std::u16string ExecutablePath() = 0;
  // The local time now, or nothing when the clock cannot be read.
  virtual std::optional<LocalTime> LocalNow() = 0;
  // Starts argv[0] (a full path, never looked up on a search path) with the
  // given arguments, no shell in between, and waits for it. When `cancel` is
  // set during the wait, the program is ended and kCancelled returned.
  virtual ProcessResult RunProcess(const std::vector<std::u16string>& argv,
                                   const CancelFlag* cancel) = 0;
  // Size of a regular file, or nothing when there is none.
  virtual std::optional<std::uintmax_t> FileSize(const std::u16string& path) = 0;
  virtual bool PathExists(const std::u16string& path) = 0;
  virtual bool RemoveFile(const std::u16string& path) = 0;
  // Creates a folder; false when it exists already or cannot be made.
  virtual bool CreateFolder(const std::u16string& path) = 0;
  // Asks the desktop to open a file or folder with its default program.
  virtual void OpenWithDesktop(const std::u16string& path) = 0;
};

// The executable's folder: its full path without the last component.
std::u16string ExecutableFolder(System& system);

}  // namespace hoshizora
