#pragma once

#include <QDialog>
#include <QFont>
#include <QMenuBar>
#include <functional>
#include <map>

#include "platform/dialog.h"
#include "platform/dialog_template.h"

namespace hoshizora {

class ProgressWindowReporter;
class SpinButtons;

// The filter a Qt file dialog shows for the settings: the name, with its
// pattern unless the name already shows it.
QString FilterText(const FileDialogSettings& s);

// A dialog as a Qt window: the template's controls by id (each
// widget's object name is its id), forwarding commands to the dialog's
// behaviour and implementing the Dialog port for it. The main window has no
// parent; a dialog it runs (RunModalDialog) is its child.
class MainWindow : public QDialog, public Dialog {
 public:
  using CommandHandler = std::function<void(int command_id)>;

  explicit MainWindow(const DialogTemplate& layout, QWidget* parent = nullptr);

  // Where button clicks, the menu items, Esc and the close box go.
  void SetCommandHandler(CommandHandler handler) { handler_ = std::move(handler); }
  // The close box; called when the window is asked to close by the desktop.
  void SetCloseHandler(std::function<void()> handler) { close_handler_ = std::move(handler); }
  // The window is gone (DestroyWindow): the program quits here.
  void SetDestroyedHandler(std::function<void()> handler) {
    destroyed_handler_ = std::move(handler);
  }

  QWidget* Control(int id) const;
  bool destroyed() const { return destroyed_; }

  // A request from outside to end the program (a signal, the session
  // ending). A run under way is cancelled as its Cancel button would cancel
  // it, an open dialog is closed, and then the window closes as its close
  // box would, saving the settings. Messages are no longer shown: nobody is
  // there to answer them.
  void RequestStop();

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

 protected:
  void reject() override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildControls();
  void Dispatch(int command_id);
  void CloseForStop();
  QRect DialogUnits(int x, int y, int width, int height) const;

  const DialogTemplate& layout_;
  QMenuBar* menu_bar_ = nullptr;
  std::map<int, QWidget*> controls_;
  std::map<int, QFont> fonts_;
  int next_font_ = 1;
  int base_width_ = 6;
  int base_height_ = 13;
  bool busy_ = false;
  bool destroyed_ = false;
  bool stopping_ = false;
  ProgressWindowReporter* running_ = nullptr;  // the run under way, if any
  CommandHandler handler_;
  std::function<void()> close_handler_;
  std::function<void()> destroyed_handler_;
};

// Runs a command so that nothing it throws, of whatever type, ends the
// program: the user is told, and the window goes on.
void GuardCommand(MainWindow& window, const std::function<void()>& command);

}  // namespace hoshizora
