// hoshizora-cli's progress as a user sees it: on a terminal, in a file, and
// with --quiet.

#include <gtest/gtest.h>

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "cli/cli_copy.h"
#include "cli/progress_line.h"
#include "support/program_run.h"
#include "support/temp_dir.h"
#include "support/terminal_screen.h"
#include "telegram_file/telegram_text_format.h"

namespace hoshizora {
namespace {

namespace fs = std::filesystem;
using testing::ProgramRun;
using testing::Stderr;

// A portable program folder whose encoder takes a second and a half, so that
// the run outlasts the quiet start and the busy bar has time to move.
class CliTerminalTest : public ::testing::Test {
 protected:
  CliTerminalTest() {
    fs::create_directories(program);
    fs::create_directories(out);
    testing::CopyCliAndTemplate(program / "hoshizora-cli", program);
    // A real MP3 after a while: a copy of the WAV would not pass for one.
    testing::WriteFileBytes(program / "lame",
                            "#!/bin/sh\nsleep 1.5\nexec /usr/bin/lame --quiet \"$1\" \"$2\"\n");
    fs::permissions(program / "lame", fs::perms::owner_all);
    testing::WriteFileBytes(telegram, SerializeTelegramText({u"", u"一 二,三", u"第五号", u"", u"",
                                                             u"[ホレ]アイ[ラタ]"}));
  }
  ProgramRun Output(Stderr err_to, const std::vector<std::string>& extra = {}) {
    std::vector<std::string> argv{(program / "hoshizora-cli").string(), "output", telegram.string(),
                                  "--out", out.string()};
    argv.insert(argv.end(), extra.begin(), extra.end());
    return testing::RunProgram(argv,
                               {"PATH=/usr/bin:/bin", "LANG=ja_JP.UTF-8", "HOME=" + home.string()},
                               dir.path(), dir.path(), err_to, 72);
  }

