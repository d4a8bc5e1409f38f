#include "platform/posix/posix_system.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <string>
#include <thread>

#include "encoding/utf8.h"
#include "platform/paths.h"

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

// Waits without blocking; true with `status` set when the child has ended.
bool TryReap(pid_t pid, int& status) {
  for (;;) {
    const pid_t r = waitpid(pid, &status, WNOHANG);
    if (r == pid) {
      return true;
    }
    if (r == -1 && errno == EINTR) {
      continue;
    }
    return r == -1;  // no such child any more: nothing left to wait for
  }
}

void BlockingReap(pid_t pid, int& status) {
  while (waitpid(pid, &status, 0) == -1 && errno == EINTR) {
  }
}

void EndChild(pid_t pid) {
  kill(pid, SIGTERM);
  int status = 0;
  const auto deadline = std::chrono::steady_clock::now() + kTerminateGrace;
  while (std::chrono::steady_clock::now() < deadline) {
    if (TryReap(pid, status)) {
      return;
    }
    std::this_thread::sleep_for(kCancelPollInterval);
  }
  kill(pid, SIGKILL);
  BlockingReap(pid, status);
}

// Starts argv with its standard streams on /dev/null: the encoder's progress
// chatter must not mix into our own output.
bool Spawn(const std::vector<std::u16string>& argv, pid_t& pid) {
  std::vector<std::string> args;
  args.reserve(argv.size());
  for (const auto& a : argv) {
    args.push_back(EncodeUtf8(a));
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
  const int rc = posix_spawn(&pid, cargs[0], &actions, nullptr, cargs.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return rc == 0;
}

}  // namespace

std::u16string PosixSystem::ExecutablePath() {
  std::error_code ec;
  const auto path = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::u16string() : FromFsPath(path);
}

std::optional<LocalTime> PosixSystem::LocalNow() {
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  if (now == static_cast<std::time_t>(-1) || localtime_r(&now, &tm) == nullptr) {
    return std::nullopt;
  }
  return LocalTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

ProcessResult PosixSystem::RunProcess(const std::vector<std::u16string>& argv,
                                      const CancelFlag* cancel) {
  ProcessResult result;
  pid_t pid = 0;
  if (argv.empty() || argv.front().empty() || !Spawn(argv, pid)) {
    return result;  // kStartFailed
  }
  int status = 0;
  if (cancel == nullptr) {
    BlockingReap(pid, status);
  } else {
    while (!TryReap(pid, status)) {
      if (cancel->load()) {
        EndChild(pid);
        result.kind = ProcessResult::Kind::kCancelled;
        return result;
      }
      std::this_thread::sleep_for(kCancelPollInterval);
    }
  }
  result.kind = ProcessResult::Kind::kExited;
  result.exit_code = ExitCodeOf(status);
  return result;
}

std::optional<std::uintmax_t> PosixSystem::FileSize(const std::u16string& path) {
  std::error_code ec;
  const auto fs_path = ToFsPath(path);
  if (!std::filesystem::is_regular_file(fs_path, ec)) {
    return std::nullopt;
  }
  const auto size = std::filesystem::file_size(fs_path, ec);
  return ec ? std::nullopt : std::optional<std::uintmax_t>(size);
}

bool PosixSystem::PathExists(const std::u16string& path) {
  std::error_code ec;
  return std::filesystem::exists(ToFsPath(path), ec);
}

bool PosixSystem::RemoveFile(const std::u16string& path) {
  std::error_code ec;
  return std::filesystem::remove(ToFsPath(path), ec);
}

bool PosixSystem::CreateFolder(const std::u16string& path) {
  std::error_code ec;
  return std::filesystem::create_directory(ToFsPath(path), ec);
}

void PosixSystem::OpenWithDesktop(const std::u16string& path) {
  const std::u16string opener = u"/usr/bin/xdg-open";
  if (!PathExists(opener)) {
    return;
  }
  pid_t pid = 0;
  if (Spawn({opener, path}, pid)) {
    // Reap the opener in the background so it leaves no zombie behind.
    std::thread([pid] {
      int status = 0;
      BlockingReap(pid, status);
    }).detach();
  }
}

}  // namespace hoshizora
