#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "app/fresh_seed.h"
#include "app/practice_key.h"
#include "app/program_folders.h"
#include "base/keying_options.h"
#include "check/check_result.h"
#include "platform/canvas.h"
#include "platform/dialog.h"
#include "platform/recorder.h"
#include "platform/system.h"
#include "practice/practice_options.h"

namespace hoshizora {

// Everything the sending dialog's behaviour works through, and its state.
struct SendingDialog {
  // The main window: its tone fields key a telegram the dialog makes.
  Dialog& window;
  System& system;
  Canvas& canvas;
  Recorder* recorder = nullptr;  // none: nothing can be recorded
  ProgramFolders folders{};
  KeyingOptions keying{};
  CheckScheme scheme{};
  SeedSource seed = FreshSeed;
  PracticeOptions options{};

  std::optional<PracticeKey> key{};  // the telegram the learner sends
  bool recording = false;
  std::filesystem::path last_recording{};

  int label_font = 0;
  int text_font = 0;
  int result_font = 0;
  bool closed = false;
};

// The sending dialog's events, from the dialog `view` the window runs.
void InitialiseSendingDialog(SendingDialog& sending, Dialog& view);
bool HandleSendingCommand(SendingDialog& sending, Dialog& view, int command_id);
// Esc, 「閉じる」 and the close box: a recording under way is kept and read as
// 「録音停止」 would, then the dialog is destroyed. Runs once.
void CloseSendingDialog(SendingDialog& sending, Dialog& view);
// What closing does besides destroying the window, for a dialog that went
// without it: a recording under way ends, unread. Runs once.
void EndSending(SendingDialog& sending);
// The recorder's report that a recording ended by itself: what it took in is
// kept and read.
void SendingRecordingEnded(SendingDialog& sending, Dialog& view);

// Reads the keying in a WAV file's bytes and shows what was read, scored
// against the telegram when there is one (and then recorded in the practice
// history as a sending).
void ReadSentKeying(SendingDialog& sending, Dialog& view, const std::string& wav_bytes,
                    const std::filesystem::path& shown_as);

}  // namespace hoshizora
