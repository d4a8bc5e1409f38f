#pragma once

#include <algorithm>
#include <climits>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/control_ids.h"
#include "platform/dialog.h"
#include "platform/dialog_template.h"

namespace hoshizora::testing {

// The Main dialog's template as a map of control texts and states; records
// every message, font, spin and progress report, and answers file dialogs and
// the audio settings dialog as the test says.
class FakeDialog : public Dialog {
 public:
  struct Message {
    std::u16string text;
    std::u16string caption;
    MessageIcon icon;
  };

  FakeDialog() {
    controls = {ids::kOutputButton,  ids::kSaveButton, ids::kLoadButton, ids::kCancelButton,
                ids::kBody,          ids::kCount,      ids::kStation,    ids::kNumber,
                ids::kTime,          ids::kAddressee,  ids::kFrequency,  ids::kSpeed,
                ids::kFrequencySpin, ids::kSpeedSpin,  ids::kOpenFolder};
    controls.insert(std::begin(ids::kLabels), std::end(ids::kLabels));
  }
  // Another dialog: the controls of its template.
  explicit FakeDialog(const DialogTemplate& layout) {
    for (const ControlSpec& c : layout.controls) {
      controls.insert(c.id);
    }
  }

  void ShowMessage(std::u16string_view text, std::u16string_view caption,
                   MessageIcon icon) override {
    messages.push_back({std::u16string(text), std::u16string(caption), icon});
    log.push_back("message");
  }
  std::u16string GetControlText(int id, int buffer_size) override {
    const std::u16string& text = texts[id];
    const auto limit = static_cast<std::size_t>(std::max(0, buffer_size - 1));
    return text.size() > limit ? text.substr(0, limit) : text;
  }
  void SetControlText(int id, std::u16string_view text) override {
    texts[id] = std::u16string(text);
    log.push_back("text " + std::to_string(id));
  }
  bool HasControl(int id) override { return controls.count(id) != 0; }
  void EnableControl(int id, bool value) override { enabled[id] = value; }
  bool IsChecked(int id) override { return HasControl(id) && checked[id]; }
  void SetChecked(int id, bool value) override {
    if (HasControl(id)) {
      checked[id] = value;
    }
    log.push_back("check " + std::to_string(id));
  }
  void BindSpin(int spin, int buddy, int minimum, int maximum, int position) override {
    spins[spin] = {buddy, minimum, maximum, position};
    log.push_back("spin " + std::to_string(spin));
  }
  int ScreenDpiY() override { return dpi; }
  int CreateDialogFont(const DialogFont& font) override {
    fonts.push_back(font);
    log.push_back("font");
    return static_cast<int>(fonts.size());
  }
  void SetControlFont(int id, int handle) override { assigned_fonts[id] = handle; }
  void DeleteDialogFont(int handle) override {
    deleted_fonts.push_back(handle);
    log.push_back("delete font");
  }
  void SetWindowIcons(std::string_view icon_file) override {
    icons = std::string(icon_file);
    log.push_back("icons");
  }
  std::optional<std::filesystem::path> AskSaveFileName(const FileDialogSettings& s) override {
    file_dialogs.push_back(s);
    return save_answer;
  }
  std::optional<std::filesystem::path> AskOpenFileName(const FileDialogSettings& s) override {
    file_dialogs.push_back(s);
    return open_answer;
  }
  std::optional<KeyingOptions> AskKeyingOptions(const KeyingOptions& shown,
                                                int max_effective) override {
    keying_asked.push_back({shown, max_effective});
    log.push_back("keying dialog");
    return keying_answer;
  }
  void RunWithProgress(std::u16string_view caption,
                       const std::function<void(ProgressReporter&)>& work) override {
    progress_caption = std::u16string(caption);
    Reporter reporter(*this);
    work(reporter);
  }
  // A dialog run from this one: `modal_dialog` plays the user's part, else it
  // is initialised and closed at once.
  void RunModalDialog(const DialogTemplate& layout, DialogEvents& events) override {
    log.push_back("modal dialog");
    modal_titles.emplace_back(layout.title);
    FakeDialog dialog(layout);
    events.Initialise(dialog);
    if (modal_dialog) {
      modal_dialog(dialog, events);
    }
    if (!dialog.destroyed) {
      events.Close(dialog);
    }
  }
  void DestroyWindow() override {
    destroyed = true;
    log.push_back("destroy");
  }

  std::set<int> controls;
  std::map<int, std::u16string> texts;
  std::map<int, bool> checked;
  std::map<int, bool> enabled;  // controls never enabled or disabled are missing
  struct Spin {
    int buddy, minimum, maximum, position;
  };
  std::map<int, Spin> spins;
  int dpi = 96;
  std::vector<DialogFont> fonts;
  std::map<int, int> assigned_fonts;
  std::vector<int> deleted_fonts;
  std::string icons;  // the icon file the window was given
  std::optional<std::filesystem::path> save_answer;
  std::optional<std::filesystem::path> open_answer;
  std::vector<FileDialogSettings> file_dialogs;
  // The audio settings dialog: what it was opened with, and what OK gives
  // (nothing: Cancel).
  struct KeyingAsked {
    KeyingOptions shown;
    int max_effective;
  };
  std::vector<KeyingAsked> keying_asked;
  std::optional<KeyingOptions> keying_answer;
  std::vector<Message> messages;
  std::vector<std::string> log;
  std::vector<std::u16string> modal_titles;
  std::function<void(FakeDialog& dialog, DialogEvents& events)> modal_dialog;
  bool destroyed = false;

  // Progress: what was reported, and a cancel the test can press.
  std::u16string progress_caption;
  std::vector<std::u16string> progress_steps;
  std::vector<double> progress_shares;
  CancelFlag cancel{false};
  // Pressed when a step starting with this text is reported.
  std::u16string cancel_at_step;

 private:
  class Reporter : public ProgressReporter {
   public:
    explicit Reporter(FakeDialog& d) : d_(d) {}
    void Report(std::u16string_view step, double share) override {
      std::lock_guard lock(mutex_);
      d_.progress_steps.emplace_back(step);
      d_.progress_shares.push_back(share);
      if (!d_.cancel_at_step.empty() && step.starts_with(d_.cancel_at_step)) {
        d_.cancel = true;
      }
    }
    const CancelFlag& Cancel() const override { return d_.cancel; }

   private:
    FakeDialog& d_;
    std::mutex mutex_;
  };
};

}  // namespace hoshizora::testing
