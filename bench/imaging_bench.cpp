#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cstdlib>
#include <filesystem>

#include "bench_telegrams.h"
#include "encoding/default_telegram.h"
#include "encoding/group_marks.h"
#include "imaging/form_images.h"
#include "imaging/text_listing.h"
#include "platform/paths.h"
#include "platform/posix/posix_system.h"
#include "platform/qt/qt_canvas.h"

namespace {

namespace fs = std::filesystem;

fs::path BenchFolder() {
  const fs::path dir = fs::temp_directory_path() / "hoshizora-imaging-bench";
  fs::create_directories(dir);
  return dir;
}

// Form pages of the longest body, saved as JPEGs; reported per page.
void BM_FormPagesLongestBody(benchmark::State& state) {
  hoshizora::QtCanvas canvas;
  hoshizora::PosixSystem system;
  hoshizora::TelegramFields fields = hoshizora::MakeDefaultTelegram(std::nullopt);
  fields.body = hoshizora::bench::LongestBody();
  const hoshizora::FormDestination where{HOSHIZORA_PROGRAM_DIR, BenchFolder(), u"bench"};
  std::int64_t pages = 0;
  for (auto _ : state) {
    const auto outcome = hoshizora::WriteFormImages(canvas, system, where, fields);
    if (outcome.status != hoshizora::ImageStatus::kWritten) {
      state.SkipWithError("form pages not written");
      break;
    }
    pages += static_cast<std::int64_t>(outcome.written.size());
  }
  state.SetItemsProcessed(pages);  // pages per second
}
BENCHMARK(BM_FormPagesLongestBody)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void BM_ListingSampleTelegram(benchmark::State& state) {
  hoshizora::QtCanvas canvas;
  hoshizora::PosixSystem system;
  const std::u16string text = hoshizora::InsertGroupMarks(hoshizora::bench::SampleTelegramText());
  const std::filesystem::path base = BenchFolder() / "listing";
  for (auto _ : state) {
    hoshizora::WriteTextListingImage(canvas, system, text, 800, 100, base);
  }
}
BENCHMARK(BM_ListingSampleTelegram)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ListingLongestBody(benchmark::State& state) {
  hoshizora::QtCanvas canvas;
  hoshizora::PosixSystem system;
  const std::u16string text = hoshizora::InsertGroupMarks(hoshizora::bench::LongestBody());
  const std::filesystem::path base = BenchFolder() / "listing";
  for (auto _ : state) {
    hoshizora::WriteTextListingImage(canvas, system, text, 800, 100, base);
  }
}
BENCHMARK(BM_ListingLongestBody)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::remove_all(BenchFolder());
  return 0;
}
