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
  // As the close path saves them.
  void Close() {
    SaveFrequencyAndSpeed(dialog, store);
    SaveKeying(dialog, store, keying);
    SaveOptions(dialog, store);
  }
  std::filesystem::path path() const { return dir.path() / "settings.ini"; }
  std::string File() const { return testing::ReadFileBytes(path()); }

  testing::TempDir dir;
  PosixSystem system;
  IniFileStore store{system, dir.path() / "settings.ini"};
  FakeDialog dialog;
  KeyingOptions keying;
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
  EXPECT_EQ(File(),
            "[General]\nFreqHz=440\nCpm=100\nRiseMs=0\nEffectiveCpm=0\nOpenAudio=0\nOpenTextJpg=0\n"
            "OpenWabunDir=1\n");
}

TEST_F(SettingsTest, CloseSavesWhatWasTyped) {
  Load("[General]\nOpenAudio=1\n; note\n[Other]\nKeep=yes\n");
  dialog.texts[ids::kFrequency] = u"2500";
  dialog.texts[ids::kSpeed] = u"";
  dialog.checked[ids::kOpenFolder] = false;
  Close();
  EXPECT_EQ(
      File(),
      "[General]\nOpenAudio=0\nFreqHz=2000\nCpm=100\nRiseMs=0\nEffectiveCpm=0\nOpenTextJpg=0\n"
      "OpenWabunDir=0\n; note\n[Other]\nKeep=yes\n");
  Load("");
  EXPECT_FALSE(dialog.IsChecked(ids::kOpenFolder));

  dialog.texts[ids::kFrequency] = u"0";
  dialog.texts[ids::kSpeed] = u"４４";
  Close();
  EXPECT_NE(File().find("FreqHz=100\nCpm=44\n"), std::string::npos);
}

TEST_F(SettingsTest, KeyingOptionsRoundTripAndOtherLinesStay) {
  Load("; kept\n[General]\nFreqHz=700\nCpm=100\n[Other]\nx=1\n");
  EXPECT_EQ(StoredKeying(store), KeyingOptions{}) << "missing keys are off";
  keying = {.rise_ms = 5, .effective_cpm = 50};
  Close();
  EXPECT_EQ(File(),
            "; kept\n[General]\nFreqHz=700\nCpm=100\nRiseMs=5\nEffectiveCpm=50\nOpenAudio=0\n"
            "OpenTextJpg=0\nOpenWabunDir=1\n[Other]\nx=1\n");
  EXPECT_EQ(StoredKeying(store), keying);
}

// Bad values fall back as FreqHz and Cpm do: to the nearer bound, the
// effective speed's upper bound (the stored speed) being off.
TEST_F(SettingsTest, BadKeyingValuesFallBackToOffOrTheBound) {
  const std::pair<std::string, KeyingOptions> cases[] = {
      {"[General]\nCpm=100\nRiseMs=999\nEffectiveCpm=300\n", {.rise_ms = 20}},
      {"[General]\nRiseMs=-4\nEffectiveCpm=99\n", {.effective_cpm = 99}},
      {"[General]\nRiseMs=abc\nEffectiveCpm=12x\n", {.effective_cpm = 20}},
      {"[General]\nCpm=60\nRiseMs=3\nEffectiveCpm=80\n", {.rise_ms = 3}},
      {"[General]\nCpm=5\nEffectiveCpm=30\n", {}},  // Cpm is 20: nothing lies below it
  };
  for (const auto& [ini, bounded] : cases) {
    testing::WriteFileBytes(path(), ini);
    const KeyingOptions read = StoredKeying(store);
    EXPECT_EQ(read.rise_ms, bounded.rise_ms) << ini;
    EXPECT_EQ(read.effective_cpm, bounded.effective_cpm) << ini;
  }
}

// On close the effective speed is bounded for the speed written beside it.
TEST_F(SettingsTest, KeyingIsSavedBoundedForTheSpeedSaved) {
  Load("");
  keying = {.rise_ms = 25, .effective_cpm = 150};
  dialog.texts[ids::kSpeed] = u"120";
  Close();
  EXPECT_NE(File().find("Cpm=120\nRiseMs=20\nEffectiveCpm=0\n"), std::string::npos) << File();
  keying = {.rise_ms = 3, .effective_cpm = 90};
  dialog.texts[ids::kSpeed] = u"abc";
  Close();
  EXPECT_NE(File().find("Cpm=100\nRiseMs=3\nEffectiveCpm=90\n"), std::string::npos) << File();
}

TEST_F(SettingsTest, UnwritableFileIsSilent) {
  IniFileStore nowhere(system, dir.path() / "missing" / "settings.ini");
  LoadSettings(dialog, nowhere, std::nullopt);
  SaveFrequencyAndSpeed(dialog, nowhere);
  SaveKeying(dialog, nowhere, {.rise_ms = 5});
  SaveOptions(dialog, nowhere);
  EXPECT_TRUE(dialog.messages.empty());
}

}  // namespace
}  // namespace hoshizora
