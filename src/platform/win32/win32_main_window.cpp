#include "platform/win32/win32_main_window.h"

#include <windows.h>

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <optional>
#include <string>

#include "platform/icon_file.h"
#include "platform/win32/dialog_fonts.h"
#include "platform/win32/win32_keying_dialog.h"
#include "platform/win32/win32_progress_window.h"

namespace hoshizora {
namespace {

std::wstring Wide(std::u16string_view text) {
  return std::wstring(text.begin(), text.end());
}

std::u16string FromWide(std::wstring_view text) {
  return std::u16string(text.begin(), text.end());
}

std::optional<std::filesystem::path> AskFileName(HWND owner, const FileDialogSettings& s,
                                                 bool saving) {
  std::wstring filter = Wide(s.filter_name);
  filter.push_back(L'\0');
  filter += Wide(s.filter_pattern);
  filter.push_back(L'\0');
  const std::wstring title = Wide(s.title);

  wchar_t name[MAX_PATH] = {};
  std::copy_n(s.initial_name.begin(), std::min<std::size_t>(s.initial_name.size(), MAX_PATH - 1),
              name);

  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();  // the string's own terminator ends the list
  ofn.lpstrFile = name;
  ofn.nMaxFile = MAX_PATH;
  ofn.lpstrTitle = title.c_str();
  ofn.Flags =
      (s.confirm_overwrite ? OFN_OVERWRITEPROMPT : 0) | (s.must_exist ? OFN_FILEMUSTEXIST : 0);
  const BOOL chosen = saving ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
  if (!chosen) {
    return std::nullopt;
  }
  return std::filesystem::path(name);
}

}  // namespace

struct Win32MainWindow::Procedure {
  static INT_PTR CALLBACK Dialog(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  static INT_PTR Handle(Win32MainWindow& self, UINT message, WPARAM wparam);
};

Win32MainWindow::~Win32MainWindow() {
  destroyed_handler_ = nullptr;
  if (window_ != nullptr) {
    ::DestroyWindow(window_);
  }
  for (const auto& [handle, font] : fonts_) {
    DeleteObject(font);
  }
}

bool Win32MainWindow::Create(int template_id, HWND owner) {
  // The template holds up-down controls, whose class must exist before the
  // dialog's controls are made.
  INITCOMMONCONTROLSEX classes{sizeof classes, 0xFF};
  InitCommonControlsEx(&classes);
  CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(template_id), owner,
                     Procedure::Dialog, reinterpret_cast<LPARAM>(this));
  return window_ != nullptr;
}

INT_PTR CALLBACK Win32MainWindow::Procedure::Dialog(HWND window, UINT message, WPARAM wparam,
                                                    LPARAM lparam) {
  Win32MainWindow* self = nullptr;
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<Win32MainWindow*>(lparam);
    SetWindowLongPtrW(window, DWLP_USER, lparam);
    self->window_ = window;
  } else {
    self = reinterpret_cast<Win32MainWindow*>(GetWindowLongPtrW(window, DWLP_USER));
  }
  return self != nullptr ? Handle(*self, message, wparam) : FALSE;
}

INT_PTR Win32MainWindow::Procedure::Handle(Win32MainWindow& self, UINT message, WPARAM wparam) {
  switch (message) {
    case WM_INITDIALOG:
      // Two buttons carry the default style and the dialog manager would take
      // the last, the load button: Enter must run the output.
      SendMessageW(self.window_, DM_SETDEFID, static_cast<WPARAM>(self.layout_.default_button), 0);
      self.Initialise();
      return TRUE;  // the focus goes to the first tab stop, the default button
    case WM_COMMAND: {
      int id = LOWORD(wparam);
      // Enter with no default button reaches the dialog as IDOK, Esc as IDCANCEL.
      if (id == IDOK) {
        id = self.layout_.default_button;
      } else if (id == IDCANCEL) {
        id = self.layout_.cancel_command;
      }
      return self.Dispatch(id) ? TRUE : FALSE;
    }
    case WM_CLOSE:
      self.Close();
      return TRUE;
    case WM_NCDESTROY:
      SetWindowLongPtrW(self.window_, DWLP_USER, 0);
      self.window_ = nullptr;
      if (self.destroyed_handler_) {
        self.destroyed_handler_();
      }
      return FALSE;
    default:
      return FALSE;
  }
}

