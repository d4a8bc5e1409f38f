#include "app/practice_key.h"

#include <vector>

#include "app/control_ids.h"
#include "app/message_text.h"
#include "app/practice_output.h"
#include "app/progress_window_sink.h"
#include "app/telegram_commands.h"
#include "app/tone_settings.h"
#include "encoding/text_utils.h"
#include "platform/paths.h"
#include "practice/practice_telegram.h"

namespace hoshizora {

std::optional<WindowTone> ReadWindowTone(Dialog& window, Dialog& view) {
  const auto frequency =
      ParseFrequency(window.GetControlText(ids::kFrequency, ids::kToneBufferOutput));
  const auto speed = ParseSpeed(window.GetControlText(ids::kSpeed, ids::kToneBufferOutput));
  if (!frequency || !speed) {
    view.ShowMessage(!frequency ? FrequencyRefused() : SpeedRefused(), u"エラー",
                     MessageIcon::kError);
    return std::nullopt;
  }
  return WindowTone{*frequency, *speed};
}

std::optional<PracticeOptions> ReadPracticeOptions(Dialog& view, const PracticeOptions& current) {
  PracticeOptions options = current;
  options.mode = view.IsChecked(ids::kGroupsCheck) ? PracticeMode::kGroups : PracticeMode::kWords;
  const LengthRangeParse length =
      ParseLengthRange(StripBlanks(view.GetControlText(ids::kLength, ids::kShortFieldBuffer)));
  std::optional<PracticeOptionError> error = length.error;
  if (!error) {
    options.length = length.range;
    error = ValidatePracticeOptions(options);
  }
  if (error) {
    view.ShowMessage(error->message, u"エラー", MessageIcon::kError);
    return std::nullopt;
  }
  return options;
}

std::optional<PracticeKey> MakePracticeKey(const KeyMaker& maker, Dialog& view,
                                           const PracticeOptions& drawn, const WindowTone& tone) {
  if (maker.folders.output_root_window.empty()) {
    view.ShowMessage(u"ホームフォルダが分からないため、出力先のフォルダを決められません。",
                     u"エラー", MessageIcon::kError);
    return std::nullopt;
  }
  OutputRequest request;
  const std::uint64_t seed = maker.seed();
  request.fields = MakePracticeTelegram(drawn, seed);
  request.frequency = tone.frequency;
  request.speed = tone.speed;
  request.keying = maker.keying;
  // Nothing is opened: the listing and the form pages show the answer.
  request.output_root = maker.folders.output_root_window;
  request.program_folder = maker.folders.encoder_folder;
  request.data_folder = maker.folders.data_folder;
  if (maker.folders.mode == ProgramMode::kInstalled) {
    CreateFolders(maker.system, request.output_root);
  }

  PracticeOutput out;
  std::vector<ShownMessage> messages;
  view.RunWithProgress(u"練習電報", [&](ProgressReporter& progress) {
    ProgressWindowSink sink(progress);
    out = RunPracticeOutput(request, maker.system, maker.canvas, sink);
    messages = sink.TakeMessages();
  });
  for (const ShownMessage& m : messages) {
    view.ShowMessage(m.text, m.caption, m.icon);
  }
  if (!out.report.problems.empty()) {
    view.ShowMessage(
        u"練習電報の出力の一部に失敗しました。\n\n失敗:\n" + JoinLines(out.report.problems),
        u"エラー", MessageIcon::kError);
  }
  if (out.key.empty()) {
    return std::nullopt;
  }
  const KeyingOptions& keying = maker.keying;
  const CheckedTelegram made{
      PathText(out.key.filename()), seed, tone.speed,
      keying.effective_cpm > 0 ? std::optional<int>(keying.effective_cpm) : std::nullopt};
  return PracticeKey{request.fields, out.key, made, PathText(out.report.folder)};
}

std::optional<PracticeKey> ChoosePracticeKey(Dialog& view, System& system, std::u16string title) {
  auto chosen = ChooseTelegramFile(view, system, std::move(title));
  if (!chosen) {
    return std::nullopt;
  }
  CheckedTelegram named;
  named.key_name = PathText(chosen->path.filename());
  const std::u16string shown = PathText(chosen->path);
  return PracticeKey{std::move(chosen->fields), std::move(chosen->path), named, shown};
}

}  // namespace hoshizora
