#pragma once

#include <filesystem>
#include <functional>
#include <map>

#include "platform/dialog.h"
#include "platform/dialog_template.h"

// <windows.h> stays out of this header: its macros (CreateFile, LoadBitmap,
// ...) would rename the ports' members in every file that includes it first.
struct HWND__;
struct HFONT__;

namespace hoshizora {

// A dialog made from its resource template: the Main dialog, modeless, and
// the dialogs it runs modally. It forwards initialisation, commands and the
// close box to the dialog's behaviour and implements the Dialog port for it
// over the real controls.
class Win32MainWindow : public Dialog {
 public:
  using CommandHandler = std::function<bool(int command_id)>;

  // The template's default button and Esc command; the controls themselves
  // come from the resource script.
  explicit Win32MainWindow(const DialogTemplate& layout) : layout_(layout) {}
  Win32MainWindow(const Win32MainWindow&) = delete;
  Win32MainWindow& operator=(const Win32MainWindow&) = delete;
  ~Win32MainWindow() override;

  // Called while the dialog initialises, before it is shown.
  void SetInitHandler(std::function<void()> handler) { init_handler_ = std::move(handler); }
  // Buttons, the menu item and Esc (id 2); true when the id was handled.
  void SetCommandHandler(CommandHandler handler) { command_handler_ = std::move(handler); }
  // The close box.
  void SetCloseHandler(std::function<void()> handler) { close_handler_ = std::move(handler); }
  // The window is gone; the program posts its quit message here.
  void SetDestroyedHandler(std::function<void()> handler) {
    destroyed_handler_ = std::move(handler);
  }

  // Makes the dialog, hidden, from the template of this executable, owned by
  // `owner` when given; false when it cannot be made.
  bool Create(int template_id, HWND__* owner = nullptr);
  HWND__* window() const { return window_; }

  // Dialog port.
  void ShowMessage(std::u16string_view text, std::u16string_view caption,
                   MessageIcon icon) override;
  std::u16string GetControlText(int id, int buffer_size) override;
  void SetControlText(int id, std::u16string_view text) override;
  bool HasControl(int id) override;
  void EnableControl(int id, bool enabled) override;
  bool IsChecked(int id) override;
  void SetChecked(int id, bool checked) override;
  void BindSpin(int spin_id, int buddy_id, int minimum, int maximum, int position) override;
  int ScreenDpiY() override;
  int CreateDialogFont(const DialogFont& font) override;
  void SetControlFont(int id, int font_handle) override;
  void DeleteDialogFont(int font_handle) override;
  void SetWindowIcons(std::string_view icon_file) override;
  std::optional<std::filesystem::path> AskSaveFileName(const FileDialogSettings& settings) override;
  std::optional<std::filesystem::path> AskOpenFileName(const FileDialogSettings& settings) override;
  std::optional<KeyingOptions> AskKeyingOptions(const KeyingOptions& shown,
                                                int max_effective) override;
  void RunWithProgress(std::u16string_view caption,
                       const std::function<void(ProgressReporter&)>& work) override;
  void RunModalDialog(const DialogTemplate& layout, DialogEvents& events) override;
  void DestroyWindow() override;

 private:
  // The dialog procedure and its message handling, in the source file.
  struct Procedure;
  void Initialise();
  bool Dispatch(int command_id);
  void Close();
  // Runs a handler of the dialog's behaviour; what it throws ends in a message.
  bool Guarded(const std::function<bool()>& call);

  const DialogTemplate& layout_;
  HWND__* window_ = nullptr;
  std::map<int, HFONT__*> fonts_;
  int next_font_ = 1;
  bool busy_ = false;
  std::function<void()> init_handler_;
  CommandHandler command_handler_;
  std::function<void()> close_handler_;
  std::function<void()> destroyed_handler_;
};

}  // namespace hoshizora
