#include "app/output_run.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/compose_telegram.h"
#include "app/field_buffers.h"
#include "app/output_messages.h"
#include "audio/wav_writer.h"
#include "base/little_endian.h"
#include "base/utf8.h"
#include "encoding/default_telegram.h"
#include "imaging/text_listing.h"
#include "platform/paths.h"
#include "support/recording_canvas.h"
#include "support/recording_sink.h"
#include "support/stand_in_encoder.h"
#include "support/temp_dir.h"
#include "support/test_system.h"

namespace hoshizora {
namespace {

namespace fs = std::filesystem;
using Result = OutputReport::Result;

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
  EXPECT_EQ(ParseToneSetting(u"\u3000440\t", 100, 2000), 440);
  EXPECT_EQ(ParseToneSetting(u"+100", 100, 2000), 100);
  EXPECT_EQ(ParseToneSetting(u"2000", 100, 2000), 2000);
  for (std::u16string_view bad :
       {u"", u"abc", u"1,500", u"12abc", u"99", u"2001", u"-440", u"+", u"4 40"}) {
    EXPECT_EQ(ParseToneSetting(bad, 100, 2000), std::nullopt) << bad.size();
  }
}

// The cut keeps what the dialog's buffer holds, never half a surrogate pair,
// and says how many characters it left out, a pair counting as one.
TEST(FieldBuffers, CutsWholeCharactersAndCountsWhatItDropped) {
  const std::u16string pair = u"\U0002000B";
  struct Case {
    std::u16string body;
    std::size_t kept;
    std::u16string_view note;  // empty: nothing cut
  };
  const Case cases[] = {
      {std::u16string(4095, u'ア'), 4095, u""},
      {std::u16string(4096, u'ア'), 4095,
       u"本文が長すぎるため、先頭の4095文字だけを使い、残りの1文字は使いませんでした。"},
      {std::u16string(4094, u'ア') + pair + u"イ", 4094,
       u"本文が長すぎるため、先頭の4094文字だけを使い、残りの2文字は使いませんでした。"},
      {[&] {
         std::u16string pairs;
         for (int i = 0; i < 2500; ++i) {
           pairs += pair;
         }
         return pairs;
       }(),
       4094, u"本文が長すぎるため、先頭の2047文字だけを使い、残りの453文字は使いませんでした。"},
  };
  for (const Case& c : cases) {
    std::vector<std::u16string> notes;
    TelegramFields fields;
    fields.body = c.body;
    const TelegramFields cut = CutToFieldBuffers(fields, notes);
    EXPECT_EQ(cut.body, c.body.substr(0, c.kept)) << c.body.size();
    EXPECT_EQ(notes, c.note.empty() ? std::vector<std::u16string>{}
                                    : std::vector<std::u16string>{std::u16string(c.note)})
        << c.body.size();
  }
}

// One run with a recording canvas and sink, in a program folder of its own.
class OutputRunTest : public ::testing::Test {
 protected:
  OutputRunTest() {
    testing::PlaceFormTemplate(program);
    request.fields = MakeDefaultTelegram(LocalTime{2024, 1, 6, 8, 19, 0});
    request.frequency = 800;
    request.speed = 200;
    request.open_folder = true;
    request.program_folder = program;
  }
  OutputReport Run() { return RunOutput(request, system, canvas, sink); }
  fs::path Folder(const std::u16string& suffix = u"") const {
    return program / (u"和文電報_20240131_090507" + suffix);
  }
  fs::path Base() const { return Folder() / u"和文電報_20240131_090507"; }
  void PlaceEncoder(const std::string& mode) { testing::PlaceStandInEncoder(program, mode); }
  fs::path Encoder() const { return program / PathFromText(kEncoderName); }
  static bool Says(const OutputReport& report, std::u16string_view text) {
    return report.message.find(text) != std::u16string::npos;
  }

