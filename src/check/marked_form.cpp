#include "check/marked_form.h"

#include <algorithm>
#include <map>
#include <tuple>

#include "base/unicode.h"
#include "check/alignment.h"
#include "check/check_fields.h"
#include "encoding/text_utils.h"
#include "imaging/drawing_helpers.h"
#include "imaging/glyph_check.h"
#include "platform/paths.h"

namespace hoshizora {
namespace {

constexpr float kBodyPixelSize = 25;
constexpr float kBodyCell = 42;
// The 備考 box of the template.
constexpr RectF kRemarksBox{86, 705, 84, 210};

// ガ from カ and ゛, パ from ハ and ゜: the expected text as a learner writes it.
std::u16string Recompose(std::u16string_view text) {
  constexpr std::u16string_view kVoicable = u"カキクケコサシスセソタチツテトハヒフヘホ";
  constexpr std::u16string_view kHaRow = u"ハヒフヘホ";
  std::u16string out;
  for (char16_t c : text) {
    if (!out.empty() && (c == u'゛' || c == u'゜')) {
      const char16_t base = out.back();
      if (c == u'゛' && kVoicable.find(base) != std::u16string_view::npos) {
        out.back() = static_cast<char16_t>(base + 1);
        continue;
      }
      if (c == u'゛' && base == u'ウ') {
        out.back() = u'ヴ';
        continue;
      }
      if (c == u'゜' && kHaRow.find(base) != std::u16string_view::npos) {
        out.back() = static_cast<char16_t>(base + 2);
        continue;
      }
    }
    out.push_back(c);
  }
  return out;
}

std::u16string FieldCopyText(const CheckCopy& copy, CheckField field) {
  return field == CheckField::kBody ? CheckedBodyText(copy.fields.body)
                                    : FieldText(copy.fields, field);
}

class CellBuilder {
 public:
  CellBuilder(const std::vector<KeyedCharacter>& key, const std::vector<KeyedCharacter>& copy,
              std::u16string_view key_text, std::u16string_view copy_text, bool key_blanks)
      : key_(key),
        copy_(copy),
        key_text_(key_text),
        copy_text_(copy_text),
        key_blanks_(key_blanks) {}

  std::vector<MarkedCell> Build() {
    for (const EditStep& step : AlignKeyedCharacters(key_, copy_)) {
      if (step.kind == EditKind::kOmission) {
        pending_.push_back(step.key);
        continue;
      }
      const std::size_t source = copy_[static_cast<std::size_t>(step.copy)].source;
      if (!open_ || source != open_source_) {
        Flush();
        if (step.kind != EditKind::kInsertion) {
          BlanksBefore(step.key);
        }
        open_ = true;
        open_source_ = source;
      }
      group_.push_back(step);
    }
    Flush();
    return std::move(cells_);
  }

 private:
  // The key's blanks (and characters nobody hears) between the last key
  // character placed and key[k], each as an empty cell.
  void BlanksBefore(int k) {
    const std::size_t source = key_[static_cast<std::size_t>(k)].source;
    if (key_blanks_ && (placed_ < 0 || source > static_cast<std::size_t>(placed_))) {
      for (std::size_t i = placed_ < 0 ? 0 : static_cast<std::size_t>(placed_) + 1; i < source;
           ++i) {
        cells_.push_back({MarkedCell::Kind::kBlank, std::u16string(1, key_text_[i]), {}});
      }
    }
    placed_ = std::max(placed_, static_cast<long long>(source));
  }

