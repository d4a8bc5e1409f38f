// The window program as a user starts it from a terminal: --help and
// --version answer without a display, and with no display the window says so
// in one line instead of letting Qt abort.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/program_run.h"
#include "support/temp_dir.h"

namespace hoshizora {
namespace {

TEST(WindowProgram, AnswersWithoutADisplay) {
  struct Case {
    std::vector<std::string> args;
    int status;
    std::string out_has;
    std::string err_has;
  };
  const std::vector<Case> cases = {
      {{"--help"}, 0, "Usage: hoshizora", ""},
      {{"-h"}, 0, "Usage: hoshizora", ""},
      {{"--version"}, 0, "hoshizora ", ""},
      {{}, 1, "", "no display"},
  };
  for (const Case& c : cases) {
    testing::TempDir dir;
    std::vector<std::string> argv = {HOSHIZORA_WINDOW};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    const testing::ProgramRun run =
        testing::RunProgram(argv, {"HOME=" + dir.path().string()}, dir.path(), dir.path());
    const std::string what = c.args.empty() ? "(no argument)" : c.args.front();
    EXPECT_EQ(run.status, c.status) << what << ": " << run.err;
    EXPECT_NE(run.out.find(c.out_has), std::string::npos) << what << ": " << run.out;
    EXPECT_NE(run.err.find(c.err_has), std::string::npos) << what << ": " << run.err;
    EXPECT_EQ(run.err.find("Reinstalling"), std::string::npos) << what;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), c.err_has.empty() ? 0 : 1) << what;
  }
}

}  // namespace
}  // namespace hoshizora
