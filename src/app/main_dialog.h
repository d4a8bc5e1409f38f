#pragma once

#include <optional>
#include <string>

#include "app/fresh_seed.h"
#include "app/program_folders.h"
#include "base/keying_options.h"
#include "platform/canvas.h"
#include "platform/dialog.h"
#include "platform/icon_resources.h"
#include "platform/player.h"
#include "platform/recorder.h"
#include "platform/settings_store.h"
#include "platform/system.h"
#include "practice/practice_options.h"

namespace hoshizora {

// Everything the Main dialog's behaviour works through, and the fonts it owns.
struct MainDialog {
  Dialog& dialog;
  System& system;
  Canvas& canvas;
  SettingsStore& settings;
  IconResources& icons;
  std::u16string contact_address;  // the About box's, set at build time
  // Where the side files and the output go; unset, everything is beside the
  // executable, as in a portable copy.
  std::optional<ProgramFolders> folders = std::nullopt;
  // Each 「練習電報を作る」 takes a new seed from here.
  SeedSource practice_seed = FreshSeed;
  // The practice dialog's: what plays its telegrams (none: nothing plays),
  // where it writes a WAV for a key that has none (empty: the system's
  // temporary folder), and its options, kept from one opening to the next.
  Player* player = nullptr;
  std::filesystem::path scratch_folder{};
  PracticeOptions practice_options{};
  // The sending dialog's: what records the learner's keying (none: only a
  // recording file can be read) and its options.
  Recorder* recorder = nullptr;
  PracticeOptions sending_options{};

  // The audio settings: read at start, changed in their dialog, used by every
  // output run and saved on close.
  KeyingOptions keying{};

  int body_font = 0;
  int field_font = 0;
  int button_font = 0;
  int label_font = 0;
  bool closed = false;
};

// The folders the dialog's commands write into and read from.
ProgramFolders Folders(MainDialog& main);

// The About box's seven lines.
std::u16string AboutText(const std::u16string& contact_address);

// The character height of the body, field and button fonts: 22 points at the
// screen's resolution, rounded.
int DialogFontPixels(int dpi_y);

// Initialisation: fonts, settings (the keying options among them; settings
// that cannot be read are said once and left alone) and the sample telegram,
// window icons, and in a portable copy the icon's
// installation (an installed program's package brings its own desktop entry).
void InitialiseMainDialog(MainDialog& main);

// A command id from a button, the menu or the Esc key; false when it is not
// one of the dialog's commands.
bool HandleCommand(MainDialog& main, int command_id);

// The close path shared by Esc, "Cancel" and the close box: settings saved
// (tone, then keying), fonts deleted, options saved, window destroyed. Runs once.
void CloseMainDialog(MainDialog& main);

}  // namespace hoshizora
