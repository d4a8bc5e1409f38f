#include "platform/posix/user_folders.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "support/temp_dir.h"

namespace hoshizora {
namespace {

namespace fs = std::filesystem;

// A stand-in for xdg-user-dir: a shell script with the given body.
fs::path Script(const testing::TempDir& dir, const std::string& name, const std::string& body) {
  const fs::path path = dir.path() / name;
  testing::WriteFileBytes(path, "#!/bin/sh\n" + body + "\n");
  fs::permissions(path, fs::perms::owner_all);
  return path;
}

TEST(UserFolders, TakesTheAbsoluteFolderTheProgramPrints) {
  testing::TempDir dir;
  EXPECT_EQ(XdgUserDir("DOCUMENTS", Script(dir, "answers", "echo \"/home/u/$1 書類\"")),
            fs::path("/home/u/DOCUMENTS 書類"));
  EXPECT_EQ(XdgUserDir("DOCUMENTS", Script(dir, "no-newline", "printf /srv/docs")),
            fs::path("/srv/docs"));
}

TEST(UserFolders, AnythingButAClearAnswerIsNoAnswer) {
  testing::TempDir dir;
  EXPECT_TRUE(
      XdgUserDir("DOCUMENTS", Script(dir, "fails", "echo /home/u/Documents; exit 1")).empty());
  EXPECT_TRUE(XdgUserDir("DOCUMENTS", Script(dir, "relative", "echo Documents")).empty());
  EXPECT_TRUE(XdgUserDir("DOCUMENTS", Script(dir, "silent", "true")).empty());
  EXPECT_TRUE(XdgUserDir("DOCUMENTS", Script(dir, "endless", "yes /home/u/Documents")).empty());
  EXPECT_TRUE(XdgUserDir("DOCUMENTS", dir.path() / "missing").empty());
}

TEST(UserFolders, EnvironmentAndWritability) {
  testing::TempDir dir;
  setenv("HOSHIZORA_TEST_FOLDER", "/tmp/某所", 1);
  EXPECT_EQ(EnvironmentPath("HOSHIZORA_TEST_FOLDER"), fs::path("/tmp/某所"));
  unsetenv("HOSHIZORA_TEST_FOLDER");
  EXPECT_TRUE(EnvironmentPath("HOSHIZORA_TEST_FOLDER").empty());

  EXPECT_TRUE(FolderWritable(dir.path()));
  EXPECT_FALSE(FolderWritable(dir.path() / "missing"));
}

}  // namespace
}  // namespace hoshizora
