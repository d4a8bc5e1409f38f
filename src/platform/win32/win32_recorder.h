#pragma once

#include <memory>

#include "platform/recorder.h"

namespace hoshizora {

// The Recorder port over the Windows multimedia API: waveIn fills a ring of
// buffers from the default input in mono 16-bit, a thread of its own takes
// them in as they fill, and an end by itself (the recording full) is reported
// through a message-only window, on the thread that made the recorder.
class Win32Recorder : public Recorder {
 public:
  Win32Recorder();
  Win32Recorder(const Win32Recorder&) = delete;
  Win32Recorder& operator=(const Win32Recorder&) = delete;
  ~Win32Recorder() override;

  bool Start() override;
  std::optional<Recording> Stop() override;
  void SetEndedHandler(EndedHandler handler) override;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace hoshizora
