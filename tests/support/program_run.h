#pragma once

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace hoshizora::testing {

// How a started program ended and what it printed.
struct ProgramRun {
  int status = -1;  // the exit status, -1 when it did not exit by itself
  std::string out;
  std::string err;
};

// Where the program's stderr goes.
enum class Stderr { kFile, kTerminal };
// Where the program's stdout goes.
enum class Stdout { kFile, kTerminal };

// Runs `argv` (argv[0] a full path) in `folder` with exactly the environment
// `env` ("NAME=value"), stdin from `input`. stdout and stderr go each through
// a file or a pseudo-terminal of `columns` columns (one terminal for both
// when both ask for it, read into `out`). A run longer than a minute is ended
// and counts as a failure.
inline ProgramRun RunProgram(const std::vector<std::string>& argv,
                             const std::vector<std::string>& env,
                             const std::filesystem::path& folder,
                             const std::filesystem::path& scratch, Stderr err_to = Stderr::kFile,
                             int columns = 100, Stdout out_to = Stdout::kFile,
                             const std::filesystem::path& input = "/dev/null") {
  ProgramRun run;
  const std::filesystem::path out_file = scratch / "stdout";
  const std::filesystem::path err_file = scratch / "stderr";
  int master = -1;
  int slave = -1;
  if (err_to == Stderr::kTerminal || out_to == Stdout::kTerminal) {
    winsize size{};
    size.ws_row = 24;
    size.ws_col = static_cast<unsigned short>(columns);
    if (openpty(&master, &slave, nullptr, nullptr, &size) != 0) {
      return run;
    }
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
  posix_spawn_file_actions_addopen(&actions, 0, input.c_str(), O_RDONLY, 0);
  if (out_to == Stdout::kTerminal) {
    posix_spawn_file_actions_adddup2(&actions, slave, 1);
  } else {
    posix_spawn_file_actions_addopen(&actions, 1, out_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
  }
  if (err_to == Stderr::kTerminal) {
    posix_spawn_file_actions_adddup2(&actions, slave, 2);
  } else {
    posix_spawn_file_actions_addopen(&actions, 2, err_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
  }
  if (slave >= 0) {
    posix_spawn_file_actions_addclose(&actions, master);
    posix_spawn_file_actions_addclose(&actions, slave);
  }
  std::vector<char*> args;
  for (const auto& a : argv) {
    args.push_back(const_cast<char*>(a.c_str()));
  }
  args.push_back(nullptr);
  std::vector<char*> envp;
  for (const auto& e : env) {
    envp.push_back(const_cast<char*>(e.c_str()));
  }
  envp.push_back(nullptr);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (slave >= 0) {
    close(slave);
  }
  if (spawned != 0) {
    if (master >= 0) {
      close(master);
    }
    return run;
  }
  // The terminal's bytes until the program's end closes it (EIO), and the
  // program's end; a hang is ended at the deadline.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
  int status = 0;
  bool exited = false;
  while (!exited || master >= 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGKILL);
    }
    if (master >= 0) {
      pollfd ready{master, POLLIN, 0};
      if (poll(&ready, 1, 100) > 0) {
        char buffer[4096];
        const ssize_t n = read(master, buffer, sizeof buffer);
        if (n > 0) {
          (out_to == Stdout::kTerminal ? run.out : run.err)
              .append(buffer, static_cast<std::size_t>(n));
        } else if (n == 0 || errno != EINTR) {
          close(master);
          master = -1;
        }
      }
    } else {
      usleep(10000);
    }
    if (!exited) {
      const pid_t ended = waitpid(pid, &status, WNOHANG);
      exited = ended == pid || (ended == -1 && errno != EINTR);
    }
  }
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  const auto slurp = [](const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  };
  if (out_to == Stdout::kFile) {
    run.out = slurp(out_file);
  }
  if (err_to == Stderr::kFile) {
    run.err = slurp(err_file);
  }
  return run;
}

}  // namespace hoshizora::testing
