#include "platform/win32/win32_progress_window.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <optional>
#include <string>
#include <system_error>
#include <thread>

#include "platform/win32/dialog_fonts.h"

namespace hoshizora {
namespace {

constexpr UINT kUpdateMessage = WM_APP + 1;
constexpr UINT kDoneMessage = WM_APP + 2;
constexpr UINT_PTR kBusyTimer = 1;
constexpr UINT kBusyTimerMs = 40;
// Work that ends sooner than this shows no window at all, only a moment of
// disabled dialog, instead of a flash.
constexpr UINT_PTR kShowTimer = 2;
constexpr UINT kShowDelayMs = 300;
constexpr int kLabelId = 100;
constexpr wchar_t kClassName[] = L"HoshizoraProgressWindow";

std::wstring Wide(std::u16string_view text) {
  return std::wstring(text.begin(), text.end());
}

// The window's state, shared with the worker thread through Report() and the
// cancel flag only; everything else belongs to the window's thread.
class ProgressState : public ProgressReporter {
 public:
  void Report(std::u16string_view step, double fraction) override {
    {
      std::lock_guard lock(mutex_);
      step_ = step;
      share_ = fraction;
    }
    // One update message in the queue at a time, however fast the work reports.
    if (window != nullptr && !update_posted_.exchange(true)) {
      PostMessageW(window, kUpdateMessage, 0, 0);
    }
  }
  const CancelFlag& Cancel() const override { return cancel_; }

  // Window thread.
  void TakeReport(std::u16string& step, double& share) {
    update_posted_ = false;
    std::lock_guard lock(mutex_);
    step = step_;
    share = share_;
  }
  // True for the first request only.
  bool RequestCancel() { return !cancel_.exchange(true); }
  bool Cancelled() const { return cancel_; }

  HWND window = nullptr;
  double shown_share = 0;
  bool busy = false;
  int busy_offset = 0;
  bool done = false;

 private:
  std::mutex mutex_;
  std::u16string step_;
  double share_ = 0;
  std::atomic<bool> update_posted_{false};
  CancelFlag cancel_{false};
};

int Scaled(int pixels_at_96) {
  return MulDiv(pixels_at_96, ScreenPixelsPerInchY(), 96);
}

// Client layout at 96 dpi.
constexpr int kClientWidth = 380;
constexpr int kClientHeight = 118;
constexpr int kMargin = 16;
constexpr RECT kLabelRect{kMargin, 14, kClientWidth - kMargin, 36};
constexpr RECT kBarRect{kMargin, 44, kClientWidth - kMargin, 62};
constexpr int kButtonWidth = 104;
constexpr int kButtonHeight = 28;

RECT ScaledRect(const RECT& r) {
  return {Scaled(r.left), Scaled(r.top), Scaled(r.right), Scaled(r.bottom)};
}

void PaintBar(HDC dc, const ProgressState& state) {
  RECT frame = ScaledRect(kBarRect);
  DrawEdge(dc, &frame, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
  FillRect(dc, &frame, GetSysColorBrush(COLOR_WINDOW));
  const LONG width = frame.right - frame.left;
  RECT fill = frame;
  if (state.busy) {
    // A block that runs across the bar while the share of the work is unknown.
    const LONG block = std::max(1L, width / 4);
    const LONG start = frame.left + state.busy_offset % (width + block) - block;
    fill.left = std::max(frame.left, start);
    fill.right = std::min(frame.right, start + block);
  } else {
    fill.right = frame.left + static_cast<LONG>(width * std::clamp(state.shown_share, 0.0, 1.0));
  }
  if (fill.right > fill.left) {
    FillRect(dc, &fill, GetSysColorBrush(COLOR_HIGHLIGHT));
  }
}

void ShowReport(HWND window, ProgressState& state) {
  std::u16string step;
  double share = 0;
  state.TakeReport(step, share);
  if (!state.Cancelled()) {
    SetDlgItemTextW(window, kLabelId, Wide(step).c_str());
  }
  const bool busy = share == ProgressReporter::kUnknownShare;
  if (busy && !state.busy) {
    SetTimer(window, kBusyTimer, kBusyTimerMs, nullptr);
  } else if (!busy && state.busy) {
    KillTimer(window, kBusyTimer);
  }
  state.busy = busy;
  if (!busy) {
    state.shown_share = share;
  }
  const RECT bar = ScaledRect(kBarRect);
  InvalidateRect(window, &bar, FALSE);
}

void CancelWork(HWND window, ProgressState& state) {
  if (state.RequestCancel()) {
    SetDlgItemTextW(window, kLabelId, L"中止しています…");
    EnableWindow(GetDlgItem(window, IDCANCEL), FALSE);
  }
}

LRESULT CALLBACK ProgressWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* state = reinterpret_cast<ProgressState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (state == nullptr) {
    return DefWindowProcW(window, message, wparam, lparam);
  }
  switch (message) {
    case kUpdateMessage:
      ShowReport(window, *state);
      return 0;
    case kDoneMessage:
      state->done = true;
      return 0;
    case WM_TIMER:
      if (wparam == kShowTimer) {
        KillTimer(window, kShowTimer);
        ShowWindow(window, SW_SHOW);
        SetFocus(GetDlgItem(window, IDCANCEL));
      } else if (wparam == kBusyTimer) {
        state->busy_offset += Scaled(6);
        const RECT bar = ScaledRect(kBarRect);
        InvalidateRect(window, &bar, FALSE);
      }
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      PaintBar(dc, *state);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_COMMAND:
      if (LOWORD(wparam) == IDCANCEL) {
        CancelWork(window, *state);
      }
      return 0;
    case WM_CLOSE:
      // The close box cancels like the button; the window goes when the work ends.
      CancelWork(window, *state);
      return 0;
    default:
      return DefWindowProcW(window, message, wparam, lparam);
  }
}

bool RegisterProgressClass(HINSTANCE instance) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(instance, kClassName, &existing)) {
    return true;
  }
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = ProgressWindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  wc.lpszClassName = kClassName;
  return RegisterClassExW(&wc) != 0;
}

