#include "platform/ini_file.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace hoshizora {
namespace {

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

TEST(IniFile, AKeyAddedAfterALastLineEndingInABareCrReadsBack) {
  for (const std::string ini : {"[General]\nFreqHz=440\r", "[General]\n; note\r", "\r"}) {
    const std::string updated = SetIniValue(ini, "General", "Cpm", "150");
    EXPECT_EQ(FindIniValue(updated, "General", "Cpm"), "150") << updated;
    EXPECT_EQ(FindIniValue(updated, "General", "FreqHz"), FindIniValue(ini, "General", "FreqHz"));
  }
  EXPECT_EQ(SetIniValue("[General]\nFreqHz=440\r", "General", "Cpm", "150"),
            "[General]\nFreqHz=440\r\nCpm=150\n");
}

TEST(IniFile, StoreCreatesTheFileInTheUsualOrder) {
  testing::TempDir dir;
  IniFileStore store(dir.path() / "settings.ini");
  EXPECT_EQ(store.ReadInt("General", "FreqHz", 440), 440);
  for (const char* key : {"FreqHz", "Cpm", "OpenAudio", "OpenTextJpg", "OpenWabunDir"}) {
    EXPECT_TRUE(store.WriteString("General", key, std::string(key) == "FreqHz" ? "440" : "1"));
  }
  EXPECT_EQ(testing::ReadFileBytes(dir.path() / "settings.ini"),
            "[General]\nFreqHz=440\nCpm=1\nOpenAudio=1\nOpenTextJpg=1\nOpenWabunDir=1\n");
  EXPECT_EQ(store.ReadInt("General", "Cpm", 100), 1);
  IniFileStore nowhere(dir.path() / "missing" / "settings.ini");
  EXPECT_FALSE(nowhere.WriteString("General", "FreqHz", "1"));
}

}  // namespace
}  // namespace hoshizora
