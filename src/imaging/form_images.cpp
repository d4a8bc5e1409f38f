#include "imaging/form_images.h"

#include "encoding/telegram_signs.h"
#include "encoding/text_utils.h"
#include "imaging/drawing_helpers.h"
#include "imaging/glyph_check.h"
#include "platform/paths.h"

namespace hoshizora {
namespace {

constexpr int kRowsPerColumn = 10;
constexpr int kCellStep = 42;
constexpr int kFirstCellX = 400;
constexpr int kFirstCellY = 495;
constexpr float kBodyPixelSize = 25;
constexpr float kPageNumberPixelSize = 22;
constexpr float kSmallColumnPixelSize = 14;
constexpr float kHeaderPixelSize = 18;
constexpr int kHeaderTop = 350;
constexpr int kHeaderStep = 23;
constexpr std::size_t kStationColumnLength = 6;

std::u16string RemoveLineBreaks(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (char16_t c : text) {
    if (c != u'\r' && c != u'\n') {
      out.push_back(c);
    }
  }
  return out;
}

// The part of the addressee that is drawn: up to its last 」.
std::u16string DrawnAddressee(std::u16string_view addressee) {
  const std::size_t last = addressee.rfind(u'」');
  return std::u16string(last == std::u16string_view::npos ? u"" : addressee.substr(0, last + 1));
}

void DrawPageNumber(Canvas& canvas, Graphics& g, int width, int height, int page, int pages) {
  const Font font = CreateFontOrSansSerif(canvas, kGothicFace, kPageNumberPixelSize);
  if (!font.valid) {
    return;
  }
  const std::u16string text = IntToText(page) + u"/" + IntToText(pages);
  const StringFormat centred{StringFormat::Align::kCenter, StringFormat::Align::kNear};
  g.DrawString(text, font, kOpaqueBlack,
               RectF{static_cast<float>(width / 2 - 130), static_cast<float>(height - 60), 200, 30},
               &centred);
}

// The addressee pieces, each ending in 」, as columns from x 560 leftwards.
void DrawAddresseeColumns(Canvas& canvas, Graphics& g, std::u16string_view addressee) {
  std::size_t start = 0;
  int piece = 0;
  for (std::size_t close = addressee.find(u'」'); close != std::u16string_view::npos;
       close = addressee.find(u'」', start)) {
    DrawColumn(canvas, g, addressee.substr(start, close + 1 - start), 560 - 40 * piece, 520, 27);
    start = close + 1;
    ++piece;
  }
}

void DrawHeaderFields(Canvas& canvas, Graphics& g, const TelegramFields& fields) {
  DrawColumn(canvas, g, fields.count, 529, kHeaderTop, kHeaderStep);
  const std::u16string_view station = fields.station;
  if (station.size() < kStationColumnLength) {
    DrawColumn(canvas, g, station, 460, kHeaderTop, kHeaderStep);
  } else {
    DrawSmallColumn(canvas, g, station.substr(0, kStationColumnLength), 460, kSmallColumnPixelSize);
    if (station.size() > kStationColumnLength) {
      DrawSmallColumn(canvas, g, station.substr(kStationColumnLength), 430, kSmallColumnPixelSize);
    }
  }
  DrawColumn(canvas, g, fields.number, 400, kHeaderTop, kHeaderStep);
  DrawColumn(canvas, g, StripCommas(fields.time), 327, kHeaderTop, kHeaderStep);
  DrawAddresseeColumns(canvas, g, fields.addressee);
}

void DrawBodyCells(Graphics& g, const Font& font, std::u16string_view page_chars) {
  for (std::size_t i = 0; i < page_chars.size(); ++i) {
    const int column = static_cast<int>(i) / kRowsPerColumn;
    const int row = static_cast<int>(i) % kRowsPerColumn;
    DrawCellChar(g, font, page_chars[i], static_cast<float>(kFirstCellX - kCellStep * column),
                 static_cast<float>(kFirstCellY + kCellStep * row));
  }
}

}  // namespace

std::u16string FormPageFileName(std::u16string_view base_name, int page) {
  return std::u16string(base_name) + u"_" + IntToText(page) + u".jpg";
}

ImageOutcome WriteFormImages(Canvas& canvas, const FormDestination& where,
                             const TelegramFields& fields, const PageProgress& progress) {
  ImageOutcome outcome;
  const auto span = FindTelegramBody(fields.body);
  if (!span) {
    outcome.status = ImageStatus::kNothingToDraw;
    return outcome;
  }
  const std::u16string body = RemoveLineBreaks(
      std::u16string_view(fields.body).substr(span->begin, span->end - span->begin));
  const int pages = static_cast<int>((body.size() + kCellsPerPage - 1) / kCellsPerPage);

  const int encoder = FindJpegEncoder(canvas);
  if (encoder < 0) {
    outcome.status = ImageStatus::kNoJpegEncoder;
    return outcome;
  }
  const auto form = LoadFormTemplate(canvas, where.data_folder);
  if (!form) {
    outcome.status = ImageStatus::kNoFormTemplate;
    return outcome;
  }
  if (pages == 0) {
    outcome.status = ImageStatus::kNothingToDraw;
    return outcome;
  }

  const int width = form->Width();
  const int height = form->Height();
  const Font body_font = CreateFontOrSansSerif(canvas, kBrushScriptFace, kBodyPixelSize);
  NoteUndrawable(canvas, kBrushScriptFace, body_font, body, outcome);
  const Font header_font = CreateFontOrSansSerif(canvas, kGothicFace, kHeaderPixelSize);
  for (const std::u16string& header :
       {fields.count, fields.station, fields.number, StripCommas(fields.time),
        DrawnAddressee(fields.addressee), IntToText(pages) + u"/" + IntToText(pages)}) {
    NoteUndrawable(canvas, kGothicFace, header_font, header, outcome);
  }
  for (int page = 1; page <= pages; ++page) {
    if (progress && !progress(page, pages)) {
      outcome.status = ImageStatus::kCancelled;
      return outcome;
    }
    const std::filesystem::path path =
        where.output_folder / PathFromText(FormPageFileName(where.base_name, page));
    auto bitmap = canvas.CloneBitmap(*form, width, height);
    bool saved = false;
    if (bitmap) {
      {
        auto g = canvas.BeginDrawing(*bitmap);
        DrawPageNumber(canvas, *g, width, height, page, pages);
        DrawHeaderFields(canvas, *g, fields);
        if (body_font.valid) {
          DrawBodyCells(*g, body_font,
                        std::u16string_view(body).substr(static_cast<std::size_t>(kCellsPerPage) *
                                                             static_cast<std::size_t>(page - 1),
                                                         kCellsPerPage));
        }
      }
      saved = canvas.SaveImage(*bitmap, path, encoder);
    }
    if (saved) {
      outcome.written.push_back(path);
    } else {
      outcome.failed.push_back(path);
      outcome.status = ImageStatus::kSaveFailed;
    }
  }
  return outcome;
}

}  // namespace hoshizora
