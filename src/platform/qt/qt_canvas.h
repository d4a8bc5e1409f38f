#pragma once

#include <QImage>
#include <QString>
#include <map>
#include <mutex>

#include "platform/canvas.h"

namespace hoshizora {

class QtBitmap : public Bitmap {
 public:
  explicit QtBitmap(QImage image) : image_(std::move(image)) {}
  int Width() const override { return image_.width(); }
  int Height() const override { return image_.height(); }
  QImage& image() { return image_; }
  const QImage& image() const { return image_; }

 private:
  QImage image_;
};

// The Canvas port on QImage and QPainter. Needs a QGuiApplication (any
// platform, "offscreen" included) for its fonts. Safe to use from several
// threads at once, each drawing on its own bitmap.
class QtCanvas : public Canvas {
 public:
  std::unique_ptr<Bitmap> CreateBitmap(int width, int height) override;
  std::unique_ptr<Bitmap> DecodeBitmap(std::string_view bytes) override;
  std::unique_ptr<Bitmap> CloneBitmap(const Bitmap& source, int width, int height) override;
  std::unique_ptr<Graphics> BeginDrawing(Bitmap& bitmap) override;
  bool HasFontFace(std::u16string_view face) override;
  std::u16string GenericSansSerifFace() override;
  std::u16string MissingGlyphs(std::u16string_view text, const Font& font) override;
  bool CanEncode(ImageFormat format) override;
  std::optional<std::string> EncodeImage(const Bitmap& bitmap, ImageFormat format) override;

  // The installed family that draws a design face, or the generic sans-serif.
  QString FamilyFor(std::u16string_view face);
  // The family to draw `text` in: FamilyFor(face), unless that family's glyph
  // for a single visible character is empty (some brush faces leave
  // punctuation blank); then the face's next installed substitute.
  QString FamilyFor(std::u16string_view face, std::u16string_view text);

 private:
  // The installed family for a face, empty when there is none (cached: the
  // font database is slow to ask and is asked for every column drawn).
  QString ResolvedFace(std::u16string_view face);

  bool DrawsBlank(const QString& family, char16_t c);
  // Whether text in `family`, with Qt's fallback to other installed faces,
  // shows `c` with a real glyph rather than the missing-glyph box.
  bool HasGlyph(const QString& family, char32_t c);
  QString FallbackFamily(std::u16string_view face, const QString& family);

  std::mutex mutex_;
  std::map<std::u16string, QString, std::less<>> resolved_;
  std::map<std::pair<QString, char16_t>, bool> blank_glyphs_;
  std::map<std::pair<QString, char32_t>, bool> has_glyph_;
};

QString ToQString(std::u16string_view text);
std::u16string FromQString(const QString& text);

}  // namespace hoshizora
