#include "app/settings.h"

#include <gtest/gtest.h>

#include "app/control_ids.h"
#include "platform/ini_file.h"
#include "platform/posix/posix_system.h"
#include "support/fake_dialog.h"
#include "support/temp_dir.h"

namespace hoshizora {
namespace {

using testing::FakeDialog;

class SettingsTest : public ::testing::Test {
 protected:
  void Load(const std::string& ini) {
    if (!ini.empty()) {
      testing::WriteFileBytes(path(), ini);
    }
    LoadSettings(dialog, store, LocalTime{2024, 1, 31, 23, 59, 0});
  }
  void Close() {
    SaveFrequencyAndSpeed(dialog, store);
    SaveOptions(dialog, store);
  }
  std::filesystem::path path() const { return dir.path() / "settings.ini"; }
  std::string File() const { return testing::ReadFileBytes(path()); }

  testing::TempDir dir;
  PosixSystem system;
  IniFileStore store{system, dir.path() / "settings.ini"};
  FakeDialog dialog;
};

TEST_F(SettingsTest, DefaultsWithoutAFile) {
  Load("");
  EXPECT_EQ(dialog.texts[ids::kFrequency], u"440");
  EXPECT_EQ(dialog.texts[ids::kSpeed], u"100");
  EXPECT_EQ(dialog.spins[ids::kFrequencySpin].buddy, ids::kFrequency);
  EXPECT_EQ(dialog.spins[ids::kFrequencySpin].minimum, 100);
  EXPECT_EQ(dialog.spins[ids::kFrequencySpin].maximum, 2000);
  EXPECT_EQ(dialog.spins[ids::kFrequencySpin].position, 440);
  EXPECT_EQ(dialog.spins[ids::kSpeedSpin].minimum, 20);
  EXPECT_EQ(dialog.spins[ids::kSpeedSpin].maximum, 200);
  EXPECT_EQ(dialog.spins[ids::kSpeedSpin].position, 100);
  EXPECT_TRUE(dialog.IsChecked(ids::kOpenFolder));
  EXPECT_FALSE(dialog.IsChecked(ids::kOpenAudio)) << "no control, always off";
  EXPECT_EQ(dialog.texts[ids::kStation], u"一三");
  EXPECT_EQ(dialog.texts[ids::kTime], u"コ23,59");
  EXPECT_EQ(dialog.texts[ids::kCount], u"一二六");
}

TEST_F(SettingsTest, ValuesAreBounded) {
  Load("[General]\nFreqHz=5000\nCpm=5\n");
  EXPECT_EQ(dialog.texts[ids::kFrequency], u"2000");
  EXPECT_EQ(dialog.texts[ids::kSpeed], u"20");
  EXPECT_EQ(dialog.spins[ids::kSpeedSpin].position, 20);
  Load("[general]\nfreqhz=abc\ncpm=150xyz\n");
  EXPECT_EQ(dialog.texts[ids::kFrequency], u"100");
  EXPECT_EQ(dialog.texts[ids::kSpeed], u"150");
}

TEST_F(SettingsTest, FirstCloseWritesTheFileInOrder) {
  Load("");
  Close();
  EXPECT_EQ(File(), "[General]\nFreqHz=440\nCpm=100\nOpenAudio=0\nOpenTextJpg=0\nOpenWabunDir=1\n");
}

TEST_F(SettingsTest, CloseSavesWhatWasTyped) {
  Load("[General]\nOpenAudio=1\n; note\n[Other]\nKeep=yes\n");
  dialog.texts[ids::kFrequency] = u"2500";
  dialog.texts[ids::kSpeed] = u"";
  dialog.checked[ids::kOpenFolder] = false;
  Close();
  EXPECT_EQ(File(),
            "[General]\nOpenAudio=0\nFreqHz=2000\nCpm=100\nOpenTextJpg=0\nOpenWabunDir=0\n; note\n"
            "[Other]\nKeep=yes\n");
  Load("");
  EXPECT_FALSE(dialog.IsChecked(ids::kOpenFolder));

  dialog.texts[ids::kFrequency] = u"0";
  dialog.texts[ids::kSpeed] = u"４４";
  Close();
  EXPECT_NE(File().find("FreqHz=100\nCpm=44\n"), std::string::npos);
}

TEST_F(SettingsTest, UnwritableFileIsSilent) {
  IniFileStore nowhere(system, dir.path() / "missing" / "settings.ini");
  LoadSettings(dialog, nowhere, std::nullopt);
  SaveFrequencyAndSpeed(dialog, nowhere);
  SaveOptions(dialog, nowhere);
  EXPECT_TRUE(dialog.messages.empty());
}

}  // namespace
}  // namespace hoshizora