  testing::TempDir dir;
  fs::path program = dir.path() / u"プログラム";
  testing::TestSystem system{program / "hoshizora"};
  testing::RecordingCanvas canvas;
  testing::RecordingSink sink;
  OutputRequest request;
};

TEST_F(OutputRunTest, SampleTelegramCompletes) {
  const OutputReport report = Run();
  EXPECT_EQ(report.result, Result::kComplete);
  ASSERT_TRUE(fs::is_directory(Folder()));
  EXPECT_EQ(report.folder, Folder());
  EXPECT_TRUE(fs::exists(WithSuffix(Base(), u".wav")));
  ASSERT_EQ(system.replaced.size(), 4u);
  EXPECT_EQ(system.replaced[0], WithSuffix(Base(), u".jpg"));
  EXPECT_EQ(system.replaced[1], WithSuffix(Base(), u"_1.jpg"));
  EXPECT_EQ(system.replaced[3], WithSuffix(Base(), u"_3.jpg"));
  ASSERT_EQ(report.written.size(), 5u);
  EXPECT_EQ(report.written[0], WithSuffix(Base(), u".wav"));
  EXPECT_EQ(report.message, u"出力が完了しました。");
  EXPECT_EQ(report.caption, u"完了");
  EXPECT_EQ(report.icon, MessageIcon::kNone);
  EXPECT_TRUE(sink.messages.empty()) << "the closing message is the front's to show";
  EXPECT_EQ(system.opened, std::vector<fs::path>{Folder()});
  EXPECT_EQ(system.reads, std::vector<fs::path>{program / u"和文電報受信用紙.jpg"});
  // The header of the listing names the base path, the speed and the frequency.
  EXPECT_EQ(canvas.strings[0].text, u"電報出力 " + PathText(Base()) + u"  CPM: 200  Freq: 800");
  ASSERT_GE(sink.steps.size(), 4u);
  EXPECT_EQ(sink.steps[0], u"テキスト画像を作成中");
  EXPECT_EQ(sink.steps[1], u"受信用紙 1/3 を作成中");
  EXPECT_EQ(sink.shares[2], 1.0 / 3);
}

TEST_F(OutputRunTest, AudioKeysTheDecoratedTelegram) {
  request.fields = {u"", u"一 二,三", u"第五号", u"", u"", u"[ホレ]ア[ラタ]"};
  Run();
  // ハツ一二三, タナ五, ア and the two signs at 200 CPM (unit 57 ms = 2513 samples).
  const std::string wav = testing::ReadFileBytes(WithSuffix(Base(), u".wav"));
  ASSERT_GT(wav.size(), 44u);
  const std::u16string code =
      u"-... .--. .---- ..--- ...-- -. .-. ..... "  // ハツ一二三 タナ五
      u" -..--- --.--  ...-. ";
  testing::NativeSystem real;
  const auto expected = WriteMorseWav(real, dir.path() / "reference", code, 800, 200);
  ASSERT_EQ(expected.status, WavStatus::kWritten);
  EXPECT_TRUE(wav == testing::ReadFileBytes(dir.path() / "reference.wav"));
  // The listing shows the telegram as typed.
  EXPECT_EQ(canvas.strings[2].text, u"一 二,三");
}

// The audio and the listing header follow the request's keying options,
// bounded for the speed keyed at; off, both are as they always were.
TEST_F(OutputRunTest, KeyingOptionsAreBoundedForTheRunsSpeed) {
  request.fields = {u"", u"一 二,三", u"第五号", u"", u"", u"[ホレ]ア[ラタ]"};
  const std::u16string code =
      u"-... .--. .---- ..--- ...-- -. .-. ..... "  // ハツ一二三 タナ五
      u" -..--- --.--  ...-. ";
  struct Case {
    KeyingOptions asked;
    KeyingOptions keyed;
    std::u16string_view label;
  };
  const Case cases[] = {
      {{.rise_ms = 30, .effective_cpm = 100},
       {.rise_ms = 20, .effective_cpm = 100},
       u"  Rise: 20 ms  Eff: 100"},
      {{.rise_ms = 5, .effective_cpm = 200}, {.rise_ms = 5}, u"  Rise: 5 ms"},
      {{.effective_cpm = 5}, {.effective_cpm = 20}, u"  Eff: 20"},
      {{.rise_ms = -1, .effective_cpm = 300}, {}, u""},
  };
  testing::NativeSystem real;
  for (const Case& c : cases) {
    canvas.strings.clear();
    request.keying = c.asked;
    const OutputReport report = Run();
    ASSERT_EQ(report.result, Result::kComplete);
    ASSERT_FALSE(report.written.empty());
    ASSERT_EQ(WriteMorseWav(real, dir.path() / "reference", code, 800, 200, {}, c.keyed).status,
              WavStatus::kWritten);
    EXPECT_TRUE(testing::ReadFileBytes(report.written[0]) ==
                testing::ReadFileBytes(dir.path() / "reference.wav"))
        << c.asked.rise_ms << " ms, " << c.asked.effective_cpm;
    EXPECT_EQ(canvas.strings.at(0).text, u"電報出力 " +
                                             PathText(report.folder / report.folder.filename()) +
                                             u"  CPM: 200  Freq: 800" + std::u16string(c.label));
  }
}

TEST_F(OutputRunTest, ToneOutOfRangeWritesNothing) {
  for (const auto& [freq, cpm] :
       {std::pair{99, 200}, {2001, 200}, {800, 19}, {800, 201}, {-800, 0}}) {
    request.frequency = freq;
    request.speed = cpm;
    const OutputReport report = Run();
    EXPECT_EQ(report.result, Result::kRefused);
    EXPECT_EQ(report.caption, u"エラー");
    EXPECT_EQ(report.message, freq < 100 || freq > 2000
                                  ? u"周波数(Hz)は100から2000までの数字で入力してください。"
                                  : u"速度(CPM)は20から200までの数字で入力してください。");
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(program), {}), 1) << "the form template alone";
  EXPECT_TRUE(sink.steps.empty());
}

