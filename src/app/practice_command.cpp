#include "app/practice_command.h"

#include <system_error>

#include "app/practice_dialog.h"
#include "app/practice_dialog_template.h"
#include "check/check_scheme.h"

namespace hoshizora {
namespace {

class PracticeEvents : public DialogEvents {
 public:
  explicit PracticeEvents(PracticeDialog& practice) : practice_(practice) {}
  void Initialise(Dialog& dialog) override { InitialisePracticeDialog(practice_, dialog); }
  bool Command(Dialog& dialog, int command_id) override {
    return HandlePracticeCommand(practice_, dialog, command_id);
  }
  void Close(Dialog& dialog) override { ClosePracticeDialog(practice_, dialog); }

 private:
  PracticeDialog& practice_;
};

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

}  // namespace hoshizora
