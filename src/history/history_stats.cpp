#include "history/history_stats.h"

#include <algorithm>
#include <cstdint>

namespace hoshizora {
namespace {

constexpr std::size_t kTrendWindow = 10;

// Exact, so that equal rates such as 1/2 and 2/4 tie and the order is the
// same on every machine.
bool Worse(const CharacterStanding& a, const CharacterStanding& b) {
  const std::int64_t left = static_cast<std::int64_t>(a.errors) * b.heard;
  const std::int64_t right = static_cast<std::int64_t>(b.errors) * a.heard;
  if (left != right) {
    return left > right;
  }
  if (a.errors != b.errors) {
    return a.errors > b.errors;
  }
  if (a.heard != b.heard) {
    return a.heard > b.heard;
  }
  return a.character < b.character;
}

}  // namespace

std::vector<HistoryRecord> RecordsOfKind(const std::vector<HistoryRecord>& records,
                                         HistoryKind kind) {
  std::vector<HistoryRecord> of_kind;
  for (const HistoryRecord& record : records) {
    if (record.kind == kind) {
      of_kind.push_back(record);
    }
  }
  return of_kind;
}

HistorySummary SummarizeHistory(const std::vector<HistoryRecord>& records,
                                std::optional<std::size_t> last) {
  const std::size_t count = last ? std::min(*last, records.size()) : records.size();
  HistorySummary summary;
  CharacterTallies characters;
  ConfusionTallies confusions;
  for (std::size_t i = records.size() - count; i < records.size(); ++i) {
    const HistoryRecord& record = records[i];
    ++summary.checks;
    summary.scores.push_back(record.score);
    for (const auto& [character, tally] : record.characters) {
      characters[character].heard += tally.heard;
      characters[character].errors += tally.errors;
    }
    for (const auto& [pair, times] : record.confusions) {
      confusions[pair] += times;
    }
  }
  for (const auto& [character, tally] : characters) {
    summary.characters.push_back({character, tally.heard, tally.errors});
  }
  std::sort(summary.characters.begin(), summary.characters.end(), Worse);
  for (const auto& [pair, times] : confusions) {
    summary.confusions.push_back({pair.first, pair.second, times});
  }
  // The map is already ordered by the pair, so a stable sort by count keeps
  // that order among equals.
  std::stable_sort(
      summary.confusions.begin(), summary.confusions.end(),
      [](const ConfusionStanding& a, const ConfusionStanding& b) { return a.count > b.count; });
  return summary;
}

std::optional<ScoreTrend> TrendOf(const std::vector<int>& scores) {
  if (scores.empty()) {
    return std::nullopt;
  }
  ScoreTrend trend;
  trend.first = scores.front();
  trend.last = scores.back();
  trend.best = *std::max_element(scores.begin(), scores.end());
  const std::size_t window = std::min(kTrendWindow, scores.size());
  double sum = 0;
  for (std::size_t i = scores.size() - window; i < scores.size(); ++i) {
    sum += scores[i];
  }
  trend.mean_of_last_ten = sum / static_cast<double>(window);
  return trend;
}

}  // namespace hoshizora