  testing::TempDir dir;
  fs::path program = dir.path() / "program";
  fs::path out = dir.path() / "out";
  fs::path home = dir.path();
  fs::path telegram = dir.path() / "t.txt";
};

TEST_F(CliTerminalTest, TerminalGetsOneBarRedrawnInPlaceThenOnlyTheMessage) {
  const ProgramRun run = Output(Stderr::kTerminal);
  ASSERT_EQ(run.status, 0) << run.err;
  // The encoder's step, its block moving and its clock running.
  EXPECT_NE(run.err.find("--% 0:01"), std::string::npos) << run.err;
  EXPECT_GE(std::count(run.err.begin(), run.err.end(), '\r'), 6) << "redrawn, not reprinted";
  EXPECT_EQ(run.err.find("hoshizora-cli: "), std::string::npos) << "no plain progress lines";
  for (std::size_t at = 0; (at = run.err.find('\r', at)) != std::string::npos; ++at) {
    const std::size_t end = run.err.find('\r', at + 1);
    EXPECT_LT(DisplayColumns(run.err.substr(at + 1, end - at - 1)), 72)
        << "a line that fits never wraps";
  }
  // What stays on the screen: the closing message alone.
  EXPECT_EQ(testing::TerminalScreen(run.err),
            std::vector<std::string>{"完了: 出力が完了しました。"});
  EXPECT_NE(run.out.find("完了: 3 個のファイルを " + out.string()), std::string::npos) << run.out;
}

TEST_F(CliTerminalTest, FileGetsPlainLinesAndQuietGetsNoProgress) {
  const ProgramRun file = Output(Stderr::kFile);
  ASSERT_EQ(file.status, 0) << file.err;
  EXPECT_EQ(file.err.find('\r'), std::string::npos);
  // The encoder's step begins inside the quiet start and still gets its line.
  EXPECT_NE(file.err.find("hoshizora-cli: 音声を書き込み、MP3に変換中\n"), std::string::npos)
      << file.err;
  EXPECT_TRUE(file.err.ends_with("完了: 出力が完了しました。\n")) << file.err;

  for (const Stderr err_to : {Stderr::kTerminal, Stderr::kFile}) {
    const ProgramRun quiet = Output(err_to, {"--quiet"});
    ASSERT_EQ(quiet.status, 0) << quiet.err;
    EXPECT_EQ(quiet.err, err_to == Stderr::kTerminal ? "完了: 出力が完了しました。\r\n"
                                                     : "完了: 出力が完了しました。\n");
    EXPECT_NE(quiet.out.find("完了: 3 個のファイルを "), std::string::npos);
  }
}

// practice shows its progress as output does, and --quiet silences it.
TEST_F(CliTerminalTest, PracticeShowsTheSameProgressAndTakesQuiet) {
  const std::vector<std::string> env{"PATH=/usr/bin:/bin", "LANG=ja_JP.UTF-8",
                                     "HOME=" + home.string()};
  const std::vector<std::string> practice{(program / "hoshizora-cli").string(),
                                          "practice",
                                          "--length",
                                          "10-10",
                                          "--groups",
                                          "--out",
                                          out.string()};
  const ProgramRun bar =
      testing::RunProgram(practice, env, dir.path(), dir.path(), Stderr::kTerminal, 72);
  ASSERT_EQ(bar.status, 0) << bar.err;
  EXPECT_NE(bar.err.find("--% 0:01"), std::string::npos) << bar.err;
  EXPECT_EQ(testing::TerminalScreen(bar.err),
            std::vector<std::string>{"完了: 出力が完了しました。"});

  std::vector<std::string> quiet = practice;
  quiet.push_back("--quiet");
  for (const Stderr err_to : {Stderr::kTerminal, Stderr::kFile}) {
    const ProgramRun run = testing::RunProgram(quiet, env, dir.path(), dir.path(), err_to, 72);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, err_to == Stderr::kTerminal ? "完了: 出力が完了しました。\r\n"
                                                   : "完了: 出力が完了しました。\n");
  }
}

// A line of practice's output from a pipe, or "" when none comes within 30
// seconds (the program holding it back).
std::string LineFrom(int fd) {
  std::string line;
  char c = 0;
  while (line.empty() || line.back() != '\n') {
    pollfd ready{fd, POLLIN, 0};
    if (poll(&ready, 1, 30000) <= 0 || read(fd, &c, 1) != 1) {
      return "";
    }
    line.push_back(c);
  }
  return line;
}

// practice's stdout comes line by line, even into a pipe: the seed at once,
// each telegram's files as soon as it is written. The encoder waits for a
// "go" file, one per telegram, so the test knows what the program has done.
TEST_F(CliTerminalTest, PracticeSendsEachLineAsItHappens) {
  const fs::path go = dir.path() / "go";
  testing::WriteFileBytes(program / "lame", "#!/bin/sh\nwhile ! rm '" + go.string() +
                                                "' 2>/dev/null; do sleep 0.05; done\n"
                                                "exec /usr/bin/lame --quiet \"$1\" \"$2\"\n");
  testing::RunningProgram practice(
      {.argv = {(program / "hoshizora-cli").string(), "practice", "--count", "2", "--length",
                "10-10", "--groups", "--seed", "7", "--quiet", "--out", out.string()},
       .scratch = dir.path(),
       .out_to = testing::Stdout::kPipe});
  const int fd = practice.out_pipe();
  ASSERT_GE(fd, 0);
  EXPECT_EQ(LineFrom(fd), "seed: 7\n") << "before any telegram is written";
  testing::WriteFileBytes(go, "");
  std::vector<std::string> first;
  for (std::string line; (line = LineFrom(fd)).size() > 0;) {
    first.push_back(line);
    if (line.starts_with("complete:")) {
      break;
    }
  }
  ASSERT_EQ(first.size(), 5u) << "MP3, listing, form, answer key, summary";
  EXPECT_TRUE(first.back().ends_with(" (seed 7)\n")) << first.back();
  testing::WriteFileBytes(go, "");
  std::string rest;
  for (std::string line; (line = LineFrom(fd)).size() > 0;) {
    rest += line;
  }
  EXPECT_TRUE(rest.ends_with(" (seed 8)\n")) << rest;
  EXPECT_EQ(practice.Finish().status, 0);
}

// The filters as a user meets them: a file or a pipe gets the text exactly,
// a terminal sees its control characters as codes; encode names on stderr
// what it cannot key, and that is no failure.
TEST_F(CliTerminalTest, FiltersGiveExactTextToFilesAndPipesAndCodesToATerminal) {
  const std::string text("[ホレ]ア\x1b[2J\x00イ\r\x0c漢[ラタ]\x1a", 33);
  const fs::path input = dir.path() / "in.txt";
  testing::WriteFileBytes(input, text);
  const std::vector<std::string> env{"PATH=/usr/bin:/bin", "LANG=ja_JP.UTF-8",
                                     "HOME=" + home.string()};
  const std::string cli = (program / "hoshizora-cli").string();
  const auto run = [&](const std::vector<std::string>& argv, testing::Stdout out_to) {
    return testing::RunProgram(argv, env, dir.path(), dir.path(), Stderr::kFile, 72, out_to, input);
  };

  const ProgramRun to_file = run({cli, "mark"}, testing::Stdout::kFile);
  EXPECT_EQ(to_file.status, 0);
  EXPECT_EQ(to_file.out, text);
  const ProgramRun piped =
      run({"/bin/sh", "-c", "\"$0\" mark | cat > piped.txt", cli}, testing::Stdout::kFile);
  EXPECT_EQ(piped.status, 0);
  EXPECT_EQ(testing::ReadFileBytes(dir.path() / "piped.txt"), text);
  const ProgramRun on_terminal = run({cli, "mark"}, testing::Stdout::kTerminal);
  EXPECT_EQ(on_terminal.status, 0);
  EXPECT_EQ(on_terminal.out, "[ホレ]アU+001B[2JU+0000イU+000DU+000C漢[ラタ]U+001A");

  const ProgramRun encode = run({cli, "encode"}, testing::Stdout::kFile);
  EXPECT_EQ(encode.status, 0);
  EXPECT_EQ(encode.out, " -..--- --.-- ..- .--- .-  ...-. ");
  EXPECT_EQ(
      encode.err,
      "hoshizora-cli: モールス符号のない文字を省きました: U+001B [ U+0000 U+000C 漢 U+001A\n");
}

}  // namespace
}  // namespace hoshizora
