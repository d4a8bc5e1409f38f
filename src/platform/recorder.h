#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hoshizora {

// What a recording took in: mono 16-bit samples at `rate` per second.
struct Recording {
  std::int32_t rate = 0;
  std::vector<std::int16_t> samples;
};

// Longest recording kept: an hour at 48 kHz. A recorder stops taking samples
// there, so a forgotten recording costs at most this much memory.
inline constexpr std::int64_t kLongestRecordingSamples = 48000LL * 3600;

// How an audio input hands over its samples: interleaved frames of one of
// these, little-endian.
enum class InputSamples { kUnsigned8, kSigned16, kSigned32, kFloat32 };

// Appends the whole frames of `bytes` to the recording, mixed down to mono and
// scaled to 16 bits, up to kLongestRecordingSamples; false once it is full.
// `partial` carries the bytes of a frame split between two calls.
bool AppendInput(Recording& recording, std::string& partial, std::string_view bytes,
                 InputSamples kind, int channels);

// Records from the default audio input, for the sending practice.
class Recorder {
 public:
  // Called on the window's thread when a recording ends by itself: the input
  // failed or the recording reached kLongestRecordingSamples. Stop then gives
  // what was taken in before.
  using EndedHandler = std::function<void()>;

  virtual ~Recorder() = default;
  // Starts taking samples, dropping any recording under way. False when the
  // input cannot be opened (none, or busy).
  virtual bool Start() = 0;
  // Ends the recording and gives what it took in; nothing when none was
  // under way.
  virtual std::optional<Recording> Stop() = 0;
  virtual void SetEndedHandler(EndedHandler handler) = 0;
};

}  // namespace hoshizora
