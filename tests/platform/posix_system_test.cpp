#include "platform/posix/posix_system.h"

#include <gtest/gtest.h>

#include "platform/paths.h"
#include "support/temp_dir.h"

namespace hoshizora {
namespace {

namespace fs = std::filesystem;

TEST(PosixSystem, KnowsItsOwnExecutable) {
  PosixSystem system;
  const std::u16string exe = system.ExecutablePath();
  EXPECT_TRUE(exe.ends_with(u"/platform_tests"));
  EXPECT_EQ(ExecutableFolder(system) + u"/platform_tests", exe);
  const auto now = system.LocalNow();
  ASSERT_TRUE(now.has_value());
  EXPECT_GE(now->year, 2024);
}

TEST(PosixSystem, RunsProgramsWithoutAShell) {
  PosixSystem system;
  testing::TempDir dir;
  const std::u16string out = dir.u16() + u"/出力 $HOME `x`.txt";
  const ProcessResult r = system.RunProcess(
      {u"/bin/sh", u"-c", u"printf '%s' \"$1\" > \"$1\"; exit 7", u"sh", out}, nullptr);
  EXPECT_EQ(r.kind, ProcessResult::Kind::kExited);
  EXPECT_EQ(r.exit_code, 7);
  EXPECT_EQ(testing::ReadFileBytes(ToFsPath(out)), ToFsPath(out).string());

  EXPECT_EQ(system.RunProcess({u"sh", u"-c", u"exit 0"}, nullptr).kind,
            ProcessResult::Kind::kStartFailed)
      << "never found on the search path";
  EXPECT_EQ(system.RunProcess({}, nullptr).kind, ProcessResult::Kind::kStartFailed);
}

TEST(PosixSystem, FileOperations) {
  PosixSystem system;
  testing::TempDir dir;
  const std::u16string folder = dir.u16() + u"/和文電報";
  EXPECT_TRUE(system.CreateFolder(folder));
  EXPECT_FALSE(system.CreateFolder(folder)) << "exists already";
  EXPECT_TRUE(system.PathExists(folder));
  EXPECT_FALSE(system.FileSize(folder).has_value()) << "a folder is not a file";
  testing::WriteFileBytes(ToFsPath(folder + u"/a"), "abc");
  EXPECT_EQ(system.FileSize(folder + u"/a"), 3u);
  EXPECT_TRUE(system.RemoveFile(folder + u"/a"));
  EXPECT_FALSE(system.PathExists(folder + u"/a"));
  EXPECT_FALSE(system.RemoveFile(folder + u"/a"));
}

}  // namespace
}  // namespace hoshizora
