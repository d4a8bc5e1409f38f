#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "audio/wav_writer.h"
#include "bench_telegrams.h"
#include "decode/decoder.h"
#include "decode/timing_feedback.h"
#include "decode/wav_reader.h"
#include "encoding/encode_telegram.h"
#include "encoding/group_marks.h"
#include "platform/posix/posix_system.h"
#include "support/keyed_signal.h"

namespace {

namespace fs = std::filesystem;

// The sample telegram keyed by the program at 100 CPM, 44.1 kHz.
const std::string& SampleWavBytes() {
  static const std::string bytes = [] {
    const fs::path dir = fs::temp_directory_path() / "hoshizora-bench";
    fs::create_directories(dir);
    hoshizora::PosixSystem system;
    const std::u16string code = hoshizora::EncodeTelegram(
        hoshizora::InsertGroupMarks(hoshizora::bench::SampleTelegramText()));
    hoshizora::WriteMorseWav(system, dir / "decode", code, 700, 100);
    std::ifstream in(dir / "decode.wav", std::ios::binary);
    std::string b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    fs::remove(dir / "decode.wav");
    return b;
  }();
  return bytes;
}

// Reports seconds of audio decoded per second of CPU time: times real time on
// one core, whatever else the machine is running (the decoder is one thread).
void Decode(benchmark::State& state, const hoshizora::AudioClip& clip) {
  for (auto _ : state) {
    const hoshizora::DecodeResult r = hoshizora::DecodeAudio(clip);
    benchmark::DoNotOptimize(hoshizora::MeasureTiming(r));
  }
  state.counters["x_real_time"] =
      benchmark::Counter(static_cast<double>(clip.samples.size()) / clip.rate,
                         benchmark::Counter::kIsIterationInvariantRate);
}

void BM_ReadWav(benchmark::State& state) {
  const std::string& bytes = SampleWavBytes();
  for (auto _ : state) {
    benchmark::DoNotOptimize(hoshizora::ReadWav(bytes));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_ReadWav)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_DecodeSample44k(benchmark::State& state) {
  Decode(state, hoshizora::ReadWav(SampleWavBytes()).clip);
}
BENCHMARK(BM_DecodeSample44k)->Unit(benchmark::kMillisecond);

void BM_DecodeNoisy8k(benchmark::State& state) {
  const std::u16string code = hoshizora::EncodeTelegram(hoshizora::bench::SampleTelegramText());
  hoshizora::AudioClip clip{
      8000, hoshizora::testing::Tone(hoshizora::testing::KeyCode(code, 0.109), 8000, 700)};
  hoshizora::testing::AddNoise(clip.samples, 8000, 0.5, 0, 1);
  Decode(state, clip);
}
BENCHMARK(BM_DecodeNoisy8k)->Unit(benchmark::kMillisecond);

}  // namespace
