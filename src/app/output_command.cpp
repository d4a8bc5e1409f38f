#include "app/output_command.h"

#include <mutex>
#include <thread>

#include "app/settings.h"
#include "audio/telegram_audio.h"
#include "encoding/decimal_parse.h"
#include "encoding/encode_telegram.h"
#include "encoding/group_marks.h"
#include "encoding/text_utils.h"
#include "imaging/form_images.h"
#include "imaging/text_listing.h"
#include "platform/control_ids.h"
#include "platform/paths.h"
#include "telegram_file/dialog_fields.h"

namespace hoshizora {
namespace {

constexpr std::u16string_view kFolderPrefix = u"和文電報_";
constexpr int kMaxFolderTries = 1000;

// Messages the writers show while the work runs away from the dialog's
// thread; they are shown, in order, once the work is done.
class DeferredMessages : public MessageOwner {
 public:
  void ShowMessage(std::u16string_view text, std::u16string_view caption,
                   MessageIcon icon) override {
    std::lock_guard lock(mutex_);
    messages_.push_back({std::u16string(text), std::u16string(caption), icon});
  }
  void ShowAll(MessageOwner& owner) {
    for (const auto& m : messages_) {
      owner.ShowMessage(m.text, m.caption, m.icon);
    }
  }

 private:
  struct Message {
    std::u16string text;
    std::u16string caption;
    MessageIcon icon;
  };
  std::mutex mutex_;
  std::vector<Message> messages_;
};

bool IsBlank(char16_t c) {
  return c == u' ' || (c >= u'\t' && c <= u'\r') || c == u'\u3000';
}

std::u16string ComposeTelegram(const TelegramFields& f, const std::u16string& station,
                               const std::u16string& number) {
  return f.count + u"\n" + station + u"\n" + number + u"\n" + f.time + u"\n" + f.addressee + u"\n" +
         f.body;
}

// Makes "和文電報_" + timestamp, or the same with "_2", "_3", … when that
// exists already. Gives the folder's name, or nothing when none can be made.
std::optional<std::u16string> MakeOutputFolder(System& system, const std::filesystem::path& root,
                                               const std::u16string& timestamp) {
  const std::u16string stem = std::u16string(kFolderPrefix) + timestamp;
  for (int n = 1; n <= kMaxFolderTries; ++n) {
    const std::u16string name = n == 1 ? stem : stem + u"_" + IntToText(n);
    const std::filesystem::path path = root / PathFromText(name);
    if (system.PathExists(path)) {
      continue;
    }
    if (system.CreateFolder(path)) {
      return name;
    }
    return std::nullopt;
  }
  return std::nullopt;
}

std::u16string AudioProblem(const AudioOutcome& audio) {
  using Kind = AudioOutcome::Kind;
  switch (audio.kind) {
    case Kind::kMp3Written:
    case Kind::kWavOnlyNoEncoder:
      return {};
    case Kind::kWavOnlyEncoderFailed:
      if (audio.encoder_exit_code == kEncoderNotStarted) {
        return u"音声: MP3エンコーダ(lame)を起動できませんでした。WAVファイルを残しました。";
      }
      if (audio.encoder_exit_code == kEncoderStatusLost) {
        return u"音声: "
               u"MP3エンコーダ(lame)の終了状態を確かめられませんでした。WAVファイルを残しました。";
      }
      return u"音声: MP3への変換に失敗しました(終了コード " + IntToText(audio.encoder_exit_code) +
             u")。WAVファイルを残しました。";
    case Kind::kCancelled:
      return u"音声: MP3への変換を中止しました。WAVファイルを残しました。";
    case Kind::kFailed:
      if (audio.wav_status == WavStatus::kTooLong) {
        return u"音声: 電報が長すぎてWAVファイルに収まりません。";
      }
      return u"音声: WAVファイルを書き込めませんでした。";
  }
  return {};
}

std::u16string ListingProblem(const ImageOutcome& listing, bool cancelled) {
  if (cancelled) {
    return u"テキスト画像: 中止したため作成しませんでした。";
  }
  switch (listing.status) {
    case ImageStatus::kWritten:
    case ImageStatus::kNothingToDraw:
      return {};
    case ImageStatus::kNoJpegEncoder:
      return u"テキスト画像: JPEGエンコーダが見つかりませんでした。";
    default:
      return u"テキスト画像: JPEGファイルを保存できませんでした。";
  }
}

std::u16string FormProblem(const ImageOutcome& forms, int pages) {
  switch (forms.status) {
    case ImageStatus::kWritten:
    case ImageStatus::kNothingToDraw:
      return {};
    case ImageStatus::kNoJpegEncoder:
      return u"受信用紙: JPEGエンコーダが見つかりませんでした。";
    case ImageStatus::kNoFormTemplate:
      return u"受信用紙: テンプレート画像(和文電報受信用紙.jpg)が見つかりませんでした。";
    case ImageStatus::kSaveFailed:
      return u"受信用紙: " + IntToText(pages) + u"枚中" +
             IntToText(static_cast<std::int32_t>(forms.failed.size())) +
             u"枚を保存できませんでした。";
    case ImageStatus::kCancelled:
      return u"受信用紙: 中止したため、" + IntToText(pages) + u"枚中" +
             IntToText(static_cast<std::int32_t>(forms.written.size())) + u"枚だけ作成しました。";
  }
  return {};
}

std::u16string UnkeyedNote(const std::vector<std::u16string>& unkeyed) {
  std::u16string list;
  for (const auto& c : unkeyed) {
    list += (list.empty() ? u"" : u" ") + c;
  }
  return u"モールス符号がないため音声に含まれない文字: " + list;
}

}  // namespace

std::u16string DecorateStation(const std::u16string& station) {
  const std::u16string s = StripBlanks(StripCommas(station));
  return !s.empty() && IsKanjiNumber(s) ? u"ハツ" + s : station;
}

std::u16string DecorateNumber(const std::u16string& number) {
  const std::u16string n = KeepKanjiNumerals(number);
  return n.empty() ? number : u"タナ" + n;
}

std::u16string ComposeDisplayTelegram(const TelegramFields& f) {
  return ComposeTelegram(f, f.station, f.number);
}

std::u16string ComposeKeyedTelegram(const TelegramFields& f) {
  return ComposeTelegram(f, DecorateStation(f.station), DecorateNumber(f.number));
}

std::optional<int> ParseToneSetting(std::u16string_view text, int minimum, int maximum) {
  while (!text.empty() && IsBlank(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && IsBlank(text.back())) {
    text.remove_suffix(1);
  }
  std::u16string_view digits = text;
  if (!digits.empty() && (digits.front() == u'+' || digits.front() == u'-')) {
    digits.remove_prefix(1);
  }
  if (digits.empty()) {
    return std::nullopt;
  }
  // Every remaining character must be a digit: "1,500" or "12abc" is no number.
  for (char16_t c : digits) {
    if (!IsDecimalDigit(c)) {
      return std::nullopt;
    }
  }
  const int value = ParseDecimal(text);
  if (value < minimum || value > maximum) {
    return std::nullopt;
  }
  return value;
}

OutputReport RunOutputCommand(Dialog& dialog, System& system, Canvas& canvas,
                              const OutputOptions& options) {
  OutputReport report;

  // Tone settings first: a run with nonsense settings must not make a folder.
  const auto frequency = ParseToneSetting(
      dialog.GetControlText(ids::kFrequency, ids::kToneBufferOutput), kMinFrequency, kMaxFrequency);
  const auto speed = ParseToneSetting(dialog.GetControlText(ids::kSpeed, ids::kToneBufferOutput),
                                      kMinSpeed, kMaxSpeed);
  if (!frequency || !speed) {
    report.message = !frequency ? u"周波数(Hz)は100から2000までの数字で入力してください。"
                                : u"速度(CPM)は20から200までの数字で入力してください。";
    dialog.ShowMessage(report.message, u"エラー", MessageIcon::kError);
    return report;
  }

  const TelegramFields fields = ReadTelegramFields(dialog, report.notes);
  const std::u16string display = InsertGroupMarks(ComposeDisplayTelegram(fields));
  const std::u16string keyed = InsertGroupMarks(ComposeKeyedTelegram(fields));
  const std::u16string code = EncodeTelegram(keyed);
  if (const auto unkeyed = ListUnkeyedCharacters(keyed); !unkeyed.empty()) {
    report.notes.push_back(UnkeyedNote(unkeyed));
  }

  const std::filesystem::path executable_folder = ExecutableFolder(system);
  const std::filesystem::path root =
      options.output_root.empty() ? executable_folder : options.output_root;
  const std::u16string timestamp = TimestampText(system.LocalNow());
  const auto folder_name = MakeOutputFolder(system, root, timestamp);
  report.result = OutputReport::Result::kIncomplete;
  if (!folder_name) {
    report.problems.push_back(u"出力フォルダを作成できませんでした: " + PathText(root));
  } else {
    report.folder = root / PathFromText(*folder_name);
    const std::filesystem::path base_path = report.folder / PathFromText(*folder_name);

    DeferredMessages messages;
    AudioOutcome audio;
    ImageOutcome listing;
    ImageOutcome forms;
    bool listing_cancelled = false;
    int pages = 0;
    dialog.RunWithProgress(u"電報出力", [&](ProgressReporter& progress) {
      const std::atomic<bool>& cancel = progress.CancelFlag();
      std::atomic<bool> audio_done{false};
      // The encoder is a separate process: the pictures are drawn meanwhile,
      // so the run takes about as long as the slower of the two.
      std::thread audio_thread([&] {
        audio = WriteTelegramAudio(system, *frequency, code, *speed, base_path, &cancel);
        audio_done = true;
      });
      progress.Report(u"テキスト画像を作成中", 0.0);
      if (cancel) {
        listing_cancelled = true;
      } else {
        listing = WriteTextListingImage(canvas, messages, display, *frequency, *speed, base_path);
      }
      forms = WriteFormImages(
          canvas, messages, {executable_folder, report.folder, *folder_name}, fields,
          [&](int page, int total) {
            pages = total;
            progress.Report(u"受信用紙 " + IntToText(page) + u"/" + IntToText(total) + u" を作成中",
                            static_cast<double>(page - 1) / total);
            return !cancel.load();
          });
      if (!audio_done) {
        progress.Report(u"音声を書き込み、MP3に変換中", ProgressReporter::kUnknownShare);
      }
      audio_thread.join();
    });
    messages.ShowAll(dialog);

    if (!audio.audio_path.empty()) {
      report.written.push_back(audio.audio_path);
    }
    report.written.insert(report.written.end(), listing.written.begin(), listing.written.end());
    report.written.insert(report.written.end(), forms.written.begin(), forms.written.end());
    for (const std::u16string& problem :
         {AudioProblem(audio), ListingProblem(listing, listing_cancelled),
          FormProblem(forms, pages)}) {
      if (!problem.empty()) {
        report.problems.push_back(problem);
      }
    }
    if (forms.status == ImageStatus::kNothingToDraw && pages == 0) {
      report.notes.push_back(u"本文が[ホレ]と[ラタ]の間にないため、受信用紙は作成しませんでした。");
    }
    if (report.problems.empty()) {
      report.result = OutputReport::Result::kComplete;
    }

    // Opens, in the order audio, listing, folder.
    if (dialog.IsChecked(ids::kOpenAudio)) {
      const auto mp3 = WithSuffix(base_path, u".mp3");
      const auto wav = WithSuffix(base_path, u".wav");
      if (system.PathExists(mp3)) {
        system.OpenWithDesktop(mp3);
      } else if (system.PathExists(wav)) {
        system.OpenWithDesktop(wav);
      }
    }
    const auto listing_path = WithSuffix(base_path, u".jpg");
    if (dialog.IsChecked(ids::kOpenListing) && system.PathExists(listing_path)) {
      system.OpenWithDesktop(listing_path);
    }
    if (dialog.IsChecked(ids::kOpenFolder) && system.PathExists(report.folder)) {
      system.OpenWithDesktop(report.folder);
    }
  }

  std::u16string message;
  if (report.result == OutputReport::Result::kComplete) {
    message = u"出力が完了しました。";
  } else {
    message = u"出力の一部に失敗しました。\n\n失敗:\n" + JoinLines(report.problems);
    if (!report.written.empty()) {
      std::vector<std::u16string> names;
      for (const auto& path : report.written) {
        names.push_back(u"  " + PathText(path.filename()));
      }
      message += u"\n\n作成したファイル:\n" + JoinLines(names);
    }
  }
  if (!report.notes.empty()) {
    message += u"\n\n" + JoinLines(report.notes);
  }
  report.message = message;
  dialog.ShowMessage(
      message, report.result == OutputReport::Result::kComplete ? u"完了" : u"エラー",
      report.result == OutputReport::Result::kComplete ? MessageIcon::kNone : MessageIcon::kError);
  return report;
}

}  // namespace hoshizora
