#include <benchmark/benchmark.h>

#include "encoding/code_tables.h"
#include "encoding/default_telegram.h"
#include "encoding/encode_telegram.h"
#include "encoding/group_marks.h"

namespace {

// A full 4095-character body: the sample body's characters repeated between the signs.
std::u16string LongestBody() {
  const std::u16string sample = hoshizora::MakeDefaultTelegram(std::nullopt).body;
  const std::u16string inner = sample.substr(4, sample.size() - 8);
  std::u16string body = u"[ホレ]";
  while (body.size() < 4095 - 4) {
    body.push_back(inner[body.size() % inner.size()]);
  }
  return body + u"[ラタ]";
}

void BM_MarkAndEncodeLongestBody(benchmark::State& state) {
  hoshizora::BuildCodeTables();
  const std::u16string body = LongestBody();
  for (auto _ : state) {
    std::u16string code = hoshizora::EncodeTelegram(hoshizora::InsertGroupMarks(body));
    benchmark::DoNotOptimize(code);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(body.size()));
}
BENCHMARK(BM_MarkAndEncodeLongestBody);

}  // namespace
