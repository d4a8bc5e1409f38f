#include "platform/win32/win32_recorder.h"

#include <windows.h>

#include <mmsystem.h>

#include <array>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace hoshizora {
namespace {

constexpr UINT kRecordingFull = WM_APP + 2;  // wparam: the recording
constexpr wchar_t kClassName[] = L"HoshizoraRecorder";
constexpr DWORD kRate = 44100;
constexpr std::size_t kBufferCount = 8;
constexpr DWORD kBufferBytes = kRate / 4 * 2;  // a quarter second each

}  // namespace

struct Win32Recorder::State {
  HWND notify = nullptr;
  HWAVEIN input = nullptr;
  HANDLE filled = nullptr;  // set by the driver as each buffer fills
  std::array<std::vector<char>, kBufferCount> buffers;
  std::array<WAVEHDR, kBufferCount> headers{};
  std::size_t next = 0;  // the buffer the driver fills next
  std::thread thread;
  std::atomic<bool> stopping{false};
  Recording taken;
  std::string partial;
  int recording = 0;  // counts the recordings, so a late report of an old one is dropped
  EndedHandler ended;

  static LRESULT CALLBACK Window(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    auto* self = reinterpret_cast<State*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message != kRecordingFull || self == nullptr) {
      return DefWindowProcW(window, message, wparam, lparam);
    }
    if (static_cast<int>(wparam) == self->recording && self->input != nullptr) {
      // Nothing may be thrown back through the message loop.
      try {
        if (self->ended) {
          self->ended();
        }
      } catch (...) {
      }
    }
    return 0;
  }

  // Takes in the buffers filled so far, in the order they fill; with
  // `requeue` hands them back to the driver. False once the recording is full.
  bool Collect(bool requeue) {
    bool room = true;
    while ((headers[next].dwFlags & WHDR_DONE) != 0) {
      WAVEHDR& h = headers[next];
      room = AppendInput(taken, partial, std::string_view(h.lpData, h.dwBytesRecorded),
                         InputSamples::kSigned16, 1) &&
             room;
      h.dwFlags &= ~static_cast<DWORD>(WHDR_DONE);
      if (requeue && room) {
        waveInAddBuffer(input, &h, sizeof h);
      }
      next = (next + 1) % kBufferCount;
    }
    return room;
  }

  void Run(int id) {
    bool full = false;
    for (;;) {
      WaitForSingleObject(filled, INFINITE);
      const bool stop = stopping;
      if (!Collect(!stop && !full) && !full) {
        full = true;
        PostMessageW(notify, kRecordingFull, static_cast<WPARAM>(id), 0);
      }
      if (stop) {
        return;
      }
    }
  }

  void Close() {
    if (input == nullptr) {
      return;
    }
    stopping = true;
    waveInReset(input);  // every buffer comes back marked done
    SetEvent(filled);
    if (thread.joinable()) {
      thread.join();
    }
    waveInReset(input);
    for (WAVEHDR& h : headers) {
      waveInUnprepareHeader(input, &h, sizeof h);
    }
    waveInClose(input);
    input = nullptr;
    CloseHandle(filled);
    filled = nullptr;
  }
};

Win32Recorder::Win32Recorder() : state_(std::make_unique<State>()) {
  WNDCLASSW window_class{};
  window_class.lpfnWndProc = State::Window;
  window_class.hInstance = GetModuleHandleW(nullptr);
  window_class.lpszClassName = kClassName;
  RegisterClassW(&window_class);  // fails harmlessly when a recorder made it before
  state_->notify = CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
  if (state_->notify != nullptr) {
    SetWindowLongPtrW(state_->notify, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state_.get()));
  }
}

Win32Recorder::~Win32Recorder() {
  state_->ended = nullptr;
  state_->Close();
  if (state_->notify != nullptr) {
    DestroyWindow(state_->notify);
  }
}

void Win32Recorder::SetEndedHandler(EndedHandler handler) {
  state_->ended = std::move(handler);
}

bool Win32Recorder::Start() {
  State& s = *state_;
  s.Close();
  if (s.notify == nullptr) {
    return false;
  }
  WAVEFORMATEX format{};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = 1;
  format.nSamplesPerSec = kRate;
  format.wBitsPerSample = 16;
  format.nBlockAlign = 2;
  format.nAvgBytesPerSec = kRate * 2;
  s.filled = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  if (s.filled == nullptr) {
    return false;
  }
  if (waveInOpen(&s.input, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(s.filled), 0,
                 CALLBACK_EVENT) != MMSYSERR_NOERROR) {
    s.input = nullptr;
    CloseHandle(s.filled);
    s.filled = nullptr;
    return false;
  }
  s.taken = Recording{static_cast<std::int32_t>(kRate), {}};
  s.partial.clear();
  s.next = 0;
  s.stopping = false;
  bool queued = true;
  for (std::size_t i = 0; i < kBufferCount; ++i) {
    s.buffers[i].assign(kBufferBytes, 0);
    s.headers[i] = WAVEHDR{};
    s.headers[i].lpData = s.buffers[i].data();
    s.headers[i].dwBufferLength = kBufferBytes;
    queued = queued &&
             waveInPrepareHeader(s.input, &s.headers[i], sizeof s.headers[i]) == MMSYSERR_NOERROR &&
             waveInAddBuffer(s.input, &s.headers[i], sizeof s.headers[i]) == MMSYSERR_NOERROR;
  }
  const int id = ++s.recording;
  s.thread = std::thread([&s, id] { s.Run(id); });
  if (!queued || waveInStart(s.input) != MMSYSERR_NOERROR) {
    s.Close();
    return false;
  }
  return true;
}

std::optional<Recording> Win32Recorder::Stop() {
  State& s = *state_;
  if (s.input == nullptr) {
    return std::nullopt;
  }
  ++s.recording;  // a full report, perhaps posted already, is dropped
  s.Close();
  Recording taken = std::move(s.taken);
  s.taken = {};
  return taken;
}

}  // namespace hoshizora
