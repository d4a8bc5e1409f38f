#pragma once

#include <chrono>
#include <map>
#include <ostream>
#include <string>

#include "platform/dialog.h"

namespace hoshizora {

// The Main dialog without a window: fields held in memory, messages printed
// to a stream, no file dialogs, progress printed for runs that take a while.
class ConsoleDialog : public Dialog {
 public:
  explicit ConsoleDialog(std::ostream& messages) : messages_(messages) {}

  void ShowMessage(std::u16string_view text, std::u16string_view caption,
                   MessageIcon icon) override;
  std::u16string GetControlText(int id, int buffer_size) override;
  void SetControlText(int id, std::u16string_view text) override;
  bool HasControl(int) override { return false; }
  bool IsChecked(int id) override;
  void SetChecked(int id, bool checked) override;
  void BindSpin(int, int, int, int, int) override {}
  int ScreenDpiY() override { return 96; }
  int CreateDialogFont(const DialogFont&) override { return 0; }
  void SetControlFont(int, int) override {}
  void DeleteDialogFont(int) override {}
  void SetWindowIcons(const std::filesystem::path&) override {}
  std::optional<std::filesystem::path> AskSaveFileName(const FileDialogSettings&) override {
    return {};
  }
  std::optional<std::filesystem::path> AskOpenFileName(const FileDialogSettings&) override {
    return {};
  }
  void RunWithProgress(std::u16string_view caption,
                       const std::function<void(ProgressReporter&)>& work) override;
  void DestroyWindow() override {}

 private:
  std::ostream& messages_;
  std::map<int, std::u16string> texts_;
  std::map<int, bool> checked_;
};

}  // namespace hoshizora
