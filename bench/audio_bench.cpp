#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "audio/mp3_check.h"
#include "audio/wav_writer.h"
#include "bench_telegrams.h"
#include "encoding/encode_telegram.h"
#include "encoding/group_marks.h"
#include "platform/paths.h"
#include "platform/posix/posix_system.h"

namespace {

namespace fs = std::filesystem;

fs::path BenchFolder() {
  const fs::path dir = fs::temp_directory_path() / "hoshizora-bench";
  fs::create_directories(dir);
  return dir;
}

// Reports seconds of audio written per second of wall time: the real-time factor.
void WriteWav(benchmark::State& state, const std::u16string& telegram,
              const hoshizora::KeyingOptions& keying = {}) {
  const std::u16string code = hoshizora::EncodeTelegram(hoshizora::InsertGroupMarks(telegram));
  const std::filesystem::path base = BenchFolder() / "bench";
  hoshizora::PosixSystem system;
  std::uint64_t samples = 0;
  for (auto _ : state) {
    const auto r = hoshizora::WriteMorseWav(system, base, code, 800, 100, {}, keying);
    if (r.status != hoshizora::WavStatus::kWritten) {
      state.SkipWithError("WAV not written");
      break;
    }
    samples += r.samples;
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(samples * 2));
  state.counters["audio_s_per_s"] = benchmark::Counter(
      static_cast<double>(samples) / hoshizora::kSampleRate, benchmark::Counter::kIsRate);
  fs::remove(BenchFolder() / "bench.wav");
}

void BM_WavSampleTelegram(benchmark::State& state) {
  WriteWav(state, hoshizora::bench::SampleTelegramText());
}
BENCHMARK(BM_WavSampleTelegram)->Unit(benchmark::kMillisecond)->UseRealTime();

// Shaped edges change only the two precomputed elements; the rest is the same
// block copying as plain keying.
void BM_WavSampleTelegramShaped(benchmark::State& state) {
  WriteWav(state, hoshizora::bench::SampleTelegramText(),
           {.rise_ms = static_cast<int>(state.range(0))});
}
BENCHMARK(BM_WavSampleTelegramShaped)
    ->Arg(5)
    ->Arg(20)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_WavSampleTelegramShapedFarnsworth(benchmark::State& state) {
  WriteWav(state, hoshizora::bench::SampleTelegramText(), {.rise_ms = 5, .effective_cpm = 50});
}
BENCHMARK(BM_WavSampleTelegramShapedFarnsworth)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WavLongestBody(benchmark::State& state) {
  WriteWav(state, hoshizora::bench::LongestBody());
}
BENCHMARK(BM_WavLongestBody)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_WavLongestBodyShaped(benchmark::State& state) {
  WriteWav(state, hoshizora::bench::LongestBody(), {.rise_ms = 5});
}
BENCHMARK(BM_WavLongestBodyShaped)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// The floor: copying the same number of bytes into a file.
void BM_CopyBytesOfSampleTelegram(benchmark::State& state) {
  const std::u16string code = hoshizora::EncodeTelegram(
      hoshizora::InsertGroupMarks(hoshizora::bench::SampleTelegramText()));
  const std::filesystem::path base = BenchFolder() / "size";
  hoshizora::PosixSystem system;
  const std::uint64_t bytes = hoshizora::WriteMorseWav(system, base, code, 800, 100).samples * 2;
  const std::vector<char> block(1 << 20, 1);
  for (auto _ : state) {
    std::ofstream out(BenchFolder() / "copy.bin", std::ios::binary | std::ios::trunc);
    for (std::uint64_t left = bytes; left > 0;) {
      const auto n = std::min<std::uint64_t>(left, block.size());
      out.write(block.data(), static_cast<std::streamsize>(n));
      left -= n;
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
  fs::remove(BenchFolder() / "copy.bin");
  fs::remove(BenchFolder() / "size.wav");
}
BENCHMARK(BM_CopyBytesOfSampleTelegram)->Unit(benchmark::kMillisecond)->UseRealTime();

// The whole-MP3 check as the audio step runs it after the encoder: the
// sample telegram's MP3 from the installed LAME, read from the file in pieces
// and walked frame by frame.
void BM_Mp3CheckSampleTelegram(benchmark::State& state) {
  const std::u16string code = hoshizora::EncodeTelegram(
      hoshizora::InsertGroupMarks(hoshizora::bench::SampleTelegramText()));
  const fs::path base = BenchFolder() / "mp3";
  hoshizora::PosixSystem system;
  const std::uint64_t samples = hoshizora::WriteMorseWav(system, base, code, 440, 100).samples;
  const fs::path mp3 = BenchFolder() / "mp3.mp3";
  const hoshizora::ProcessResult encoded =
      system.RunProcess({"/usr/bin/lame", "--quiet", BenchFolder() / "mp3.wav", mp3}, nullptr);
  if (encoded.kind != hoshizora::ProcessResult::Kind::kExited || encoded.exit_code != 0) {
    state.SkipWithError("lame did not encode the sample telegram");
    return;
  }
  const std::uint64_t size = fs::file_size(mp3);
  const hoshizora::Mp3Reader read = [&](std::uint64_t offset,
                                        std::size_t length) -> std::optional<std::string> {
    hoshizora::FileRead part = system.ReadFilePart(mp3, offset, length);
    if (part.status != hoshizora::FileRead::Status::kRead) {
      return std::nullopt;
    }
    return std::move(part.bytes);
  };
  for (auto _ : state) {
    if (hoshizora::CheckMp3(read, size, samples, hoshizora::kSampleRate) !=
        hoshizora::Mp3Verdict::kWhole) {
      state.SkipWithError("the sample telegram's MP3 was not taken as whole");
      break;
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
  fs::remove(mp3);
  fs::remove(BenchFolder() / "mp3.wav");
}
BENCHMARK(BM_Mp3CheckSampleTelegram)->Unit(benchmark::kMillisecond)->UseRealTime();

// The copy of the sample telegram's WAV kept aside while the encoder runs.
void BM_WavGuardCopySampleTelegram(benchmark::State& state) {
  const std::u16string code = hoshizora::EncodeTelegram(
      hoshizora::InsertGroupMarks(hoshizora::bench::SampleTelegramText()));
  hoshizora::PosixSystem system;
  const std::uint64_t samples =
      hoshizora::WriteMorseWav(system, BenchFolder() / "guard", code, 440, 100).samples;
  for (auto _ : state) {
    if (!system.CopyFileTo(BenchFolder() / "guard.wav", BenchFolder() / ".guard.wav.keep")) {
      state.SkipWithError("no copy");
      break;
    }
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * (44 + samples * 2)));
  fs::remove(BenchFolder() / ".guard.wav.keep");
  fs::remove(BenchFolder() / "guard.wav");
}
BENCHMARK(BM_WavGuardCopySampleTelegram)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
