#include "imaging/timing_chart.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "imaging/drawing_helpers.h"

namespace hoshizora {
namespace {

constexpr std::uint32_t kGrey = 0xFFB0B0B0;
constexpr std::uint32_t kBlue = 0xFF1F5FBF;
constexpr std::uint32_t kGreen = 0xFF2E8B57;
constexpr std::uint32_t kRed = 0xFFC0392B;
constexpr float kLeft = 90;
constexpr float kRight = kChartWidth - 30;

std::u16string Number(double v) {
  const std::string s = std::to_string(static_cast<long long>(v + 0.5));
  return std::u16string(s.begin(), s.end());
}

std::u16string Decimal(double v) {
  const auto tenths = static_cast<long long>(v * 10 + 0.5);
  const std::string s = std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
  return std::u16string(s.begin(), s.end());
}

// A panel's frame and title; its plot area is [kLeft, kRight] x [top, bottom].
void Frame(Graphics& g, const Font& font, std::u16string_view title, float top, float bottom) {
  g.DrawString(title, font, kOpaqueBlack, RectF{kLeft, top - 34, 0, 0}, nullptr);
  g.DrawLine({kLeft, top}, {kLeft, bottom}, kOpaqueBlack, 1.5F);
  g.DrawLine({kLeft, bottom}, {kRight, bottom}, kOpaqueBlack, 1.5F);
}

void SpeedPanel(Graphics& g, const Font& font, const TimingChartData& data) {
  constexpr float kTop = 50;
  constexpr float kBottom = 230;
  Frame(g, font, u"Speed (CPM) over time (s)", kTop, kBottom);
  if (data.speed.empty()) {
    return;
  }
  double low = data.speed.front().second;
  double high = low;
  for (const auto& [t, v] : data.speed) {
    low = std::min(low, v);
    high = std::max(high, v);
  }
  low = std::max(0.0, low - 10);
  high += 10;
  const double end = std::max(1.0, data.speed.back().first);
  auto x = [&](double t) { return kLeft + static_cast<float>(t / end) * (kRight - kLeft); };
  auto y = [&](double v) {
    return kBottom - static_cast<float>((v - low) / (high - low)) * (kBottom - kTop);
  };
  for (double v : {low, (low + high) / 2, high}) {
    g.DrawLine({kLeft, y(v)}, {kRight, y(v)}, kGrey, 1);
    g.DrawString(Number(v), font, kOpaqueBlack, RectF{10, y(v) - 12, 0, 0}, nullptr);
  }
  g.DrawString(Number(end), font, kOpaqueBlack, RectF{kRight - 40, kBottom + 4, 0, 0}, nullptr);
  for (std::size_t i = 0; i + 1 < data.speed.size(); ++i) {
    g.DrawLine({x(data.speed[i].first), y(data.speed[i].second)},
               {x(data.speed[i + 1].first), y(data.speed[i + 1].second)}, kBlue, 2.5F);
  }
  for (const auto& [t, v] : data.speed) {
    g.FillRectangle({x(t) - 3, y(v) - 3, 6, 6}, kBlue);
  }
}

void RatioPanel(Graphics& g, const Font& font, const TimingChartData& data) {
  constexpr float kTop = 320;
  constexpr float kBottom = 490;
  constexpr double kHighest = 4.5;
  Frame(g, font, u"Dah/dit ratio per character (2.5-3.5 is good)", kTop, kBottom);
  auto y = [&](double v) {
    return kBottom - static_cast<float>(std::min(v, kHighest) / kHighest) * (kBottom - kTop);
  };
  for (double v : {2.5, 3.0, 3.5}) {
    g.DrawLine({kLeft, y(v)}, {kRight, y(v)}, kGrey, 1);
    g.DrawString(Decimal(v), font, kOpaqueBlack, RectF{30, y(v) - 12, 0, 0}, nullptr);
  }
  const std::size_t n = std::min<std::size_t>(data.ratios.size(), 48);
  if (n == 0) {
    return;
  }
  const float step = (kRight - kLeft) / static_cast<float>(n);
  for (std::size_t i = 0; i < n; ++i) {
    const auto& [character, ratio] = data.ratios[i];
    const bool good = ratio >= 2.5 && ratio <= 3.5;
    const float x = kLeft + step * static_cast<float>(i);
    g.FillRectangle({x + step * 0.15F, y(ratio), step * 0.7F, kBottom - y(ratio)},
                    good ? kGreen : kRed);
    g.DrawString(character, font, kOpaqueBlack, RectF{x + step * 0.1F, kBottom + 4, 0, 0}, nullptr);
  }
}

}  // namespace

ChartStatus WriteTimingChart(Canvas& canvas, System& system, const TimingChartData& data,
                             const std::filesystem::path& path) {
  if (!canvas.CanEncode(ImageFormat::kPng)) {
    return ChartStatus::kNoPngEncoder;
  }
  std::unique_ptr<Bitmap> bitmap = canvas.CreateBitmap(kChartWidth, kChartHeight);
  if (!bitmap) {
    return ChartStatus::kWriteFailed;
  }
  {
    std::unique_ptr<Graphics> g = canvas.BeginDrawing(*bitmap);
    if (!g) {
      return ChartStatus::kWriteFailed;
    }
    g->Clear(kOpaqueWhite);
    const Font font = CreateFontOrSansSerif(canvas, u"", 18);
    SpeedPanel(*g, font, data);
    RatioPanel(*g, font, data);
  }
  return SavePicture(canvas, system, *bitmap, ImageFormat::kPng, path) ? ChartStatus::kWritten
                                                                       : ChartStatus::kWriteFailed;
}

}  // namespace hoshizora
