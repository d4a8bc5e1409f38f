#include "app/sending_dialog.h"

#include "app/control_ids.h"
#include "app/practice_result_text.h"
#include "app/record_check.h"
#include "app/sending_dialog_template.h"
#include "app/sending_result_text.h"
#include "audio/wav_writer.h"
#include "check/check_fields.h"
#include "decode/decoder.h"
#include "decode/timing_feedback.h"
#include "decode/wav_reader.h"
#include "encoding/text_utils.h"
#include "platform/paths.h"

namespace hoshizora {
namespace {

constexpr std::u16string_view kNoTelegramYet =
    u"送信する電報はまだありません。「新しい練習電報」で作るか、電報ファイルを選んでください。";

void CreateFonts(SendingDialog& s, Dialog& view) {
  s.label_font = view.CreateDialogFont({u"MS UI Gothic", 16, 700});
  s.text_font = view.CreateDialogFont({u"MS Gothic", 22, 700});
  s.result_font = view.CreateDialogFont({u"MS Gothic", 16, 400});
  for (const ControlSpec& c : SendingDialogTemplate().controls) {
    view.SetControlFont(c.id, c.id == ids::kResult     ? s.result_font
                              : c.id == ids::kSendText ? s.text_font
                                                       : s.label_font);
  }
}

void UpdateControls(SendingDialog& s, Dialog& view) {
  const bool can_record = s.key.has_value() && s.recorder != nullptr;
  view.EnableControl(ids::kRecordButton, can_record && !s.recording);
  view.EnableControl(ids::kStopRecordButton, s.recording);
  for (int id : {ids::kNewPracticeButton, ids::kChooseKeyButton, ids::kOpenRecordingButton}) {
    view.EnableControl(id, !s.recording);
  }
}

void TakeTelegram(SendingDialog& s, Dialog& view, PracticeKey key) {
  view.SetControlText(ids::kKeyStatus, u"送信する電報: " + key.shown);
  view.SetControlText(ids::kSendText, TelegramText(key.fields));
  view.SetControlText(ids::kResult, u"");
  view.SetControlText(ids::kRecordStatus, u"");
  s.key = std::move(key);
  UpdateControls(s, view);
}

void NewTelegram(SendingDialog& s, Dialog& view) {
  const auto options = ReadPracticeOptions(view, s.options);
  if (!options) {
    return;
  }
  const auto tone = ReadWindowTone(s.window, view);
  if (!tone) {
    return;
  }
  s.options = *options;
  if (auto key = MakePracticeKey({s.system, s.canvas, s.folders, s.keying, s.seed}, view, *options,
                                 *tone)) {
    TakeTelegram(s, view, std::move(*key));
  }
}

void ChooseTelegram(SendingDialog& s, Dialog& view) {
  if (auto chosen = ChoosePracticeKey(view, s.system, u"送信する電報ファイルを選ぶ")) {
    TakeTelegram(s, view, std::move(*chosen));
  }
}

void StartRecording(SendingDialog& s, Dialog& view) {
  if (!s.key || s.recorder == nullptr || s.recording) {
    return;
  }
  s.recording = s.recorder->Start();
  view.SetControlText(ids::kRecordStatus,
                      s.recording ? u"録音中… 送り終えたら「録音停止」を押してください。"
                                  : u"録音を始められませんでした。音声入力を確かめてください。");
  UpdateControls(s, view);
}

// A name in the telegram's folder that no file has yet.
std::filesystem::path RecordingPath(SendingDialog& s) {
  const std::filesystem::path folder = s.key->file.parent_path();
  const std::u16string stem = u"送信_" + TimestampText(s.system.LocalNow());
  std::filesystem::path path = folder / PathFromText(stem + u".wav");
  for (std::int32_t n = 2; s.system.PathExists(path) && n < 1000; ++n) {
    path = folder / PathFromText(stem + u"_" + IntToText(n) + u".wav");
  }
  return path;
}

struct KeptRecording {
  std::string wav;
  std::filesystem::path path;
};

// Ends the recording under way and keeps it beside the telegram; nothing when
// nothing was taken in.
std::optional<KeptRecording> KeepRecording(SendingDialog& s, Dialog& view) {
  if (!s.recording) {
    return std::nullopt;
  }
  s.recording = false;
  const std::optional<Recording> taken = s.recorder->Stop();
  UpdateControls(s, view);
  if (!taken || taken->samples.empty()) {
    view.SetControlText(ids::kRecordStatus, u"何も録音されませんでした。");
    return std::nullopt;
  }
  std::optional<std::string> wav = Pcm16MonoWav(taken->rate, taken->samples);
  if (!wav) {
    view.SetControlText(ids::kRecordStatus, u"録音が長すぎるため、保存できませんでした。");
    return std::nullopt;
  }
  const std::filesystem::path path = RecordingPath(s);
  if (s.system.ReplaceFile(path, *wav)) {
    s.last_recording = path;
    view.SetControlText(ids::kRecordStatus, u"録音しました: " + PathText(path.filename()));
  } else {
    // The keying can still be read: only the file is lost, and the learner is told.
    view.ShowMessage(u"録音を保存できませんでした: " + PathText(path), u"エラー",
                     MessageIcon::kError);
  }
  return KeptRecording{std::move(*wav), path};
}

void FinishRecording(SendingDialog& s, Dialog& view) {
  if (const auto kept = KeepRecording(s, view)) {
    ReadSentKeying(s, view, kept->wav, kept->path);
  }
}

std::u16string WavProblem(WavReadStatus status) {
  switch (status) {
    case WavReadStatus::kNotWav:
      return u"WAV ファイルではありません。";
    case WavReadStatus::kBadFormat:
      return u"WAV ファイルの見出しが壊れています。";
    case WavReadStatus::kUnsupported:
      return u"この WAV の形式は読めません (PCM 8/16/24/32 ビットか 32 ビット浮動小数点の、モノラル"
             u"かステレオだけ読めます)。";
    case WavReadStatus::kRateOutOfRange:
      return u"標本化周波数が 8〜96 kHz の外です。";
    case WavReadStatus::kTooLong:
      return u"録音が長すぎます (48 kHz で 1 時間まで)。";
    case WavReadStatus::kRead:
      break;
  }
  return u"読めません。";
}

void OpenRecording(SendingDialog& s, Dialog& view) {
  FileDialogSettings settings;
  settings.title = u"録音ファイルを開く";
  settings.filter_name = u"WAV ファイル (*.wav)";
  settings.filter_pattern = u"*.wav";
  settings.must_exist = true;
  const auto chosen = view.AskOpenFileName(settings);
  if (!chosen) {
    return;
  }
  const FileRead file = s.system.ReadFile(*chosen, kLargestWavBytes);
  if (file.status != FileRead::Status::kRead) {
    view.ShowMessage(u"録音ファイルを読めませんでした: " + PathText(*chosen), u"エラー",
                     MessageIcon::kError);
    return;
  }
  view.SetControlText(ids::kRecordStatus, u"録音ファイル: " + PathText(chosen->filename()));
  ReadSentKeying(s, view, file.bytes, *chosen);
}

}  // namespace

void ReadSentKeying(SendingDialog& s, Dialog& view, const std::string& wav_bytes,
                    const std::filesystem::path& shown_as) {
  WavRead wav = ReadWav(wav_bytes);
  if (wav.status != WavReadStatus::kRead) {
    view.ShowMessage(PathText(shown_as) + u"\n\n" + WavProblem(wav.status), u"エラー",
                     MessageIcon::kError);
    return;
  }
  DecodeResult decoded;
  TimingFeedback feedback;
  view.RunWithProgress(u"解読", [&](ProgressReporter& progress) {
    progress.Report(u"録音を解読中", ProgressReporter::kUnknownShare);
    decoded = DecodeAudio(wav.clip);
    feedback = MeasureTiming(decoded);
  });
  std::optional<CheckResult> score;
  std::u16string note;
  if (s.key && decoded.keying_found) {
    CheckCopy copy;
    copy.fields.body = decoded.text;
    if (FieldTooLongToScore(s.key->fields, copy)) {
      note = u"\r\n電報か解読した文が長すぎるため、採点しませんでした。";
    } else {
      score = ScoreCopy(s.key->fields, copy, s.scheme);
      // The score stands whatever the recording of it does.
      const HistoryAppend recorded = RecordCheck(s.system, s.folders.history_file, s.key->fields,
                                                 copy, *score, s.key->made, HistoryKind::kSending);
      if (recorded.result == HistoryAppend::Result::kFailed) {
        note = u"\r\n練習の記録に書き込めませんでした。";
      }
    }
  }
  view.SetControlText(ids::kResult,
                      SendingResultText(decoded, feedback, s.key ? &s.key->fields : nullptr,
                                        score ? &*score : nullptr) +
                          note);
}

void InitialiseSendingDialog(SendingDialog& s, Dialog& view) {
  CreateFonts(s, view);
  view.SetChecked(ids::kGroupsCheck, s.options.mode == PracticeMode::kGroups);
  view.SetControlText(ids::kLength,
                      IntToText(s.options.length.min) + u"-" + IntToText(s.options.length.max));
  view.SetControlText(ids::kKeyStatus, kNoTelegramYet);
  if (s.recorder != nullptr) {
    s.recorder->SetEndedHandler([&s, &view] { SendingRecordingEnded(s, view); });
  } else {
    view.SetControlText(ids::kRecordStatus,
                        u"この環境では録音できません。「録音ファイルを開く…」を使ってください。");
  }
  UpdateControls(s, view);
}

bool HandleSendingCommand(SendingDialog& s, Dialog& view, int command_id) {
  switch (command_id) {
    case ids::kCancelKey:
    case ids::kCloseButton:
      CloseSendingDialog(s, view);
      return true;
    case ids::kNewPracticeButton:
      NewTelegram(s, view);
      return true;
    case ids::kChooseKeyButton:
      ChooseTelegram(s, view);
      return true;
    case ids::kRecordButton:
      StartRecording(s, view);
      return true;
    case ids::kStopRecordButton:
      FinishRecording(s, view);
      return true;
    case ids::kOpenRecordingButton:
      OpenRecording(s, view);
      return true;
    default:
      return false;
  }
}

void SendingRecordingEnded(SendingDialog& s, Dialog& view) {
  if (!s.closed) {
    FinishRecording(s, view);
  }
}

void EndSending(SendingDialog& s) {
  if (s.closed) {
    return;
  }
  s.closed = true;
  if (s.recording) {
    s.recorder->Stop();
    s.recording = false;
  }
  if (s.recorder != nullptr) {
    s.recorder->SetEndedHandler({});
  }
}

void CloseSendingDialog(SendingDialog& s, Dialog& view) {
  if (s.closed) {
    return;
  }
  // A learner who closes mid-recording keeps what was keyed.
  KeepRecording(s, view);
  EndSending(s);
  for (int* font : {&s.label_font, &s.text_font, &s.result_font}) {
    if (*font != 0) {
      view.DeleteDialogFont(*font);
      *font = 0;
    }
  }
  view.DestroyWindow();
}

}  // namespace hoshizora
