#include "imaging/form_images.h"

#include <algorithm>
#include <map>

#include "encoding/telegram_signs.h"
#include "encoding/text_utils.h"
#include "imaging/drawing_helpers.h"
#include "imaging/glyph_check.h"
#include "platform/paths.h"

namespace hoshizora {
namespace {

constexpr float kBodyPixelSize = 25;
constexpr float kHeaderPixelSize = 18;

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

void DrawHeaderFields(Canvas& canvas, Graphics& g, const TelegramFields& fields) {
  const std::pair<FormHeaderField, const std::u16string*> header[] = {
      {FormHeaderField::kCount, &fields.count},
      {FormHeaderField::kStation, &fields.station},
      {FormHeaderField::kNumber, &fields.number},
      {FormHeaderField::kTime, &fields.time},
      {FormHeaderField::kAddressee, &fields.addressee},
  };
  std::map<float, Font> fonts;
  for (const auto& [field, text] : header) {
    for (const FormCell& cell : HeaderFieldCells(field, *text)) {
      auto it = fonts.find(cell.pixel_size);
      if (it == fonts.end()) {
        // Same fallback as every other text: a missing face must not leave a field blank.
        it = fonts
                 .emplace(cell.pixel_size,
                          CreateFontOrSansSerif(canvas, kGothicFace, cell.pixel_size))
                 .first;
      }
      if (it->second.valid) {
        DrawCellChar(g, it->second, (*text)[cell.index], cell.x, cell.y);
      }
    }
  }
}

}  // namespace

ImageOutcome WriteFormImages(Canvas& canvas, System& system, const FormDestination& where,
                             const TelegramFields& fields, const PageProgress& progress) {
  const auto span = FindTelegramBody(fields.body);
  if (!span) {
    ImageOutcome outcome;
    outcome.status = ImageStatus::kNothingToDraw;
    return outcome;
  }
  const std::u16string body = RemoveLineBreaks(
      std::u16string_view(fields.body).substr(span->begin, span->end - span->begin));
  const int pages = static_cast<int>((body.size() + kCellsPerPage - 1) / kCellsPerPage);
  Font body_font;
  const auto note = [&](ImageOutcome& outcome) {
    body_font = CreateFontOrSansSerif(canvas, kBrushScriptFace, kBodyPixelSize);
    NoteUndrawable(canvas, kBrushScriptFace, body_font, body, outcome);
    const Font header_font = CreateFontOrSansSerif(canvas, kGothicFace, kHeaderPixelSize);
    for (const std::u16string& header :
         {fields.count, fields.station, fields.number,
          DrawnHeaderText(FormHeaderField::kTime, fields.time),
          DrawnHeaderText(FormHeaderField::kAddressee, fields.addressee),
          IntToText(pages) + u"/" + IntToText(pages)}) {
      NoteUndrawable(canvas, kGothicFace, header_font, header, outcome);
    }
  };
  const auto draw = [&](Graphics& g, int page) {
    DrawHeaderFields(canvas, g, fields);
    if (!body_font.valid) {
      return;
    }
    const std::size_t first = static_cast<std::size_t>(kCellsPerPage) * (page - 1);
    const std::size_t last = std::min(body.size(), first + kCellsPerPage);
    for (std::size_t i = first; i < last; ++i) {
      const FormCell cell = FormBodyCell(static_cast<int>(i - first));
      DrawCellChar(g, body_font, body[i], cell.x, cell.y);
    }
  };
  const auto page_path = [&](int page) {
    return where.output_folder / PathFromText(FormPageFileName(where.base_name, page));
  };
  return WriteFormPages(canvas, system, where.data_folder, page_path, pages, note, draw, progress);
}

}  // namespace hoshizora
