#include "app/weak_focus.h"

#include "history/history_file.h"
#include "history/history_stats.h"

namespace hoshizora {
namespace {

constexpr std::size_t kWeakestNamed = 5;

}  // namespace

WeakFocus ReadWeakFocus(System& system, const std::filesystem::path& history_file) {
  WeakFocus focus;
  const HistoryRead read = ReadHistory(system, history_file);
  focus.unreadable = read.status == HistoryRead::Status::kUnreadable;
  const HistorySummary summary =
      SummarizeHistory(RecordsOfKind(read.records, HistoryKind::kReception));
  focus.checks = summary.checks;
  for (const CharacterStanding& c : summary.characters) {
    if (c.errors == 0) {
      break;  // worst first: the rest were never missed
    }
    focus.weights[c.character] = FocusWeight(c.heard, c.errors);
    if (focus.weakest.size() < kWeakestNamed) {
      focus.weakest.push_back(c.character);
    }
  }
  return focus;
}

}  // namespace hoshizora
