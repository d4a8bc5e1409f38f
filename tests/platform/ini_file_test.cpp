#include "platform/ini_file.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"
#include "support/test_system.h"

namespace hoshizora {
namespace {

namespace fs = std::filesystem;

TEST(IniFile, ReadsValuesWithoutRegardToCase) {
  const std::string ini =
      "; comment\n[other]\nFreqHz=1\n[general]\r\n freqhz = 700 \r\nCpm=12abc\n";
  EXPECT_EQ(FindIniValue(ini, "General", "FreqHz"), "700");
  EXPECT_EQ(FindIniValue(ini, "GENERAL", "cpm"), "12abc");
  EXPECT_EQ(FindIniValue(ini, "General", "OpenAudio"), std::nullopt);
  EXPECT_EQ(FindIniValue(ini, "Missing", "FreqHz"), std::nullopt);
  EXPECT_EQ(LeadingInt("12abc"), 12);
  EXPECT_EQ(LeadingInt("abc"), 0);
  EXPECT_EQ(LeadingInt("-5"), -5);
  EXPECT_EQ(LeadingInt("99999999999"), 2147483647);
}

TEST(IniFile, WritesInPlaceAndKeepsEverythingElse) {
  const std::string ini = "; keep me\n[General]\nFreqHz=440\nCpm=100\n\n[Other]\nX=1\n";
  EXPECT_EQ(SetIniValue(ini, "general", "FREQHZ", "700"),
            "; keep me\n[General]\nFreqHz=700\nCpm=100\n\n[Other]\nX=1\n");
  EXPECT_EQ(SetIniValue(ini, "General", "OpenAudio", "0"),
            "; keep me\n[General]\nFreqHz=440\nCpm=100\nOpenAudio=0\n\n[Other]\nX=1\n");
  EXPECT_EQ(SetIniValue(ini, "New", "K", "v"), ini + "[New]\nK=v\n");
  EXPECT_EQ(SetIniValue("", "General", "FreqHz", "440"), "[General]\nFreqHz=440\n");
  EXPECT_EQ(SetIniValue("[General]\r\nA=1\r\n", "General", "B", "2"),
            "[General]\r\nA=1\r\nB=2\r\n");
}

TEST(IniFile, StoreCreatesTheFileInTheUsualOrder) {
  testing::TempDir dir;
  testing::NativeSystem system;
  IniFileStore store(system, dir.path() / "settings.ini");
  EXPECT_EQ(store.ReadInt("General", "FreqHz", 440), 440);
  for (const char* key : {"FreqHz", "Cpm", "OpenAudio", "OpenTextJpg", "OpenWabunDir"}) {
    EXPECT_TRUE(store.WriteString("General", key, std::string(key) == "FreqHz" ? "440" : "1"));
  }
  EXPECT_EQ(testing::ReadFileBytes(dir.path() / "settings.ini"),
            "[General]\nFreqHz=440\nCpm=1\nOpenAudio=1\nOpenTextJpg=1\nOpenWabunDir=1\n");
  EXPECT_EQ(store.ReadInt("General", "Cpm", 100), 1);
  IniFileStore nowhere(system, dir.path() / "missing" / "settings.ini");
  EXPECT_FALSE(nowhere.WriteString("General", "FreqHz", "1"));
}

// A value written after a last line that ends in a bare CR must not join it.
TEST(IniFile, BareCarriageReturnsEndLines) {
  const std::string written = SetIniValue("[General]\nFreqHz=440\r", "General", "Cpm", "150");
  EXPECT_EQ(FindIniValue(written, "General", "FreqHz"), "440");
  EXPECT_EQ(FindIniValue(written, "General", "Cpm"), "150");
  EXPECT_EQ(FindIniValue("[General]\rFreqHz=500\rCpm=30", "General", "Cpm"), "30");
  EXPECT_EQ(SetIniValue("[General]\rA=1\r", "General", "B", "2"), "[General]\rA=1\rB=2\r");
  // Mixed endings: the added line must not end in a CR that joins the
  // following blank line's LF.
  EXPECT_EQ(SetIniValue("[General]\rA=1\n\n[Other]\n", "General", "B", "2"),
            "[General]\rA=1\nB=2\n\n[Other]\n");
}

// Editors save with a byte order mark; the first section must still be found,
// and the mark stays where it was.
TEST(IniFile, ByteOrderMarkIsNotPartOfTheFirstLine) {
  const std::string ini = "\xEF\xBB\xBF[General]\r\nFreqHz=700\r\n";
  EXPECT_EQ(FindIniValue(ini, "General", "FreqHz"), "700");
  EXPECT_EQ(SetIniValue(ini, "General", "Cpm", "30"),
            "\xEF\xBB\xBF[General]\r\nFreqHz=700\r\nCpm=30\r\n");
  EXPECT_EQ(SetIniValue("\xEF\xBB\xBF", "General", "Cpm", "30"), "\xEF\xBB\xBF[General]\nCpm=30\n");
}

class IniFileStoreTest : public ::testing::Test {
 protected:
  fs::path path() const { return dir.path() / "settings.ini"; }
  testing::TempDir dir;
  testing::TestSystem system{dir.path() / "hoshizora"};
  IniFileStore store{system, dir.path() / "settings.ini"};
};

// The file is replaced whole through a rename: its mode stays, and other
// programs' sections survive.
TEST_F(IniFileStoreTest, WritesThroughAReplacementThatKeepsTheMode) {
  testing::WriteFileBytes(path(), "[Other]\nKeep=1\n");
  fs::permissions(path(), fs::perms::owner_read | fs::perms::owner_write);
  const fs::perms mode = fs::status(path()).permissions();
  EXPECT_FALSE(store.Unreadable());
  ASSERT_TRUE(store.WriteString("General", "FreqHz", "700"));
  EXPECT_EQ(system.replaced, std::vector<fs::path>{path()});
  EXPECT_EQ(testing::ReadFileBytes(path()), "[Other]\nKeep=1\n[General]\nFreqHz=700\n");
  EXPECT_EQ(fs::status(path()).permissions(), mode);
}

// A file the program could not read is never rewritten with only its own keys.
TEST_F(IniFileStoreTest, NeverWritesWhenTheReadFailed) {
  testing::WriteFileBytes(path(), "[Other]\nKeep=1\n");
  system.read_fails = FileRead::Status::kReadFailed;  // as mode 000 is, but for root
  EXPECT_TRUE(store.Unreadable());
  EXPECT_EQ(store.ReadInt("Other", "Keep", 5), 5);
  EXPECT_FALSE(store.WriteString("General", "FreqHz", "700"));
  EXPECT_TRUE(system.replaced.empty());
  EXPECT_EQ(testing::ReadFileBytes(path()), "[Other]\nKeep=1\n");
}

// A huge file must not hold up the start nor be cut down on close.
TEST_F(IniFileStoreTest, OverLargeFileIsIgnoredAndLeftAlone) {
  testing::WriteFileBytes(path(), "[General]\nFreqHz=700\n");
  fs::resize_file(path(), 100 * 1024 * 1024);
  EXPECT_EQ(store.ReadInt("General", "FreqHz", 440), 440);
  EXPECT_FALSE(store.WriteString("General", "FreqHz", "800"));
  EXPECT_EQ(fs::file_size(path()), 100u * 1024 * 1024);
}

TEST_F(IniFileStoreTest, FoldersAndDevicesGiveTheDefaults) {
  EXPECT_FALSE(store.Unreadable()) << "no file is no problem";
  fs::create_directory(path());
  EXPECT_TRUE(store.Unreadable());
  EXPECT_EQ(store.ReadInt("General", "FreqHz", 440), 440);
  EXPECT_FALSE(store.WriteString("General", "FreqHz", "800"));
#ifndef _WIN32
  fs::remove(path());
  fs::create_symlink("/dev/zero", path());
  EXPECT_EQ(store.ReadInt("General", "FreqHz", 440), 440);
  EXPECT_FALSE(store.WriteString("General", "FreqHz", "800"));
  EXPECT_TRUE(fs::is_symlink(path()));
#endif
}

// A settings file linked from elsewhere (a dotfiles folder) is written
// through its links: they stay, the file they name gets the new content, and
// no staging file is left beside a link. A loop is refused.
TEST_F(IniFileStoreTest, WritesThroughLinksAndKeepsThem) {
  const fs::path dotfiles = dir.path() / "dotfiles";
  const fs::path real = dotfiles / "hoshizora.ini";
  fs::create_directories(dotfiles);
  testing::WriteFileBytes(real, "[Other]\nKeep=1\n");
  std::error_code ec;
  fs::create_symlink("dotfiles/hoshizora.ini", dir.path() / "chain", ec);
  if (ec) {
    GTEST_SKIP() << "this system makes no symbolic links: " << ec.message();
  }
  fs::create_symlink("chain", path());
  const auto entries = [](const fs::path& folder) {
    return std::distance(fs::directory_iterator(folder), fs::directory_iterator());
  };
  ASSERT_TRUE(store.WriteString("General", "FreqHz", "700"));
  EXPECT_TRUE(fs::is_symlink(path()));
  EXPECT_TRUE(fs::is_symlink(dir.path() / "chain"));
  EXPECT_EQ(testing::ReadFileBytes(real), "[Other]\nKeep=1\n[General]\nFreqHz=700\n");
  EXPECT_EQ(entries(dotfiles), 1);
  EXPECT_EQ(entries(dir.path()), 3) << "settings.ini, chain, dotfiles";

  fs::remove(real);  // a link to a file not made yet makes it
  ASSERT_TRUE(store.WriteString("General", "Cpm", "120"));
  EXPECT_TRUE(fs::is_symlink(path()));
  EXPECT_EQ(testing::ReadFileBytes(real), "[General]\nCpm=120\n");

  fs::create_symlink("loop", dir.path() / "loop");
  IniFileStore looped{system, dir.path() / "loop"};
  EXPECT_FALSE(looped.WriteString("General", "Cpm", "120"));
  EXPECT_TRUE(fs::is_symlink(dir.path() / "loop"));
}

// A per-user settings file's folders are made on the first write, and only
// for a store that may make them.
TEST_F(IniFileStoreTest, MakesTheMissingFoldersOnlyWhenAllowed) {
  const fs::path nested = dir.path() / "config" / "hoshizora" / "settings.ini";
  IniFileStore fixed{system, nested};
  EXPECT_FALSE(fixed.WriteString("General", "FreqHz", "700"));
  EXPECT_FALSE(fs::exists(dir.path() / "config"));

  IniFileStore per_user{system, nested, IniFileStore::Folder::kMakeWhenMissing};
  EXPECT_EQ(per_user.ReadInt("General", "FreqHz", 440), 440) << "reading makes nothing";
  EXPECT_FALSE(fs::exists(dir.path() / "config"));
  ASSERT_TRUE(per_user.WriteString("General", "FreqHz", "700"));
  ASSERT_TRUE(per_user.WriteString("General", "Cpm", "120"));
  EXPECT_EQ(testing::ReadFileBytes(nested), "[General]\nFreqHz=700\nCpm=120\n");

  // A file where a folder should be stops the write, and no settings file
  // (no home folder known) is never written anywhere.
  testing::WriteFileBytes(dir.path() / "blocked", "");
  IniFileStore blocked{system, dir.path() / "blocked" / "hoshizora" / "settings.ini",
                       IniFileStore::Folder::kMakeWhenMissing};
  EXPECT_FALSE(blocked.WriteString("General", "FreqHz", "700"));
  IniFileStore nowhere{system, fs::path(), IniFileStore::Folder::kMakeWhenMissing};
  EXPECT_FALSE(nowhere.WriteString("General", "FreqHz", "700"));
  EXPECT_EQ(nowhere.ReadInt("General", "FreqHz", 440), 440);
}

}  // namespace
}  // namespace hoshizora