bool Win32MainWindow::Guarded(const std::function<bool()>& call) {
  // Nothing may be thrown back through the dialog manager.
  try {
    return call();
  } catch (...) {
    MessageBoxW(window_, L"処理を続けられませんでした。", L"エラー", MB_OK | MB_ICONERROR);
    return true;
  }
}

void Win32MainWindow::Initialise() {
  if (init_handler_) {
    Guarded([this] {
      init_handler_();
      return true;
    });
  }
}

bool Win32MainWindow::Dispatch(int command_id) {
  if (!command_handler_) {
    return false;
  }
  // One command at a time: none starts from inside another's message box or
  // progress window.
  if (busy_) {
    return true;
  }
  busy_ = true;
  const bool handled = Guarded([&] { return command_handler_(command_id); });
  busy_ = false;
  return handled;
}

void Win32MainWindow::Close() {
  if (busy_ || !close_handler_) {
    return;
  }
  busy_ = true;
  Guarded([this] {
    close_handler_();
    return true;
  });
  busy_ = false;
}

void Win32MainWindow::ShowMessage(std::u16string_view text, std::u16string_view caption,
                                  MessageIcon icon) {
  UINT type = MB_OK;
  if (icon == MessageIcon::kInformation) {
    // The only information message is the About box, which stays on top.
    type |= MB_ICONINFORMATION | MB_TOPMOST;
  } else if (icon == MessageIcon::kError) {
    type |= MB_ICONERROR;
  }
  MessageBoxW(window_, Wide(text).c_str(), Wide(caption).c_str(), type);
}

std::u16string Win32MainWindow::GetControlText(int id, int buffer_size) {
  HWND control = GetDlgItem(window_, id);
  if (control == nullptr || buffer_size <= 0) {
    return {};
  }
  const int length = GetWindowTextLengthW(control);
  const int size = std::min(buffer_size, length + 1);
  std::wstring buffer(static_cast<std::size_t>(size), L'\0');
  const int got = GetDlgItemTextW(window_, id, buffer.data(), size);
  buffer.resize(static_cast<std::size_t>(std::max(0, got)));
  // A cut never leaves half of a surrogate pair behind.
  if (got < length && !buffer.empty() && IS_HIGH_SURROGATE(buffer.back())) {
    buffer.pop_back();
  }
  return FromWide(buffer);
}

void Win32MainWindow::SetControlText(int id, std::u16string_view text) {
  SetDlgItemTextW(window_, id, Wide(text).c_str());
}

bool Win32MainWindow::HasControl(int id) {
  return GetDlgItem(window_, id) != nullptr;
}

void Win32MainWindow::EnableControl(int id, bool enabled) {
  if (HWND control = GetDlgItem(window_, id)) {
    EnableWindow(control, enabled ? TRUE : FALSE);
  }
}

bool Win32MainWindow::IsChecked(int id) {
  return HasControl(id) && IsDlgButtonChecked(window_, id) == BST_CHECKED;
}

void Win32MainWindow::SetChecked(int id, bool checked) {
  if (HasControl(id)) {
    CheckDlgButton(window_, id, checked ? BST_CHECKED : BST_UNCHECKED);
  }
}

