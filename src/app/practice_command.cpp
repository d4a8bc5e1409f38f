#include "app/practice_command.h"

#include <system_error>

#include "app/practice_dialog.h"
#include "app/practice_dialog_template.h"
#include "app/sending_dialog.h"
#include "app/sending_dialog_template.h"
#include "check/check_scheme.h"

namespace hoshizora {
namespace {

// A dialog's behaviour as the window's events reach it.
template <typename State, auto kInitialise, auto kCommand, auto kClose>
class Events : public DialogEvents {
 public:
  explicit Events(State& state) : state_(state) {}
  void Initialise(Dialog& dialog) override { kInitialise(state_, dialog); }
  bool Command(Dialog& dialog, int command_id) override {
    return kCommand(state_, dialog, command_id);
  }
  void Close(Dialog& dialog) override { kClose(state_, dialog); }

 private:
  State& state_;
};

using PracticeEvents =
    Events<PracticeDialog, InitialisePracticeDialog, HandlePracticeCommand, ClosePracticeDialog>;
using SendingEvents =
    Events<SendingDialog, InitialiseSendingDialog, HandleSendingCommand, CloseSendingDialog>;

std::filesystem::path ScratchFolder(const MainDialog& m) {
  if (!m.scratch_folder.empty()) {
    return m.scratch_folder;
  }
  std::error_code error;
  return std::filesystem::temp_directory_path(error);
}

}  // namespace

void RunPracticeDialog(MainDialog& m) {
  PracticeDialog practice{m.dialog, m.system, m.canvas};
  practice.player = m.player;
  practice.folders = Folders(m);
  practice.keying = m.keying;
  practice.scheme = ReadCheckScheme(m.settings);
  practice.seed = m.practice_seed;
  practice.scratch_folder = ScratchFolder(m);
  practice.options = m.practice_options;
  PracticeEvents events(practice);
  m.dialog.RunModalDialog(PracticeDialogTemplate(), events);
  // The window may have gone without the behaviour's close (torn down from
  // outside): the playback and its file must not outlive it.
  EndPractice(practice);
  m.practice_options = practice.options;
}

void RunSendingDialog(MainDialog& m) {
  SendingDialog sending{m.dialog, m.system, m.canvas};
  sending.recorder = m.recorder;
  sending.folders = Folders(m);
  sending.keying = m.keying;
  sending.scheme = ReadCheckScheme(m.settings);
  sending.seed = m.practice_seed;
  sending.options = m.sending_options;
  SendingEvents events(sending);
  m.dialog.RunModalDialog(SendingDialogTemplate(), events);
  // Torn down from outside, the window took no close: the recording must end.
  EndSending(sending);
  m.sending_options = sending.options;
}

}  // namespace hoshizora
