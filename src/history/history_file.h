#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>

#include "history/history_csv.h"
#include "platform/system.h"

namespace hoshizora {

// The most records the history keeps; the oldest go first.
inline constexpr std::size_t kHistoryRecordBound = 10'000;
// A history this large is not ours (10,000 records are a few MiB).
inline constexpr std::uintmax_t kLargestHistoryFile = 64u * 1024 * 1024;

struct HistoryRead {
  enum class Status {
    kRead,
    kMissing,     // no history yet: not an error
    kUnreadable,  // not a regular file, too large, or the read failed
  };
  Status status = Status::kMissing;
  std::vector<HistoryRecord> records;  // oldest first
  int skipped = 0;                     // damaged or foreign lines
};

HistoryRead ReadHistory(System& system, const std::filesystem::path& path);

struct HistoryAppend {
  enum class Result {
    kAppended,   // one line added at the end
    kRewritten,  // the file was at its bound: rewritten without its oldest records
    kFailed,     // nothing changed (or, after a failed append, a cut line the next read skips)
  };
  Result result = Result::kFailed;
  int skipped = 0;  // damaged or foreign lines met on the way (dropped by a rewrite)
};

// Adds the record to the history at `path`, making its folder when missing.
// The line goes out in one write; when the file's last line was cut short
// (a crash mid-write), the new line starts on a line of its own. At the
// bound, the file is replaced whole through the staged write with the newest
// records only, so a failure leaves the old file as it was.
HistoryAppend AppendHistory(System& system, const std::filesystem::path& path,
                            const HistoryRecord& record, std::size_t bound = kHistoryRecordBound);

}  // namespace hoshizora