  void Flush() {
    if (open_) {
      MarkedCell cell;
      cell.written =
          std::u16string(copy_text_.substr(open_source_, CharacterUnits(copy_text_, open_source_)));
      bool paired = false;
      bool wrong = false;
      std::u16string expected;
      for (const EditStep& step : group_) {
        if (step.kind == EditKind::kInsertion) {
          wrong = true;
          continue;
        }
        paired = true;
        wrong = wrong || step.kind == EditKind::kSubstitution;
        expected += key_[static_cast<std::size_t>(step.key)].text;
      }
      cell.kind = !paired ? MarkedCell::Kind::kExtra
                  : wrong ? MarkedCell::Kind::kWrong
                          : MarkedCell::Kind::kRight;
      if (cell.kind == MarkedCell::Kind::kWrong) {
        cell.expected = Recompose(expected);
      }
      cells_.push_back(std::move(cell));
      group_.clear();
      open_ = false;
    }
    // Left-out characters, one cell for each character of the key (ガ left
    // out whole is one).
    for (std::size_t i = 0; i < pending_.size();) {
      BlanksBefore(pending_[i]);
      const std::size_t source = key_[static_cast<std::size_t>(pending_[i])].source;
      std::u16string expected;
      for (; i < pending_.size() && key_[static_cast<std::size_t>(pending_[i])].source == source;
           ++i) {
        expected += key_[static_cast<std::size_t>(pending_[i])].text;
      }
      cells_.push_back({MarkedCell::Kind::kMissing, {}, Recompose(expected)});
    }
    pending_.clear();
  }

  const std::vector<KeyedCharacter>& key_;
  const std::vector<KeyedCharacter>& copy_;
  std::u16string_view key_text_;
  std::u16string_view copy_text_;
  bool key_blanks_;
  std::vector<MarkedCell> cells_;
  std::vector<EditStep> group_;
  std::vector<int> pending_;
  bool open_ = false;
  std::size_t open_source_ = 0;
  long long placed_ = -1;
};

FormHeaderField HeaderField(CheckField field) {
  switch (field) {
    case CheckField::kCount:
      return FormHeaderField::kCount;
    case CheckField::kStation:
      return FormHeaderField::kStation;
    case CheckField::kNumber:
      return FormHeaderField::kNumber;
    case CheckField::kTime:
      return FormHeaderField::kTime;
    default:
      return FormHeaderField::kAddressee;
  }
}

bool Turned(std::u16string_view text) {
  return text.size() == 1 && kBracketSet.find(text.front()) != std::u16string_view::npos;
}

// In vertical writing 、 and 。 sit in the top right of their cell (written
// half-width too).
bool TopRight(std::u16string_view text) {
  return text == u"、" || text == u"。" || text == u"､" || text == u"｡";
}

// Where each character's ink lies, found once for every page: finding it
// means drawing the character.
class InkCache {
 public:
  RectF Bounds(Graphics& g, std::u16string_view text, const Font& font) {
    auto key = std::make_tuple(std::u16string(text), font.face, font.pixel_size);
    auto it = bounds_.find(key);
    if (it == bounds_.end()) {
      it = bounds_.emplace(std::move(key), g.InkBounds(text, font)).first;
    }
    return it->second;
  }

 private:
  std::map<std::tuple<std::u16string, std::u16string, float>, RectF> bounds_;
};

// Draws one character in the box: centred by its ink, turned a quarter turn
// when it is a bracket, 、 and 。 in the top right.
void DrawCentred(Graphics& g, const Font& font, std::u16string_view text, const RectF& box,
                 std::uint32_t argb, InkCache& inks) {
  const RectF ink = inks.Bounds(g, text, font);
  if (ink.width <= 0 || ink.height <= 0) {
    return;
  }
  const float cx = box.x + box.width / 2;
  const float cy = box.y + box.height / 2;
  if (Turned(text)) {
    g.SaveState();
    g.Translate(cx, cy);
    g.Rotate(90);
    g.DrawString(text, font, argb, {-(ink.x + ink.width / 2), -(ink.y + ink.height / 2), 0, 0},
                 nullptr);
    g.RestoreState();
    return;
  }
  if (TopRight(text)) {
    const float inset = box.width / 8;
    g.DrawString(text, font, argb,
                 {box.x + box.width - inset - (ink.x + ink.width), box.y + inset - ink.y, 0, 0},
                 nullptr);
    return;
  }
  g.DrawString(text, font, argb,
               {cx - (ink.x + ink.width / 2), cy - (ink.y + ink.height / 2), 0, 0}, nullptr);
}

class FormMarker {
 public:
  FormMarker(Canvas& canvas, Graphics& g, InkCache& inks) : canvas_(canvas), g_(g), inks_(inks) {}

