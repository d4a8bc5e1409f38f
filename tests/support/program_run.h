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

extern char** environ;

namespace hoshizora::testing {

// How a started program ended and what it printed.
struct ProgramRun {
  int status = -1;  // the exit status, -1 when it did not exit by itself
  int signal = 0;   // the signal that ended it, if one did
  std::string out;
  std::string err;
};

// Where the program's stderr goes.
enum class Stderr { kFile, kTerminal };
// Where the program's stdout goes; a pipe is read by the caller, as it comes.
enum class Stdout { kFile, kTerminal, kPipe };

// This process's own environment, for a program that should see it.
inline std::vector<std::string> InheritedEnvironment() {
  std::vector<std::string> env;
  for (char** e = environ; *e != nullptr; ++e) {
    env.emplace_back(*e);
  }
  return env;
}

// `argv` (argv[0] a full path) run in `folder` with exactly the environment
// `env` ("NAME=value"), stdin from `input`. stdout and stderr go each to a
// file in `scratch` (stdout to `output` when given), or through a
// pseudo-terminal of `columns` columns (one terminal for both when both ask
// for it, read into `out`).
struct ProgramStart {
  std::vector<std::string> argv{};
  std::vector<std::string> env = InheritedEnvironment();
  std::filesystem::path folder = std::filesystem::current_path();
  std::filesystem::path scratch{};
  Stderr err_to = Stderr::kFile;
  int columns = 100;
  Stdout out_to = Stdout::kFile;
  std::filesystem::path input = "/dev/null";
  std::filesystem::path output{};
};

// A started program; one still running when this ends is killed.
class RunningProgram {
 public:
  explicit RunningProgram(ProgramStart start) : start_(std::move(start)) {
    if (start_.output.empty()) {
      start_.output = start_.scratch / "stdout";
    }
    int slave = -1;
    int pipe_ends[2] = {-1, -1};
    if (start_.err_to == Stderr::kTerminal || start_.out_to == Stdout::kTerminal) {
      winsize size{};
      size.ws_row = 24;
      size.ws_col = static_cast<unsigned short>(start_.columns);
      if (openpty(&terminal_, &slave, nullptr, nullptr, &size) != 0) {
        return;
      }
    }
    if (start_.out_to == Stdout::kPipe && pipe(pipe_ends) != 0) {
      return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, start_.folder.c_str());
    posix_spawn_file_actions_addopen(&actions, 0, start_.input.c_str(), O_RDONLY, 0);
    constexpr int kWrite = O_WRONLY | O_CREAT | O_TRUNC;
    if (start_.out_to == Stdout::kTerminal) {
      posix_spawn_file_actions_adddup2(&actions, slave, 1);
    } else if (start_.out_to == Stdout::kPipe) {
      posix_spawn_file_actions_adddup2(&actions, pipe_ends[1], 1);
      posix_spawn_file_actions_addclose(&actions, pipe_ends[0]);
      posix_spawn_file_actions_addclose(&actions, pipe_ends[1]);
    } else {
      posix_spawn_file_actions_addopen(&actions, 1, start_.output.c_str(), kWrite, 0600);
    }
    if (start_.err_to == Stderr::kTerminal) {
      posix_spawn_file_actions_adddup2(&actions, slave, 2);
    } else {
      posix_spawn_file_actions_addopen(&actions, 2, (start_.scratch / "stderr").c_str(), kWrite,
                                       0600);
    }
    if (slave >= 0) {
      posix_spawn_file_actions_addclose(&actions, terminal_);
      posix_spawn_file_actions_addclose(&actions, slave);
    }
    const auto pointers = [](std::vector<std::string>& strings) {
      std::vector<char*> out;
      for (auto& s : strings) {
        out.push_back(s.data());
      }
      out.push_back(nullptr);
      return out;
    };
    std::vector<char*> args = pointers(start_.argv);
    std::vector<char*> envp = pointers(start_.env);
    if (posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), envp.data()) != 0) {
      pid_ = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    for (const int fd : {slave, pipe_ends[1]}) {
      if (fd >= 0) {
        close(fd);
      }
    }
    out_pipe_ = pipe_ends[0];
  }
  ~RunningProgram() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      Finish(std::chrono::seconds(5));
    }
    CloseFd(terminal_);
    CloseFd(out_pipe_);
  }
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  pid_t pid() const { return pid_; }
  // The read end of stdout with Stdout::kPipe.
  int out_pipe() const { return out_pipe_; }

  // Waits for the end, reading the terminal meanwhile; a program still
  // running after `limit` is ended and counts as a failure.
  ProgramRun Finish(std::chrono::seconds limit = std::chrono::minutes(1)) {
    ProgramRun run;
    if (pid_ <= 0) {
      return run;
    }
    // The terminal's bytes until the program's end closes it (EIO).
    const auto deadline = std::chrono::steady_clock::now() + limit;
    int status = 0;
    bool exited = false;
    bool timed_out = false;
    while (!exited || terminal_ >= 0) {
      if (!exited && !timed_out && std::chrono::steady_clock::now() > deadline) {
        kill(pid_, SIGKILL);
        timed_out = true;
      }
      if (terminal_ >= 0) {
        pollfd ready{terminal_, POLLIN, 0};
        if (poll(&ready, 1, 100) > 0) {
          char buffer[4096];
          const ssize_t n = read(terminal_, buffer, sizeof buffer);
          if (n > 0) {
            (start_.out_to == Stdout::kTerminal ? run.out : run.err)
                .append(buffer, static_cast<std::size_t>(n));
          } else if (n == 0 || errno != EINTR) {
            CloseFd(terminal_);
          }
        }
      } else {
        usleep(10000);
      }
      if (!exited) {
        const pid_t ended = waitpid(pid_, &status, WNOHANG);
        exited = ended == pid_ || (ended == -1 && errno != EINTR);
      }
    }
    pid_ = -1;
    CloseFd(out_pipe_);
    run.status = !timed_out && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.signal = !timed_out && WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    const auto slurp = [](const std::filesystem::path& path) {
      std::ostringstream bytes;
      bytes << std::ifstream(path, std::ios::binary).rdbuf();
      return bytes.str();
    };
    if (start_.out_to == Stdout::kFile && std::filesystem::is_regular_file(start_.output)) {
      run.out = slurp(start_.output);
    }
    if (start_.err_to == Stderr::kFile) {
      run.err = slurp(start_.scratch / "stderr");
    }
    return run;
  }

 private:
  static void CloseFd(int& fd) {
    if (fd >= 0) {
      close(fd);
      fd = -1;
    }
  }

  ProgramStart start_;
  pid_t pid_ = -1;
  int terminal_ = -1;
  int out_pipe_ = -1;
};

inline ProgramRun RunProgram(ProgramStart start) {
  return RunningProgram(std::move(start)).Finish();
}

inline ProgramRun RunProgram(std::vector<std::string> argv, std::vector<std::string> env,
                             const std::filesystem::path& folder,
                             const std::filesystem::path& scratch, Stderr err_to = Stderr::kFile,
                             int columns = 100, Stdout out_to = Stdout::kFile,
                             const std::filesystem::path& input = "/dev/null") {
  return RunProgram(
      {std::move(argv), std::move(env), folder, scratch, err_to, columns, out_to, input, {}});
}

}  // namespace hoshizora::testing
