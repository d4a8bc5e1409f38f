// hoshizora-cli run as a process and stopped by signals, or writing to a
// full device: what it leaves behind and how it ends.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <optional>
#include <thread>
#include <vector>

#include "base/little_endian.h"
#include "cli/cli_copy.h"
#include "support/program_run.h"
#include "support/temp_dir.h"
#include "telegram_file/telegram_text_format.h"

namespace hoshizora {
namespace {

namespace fs = std::filesystem;
using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;
using namespace std::chrono_literals;

// Whether a process still runs (a zombie has ended: only its reaping is left).
bool Running(const std::string& pid) {
  const std::string stat = ReadFileBytes(fs::path("/proc") / pid / "stat");
  const std::size_t paren = stat.rfind(')');
  return paren != std::string::npos && paren + 2 < stat.size() && stat[paren + 2] != 'Z';
}

// Waits up to `limit` for `ready`; whether it came.
template <typename Ready>
bool WaitUntil(Ready ready, std::chrono::seconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!ready()) {
    if (std::chrono::steady_clock::now() > deadline) {
      return false;
    }
    std::this_thread::sleep_for(20ms);
  }
  return true;
}

class CliSignalTest : public ::testing::Test {
 protected:
  CliSignalTest() {
    fs::create_directories(program);
    fs::create_directories(out);
    testing::CopyCliAndTemplate(cli, program);
  }
  void PlaceEncoder(const std::string& script) {
    WriteFileBytes(program / "lame", "#!/bin/sh\n" + script);
    fs::permissions(program / "lame", fs::perms::owner_all);
  }

  // Starts the command line with its output and errors in files; `stdout_to`
  // replaces the output file.
  void Start(const std::vector<std::string>& args, const fs::path& stdout_to = {},
             const fs::path& stdin_from = "/dev/null") {
    testing::ProgramStart start{
        .argv = {cli.string()}, .scratch = dir.path(), .input = stdin_from, .output = stdout_to};
    start.argv.insert(start.argv.end(), args.begin(), args.end());
    // The environment as it is, but the run's texts in Japanese, whatever the
    // locale the tests were started in.
    std::erase_if(start.env, [](const std::string& e) { return e.starts_with("LC_ALL="); });
    start.env.push_back("LC_ALL=ja_JP.UTF-8");
    running_.emplace(std::move(start));
    ASSERT_GT(running_->pid(), 0);
  }

  // The exit status, or -1 when it did not end in time (it is then killed)
  // or ended by a signal.
  int Wait(std::chrono::seconds limit) {
    const testing::ProgramRun run = running_->Finish(limit);
    killed_by_ = run.signal;
    return run.status;
  }

  std::vector<fs::path> Files(const fs::path& folder) const {
    std::vector<fs::path> files;
    for (const auto& e : fs::recursive_directory_iterator(folder)) {
      if (e.is_regular_file()) {
        files.push_back(e.path());
      }
    }
    return files;
  }

  // Every WAV left in the output folder says how much data it holds.
  void ExpectOnlyWholeWavs() const {
    for (const fs::path& file : Files(out)) {
      EXPECT_FALSE(file.filename().string().ends_with(".part")) << file;
      if (file.extension() == ".wav") {
        const std::string wav = ReadFileBytes(file);
        ASSERT_GE(wav.size(), 44u) << file;
        EXPECT_EQ(ReadLe(wav, 40, 4), wav.size() - 44) << file << ": the header lies";
      }
    }
  }

  std::string Errors() const { return ReadFileBytes(dir.path() / "stderr"); }

  TempDir dir;
  fs::path program = dir.path() / "プログラム";
  fs::path cli = program / "hoshizora-cli";
  fs::path out = dir.path() / "出力";
  std::optional<testing::RunningProgram> running_;
  int killed_by_ = 0;  // the signal that ended the last process waited for
};

// Stopped while the encoder runs: the encoder and everything it started end,
// the whole WAV stays, and the exit status names the signal.
TEST_F(CliSignalTest, StopWhileTheEncoderRunsEndsItsGroupAndKeepsTheWav) {
  PlaceEncoder("head -c 100 \"$1\" > \"$2\"\nsleep 300 &\necho $! > \"$0.child\"\nwait\n");
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
    SCOPED_TRACE(signal);
    fs::remove_all(out);
    fs::create_directory(out);
    fs::remove(program / "lame.child");
    Start({"output", "--out", out.string()});
    ASSERT_TRUE(
        WaitUntil([&] { return ReadFileBytes(program / "lame.child").ends_with("\n"); }, 60s));
    std::string child = ReadFileBytes(program / "lame.child");
    child.pop_back();
    kill(running_->pid(), signal);
    EXPECT_EQ(Wait(30s), 128 + signal) << Errors();
    EXPECT_TRUE(WaitUntil([&] { return !Running(child); }, 5s)) << "the encoder's child survived";
    ExpectOnlyWholeWavs();
    int wavs = 0;
    for (const fs::path& file : Files(out)) {
      wavs += file.extension() == ".wav";
      EXPECT_NE(file.extension(), ".mp3") << "a partial MP3 is not left";
    }
    EXPECT_EQ(wavs, 1);
    EXPECT_NE(Errors().find("MP3への変換を中止しました"), std::string::npos) << Errors();
  }
}

