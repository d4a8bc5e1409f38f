#include "platform/file_io.h"

#include <gtest/gtest.h>

#include "support/native_system.h"
#include "support/temp_dir.h"

namespace hoshizora {
namespace {

namespace fs = std::filesystem;
using Status = FileRead::Status;

class FileIoTest : public ::testing::Test {
 protected:
#ifndef _WIN32
  fs::path MakeFifo(const std::string& name) {
    const fs::path fifo = dir.path() / name;
    const ProcessResult r = system.RunProcess({"/usr/bin/mkfifo", fifo}, nullptr);
    EXPECT_EQ(r.exit_code, 0);
    return fifo;
  }
#endif

  testing::TempDir dir;
  testing::NativeSystem system;
};

// Nothing that is not a regular file is opened: a FIFO would block for ever
// and a device would never end.
TEST_F(FileIoTest, ReadsOnlyWholeRegularFilesWithinTheLimit) {
  testing::WriteFileBytes(dir.path() / "a", "abc");
  const FileRead a = system.ReadFile(dir.path() / "a", 3);
  EXPECT_EQ(a.status, Status::kRead);
  EXPECT_EQ(a.bytes, "abc");
  EXPECT_EQ(system.ReadFile(dir.path() / "a", 2).status, Status::kTooLarge);
  EXPECT_EQ(system.ReadFile(dir.path() / "none", 9).status, Status::kMissing);
  EXPECT_EQ(system.ReadFile(dir.path(), 9).status, Status::kNotRegularFile);
  EXPECT_TRUE(system.ReadFile(dir.path(), 9).bytes.empty());
#ifndef _WIN32
  EXPECT_EQ(system.ReadFile(MakeFifo("fifo"), 9).status, Status::kNotRegularFile);
  EXPECT_EQ(system.ReadFile("/dev/zero", 9).status, Status::kNotRegularFile);
  fs::create_symlink("/dev/zero", dir.path() / "zero");
  EXPECT_EQ(system.ReadFile(dir.path() / "zero", 9).status, Status::kNotRegularFile);
#else
  // The null device reads as missing here: either way it is never opened.
  EXPECT_NE(system.ReadFile("NUL", 9).status, Status::kRead);
#endif
}

TEST_F(FileIoTest, PartsLinksCopiesAndRenames) {
  std::string big(200 * 1024 + 7, 'x');
  big[100 * 1024] = 'y';
  testing::WriteFileBytes(dir.path() / "big", big);
  const FileRead head = system.ReadFilePart(dir.path() / "big", 0, 70 * 1024);
  EXPECT_EQ(head.status, Status::kRead);
  EXPECT_EQ(head.bytes.size(), 70u * 1024);
  EXPECT_EQ(system.ReadFilePart(dir.path() / "big", 0, 1 << 20).bytes, big) << "shorter than asked";
  EXPECT_EQ(system.ReadFilePart(dir.path() / "big", 100 * 1024, 2).bytes, "yx");
  EXPECT_EQ(system.ReadFilePart(dir.path() / "big", big.size() - 3, 9).bytes, "xxx");
  const FileRead past = system.ReadFilePart(dir.path() / "big", big.size() + 5, 9);
  EXPECT_EQ(past.status, Status::kRead);
  EXPECT_EQ(past.bytes, "");
#ifndef _WIN32
  EXPECT_EQ(system.ReadFilePart(MakeFifo("fifo"), 0, 9).status, Status::kNotRegularFile);
#endif

  ASSERT_TRUE(system.CopyFileTo(dir.path() / "big", dir.path() / "copy"));
  testing::WriteFileBytes(dir.path() / "copy 2", "old");
  ASSERT_TRUE(system.CopyFileTo(dir.path() / "big", dir.path() / "copy 2")) << "replaces";
  testing::WriteFileBytes(dir.path() / "big", "");
  EXPECT_EQ(testing::ReadFileBytes(dir.path() / "copy"), big) << "a copy, not a second name";
  EXPECT_EQ(testing::ReadFileBytes(dir.path() / "copy 2"), big);
  EXPECT_FALSE(system.CopyFileTo(dir.path() / "none", dir.path() / "y")) << "nothing to copy";
  EXPECT_FALSE(fs::exists(dir.path() / "y"));
  testing::WriteFileBytes(dir.path() / "big", big);

  ASSERT_TRUE(system.LinkFile(dir.path() / "big", dir.path() / "second name"));
  fs::remove(dir.path() / "big");
  EXPECT_EQ(testing::ReadFileBytes(dir.path() / "second name"), big);
  EXPECT_FALSE(system.LinkFile(dir.path() / "big", dir.path() / "x")) << "nothing to link";
  ASSERT_TRUE(system.RenameFile(dir.path() / "second name", dir.path() / "big"));
  EXPECT_EQ(testing::ReadFileBytes(dir.path() / "big"), big);
  EXPECT_FALSE(system.RenameFile(dir.path() / "second name", dir.path() / "big"));
}

TEST_F(FileIoTest, ByteSinkWritesInOrderAndPatchesHeaders) {
  const auto sink = system.CreateFile(dir.path() / "f");
  ASSERT_NE(sink, nullptr);
  EXPECT_TRUE(sink->Write("0000abcd"));
  EXPECT_TRUE(sink->WriteAt(1, "XY"));
  EXPECT_TRUE(sink->Write("ef"));
  EXPECT_TRUE(sink->Finish());
  EXPECT_EQ(testing::ReadFileBytes(dir.path() / "f"), "0XY0abcdef");
  EXPECT_EQ(system.CreateFile(dir.path() / "missing" / "f"), nullptr);
}

TEST_F(FileIoTest, ReplacedFileKeepsItsModeAndLeavesNoTemporaryFile) {
  const fs::path target = dir.path() / "settings.ini";
  testing::WriteFileBytes(target, "old");
  fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
  const fs::perms mode = fs::status(target).permissions();
  ASSERT_TRUE(system.ReplaceFile(target, "new"));
  EXPECT_EQ(testing::ReadFileBytes(target), "new");
  EXPECT_EQ(fs::status(target).permissions(), mode);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);

  // A target that cannot be replaced (here a folder) survives, and so does
  // everything beside it.
  fs::create_directory(dir.path() / "folder");
  testing::WriteFileBytes(dir.path() / "folder" / "inside", "kept");
  EXPECT_FALSE(system.ReplaceFile(dir.path() / "folder", "new"));
  EXPECT_EQ(testing::ReadFileBytes(dir.path() / "folder" / "inside"), "kept");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2);
  EXPECT_FALSE(system.ReplaceFile(dir.path() / "missing" / "x", "new"));
}

TEST_F(FileIoTest, StagedFilesChangeNothingUntilCommitted) {
  const fs::path target = dir.path() / "a";
  testing::WriteFileBytes(target, "old");
  {
    auto staged = StagedFile::Write(target, "new");
    ASSERT_TRUE(staged.has_value());
    EXPECT_EQ(testing::ReadFileBytes(target), "old");
  }
  EXPECT_EQ(testing::ReadFileBytes(target), "old");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1)
      << "a dropped staged file leaves nothing behind";
  auto staged = StagedFile::Write(target, "new");
  ASSERT_TRUE(staged && staged->Commit());
  EXPECT_EQ(testing::ReadFileBytes(target), "new");
}

}  // namespace
}  // namespace hoshizora
