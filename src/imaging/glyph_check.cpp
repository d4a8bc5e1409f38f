#include "imaging/glyph_check.h"

#include <algorithm>
#include <string>

namespace hoshizora {
namespace {

bool IsHighSurrogate(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}

bool IsLowSurrogate(char16_t c) {
  return c >= 0xDC00 && c <= 0xDFFF;
}

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
  for (std::size_t i = 0; i < missing.size();) {
    const std::size_t n =
        IsHighSurrogate(missing[i]) && i + 1 < missing.size() && IsLowSurrogate(missing[i + 1]) ? 2
                                                                                                : 1;
    const std::u16string_view character = std::u16string_view(missing).substr(i, n);
    if (outcome.undrawable.find(character) == std::u16string::npos) {
      outcome.undrawable.append(character);
    }
    i += n;
  }
  auto& faces = outcome.missing_faces;
  if (!canvas.HasFontFace(design_face) &&
      std::find(faces.begin(), faces.end(), design_face) == faces.end()) {
    faces.emplace_back(design_face);
  }
}

}  // namespace hoshizora
