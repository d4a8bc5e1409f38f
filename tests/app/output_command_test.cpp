#include "app/output_command.h"

#include <gtest/gtest.h>

#include "audio/wav_writer.h"
#include "encoding/default_telegram.h"
#include "platform/paths.h"
#include "support/fake_dialog.h"
#include "support/recording_canvas.h"
#include "support/temp_dir.h"
#include "support/test_system.h"
#include "telegram_file/dialog_fields.h"

namespace hoshizora {
namespace {

namespace fs = std::filesystem;
using testing::FakeDialog;

TEST(Decorations, StationAndNumber) {
  EXPECT_EQ(DecorateStation(u"一 二,三"), u"ハツ一二三");
  EXPECT_EQ(DecorateStation(u"東京"), u"東京");
  EXPECT_EQ(DecorateStation(u""), u"");
  EXPECT_EQ(DecorateStation(u"一二。"), u"一二。");
  EXPECT_EQ(DecorateStation(u" ，"), u" ，");
  EXPECT_EQ(DecorateNumber(u"第三十五号"), u"タナ三十五");
  EXPECT_EQ(DecorateNumber(u"35"), u"35");
  EXPECT_EQ(DecorateNumber(u""), u"");

  TelegramFields f{u"一", u"一 二,三", u"第三十五号", u"コ8,19", u"ミドリ」", u"[ホレ]ア[ラタ]"};
  EXPECT_EQ(ComposeDisplayTelegram(f),
            u"一\n一 二,三\n第三十五号\nコ8,19\nミドリ」\n[ホレ]ア[ラタ]");
  EXPECT_EQ(ComposeKeyedTelegram(f),
            u"一\nハツ一二三\nタナ三十五\nコ8,19\nミドリ」\n[ホレ]ア[ラタ]");
  EXPECT_EQ(ComposeDisplayTelegram({}), u"\n\n\n\n\n");
}

TEST(ToneSettings, OnlyWholeNumbersInRange) {
  EXPECT_EQ(ParseToneSetting(u"440", 100, 2000), 440);
  EXPECT_EQ(ParseToneSetting(u" ４４０ ", 100, 2000), 440);
  EXPECT_EQ(ParseToneSetting(u"+100", 100, 2000), 100);
  EXPECT_EQ(ParseToneSetting(u"2000", 100, 2000), 2000);
  for (std::u16string_view bad :
       {u"", u"abc", u"1,500", u"12abc", u"99", u"2001", u"-440", u"+", u"4 40"}) {
    EXPECT_EQ(ParseToneSetting(bad, 100, 2000), std::nullopt) << bad.size();
  }
}

class OutputCommandTest : public ::testing::Test {
 protected:
  OutputCommandTest() {
    fs::create_directories(program);
    WriteTelegramFields(dialog, MakeDefaultTelegram(LocalTime{2024, 1, 6, 8, 19, 0}));
    dialog.texts[ids::kFrequency] = u"800";
    dialog.texts[ids::kSpeed] = u"200";
    dialog.checked[ids::kOpenFolder] = true;
  }
  OutputReport Run() { return RunOutputCommand(dialog, system, canvas, {}); }
  fs::path Folder(const std::string& suffix = "") const {
    return program / ("和文電報_20240131_090507" + suffix);
  }
  void PlaceEncoder(const std::string& script) {
    testing::WriteFileBytes(program / "lame", "#!/bin/sh\n" + script);
    fs::permissions(program / "lame", fs::perms::owner_all);
  }
  const FakeDialog::Message& Closing() const { return dialog.messages.back(); }

