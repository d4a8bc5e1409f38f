#pragma once

#include <atomic>
#include <thread>

#include "platform/player.h"

struct HWND__;  // <windows.h> stays out of headers: see win32_main_window.h

namespace hoshizora {

// The Player port over the Windows multimedia API: PlaySound plays the file
// on a thread of its own, which reports the end to a message-only window, so
// that the done report comes on the thread that made the player.
class Win32Player : public Player {
 public:
  Win32Player();
  Win32Player(const Win32Player&) = delete;
  Win32Player& operator=(const Win32Player&) = delete;
  ~Win32Player() override;

  bool Play(const std::filesystem::path& wav) override;
  void Stop() override;
  void SetDoneHandler(DoneHandler handler) override { done_ = std::move(handler); }

 private:
  struct Procedure;

  HWND__* notify_ = nullptr;
  std::thread thread_;
  std::atomic<bool> finished_{true};
  int playback_ = 0;  // counts the playbacks, so a late report of an old one is dropped
  DoneHandler done_;
};

}  // namespace hoshizora
