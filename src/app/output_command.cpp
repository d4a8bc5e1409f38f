#include "app/output_command.h"

#include <vector>

#include "app/control_ids.h"
#include "app/dialog_fields.h"
#include "app/output_messages.h"
#include "app/progress_window_sink.h"
#include "platform/paths.h"

namespace hoshizora {

OutputReport RunOutputCommand(Dialog& dialog, System& system, Canvas& canvas,
                              const KeyingOptions& keying, const ProgramFolders& folders) {
  const auto frequency =
      ParseFrequency(dialog.GetControlText(ids::kFrequency, ids::kToneBufferOutput));
  const auto speed = ParseSpeed(dialog.GetControlText(ids::kSpeed, ids::kToneBufferOutput));
  if (!frequency || !speed || folders.output_root_window.empty()) {
    const OutputReport refused = RefusedReport(!frequency ? FrequencyRefused()
                                               : !speed   ? SpeedRefused()
                                                          : kNoOutputFolder);
    dialog.ShowMessage(refused.message, refused.caption, refused.icon);
    return refused;
  }
  const bool installed = folders.mode == ProgramMode::kInstalled;

  OutputRequest request;
  request.fields = ReadWholeTelegramFields(dialog);
  request.frequency = *frequency;
  request.speed = *speed;
  request.keying = keying;
  request.open_audio = dialog.IsChecked(ids::kOpenAudio);
  request.open_listing = dialog.IsChecked(ids::kOpenListing);
  request.open_folder = dialog.IsChecked(ids::kOpenFolder);
  request.output_root = folders.output_root_window;
  request.program_folder = folders.encoder_folder;
  request.data_folder = folders.data_folder;
  if (installed) {
    // A failure here shows as the run's own: the folder cannot be made.
    CreateFolders(system, request.output_root);
  }

  OutputReport report;
  std::vector<ShownMessage> messages;
  dialog.RunWithProgress(u"電報出力", [&](ProgressReporter& progress) {
    ProgressWindowSink sink(progress);
    report = RunOutput(request, system, canvas, sink);
    messages = sink.TakeMessages();
  });
  if (installed && !report.folder.empty()) {
    report.message += u"\n\n出力先: " + PathText(report.folder);
  }
  for (const ShownMessage& m : messages) {
    dialog.ShowMessage(m.text, m.caption, m.icon);
  }
  dialog.ShowMessage(report.message, report.caption, report.icon);
  return report;
}

}  // namespace hoshizora