  testing::TempDir dir;
  fs::path program = dir.path() / "プログラム";
  testing::TestSystem system{program / "hoshizora"};
  testing::RecordingCanvas canvas;
  FakeDialog dialog;
};

TEST_F(OutputCommandTest, SampleTelegramCompletes) {
  const OutputReport report = Run();
  EXPECT_EQ(report.result, OutputReport::Result::kComplete);
  ASSERT_TRUE(fs::is_directory(Folder()));
  const fs::path base = Folder() / "和文電報_20240131_090507";
  EXPECT_TRUE(fs::exists(WithSuffix(base, u".wav")));
  ASSERT_EQ(canvas.saved.size(), 4u);
  EXPECT_EQ(canvas.saved[0].path, WithSuffix(base, u".jpg"));
  EXPECT_EQ(canvas.saved[1].path, WithSuffix(base, u"_1.jpg"));
  EXPECT_EQ(canvas.saved[3].path, WithSuffix(base, u"_3.jpg"));
  EXPECT_EQ(report.written.size(), 5u);
  EXPECT_EQ(report.written[0], WithSuffix(base, u".wav"));
  ASSERT_EQ(dialog.messages.size(), 1u);
  EXPECT_EQ(Closing().text, u"出力が完了しました。");
  EXPECT_EQ(Closing().caption, u"完了");
  EXPECT_EQ(system.opened, std::vector<fs::path>{Folder()});
  EXPECT_EQ(dialog.progress_caption, u"電報出力");
  // The header of the listing names the base path, the speed and the frequency.
  EXPECT_EQ(canvas.strings[0].text, u"電報出力 " + PathText(base) + u"  CPM: 200  Freq: 800");
}

TEST_F(OutputCommandTest, AudioKeysTheDecoratedTelegram) {
  dialog.texts[ids::kStation] = u"一 二,三";
  dialog.texts[ids::kNumber] = u"第五号";
  dialog.texts[ids::kBody] = u"[ホレ]ア[ラタ]";
  dialog.texts[ids::kAddressee] = u"";
  dialog.texts[ids::kCount] = u"";
  dialog.texts[ids::kTime] = u"";
  Run();
  // ハツ一二三, タナ五, ア and the two signs at 200 CPM (unit 57 ms = 2513 samples).
  const std::string wav = testing::ReadFileBytes(Folder() / "和文電報_20240131_090507.wav");
  ASSERT_GT(wav.size(), 44u);
  const std::u16string code =
      u"-... .--. .---- ..--- ...-- -. .-. ..... "  // ハツ一二三 タナ五
      u" -..--- --.--  ...-. ";
  const std::filesystem::path reference = dir.path() / "reference";
  const auto expected = WriteMorseWav(reference, code, 800, 200);
  EXPECT_TRUE(wav == testing::ReadFileBytes(dir.path() / "reference.wav"));
  EXPECT_GT(expected.samples, 0u);
  // The listing shows the telegram as typed.
  EXPECT_EQ(canvas.strings[2].text, u"一 二,三");
}

TEST_F(OutputCommandTest, NonsenseToneSettingsWriteNothing) {
  const std::pair<std::u16string, std::u16string> cases[] = {
      {u"abc", u"200"}, {u"1,500", u"200"}, {u"2500", u"200"}, {u"99", u"200"},
      {u"800", u"0"},   {u"800", u"201"},   {u"800", u""},     {u"800", u"19"}};
  for (const auto& [freq, cpm] : cases) {
    dialog.messages.clear();
    dialog.texts[ids::kFrequency] = freq;
    dialog.texts[ids::kSpeed] = cpm;
    EXPECT_EQ(Run().result, OutputReport::Result::kRefused);
    ASSERT_EQ(dialog.messages.size(), 1u);
    EXPECT_EQ(Closing().caption, u"エラー");
    const bool freq_bad = !ParseToneSetting(freq, 100, 2000);
    EXPECT_NE(Closing().text.find(freq_bad ? u"周波数(Hz)は100から2000" : u"速度(CPM)は20から200"),
              std::u16string::npos);
  }
  EXPECT_TRUE(fs::is_empty(program));
  dialog.texts[ids::kFrequency] = u"８００";
  dialog.texts[ids::kSpeed] = u"２００";
  EXPECT_EQ(Run().result, OutputReport::Result::kComplete) << "fullwidth digits count";
}

TEST_F(OutputCommandTest, RunsInOneSecondGetFoldersOfTheirOwn) {
  Run();
  Run();
  Run();
  EXPECT_TRUE(fs::is_directory(Folder()));
  EXPECT_TRUE(fs::is_directory(Folder("_2")));
  EXPECT_TRUE(fs::exists(Folder("_3") / "和文電報_20240131_090507_3.wav"));
  EXPECT_EQ(canvas.saved.back().path, Folder("_3") / "和文電報_20240131_090507_3_3.jpg");
  system.now = std::nullopt;
  Run();
  EXPECT_TRUE(fs::is_directory(program / "和文電報_00000000_000000"));
}

TEST_F(OutputCommandTest, FailingEncoderIsReportedAndTheWavKept) {
  PlaceEncoder("exit 3\n");
  const OutputReport report = Run();
  EXPECT_EQ(report.result, OutputReport::Result::kIncomplete);
  EXPECT_TRUE(fs::exists(Folder() / "和文電報_20240131_090507.wav"));
  EXPECT_EQ(Closing().caption, u"エラー");
  EXPECT_NE(Closing().text.find(u"MP3への変換に失敗しました(終了コード 3)"), std::u16string::npos);
  EXPECT_NE(Closing().text.find(u"和文電報_20240131_090507.wav"), std::u16string::npos);
  EXPECT_NE(Closing().text.find(u"和文電報_20240131_090507_3.jpg"), std::u16string::npos);

  PlaceEncoder("exec /usr/bin/lame --quiet \"$1\" \"$2\"\n");  // a copy of the WAV is no MP3
  dialog.messages.clear();
  EXPECT_EQ(Run().result, OutputReport::Result::kComplete);
  EXPECT_TRUE(fs::exists(Folder("_2") / "和文電報_20240131_090507_2.mp3"));
  EXPECT_FALSE(fs::exists(Folder("_2") / "和文電報_20240131_090507_2.wav"));
}

TEST_F(OutputCommandTest, WriterFailuresShowTheirOwnMessageThenTheClosingOne) {
  canvas.save_fails = [](const fs::path& path) { return path.native().ends_with("_2.jpg"); };
  const OutputReport report = Run();
  EXPECT_EQ(report.result, OutputReport::Result::kIncomplete);
  ASSERT_EQ(dialog.messages.size(), 2u);
  EXPECT_EQ(dialog.messages[0].text, u"和文電報JPEGの保存に失敗しました。");
  EXPECT_NE(Closing().text.find(u"受信用紙: 3枚中1枚を保存できませんでした。"),
            std::u16string::npos);

  canvas.template_available = false;
  canvas.save_fails = nullptr;
  dialog.messages.clear();
  Run();
  EXPECT_EQ(dialog.messages[0].text, u"テンプレ画像が見つかりません");
  EXPECT_NE(Closing().text.find(u"テンプレート画像"), std::u16string::npos);
}

TEST_F(OutputCommandTest, ClosingMessageNamesCharactersTheAudioLacks) {
  dialog.texts[ids::kBody] = u"[ホレ]アイ。ウ「エ」。[ラタ]";
  const OutputReport report = Run();
  EXPECT_EQ(report.result, OutputReport::Result::kComplete);
  EXPECT_EQ(Closing().caption, u"完了");
  EXPECT_EQ(Closing().text,
            u"出力が完了しました。\n\nモールス符号がないため音声に含まれない文字: 。 「");
}

TEST_F(OutputCommandTest, LongFieldsAreCutAndSaid) {
  dialog.texts[ids::kBody] = u"[ホレ]" + std::u16string(5000, u'ア');
  dialog.texts[ids::kAddressee] = std::u16string(600, u'イ');
  const OutputReport report = Run();
  EXPECT_NE(Closing().text.find(u"名あてが長すぎるため、先頭の511文字だけを使いました。"),
            std::u16string::npos);
  EXPECT_NE(Closing().text.find(u"本文が長すぎるため、先頭の4095文字だけを使いました。"),
            std::u16string::npos);
  EXPECT_NE(Closing().text.find(u"受信用紙は作成しませんでした"), std::u16string::npos)
      << "the cut body lost its End sign";
  EXPECT_EQ(canvas.strings[0].text.size() > 0, true);
}

TEST_F(OutputCommandTest, EmptyFieldsStillRunEveryWriter) {
  for (int id :
       {ids::kCount, ids::kStation, ids::kNumber, ids::kTime, ids::kAddressee, ids::kBody}) {
    dialog.texts[id].clear();
  }
  const OutputReport report = Run();
  EXPECT_TRUE(fs::is_directory(Folder()));
  EXPECT_EQ(fs::file_size(Folder() / "和文電報_20240131_090507.wav"), 44u);
  EXPECT_EQ(canvas.saved.size(), 1u) << "the listing; no body for the form";
  EXPECT_EQ(report.result, OutputReport::Result::kComplete);
}

TEST_F(OutputCommandTest, CancelStopsThePicturesAndIsReported) {
  dialog.cancel_at_step = u"受信用紙 2/";
  const OutputReport report = Run();
  EXPECT_EQ(report.result, OutputReport::Result::kIncomplete);
  EXPECT_EQ(canvas.saved.size(), 2u) << "the listing and page 1";
  EXPECT_NE(Closing().text.find(u"中止したため、3枚中1枚だけ作成しました。"), std::u16string::npos);
}

TEST_F(OutputCommandTest, OpensFollowTheOptionsInOrder) {
  dialog.controls.insert(ids::kOpenAudio);
  dialog.controls.insert(ids::kOpenListing);
  dialog.checked[ids::kOpenAudio] = true;
  dialog.checked[ids::kOpenListing] = true;
  Run();
  const fs::path base = Folder() / "和文電報_20240131_090507";
  // The recording canvas writes no listing file, so only the audio and the folder open.
  EXPECT_EQ(system.opened, (std::vector<fs::path>{WithSuffix(base, u".wav"), Folder()}));

  dialog.checked[ids::kOpenFolder] = false;
  dialog.checked[ids::kOpenAudio] = false;
  system.opened.clear();
  Run();
  EXPECT_TRUE(system.opened.empty());
}

TEST_F(OutputCommandTest, UnwritableRootIsReported) {
  const OutputReport report =
      RunOutputCommand(dialog, system, canvas, {dir.path() / "missing" / "deeper"});
  EXPECT_EQ(report.result, OutputReport::Result::kIncomplete);
  EXPECT_NE(Closing().text.find(u"出力フォルダを作成できませんでした"), std::u16string::npos);
  EXPECT_TRUE(canvas.saved.empty());
}

}  // namespace
}  // namespace hoshizora
