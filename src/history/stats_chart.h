#pragma once

#include <filesystem>
#include <memory>

#include "history/history_stats.h"
#include "platform/canvas.h"
#include "platform/system.h"

namespace hoshizora {

inline constexpr int kStatsChartWidth = 1000;
inline constexpr int kStatsChartHeight = 720;
// The weakest characters the chart shows as bars.
inline constexpr std::size_t kStatsChartBars = 20;

// The learner's standing as a picture in the reception form's colours: the
// scores over time as a line above, the weakest characters (those written
// wrong at least once) as bars of their error rate below. Nothing when the
// canvas cannot make a bitmap.
std::unique_ptr<Bitmap> DrawStatsChart(Canvas& canvas, const HistorySummary& summary);

// The chart saved as a PNG; false when it could not be drawn or written.
bool SaveStatsChart(Canvas& canvas, System& system, const HistorySummary& summary,
                    const std::filesystem::path& path);

}  // namespace hoshizora