// Stopped while a long WAV is being written: no WAV under its final name
// whose header claims no data, and no partial file.
TEST_F(CliSignalTest, StopWhileTheWavIsWrittenLeavesNoBrokenWav) {
  const fs::path telegram = dir.path() / "long.txt";
  // At 20 characters a minute a thousand kana key for over an hour.
  WriteFileBytes(telegram, SerializeTelegramText(
                               {u"", u"", u"", u"", u"", u"[ホレ]" + std::u16string(1000, u'ヲ')}));
  Start({"output", telegram.string(), "--cpm", "20", "--out", out.string()});
  ASSERT_TRUE(WaitUntil(
      [&] {
        for (const fs::path& file : Files(out)) {
          if (fs::file_size(file) > 1024 * 1024 &&
              file.string().find(".wav") != std::string::npos) {
            return true;
          }
        }
        return false;
      },
      60s));
  kill(running_->pid(), SIGINT);
  EXPECT_EQ(Wait(30s), 128 + SIGINT) << Errors();
  ExpectOnlyWholeWavs();
  EXPECT_NE(Errors().find("音声: 中止したため作成しませんでした。"), std::string::npos) << Errors();
}

// `nohup` and a shell's background jobs start a program with signals
// ignored; they must stay ignored.
TEST_F(CliSignalTest, SignalsIgnoredFromTheStartStayIgnored) {
  PlaceEncoder("sleep 300 &\necho $! > \"$0.child\"\nwait\n");
  const auto old = std::signal(SIGHUP, SIG_IGN);
  Start({"output", "--out", out.string()});
  std::signal(SIGHUP, old);
  ASSERT_TRUE(
      WaitUntil([&] { return ReadFileBytes(program / "lame.child").ends_with("\n"); }, 60s));
  kill(running_->pid(), SIGHUP);
  std::this_thread::sleep_for(300ms);
  int status = 0;
  EXPECT_EQ(waitpid(running_->pid(), &status, WNOHANG), 0) << "still running";
  kill(running_->pid(), SIGTERM);
  EXPECT_EQ(Wait(30s), 128 + SIGTERM);
}

// A command waiting for its input has nothing to clean up, and nothing in it
// would notice a request to stop: a signal ends it at once, as a signal.
TEST_F(CliSignalTest, StopWhileWaitingForInputEndsAtOnce) {
  const fs::path fifo = dir.path() / "input";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  // Held open for writing, so that the input never ends.
  const int writer = open(fifo.c_str(), O_RDWR);
  ASSERT_GE(writer, 0);
  for (int signal : {SIGINT, SIGTERM}) {
    Start({"encode"}, {}, fifo);
    std::this_thread::sleep_for(300ms);
    kill(running_->pid(), signal);
    EXPECT_EQ(Wait(10s), -1) << "ended by its signal, not by exiting";
    EXPECT_EQ(killed_by_, signal);
  }
  close(writer);
}

// The list of files written is what scripts read: losing it is a failure.
TEST_F(CliSignalTest, StandardOutputThatCannotBeWrittenIsAFailure) {
  if (!fs::exists("/dev/full")) {
    GTEST_SKIP() << "no /dev/full here to fill standard output";
  }
  Start({"--version"}, "/dev/full");
  EXPECT_EQ(Wait(30s), 1);
  EXPECT_NE(Errors().find("標準出力に書き込めません"), std::string::npos) << Errors();

  Start({"output", "--out", out.string()}, "/dev/full");
  EXPECT_EQ(Wait(60s), 1);
  EXPECT_NE(Errors().find("標準出力に書き込めません"), std::string::npos) << Errors();
  Start({"output", "--cpm", "5"}, "/dev/full");
  EXPECT_EQ(Wait(30s), 2) << "a refusal keeps its own status";
}

}  // namespace
}  // namespace hoshizora