TEST_F(OutputRunTest, RunsInOneSecondGetFoldersOfTheirOwn) {
  Run();
  Run();
  Run();
  EXPECT_TRUE(fs::is_directory(Folder()));
  EXPECT_TRUE(fs::is_directory(Folder(u"_2")));
  EXPECT_TRUE(fs::exists(Folder(u"_3") / u"和文電報_20240131_090507_3.wav"));
  EXPECT_EQ(system.replaced.back(), Folder(u"_3") / u"和文電報_20240131_090507_3_3.jpg");
  system.now = std::nullopt;
  Run();
  EXPECT_TRUE(fs::is_directory(program / u"和文電報_00000000_000000"));
}

TEST_F(OutputRunTest, FailingEncoderIsReportedAndTheWavKept) {
  PlaceEncoder("exit 3");
  const OutputReport report = Run();
  EXPECT_EQ(report.result, Result::kIncomplete);
  EXPECT_TRUE(fs::exists(Folder() / u"和文電報_20240131_090507.wav"));
  EXPECT_EQ(report.caption, u"エラー");
  EXPECT_TRUE(Says(report, u"MP3への変換に失敗しました(終了コード 3)"));
  EXPECT_TRUE(Says(report, u"和文電報_20240131_090507.wav"));
  EXPECT_TRUE(Says(report, u"和文電報_20240131_090507_3.jpg"));

  PlaceEncoder("mp3");
  EXPECT_EQ(Run().result, Result::kComplete);
  EXPECT_TRUE(fs::exists(Folder(u"_2") / u"和文電報_20240131_090507_2.mp3"));
  EXPECT_FALSE(fs::exists(Folder(u"_2") / u"和文電報_20240131_090507_2.wav"));
}

TEST_F(OutputRunTest, EachEncoderFailureHasItsOwnWords) {
  PlaceEncoder("exit 0\n");
  const std::pair<ProcessResult, std::u16string_view> cases[] = {
      {{ProcessResult::Kind::kStartFailed, -1}, u"MP3エンコーダ(lame)を起動できませんでした"},
      {{ProcessResult::Kind::kLost, -1}, u"終了状態を確かめられませんでした"},
      {{ProcessResult::Kind::kExited, 1}, u"MP3への変換に失敗しました(終了コード 1)"},
      {{ProcessResult::Kind::kCancelled, -1}, u"MP3への変換を中止しました"},
  };
  for (const auto& [result, words] : cases) {
    system.process_result = result;
    const OutputReport report = Run();
    EXPECT_EQ(report.result, Result::kIncomplete);
    EXPECT_TRUE(Says(report, words)) << std::string(report.message.begin(), report.message.end());
    EXPECT_TRUE(Says(report, u"WAVファイルを残しました"));
  }
  EXPECT_EQ(system.started.size(), 4u);
  EXPECT_EQ(system.started[0][0], Encoder());
}

