#include "audio/mp3_check.h"

#include <array>
#include <optional>

namespace hoshizora {
namespace {

// Room after the tag for the first frame, its Xing header and the next
// frame's header: the largest Layer III frame is under 3 KiB.
constexpr std::uint64_t kFrameRoom = 8 * 1024;
constexpr std::size_t kId3HeaderBytes = 10;

// Encoder delay and padding add a frame or two; a lost tail is what this
// must catch. Durations taken from a frame count are exact enough to be held
// to both sides; one reckoned from the first frame's bitrate only from below,
// since a stream without a frame count may have changed bitrate after it.
constexpr double kShortShare = 0.95;
constexpr double kShortSlackSeconds = 0.5;
constexpr double kLongShare = 1.05;
constexpr double kLongSlackSeconds = 2.0;

struct FrameHeader {
  int version = 0;  // 3 MPEG-1, 2 MPEG-2, 0 MPEG-2.5
  int layer = 0;    // 1, 2 or 3
  std::uint32_t bitrate = 0;
  std::uint32_t sample_rate = 0;
  bool mono = false;
  std::uint32_t samples_per_frame = 0;
  std::uint32_t length = 0;  // bytes, header included
};

std::uint8_t Byte(std::string_view data, std::size_t at) {
  return static_cast<std::uint8_t>(data[at]);
}

std::uint32_t ReadBe32(std::string_view data, std::size_t at) {
  return (std::uint32_t{Byte(data, at)} << 24) | (std::uint32_t{Byte(data, at + 1)} << 16) |
         (std::uint32_t{Byte(data, at + 2)} << 8) | Byte(data, at + 3);
}

// kbps by [MPEG-1 or not][layer - 1][index]; index 0 (free format) and 15 are refused.
constexpr std::array<std::array<std::array<std::uint16_t, 15>, 3>, 2> kBitrates = {{
    {{{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
      {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
      {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}}},
    {{{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
      {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
      {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320}}},
}};
constexpr std::array<std::uint32_t, 3> kMpeg1Rates = {44100, 48000, 32000};

std::optional<FrameHeader> ParseFrameHeader(std::string_view data, std::size_t at) {
  if (at + 4 > data.size() || Byte(data, at) != 0xFF || (Byte(data, at + 1) & 0xE0) != 0xE0) {
    return std::nullopt;
  }
  const int version = (Byte(data, at + 1) >> 3) & 3;
  const int layer_bits = (Byte(data, at + 1) >> 1) & 3;
  const int bitrate_index = Byte(data, at + 2) >> 4;
  const int rate_index = (Byte(data, at + 2) >> 2) & 3;
  if (version == 1 || layer_bits == 0 || bitrate_index == 0 || bitrate_index == 15 ||
      rate_index == 3) {
    return std::nullopt;
  }
  FrameHeader h;
  h.version = version;
  h.layer = 4 - layer_bits;
  const bool mpeg1 = version == 3;
  h.bitrate = std::uint32_t{kBitrates[mpeg1 ? 1 : 0][h.layer - 1][bitrate_index]} * 1000;
  h.sample_rate = kMpeg1Rates[rate_index] / (mpeg1 ? 1 : version == 2 ? 2 : 4);
  h.mono = (Byte(data, at + 3) >> 6) == 3;
  const std::uint32_t padding = (Byte(data, at + 2) >> 1) & 1;
  if (h.layer == 1) {
    h.samples_per_frame = 384;
    h.length = (12 * h.bitrate / h.sample_rate + padding) * 4;
  } else {
    h.samples_per_frame = h.layer == 3 && !mpeg1 ? 576 : 1152;
    h.length = h.samples_per_frame / 8 * h.bitrate / h.sample_rate + padding;
  }
  return h;
}

bool SameStream(const FrameHeader& a, const FrameHeader& b) {
  return a.version == b.version && a.layer == b.layer && a.sample_rate == b.sample_rate;
}

// The frame count and stream size an encoder wrote into the first frame.
struct StreamInfo {
  std::optional<std::uint32_t> frames;
  std::optional<std::uint32_t> bytes;
};

StreamInfo ReadStreamInfo(std::string_view data, std::size_t frame, const FrameHeader& h) {
  StreamInfo info;
  if (h.layer != 3) {
    return info;
  }
  const std::size_t side_info = h.version == 3 ? (h.mono ? 17 : 32) : (h.mono ? 9 : 17);
  const std::size_t xing = frame + 4 + side_info;
  if (xing + 8 <= data.size() &&
      (data.substr(xing, 4) == "Xing" || data.substr(xing, 4) == "Info")) {
    const std::uint32_t flags = ReadBe32(data, xing + 4);
    std::size_t at = xing + 8;
    if ((flags & 1) != 0 && at + 4 <= data.size()) {
      info.frames = ReadBe32(data, at);
      at += 4;
    }
    if ((flags & 2) != 0 && at + 4 <= data.size()) {
      info.bytes = ReadBe32(data, at);
    }
    return info;
  }
  const std::size_t vbri = frame + 4 + 32;
  if (vbri + 18 <= data.size() && data.substr(vbri, 4) == "VBRI") {
    info.bytes = ReadBe32(data, vbri + 10);
    info.frames = ReadBe32(data, vbri + 14);
  }
  return info;
}

// The size of an ID3v2 tag at the start, footer included; 0 when there is none.
std::uint64_t Id3v2TagSize(std::string_view head) {
  if (head.size() < kId3HeaderBytes || head.substr(0, 3) != "ID3" || Byte(head, 3) == 0xFF ||
      Byte(head, 4) == 0xFF) {
    return 0;
  }
  std::uint64_t size = 0;
  for (std::size_t k = 6; k < 10; ++k) {
    if ((Byte(head, k) & 0x80) != 0) {
      return 0;  // not syncsafe: not a tag
    }
    size = (size << 7) | Byte(head, k);
  }
  const bool footer = (Byte(head, 5) & 0x10) != 0;
  return kId3HeaderBytes + size + (footer ? kId3HeaderBytes : 0);
}

}  // namespace

std::uint64_t Mp3HeadBytesWanted(std::string_view head) {
  return Id3v2TagSize(head) + kFrameRoom;
}

Mp3Verdict CheckMp3(std::string_view head, std::uint64_t file_size, std::uint64_t pcm_samples,
                    std::uint32_t pcm_sample_rate) {
  const std::uint64_t tag = Id3v2TagSize(head);
  if (tag > 0 && tag + 4 > file_size) {
    return Mp3Verdict::kTruncated;
  }
  if (tag + 4 > head.size()) {
    return Mp3Verdict::kNotMp3;
  }
  const auto start = static_cast<std::size_t>(tag);
  const auto first = ParseFrameHeader(head, start);
  if (!first) {
    return Mp3Verdict::kNotMp3;
  }
  // A lone frame header may be chance; the next frame must follow where this
  // one says it ends.
  const std::uint64_t second_at = tag + first->length;
  if (second_at > file_size) {
    return Mp3Verdict::kTruncated;
  }
  if (second_at + 4 <= file_size && second_at + 4 <= head.size()) {
    const auto second = ParseFrameHeader(head, static_cast<std::size_t>(second_at));
    if (!second || !SameStream(*first, *second)) {
      return Mp3Verdict::kNotMp3;
    }
  }

  const std::uint64_t stream_bytes = file_size - tag;
  const StreamInfo info = ReadStreamInfo(head, start, *first);
  if (info.bytes && stream_bytes < *info.bytes) {
    return Mp3Verdict::kTruncated;
  }
  const double pcm_seconds =
      pcm_sample_rate == 0 ? 0.0 : static_cast<double>(pcm_samples) / pcm_sample_rate;
  double mp3_seconds = 0;
  if (info.frames) {
    mp3_seconds = static_cast<double>(*info.frames) * first->samples_per_frame / first->sample_rate;
  } else {
    mp3_seconds = static_cast<double>(stream_bytes) * 8 / first->bitrate;
  }
  if (mp3_seconds < pcm_seconds * kShortShare - kShortSlackSeconds) {
    return info.frames ? Mp3Verdict::kWrongLength : Mp3Verdict::kTruncated;
  }
  if (info.frames && mp3_seconds > pcm_seconds * kLongShare + kLongSlackSeconds) {
    return Mp3Verdict::kWrongLength;
  }
  return Mp3Verdict::kWhole;
}

}  // namespace hoshizora
