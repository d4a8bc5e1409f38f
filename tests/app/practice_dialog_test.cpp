#include "app/practice_dialog.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/control_ids.h"
#include "app/dialog_fields.h"
#include "app/main_dialog.h"
#include "app/practice_dialog_template.h"
#include "app/tone_settings.h"
#include "base/utf8.h"
#include "encoding/default_telegram.h"
#include "history/history_file.h"
#include "platform/ini_file.h"
#include "platform/paths.h"
#include "practice/practice_telegram.h"
#include "support/fake_dialog.h"
#include "support/fake_player.h"
#include "support/recording_canvas.h"
#include "support/recording_icons.h"
#include "support/temp_dir.h"
#include "support/test_system.h"
#include "telegram_file/telegram_file_commands.h"

namespace hoshizora {
namespace {

namespace fs = std::filesystem;
using testing::FakeDialog;

bool Contains(const std::u16string& text, std::u16string_view part) {
  return text.find(part) != std::u16string::npos;
}

// The practice dialog's behaviour between the main window and the practice
// dialog, both fakes, with a player that records.
class PracticeDialogTest : public ::testing::Test {
 protected:
  PracticeDialogTest() {
    fs::create_directories(dir.path() / "scratch");
    testing::PlaceFormTemplate(dir.path());
    WriteTelegramFields(window, shown);
    window.texts[ids::kFrequency] = u"700";
    window.texts[ids::kSpeed] = u"200";
    practice.player = &player;
    practice.folders = PortableFolders(dir.path());
    practice.scratch_folder = dir.path() / "scratch";
    practice.seed = [this] { return next_seed++; };
    practice.options.length = {10, 12};  // a short body keeps the WAV small
    InitialisePracticeDialog(practice, view);
  }
  bool Command(int id) { return HandlePracticeCommand(practice, view, id); }
  TelegramFields MainFields() { return ReadWholeTelegramFields(window); }
  // A key of known text, chosen as the learner chooses a telegram file.
  void ChooseKey(const std::u16string& body) {
    TelegramFields key = MakePracticeTelegram({}, 3);
    key.body = body;
    view.open_answer = dir.path() / "key.txt";
    ASSERT_TRUE(SaveTelegramFile(system, *view.open_answer, key));
    Command(ids::kChooseKeyButton);
    ASSERT_TRUE(practice.key.has_value());
  }
  fs::path Folder() const { return dir.path() / u"和文電報_20240131_090507"; }
  const std::u16string& Result() { return view.texts[ids::kResult]; }
  void TypeCopy(const std::u16string& body) { view.texts[ids::kCopy] = body; }

