#include "platform/win32/win32_player.h"

#include <windows.h>

#include <mmsystem.h>

namespace hoshizora {
namespace {

constexpr UINT kPlaybackEnded = WM_APP + 1;  // wparam: the playback, lparam: played
constexpr wchar_t kClassName[] = L"HoshizoraPlayer";

}  // namespace

struct Win32Player::Procedure {
  static LRESULT CALLBACK Window(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* self = reinterpret_cast<Win32Player*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message != kPlaybackEnded || self == nullptr) {
      return DefWindowProcW(window, message, wparam, lparam);
    }
    if (static_cast<int>(wparam) != self->playback_ || !self->thread_.joinable()) {
      return 0;  // stopped meanwhile, or another playback started
    }
    self->thread_.join();
    // Nothing may be thrown back through the message loop.
    try {
      if (self->done_) {
        self->done_(lparam != 0);
      }
    } catch (...) {
    }
    return 0;
  }
};

Win32Player::Win32Player() {
  WNDCLASSW window_class{};
  window_class.lpfnWndProc = Procedure::Window;
  window_class.hInstance = GetModuleHandleW(nullptr);
  window_class.lpszClassName = kClassName;
  RegisterClassW(&window_class);  // fails harmlessly when a player made it before
  notify_ = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  if (notify_ != nullptr) {
    SetWindowLongPtrW(notify_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
}

Win32Player::~Win32Player() {
  done_ = nullptr;
  Stop();
  if (notify_ != nullptr) {
    DestroyWindow(notify_);
  }
}

bool Win32Player::Play(const std::filesystem::path& wav) {
  Stop();
  const DWORD attributes = GetFileAttributesW(wav.c_str());
  if (notify_ == nullptr || attributes == INVALID_FILE_ATTRIBUTES ||
      (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return false;
  }
  const int playback = ++playback_;
  finished_ = false;
  thread_ = std::thread([this, playback, name = wav.wstring()] {
    const BOOL played = PlaySoundW(name.c_str(), nullptr, SND_FILENAME | SND_SYNC | SND_NODEFAULT);
    finished_ = true;
    PostMessageW(notify_, kPlaybackEnded, static_cast<WPARAM>(playback), played);
  });
  return true;
}

void Win32Player::Stop() {
  if (!thread_.joinable()) {
    return;
  }
  ++playback_;  // its report, perhaps posted already, is dropped
  // The thread may not have begun its sound yet: stop again until it ends.
  while (!finished_) {
    PlaySoundW(nullptr, nullptr, 0);
    Sleep(5);
  }
  thread_.join();
}

}  // namespace hoshizora
