#include "platform/posix/posix_system.h"

#include <gtest/gtest.h>

#include <csignal>

#include "support/temp_dir.h"

namespace hoshizora {
namespace {

namespace fs = std::filesystem;

TEST(PosixSystem, KnowsItsOwnExecutable) {
  PosixSystem system;
  const fs::path exe = system.ExecutablePath();
  EXPECT_EQ(exe.filename(), "platform_tests");
  EXPECT_EQ(ExecutableFolder(system) / "platform_tests", exe);
  const auto now = system.LocalNow();
  ASSERT_TRUE(now.has_value());
  EXPECT_GE(now->year, 2024);
}

TEST(PosixSystem, RunsProgramsWithoutAShell) {
  PosixSystem system;
  testing::TempDir dir;
  const fs::path out = dir.path() / "出力 $HOME `x`.txt";
  const ProcessResult r = system.RunProcess(
      {"/bin/sh", "-c", "printf '%s' \"$1\" > \"$1\"; exit 7", "sh", out}, nullptr);
  EXPECT_EQ(r.kind, ProcessResult::Kind::kExited);
  EXPECT_EQ(r.exit_code, 7);
  EXPECT_EQ(testing::ReadFileBytes(out), out.native());

  EXPECT_EQ(system.RunProcess({"sh", "-c", "exit 0"}, nullptr).kind,
            ProcessResult::Kind::kStartFailed)
      << "never found on the search path";
  EXPECT_EQ(system.RunProcess({}, nullptr).kind, ProcessResult::Kind::kStartFailed);
}

TEST(PosixSystem, ArgumentsKeepBytesThatAreNotUtf8) {
  PosixSystem system;
  testing::TempDir dir;
  const fs::path out = dir.path() / "\x93\x64\x95\xf1.txt";  // Shift_JIS
  const ProcessResult r = system.RunProcess({"/bin/sh", "-c", ": > \"$1\"", "sh", out}, nullptr);
  ASSERT_EQ(r.kind, ProcessResult::Kind::kExited);
  EXPECT_TRUE(fs::exists(out));
}

// A parent that ignores SIGCHLD (some script runners start us that way) has
// its children reaped by the system: their exit status is gone.
TEST(PosixSystem, AnUnreadableExitStatusIsLostNeverSuccess) {
  PosixSystem system;
  CancelFlag never{false};
  const auto old = std::signal(SIGCHLD, SIG_IGN);
  const ProcessResult blocking = system.RunProcess({"/bin/sh", "-c", "exit 0"}, nullptr);
  const ProcessResult polled = system.RunProcess({"/bin/sh", "-c", "exit 0"}, &never);
  std::signal(SIGCHLD, old);
  EXPECT_EQ(blocking.kind, ProcessResult::Kind::kLost);
  EXPECT_EQ(polled.kind, ProcessResult::Kind::kLost);
  EXPECT_EQ(system.RunProcess({"/bin/sh", "-c", "exit 0"}, nullptr).kind,
            ProcessResult::Kind::kExited);
}

TEST(PosixSystem, FileOperations) {
  PosixSystem system;
  testing::TempDir dir;
  const fs::path folder = dir.path() / "和文電報";
  EXPECT_EQ(system.CreateFolder(folder), FolderMade::kMade);
  EXPECT_EQ(system.CreateFolder(folder), FolderMade::kNameTaken);
  EXPECT_EQ(system.CreateFolder(dir.path() / "none" / "x"), FolderMade::kNoParent);
  EXPECT_TRUE(system.PathExists(folder));
  EXPECT_FALSE(system.FileSize(folder).has_value()) << "a folder is not a file";
  testing::WriteFileBytes(folder / "a", "abc");
  EXPECT_EQ(system.FileSize(folder / "a"), 3u);
  EXPECT_TRUE(system.RemoveFile(folder / "a"));
  EXPECT_FALSE(system.PathExists(folder / "a"));
  EXPECT_FALSE(system.RemoveFile(folder / "a"));
}

}  // namespace
}  // namespace hoshizora
