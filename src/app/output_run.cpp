#include "app/output_run.h"

#include <atomic>
#include <exception>
#include <optional>
#include <thread>

#include "app/compose_telegram.h"
#include "app/field_buffers.h"
#include "app/keying_settings.h"
#include "app/message_text.h"
#include "app/output_folder.h"
#include "app/output_messages.h"
#include "audio/telegram_audio.h"
#include "encoding/encode_telegram.h"
#include "encoding/group_marks.h"
#include "encoding/text_utils.h"
#include "imaging/form_images.h"
#include "imaging/text_listing.h"
#include "platform/paths.h"

namespace hoshizora {
namespace {

// What the writers of one run gave back.
struct WriterOutcomes {
  AudioOutcome audio;
  ImageOutcome listing;
  ImageOutcome forms;
  bool listing_cancelled = false;
  int pages = 0;
};

// The texts one run writes: the fields as used, the Marked display telegram
// and the Code text of the keyed one.
struct RunTexts {
  TelegramFields fields;
  std::u16string display;
  std::u16string code;
  KeyingOptions keying;  // bounded against the speed the run keys at
};

WriterOutcomes RunWriters(const OutputRequest& request, const RunTexts& texts, System& system,
                          Canvas& canvas, OutputSink& sink, const std::filesystem::path& folder,
                          const std::u16string& name) {
  const TelegramFields& fields = texts.fields;
  const std::u16string& display = texts.display;
  const std::u16string& code = texts.code;
  const std::filesystem::path base_path = folder / PathFromText(name);
  const CancelFlag& cancel = sink.Cancel();

  WriterOutcomes out;
  std::atomic<bool> audio_done{false};
  std::exception_ptr audio_failure;
  // The encoder is a separate process: the pictures are drawn meanwhile, so
  // the run takes about as long as the slower of the two. A jthread is
  // joined on every way out, a picture writer's exception included; what the
  // audio throws comes back here, where the caller's guard sees it.
  std::jthread audio_thread([&] {
    try {
      const AudioJob job{code,      request.frequency,      request.speed,
                         base_path, request.program_folder, texts.keying};
      out.audio = WriteTelegramAudio(system, job, &cancel);
    } catch (...) {
      audio_failure = std::current_exception();
    }
    audio_done = true;
  });
  sink.Report(u"テキスト画像を作成中", 0.0);
  if (cancel) {
    out.listing_cancelled = true;
  } else {
    out.listing = WriteTextListingImage(canvas, system, display, request.frequency, request.speed,
                                        base_path, texts.keying);
  }
  const std::filesystem::path& data_folder =
      request.data_folder.empty() ? request.program_folder : request.data_folder;
  out.forms = WriteFormImages(
      canvas, system, {data_folder, folder, name}, fields, [&](int page, int total) {
        out.pages = total;
        sink.Report(u"受信用紙 " + IntToText(page) + u"/" + IntToText(total) + u" を作成中",
                    static_cast<double>(page - 1) / total);
        return !cancel.load();
      });
  if (!audio_done) {
    sink.Report(u"音声を書き込み、MP3に変換中", ProgressReporter::kUnknownShare);
  }
  audio_thread.join();
  if (audio_failure) {
    std::rethrow_exception(audio_failure);
  }
  return out;
}

void OpenResults(const OutputRequest& request, System& system, const std::filesystem::path& folder,
                 const std::filesystem::path& base_path) {
  // In the order audio, listing, folder.
  if (request.open_audio) {
    const auto mp3 = WithSuffix(base_path, u".mp3");
    const auto wav = WithSuffix(base_path, u".wav");
    if (system.PathExists(mp3)) {
      system.OpenWithDesktop(mp3);
    } else if (system.PathExists(wav)) {
      system.OpenWithDesktop(wav);
    }
  }
  const auto listing = WithSuffix(base_path, u".jpg");
  if (request.open_listing && system.PathExists(listing)) {
    system.OpenWithDesktop(listing);
  }
  if (request.open_folder && system.PathExists(folder)) {
    system.OpenWithDesktop(folder);
  }
}

void CloseReport(OutputReport& report) {
  const bool complete = report.result == OutputReport::Result::kComplete;
  std::u16string message;
  if (complete) {
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
  report.message = std::move(message);
  report.caption = complete ? u"完了" : u"エラー";
  report.icon = complete ? MessageIcon::kNone : MessageIcon::kError;
}

}  // namespace

OutputReport RefusedReport(std::u16string_view reason) {
  OutputReport report;
  report.message = std::u16string(reason);
  report.caption = u"エラー";
  report.icon = MessageIcon::kError;
  return report;
}

OutputReport RunOutput(const OutputRequest& request, System& system, Canvas& canvas,
                       OutputSink& sink) {
  // A run with nonsense settings must not make a folder.
  if (request.frequency < kMinFrequency || request.frequency > kMaxFrequency) {
    return RefusedReport(FrequencyRefused());
  }
  if (request.speed < kMinSpeed || request.speed > kMaxSpeed) {
    return RefusedReport(SpeedRefused());
  }

  OutputReport report;
  RunTexts texts;
  // A cut field is never keyed or drawn whole: a failure of the run, not a note.
  texts.fields = CutToFieldBuffers(request.fields, report.problems);
  texts.display = InsertGroupMarks(ComposeDisplayTelegram(texts.fields));
  const std::u16string keyed = InsertGroupMarks(ComposeKeyedTelegram(texts.fields));
  texts.code = EncodeTelegram(keyed);
  texts.keying = BoundKeying(request.keying, request.speed);
  if (const auto unkeyed = ListUnkeyedCharacters(keyed); !unkeyed.empty()) {
    report.notes.push_back(UnkeyedNote(unkeyed));
  }

  const std::filesystem::path root =
      request.output_root.empty() ? request.program_folder : request.output_root;
  const OutputFolder made = MakeOutputFolder(system, root, TimestampText(system.LocalNow()));
  report.result = OutputReport::Result::kIncomplete;
  if (made.made != FolderMade::kMade) {
    report.problems.push_back(FolderProblem(root / PathFromText(made.name), made.made));
    CloseReport(report);
    return report;
  }
  report.folder = root / PathFromText(made.name);
  const WriterOutcomes out =
      RunWriters(request, texts, system, canvas, sink, report.folder, made.name);
  for (const ShownMessage& m : PictureMessages(out.listing, out.forms)) {
    sink.ShowMessage(m.text, m.caption, m.icon);
  }

  if (!out.audio.audio_path.empty()) {
    report.written.push_back(out.audio.audio_path);
  }
  report.written.insert(report.written.end(), out.listing.written.begin(),
                        out.listing.written.end());
  report.written.insert(report.written.end(), out.forms.written.begin(), out.forms.written.end());
  for (const std::u16string& problem :
       {AudioProblem(out.audio), ListingProblem(out.listing, out.listing_cancelled),
        FormProblem(out.forms, out.pages), GlyphProblem(out.listing, out.forms)}) {
    if (!problem.empty()) {
      report.problems.push_back(problem);
    }
  }
  if (out.forms.status == ImageStatus::kNothingToDraw && out.pages == 0) {
    report.notes.push_back(u"本文が[ホレ]と[ラタ]の間にないため、受信用紙は作成しませんでした。");
  }
  if (report.problems.empty()) {
    report.result = OutputReport::Result::kComplete;
  }
  OpenResults(request, system, report.folder, report.folder / PathFromText(made.name));
  CloseReport(report);
  return report;
}

}  // namespace hoshizora
