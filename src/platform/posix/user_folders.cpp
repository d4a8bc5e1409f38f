#include "platform/posix/user_folders.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

extern char** environ;

namespace hoshizora {
namespace {

// More than any real folder name; a program that says more is not answering.
constexpr std::size_t kLongestAnswer = 4096;

}  // namespace

std::filesystem::path EnvironmentPath(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::filesystem::path() : std::filesystem::path(value);
}

std::filesystem::path XdgUserDir(const std::string& name, const std::filesystem::path& program) {
  int pipe_ends[2];
  if (pipe2(pipe_ends, O_CLOEXEC) != 0) {
    return {};
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, pipe_ends[1], 1);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  std::string program_text = program.string();
  std::string argument = name;
  char* argv[] = {program_text.data(), argument.data(), nullptr};
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipe_ends[1]);

  std::string answer;
  if (spawned == 0) {
    char buffer[512];
    for (;;) {
      const ssize_t n = read(pipe_ends[0], buffer, sizeof buffer);
      if (n > 0) {
        answer.append(buffer, static_cast<std::size_t>(n));
        if (answer.size() > kLongestAnswer) {
          answer.clear();
          break;  // the pipe closes below; the program ends on its next write
        }
      } else if (n == 0 || errno != EINTR) {
        break;
      }
    }
  }
  close(pipe_ends[0]);
  if (spawned != 0) {
    return {};
  }
  int status = 0;
  while (waitpid(pid, &status, 0) == -1 && errno == EINTR) {
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    return {};
  }
  while (!answer.empty() && (answer.back() == '\n' || answer.back() == '\r')) {
    answer.pop_back();
  }
  const std::filesystem::path folder(answer);
  return folder.is_absolute() ? folder : std::filesystem::path();
}

bool FolderWritable(const std::filesystem::path& folder) {
  return access(folder.c_str(), W_OK | X_OK) == 0;
}

}  // namespace hoshizora
