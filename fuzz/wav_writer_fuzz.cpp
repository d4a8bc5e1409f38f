// The WAV writer. Input: frequency, speed (any 32-bit values), the number of
// the file seam's call that fails (0 creating the file, then each write, then
// the rename; 255 none), edge rise and effective speed, then the Code text,
// one byte per character. A written file's size fields agree with its length
// and its data holds 2 bytes per sample; a bad speed writes nothing; a failing
// file is never reported as written, never takes the WAV's name and is
// removed; the keying options keep what they promise.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "audio/wav_writer.h"
#include "base/keying_options.h"
#include "base/little_endian.h"
#include "base/unicode.h"
#include "fuzz_support.h"
#include "platform/system.h"

namespace {

using hoshizora::ByteSink;

// Counts the file seam's calls and fails the one it is told to.
struct CallCounter {
  int failing_call = -1;
  int calls = 0;
  bool Fails() { return calls++ == failing_call; }
  bool FailureHappened() const { return failing_call >= 0 && calls > failing_call; }
};

class MemorySink : public ByteSink {
 public:
  MemorySink(std::string& bytes, CallCounter& counter) : bytes_(bytes), counter_(counter) {}
  bool Write(std::string_view bytes) override {
    HOSHIZORA_CHECK(!finished_);
    if (counter_.Fails()) {
      return false;
    }
    bytes_.append(bytes);
    return true;
  }
  bool WriteAt(std::uint64_t offset, std::string_view bytes) override {
    HOSHIZORA_CHECK(!finished_);
    HOSHIZORA_CHECK(offset + bytes.size() <= bytes_.size());  // only rewrites
    if (counter_.Fails()) {
      return false;
    }
    bytes_.replace(offset, bytes.size(), bytes);
    return true;
  }
  bool Finish() override {
    HOSHIZORA_CHECK(!finished_);
    finished_ = true;
    return !counter_.Fails();
  }

 private:
  std::string& bytes_;
  CallCounter& counter_;
  bool finished_ = false;
};

// Only the file seam is used; files live in memory.
class MemorySystem : public hoshizora::System {
 public:
  explicit MemorySystem(CallCounter& counter) : counter_(counter) {}
  std::unique_ptr<ByteSink> CreateFile(const std::filesystem::path& path) override {
    HOSHIZORA_CHECK(path == hoshizora::PartialWavPath("/out/telegram") && !created_);
    if (counter_.Fails()) {
      return nullptr;
    }
    created_ = true;
    return std::make_unique<MemorySink>(file_, counter_);
  }
  // The whole file takes the WAV's name; a partial one is removed.
  bool RenameFile(const std::filesystem::path& from, const std::filesystem::path& to) override {
    HOSHIZORA_CHECK(created_ && !renamed_ && !removed_);
    HOSHIZORA_CHECK(from == hoshizora::PartialWavPath("/out/telegram") &&
                    to == "/out/telegram.wav");
    if (counter_.Fails()) {
      return false;
    }
    renamed_ = true;
    return true;
  }
  bool RemoveFile(const std::filesystem::path& path) override {
    HOSHIZORA_CHECK(path == hoshizora::PartialWavPath("/out/telegram") && !renamed_);
    removed_ = created_;
    return removed_;
  }
  bool Created() const { return created_; }
  bool Renamed() const { return renamed_; }
  bool Removed() const { return removed_; }
  const std::string& File() const { return file_; }

  std::filesystem::path ExecutablePath() override { return "/out/hoshizora"; }
  std::optional<hoshizora::LocalTime> LocalNow() override { return std::nullopt; }
  hoshizora::ProcessResult RunProcess(const std::vector<std::filesystem::path>&,
                                      const hoshizora::CancelFlag*) override {
    return {};
  }
  std::optional<std::uintmax_t> FileSize(const std::filesystem::path&) override {
    return std::nullopt;
  }
  bool PathExists(const std::filesystem::path&) override { return false; }
  hoshizora::FolderMade CreateFolder(const std::filesystem::path&) override {
    return hoshizora::FolderMade::kFailed;
  }
  void OpenWithDesktop(const std::filesystem::path&) override {}

