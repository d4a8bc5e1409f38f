#include "platform/posix/posix_system.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <string>
#include <thread>

extern char** environ;

namespace hoshizora {
namespace {

constexpr auto kCancelPollInterval = std::chrono::milliseconds(10);
constexpr auto kTerminateGrace = std::chrono::seconds(2);

int ExitCodeOf(int status) {
  if (WIFEXITED(status)) {
    return WEXITSTATUS(status);
  }
  return 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
}

enum class Reap { kRunning, kEnded, kLost };

// Waits without blocking; kEnded with `status` set once the child has ended,
// kLost when its status can no longer be had (for example when the parent
// ignores SIGCHLD and the system reaped it already).
Reap TryReap(pid_t pid, int& status) {
  for (;;) {
    const pid_t r = waitpid(pid, &status, WNOHANG);
    if (r == pid) {
      return Reap::kEnded;
    }
    if (r == 0) {
      return Reap::kRunning;
    }
    if (errno != EINTR) {
      return Reap::kLost;
    }
  }
}

bool BlockingReap(pid_t pid, int& status) {
  for (;;) {
    if (waitpid(pid, &status, 0) == pid) {
      return true;
    }
    if (errno != EINTR) {
      return false;
    }
  }
}

// Ends the program and everything it started: it leads a process group of
// its own, so a wrapper script's children go with it. They get a grace
// period to end on SIGTERM before the whole group is killed.
void EndGroup(pid_t pid) {
  kill(-pid, SIGTERM);
  int status = 0;
  bool reaped = false;
  const auto deadline = std::chrono::steady_clock::now() + kTerminateGrace;
  while (std::chrono::steady_clock::now() < deadline) {
    reaped = reaped || TryReap(pid, status) != Reap::kRunning;
    // The group's id stays taken while any member lives, so it cannot name
    // someone else's processes here.
    if (reaped && kill(-pid, 0) != 0) {
      return;
    }
    std::this_thread::sleep_for(kCancelPollInterval);
  }
  kill(-pid, SIGKILL);
  if (!reaped) {
    BlockingReap(pid, status);
  }
}

// Starts argv with its standard streams on /dev/null: the encoder's progress
// chatter must not mix into our own output. The paths go over as their bytes.
// With `own_group`, the program leads a new process group, which a cancel
// ends as a whole.
bool Spawn(const std::vector<std::filesystem::path>& argv, bool own_group, pid_t& pid) {
  std::vector<std::string> args;
  args.reserve(argv.size());
  for (const auto& a : argv) {
    args.push_back(a.native());
  }
  std::vector<char*> cargs;
  for (auto& a : args) {
    cargs.push_back(a.data());
  }
  cargs.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  if (own_group) {
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(&attributes, 0);
  }
  const int rc = posix_spawn(&pid, cargs[0], &actions, &attributes, cargs.data(), environ);
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&actions);
  return rc == 0;
}

}  // namespace

std::filesystem::path PosixSystem::ExecutablePath() {
  std::error_code ec;
  auto path = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::filesystem::path() : path;
}

std::optional<LocalTime> PosixSystem::LocalNow() {
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  if (now == static_cast<std::time_t>(-1) || localtime_r(&now, &tm) == nullptr) {
    return std::nullopt;
  }
  return LocalTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

ProcessResult PosixSystem::RunProcess(const std::vector<std::filesystem::path>& argv,
                                      const CancelFlag* cancel) {
  ProcessResult result;
  pid_t pid = 0;
  if (argv.empty() || argv.front().empty() || !Spawn(argv, true, pid)) {
    return result;  // kStartFailed
  }
  int status = 0;
  Reap reap = Reap::kRunning;
  if (cancel == nullptr) {
    reap = BlockingReap(pid, status) ? Reap::kEnded : Reap::kLost;
  } else {
    while ((reap = TryReap(pid, status)) == Reap::kRunning) {
      if (cancel->load()) {
        EndGroup(pid);
        result.kind = ProcessResult::Kind::kCancelled;
        return result;
      }
      std::this_thread::sleep_for(kCancelPollInterval);
    }
  }
  if (reap == Reap::kLost) {
    result.kind = ProcessResult::Kind::kLost;  // never guess a status
    return result;
  }
  result.kind = ProcessResult::Kind::kExited;
  result.exit_code = ExitCodeOf(status);
  return result;
}

std::optional<std::uintmax_t> PosixSystem::FileSize(const std::filesystem::path& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    return std::nullopt;
  }
  const auto size = std::filesystem::file_size(path, ec);
  return ec ? std::nullopt : std::optional<std::uintmax_t>(size);
}

bool PosixSystem::PathExists(const std::filesystem::path& path) {
  std::error_code ec;
  return std::filesystem::exists(path, ec);
}

bool PosixSystem::RemoveFile(const std::filesystem::path& path) {
  std::error_code ec;
  return std::filesystem::remove(path, ec);
}

FolderMade PosixSystem::CreateFolder(const std::filesystem::path& path) {
  // mkdir itself, not std::filesystem: it says EEXIST for a dangling link
  // too, where create_directory would look through a link to a folder.
  if (mkdir(path.c_str(), 0777) == 0) {
    return FolderMade::kMade;
  }
  switch (errno) {
    case EEXIST:
      return FolderMade::kNameTaken;
    case EACCES:
    case EPERM:
      return FolderMade::kDenied;
    case EROFS:
      return FolderMade::kReadOnly;
    case ENOSPC:
    case EDQUOT:
      return FolderMade::kNoSpace;
    case ENOENT:
    case ENOTDIR:
      return FolderMade::kNoParent;
    default:
      return FolderMade::kFailed;
  }
}

void PosixSystem::OpenWithDesktop(const std::filesystem::path& path) {
  const std::filesystem::path opener = "/usr/bin/xdg-open";
  if (!PathExists(opener)) {
    return;
  }
  pid_t pid = 0;
  if (Spawn({opener, path}, false, pid)) {
    // Reap the opener in the background so it leaves no zombie behind.
    std::thread([pid] {
      int status = 0;
      BlockingReap(pid, status);
    }).detach();
  }
}

}  // namespace hoshizora
