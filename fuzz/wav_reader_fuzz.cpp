// The WAV reader, and the decoder on whatever it reads. Input: the bytes of a
// file. Nothing crashes; a file read has as many samples as the frames it
// reports, no more than its data chunk can hold, at a rate and in a format
// the reader accepts, every sample finite and within [-1, 1]; a refused one
// has none. Clips of up to a second then go through the whole decoder: it reports keying
// exactly when it has text, and its figures are finite.
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "decode/decoder.h"
#include "decode/timing_feedback.h"
#include "decode/wav_reader.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace hoshizora;
  const std::string_view bytes = fuzz::AsBytes(data, size);
  constexpr std::uint64_t kMostFrames = 1 << 20;
  const WavRead read = ReadWav(bytes, kMostFrames);
  if (read.status != WavReadStatus::kRead) {
    HOSHIZORA_CHECK(read.clip.samples.empty());
    return 0;
  }
  HOSHIZORA_CHECK(read.clip.samples.size() == read.frames);
  HOSHIZORA_CHECK(read.frames <= kMostFrames);
  HOSHIZORA_CHECK(read.clip.rate >= kLowestWavRate && read.clip.rate <= kHighestWavRate);
  HOSHIZORA_CHECK(read.channels == 1 || read.channels == 2);
  HOSHIZORA_CHECK(read.bits == 8 || read.bits == 16 || read.bits == 24 || read.bits == 32);
  HOSHIZORA_CHECK(!read.is_float || read.bits == 32);
  // Header (12), fmt chunk header and body (8 + 16), data chunk header (8).
  const std::uint64_t frame_bytes = static_cast<std::uint64_t>(read.channels) * read.bits / 8;
  HOSHIZORA_CHECK(44 + read.frames * frame_bytes <= size);
  for (float s : read.clip.samples) {
    HOSHIZORA_CHECK(std::isfinite(s) && s >= -1.0F && s <= 1.0F);
  }
  if (read.frames > static_cast<std::uint64_t>(read.clip.rate)) {
    return 0;
  }
  const DecodeResult decoded = DecodeAudio(read.clip);
  HOSHIZORA_CHECK(decoded.keying_found == !decoded.characters.empty());
  HOSHIZORA_CHECK(decoded.keying_found || decoded.text.empty());
  const TimingFeedback feedback = MeasureTiming(decoded);
  HOSHIZORA_CHECK(std::isfinite(feedback.unit_ms) && std::isfinite(feedback.dah_dit_ratio) &&
                  std::isfinite(feedback.speed_cv) && std::isfinite(feedback.drift_cpm_per_min));
  return 0;
}
