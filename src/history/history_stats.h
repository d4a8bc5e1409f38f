#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "history/history_record.h"

namespace hoshizora {

struct CharacterStanding {
  std::u16string character;
  int heard = 0;
  int errors = 0;
  double Rate() const { return heard == 0 ? 0.0 : static_cast<double>(errors) / heard; }
};

struct ConfusionStanding {
  std::u16string expected;
  std::u16string got;
  int count = 0;
};

// How the learner stands over a run of records.
struct HistorySummary {
  int checks = 0;
  // Worst first: by error rate (errors ÷ heard), then by more errors, then
  // by more hearings, then by the character's code units.
  std::vector<CharacterStanding> characters;
  // Most frequent first, then by expected and written character.
  std::vector<ConfusionStanding> confusions;
  std::vector<int> scores;  // oldest first
};

// The records of one kind, in their order: a learner's sending and reception
// are weak in different characters.
std::vector<HistoryRecord> RecordsOfKind(const std::vector<HistoryRecord>& records,
                                         HistoryKind kind);

// The records' tallies added up; `last` keeps only the newest that many.
HistorySummary SummarizeHistory(const std::vector<HistoryRecord>& records,
                                std::optional<std::size_t> last = std::nullopt);

struct ScoreTrend {
  int first = 0;
  int best = 0;
  int last = 0;
  double mean_of_last_ten = 0;  // of the last ten scores, or all when fewer
};

// Nothing without scores.
std::optional<ScoreTrend> TrendOf(const std::vector<int>& scores);

}  // namespace hoshizora