  testing::TempDir dir;
  testing::TestSystem system{dir.path() / "hoshizora"};
  testing::RecordingCanvas canvas;
  FakeDialog window;
  FakeDialog view{PracticeDialogTemplate()};
  testing::FakePlayer player;
  std::uint64_t next_seed = 7;
  PracticeDialog practice{window, system, canvas};
  const TelegramFields shown = MakeDefaultTelegram(LocalTime{2024, 1, 6, 8, 19, 0});
};

TEST_F(PracticeDialogTest, NewTelegramWritesItsFolderAndLeavesTheMainFieldsAlone) {
  EXPECT_FALSE(view.enabled[ids::kPlayButton]);
  EXPECT_FALSE(view.enabled[ids::kScoreButton]);
  EXPECT_FALSE(view.enabled[ids::kAnswerButton]);
  ASSERT_TRUE(Command(ids::kNewPracticeButton));

  const TelegramFields made = MakePracticeTelegram(practice.options, 7);
  const fs::path key = Folder() / u"和文電報_20240131_090507_telegram.txt";
  const TelegramFileRead saved = LoadTelegramFile(system, key);
  ASSERT_EQ(saved.status, FileRead::Status::kRead);
  EXPECT_EQ(saved.fields.body, made.body);
  EXPECT_TRUE(fs::exists(Folder() / u"和文電報_20240131_090507.wav"));
  EXPECT_TRUE(fs::exists(Folder() / u"和文電報_20240131_090507.jpg"));
  EXPECT_EQ(view.progress_caption, u"練習電報");
  EXPECT_TRUE(view.messages.empty());
  EXPECT_TRUE(system.opened.empty()) << "the listing and the form pages show the answer";

  // The answer stays out of sight: the main window keeps its telegram, the
  // dialog names the folder only.
  EXPECT_EQ(MainFields().body, shown.body);
  EXPECT_EQ(MainFields().count, shown.count);
  EXPECT_TRUE(window.messages.empty());
  EXPECT_TRUE(Result().empty());
  EXPECT_TRUE(Contains(view.texts[ids::kKeyStatus], PathText(Folder())));
  EXPECT_FALSE(Contains(view.texts[ids::kKeyStatus], made.body.substr(4, 4)));
  EXPECT_TRUE(view.enabled[ids::kPlayButton]);
  EXPECT_TRUE(view.enabled[ids::kScoreButton]);

  // Groups and a new length from the dialog, for this and later telegrams.
  view.checked[ids::kGroupsCheck] = true;
  view.texts[ids::kLength] = u" 20-20 ";
  ASSERT_TRUE(Command(ids::kNewPracticeButton));
  EXPECT_EQ(practice.options.mode, PracticeMode::kGroups);
  EXPECT_EQ(practice.key->fields.body,
            MakePracticeTelegram({.mode = PracticeMode::kGroups, .length = {20, 20}}, 8).body);
}

TEST_F(PracticeDialogTest, RefusalsWriteNothing) {
  const struct {
    std::u16string length, frequency;
  } cases[] = {{u"1001", u"700"},
               {u"130-60", u"700"},
               {u"5-9", u"700"},
               {u"abc", u"700"},
               {u"60-130", u"99"}};
  for (const auto& c : cases) {
    view.messages.clear();
    view.texts[ids::kLength] = c.length;
    window.texts[ids::kFrequency] = c.frequency;
    Command(ids::kNewPracticeButton);
    ASSERT_EQ(view.messages.size(), 1u) << EncodeUtf8(c.length);
    EXPECT_EQ(view.messages[0].icon, MessageIcon::kError);
  }
  EXPECT_EQ(view.messages[0].text, FrequencyRefused());
  EXPECT_FALSE(fs::exists(Folder()));
  EXPECT_FALSE(practice.key.has_value());
}

TEST_F(PracticeDialogTest, PlayAndStopReachThePlayerAndItsReportComesBack) {
  Command(ids::kNewPracticeButton);
  const fs::path wav = Folder() / u"和文電報_20240131_090507.wav";
  Command(ids::kPlayButton);
  EXPECT_EQ(player.played, std::vector<fs::path>{wav});
  EXPECT_EQ(view.texts[ids::kPlayStatus], u"再生中…");
  EXPECT_FALSE(view.enabled[ids::kPlayButton]);
  EXPECT_TRUE(view.enabled[ids::kStopButton]);
  Command(ids::kStopButton);
  EXPECT_EQ(player.stops, 1);
  EXPECT_EQ(view.texts[ids::kPlayStatus], u"停止しました。");
  EXPECT_TRUE(view.enabled[ids::kPlayButton]);

  Command(ids::kPlayButton);
  player.Finish(true);
  EXPECT_EQ(view.texts[ids::kPlayStatus], u"再生が終わりました。");
  EXPECT_FALSE(view.enabled[ids::kStopButton]);
  Command(ids::kPlayButton);
  player.Finish(false);
  EXPECT_EQ(view.texts[ids::kPlayStatus], u"音声を再生できませんでした。");
  player.starts = false;
  Command(ids::kPlayButton);
  EXPECT_EQ(view.texts[ids::kPlayStatus], u"音声を再生できませんでした。");
  EXPECT_TRUE(view.enabled[ids::kPlayButton]);
}

// A key chosen from a file has no WAV of its own: one is keyed with the
// window's tone into the scratch folder, and goes with the dialog.
TEST_F(PracticeDialogTest, ChosenKeyIsPlayedFromAWavWrittenForItAndRemovedOnClose) {
  ChooseKey(MakePracticeTelegram({}, 3).body);
  EXPECT_EQ(view.file_dialogs.back().title, u"答えの電報ファイルを選ぶ");
  EXPECT_EQ(MainFields().body, shown.body);
  Command(ids::kPlayButton);
  ASSERT_EQ(player.played.size(), 1u);
  const fs::path wav = player.played[0];
  EXPECT_EQ(wav.parent_path(), dir.path() / "scratch");
  EXPECT_GT(fs::file_size(wav), 44u);

  ASSERT_TRUE(Command(ids::kCancelKey));  // Esc
  EXPECT_TRUE(view.destroyed);
  EXPECT_FALSE(window.destroyed) << "Esc closes the practice dialog and nothing else";
  EXPECT_GE(player.stops, 1);
  EXPECT_FALSE(fs::exists(wav));
  EXPECT_EQ(MainFields().body, shown.body);
  EXPECT_TRUE(window.messages.empty());
  EXPECT_EQ(view.deleted_fonts.size(), 3u);
  player.Finish();  // a late report finds no dialog
  EXPECT_TRUE(view.messages.empty());
}

TEST_F(PracticeDialogTest, CopyIsScoredAndTheAnswerShownOnlyOnRequest) {
  ChooseKey(u"[ホレ]アイウエオ　カキクケコ　サシスセソ[ラタ]");
  const TelegramFields key = practice.key->fields;
  view.texts[ids::kCopy] = u"アイウヱオ カキケコ\r\nサシスセソ";
  Command(ids::kScoreButton);
  const std::u16string& result = Result();
  EXPECT_TRUE(Contains(result, u"得点 98/100 合格(合格点 80)\r\n誤字 1、脱字 1、余字 0"))
      << EncodeUtf8(result);
  EXPECT_TRUE(Contains(result, u"本文 4字目 誤字: エ → ヱ\r\n本文 8字目 脱字: ク\r\n"));
  EXPECT_FALSE(Contains(result, u"答え"));
  // The copy joins the practice history, and the weakest characters show.
  EXPECT_TRUE(Contains(result, u"\r\n\r\n苦手な字(記録 1 回、誤り/聞いた数): エ 1/1、ク 1/1"))
      << EncodeUtf8(result);
  const HistoryRead history = ReadHistory(system, practice.folders.history_file);
  ASSERT_EQ(history.records.size(), 1u);
  EXPECT_EQ(history.records[0].key_name, u"key.txt");
  EXPECT_EQ(history.records[0].score, 98);
  EXPECT_EQ(MainFields().body, shown.body) << "scoring shows no answer";
  // The marked pages beside the key, offered to be opened.
  const fs::path page = dir.path() / u"key_採点_1.jpg";
  EXPECT_TRUE(Contains(result, u"採点用紙:\r\n" + PathText(page)));
  EXPECT_EQ(view.progress_caption, u"採点");
  EXPECT_TRUE(view.enabled[ids::kOpenMarkedButton]);
  Command(ids::kOpenMarkedButton);
  EXPECT_EQ(system.opened, std::vector<fs::path>{page});

  // Header fields copied make a telegram copy: each field scored on its own.
  view.texts[ids::kCopyCount] = key.count;
  view.texts[ids::kCopyStation] = u"ア";
  EXPECT_TRUE(ReadCopy(view).has_header);
  Command(ids::kScoreButton);
  EXPECT_TRUE(Contains(Result(), u"発信局 1字目 誤字: "));
  EXPECT_TRUE(Contains(Result(), u"番号 1字目 脱字: "));
  view.texts[ids::kCopy] = u"ンアイウエオカキクケコサシスセソ";
  view.texts[ids::kCopyCount] = view.texts[ids::kCopyStation] = u" ";
  Command(ids::kScoreButton);
  EXPECT_TRUE(Contains(Result(), u"本文 1字目の前 余字: ン")) << EncodeUtf8(Result());
  EXPECT_FALSE(Contains(Result(), u"番号")) << "blank header fields: a body copy";

  Command(ids::kAnswerButton);
  EXPECT_TRUE(Contains(Result(), u"得点 "));
  EXPECT_TRUE(Contains(Result(), u"答え\r\n文字数: " + key.count));
  EXPECT_TRUE(Contains(Result(), key.body));
  EXPECT_EQ(MainFields().body, key.body);
  EXPECT_EQ(MainFields().addressee, key.addressee);
}

// The history at work in the dialog: the chart of it, and telegrams that
// lean toward the characters it shows written wrong.
TEST_F(PracticeDialogTest, HistoryChartAndWeakFocus) {
  Command(ids::kChartButton);
  ASSERT_EQ(view.messages.size(), 1u);
  EXPECT_TRUE(Contains(view.messages[0].text, u"練習の記録がまだありません"));
  view.checked[ids::kGroupsCheck] = true;
  view.checked[ids::kWeakFocusCheck] = true;
  view.texts[ids::kLength] = u"60-60";
  Command(ids::kNewPracticeButton);
  ASSERT_EQ(view.messages.size(), 2u);
  EXPECT_TRUE(Contains(view.messages[1].text, u"ふつうの練習電報")) << "no history: plain";
  EXPECT_EQ(practice.key->fields.body,
            MakePracticeTelegram({.mode = PracticeMode::kGroups, .length = {60, 60}}, 7).body);

  // ソ written as ン every time: the next telegram leans on ソ.
  ChooseKey(u"[ホレ]ソソソソソ　アイウエオ[ラタ]");
  TypeCopy(u"ンンンンン アイウエオ");
  Command(ids::kScoreButton);
  EXPECT_TRUE(Contains(Result(), u"苦手な字(記録 1 回、誤り/聞いた数): ソ 5/5"));
  Command(ids::kNewPracticeButton);
  EXPECT_EQ(view.messages.size(), 2u) << "a history with errors: no notice";
  const std::u16string body = practice.key->fields.body;
  EXPECT_NE(body,
            MakePracticeTelegram({.mode = PracticeMode::kGroups, .length = {60, 60}}, 8).body);
  EXPECT_GT(std::count(body.begin(), body.end(), u'ソ'), 60 / 47 + 3) << EncodeUtf8(body);

  Command(ids::kChartButton);
  const fs::path chart = practice.folders.history_file.parent_path() / u"練習の記録.png";
  EXPECT_EQ(system.opened.back(), chart);
  EXPECT_EQ(system.replaced.back(), chart);
}

TEST_F(PracticeDialogTest, SchemeFromTheSettingsIsUsedAndNamed) {
  practice.scheme = {.substitution = 30, .omission = 2, .insertion = 5, .pass_mark = 90};
  ChooseKey(u"[ホレ]アイウエオ[ラタ]");
  view.texts[ids::kCopy] = u"アイウ";
  Command(ids::kScoreButton);
  EXPECT_TRUE(Contains(Result(), u"得点 96/100 合格(合格点 90)"));
  EXPECT_TRUE(Contains(Result(), u"減点: 誤字 30点、脱字 2点、余字 5点"));
  view.texts[ids::kCopy] = u"カキクケコ";
  Command(ids::kScoreButton);
  EXPECT_TRUE(Contains(Result(), u"得点 0/100 不合格(合格点 90)"));
  view.texts[ids::kCopy] = u"あいうえお";
  Command(ids::kScoreButton);
  EXPECT_TRUE(Contains(Result(), u"得点 100/100 合格"));
  EXPECT_TRUE(Contains(Result(), u"誤りはありません。"));
  EXPECT_TRUE(view.messages.empty());

  canvas.template_available = false;
  Command(ids::kScoreButton);
  ASSERT_EQ(view.messages.size(), 1u);
  EXPECT_EQ(view.messages[0].text,
            u"受信用紙の元画像が見つからないため、採点用紙を作れませんでした。");
  EXPECT_FALSE(view.enabled[ids::kOpenMarkedButton]);
  EXPECT_TRUE(Contains(Result(), u"得点 100/100 合格")) << "the score stands without its pages";
}

// The menu item runs the dialog over the main window with the scheme of the
// settings; its options outlive it.
TEST(PracticeMenuItem, RunsTheDialogModallyWithTheSettingsScheme) {
  testing::TempDir dir;
  testing::TestSystem system{dir.path() / "hoshizora"};
  testing::RecordingCanvas canvas;
  testing::WriteFileBytes(dir.path() / "settings.ini", "[Check]\r\nPassMark=95\r\n");
  IniFileStore store{system, dir.path() / "settings.ini"};
  FakeDialog window;
  testing::FakePlayer player;
  testing::RecordingIcons icons;
  MainDialog main{window, system, canvas, store, icons, u"a@b.example"};
  main.player = &player;
  main.practice_seed = [] { return 5; };
  window.texts[ids::kFrequency] = u"600";
  window.texts[ids::kSpeed] = u"100";
  window.modal_dialog = [](FakeDialog& view, DialogEvents& events) {
    view.texts[ids::kLength] = u"15-15";
    view.checked[ids::kGroupsCheck] = true;
    events.Command(view, ids::kNewPracticeButton);
    events.Command(view, ids::kScoreButton);
    EXPECT_TRUE(Contains(view.texts[ids::kResult], u"(合格点 95)"));
    events.Command(view, ids::kCloseButton);
    EXPECT_TRUE(view.destroyed);
  };
  ASSERT_TRUE(HandleCommand(main, ids::kReceptionMenuItem));
  EXPECT_EQ(window.modal_titles, std::vector<std::u16string>{u"受信練習"});
  EXPECT_FALSE(window.destroyed);
  EXPECT_EQ(main.practice_options.mode, PracticeMode::kGroups);
  EXPECT_EQ(main.practice_options.length.max, 15);
}

}  // namespace
}  // namespace hoshizora
