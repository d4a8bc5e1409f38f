#include "decode/wav_reader.h"

#include <cstring>

#include "base/little_endian.h"

namespace hoshizora {
namespace {

constexpr std::uint32_t kFormatPcm = 1;
constexpr std::uint32_t kFormatFloat = 3;
constexpr std::uint32_t kFormatExtensible = 0xFFFE;

struct Format {
  std::uint32_t tag = 0;
  int channels = 0;
  std::uint32_t rate = 0;
  int block_align = 0;
  int bits = 0;
};

struct Chunk {
  std::string_view id;
  std::string_view body;  // cut at the end of the file when it claims more
};

// The sub-format of an extensible header: the first two bytes of its GUID are
// the plain format tag.
std::uint32_t EffectiveTag(const Format& format, std::string_view fmt_body) {
  if (format.tag != kFormatExtensible) {
    return format.tag;
  }
  return fmt_body.size() >= 26 ? ReadLe(fmt_body, 24, 2) : 0;
}

float SampleAt(const char* p, int bits, bool is_float) {
  switch (bits) {
    case 8:
      return static_cast<float>(static_cast<int>(static_cast<std::uint8_t>(p[0])) - 128) / 128.0F;
    case 16:
      return static_cast<float>(static_cast<std::int16_t>(ReadLe(std::string_view(p, 2), 0, 2))) /
             32768.0F;
    case 24: {
      std::uint32_t v = ReadLe(std::string_view(p, 3), 0, 3);
      const auto s = static_cast<std::int32_t>(v << 8) >> 8;
      return static_cast<float>(s) / 8388608.0F;
    }
    default: {
      const std::uint32_t v = ReadLe(std::string_view(p, 4), 0, 4);
      if (is_float) {
        float f = 0;
        std::memcpy(&f, &v, sizeof f);
        // NaN and infinities are read as silence; loud values are clipped.
        if (!(f == f) || f > 1e30F || f < -1e30F) {
          return 0.0F;
        }
        return f > 1.0F ? 1.0F : (f < -1.0F ? -1.0F : f);
      }
      return static_cast<float>(static_cast<double>(static_cast<std::int32_t>(v)) / 2147483648.0);
    }
  }
}

}  // namespace

WavRead ReadWav(std::string_view bytes, std::uint64_t most_frames) {
  WavRead read;
  if (bytes.size() > kLargestWavBytes) {
    read.status = WavReadStatus::kTooLong;
    return read;
  }
  if (bytes.size() < 12 || bytes.substr(0, 4) != "RIFF" || bytes.substr(8, 4) != "WAVE") {
    return read;
  }
  std::string_view fmt_body;
  std::string_view data;
  bool have_fmt = false;
  bool have_data = false;
  std::size_t at = 12;
  while (at + 8 <= bytes.size() && !have_data) {
    Chunk chunk{bytes.substr(at, 4), {}};
    const std::uint64_t size = ReadLe(bytes, at + 4, 4);
    const std::size_t body_at = at + 8;
    const std::size_t available = bytes.size() - body_at;
    chunk.body =
        bytes.substr(body_at, size < available ? static_cast<std::size_t>(size) : available);
    if (chunk.id == "fmt " && !have_fmt) {
      fmt_body = chunk.body;
      have_fmt = true;
    } else if (chunk.id == "data") {
      data = chunk.body;
      have_data = true;
    }
    // Chunks are padded to an even length.
    const std::uint64_t next = body_at + size + (size & 1);
    if (next > bytes.size()) {
      break;
    }
    at = static_cast<std::size_t>(next);
  }
  if (!have_fmt || !have_data) {
    return read;
  }
  if (fmt_body.size() < 16) {
    read.status = WavReadStatus::kBadFormat;
    return read;
  }
  Format format;
  format.tag = ReadLe(fmt_body, 0, 2);
  format.channels = static_cast<int>(ReadLe(fmt_body, 2, 2));
  format.rate = ReadLe(fmt_body, 4, 4);
  format.block_align = static_cast<int>(ReadLe(fmt_body, 12, 2));
  format.bits = static_cast<int>(ReadLe(fmt_body, 14, 2));
  read.channels = format.channels;
  read.bits = format.bits;
  const std::uint32_t tag = EffectiveTag(format, fmt_body);
  read.is_float = tag == kFormatFloat;
  if (format.tag == kFormatExtensible && fmt_body.size() < 26) {
    read.status = WavReadStatus::kBadFormat;
    return read;
  }
  const bool pcm = tag == kFormatPcm && (format.bits == 8 || format.bits == 16 ||
                                         format.bits == 24 || format.bits == 32);
  const bool floats = tag == kFormatFloat && format.bits == 32;
  if (format.channels < 1 || format.channels > 2 || !(pcm || floats)) {
    read.status = format.channels < 1 ? WavReadStatus::kBadFormat : WavReadStatus::kUnsupported;
    return read;
  }
  const int frame_bytes = format.channels * format.bits / 8;
  if (format.block_align != frame_bytes) {
    read.status = WavReadStatus::kBadFormat;
    return read;
  }
  if (format.rate < static_cast<std::uint32_t>(kLowestWavRate) ||
      format.rate > static_cast<std::uint32_t>(kHighestWavRate)) {
    read.status = WavReadStatus::kRateOutOfRange;
    return read;
  }
  const std::uint64_t frames = data.size() / static_cast<std::size_t>(frame_bytes);
  read.frames = frames;
  if (frames > most_frames) {
    read.status = WavReadStatus::kTooLong;
    return read;
  }
  read.clip.rate = static_cast<std::int32_t>(format.rate);
  read.clip.samples.resize(static_cast<std::size_t>(frames));
  const int sample_bytes = format.bits / 8;
  const char* p = data.data();
  if (format.bits == 16 && format.channels == 1) {
    // The common case, kept free of the general path's switch.
    for (std::size_t i = 0; i < frames; ++i, p += 2) {
      const auto v = static_cast<std::int16_t>(static_cast<std::uint8_t>(p[0]) |
                                               (static_cast<std::uint8_t>(p[1]) << 8));
      read.clip.samples[i] = static_cast<float>(v) / 32768.0F;
    }
    read.status = WavReadStatus::kRead;
    return read;
  }
  for (std::size_t i = 0; i < frames; ++i, p += frame_bytes) {
    float v = SampleAt(p, format.bits, read.is_float);
    if (format.channels == 2) {
      v = (v + SampleAt(p + sample_bytes, format.bits, read.is_float)) * 0.5F;
    }
    read.clip.samples[i] = v;
  }
  read.status = WavReadStatus::kRead;
  return read;
}

}  // namespace hoshizora
