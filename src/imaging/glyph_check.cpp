#include "imaging/glyph_check.h"

#include <algorithm>
#include <string>

#include "base/unicode.h"

namespace hoshizora {
namespace {

std::u16string VisibleCharacters(std::u16string_view text) {
  std::u16string out;
  for (char16_t c : text) {
    if (!DrawsNothing(c)) {
      out.push_back(c);
    }
  }
  return out;
}

}  // namespace

void NoteUndrawable(Canvas& canvas, std::u16string_view design_face, const Font& font,
                    std::u16string_view text, ImageOutcome& outcome) {
  const std::u16string missing =
      font.valid ? canvas.MissingGlyphs(text, font) : VisibleCharacters(text);
  if (missing.empty()) {
    return;
  }
  // A surrogate pair is one character: noted, and compared, whole.
  AppendNewCharacters(outcome.undrawable, missing);
  auto& faces = outcome.missing_faces;
  if (!canvas.HasFontFace(design_face) &&
      std::find(faces.begin(), faces.end(), design_face) == faces.end()) {
    faces.emplace_back(design_face);
  }
}

}  // namespace hoshizora
