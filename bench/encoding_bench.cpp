#include <benchmark/benchmark.h>

#include "bench_telegrams.h"
#include "encoding/code_tables.h"
#include "encoding/default_telegram.h"
#include "encoding/encode_telegram.h"
#include "encoding/group_marks.h"

namespace {

void BM_MarkAndEncodeLongestBody(benchmark::State& state) {
  hoshizora::BuildCodeTables();
  const std::u16string body = hoshizora::bench::LongestBody();
  for (auto _ : state) {
    std::u16string code = hoshizora::EncodeTelegram(hoshizora::InsertGroupMarks(body));
    benchmark::DoNotOptimize(code);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(body.size()));
}
BENCHMARK(BM_MarkAndEncodeLongestBody);

}  // namespace
