#include "imaging/form_layout.h"

#include "encoding/text_utils.h"
#include "imaging/drawing_helpers.h"
#include "platform/paths.h"

namespace hoshizora {
namespace {

constexpr int kRowsPerColumn = 10;
constexpr int kCellStep = 42;
constexpr int kFirstCellX = 400;
constexpr int kFirstCellY = 495;
constexpr float kBodyPixelSize = 25;
constexpr float kPageNumberPixelSize = 22;
constexpr float kHeaderPixelSize = 18;
constexpr float kSmallPixelSize = 14;
constexpr float kHeaderTop = 350;
constexpr float kHeaderStep = 23;
constexpr float kSmallTop = 362;
constexpr float kSmallStep = 20;
constexpr std::size_t kStationColumnLength = 6;
constexpr float kAddresseeX = 560;
constexpr float kAddresseePieceStep = 40;
constexpr float kAddresseeTop = 520;
constexpr float kAddresseeStep = 27;

// One column of cells for the characters [first, last) of a text.
void AddColumn(std::vector<FormCell>& cells, std::size_t first, std::size_t last, float x,
               float top, float step, float pixel_size) {
  for (std::size_t i = first; i < last; ++i) {
    cells.push_back({i, x, top + static_cast<float>(i - first) * step, step, pixel_size});
  }
}

}  // namespace

std::u16string FormPageFileName(std::u16string_view base_name, int page) {
  return std::u16string(base_name) + u"_" + IntToText(page) + u".jpg";
}

FormCell FormBodyCell(int i) {
  return {static_cast<std::size_t>(i),
          static_cast<float>(kFirstCellX - kCellStep * (i / kRowsPerColumn)),
          static_cast<float>(kFirstCellY + kCellStep * (i % kRowsPerColumn)),
          static_cast<float>(kCellStep), kBodyPixelSize};
}

std::vector<FormCell> HeaderFieldCells(FormHeaderField field, std::u16string_view text,
                                       bool with_tail) {
  std::vector<FormCell> cells;
  switch (field) {
    case FormHeaderField::kCount:
      AddColumn(cells, 0, text.size(), 529, kHeaderTop, kHeaderStep, kHeaderPixelSize);
      break;
    case FormHeaderField::kStation:
      if (text.size() < kStationColumnLength) {
        AddColumn(cells, 0, text.size(), 460, kHeaderTop, kHeaderStep, kHeaderPixelSize);
      } else {
        AddColumn(cells, 0, kStationColumnLength, 460, kSmallTop, kSmallStep, kSmallPixelSize);
        AddColumn(cells, kStationColumnLength, text.size(), 430, kSmallTop, kSmallStep,
                  kSmallPixelSize);
      }
      break;
    case FormHeaderField::kNumber:
      AddColumn(cells, 0, text.size(), 400, kHeaderTop, kHeaderStep, kHeaderPixelSize);
      break;
    case FormHeaderField::kTime: {
      float y = kHeaderTop;
      for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != u',' && text[i] != u'，') {
          cells.push_back({i, 327, y, kHeaderStep, kHeaderPixelSize});
          y += kHeaderStep;
        }
      }
      break;
    }
    case FormHeaderField::kAddressee: {
      std::size_t start = 0;
      float x = kAddresseeX;
      for (std::size_t close = text.find(u'」'); close != std::u16string_view::npos;
           close = text.find(u'」', start)) {
        AddColumn(cells, start, close + 1, x, kAddresseeTop, kAddresseeStep, kHeaderPixelSize);
        start = close + 1;
        x -= kAddresseePieceStep;
      }
      if (with_tail) {
        AddColumn(cells, start, text.size(), x, kAddresseeTop, kAddresseeStep, kHeaderPixelSize);
      }
      break;
    }
  }
  return cells;
}

std::u16string DrawnHeaderText(FormHeaderField field, std::u16string_view text) {
  std::u16string drawn;
  for (const FormCell& cell : HeaderFieldCells(field, text)) {
    drawn.push_back(text[cell.index]);
  }
  return drawn;
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

ImageOutcome WriteFormPages(Canvas& canvas, System& system,
                            const std::filesystem::path& data_folder,
                            const std::function<std::filesystem::path(int page)>& page_path,
                            int pages, const std::function<void(ImageOutcome&)>& note,
                            const std::function<void(Graphics&, int page)>& draw,
                            const PageProgress& progress) {
  ImageOutcome outcome;
  if (!canvas.CanEncode(ImageFormat::kJpeg)) {
    outcome.status = ImageStatus::kNoJpegEncoder;
    return outcome;
  }
  const auto form = LoadFormTemplate(canvas, system, data_folder);
  if (!form) {
    outcome.status = ImageStatus::kNoFormTemplate;
    return outcome;
  }
  if (pages <= 0) {
    outcome.status = ImageStatus::kNothingToDraw;
    return outcome;
  }
  if (note) {
    note(outcome);
  }
  const int width = form->Width();
  const int height = form->Height();
  for (int page = 1; page <= pages; ++page) {
    if (progress && !progress(page, pages)) {
      outcome.status = ImageStatus::kCancelled;
      return outcome;
    }
    const std::filesystem::path path = page_path(page);
    auto bitmap = canvas.CloneBitmap(*form, width, height);
    bool saved = false;
    if (bitmap) {
      {
        auto g = canvas.BeginDrawing(*bitmap);
        DrawPageNumber(canvas, *g, width, height, page, pages);
        draw(*g, page);
      }
      saved = SavePicture(canvas, system, *bitmap, ImageFormat::kJpeg, path);
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
