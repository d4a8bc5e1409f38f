#include "platform/win32/win32_user_folders.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace hoshizora {
namespace {

namespace fs = std::filesystem;

TEST(Win32UserFoldersTest, KnownFoldersAndTheProfileAreAbsoluteFolders) {
  for (KnownFolder which : {KnownFolder::kRoamingAppData, KnownFolder::kDocuments}) {
    const fs::path folder = KnownFolderPath(which);
    EXPECT_TRUE(folder.is_absolute()) << folder.string();
    EXPECT_TRUE(fs::is_directory(folder)) << folder.string();
  }
  const fs::path profile = UserProfileFolder();
  EXPECT_TRUE(profile.is_absolute()) << profile.string();
  EXPECT_NE(KnownFolderPath(KnownFolder::kRoamingAppData),
            KnownFolderPath(KnownFolder::kDocuments));
}

// The probe leaves nothing behind, and a folder it cannot make a file in (a
// missing one, or a file) is not writable.
TEST(Win32UserFoldersTest, WritableProbeLeavesNothingBehind) {
  testing::TempDir dir;
  const fs::path folder = dir.path() / u"書き込み 試験";
  fs::create_directories(folder);
  EXPECT_TRUE(FolderWritable(folder));
  EXPECT_TRUE(fs::is_empty(folder));
  EXPECT_FALSE(FolderWritable(folder / "missing"));
  testing::WriteFileBytes(folder / "file", "x");
  EXPECT_FALSE(FolderWritable(folder / "file"));
}

}  // namespace
}  // namespace hoshizora
