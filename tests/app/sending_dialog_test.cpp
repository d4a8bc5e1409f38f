#include "app/sending_dialog.h"

#include <gtest/gtest.h>

#include <cmath>

#include "app/control_ids.h"
#include "app/sending_dialog_template.h"
#include "app/sending_result_text.h"
#include "audio/wav_writer.h"
#include "base/utf8.h"
#include "encoding/encode_telegram.h"
#include "history/history_file.h"
#include "platform/paths.h"
#include "practice/practice_telegram.h"
#include "support/fake_dialog.h"
#include "support/fake_recorder.h"
#include "support/keyed_signal.h"
#include "support/recording_canvas.h"
#include "support/temp_dir.h"
#include "support/test_system.h"
#include "telegram_file/telegram_file_commands.h"

namespace hoshizora {
namespace {

namespace fs = std::filesystem;
using testing::FakeDialog;

constexpr int kRate = 8000;

bool Contains(const std::u16string& text, std::u16string_view part) {
  return text.find(part) != std::u16string::npos;
}

// The learner's keying of `text` at 60 CPM, as the input would take it in.
Recording Keyed(std::u16string_view text, const testing::Hand& hand = {}) {
  const std::vector<float> tone =
      testing::Tone(testing::KeyCode(EncodeTelegram(text), 0.171, hand), kRate, 700);
  Recording r{kRate, {}};
  for (float v : tone) {
    r.samples.push_back(static_cast<std::int16_t>(std::lround(v * 32767)));
  }
  return r;
}

class SendingDialogTest : public ::testing::Test {
 protected:
  SendingDialogTest() {
    window.texts[ids::kFrequency] = u"700";
    window.texts[ids::kSpeed] = u"200";
    sending.recorder = &recorder;
    sending.folders = PortableFolders(dir.path());
    sending.seed = [] { return std::uint64_t{11}; };
    sending.options.length = {10, 12};
    InitialiseSendingDialog(sending, view);
  }
  bool Command(int id) { return HandleSendingCommand(sending, view, id); }
  void ChooseTelegram(const std::u16string& body) {
    TelegramFields key = MakePracticeTelegram({}, 3);
    key.body = body;
    view.open_answer = dir.path() / "send.txt";
    ASSERT_TRUE(SaveTelegramFile(system, *view.open_answer, key));
    Command(ids::kChooseKeyButton);
    ASSERT_TRUE(sending.key.has_value());
  }
  const std::u16string& Result() { return view.texts[ids::kResult]; }