// An encoder that said it succeeded but left junk, and ones that deleted or
// emptied the WAV: the closing message says so, and names only whole files
// that are there.
TEST_F(OutputRunTest, AnIncompleteMp3AndALostWavAreSaidAsTheyAre) {
  PlaceEncoder("junk");
  OutputReport report = Run();
  EXPECT_EQ(report.result, Result::kIncomplete);
  EXPECT_TRUE(Says(report, u"MP3ファイルが不完全でした。WAVファイルを残しました。"));
  EXPECT_TRUE(Says(report, u"和文電報_20240131_090507.wav"));
  EXPECT_FALSE(fs::exists(WithSuffix(Base(), u".mp3")));

  // Without hard links (FAT32, exFAT) the copy kept aside brings the WAV back.
  system.links_fail = true;
  for (const char* mode : {"lose 1", "blank 1"}) {
    PlaceEncoder(mode);
    report = Run();
    EXPECT_TRUE(Says(report, u"(終了コード 1)。WAVファイルを残しました。")) << mode;
    EXPECT_TRUE(Says(report, u".wav")) << mode;
  }

  // With no room for a copy either, a WAV the encoder took or emptied is
  // neither claimed nor listed.
  system.copies_fail = true;
  for (const char* mode : {"lose 1", "blank 1"}) {
    PlaceEncoder(mode);
    report = Run();
    EXPECT_TRUE(
        Says(report, u"MP3への変換に失敗しました(終了コード 1)。WAVファイルも残っていません。"))
        << mode;
    EXPECT_FALSE(Says(report, u"WAVファイルを残しました")) << mode;
    EXPECT_FALSE(Says(report, u".wav")) << mode << ": no file of that name is listed";
  }
}

// Without a Japanese face the pictures are boxes: never "complete".
TEST_F(OutputRunTest, CharactersNoFaceCanDrawMakeTheRunIncomplete) {
  canvas.undrawable = u"ホレ";
  canvas.installed_faces = {u"HGP行書体"};
  const OutputReport report = Run();
  EXPECT_EQ(report.result, Result::kIncomplete);
  EXPECT_EQ(report.caption, u"エラー");
  EXPECT_TRUE(Says(report, u"次の文字は正しく描かれていません: ホレ\n"));
  EXPECT_TRUE(Says(report, u"見つからないフォント: MS Gothic"));
  EXPECT_FALSE(Says(report, u"HGP行書体")) << "the brush face is installed";

  ImageOutcome listing;
  ImageOutcome forms;
  for (char16_t c = u'ア'; c < u'ア' + 50; ++c) {
    (c % 2 == 0 ? listing : forms).undrawable.push_back(c);
  }
  forms.undrawable += u"ア\U0002FFFD";
  const std::u16string many = GlyphProblem(listing, forms);
  EXPECT_NE(many.find(u"…(ほか11文字)"), std::u16string::npos) << "50 kana and one pair, 40 shown";
  EXPECT_TRUE(GlyphProblem({}, {}).empty());
}

TEST_F(OutputRunTest, PictureFailuresReachTheSinkBeforeTheReport) {
  system.replace_fails_for = [](const fs::path& path) {
    return path.u8string().ends_with(u8"_2.jpg");
  };
  OutputReport report = Run();
  EXPECT_EQ(report.result, Result::kIncomplete);
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].text, u"和文電報JPEGの保存に失敗しました。");
  EXPECT_EQ(sink.messages[0].icon, MessageIcon::kError);
  EXPECT_TRUE(Says(report, u"受信用紙: 3枚中1枚を保存できませんでした。"));

  system.replace_fails_for = nullptr;
  canvas.template_available = false;
  sink.messages.clear();
  report = Run();
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].text, u"テンプレ画像が見つかりません");
  EXPECT_EQ(sink.messages[0].icon, MessageIcon::kNone);
  EXPECT_TRUE(Says(report, u"テンプレート画像"));

  canvas.formats = {ImageFormat::kPng};
  sink.messages.clear();
  report = Run();
  ASSERT_EQ(sink.messages.size(), 2u) << "the listing's, then the form's";
  EXPECT_EQ(sink.messages[0].text, u"JPEGエンコーダが見つかりません (GDI+)");
  EXPECT_EQ(sink.messages[1].text, u"JPEGエンコーダが見つかりません (GDI+)");
  EXPECT_TRUE(Says(report, u"テキスト画像: JPEGエンコーダが見つかりませんでした。"));
}

