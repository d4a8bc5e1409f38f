#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "base/keying_options.h"
#include "platform/dialog_template.h"
#include "platform/message_icon.h"
#include "platform/progress_reporter.h"

namespace hoshizora {

// Far above any icon the program ships; a larger app.ico is neither read for
// the window nor installed, so a crafted file costs no memory at start.
inline constexpr std::uintmax_t kLargestIconFile = 16 * 1024 * 1024;

// A font for the dialog's controls: a design face name, a character height in
// pixels and a weight (400 normal, 700 bold, 900 heavy).
struct DialogFont {
  std::u16string face;
  int pixel_height = 0;
  int weight = 400;
};

// The common Open and Save dialogs' settings.
struct FileDialogSettings {
  std::u16string title;
  std::u16string filter_name;     // "テキストファイル (*.txt)"
  std::u16string filter_pattern;  // "*.txt"
  std::u16string initial_name;    // "telegraph.txt"
  bool confirm_overwrite = false;
  bool must_exist = false;
};

class Dialog;

// A second dialog's behaviour as the window that runs it sees it: the events
// it forwards, each with the dialog they concern.
class DialogEvents {
 public:
  virtual ~DialogEvents() = default;
  // Before the dialog is shown.
  virtual void Initialise(Dialog& dialog) = 0;
  // A button or Esc (the template's cancel command); false when the id is
  // not one of the dialog's commands.
  virtual bool Command(Dialog& dialog, int command_id) = 0;
  // The close box.
  virtual void Close(Dialog& dialog) = 0;
};

// A dialog as its behaviour sees it: what only a window has.
class Dialog {
 public:
  virtual ~Dialog() = default;

  // A modal message box owned by the dialog, with an OK button.
  virtual void ShowMessage(std::u16string_view text, std::u16string_view caption,
                           MessageIcon icon) = 0;
  // The control's text cut to buffer_size - 1 characters, as a read into a
  // buffer of that size would give it.
  virtual std::u16string GetControlText(int id, int buffer_size) = 0;
  virtual void SetControlText(int id, std::u16string_view text) = 0;
  virtual bool HasControl(int id) = 0;
  // A disabled control shows greyed and takes no input.
  virtual void EnableControl(int id, bool enabled) = 0;
  // Check boxes; a control that does not exist reads as cleared.
  virtual bool IsChecked(int id) = 0;
  virtual void SetChecked(int id, bool checked) = 0;
  // Binds a spin control to its edit with a range and position.
  virtual void BindSpin(int spin_id, int buddy_id, int minimum, int maximum, int position) = 0;

  // Dialog fonts: created, assigned to controls and deleted by the commands.
  virtual int ScreenDpiY() = 0;
  virtual int CreateDialogFont(const DialogFont& font) = 0;  // a handle, 0 on failure
  virtual void SetControlFont(int id, int font_handle) = 0;
  virtual void DeleteDialogFont(int font_handle) = 0;
  // The window's icons from an .ico file's bytes; nothing changes when they
  // hold no icon.
  virtual void SetWindowIcons(std::string_view icon_file) = 0;

  // The file name chosen, or nothing when the user cancelled.
  virtual std::optional<std::filesystem::path> AskSaveFileName(
      const FileDialogSettings& settings) = 0;
  virtual std::optional<std::filesystem::path> AskOpenFileName(
      const FileDialogSettings& settings) = 0;

  // The small modal dialog of the audio settings, 「音声の設定」: the rise
  // time in an edit with a spin bound to 0..kMaxRiseMs and the effective
  // speed in one bound to kMinEffectiveCpm..max_effective, starting at the
  // values `shown`, with OK and Cancel. On OK, the numbers as typed (a field
  // that holds no number gives its shown value), unbounded; nothing on Cancel.
  virtual std::optional<KeyingOptions> AskKeyingOptions(const KeyingOptions& shown,
                                                        int max_effective) = 0;

  // Runs `work` (possibly on another thread) while a modal progress window
  // shows what it reports and keeps the dialog painted; returns when the work
  // is done. No other command can start meanwhile.
  virtual void RunWithProgress(std::u16string_view caption,
                               const std::function<void(ProgressReporter&)>& work) = 0;

  // Builds the dialog `layout` describes, owned by this one, and runs it
  // modally: this dialog takes no input until it is gone. Its events go to
  // `events`; returns once the dialog has been destroyed (its behaviour calls
  // DestroyWindow on the dialog it was given).
  virtual void RunModalDialog(const DialogTemplate& layout, DialogEvents& events) = 0;

  virtual void DestroyWindow() = 0;
};

}  // namespace hoshizora