  testing::TempDir dir;
  testing::TestSystem system{dir.path() / "hoshizora"};
  testing::RecordingCanvas canvas;
  FakeDialog window;
  FakeDialog view{SendingDialogTemplate()};
  testing::FakeRecorder recorder;
  SendingDialog sending{window, system, canvas};
};

TEST_F(SendingDialogTest, RecordedKeyingIsKeptDecodedScoredAndRecorded) {
  EXPECT_FALSE(view.enabled[ids::kRecordButton]) << "nothing to send yet";
  ChooseTelegram(u"[ホレ]アイウエオ　カキクケコ[ラタ]");
  EXPECT_TRUE(Contains(view.texts[ids::kSendText], u"本文:\r\n[ホレ]アイウエオ　カキクケコ[ラタ]"));
  EXPECT_TRUE(view.texts[ids::kSendText].starts_with(u"文字数: "))
      << "a text to send, not an answer";
  EXPECT_TRUE(view.enabled[ids::kRecordButton]);
  // The learner keys ヱ for エ and leaves out ク.
  recorder.taken = Keyed(u"[ホレ]アイウヱオ カキケコ[ラタ]");
  Command(ids::kRecordButton);
  EXPECT_TRUE(recorder.recording);
  EXPECT_FALSE(view.enabled[ids::kRecordButton]);
  EXPECT_TRUE(view.enabled[ids::kStopRecordButton]);
  EXPECT_FALSE(view.enabled[ids::kChooseKeyButton]) << "the telegram stays while recording";
  Command(ids::kStopRecordButton);

  // The recording is kept beside the telegram as a WAV the decoder reads.
  const fs::path wav = dir.path() / u"送信_20240131_090507.wav";
  ASSERT_EQ(sending.last_recording, wav);
  EXPECT_EQ(testing::ReadFileBytes(wav), *Pcm16MonoWav(kRate, recorder.taken.samples));
  const std::u16string& result = Result();
  EXPECT_TRUE(Contains(result, u"解読した文:\r\n[ホレ]アイウヱオカキケコ[ラタ]"))
      << EncodeUtf8(result);
  EXPECT_TRUE(Contains(result, u"アイウ【ヱ】オカキ【－ク】ケコ")) << EncodeUtf8(result);
  EXPECT_TRUE(Contains(result, u"得点 98/100 合格"));
  EXPECT_TRUE(Contains(result, u"本文 4字目 誤字: エ → ヱ"));
  EXPECT_TRUE(Contains(result, u"速度 約 60 字/分")) << EncodeUtf8(result);
  EXPECT_TRUE(Contains(result, u"長点と短点の比はよい加減です (3.0)"));

  const HistoryRead history = ReadHistory(system, sending.folders.history_file);
  ASSERT_EQ(history.records.size(), 1u);
  EXPECT_EQ(history.records[0].kind, HistoryKind::kSending);
  EXPECT_EQ(history.records[0].score, 98);

  // A second recording in the same second gets a name of its own.
  Command(ids::kRecordButton);
  recorder.End();  // the input failed: what it took in is kept
  EXPECT_EQ(sending.last_recording, dir.path() / u"送信_20240131_090507_2.wav");
}

TEST(SendingResultTextTest, TimingFaultsAreToldInPlainJapanese) {
  DecodeResult decoded;
  decoded.keying_found = true;
  decoded.text = u"[ホレ] ヲ ムヘ [ラタ]";
  TimingFeedback f;
  f.cpm = 59.6;
  f.wpm = 11.9;
  f.unit_ms = 171.4;
  f.speed_cv = 0.18;
  f.drift_cpm_per_min = -7;
  f.dah_dit_ratio = 2.4;
  f.ratios = {{u"ヲ", 1, 2.2, true}, {u"ム", 1, 3.0, false}};
  f.element_gap_units = 1.1;
  f.char_gap_units = 2.3;
  AtRisk inner;
  inner.inner_gap = true;
  inner.character = u"ヲ";
  inner.at_s = 5.06;
  inner.first_heard = u"イ";
  inner.second_heard = u"ヨ";
  AtRisk joined;
  joined.character = u"ムヘ";
  joined.next = u"ヘ";
  joined.at_s = 12.3;
  joined.first_heard = u"タ";
  AtRisk unknown = joined;
  unknown.first_heard.clear();
  f.at_risk = {inner, joined, unknown};
  const std::u16string text = SendingResultText(decoded, f, nullptr, nullptr);
  for (std::u16string_view line : {
           u"解読した文:\r\n[ホレ] ヲ ムヘ [ラタ]\r\n",
           u"速度 約 60 字/分 (PARIS 11.9 WPM)、短点 171 ms\r\n",
           u"速度が揺れています (ばらつき 18 %)\r\n",
           u"だんだん遅くなっています (7 字/分 毎分)\r\n",
           u"長点が短め (2.4)\r\n",
           u"  ヲ の長点が短め (2.2)\r\n",
           u"字の間隔が短め (2.3)\r\n",
           u"ヲ の途中の間隔が長く、イ と ヨ に聞こえます (5.1 秒)\r\n",
           u"ム と ヘ の間隔が短く、タ に聞こえます (12.3 秒)\r\n",
           u"ム と ヘ の間隔が短く、続けて聞こえます (12.3 秒)\r\n",
       }) {
    EXPECT_TRUE(Contains(text, line)) << EncodeUtf8(std::u16string(line)) << "\n"
                                      << EncodeUtf8(text);
  }
  EXPECT_FALSE(Contains(text, u"ム の長点")) << "only flagged characters are named";
  EXPECT_FALSE(Contains(text, u"得点")) << "no telegram, no score";
}

TEST_F(SendingDialogTest, RefusalsAndAnOpenedRecording) {
  // No input: the learner is told, nothing is kept.
  ChooseTelegram(u"[ホレ]アイウ[ラタ]");
  recorder.opens = false;
  Command(ids::kRecordButton);
  EXPECT_TRUE(Contains(view.texts[ids::kRecordStatus], u"録音を始められませんでした"));
  EXPECT_TRUE(view.enabled[ids::kRecordButton]);
  // Silence decodes to nothing and is not scored.
  recorder.opens = true;
  recorder.taken = Recording{kRate, std::vector<std::int16_t>(kRate * 2, 0)};
  Command(ids::kRecordButton);
  Command(ids::kStopRecordButton);
  EXPECT_TRUE(Contains(Result(), u"モールス符号を聞き取れませんでした")) << EncodeUtf8(Result());
  EXPECT_EQ(ReadHistory(system, sending.folders.history_file).records.size(), 0u);
  // A file that is not a WAV is refused by name.
  view.open_answer = dir.path() / "send.txt";
  Command(ids::kOpenRecordingButton);
  ASSERT_FALSE(view.messages.empty());
  EXPECT_TRUE(Contains(view.messages.back().text, u"WAV ファイルではありません"));
  // A recording opened from a file is read as one made here.
  const fs::path opened = dir.path() / "take.wav";
  testing::WriteFileBytes(opened, *Pcm16MonoWav(kRate, Keyed(u"[ホレ]アイウ[ラタ]").samples));
  view.open_answer = opened;
  Command(ids::kOpenRecordingButton);
  EXPECT_TRUE(Contains(Result(), u"得点 100/100 合格")) << EncodeUtf8(Result());
  // Closing mid-recording keeps the keying and destroys the dialog.
  Command(ids::kRecordButton);
  Command(ids::kCloseButton);
  EXPECT_TRUE(view.destroyed);
  EXPECT_FALSE(recorder.recording);
  EXPECT_FALSE(sending.last_recording.empty());
}

}  // namespace
}  // namespace hoshizora
