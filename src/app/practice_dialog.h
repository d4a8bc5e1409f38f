#pragma once

#include <filesystem>
#include <optional>
#include <vector>

#include "app/fresh_seed.h"
#include "app/practice_key.h"
#include "app/program_folders.h"
#include "app/record_check.h"
#include "base/keying_options.h"
#include "check/check_result.h"
#include "encoding/telegram_fields.h"
#include "platform/canvas.h"
#include "platform/dialog.h"
#include "platform/player.h"
#include "platform/system.h"
#include "practice/practice_options.h"

namespace hoshizora {

// Everything the practice dialog's behaviour works through, and its state.
struct PracticeDialog {
  // The main window: its tone fields key the telegram, and its telegram
  // fields take the answer once the learner asks for it.
  Dialog& window;
  System& system;
  Canvas& canvas;
  Player* player = nullptr;  // none: nothing can be played
  ProgramFolders folders{};
  KeyingOptions keying{};
  CheckScheme scheme{};
  SeedSource seed = FreshSeed;
  // Where a WAV is written for a key that has none of its own.
  std::filesystem::path scratch_folder{};
  // The options the dialog starts with; the dialog's at the last new telegram.
  PracticeOptions options{};

  std::optional<PracticeKey> key{};
  std::filesystem::path playback{};     // the WAV 「再生」 plays, once known
  std::filesystem::path scratch_wav{};  // a WAV written here for playback: removed when done with
  bool playing = false;
  std::vector<std::filesystem::path> marked_pages{};
  std::u16string result_text{};
  bool answer_shown = false;

  int label_font = 0;
  int copy_font = 0;
  int result_font = 0;
  bool closed = false;
};

// The practice dialog's events, from the dialog `view` the window runs.
void InitialisePracticeDialog(PracticeDialog& practice, Dialog& view);
bool HandlePracticeCommand(PracticeDialog& practice, Dialog& view, int command_id);
// Esc, 「閉じる」 and the close box: the playback ends, a WAV written for it
// goes, the dialog is destroyed. Nothing else changes. Runs once.
void ClosePracticeDialog(PracticeDialog& practice, Dialog& view);
// What closing does besides destroying the window, for a dialog that went
// without it: the playback ends and a WAV written for it goes. Runs once.
void EndPractice(PracticeDialog& practice);
// The player's report that a playback ended by itself.
void PracticePlaybackDone(PracticeDialog& practice, Dialog& view, bool played);

// The copy as the dialog holds it: the body, and the header fields when the
// learner wrote any of them.
CheckCopy ReadCopy(Dialog& view);

}  // namespace hoshizora
