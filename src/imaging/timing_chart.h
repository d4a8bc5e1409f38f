#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "platform/canvas.h"
#include "platform/system.h"

namespace hoshizora {

// What the sending-practice chart shows: the speed through the recording
// (seconds, CPM) and the dah/dit ratio of each character.
struct TimingChartData {
  std::vector<std::pair<double, double>> speed;
  std::vector<std::pair<std::u16string, double>> ratios;
};

enum class ChartStatus { kWritten, kNoPngEncoder, kWriteFailed };

inline constexpr int kChartWidth = 960;
inline constexpr int kChartHeight = 540;

// Draws the chart (the speed as a line over time above, the ratios as bars
// with the 2.5, 3 and 3.5 lines below) and saves it as a PNG at `path`.
ChartStatus WriteTimingChart(Canvas& canvas, System& system, const TimingChartData& data,
                             const std::filesystem::path& path);

}  // namespace hoshizora