TEST_F(OutputRunTest, WavThatFailsToWriteIsAFailureNeverComplete) {
  PlaceEncoder("mp3");
  system.write_fails_after = 1000;
  const OutputReport report = Run();
  EXPECT_EQ(report.result, Result::kIncomplete);
  EXPECT_EQ(report.caption, u"エラー");
  EXPECT_TRUE(Says(report, u"音声: WAVファイルを書き込めませんでした。"));
  EXPECT_FALSE(Says(report, u"出力が完了しました"));
  EXPECT_TRUE(system.started.empty()) << "no encoder on a broken WAV";
  EXPECT_EQ(std::count_if(report.written.begin(), report.written.end(),
                          [](const fs::path& p) { return p.extension() == ".wav"; }),
            0);
}

TEST_F(OutputRunTest, ClosingMessageNamesCharactersTheAudioLacks) {
  request.fields.body = u"[ホレ]アイ。ウ「エ」。[ラタ]";
  const OutputReport report = Run();
  EXPECT_EQ(report.result, Result::kComplete);
  EXPECT_EQ(report.message,
            u"出力が完了しました。\n\nモールス符号がないため音声に含まれない文字: 。 「");
}

// A cut field is never keyed or drawn whole, so the run is not complete; the
// cut body lost its End sign, so no form page is drawn.
TEST_F(OutputRunTest, LongFieldsAreCutAndTheRunIsIncomplete) {
  // Kanji have no code: the audio stays short while the body is long.
  request.fields.body = u"[ホレ]アウ[ラタ]" + std::u16string(4990, u'漢');
  request.fields.addressee = std::u16string(600, u'イ');
  OutputReport report = Run();
  EXPECT_EQ(report.result, Result::kIncomplete);
  EXPECT_EQ(report.caption, u"エラー");
  EXPECT_TRUE(Says(report,
                   u"失敗:\n名あてが長すぎるため、先頭の511文字だけを使い、残りの89文字は"
                   u"使いませんでした。\n本文が長すぎるため、先頭の4095文字だけを使い、残り"
                   u"の905文字は使いませんでした。"));
  EXPECT_EQ(report.written.size(), 3u) << "the audio, the listing and the one form page";

  std::size_t addressee_drawn = 0;
  for (const auto& s : canvas.On(1)) {
    addressee_drawn += static_cast<std::size_t>(std::count(s.text.begin(), s.text.end(), u'イ'));
  }
  EXPECT_EQ(addressee_drawn, 511u);
  EXPECT_EQ(canvas.On(1).back().text, kListingCutMark) << "the long body fills the listing";

  request.fields.body = u"[ホレ]" + std::u16string(5000, u'ア');
  system.write_fails_after = 44;  // the cut body would key for over an hour
  report = Run();
  EXPECT_TRUE(Says(report, u"受信用紙は作成しませんでした")) << "the cut body lost its End sign";
}

// A picture writer that throws (out of memory, say) while the audio is being
// written must not end the program: the run waits for the audio and passes
// the exception on to the front end's guard.
TEST_F(OutputRunTest, AThrowingWriterWaitsForTheAudioAndPassesItOn) {
  struct ThrowingCanvas : testing::RecordingCanvas {
    std::unique_ptr<Bitmap> CreateBitmap(int, int) override { throw std::bad_alloc(); }
  } throwing;
  EXPECT_THROW(RunOutput(request, system, throwing, sink), std::bad_alloc);
  const fs::path wav = WithSuffix(Base(), u".wav");
  ASSERT_TRUE(fs::exists(wav));
  EXPECT_EQ(ReadLe(testing::ReadFileBytes(wav), 40, 4) + 44u, fs::file_size(wav))
      << "written whole";
}

TEST_F(OutputRunTest, EmptyFieldsStillRunEveryWriter) {
  request.fields = {};
  const OutputReport report = Run();
  EXPECT_TRUE(fs::is_directory(Folder()));
  EXPECT_EQ(fs::file_size(Folder() / u"和文電報_20240131_090507.wav"), 44u);
  EXPECT_EQ(system.replaced.size(), 1u) << "the listing; no body for the form";
  EXPECT_EQ(report.result, Result::kComplete);
}

TEST_F(OutputRunTest, CancelStopsThePicturesAndIsReported) {
  sink.cancel_at_step = u"受信用紙 2/";
  const OutputReport report = Run();
  EXPECT_EQ(report.result, Result::kIncomplete);
  EXPECT_EQ(system.replaced.size(), 2u) << "the listing and page 1";
  EXPECT_TRUE(Says(report, u"中止したため、3枚中1枚だけ作成しました。"));
}

