// The whole-MP3 check. Input: the PCM sample count (4 bytes, little-endian),
// a read size for the file's reader (1 byte), then the MP3 file. Arbitrary
// bytes neither crash nor hang it; the verdict does not depend on how the
// reader hands out the file; a file taken as whole is never whole for audio
// ten seconds longer, far past any encoder's delay and padding.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "audio/mp3_check.h"
#include "fuzz_support.h"

namespace {

using hoshizora::CheckMp3;
using hoshizora::Mp3Verdict;

constexpr std::uint32_t kRate = 44100;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 5) {
    return 0;
  }
  const std::uint32_t samples = data[0] | (data[1] << 8) | (data[2] << 16) |
                                (static_cast<std::uint32_t>(data[3] & 0x0F) << 24);
  const std::size_t extra = data[4];
  const std::string file(hoshizora::fuzz::AsBytes(data + 5, size - 5));

  const Mp3Verdict verdict = CheckMp3(file, samples, kRate);
  // A reader that hands out more than asked, from a copy it may change afterwards.
  const hoshizora::Mp3Reader generous = [&](std::uint64_t offset, std::size_t length) {
    const auto from = static_cast<std::size_t>(std::min<std::uint64_t>(offset, file.size()));
    return std::optional<std::string>(file.substr(from, length + extra));
  };
  HOSHIZORA_CHECK(CheckMp3(generous, file.size(), samples, kRate) == verdict);

  if (verdict == Mp3Verdict::kWhole) {
    HOSHIZORA_CHECK(CheckMp3(file, samples + 44100ULL * 10, kRate) != Mp3Verdict::kWhole);
  }
  return 0;
}
