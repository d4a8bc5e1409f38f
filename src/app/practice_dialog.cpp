#include "app/practice_dialog.h"

#include <string>
#include <vector>

#include "app/control_ids.h"
#include "app/dialog_fields.h"
#include "app/message_text.h"
#include "app/practice_dialog_template.h"
#include "app/practice_key.h"
#include "app/practice_playback.h"
#include "app/practice_result_text.h"
#include "app/weak_focus.h"
#include "check/marked_form.h"
#include "encoding/text_utils.h"
#include "history/history_file.h"
#include "history/stats_chart.h"
#include "platform/paths.h"

namespace hoshizora {
namespace {

constexpr std::u16string_view kNoKeyYet =
    u"練習電報はまだありません。「新しい練習電報」で作るか、電報ファイルを選んでください。";
constexpr std::u16string_view kCannotPlay = u"音声を再生できませんでした。";

constexpr int kCopyFields[] = {ids::kCopy,       ids::kCopyCount, ids::kCopyStation,
                               ids::kCopyNumber, ids::kCopyTime,  ids::kCopyAddressee};

void CreateFonts(PracticeDialog& p, Dialog& view) {
  p.label_font = view.CreateDialogFont({u"MS UI Gothic", 16, 700});
  p.copy_font = view.CreateDialogFont({u"MS Gothic", 22, 700});
  p.result_font = view.CreateDialogFont({u"MS Gothic", 16, 400});
  for (const ControlSpec& c : PracticeDialogTemplate().controls) {
    const bool copy =
        c.kind == ControlSpec::Kind::kMultiLine || c.kind == ControlSpec::Kind::kSingleLine;
    view.SetControlFont(c.id, c.id == ids::kResult ? p.result_font
                              : copy               ? p.copy_font
                                                   : p.label_font);
  }
}

void UpdateControls(PracticeDialog& p, Dialog& view) {
  const bool key = p.key.has_value();
  view.EnableControl(ids::kPlayButton, key && p.player != nullptr && !p.playing);
  view.EnableControl(ids::kStopButton, p.playing);
  view.EnableControl(ids::kScoreButton, key);
  view.EnableControl(ids::kAnswerButton, key);
  view.EnableControl(ids::kOpenMarkedButton, !p.marked_pages.empty());
}

void ShowResult(PracticeDialog& p, Dialog& view) {
  std::u16string text = p.result_text;
  if (p.answer_shown && p.key) {
    if (!text.empty()) {
      text += u"\r\n";
    }
    text += AnswerText(p.key->fields);
  }
  view.SetControlText(ids::kResult, text);
}

void StopPlayback(PracticeDialog& p) {
  if (p.playing && p.player != nullptr) {
    p.player->Stop();
  }
  p.playing = false;
}

void RemoveScratchWav(PracticeDialog& p) {
  if (!p.scratch_wav.empty()) {
    p.system.RemoveFile(p.scratch_wav);
    p.scratch_wav.clear();
  }
}

// A new key: whatever belonged to the old one (its playback, the copy, the
// score, the answer) goes.
void TakeKey(PracticeDialog& p, Dialog& view, PracticeKey key) {
  StopPlayback(p);
  RemoveScratchWav(p);
  p.playback.clear();
  if (const auto wav = PracticeFolderWav(p.system, key.file)) {
    p.playback = *wav;
  }
  const std::u16string shown_as = key.shown;
  p.key = std::move(key);
  p.marked_pages.clear();
  p.result_text.clear();
  p.answer_shown = false;
  for (int id : kCopyFields) {
    view.SetControlText(id, u"");
  }
  view.SetControlText(ids::kKeyStatus, u"練習電報: " + shown_as);
  view.SetControlText(ids::kPlayStatus, u"");
  ShowResult(p, view);
  UpdateControls(p, view);
}

void NewPracticeTelegram(PracticeDialog& p, Dialog& view) {
  const auto options = ReadPracticeOptions(view, p.options);
  if (!options) {
    return;
  }
  const auto tone = ReadWindowTone(p.window, view);
  if (!tone) {
    return;
  }
  p.options = *options;
  PracticeOptions drawn = *options;
  if (view.IsChecked(ids::kWeakFocusCheck)) {
    // The weights come from the history as it stands now.
    const WeakFocus focus = ReadWeakFocus(p.system, p.folders.history_file);
    if (focus.weights.empty()) {
      view.ShowMessage(u"練習の記録に誤りがまだないため、ふつうの練習電報を作ります。", u"受信練習",
                       MessageIcon::kInformation);
    }
    drawn.focus = focus.weights;
  }
  StopPlayback(p);
  if (auto key =
          MakePracticeKey({p.system, p.canvas, p.folders, p.keying, p.seed}, view, drawn, *tone)) {
    TakeKey(p, view, std::move(*key));
  }
}

void ChooseKey(PracticeDialog& p, Dialog& view) {
  if (auto chosen = ChoosePracticeKey(view, p.system, u"答えの電報ファイルを選ぶ")) {
    TakeKey(p, view, std::move(*chosen));
  }
}

// The WAV to play: the key's own, else one keyed now from the key with the
// window's tone.
std::optional<std::filesystem::path> PlaybackWav(PracticeDialog& p, Dialog& view) {
  if (!p.playback.empty() && p.system.PathExists(p.playback)) {
    return p.playback;
  }
  const auto tone = ReadWindowTone(p.window, view);
  if (!tone) {
    return std::nullopt;
  }
  // A name of its own, so two windows never play each other's file.
  const std::filesystem::path base =
      p.scratch_folder / PathFromText(u"hoshizora-practice-" + IntToText(static_cast<std::int32_t>(
                                                                   FreshSeed() & 0x7FFFFFFF)));
  if (WriteTelegramWav(p.system, p.key->fields, tone->frequency, tone->speed, p.keying, base) !=
      WavStatus::kWritten) {
    view.ShowMessage(u"再生用の音声を書き込めませんでした: " + PathText(p.scratch_folder),
                     u"エラー", MessageIcon::kError);
    return std::nullopt;
  }
  p.scratch_wav = WithSuffix(base, u".wav");
  p.playback = p.scratch_wav;
  return p.playback;
}

void Play(PracticeDialog& p, Dialog& view) {
  if (!p.key || p.player == nullptr) {
    return;
  }
  StopPlayback(p);
  const auto wav = PlaybackWav(p, view);
  if (!wav) {
    return;
  }
  p.playing = p.player->Play(*wav);
  view.SetControlText(ids::kPlayStatus, p.playing ? u"再生中…" : kCannotPlay);
  UpdateControls(p, view);
}

void Stop(PracticeDialog& p, Dialog& view) {
  if (!p.playing) {
    return;
  }
  StopPlayback(p);
  view.SetControlText(ids::kPlayStatus, u"停止しました。");
  UpdateControls(p, view);
}

// What went wrong with the marked pages, for a message; empty when nothing did.
std::u16string MarkedPagesProblem(const ImageOutcome& pages) {
  switch (pages.status) {
    case ImageStatus::kWritten:
    case ImageStatus::kNothingToDraw:
    case ImageStatus::kCancelled:
      return {};
    case ImageStatus::kNoFormTemplate:
      return u"受信用紙の元画像が見つからないため、採点用紙を作れませんでした。";
    case ImageStatus::kNoJpegEncoder:
      return u"JPEG を書き出せないため、採点用紙を作れませんでした。";
    case ImageStatus::kSaveFailed:
      break;
  }
  std::vector<std::u16string> names;
  for (const auto& path : pages.failed) {
    names.push_back(u"  " + PathText(path));
  }
  return u"採点用紙を書き込めませんでした:\n" + JoinLines(names);
}

void Score(PracticeDialog& p, Dialog& view) {
  if (!p.key) {
    return;
  }
  const CheckCopy copy = ReadCopy(view);
  const CheckResult result = ScoreCopy(p.key->fields, copy, p.scheme);
  // The marked pages go beside the key, named after it.
  const MarkedFormDestination where{
      p.folders.data_folder.empty() ? p.folders.encoder_folder : p.folders.data_folder,
      p.key->file.parent_path(), MarkedFormStem(p.key->file)};
  ImageOutcome pages;
  view.RunWithProgress(u"採点", [&](ProgressReporter& progress) {
    progress.Report(u"採点用紙を作成中", ProgressReporter::kUnknownShare);
    pages = WriteMarkedForm(p.canvas, p.system, where, p.key->fields, copy, result);
  });
  p.marked_pages = pages.written;
  p.result_text = CheckResultText(result, p.marked_pages);
  // Every scored copy joins the practice history; the score stands whatever
  // the recording does, and the learner sees where they stand now.
  const HistoryAppend recorded =
      RecordCheck(p.system, p.folders.history_file, p.key->fields, copy, result, p.key->made);
  if (recorded.result == HistoryAppend::Result::kFailed) {
    p.result_text += u"\r\n練習の記録に書き込めませんでした。";
  } else if (const HistoryRead history = ReadHistory(p.system, p.folders.history_file);
             history.status == HistoryRead::Status::kRead) {
    p.result_text += WeakestCharactersText(
        SummarizeHistory(RecordsOfKind(history.records, HistoryKind::kReception)));
  }
  ShowResult(p, view);
  UpdateControls(p, view);
  if (const std::u16string problem = MarkedPagesProblem(pages); !problem.empty()) {
    view.ShowMessage(problem, u"エラー", MessageIcon::kError);
  }
}

void ShowAnswer(PracticeDialog& p, Dialog& view) {
  if (!p.key) {
    return;
  }
  p.answer_shown = true;
  ShowResult(p, view);
  WriteTelegramFields(p.window, p.key->fields);
}

// The history as a picture beside it, opened for the learner.
void ShowHistoryChart(PracticeDialog& p, Dialog& view) {
  const HistoryRead history = ReadHistory(p.system, p.folders.history_file);
  const std::vector<HistoryRecord> receptions =
      RecordsOfKind(history.records, HistoryKind::kReception);
  if (history.status != HistoryRead::Status::kRead || receptions.empty()) {
    view.ShowMessage(u"練習の記録がまだありません。採点すると記録されます。", u"受信練習",
                     MessageIcon::kInformation);
    return;
  }
  const std::filesystem::path chart =
      p.folders.history_file.parent_path() / std::u16string(u"練習の記録.png");
  if (!SaveStatsChart(p.canvas, p.system, SummarizeHistory(receptions), chart)) {
    view.ShowMessage(u"練習の記録のグラフを書き込めませんでした: " + PathText(chart), u"エラー",
                     MessageIcon::kError);
    return;
  }
  p.system.OpenWithDesktop(chart);
}

void OpenMarkedPages(PracticeDialog& p) {
  if (!p.marked_pages.empty()) {
    p.system.OpenWithDesktop(p.marked_pages.front());
  }
}

}  // namespace

CheckCopy ReadCopy(Dialog& view) {
  CheckCopy copy;
  const auto read = [&view](int id) { return view.GetControlText(id, ids::kBodyBuffer); };
  copy.fields.body = read(ids::kCopy);
  copy.fields.count = read(ids::kCopyCount);
  copy.fields.station = read(ids::kCopyStation);
  copy.fields.number = read(ids::kCopyNumber);
  copy.fields.time = read(ids::kCopyTime);
  copy.fields.addressee = read(ids::kCopyAddressee);
  for (const std::u16string* field : {&copy.fields.count, &copy.fields.station, &copy.fields.number,
                                      &copy.fields.time, &copy.fields.addressee}) {
    copy.has_header = copy.has_header || !StripBlanks(*field).empty();
  }
  return copy;
}

void InitialisePracticeDialog(PracticeDialog& p, Dialog& view) {
  CreateFonts(p, view);
  view.SetChecked(ids::kGroupsCheck, p.options.mode == PracticeMode::kGroups);
  view.SetControlText(ids::kLength,
                      IntToText(p.options.length.min) + u"-" + IntToText(p.options.length.max));
  view.SetControlText(ids::kKeyStatus, kNoKeyYet);
  if (p.player != nullptr) {
    p.player->SetDoneHandler([&p, &view](bool played) { PracticePlaybackDone(p, view, played); });
  } else {
    view.SetControlText(ids::kPlayStatus, u"この環境では音声を再生できません。");
  }
  UpdateControls(p, view);
}

bool HandlePracticeCommand(PracticeDialog& p, Dialog& view, int command_id) {
  switch (command_id) {
    case ids::kCancelKey:
    case ids::kCloseButton:
      ClosePracticeDialog(p, view);
      return true;
    case ids::kNewPracticeButton:
      NewPracticeTelegram(p, view);
      return true;
    case ids::kChooseKeyButton:
      ChooseKey(p, view);
      return true;
    case ids::kPlayButton:
      Play(p, view);
      return true;
    case ids::kStopButton:
      Stop(p, view);
      return true;
    case ids::kScoreButton:
      Score(p, view);
      return true;
    case ids::kAnswerButton:
      ShowAnswer(p, view);
      return true;
    case ids::kOpenMarkedButton:
      OpenMarkedPages(p);
      return true;
    case ids::kChartButton:
      ShowHistoryChart(p, view);
      return true;
    default:
      return false;
  }
}

void PracticePlaybackDone(PracticeDialog& p, Dialog& view, bool played) {
  if (!p.playing || p.closed) {
    return;
  }
  p.playing = false;
  view.SetControlText(ids::kPlayStatus, played ? u"再生が終わりました。" : kCannotPlay);
  UpdateControls(p, view);
}

void EndPractice(PracticeDialog& p) {
  if (p.closed) {
    return;
  }
  p.closed = true;
  StopPlayback(p);
  if (p.player != nullptr) {
    p.player->SetDoneHandler({});
  }
  RemoveScratchWav(p);
}

void ClosePracticeDialog(PracticeDialog& p, Dialog& view) {
  if (p.closed) {
    return;
  }
  EndPractice(p);
  for (int* font : {&p.label_font, &p.copy_font, &p.result_font}) {
    if (*font != 0) {
      view.DeleteDialogFont(*font);
      *font = 0;
    }
  }
  view.DestroyWindow();
}

}  // namespace hoshizora