 private:
  CallCounter& counter_;
  std::string file_;
  bool created_ = false;
  bool renamed_ = false;
  bool removed_ = false;
};

// Keeps one run's audio short, so that the fuzzer spends its time on
// variety rather than on long tones. The 5-second pause after a Group mark is
// silence and cheap to write, so it is not counted, but only two marks are
// let in: enough to key marks at any speed, and to count their pauses in
// Farnsworth spacing.
constexpr std::int64_t kLongestKeyingMs = 2000;
constexpr std::size_t kMostGroupMarks = 2;

struct Written {
  hoshizora::WavResult result;
  std::string bytes;
};

Written Write(std::u16string_view code, std::int32_t frequency, std::int32_t speed,
              const hoshizora::KeyingOptions& keying) {
  CallCounter counter;
  MemorySystem system(counter);
  const auto result =
      hoshizora::WriteMorseWav(system, "/out/telegram", code, frequency, speed, {}, keying);
  HOSHIZORA_CHECK(result.status == hoshizora::WavStatus::kWritten);
  return {result, system.File()};
}

std::int16_t SampleAt(const std::string& bytes, std::size_t index) {
  return static_cast<std::int16_t>(hoshizora::ReadLe(bytes, 44 + 2 * index, 2));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace hoshizora;
  FuzzedDataProvider input(data, size);
  const auto frequency = input.ConsumeIntegral<std::int32_t>();
  const auto speed = input.ConsumeIntegral<std::int32_t>();
  const auto failing_call = input.ConsumeIntegral<std::uint8_t>();
  KeyingOptions keying;
  keying.rise_ms = input.ConsumeIntegralInRange<int>(-2, kMaxRiseMs + 2);
  keying.effective_cpm = input.ConsumeIntegral<std::int16_t>();
  std::u16string code;
  std::size_t tokens = 0;
  for (char c : input.ConsumeRemainingBytesAsString()) {
    constexpr char16_t kAlphabet[] = {u'.', u'-', u' ', u'？', u'\t', u'\n', u'x', u'.'};
    const char16_t unit = kAlphabet[static_cast<std::uint8_t>(c) % 8];
    const bool blank = unit == u' ' || unit == u'\t' || unit == u'\n';
    tokens += !blank && (code.empty() || IsBlank(code.back())) ? 1 : 0;
    code.push_back(unit);
  }

  const bool rise = keying.rise_ms >= 1 && keying.rise_ms <= kMaxRiseMs;
  const bool farnsworth = keying.effective_cpm >= kMinEffectiveCpm && keying.effective_cpm < speed;
  const std::int64_t unit_ms = UnitLengthMs(farnsworth ? keying.effective_cpm : speed);
  std::int64_t estimate_ms = 0;
  std::size_t group_marks = 0;
  for (char16_t c : code) {
    estimate_ms += c == u'？' ? 22 * unit_ms : 4 * unit_ms;
    group_marks += c == u'？' ? 1 : 0;
  }
  if (estimate_ms > kLongestKeyingMs || group_marks > kMostGroupMarks) {
    return 0;
  }

  CallCounter counter{failing_call == 0xFF ? -1 : failing_call};
  MemorySystem system(counter);
  const WavResult result =
      WriteMorseWav(system, "/out/telegram", code, frequency, speed, {}, keying);
  if (UnitLengthMs(speed) <= 0) {
    HOSHIZORA_CHECK(result.status == WavStatus::kBadSpeed && !system.Created());
    return 0;
  }
  if (counter.FailureHappened()) {
    HOSHIZORA_CHECK(result.status ==
                    (system.Created() ? WavStatus::kWriteFailed : WavStatus::kCannotCreate));
    HOSHIZORA_CHECK(!system.Renamed() && system.Removed() == system.Created());
    return 0;
  }
  HOSHIZORA_CHECK(result.status == WavStatus::kWritten);
  HOSHIZORA_CHECK(system.Renamed() && !system.Removed());
  const std::string& bytes = system.File();
  HOSHIZORA_CHECK(bytes.size() == 44 + 2 * result.samples);
  HOSHIZORA_CHECK(bytes.substr(0, 4) == "RIFF" && bytes.substr(8, 8) == "WAVEfmt ");
  HOSHIZORA_CHECK(bytes.substr(36, 4) == "data");
  HOSHIZORA_CHECK(ReadLe(bytes, 4, 4) == bytes.size() - 8);
  HOSHIZORA_CHECK(ReadLe(bytes, 40, 4) == bytes.size() - 44);
  HOSHIZORA_CHECK(ReadLe(bytes, 24, 4) == static_cast<std::uint32_t>(kSampleRate));
  // Any token keys something, if only the pause after it.
  HOSHIZORA_CHECK((result.samples == 0) == (tokens == 0));

  // Keying options: off is byte for byte the plain file; edges only soften
  // the same samples; Farnsworth spacing lasts as long as plain keying at the
  // effective speed, give or take half a sample per token gap.
  const Written plain = Write(code, frequency, speed, {});
  if (!rise && !farnsworth) {
    HOSHIZORA_CHECK(bytes == plain.bytes);
  } else if (!farnsworth) {
    HOSHIZORA_CHECK(bytes.size() == plain.bytes.size());
    for (std::size_t i = 0; i < result.samples; ++i) {
      const int shaped = SampleAt(bytes, i);
      const int full = SampleAt(plain.bytes, i);
      HOSHIZORA_CHECK(shaped * full >= 0 && std::abs(shaped) <= std::abs(full));
    }
  } else {
    const Written slow = Write(code, frequency, keying.effective_cpm, {});
    const auto difference = static_cast<std::int64_t>(result.samples - slow.result.samples);
    HOSHIZORA_CHECK(result.samples >= plain.result.samples);
    HOSHIZORA_CHECK(2 * std::abs(difference) <= static_cast<std::int64_t>(tokens));
  }
  return 0;
}
