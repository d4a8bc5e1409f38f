#include "platform/wav_layout.h"

#include "base/little_endian.h"

namespace hoshizora {

std::optional<WavLayout> ReadWavLayout(std::string_view head) {
  if (head.size() < 12 || head.substr(0, 4) != "RIFF" || head.substr(8, 4) != "WAVE") {
    return std::nullopt;
  }
  std::optional<WavLayout> layout;
  std::size_t at = 12;
  while (at + 8 <= head.size()) {
    const std::string_view id = head.substr(at, 4);
    const std::uint64_t size = ReadLe(head, at + 4, 4);
    const std::size_t body = at + 8;
    if (id == "data") {
      if (!layout) {
        return std::nullopt;  // samples of no known format
      }
      layout->data_offset = body;
      return layout;
    }
    if (id == "fmt ") {
      if (size < 16 || body + 16 > head.size()) {
        return std::nullopt;
      }
      const auto tag = ReadLe(head, body, 2);
      WavLayout l;
      l.channels = static_cast<int>(ReadLe(head, body + 2, 2));
      l.sample_rate = static_cast<int>(ReadLe(head, body + 4, 4));
      l.bits = static_cast<int>(ReadLe(head, body + 14, 2));
      if (tag != 1 || l.channels < 1 || l.channels > 2 || l.sample_rate <= 0 ||
          (l.bits != 8 && l.bits != 16)) {
        return std::nullopt;
      }
      layout = l;
    }
    at = body + size + (size & 1);  // chunks are padded to an even length
  }
  return std::nullopt;
}

}  // namespace hoshizora
