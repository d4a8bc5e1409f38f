#include "cli/cli_language.h"

#include <gtest/gtest.h>

#include "base/utf8.h"

namespace hoshizora {
namespace {

TEST(CliLanguage, LocaleChoosesAsTheCLibraryDoes) {
  struct Case {
    const char* lc_all;
    const char* lc_messages;
    const char* lang;
    CliLanguage expected;
  };
  const Case cases[] = {
      {nullptr, nullptr, "ja_JP.UTF-8", CliLanguage::kJapanese},
      {nullptr, nullptr, "ja", CliLanguage::kJapanese},
      {nullptr, nullptr, "C.UTF-8", CliLanguage::kEnglish},
      {nullptr, nullptr, nullptr, CliLanguage::kEnglish},
      {"C", nullptr, "ja_JP.UTF-8", CliLanguage::kEnglish},
      {"", "ja_JP.UTF-8", "C", CliLanguage::kJapanese},
      {nullptr, "en_US.UTF-8", "ja_JP.UTF-8", CliLanguage::kEnglish},
      {"ja_JP.eucJP", "C", "C", CliLanguage::kJapanese},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LanguageFromLocale(c.lc_all, c.lc_messages, c.lang), c.expected)
        << (c.lc_all ? c.lc_all : "-") << " " << (c.lc_messages ? c.lc_messages : "-") << " "
        << (c.lang ? c.lang : "-");
  }
}

TEST(CliLanguage, RunTextsSpeakTheRunsLanguage) {
  const std::u16string failed =
      u"出力の一部に失敗しました。\n\n失敗:\n音声: MP3への変換に失敗しました(終了コード 3)。"
      u"WAVファイルを残しました。\n受信用紙: 3枚中1枚を保存できませんでした。";
  SetCliLanguage(CliLanguage::kJapanese);
  EXPECT_EQ(RunTextInLanguage(failed), failed);
  EXPECT_EQ(Say("yes", "はい"), "はい");

  SetCliLanguage(CliLanguage::kEnglish);
  EXPECT_EQ(Say("yes", "はい"), "yes");
  EXPECT_EQ(EncodeUtf8(RunTextInLanguage(failed)),
            "Part of the output failed.\n\nFailed:\naudio: the MP3 conversion failed (exit code 3)."
            " The WAV file was kept.\nform pages: 1 of 3 could not be saved.");
  EXPECT_EQ(RunTextInLanguage(u"受信用紙 2/5 を作成中"), u"drawing form page 2/5");
  EXPECT_EQ(RunTextInLanguage(u"完了"), u"complete");
  // What the user typed stays as it was: only the run's own phrases change.
  EXPECT_EQ(RunTextInLanguage(u"モールス符号がないため音声に含まれない文字: 漢 完了"),
            u"characters not in the audio, having no Morse code: 漢 完了");
}

}  // namespace
}  // namespace hoshizora