  // One cell: `box` the square the character stands in, `pixel_size` its em.
  void Draw(const MarkedCell& cell, const RectF& box, float pixel_size, const Font& face) {
    const float unit = box.width / kBodyCell;  // marks scale with the cell
    const float pen = 2.2f * unit;
    const float cx = box.x + box.width / 2;
    const float cy = box.y + box.height / 2;
    switch (cell.kind) {
      case MarkedCell::Kind::kBlank:
        return;
      case MarkedCell::Kind::kRight:
        DrawCentred(g_, face, cell.written, box, kOpaqueBlack, inks_);
        return;
      case MarkedCell::Kind::kExtra: {
        DrawCentred(g_, face, cell.written, box, kOpaqueBlack, inks_);
        const float reach = box.width * 0.38f;
        g_.DrawLine({cx + reach, cy - reach}, {cx - reach, cy + reach}, kMarkRed, pen);
        return;
      }
      case MarkedCell::Kind::kWrong: {
        DrawCentred(g_, face, cell.written, box, kOpaqueBlack, inks_);
        const float r = box.width * 0.40f;
        g_.DrawEllipse({cx - r, cy - r, 2 * r, 2 * r}, kMarkRed, pen);
        const Font small = Gothic(std::max(10.0f, pixel_size * 0.56f));
        const float side = box.width * 0.36f;
        DrawCentred(g_, small, cell.expected,
                    {box.x + box.width - side * 0.55f, box.y - side * 0.35f, side, side}, kMarkRed,
                    inks_);
        return;
      }
      case MarkedCell::Kind::kMissing: {
        // A caret from the top edge, where the character belongs, over it in red.
        const float w = box.width * 0.16f;
        const float top = box.y + box.height * 0.06f;
        g_.DrawLine({cx - w, top}, {cx, top + w}, kMarkRed, pen);
        g_.DrawLine({cx, top + w}, {cx + w, top}, kMarkRed, pen);
        // In plain strokes, a little smaller than the copy: it was not written.
        const Font red = Gothic(pixel_size * 0.8f);
        DrawCentred(g_, red, cell.expected,
                    {box.x, box.y + box.height * 0.1f, box.width, box.height}, kMarkRed, inks_);
        return;
      }
    }
  }

  Font Gothic(float pixel_size) {
    auto it = fonts_.find(pixel_size);
    if (it == fonts_.end()) {
      it =
          fonts_.emplace(pixel_size, CreateFontOrSansSerif(canvas_, kGothicFace, pixel_size)).first;
    }
    return it->second;
  }

