#include "cli/cli_app.h"

#include <gtest/gtest.h>

#include <sstream>

#include "platform/posix/posix_system.h"

namespace hoshizora {
namespace {

struct CliRun {
  int status;
  std::string out;
  std::string err;
};

CliRun Cli(std::vector<std::string> args, const std::string& input = "") {
  std::istringstream in(input);
  std::ostringstream out, err;
  PosixSystem system;
  const int status = RunCli(args, in, out, err, system, []() -> Canvas& { throw 0; });
  return {status, out.str(), err.str()};
}

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

TEST(CliTextCommands, RejectsBadInputAndArguments) {
  const CliRun bad = Cli({"encode"}, "ア\xFF");
  EXPECT_EQ(bad.status, 2);
  EXPECT_EQ(bad.out, "");
  EXPECT_NE(bad.err.find("UTF-8"), std::string::npos);
  EXPECT_EQ(bad.err.find('\n'), bad.err.size() - 1) << "one line";

  EXPECT_EQ(Cli({}).status, 2);
  EXPECT_EQ(Cli({"frobnicate"}).status, 2);
  EXPECT_EQ(Cli({"encode", "extra"}).status, 2);
  EXPECT_EQ(Cli({"--help"}).status, 0);
  EXPECT_NE(Cli({"--help"}).out.find("encode"), std::string::npos);
}

}  // namespace
}  // namespace hoshizora
