#include "audio/mp3_check.h"

#include <algorithm>
#include <array>

namespace hoshizora {
namespace {

// Read in pieces this large: a few reads for a telegram's MP3, and memory
// that does not grow with a long one.
constexpr std::size_t kReadChunk = 256 * 1024;
constexpr std::size_t kId3HeaderBytes = 10;
constexpr std::size_t kId3v1Bytes = 128;
constexpr std::size_t kApeFooterBytes = 32;

// An encoder's delay and padding: LAME adds 1105 samples in front and pads
// the last frame, about 2,300 at most; a resampling encoder a little more.
// The stream may be that much longer than the audio, plus two frames of
// slack, and one frame shorter. Anything further off has lost audio or is
// not this audio.
constexpr std::uint64_t kDelaySlackSamples = 2500;
constexpr std::uint64_t kLongSlackFrames = 2;
constexpr std::uint64_t kShortSlackFrames = 1;

struct FrameHeader {
  int version = 0;       // 3 MPEG-1, 2 MPEG-2, 0 MPEG-2.5
  int layer = 0;         // 1, 2 or 3
  int channel_mode = 0;  // 3 mono
  bool crc = false;
  std::uint32_t sample_rate = 0;
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

std::uint32_t ReadLe32(std::string_view data, std::size_t at) {
  return (std::uint32_t{Byte(data, at + 3)} << 24) | (std::uint32_t{Byte(data, at + 2)} << 16) |
         (std::uint32_t{Byte(data, at + 1)} << 8) | Byte(data, at);
}

// kbps by [MPEG-1 or not][layer - 1][index]; index 0 (free format, whose
// frame length no header tells) and 15 are refused.
constexpr std::array<std::array<std::array<std::uint16_t, 15>, 3>, 2> kBitrates = {{
    {{{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
      {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
      {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}}},
    {{{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
      {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
      {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320}}},
}};
constexpr std::array<std::uint32_t, 3> kMpeg1Rates = {44100, 48000, 32000};

// The four bytes of a frame header; nullopt for anything a decoder would not take.
std::optional<FrameHeader> ParseFrameHeader(std::string_view b) {
  if (b.size() < 4 || Byte(b, 0) != 0xFF || (Byte(b, 1) & 0xE0) != 0xE0) {
    return std::nullopt;
  }
  const int version = (Byte(b, 1) >> 3) & 3;
  const int layer_bits = (Byte(b, 1) >> 1) & 3;
  const int bitrate_index = Byte(b, 2) >> 4;
  const int rate_index = (Byte(b, 2) >> 2) & 3;
  const int emphasis = Byte(b, 3) & 3;
  if (version == 1 || layer_bits == 0 || bitrate_index == 0 || bitrate_index == 15 ||
      rate_index == 3 || emphasis == 2) {
    return std::nullopt;
  }
  FrameHeader h;
  h.version = version;
  h.layer = 4 - layer_bits;
  h.crc = (Byte(b, 1) & 1) == 0;
  h.channel_mode = Byte(b, 3) >> 6;
  const bool mpeg1 = version == 3;
  const std::uint32_t bitrate =
      std::uint32_t{kBitrates[mpeg1 ? 1 : 0][h.layer - 1][bitrate_index]} * 1000;
  h.sample_rate = kMpeg1Rates[rate_index] / (mpeg1 ? 1 : version == 2 ? 2 : 4);
  const std::uint32_t padding = (Byte(b, 2) >> 1) & 1;
  if (h.layer == 1) {
    h.samples_per_frame = 384;
    h.length = (12 * bitrate / h.sample_rate + padding) * 4;
  } else {
    h.samples_per_frame = h.layer == 3 && !mpeg1 ? 576 : 1152;
    h.length = h.samples_per_frame / 8 * bitrate / h.sample_rate + padding;
  }
  return h;
}

bool SameStream(const FrameHeader& a, const FrameHeader& b) {
  return a.version == b.version && a.layer == b.layer && a.sample_rate == b.sample_rate &&
         a.channel_mode == b.channel_mode;
}

// What a Xing, Info or VBRI header in the first frame says of the stream.
// Such a frame is the encoder's note, decoded as silence: it holds no audio.
struct StreamInfo {
  bool present = false;
  std::optional<std::uint32_t> frames;
  std::optional<std::uint32_t> bytes;
};

StreamInfo ReadStreamInfo(std::string_view frame, const FrameHeader& h) {
  StreamInfo info;
  if (h.layer != 3) {
    return info;
  }
  const std::size_t side_info =
      h.version == 3 ? (h.channel_mode == 3 ? 17 : 32) : (h.channel_mode == 3 ? 9 : 17);
  const std::size_t xing = 4 + (h.crc ? 2 : 0) + side_info;
  if (xing + 8 <= frame.size() &&
      (frame.substr(xing, 4) == "Xing" || frame.substr(xing, 4) == "Info")) {
    info.present = true;
    const std::uint32_t flags = ReadBe32(frame, xing + 4);
    std::size_t at = xing + 8;
    if ((flags & 1) != 0 && at + 4 <= frame.size()) {
      info.frames = ReadBe32(frame, at);
      at += 4;
    }
    if ((flags & 2) != 0 && at + 4 <= frame.size()) {
      info.bytes = ReadBe32(frame, at);
    }
    return info;
  }
  constexpr std::size_t kVbri = 4 + 32;
  if (kVbri + 18 <= frame.size() && frame.substr(kVbri, 4) == "VBRI") {
    info.present = true;
    info.bytes = ReadBe32(frame, kVbri + 10);
    info.frames = ReadBe32(frame, kVbri + 14);
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

// The file seen through a buffer that moves forward with the walk.
class Window {
 public:
  Window(const Mp3Reader& read, std::uint64_t size) : read_(read), size_(size) {}

  // The bytes [at, at + n): nullopt when they run past the file's end, or
  // (with failed() set) when reading failed or the file came up short.
  std::optional<std::string_view> Bytes(std::uint64_t at, std::size_t n) {
    if (at > size_ || n > size_ - at) {
      return std::nullopt;
    }
    if (at < start_ || at + n > start_ + buffer_.size()) {
      std::optional<std::string> got = read_(at, std::max(n, kReadChunk));
      if (!got || got->size() < n) {
        failed_ = true;
        return std::nullopt;
      }
      buffer_ = std::move(*got);
      start_ = at;
    }
    return std::string_view(buffer_).substr(static_cast<std::size_t>(at - start_), n);
  }
  bool failed() const { return failed_; }

 private:
  const Mp3Reader& read_;
  std::uint64_t size_;
  std::uint64_t start_ = 0;
  std::string buffer_;
  bool failed_ = false;
};

// Whether [from, end) is nothing but an APE tag and an ID3v1 tag, each optional,
// in that order: what taggers put after the last frame.
bool OnlyClosingTags(Window& file, std::uint64_t from, std::uint64_t end) {
  if (end - from >= kId3v1Bytes) {
    const auto tag = file.Bytes(end - kId3v1Bytes, 3);
    if (tag && *tag == "TAG") {
      end -= kId3v1Bytes;
    }
  }
  if (end - from >= kApeFooterBytes) {
    const auto footer = file.Bytes(end - kApeFooterBytes, kApeFooterBytes);
    if (footer && footer->substr(0, 8) == "APETAGEX") {
      // The size counts the items and the footer; a header, when flagged, comes on top.
      const std::uint64_t size = ReadLe32(*footer, 12);
      const bool header = (ReadLe32(*footer, 20) & 0x80000000U) != 0;
      const std::uint64_t whole = size + (header ? kApeFooterBytes : 0);
      if (size >= kApeFooterBytes && whole <= end - from) {
        end -= whole;
      }
    }
  }
  return end == from;
}

}  // namespace

Mp3Verdict CheckMp3(const Mp3Reader& read, std::uint64_t file_size, std::uint64_t pcm_samples,
                    std::uint32_t pcm_sample_rate) {
  Window file(read, file_size);
  const auto unreadable_or = [&](Mp3Verdict verdict) {
    return file.failed() ? Mp3Verdict::kUnreadable : verdict;
  };

  std::uint64_t at = 0;
  if (const auto head = file.Bytes(0, kId3HeaderBytes)) {
    at = Id3v2TagSize(*head);
  }
  if (at > file_size) {
    return unreadable_or(Mp3Verdict::kTruncated);
  }
  const auto first_bytes = file.Bytes(at, 4);
  const std::optional<FrameHeader> first =
      first_bytes ? ParseFrameHeader(*first_bytes) : std::nullopt;
  if (!first) {
    return unreadable_or(Mp3Verdict::kNotMp3);
  }
  const std::uint64_t stream_start = at;
  const auto first_frame = file.Bytes(at, first->length);
  if (!first_frame) {
    return unreadable_or(Mp3Verdict::kTruncated);
  }
  const StreamInfo info = ReadStreamInfo(*first_frame, *first);

  if (pcm_sample_rate == 0) {
    return Mp3Verdict::kWrongLength;
  }
  const std::uint64_t spf = first->samples_per_frame;
  // The audio's length at the stream's sample rate, and the longest stream
  // that can be it: no need to walk on past that.
  const std::uint64_t expected = pcm_samples * first->sample_rate / pcm_sample_rate;
  const std::uint64_t longest = expected + kDelaySlackSamples + kLongSlackFrames * spf;

  std::uint64_t audio_frames = 0;
  for (;;) {
    const auto header_bytes = file.Bytes(at, 4);
    const std::optional<FrameHeader> h =
        header_bytes ? ParseFrameHeader(*header_bytes) : std::nullopt;
    if (!h || !SameStream(*first, *h)) {
      break;
    }
    if (h->length > file_size - at) {
      return unreadable_or(Mp3Verdict::kTruncated);
    }
    if (at != stream_start || !info.present) {
      if (++audio_frames * spf > longest) {
        return Mp3Verdict::kWrongLength;
      }
    }
    at += h->length;
  }
  if (file.failed()) {
    return Mp3Verdict::kUnreadable;
  }
  const std::uint64_t stream_end = at;
  if (!OnlyClosingTags(file, stream_end, file_size)) {
    return unreadable_or(Mp3Verdict::kBroken);
  }

  // An encoder's counts are believed only where the frames bear them out. Its
  // frame count may or may not include its own frame, its byte count the tag
  // in front.
  if (info.frames && *info.frames != audio_frames && *info.frames != audio_frames + 1) {
    return *info.frames > audio_frames ? Mp3Verdict::kTruncated : Mp3Verdict::kBroken;
  }
  if (info.bytes) {
    const std::uint64_t frames_bytes = stream_end - stream_start;
    if (*info.bytes != frames_bytes && *info.bytes != frames_bytes - first->length &&
        *info.bytes != stream_end) {
      return *info.bytes > frames_bytes ? Mp3Verdict::kTruncated : Mp3Verdict::kBroken;
    }
  }

  if (audio_frames == 0 || audio_frames * spf + kShortSlackFrames * spf < expected) {
    return Mp3Verdict::kWrongLength;
  }
  return Mp3Verdict::kWhole;
}

Mp3Verdict CheckMp3(std::string_view file, std::uint64_t pcm_samples,
                    std::uint32_t pcm_sample_rate) {
  const Mp3Reader read = [file](std::uint64_t offset, std::size_t length) {
    const auto from = static_cast<std::size_t>(std::min<std::uint64_t>(offset, file.size()));
    return std::optional<std::string>(file.substr(from, length));
  };
  return CheckMp3(read, file.size(), pcm_samples, pcm_sample_rate);
}

}  // namespace hoshizora