 private:
  Canvas& canvas_;
  Graphics& g_;
  InkCache& inks_;
  std::map<float, Font> fonts_;
};

// 得点 and counts in the 備考 box, in red as a marker would write them.
void DrawRemarks(FormMarker& marker, Graphics& g, const CheckResult& result) {
  const StringFormat centred{StringFormat::Align::kCenter, StringFormat::Align::kNear};
  const auto line = [&](const std::u16string& text, float size, float y) {
    const Font font = marker.Gothic(size);
    if (font.valid) {
      g.DrawString(text, font, kMarkRed, {kRemarksBox.x, y, kRemarksBox.width, size * 1.4f},
                   &centred);
    }
  };
  float y = kRemarksBox.y + 12;
  line(IntToText(result.score) + u"点", 26, y);
  y += 40;
  line(result.pass ? u"合格" : u"不合格", 17, y);
  y += 24;
  line(u"(" + IntToText(result.scheme.pass_mark) + u"点以上)", 12, y);
  y += 30;
  line(u"誤字 " + IntToText(result.substitutions), 15, y);
  y += 24;
  line(u"脱字 " + IntToText(result.omissions), 15, y);
  y += 24;
  line(u"余字 " + IntToText(result.insertions), 15, y);
}

// The display text of the cells, one character each, for the header layout.
std::u16string CellText(const std::vector<MarkedCell>& cells) {
  std::u16string text;
  for (const MarkedCell& cell : cells) {
    // Cells without a written character hold a stand-in that takes a cell
    // everywhere (no comma, no 」).
    const bool own = cell.kind != MarkedCell::Kind::kMissing && cell.written.size() == 1;
    text.push_back(own ? cell.written.front() : u'〇');
  }
  return text;
}

}  // namespace

std::filesystem::path MarkedFormStem(const std::filesystem::path& key_file) {
  const std::filesystem::path name =
      key_file.extension() == ".txt" ? key_file.stem() : key_file.filename();
  return WithSuffix(name, u"_採点");
}

std::vector<MarkedCell> MarkedCells(const TelegramFields& key, const CheckCopy& copy,
                                    CheckField field) {
  const std::u16string copy_text = FieldCopyText(copy, field);
  const std::u16string key_text = CheckedBodyText(key.body);
  const std::vector<KeyedCharacter> key_chars = KeyFieldCharacters(key, field);
  const std::vector<KeyedCharacter> copy_chars = CopyFieldCharacters(key, copy, field);
  return CellBuilder(key_chars, copy_chars, key_text, copy_text, field == CheckField::kBody)
      .Build();
}

ImageOutcome WriteMarkedForm(Canvas& canvas, System& system, const MarkedFormDestination& where,
                             const TelegramFields& key, const CheckCopy& copy,
                             const CheckResult& result) {
  const std::vector<MarkedCell> body = MarkedCells(key, copy, CheckField::kBody);
  std::vector<std::pair<CheckField, std::vector<MarkedCell>>> header;
  if (copy.has_header) {
    for (CheckField field : kHeaderFields) {
      header.emplace_back(field, MarkedCells(key, copy, field));
    }
  }
  // A page even for an empty copy of an empty key: the score still goes on it.
  const int pages =
      std::max(1, static_cast<int>((body.size() + kCellsPerPage - 1) / kCellsPerPage));
  Font body_font;
  const auto note = [&](ImageOutcome& outcome) {
    body_font = CreateFontOrSansSerif(canvas, kBrushScriptFace, kBodyPixelSize);
    std::u16string written;
    std::u16string expected;
    for (const MarkedCell& cell : body) {
      written += cell.written;
      expected += cell.expected;
    }
    NoteUndrawable(canvas, kBrushScriptFace, body_font, written, outcome);
    // The header fields and every correction are in the plain face.
    for (const auto& [field, cells] : header) {
      for (const MarkedCell& cell : cells) {
        expected += cell.written + cell.expected;
      }
    }
    const Font gothic = CreateFontOrSansSerif(canvas, kGothicFace, 18);
    NoteUndrawable(canvas, kGothicFace, gothic, expected, outcome);
  };
  InkCache inks;
  const auto draw = [&](Graphics& g, int page) {
    FormMarker marker(canvas, g, inks);
    for (const auto& [field, cells] : header) {
      const std::u16string text = CellText(cells);
      for (const FormCell& cell : HeaderFieldCells(HeaderField(field), text, true)) {
        // A square as wide as the plain column's characters with their margins.
        const float side = cell.pixel_size * 4 / 3;
        marker.Draw(cells[cell.index], {cell.x, cell.y, side, side}, cell.pixel_size,
                    marker.Gothic(cell.pixel_size));
      }
    }
    if (body_font.valid) {
      const std::size_t first = static_cast<std::size_t>(kCellsPerPage) * (page - 1);
      const std::size_t last = std::min(body.size(), first + kCellsPerPage);
      for (std::size_t i = first; i < last; ++i) {
        const FormCell cell = FormBodyCell(static_cast<int>(i - first));
        marker.Draw(body[i], {cell.x, cell.y, cell.step, cell.step}, cell.pixel_size, body_font);
      }
    }
    DrawRemarks(marker, g, result);
  };
  const auto page_path = [&](int page) {
    return WithSuffix(where.output_folder / where.stem, u"_" + IntToText(page) + u".jpg");
  };
  return WriteFormPages(canvas, system, where.data_folder, page_path, pages, note, draw, {});
}

}  // namespace hoshizora
