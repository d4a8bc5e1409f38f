// The WAV writer. Input: frequency and speed (any 32-bit values), then the
// Code text, one byte per character. A written file's size fields agree with
// its length and its data holds 2 bytes per sample; a bad speed writes nothing.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "audio/wav_writer.h"
#include "base/little_endian.h"
#include "fuzz_support.h"

namespace {

// A folder of its own under the temporary folder, removed at exit.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::random_device random;
    do {
      path_ = std::filesystem::temp_directory_path() /
              ("hoshizora-wav-fuzz-" + std::to_string(random()));
    } while (!std::filesystem::create_directory(path_));
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Keeps one run's audio short, so that the fuzzer spends its time on
// variety rather than on writing long tones.
constexpr std::int64_t kLongestRunMs = 4000;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace hoshizora;
  static const ScratchFolder folder;
  FuzzedDataProvider input(data, size);
  const auto frequency = input.ConsumeIntegral<std::int32_t>();
  const auto speed = input.ConsumeIntegral<std::int32_t>();
  std::u16string code;
  for (char c : input.ConsumeRemainingBytesAsString()) {
    constexpr char16_t kAlphabet[] = {u'.', u'-', u' ', u'？', u'\t', u'\n', u'x', u'.'};
    code.push_back(kAlphabet[static_cast<std::uint8_t>(c) % 8]);
  }

  const std::int64_t unit_ms = speed <= -10 ? 0 : 12000 / (std::int64_t{speed} + 10);
  std::int64_t estimate_ms = 0;
  for (char16_t c : code) {
    estimate_ms += c == u'？' ? 5000 + 22 * unit_ms : 4 * unit_ms;
  }
  if (estimate_ms > kLongestRunMs) {
    return 0;
  }

  const std::filesystem::path wav = folder.path() / "telegram.wav";
  const WavResult result = WriteMorseWav(folder.path() / "telegram", code, frequency, speed);
  if (unit_ms <= 0) {
    HOSHIZORA_CHECK(result.status == WavStatus::kBadSpeed);
    HOSHIZORA_CHECK(!std::filesystem::exists(wav));
    return 0;
  }
  HOSHIZORA_CHECK(result.status == WavStatus::kWritten);
  const std::string bytes = ReadAll(wav);
  std::filesystem::remove(wav);
  HOSHIZORA_CHECK(bytes.size() == 44 + 2 * result.samples);
  HOSHIZORA_CHECK(bytes.substr(0, 4) == "RIFF" && bytes.substr(8, 8) == "WAVEfmt ");
  HOSHIZORA_CHECK(bytes.substr(36, 4) == "data");
  HOSHIZORA_CHECK(ReadLe(bytes, 4, 4) == bytes.size() - 8);
  HOSHIZORA_CHECK(ReadLe(bytes, 40, 4) == bytes.size() - 44);
  HOSHIZORA_CHECK(ReadLe(bytes, 24, 4) == static_cast<std::uint32_t>(kSampleRate));
  // Any token keys something, if only the pause after it.
  bool blank = true;
  for (char16_t c : code) {
    blank = blank && (c == u' ' || c == u'\t' || c == u'\n');
  }
  HOSHIZORA_CHECK((result.samples == 0) == blank);
  return 0;
}
