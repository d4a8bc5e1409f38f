#include "cli/cli_language.h"

#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "base/utf8.h"
#include "support/program_run.h"
#include "support/temp_dir.h"
#include "telegram_file/telegram_text_format.h"

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

// Whether a line speaks Japanese: kana or kanji outside the names it may
// quote (folders, files, the telegram's own characters).
bool HasJapanese(std::string line) {
  for (const char* name : {"和文電報", "受信用紙", "採点", "電報保存", "漢"}) {
    for (auto at = line.find(name); at != std::string::npos; at = line.find(name)) {
      line.erase(at, std::string(name).size());
    }
  }
  for (const char16_t c : DecodeUtf8Lenient(line)) {
    if ((c >= 0x3040 && c <= 0x30FF) || (c >= 0x4E00 && c <= 0x9FFF)) {
      return true;
    }
  }
  return false;
}

// Every line a run prints, refusals, progress, messages, summary and help,
// is in the language of the locale, as LC_ALL, LC_MESSAGES and LANG choose.
TEST(CliLanguage, EveryLineOfARunIsInTheLocalesLanguage) {
  testing::TempDir dir;
  const std::string out = dir.path().string();
  const std::string cut = (dir.path() / "cut.txt").string();
  // A body longer than the form holds, in kanji, which have no code: a cut
  // note and a note on the unkeyed characters, with a short audio.
  testing::WriteFileBytes(
      cut, SerializeTelegramText(
               {u"", u"", u"", u"", u"", u"[ホレ]アイ[ラタ]" + std::u16string(4990, u'漢')}));
  const std::vector<std::vector<std::string>> commands = {
      {"output", "--freq", "5000"},
      {"output", "nosuch.txt"},
      {"output", "--out", "/nonexistent"},
      {"output", "--cpm", "100", "--effective-cpm", "101"},
      {"output", "--out", out},
      {"output", cut, "--out", out},
      {"practice", "--count", "0"},
      {"frobnicate"},
      {"--help"},
      {"output", "--help"},
      {"stats", "--help"},
  };
  struct Locale {
    std::vector<std::string> env;
    bool japanese;
  };
  const Locale locales[] = {
      {{"LANG=C.UTF-8"}, false},
      {{"LANG=ja_JP.UTF-8"}, true},
      {{"LANG=C.UTF-8", "LC_ALL=ja_JP.UTF-8"}, true},
      {{"LANG=ja_JP.UTF-8", "LC_MESSAGES=C"}, false},
  };
  // Words of English prose that no Japanese line holds, once the option
  // names (--no-history) are out of the way.
  const std::regex option("--[a-z-]+");
  const std::regex english(
      R"(\b(the|is|a|of|to|no|not|cannot|needs|files?|complete|failed|unknown)\b)");
  for (const Locale& locale : locales) {
    std::vector<std::string> env = locale.env;
    env.push_back("PATH=/usr/bin:/bin");
    env.push_back("HOME=" + out);
    for (const auto& command : commands) {
      std::vector<std::string> argv{HOSHIZORA_CLI};
      argv.insert(argv.end(), command.begin(), command.end());
      const testing::ProgramRun run = testing::RunProgram(argv, env, dir.path(), dir.path());
      std::istringstream lines(run.out + run.err);
      int said = 0;
      for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line.starts_with("/") || line.starts_with("  和文電報_")) {
          continue;  // a file's name says nothing
        }
        ++said;
        const std::string context = locale.env.back() + " " + command.front() + ": " + line;
        if (locale.japanese) {
          EXPECT_FALSE(std::regex_search(std::regex_replace(line, option, ""), english)) << context;
        } else {
          EXPECT_FALSE(HasJapanese(line)) << context;
        }
      }
      EXPECT_GT(said, 0) << command.front();
    }
  }
}
}  // namespace
}  // namespace hoshizora
