#include "history/stats_chart.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "base/utf8.h"
#include "imaging/drawing_helpers.h"

namespace hoshizora {
namespace {

// The reception form's paper, its pale fill and its red ink.
constexpr std::uint32_t kPaper = 0xFFFEFDF1;
constexpr std::uint32_t kPale = 0xFFFAEAE2;
constexpr std::uint32_t kFormRed = 0xFF933534;
constexpr std::uint32_t kInk = 0xFF222222;
constexpr std::uint32_t kGrid = 0xFFE3CFC7;

constexpr float kLeft = 90;
constexpr float kRight = kStatsChartWidth - 40;
constexpr RectF kScorePanel{kLeft, 120, kRight - kLeft, 230};
constexpr RectF kBarPanel{kLeft, 450, kRight - kLeft, 190};

std::u16string Text(const std::string& ascii) {
  return DecodeUtf8Lenient(ascii);
}

std::u16string Number(double value, int decimals) {
  char text[32];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return Text(text);
}

void Centred(Graphics& g, std::u16string_view text, const Font& font, std::uint32_t argb,
             const RectF& box) {
  const StringFormat centre{StringFormat::Align::kCenter, StringFormat::Align::kCenter};
  g.DrawString(text, font, argb, box, &centre);
}

// One line centred on `centre_x` however narrow the room: a layout box
// would let the platform wrap it.
void CentredLine(Graphics& g, std::u16string_view text, const Font& font, std::uint32_t argb,
                 float centre_x, float top) {
  const SizeF size = g.MeasureString(text, font);
  g.DrawString(text, font, argb, {centre_x - size.width / 2, top, 0, 0}, nullptr);
}

void Panel(Graphics& g, const RectF& panel, std::u16string_view title, const Font& font) {
  g.FillRectangle({panel.x, panel.y - 34, panel.width, 30}, kPale);
  g.DrawString(title, font, kFormRed, {panel.x + 8, panel.y - 31, 0, 0}, nullptr);
  g.DrawLine({panel.x, panel.y + panel.height}, {panel.x + panel.width, panel.y + panel.height},
             kFormRed, 2);
  g.DrawLine({panel.x, panel.y}, {panel.x, panel.y + panel.height}, kFormRed, 2);
}

// The scores from 0 to 100, oldest on the left.
void DrawScores(Graphics& g, const std::vector<int>& scores, const Font& small) {
  const RectF& p = kScorePanel;
  for (int mark = 0; mark <= 100; mark += 20) {
    const float y = p.y + p.height * (1 - mark / 100.0f);
    if (mark > 0) {
      g.DrawLine({p.x, y}, {p.x + p.width, y}, kGrid, 1);
    }
    Centred(g, Text(std::to_string(mark)), small, kInk, {p.x - 50, y - 10, 40, 20});
  }
  const std::size_t n = scores.size();
  const float step = p.width / static_cast<float>(n);
  const auto at = [&](std::size_t i) {
    return PointF{p.x + step * (static_cast<float>(i) + 0.5f),
                  p.y + p.height * (1 - static_cast<float>(scores[i]) / 100.0f)};
  };
  for (std::size_t i = 1; i < n; ++i) {
    g.DrawLine(at(i - 1), at(i), kFormRed, 2.5f);
  }
  // Dots only while they stay apart; a long history is a line.
  const float radius = std::min(5.0f, step / 3);
  if (radius >= 1.5f) {
    for (std::size_t i = 0; i < n; ++i) {
      const PointF c = at(i);
      g.DrawEllipse({c.x - radius / 2, c.y - radius / 2, radius, radius}, kFormRed, radius);
    }
  }
  Centred(g, Text("1"), small, kInk, {p.x, p.y + p.height + 4, step, 20});
  if (n > 1) {
    Centred(g, Text(std::to_string(n)), small, kInk,
            {p.x + step * static_cast<float>(n - 1) - 20, p.y + p.height + 4, step + 40, 20});
  }
}

// Bars of the error rate, 0 to 100 %, the character under its bar.
void DrawBars(Graphics& g, const std::vector<CharacterStanding>& weakest, const Font& small,
              const Font& label) {
  const RectF& p = kBarPanel;
  for (int percent = 0; percent <= 100; percent += 25) {
    const float y = p.y + p.height * (1 - percent / 100.0f);
    if (percent > 0) {
      g.DrawLine({p.x, y}, {p.x + p.width, y}, kGrid, 1);
    }
    Centred(g, Text(std::to_string(percent) + "%"), small, kInk, {p.x - 56, y - 10, 48, 20});
  }
  const float slot = p.width / static_cast<float>(kStatsChartBars);
  for (std::size_t i = 0; i < weakest.size(); ++i) {
    const CharacterStanding& c = weakest[i];
    const float x = p.x + slot * static_cast<float>(i);
    const float height = p.height * static_cast<float>(c.Rate());
    g.FillRectangle({x + slot * 0.18f, p.y + p.height - height, slot * 0.64f, height}, kFormRed);
    Centred(g, Number(100 * c.Rate(), 0), small, kInk, {x, p.y + p.height - height - 22, slot, 20});
    Centred(g, c.character, label, kInk, {x, p.y + p.height + 6, slot, 32});
    CentredLine(g, Text(std::to_string(c.errors) + "/" + std::to_string(c.heard)), small, kInk,
                x + slot / 2, p.y + p.height + 40);
  }
}

}  // namespace

std::unique_ptr<Bitmap> DrawStatsChart(Canvas& canvas, const HistorySummary& summary) {
  auto bitmap = canvas.CreateBitmap(kStatsChartWidth, kStatsChartHeight);
  if (!bitmap) {
    return nullptr;
  }
  auto g = canvas.BeginDrawing(*bitmap);
  if (!g) {
    return nullptr;
  }
  const Font title = CreateFontOrSansSerif(canvas, kGothicFace, 30);
  const Font heading = CreateFontOrSansSerif(canvas, kGothicFace, 20);
  const Font label = CreateFontOrSansSerif(canvas, kGothicFace, 26);
  const Font small = CreateFontOrSansSerif(canvas, kGothicFace, 15);

  g->Clear(kPaper);
  g->DrawLine({12, 12}, {kStatsChartWidth - 12.0f, 12}, kFormRed, 3);
  g->DrawLine({12, kStatsChartHeight - 12.0f},
              {kStatsChartWidth - 12.0f, kStatsChartHeight - 12.0f}, kFormRed, 3);
  Centred(*g, u"受信練習の記録", title, kFormRed, {0, 24, kStatsChartWidth, 40});
  std::u16string line = u"採点 " + Text(std::to_string(summary.checks)) + u" 回";
  if (const auto trend = TrendOf(summary.scores)) {
    line += u"　最初 " + Text(std::to_string(trend->first)) + u"　最高 " +
            Text(std::to_string(trend->best)) + u"　最新 " + Text(std::to_string(trend->last)) +
            u"　直近" + Text(std::to_string(std::min<std::size_t>(summary.scores.size(), 10))) +
            u"回の平均 " + Number(trend->mean_of_last_ten, 1);
  }
  Centred(*g, line, heading, kInk, {0, 64, kStatsChartWidth, 26});

  Panel(*g, kScorePanel, u"点数の推移", heading);
  if (!summary.scores.empty()) {
    DrawScores(*g, summary.scores, small);
  }
  std::vector<CharacterStanding> weakest;
  for (const CharacterStanding& c : summary.characters) {
    if (c.errors == 0 || weakest.size() == kStatsChartBars) {
      break;
    }
    weakest.push_back(c);
  }
  Panel(*g, kBarPanel, u"誤りの多い文字（誤り÷聞いた数）", heading);
  if (weakest.empty()) {
    Centred(*g, u"誤った文字はありません", heading, kInk, kBarPanel);
  } else {
    DrawBars(*g, weakest, small, label);
  }
  g.reset();
  return bitmap;
}

bool SaveStatsChart(Canvas& canvas, System& system, const HistorySummary& summary,
                    const std::filesystem::path& path) {
  if (!canvas.CanEncode(ImageFormat::kPng)) {
    return false;
  }
  const auto bitmap = DrawStatsChart(canvas, summary);
  return bitmap && SavePicture(canvas, system, *bitmap, ImageFormat::kPng, path);
}

}  // namespace hoshizora
