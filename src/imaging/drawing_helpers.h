#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/canvas.h"
#include "platform/system.h"

namespace hoshizora {

inline constexpr std::u16string_view kGothicFace = u"MS Gothic";
inline constexpr std::u16string_view kBrushScriptFace = u"HGP行書体";
inline constexpr std::u16string_view kFormTemplateName = u"和文電報受信用紙.jpg";
// The brackets that vertical writing turns a quarter turn.
inline constexpr std::u16string_view kBracketSet = u"（）「」『』《》〈〉【】［］｛｝";
inline constexpr float kWrapWidth = 1240;

// The face if it can be had, else the generic sans-serif; invalid only when
// even that is missing.
Font CreateFontOrSansSerif(Canvas& canvas, std::u16string_view face, float pixel_size);

// The reception form picture from the folder of the read-only side files, or
// nothing when it is missing, too large, cut short or not a picture.
std::unique_ptr<Bitmap> LoadFormTemplate(Canvas& canvas, System& system,
                                         const std::filesystem::path& data_folder);

// Encodes the bitmap and puts it under `path` whole or not at all: a write
// that fails part way leaves any earlier file of that name as it was.
bool SavePicture(Canvas& canvas, System& system, const Bitmap& bitmap, ImageFormat format,
                 const std::filesystem::path& path);

// One character of vertical writing in the cell at (x, y); brackets are
// turned a quarter turn clockwise.
void DrawCellChar(Graphics& g, const Font& font, char16_t ch, float x, float y);

// A vertical column of MS Gothic 18 px cells from (x, y), `step` pixels apart.
void DrawColumn(Canvas& canvas, Graphics& g, std::u16string_view text, int x, int y, int step);

// A vertical column of MS Gothic cells of `pixel_size` from (x, 362), 20 pixels apart.
void DrawSmallColumn(Canvas& canvas, Graphics& g, std::u16string_view text, int x,
                     float pixel_size);

// Breaks text into lines no wider than 1240 px: carriage returns dropped, a
// line at every line feed, breaks between any two characters.
std::vector<std::u16string> WrapLines(Graphics& g, const Font& font, std::u16string_view text);

}  // namespace hoshizora
