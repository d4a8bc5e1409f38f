#include "imaging/text_listing.h"

#include "encoding/text_utils.h"
#include "imaging/drawing_helpers.h"
#include "imaging/glyph_check.h"
#include "imaging/keying_label.h"
#include "platform/paths.h"

namespace hoshizora {
namespace {

constexpr float kListingPixelSize = 14;
constexpr float kLeft = 20;
constexpr float kHeaderTop = 20;
constexpr float kFirstLineTop = 68;
constexpr float kLineStep = 24;

}  // namespace

ImageOutcome WriteTextListingImage(Canvas& canvas, System& system, std::u16string_view listing_text,
                                   std::int32_t frequency, std::int32_t speed,
                                   const std::filesystem::path& base_path,
                                   const KeyingOptions& keying) {
  ImageOutcome outcome;
  const std::filesystem::path path = WithSuffix(base_path, u".jpg");
  auto bitmap = canvas.CreateBitmap(kListingWidth, kListingHeight);
  if (bitmap) {
    auto g = canvas.BeginDrawing(*bitmap);
    g->Clear(kOpaqueWhite);
    const Font font = CreateFontOrSansSerif(canvas, kGothicFace, kListingPixelSize);
    const std::u16string header = u"電報出力 " + PathText(base_path) + u"  CPM: " +
                                  IntToText(speed) + u"  Freq: " + IntToText(frequency) +
                                  KeyingLabel(keying.rise_ms, keying.effective_cpm);
    NoteUndrawable(canvas, kGothicFace, font, header, outcome);
    if (font.valid) {
      g->DrawString(header, font, kOpaqueBlack, RectF{kLeft, kHeaderTop, 0, 0}, nullptr);

      const std::vector<std::u16string> lines = WrapLines(*g, font, listing_text);
      const bool cut = lines.size() > kListingMaxLines;
      const std::size_t shown = cut ? kListingMaxLines - 1 : lines.size();
      for (std::size_t k = 0; k < shown; ++k) {
        NoteUndrawable(canvas, kGothicFace, font, lines[k], outcome);
        g->DrawString(lines[k], font, kOpaqueBlack,
                      RectF{kLeft, kFirstLineTop + kLineStep * static_cast<float>(k), 0, 0},
                      nullptr);
      }
      if (cut) {
        NoteUndrawable(canvas, kGothicFace, font, kListingCutMark, outcome);
        g->DrawString(kListingCutMark, font, kOpaqueBlack,
                      RectF{kLeft, kFirstLineTop + kLineStep * (kListingMaxLines - 1), 0, 0},
                      nullptr);
      }
    } else {
      NoteUndrawable(canvas, kGothicFace, font, listing_text, outcome);
    }
  }

  if (!canvas.CanEncode(ImageFormat::kJpeg)) {
    outcome.status = ImageStatus::kNoJpegEncoder;
    return outcome;
  }
  if (!bitmap || !SavePicture(canvas, system, *bitmap, ImageFormat::kJpeg, path)) {
    outcome.status = ImageStatus::kSaveFailed;
    outcome.failed.push_back(path);
    return outcome;
  }
  outcome.written.push_back(path);
  return outcome;
}

}  // namespace hoshizora
