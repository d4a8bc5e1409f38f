#include "cli/cli_app.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/ini_file.h"
#include "support/native_system.h"
#include "support/temp_dir.h"

namespace hoshizora {
namespace {

struct CliRun {
  int status;
  std::string out;
  std::string err;
};

CliRun Cli(std::vector<std::string> args, std::istream& in, bool stdout_is_terminal = false) {
  std::ostringstream out, err;
  testing::NativeSystem system;
  testing::TempDir dir;
  IniFileStore settings(system, dir.path() / "settings.ini");
  CliSetup setup;
  setup.stdout_is_terminal = stdout_is_terminal;
  const int status = RunCli(
      args, in, out, err, system, settings, []() -> Canvas& { throw 0; }, setup);
  return {status, out.str(), err.str()};
}

CliRun Cli(std::vector<std::string> args, const std::string& input = "",
           bool stdout_is_terminal = false) {
  std::istringstream in(input);
  return Cli(std::move(args), in, stdout_is_terminal);
}

// Standard input that never ends, like /dev/zero.
class EndlessZeros : public std::streambuf {
 protected:
  int_type underflow() override {
    setg(zeros_, zeros_, zeros_ + sizeof zeros_);
    return 0;
  }

 private:
  char zeros_[4096] = {};
};

TEST(CliTextCommands, EncodeAndMarkPrintWithoutLineBreak) {
  const CliRun encode = Cli({"encode"}, "[ホレ]アイ[ラタ]");
  EXPECT_EQ(encode.status, 0);
  EXPECT_EQ(encode.out, " -..--- --.-- .-  ...-. ");

  std::string sixty;
  for (int i = 0; i < 60; ++i) {
    sixty += "ア";
  }
  const CliRun mark = Cli({"mark"}, "[ホレ]" + sixty + "[ラタ]");
  EXPECT_EQ(mark.status, 0);
  EXPECT_EQ(mark.out, "[ホレ]" + sixty + "？[ラタ]");
  EXPECT_EQ(Cli({"encode"}, "").out, "");
}

// Only a terminal is protected from control characters and bidirectional
// marks; a file or a pipe gets the text exactly, NUL and all.
TEST(CliTextCommands, MarkShowsControlCharactersAsCodesOnlyOnATerminal) {
  const std::string text("\x1b]0;title\x07ア\xe2\x80\xaeイ\r\nウ\rエ\x00\x0c\x1aオ", 34);
  const CliRun terminal = Cli({"mark"}, text, true);
  EXPECT_EQ(terminal.status, 0);
  EXPECT_EQ(terminal.out, "U+001B]0;titleU+0007アU+202Eイ\r\nウU+000DエU+0000U+000CU+001Aオ");
  const CliRun data = Cli({"mark"}, text, false);
  EXPECT_EQ(data.status, 0);
  EXPECT_EQ(data.out, text);
  EXPECT_EQ(data.err, "");
}

// encode keys what it can and names the rest on stderr; that is no failure.
TEST(CliTextCommands, EncodeNamesTheCharactersItLeavesOut) {
  const CliRun run = Cli({"encode"}, "[ホレ]ア漢イ\xf0\xa0\x80\x8b漢\x1b[ラタ]");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, " -..--- --.-- .-  ...-. ");
  EXPECT_EQ(run.err, "hoshizora-cli: no Morse code for 漢 \xf0\xa0\x80\x8b U+001B; left out\n");
  EXPECT_EQ(Cli({"encode"}, "[ホレ]アイ[ラタ]").err, "");
}

TEST(CliTextCommands, RejectsBadInputAndArguments) {
  const CliRun bad = Cli({"encode"}, "ア\xFF");
  EXPECT_EQ(bad.status, 2);
  EXPECT_EQ(bad.out, "");
  EXPECT_NE(bad.err.find("UTF-8"), std::string::npos);
  EXPECT_EQ(bad.err.find('\n'), bad.err.size() - 1) << "one line";

  EXPECT_EQ(Cli({}).status, 2);
  EXPECT_EQ(Cli({"output", "--out"}).status, 2);
  EXPECT_EQ(Cli({"frobnicate"}).status, 2);
  EXPECT_EQ(Cli({"encode", "extra"}).status, 2);
  EXPECT_EQ(Cli({"--help"}).status, 0);
  EXPECT_NE(Cli({"--help"}).out.find("encode"), std::string::npos);
  EXPECT_NE(Cli({"--help"}).out.find("[--rise-ms MS] [--effective-cpm N]"), std::string::npos);
}

// Every command explains itself, wherever --help stands among its arguments,
// and does nothing else: no input read, nothing written.
TEST(CliHelp, EveryCommandHasItsOwnUsage) {
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
      {{"output", "--help"}, "[--rise-ms MS] [--effective-cpm N] [--quiet]"},
      {{"output", "t.txt", "--cpm", "500", "-h"}, "--quiet shows no progress"},
      {{"practice", "--help"}, "[--freq HZ] [--cpm N] [--out DIR] [--quiet]"},
      {{"practice", "--count", "0", "--help"}, "uses seed S+i"},
      {{"encode", "--help"}, "named on stderr"},
      {{"mark", "--help"}, "Group marks inserted"},
      {{"check", "--bogus", "--help"}, "KEY_採点_1.jpg, KEY_採点_2.jpg"},
      {{"stats", "--last", "0", "-h"}, "the newest N (1-10000)"},
      {{"decode", "--help"}, "PARIS WPM"},
  };
  for (const auto& [args, says] : cases) {
    const CliRun run = Cli(args, "never read");
    EXPECT_EQ(run.status, 0) << args.front();
    EXPECT_TRUE(run.out.starts_with("Usage: hoshizora-cli " + args.front() + " ")) << run.out;
    EXPECT_NE(run.out.find(says), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("Exit status:"), std::string::npos) << run.out;
    EXPECT_EQ(run.err, "");
  }
  EXPECT_EQ(Cli({"frobnicate", "--help"}).status, 2);
}

// Reading standard input ends with a status, never an exception or a hang.
TEST(CliTextCommands, UnreadableOrEndlessInputIsRefused) {
  testing::TempDir dir;
  std::ifstream folder(dir.path());  // reading a folder fails with an error
  const CliRun from_folder = Cli({"encode"}, folder);
  EXPECT_EQ(from_folder.status, 2);
  EXPECT_NE(from_folder.err.find("cannot read"), std::string::npos);

  EndlessZeros zeros;
  std::istream endless(&zeros);
  const CliRun from_device = Cli({"mark"}, endless);
  EXPECT_EQ(from_device.status, 2);
  EXPECT_NE(from_device.err.find("larger than"), std::string::npos);
  EXPECT_EQ(from_device.out, "");
}

}  // namespace
}  // namespace hoshizora
