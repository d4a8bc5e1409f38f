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

CliRun Cli(std::vector<std::string> args, std::istream& in) {
  std::ostringstream out, err;
  testing::NativeSystem system;
  testing::TempDir dir;
  IniFileStore settings(system, dir.path() / "settings.ini");
  const int status = RunCli(args, in, out, err, system, settings, []() -> Canvas& { throw 0; });
  return {status, out.str(), err.str()};
}

CliRun Cli(std::vector<std::string> args, const std::string& input = "") {
  std::istringstream in(input);
  return Cli(std::move(args), in);
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

TEST(CliTextCommands, MarkShowsControlCharactersAsCodes) {
  const CliRun mark = Cli({"mark"}, "\x1b]0;title\x07ア\xe2\x80\xaeイ\r\nウ\rエ");
  EXPECT_EQ(mark.status, 0);
  EXPECT_EQ(mark.out, "U+001B]0;titleU+0007アU+202Eイ\r\nウU+000Dエ");
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