void Win32MainWindow::BindSpin(int spin_id, int buddy_id, int minimum, int maximum, int position) {
  HWND spin = GetDlgItem(window_, spin_id);
  HWND buddy = GetDlgItem(window_, buddy_id);
  if (spin == nullptr || buddy == nullptr) {
    return;
  }
  // Every UDM_SETBUDDY moves the spin to its buddy's right edge and narrows
  // the buddy by the spin's width; the template's automatic buddy has done so
  // once already, and a second time would eat into the edit.
  if (reinterpret_cast<HWND>(SendMessageW(spin, UDM_GETBUDDY, 0, 0)) != buddy) {
    SendMessageW(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
  }
  SendMessageW(spin, UDM_SETRANGE32, static_cast<WPARAM>(minimum), static_cast<LPARAM>(maximum));
  SendMessageW(spin, UDM_SETPOS32, 0, static_cast<LPARAM>(position));
}

int Win32MainWindow::ScreenDpiY() {
  return ScreenPixelsPerInchY();
}

int Win32MainWindow::CreateDialogFont(const DialogFont& font) {
  HFONT created = CreateDialogGdiFont(font);
  if (created == nullptr) {
    return 0;
  }
  const int handle = next_font_++;
  fonts_[handle] = created;
  return handle;
}

void Win32MainWindow::SetControlFont(int id, int font_handle) {
  HWND control = GetDlgItem(window_, id);
  const auto it = fonts_.find(font_handle);
  if (control != nullptr && it != fonts_.end()) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(it->second), TRUE);
  }
}

void Win32MainWindow::DeleteDialogFont(int font_handle) {
  const auto it = fonts_.find(font_handle);
  if (it != fonts_.end()) {
    DeleteObject(it->second);
    fonts_.erase(it);
  }
}

void Win32MainWindow::SetWindowIcons(std::string_view icon_file) {
  const auto images = ReadIconFile(icon_file);
  if (!images) {
    return;
  }
  // The icons live as long as the process.
  for (const auto& [size, which] : {std::pair{32, ICON_BIG}, std::pair{16, ICON_SMALL}}) {
    // The image of that size, else the smallest larger one, else the largest.
    const auto misfit = [size](const IconImage& image) {
      return image.Side() >= size ? image.Side() - size : 1000 + size - image.Side();
    };
    const IconImage* best = &images->front();
    for (const IconImage& image : *images) {
      best = misfit(image) < misfit(*best) ? &image : best;
    }
    auto* bits = reinterpret_cast<BYTE*>(const_cast<char*>(best->bytes.data()));
    if (HICON icon = CreateIconFromResourceEx(bits, static_cast<DWORD>(best->bytes.size()), TRUE,
                                              0x00030000, size, size, LR_DEFAULTCOLOR)) {
      SendMessageW(window_, WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
    }
  }
}

std::optional<std::filesystem::path> Win32MainWindow::AskSaveFileName(
    const FileDialogSettings& settings) {
  return AskFileName(window_, settings, true);
}

std::optional<std::filesystem::path> Win32MainWindow::AskOpenFileName(
    const FileDialogSettings& settings) {
  return AskFileName(window_, settings, false);
}

std::optional<KeyingOptions> Win32MainWindow::AskKeyingOptions(const KeyingOptions& shown,
                                                               int max_effective) {
  return AskKeyingOptionsInDialog(window_, shown, max_effective);
}

void Win32MainWindow::RunWithProgress(std::u16string_view caption,
                                      const std::function<void(ProgressReporter&)>& work) {
  RunWithProgressWindow(window_, caption, work);
}

void Win32MainWindow::RunModalDialog(const DialogTemplate& layout, DialogEvents& events) {
  Win32MainWindow dialog(layout);
  dialog.SetInitHandler([&] { events.Initialise(dialog); });
  dialog.SetCommandHandler([&](int id) { return events.Command(dialog, id); });
  dialog.SetCloseHandler([&] { events.Close(dialog); });
  if (!dialog.Create(layout.resource_id, window_) || dialog.window() == nullptr) {
    return;
  }
  // What DialogBox does: the owner takes no input while the dialog's own
  // loop runs, and a quit message is handed on to the program's loop.
  EnableWindow(window_, FALSE);
  ShowWindow(dialog.window(), SW_SHOWNORMAL);
  std::optional<WPARAM> quit;
  MSG msg;
  while (dialog.window() != nullptr) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      quit = got == 0 ? msg.wParam : 0;
      break;
    }
    if (!IsDialogMessageW(dialog.window(), &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  EnableWindow(window_, TRUE);
  dialog.DestroyWindow();
  SetActiveWindow(window_);
  if (quit) {
    PostQuitMessage(static_cast<int>(*quit));
  }
}

void Win32MainWindow::DestroyWindow() {
  if (window_ != nullptr) {
    ::DestroyWindow(window_);
  }
}

}  // namespace hoshizora
