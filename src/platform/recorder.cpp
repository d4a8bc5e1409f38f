#include "platform/recorder.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

namespace hoshizora {
namespace {

int SampleBytes(InputSamples kind) {
  switch (kind) {
    case InputSamples::kUnsigned8:
      return 1;
    case InputSamples::kSigned16:
      return 2;
    case InputSamples::kSigned32:
    case InputSamples::kFloat32:
      return 4;
  }
  return 2;
}

// One sample as a fraction of full scale.
double SampleValue(const unsigned char* p, InputSamples kind) {
  switch (kind) {
    case InputSamples::kUnsigned8:
      return (p[0] - 128) / 128.0;
    case InputSamples::kSigned16:
      return static_cast<std::int16_t>(p[0] | (p[1] << 8)) / 32768.0;
    case InputSamples::kSigned32:
      return static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0]) |
                                       (static_cast<std::uint32_t>(p[1]) << 8) |
                                       (static_cast<std::uint32_t>(p[2]) << 16) |
                                       (static_cast<std::uint32_t>(p[3]) << 24)) /
             2147483648.0;
    case InputSamples::kFloat32: {
      const std::uint32_t bits =
          static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
          (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
      const float value = std::bit_cast<float>(bits);
      return std::isfinite(value) ? value : 0.0;
    }
  }
  return 0;
}

}  // namespace

bool AppendInput(Recording& recording, std::string& partial, std::string_view bytes,
                 InputSamples kind, int channels) {
  channels = std::max(channels, 1);
  const std::size_t frame = static_cast<std::size_t>(SampleBytes(kind)) * channels;
  partial.append(bytes);
  const std::size_t frames = partial.size() / frame;
  const auto room = static_cast<std::size_t>(std::max<std::int64_t>(
      0, kLongestRecordingSamples - static_cast<std::int64_t>(recording.samples.size())));
  const std::size_t taken = std::min(frames, room);
  const auto* p = reinterpret_cast<const unsigned char*>(partial.data());
  for (std::size_t f = 0; f < taken; ++f, p += frame) {
    double sum = 0;
    for (int c = 0; c < channels; ++c) {
      sum += SampleValue(p + c * SampleBytes(kind), kind);
    }
    const double mono = std::clamp(sum / channels, -1.0, 32767.0 / 32768.0);
    recording.samples.push_back(static_cast<std::int16_t>(std::lround(mono * 32768.0)));
  }
  partial.erase(0, frames * frame);
  return taken == frames &&
         recording.samples.size() < static_cast<std::size_t>(kLongestRecordingSamples);
}

}  // namespace hoshizora
