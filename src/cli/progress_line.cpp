#include "cli/progress_line.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "base/utf8.h"

namespace hoshizora {
namespace {

constexpr int kShortestBar = 10;  // cells inside the brackets
constexpr int kLongestBar = 30;
constexpr int kShortestStep = 8;  // columns, the ellipsis included
constexpr std::string_view kBusyBlock = "<=>";
constexpr std::string_view kEllipsis = "…";
// Ambiguous in width: some Japanese terminals give it two columns, so the
// cut always leaves room for two.
constexpr int kEllipsisColumns = 2;
// Past this the clock would read in years; the text stays short.
constexpr double kLongestElapsed = 100.0 * 3600;

struct Glyph {
  std::string bytes;
  int columns = 1;
};

bool InRange(char32_t c, char32_t first, char32_t last) {
  return c >= first && c <= last;
}

int Columns(char32_t c) {
  if (InRange(c, 0x0300, 0x036F) || InRange(c, 0x200B, 0x200F) || InRange(c, 0x3099, 0x309A) ||
      InRange(c, 0xFE00, 0xFE0F)) {
    return 0;
  }
  if (InRange(c, 0x1100, 0x115F) || InRange(c, 0x2E80, 0x303E) || InRange(c, 0x3041, 0x33FF) ||
      InRange(c, 0x3400, 0x4DBF) || InRange(c, 0x4E00, 0x9FFF) || InRange(c, 0xA000, 0xA4CF) ||
      InRange(c, 0xAC00, 0xD7A3) || InRange(c, 0xF900, 0xFAFF) || InRange(c, 0xFE30, 0xFE4F) ||
      InRange(c, 0xFF00, 0xFF60) || InRange(c, 0xFFE0, 0xFFE6) || InRange(c, 0x1F300, 0x1F64F) ||
      InRange(c, 0x1F900, 0x1F9FF) || InRange(c, 0x20000, 0x3FFFD) || c == 0x2026) {
    return 2;
  }
  return 1;
}

std::vector<Glyph> Glyphs(std::string_view text) {
  std::vector<Glyph> glyphs;
  while (!text.empty()) {
    char32_t c = 0;
    const std::size_t length = DecodeUtf8Sequence(text, c);
    if (length == 0) {
      glyphs.push_back({"?", 1});
      text.remove_prefix(1);
      continue;
    }
    if (c < 0x20 || c == 0x7F || InRange(c, 0x80, 0x9F)) {
      glyphs.push_back({" ", 1});  // a line break or escape would wreck the line
    } else {
      glyphs.push_back({std::string(text.substr(0, length)), Columns(c)});
    }
    text.remove_prefix(length);
  }
  return glyphs;
}

int SumColumns(const std::vector<Glyph>& glyphs) {
  int columns = 0;
  for (const Glyph& g : glyphs) {
    columns += g.columns;
  }
  return columns;
}

// The step in at most `columns` columns, cut with an ellipsis when longer.
std::string FitStep(const std::vector<Glyph>& glyphs, int columns) {
  std::string out;
  if (SumColumns(glyphs) <= columns) {
    for (const Glyph& g : glyphs) {
      out += g.bytes;
    }
    return out;
  }
  if (columns < kEllipsisColumns) {
    return out;
  }
  int used = 0;
  for (const Glyph& g : glyphs) {
    if (used + g.columns > columns - kEllipsisColumns) {
      break;
    }
    out += g.bytes;
    used += g.columns;
  }
  return out + std::string(kEllipsis);
}

std::string ElapsedText(double seconds) {
  const long total =
      static_cast<long>(std::clamp(std::isnan(seconds) ? 0.0 : seconds, 0.0, kLongestElapsed));
  char text[32];
  if (total >= 3600) {
    std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", total / 3600, total / 60 % 60, total % 60);
  } else {
    std::snprintf(text, sizeof text, "%ld:%02ld", total / 60, total % 60);
  }
  return text;
}

// `done` is the share from 0 to 1, or kUnknown.
constexpr double kUnknown = -1;

std::string PercentText(double done) {
  if (done == kUnknown) {
    return " --%";
  }
  char text[8];
  std::snprintf(text, sizeof text, "%3d%%", static_cast<int>(std::floor(done * 100)));
  return text;
}

std::string Bar(double done, int cells, unsigned busy_tick) {
  std::string inside(static_cast<std::size_t>(cells), ' ');
  if (done != kUnknown) {
    const int filled = static_cast<int>(std::floor(done * cells));
    std::fill_n(inside.begin(), filled, '=');
    if (filled > 0 && filled < cells) {
      inside[static_cast<std::size_t>(filled - 1)] = '>';
    }
  } else {
    // Back and forth: out along the bar, then back the same way.
    const unsigned travel = static_cast<unsigned>(cells) - kBusyBlock.size();
    unsigned at = travel == 0 ? 0 : busy_tick % (2 * travel);
    if (at > travel) {
      at = 2 * travel - at;
    }
    inside.replace(at, kBusyBlock.size(), kBusyBlock);
  }
  return "[" + inside + "]";
}

}  // namespace

int DisplayColumns(std::string_view utf8) {
  return SumColumns(Glyphs(utf8));
}

std::string RenderProgressLine(std::string_view step_utf8, std::optional<double> share,
                               double elapsed_seconds, int width, unsigned busy_tick) {
  const double done =
      share.has_value() && !std::isnan(*share) ? std::clamp(*share, 0.0, 1.0) : kUnknown;
  const std::string tail = " " + PercentText(done) + " " + ElapsedText(elapsed_seconds);
  const int room = width - 1 - static_cast<int>(tail.size());
  if (room < 0) {
    return {};
  }

  const std::vector<Glyph> step = Glyphs(step_utf8);
  const int step_columns = SumColumns(step);
  const int gap = step.empty() ? 0 : 1;
  const int cells = std::min(kLongestBar, room - step_columns - gap - 2);
  if (cells >= kShortestBar) {
    return FitStep(step, step_columns) + std::string(gap, ' ') + Bar(done, cells, busy_tick) + tail;
  }
  if (!step.empty() && room - kShortestBar - 2 - gap >= kShortestStep) {
    return FitStep(step, room - kShortestBar - 2 - gap) + " " + Bar(done, kShortestBar, busy_tick) +
           tail;
  }
  const std::string cut = FitStep(step, room);
  return cut.empty() ? tail.substr(1) : cut + tail;
}

}  // namespace hoshizora