HWND CreateProgressWindow(HWND owner, std::u16string_view caption, ProgressState& state,
                          HFONT font) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  if (!RegisterProgressClass(instance)) {
    return nullptr;
  }
  constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU;
  constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;
  RECT frame{0, 0, Scaled(kClientWidth), Scaled(kClientHeight)};
  AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  RECT over{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (owner != nullptr) {
    GetWindowRect(owner, &over);
  }
  const int x = over.left + (over.right - over.left - width) / 2;
  const int y = over.top + (over.bottom - over.top - height) / 2;
  HWND window = CreateWindowExW(kExStyle, kClassName, Wide(caption).c_str(), kStyle, x, y, width,
                                height, owner, nullptr, instance, &state);
  if (window == nullptr) {
    return nullptr;
  }
  const RECT label = ScaledRect(kLabelRect);
  HWND label_window = CreateWindowExW(
      0, L"STATIC", L"準備中…", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_ENDELLIPSIS, label.left,
      label.top, label.right - label.left, label.bottom - label.top, window,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kLabelId)), instance, nullptr);
  HWND button = CreateWindowExW(
      0, L"BUTTON", L"キャンセル", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON,
      Scaled(kClientWidth - kMargin - kButtonWidth),
      Scaled(kClientHeight - kMargin + 4 - kButtonHeight), Scaled(kButtonWidth),
      Scaled(kButtonHeight), window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDCANCEL)),
      instance, nullptr);
  for (HWND control : {label_window, button}) {
    if (control != nullptr && font != nullptr) {
      SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
  }
  return window;
}

}  // namespace

void RunWithProgressWindow(HWND owner, std::u16string_view caption,
                           const std::function<void(ProgressReporter&)>& work) {
  ProgressState state;
  HFONT font = CreateDialogGdiFont({u"MS UI Gothic", Scaled(16), FW_NORMAL});
  state.window = CreateProgressWindow(owner, caption, state, font);
  if (state.window == nullptr) {
    // No window to report to: the work still has to be done.
    if (font != nullptr) {
      DeleteObject(font);
    }
    work(state);
    return;
  }

  const bool owner_was_enabled = owner != nullptr && !EnableWindow(owner, FALSE);
  SetTimer(state.window, kShowTimer, kShowDelayMs, nullptr);

  std::exception_ptr failure;
  const auto run = [&] {
    try {
      work(state);
    } catch (...) {
      failure = std::current_exception();
    }
    PostMessageW(state.window, kDoneMessage, 0, 0);
  };
  std::thread worker;
  try {
    worker = std::thread(run);
  } catch (const std::system_error&) {
    // No thread to be had: the work runs here, and the window shows its end.
    run();
  }

  std::optional<int> quit;
  MSG msg;
  while (!state.done) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == -1) {
      break;
    }
    if (got == 0) {
      quit = static_cast<int>(msg.wParam);
      continue;
    }
    if (!IsDialogMessageW(state.window, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  if (worker.joinable()) {
    worker.join();
  }

  // The owner is enabled before the window goes, so that it gets the activation back.
  if (owner_was_enabled) {
    EnableWindow(owner, TRUE);
  }
  DestroyWindow(state.window);
  if (font != nullptr) {
    DeleteObject(font);
  }
  if (quit) {
    PostQuitMessage(*quit);
  }
  if (failure) {
    std::rethrow_exception(failure);
  }
}

}  // namespace hoshizora
