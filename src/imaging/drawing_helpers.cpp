#include "imaging/drawing_helpers.h"

#include <algorithm>
#include <string>

#include "platform/paths.h"
#include "platform/picture_check.h"

namespace hoshizora {
namespace {

// The form template is a few hundred kilobytes; anything this large is not it.
constexpr std::uintmax_t kLargestPictureFile = 64 * 1024 * 1024;
constexpr float kColumnPixelSize = 18;
constexpr int kSmallColumnTop = 362;
constexpr int kSmallColumnStep = 20;
constexpr float kTurnedBracketOffset = 20;

}  // namespace

Font CreateFontOrSansSerif(Canvas& canvas, std::u16string_view face, float pixel_size) {
  if (canvas.HasFontFace(face)) {
    return Font{std::u16string(face), pixel_size, true};
  }
  std::u16string generic = canvas.GenericSansSerifFace();
  if (generic.empty()) {
    return Font{};
  }
  return Font{std::move(generic), pixel_size, true};
}

std::unique_ptr<Bitmap> LoadFormTemplate(Canvas& canvas, System& system,
                                         const std::filesystem::path& data_folder) {
  const FileRead file =
      system.ReadFile(data_folder / PathFromText(kFormTemplateName), kLargestPictureFile);
  if (file.status != FileRead::Status::kRead || !PictureRunsToItsEnd(file.bytes)) {
    return nullptr;
  }
  return canvas.DecodeBitmap(file.bytes);
}

bool SavePicture(Canvas& canvas, System& system, const Bitmap& bitmap, ImageFormat format,
                 const std::filesystem::path& path) {
  const std::optional<std::string> bytes = canvas.EncodeImage(bitmap, format);
  return bytes && system.ReplaceFile(path, *bytes);
}

void DrawCellChar(Graphics& g, const Font& font, char16_t ch, float x, float y) {
  const std::u16string_view text(&ch, 1);
  if (kBracketSet.find(ch) == std::u16string_view::npos) {
    g.DrawString(text, font, kOpaqueBlack, RectF{x, y, 0, 0}, nullptr);
    return;
  }
  g.SaveState();
  const SizeF box = g.MeasureString(text, font);
  g.Translate(x + (box.height - box.width) * 0.5f + kTurnedBracketOffset,
              y + (box.width - box.height) * 0.5f);
  g.Rotate(90);
  g.DrawString(text, font, kOpaqueBlack, RectF{0, 0, 0, 0}, nullptr);
  g.RestoreState();
}

namespace {

void DrawCells(Canvas& canvas, Graphics& g, std::u16string_view text, int x, int y, int step,
               float pixel_size) {
  // Same fallback as every other text: a missing face must not leave a field blank.
  const Font font = CreateFontOrSansSerif(canvas, kGothicFace, pixel_size);
  if (!font.valid) {
    return;
  }
  for (std::size_t i = 0; i < text.size(); ++i) {
    DrawCellChar(g, font, text[i], static_cast<float>(x),
                 static_cast<float>(y) + static_cast<float>(i) * static_cast<float>(step));
  }
}

}  // namespace

void DrawColumn(Canvas& canvas, Graphics& g, std::u16string_view text, int x, int y, int step) {
  DrawCells(canvas, g, text, x, y, step, kColumnPixelSize);
}

void DrawSmallColumn(Canvas& canvas, Graphics& g, std::u16string_view text, int x,
                     float pixel_size) {
  DrawCells(canvas, g, text, x, kSmallColumnTop, kSmallColumnStep, pixel_size);
}

namespace {

// Breaks one line of text (no line feeds) into pieces no wider than the limit:
// each piece is the longest prefix that fits, and at least one character.
// Widths grow with the text, so the longest fitting prefix is found by
// halving instead of measuring after every character. Returns whether the
// line ended on a character too wide to fit that stood alone from the start
// of its line: character-by-character wrapping leaves an empty current line
// behind such a character, which a following line feed then adds.
bool WrapSegment(Graphics& g, const Font& font, std::u16string_view segment,
                 std::vector<std::u16string>& lines) {
  const auto fits = [&](std::u16string_view piece) {
    return static_cast<std::int64_t>(g.MeasureString(piece, font).width) <=
           static_cast<std::int64_t>(kWrapWidth);
  };
  if (segment.empty()) {
    return false;
  }
  std::size_t guess = 64;     // lines tend to be alike: start near the last one
  bool lone_too_wide = true;  // true at the start: the current line is empty
  while (!segment.empty()) {
    // Gallop up from the guess to bracket the longest fitting prefix, then halve.
    std::size_t low = 1;  // always taken, even when one character is too wide
    std::size_t high = std::min(segment.size(), std::max<std::size_t>(guess, 2));
    while (fits(segment.substr(0, high))) {
      low = high;
      if (high == segment.size()) {
        break;
      }
      high = std::min(segment.size(), high * 2);
    }
    if (low != segment.size()) {
      --high;  // high itself does not fit
      while (low < high) {
        const std::size_t mid = low + (high - low + 1) / 2;
        if (fits(segment.substr(0, mid))) {
          low = mid;
        } else {
          high = mid - 1;
        }
      }
    }
    guess = low;
    lone_too_wide = lone_too_wide && low == 1 && !fits(segment.substr(0, 1));
    lines.emplace_back(segment.substr(0, low));
    segment.remove_prefix(low);
  }
  return lone_too_wide;
}

}  // namespace

std::vector<std::u16string> WrapLines(Graphics& g, const Font& font, std::u16string_view text) {
  std::vector<std::u16string> lines;
  std::u16string segment;
  for (char16_t c : text) {
    if (c == u'\r') {
      continue;
    }
    if (c == u'\n') {
      if (segment.empty() || WrapSegment(g, font, segment, lines)) {
        lines.emplace_back();
      }
      segment.clear();
    } else {
      segment.push_back(c);
    }
  }
  WrapSegment(g, font, segment, lines);
  return lines;
}

}  // namespace hoshizora
