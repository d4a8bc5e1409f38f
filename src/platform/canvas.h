#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace hoshizora {

struct RectF {
  float x = 0;
  float y = 0;
  float width = 0;
  float height = 0;
};

struct SizeF {
  float width = 0;
  float height = 0;
};

struct PointF {
  float x = 0;
  float y = 0;
};

// A font by face name (the design's names, such as "MS Gothic") and em size in
// pixels, regular style. An invalid font draws nothing.
struct Font {
  std::u16string face;
  float pixel_size = 0;
  bool valid = false;
};

// Where a string sits in its layout rectangle. With no format (nullptr), the
// layout box starts at the rectangle's corner; a zero-size rectangle neither
// wraps nor clips.
struct StringFormat {
  enum class Align { kNear, kCenter };
  Align horizontal = Align::kNear;
  Align vertical = Align::kNear;
};

// Whether a character leaves no ink in any face: blanks, controls and format
// marks (bidirectional marks, joiners, the byte-order mark). No face need be
// looked for to draw it, and it is never a missing glyph.
constexpr bool DrawsNothing(char32_t c) {
  return c <= 0x20 || (c >= 0x7F && c <= 0xA0) || c == 0xAD || (c >= 0x2000 && c <= 0x200F) ||
         (c >= 0x2028 && c <= 0x202F) || (c >= 0x205F && c <= 0x206F) || c == 0x3000 ||
         c == 0xFEFF || (c >= 0xFFF9 && c <= 0xFFFB);
}

// The box of the pixels at least half covered in ARGB pixels laid out in
// rows of `width`, moved back by `pad` (the margin the text was drawn at);
// empty when no pixel is. Both canvases measure a string's ink with it.
RectF InkBox(std::span<const std::uint32_t> argb, int width, float pad);

// The picture formats the writers save in: JPEG for the form pages and the
// listing, PNG for the charts.
enum class ImageFormat { kJpeg, kPng };

inline constexpr std::uint32_t kOpaqueBlack = 0xFF000000;
inline constexpr std::uint32_t kOpaqueWhite = 0xFFFFFFFF;

// A 32-bit ARGB picture.
class Bitmap {
 public:
  virtual ~Bitmap() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
};

// Drawing on one bitmap. Transforms are prepended: a translation or rotation
// applies to what is drawn next before the transforms already in place.
class Graphics {
 public:
  virtual ~Graphics() = default;
  virtual void Clear(std::uint32_t argb) = 0;
  virtual void DrawString(std::u16string_view text, const Font& font, std::uint32_t argb,
                          const RectF& layout, const StringFormat* format) = 0;
  // The bounding box of the text laid out at (0, 0) with no format, margins included.
  virtual SizeF MeasureString(std::u16string_view text, const Font& font) = 0;
  // The box of the pixels DrawString(text, font, colour, {0, 0, 0, 0},
  // nullptr) inks, relative to that layout corner: where the glyphs really
  // are, for centring them by eye. Zero width and height when it inks none.
  virtual RectF InkBounds(std::u16string_view text, const Font& font) = 0;
  // Lines and outlines `width` pixels wide and areas in an ARGB colour,
  // smoothed, through the current transform.
  virtual void DrawLine(PointF from, PointF to, std::uint32_t argb, float width) = 0;
  // The ellipse inside the box.
  virtual void DrawEllipse(const RectF& box, std::uint32_t argb, float width) = 0;
  virtual void FillRectangle(const RectF& box, std::uint32_t argb) = 0;
  virtual void SaveState() = 0;
  virtual void RestoreState() = 0;
  virtual void Translate(float dx, float dy) = 0;
  // Positive angles turn clockwise (x to the right, y downwards).
  virtual void Rotate(float degrees) = 0;
};

// The imaging operations the picture writers need of the platform.
class Canvas {
 public:
  virtual ~Canvas() = default;
  virtual std::unique_ptr<Bitmap> CreateBitmap(int width, int height) = 0;
  // The picture held in a file's bytes, or nothing when they are not one the
  // platform can decode.
  virtual std::unique_ptr<Bitmap> DecodeBitmap(std::string_view bytes) = 0;
  // A copy of the rectangle (0, 0, width, height), or nothing.
  virtual std::unique_ptr<Bitmap> CloneBitmap(const Bitmap& source, int width, int height) = 0;
  virtual std::unique_ptr<Graphics> BeginDrawing(Bitmap& bitmap) = 0;
  // Whether a face (by its design name) can be had, directly or through a substitute.
  virtual bool HasFontFace(std::u16string_view face) = 0;
  // A Japanese-capable sans-serif face, or empty when there is none.
  virtual std::u16string GenericSansSerifFace() = 0;
  // The characters of `text` that no installed face can draw in `font` (they
  // would come out as empty boxes), each once, in order; characters that draw
  // nothing anyway (DrawsNothing) are never listed. The default trusts the
  // platform to draw everything.
  virtual std::u16string MissingGlyphs(std::u16string_view /*text*/, const Font& /*font*/) {
    return {};
  }
  // Whether an encoder for the format is installed.
  virtual bool CanEncode(ImageFormat format) = 0;
  // The bitmap as a file of that format, or nothing when it cannot be encoded.
  virtual std::optional<std::string> EncodeImage(const Bitmap& bitmap, ImageFormat format) = 0;
};

}  // namespace hoshizora