TEST_F(OutputRunTest, EncoderStepReportsAnUnknownShare) {
  PlaceEncoder("sleep 1; cp \"$1\" \"$2\"\n");
  Run();
  ASSERT_FALSE(sink.steps.empty());
  EXPECT_EQ(sink.steps.back(), u"音声を書き込み、MP3に変換中");
  EXPECT_EQ(sink.shares.back(), ProgressReporter::kUnknownShare);
}

TEST_F(OutputRunTest, OpensFollowTheOptionsInOrder) {
  request.open_audio = true;
  request.open_listing = true;
  Run();
  EXPECT_EQ(system.opened, (std::vector<fs::path>{WithSuffix(Base(), u".wav"),
                                                  WithSuffix(Base(), u".jpg"), Folder()}));

  request.open_audio = false;
  request.open_folder = false;
  system.opened.clear();
  Run();
  EXPECT_EQ(system.opened,
            std::vector<fs::path>{Folder(u"_2") / u"和文電報_20240131_090507_2.jpg"});

  request.open_listing = false;
  system.opened.clear();
  Run();
  EXPECT_TRUE(system.opened.empty());
}

// The message names the folder tried and the system's reason, for the user
// to know what to change.
TEST_F(OutputRunTest, UnwritableRootIsReported) {
  request.output_root = dir.path() / "missing" / "deeper";
  const std::u16string tried = PathText(request.output_root / u"和文電報_20240131_090507");
  const std::pair<std::optional<FolderMade>, std::u16string> cases[] = {
      {std::nullopt, u"（入れる先のフォルダがありません）"},
      {FolderMade::kDenied, u"（書き込む権限がありません）"},
      {FolderMade::kReadOnly, u"（読み取り専用の場所です）"},
      {FolderMade::kNoSpace, u"（ディスクに空きがありません）"},
      {FolderMade::kFailed, u""},  // no reason told: none made up
  };
  for (const auto& [fails, reason] : cases) {
    system.folder_fails = fails;
    const OutputReport report = Run();
    EXPECT_EQ(report.result, Result::kIncomplete);
    EXPECT_TRUE(report.folder.empty());
    EXPECT_TRUE(Says(report, u"出力フォルダを作成できませんでした: " + tried + reason))
        << EncodeUtf8(report.message);
    EXPECT_EQ(Says(report, u"（"), !reason.empty());
  }
  EXPECT_TRUE(system.replaced.empty());
}

#ifndef _WIN32
// An unzipped Windows archive can leave the program in a folder named in
// Shift_JIS: the side files and the output must still be found by their bytes.
TEST_F(OutputRunTest, ProgramFolderThatIsNotUtf8) {
  program = dir.path() / "\x93\x64\x95\xf1";  // 電報 in Shift_JIS
  testing::PlaceFormTemplate(program);
  request.program_folder = program;
  PlaceEncoder("mp3");
  const OutputReport report = Run();
  EXPECT_EQ(report.result, Result::kComplete);
  EXPECT_EQ(system.reads, std::vector<fs::path>{program / u"和文電報受信用紙.jpg"});
  ASSERT_EQ(system.started.size(), 1u);
  EXPECT_EQ(system.started[0][0], Encoder());
  EXPECT_TRUE(fs::exists(Folder() / u"和文電報_20240131_090507.mp3"));
}
#endif

// An installed program reads its template under share/ but still starts only
// the encoder beside the executable.
TEST_F(OutputRunTest, TemplateFromTheDataFolderEncoderFromTheProgramFolder) {
  request.data_folder = dir.path() / "share" / "hoshizora";
  testing::PlaceFormTemplate(request.data_folder);
  request.output_root = dir.path();
  PlaceEncoder("mp3");
  const OutputReport report = Run();
  EXPECT_EQ(report.result, Result::kComplete);
  EXPECT_EQ(system.reads, std::vector<fs::path>{request.data_folder / u"和文電報受信用紙.jpg"});
  ASSERT_EQ(system.started.size(), 1u);
  EXPECT_EQ(system.started[0][0], Encoder());
  EXPECT_EQ(report.folder, dir.path() / u"和文電報_20240131_090507");
}

}  // namespace
}  // namespace hoshizora
