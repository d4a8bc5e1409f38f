#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "app/fresh_seed.h"
#include "app/program_folders.h"
#include "app/record_check.h"
#include "base/keying_options.h"
#include "encoding/telegram_fields.h"
#include "platform/canvas.h"
#include "platform/dialog.h"
#include "platform/system.h"
#include "practice/practice_options.h"

namespace hoshizora {

// The telegram a practice dialog works with: the answer key of a reception,
// the text of a sending.
struct PracticeKey {
  TelegramFields fields;
  std::filesystem::path file;  // the telegram file: the practice run's, or one chosen
  // What the practice history keeps of a telegram the dialog made; a chosen
  // file tells none of it.
  CheckedTelegram made{};
  std::u16string shown;  // how the dialog names it: the run's folder, or the file chosen
};

struct WindowTone {
  int frequency = 0;
  int speed = 0;
};

// The main window's tone fields, as the output command reads them; a
// refusal is said in its words in `view`.
std::optional<WindowTone> ReadWindowTone(Dialog& window, Dialog& view);

// The options as a practice dialog shows them (五字群, 長さ), over `current`;
// a refusal says why.
std::optional<PracticeOptions> ReadPracticeOptions(Dialog& view, const PracticeOptions& current);

// What making a practice telegram needs from the window that asks for it.
struct KeyMaker {
  System& system;
  Canvas& canvas;
  const ProgramFolders& folders;
  const KeyingOptions& keying;
  SeedSource seed;
};

// Draws a practice telegram from `drawn` and writes its folder as an output
// run does, nothing opened, under a progress window captioned 「練習電報」;
// every message is shown in `view`. Nothing when no telegram file came of it.
std::optional<PracticeKey> MakePracticeKey(const KeyMaker& maker, Dialog& view,
                                           const PracticeOptions& drawn, const WindowTone& tone);

// A telegram file the learner chooses, under the title given; nothing when
// cancelled or unreadable (said).
std::optional<PracticeKey> ChoosePracticeKey(Dialog& view, System& system, std::u16string title);

}  // namespace hoshizora
