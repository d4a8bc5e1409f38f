#include "platform/qt/qt_canvas.h"

#include <QBuffer>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>
#include <QTextLayout>
#include <algorithm>

#include "platform/qt/font_substitutes.h"

namespace hoshizora {
namespace {

// The image plugin that writes a format, or empty when none is installed.
QByteArray WriterFormat(ImageFormat format) {
  const QByteArray mime = format == ImageFormat::kJpeg ? "image/jpeg" : "image/png";
  if (!QImageWriter::supportedMimeTypes().contains(mime)) {
    return {};
  }
  const QList<QByteArray> formats = QImageWriter::imageFormatsForMimeType(mime);
  return formats.isEmpty() ? QByteArray() : formats.front();
}

// The default string format leaves a sixth of the em before the first glyph
// and after the last; positions and measurements include that margin.
float Margin(const Font& font) {
  return font.pixel_size / 6.0f;
}

class QtGraphics : public Graphics {
 public:
  QtGraphics(QtCanvas& canvas, QImage& image) : canvas_(canvas), painter_(&image) {
    painter_.setRenderHint(QPainter::Antialiasing);
    painter_.setRenderHint(QPainter::TextAntialiasing);
  }

  void Clear(std::uint32_t argb) override {
    painter_.save();
    painter_.resetTransform();
    painter_.setCompositionMode(QPainter::CompositionMode_Source);
    painter_.fillRect(QRect(0, 0, painter_.device()->width(), painter_.device()->height()),
                      QColor::fromRgba(argb));
    painter_.restore();
  }

  void DrawString(std::u16string_view text, const Font& font, std::uint32_t argb,
                  const RectF& layout, const StringFormat* format) override {
    if (!font.valid || text.empty()) {
      return;
    }
    const QFont qfont = ToQFont(font, text);
    painter_.setFont(qfont);
    painter_.setPen(QColor::fromRgba(argb));
    const QString qtext = ToQString(text);
    if (format == nullptr) {
      const QFontMetricsF metrics(qfont);
      painter_.drawText(QPointF(layout.x + Margin(font), layout.y + metrics.ascent()), qtext);
      return;
    }
    int flags = Qt::TextDontClip;
    flags |= format->horizontal == StringFormat::Align::kCenter ? Qt::AlignHCenter : Qt::AlignLeft;
    flags |= format->vertical == StringFormat::Align::kCenter ? Qt::AlignVCenter : Qt::AlignTop;
    painter_.drawText(QRectF(layout.x, layout.y, layout.width, layout.height), flags, qtext);
  }

  SizeF MeasureString(std::u16string_view text, const Font& font) override {
    if (!font.valid) {
      return {};
    }
    const QFontMetricsF metrics(ToQFont(font, text));
    return SizeF{static_cast<float>(metrics.horizontalAdvance(ToQString(text))) + 2 * Margin(font),
                 static_cast<float>(metrics.height())};
  }

  RectF InkBounds(std::u16string_view text, const Font& font) override {
    if (!font.valid || text.empty()) {
      return {};
    }
    // Drawn as DrawString draws it, on a scratch picture with room on every
    // side, then looked for: metrics only guess where a face puts its ink.
    const QFont qfont = ToQFont(font, text);
    const QFontMetricsF metrics(qfont);
    const float pad = font.pixel_size * 2;
    const int width = static_cast<int>(metrics.horizontalAdvance(ToQString(text)) + 2 * pad) + 1;
    const int height = static_cast<int>(metrics.height() + 2 * pad) + 1;
    QImage scratch(width, height, QImage::Format_ARGB32);
    scratch.fill(Qt::transparent);
    {
      QPainter painter(&scratch);
      painter.setRenderHint(QPainter::TextAntialiasing);
      painter.setFont(qfont);
      painter.setPen(Qt::black);
      painter.drawText(QPointF(pad + Margin(font), pad + metrics.ascent()), ToQString(text));
    }
    // Format_ARGB32 rows hold exactly `width` pixels: no padding to skip.
    return InkBox(std::span(reinterpret_cast<const std::uint32_t*>(scratch.constBits()),
                            static_cast<std::size_t>(width) * static_cast<std::size_t>(height)),
                  width, pad);
  }

  void DrawLine(PointF from, PointF to, std::uint32_t argb, float width) override {
    painter_.setPen(Pen(argb, width));
    painter_.drawLine(QPointF(from.x, from.y), QPointF(to.x, to.y));
  }

  void DrawEllipse(const RectF& box, std::uint32_t argb, float width) override {
    painter_.setPen(Pen(argb, width));
    painter_.setBrush(Qt::NoBrush);
    painter_.drawEllipse(QRectF(box.x, box.y, box.width, box.height));
  }

  void FillRectangle(const RectF& box, std::uint32_t argb) override {
    painter_.fillRect(QRectF(box.x, box.y, box.width, box.height), QColor::fromRgba(argb));
  }

  void SaveState() override { painter_.save(); }
  void RestoreState() override { painter_.restore(); }
  void Translate(float dx, float dy) override { painter_.translate(dx, dy); }
  void Rotate(float degrees) override { painter_.rotate(degrees); }

 private:
  QFont ToQFont(const Font& font, std::u16string_view text) {
    QFont qfont(canvas_.FamilyFor(font.face, text));
    qfont.setPixelSize(std::max(1, qRound(font.pixel_size)));
    qfont.setWeight(QFont::Normal);
    qfont.setStyle(QFont::StyleNormal);
    return qfont;
  }

  static QPen Pen(std::uint32_t argb, float width) {
    QPen pen(QColor::fromRgba(argb));
    pen.setWidthF(width);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
  }

  QtCanvas& canvas_;
  QPainter painter_;
};

}  // namespace

QString ToQString(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

std::u16string FromQString(const QString& text) {
  return std::u16string(reinterpret_cast<const char16_t*>(text.utf16()),
                        static_cast<std::size_t>(text.size()));
}

std::unique_ptr<Bitmap> QtCanvas::CreateBitmap(int width, int height) {
  QImage image(width, height, QImage::Format_ARGB32);
  if (image.isNull()) {
    return nullptr;
  }
  image.fill(Qt::transparent);
  return std::make_unique<QtBitmap>(std::move(image));
}

std::unique_ptr<Bitmap> QtCanvas::DecodeBitmap(std::string_view bytes) {
  QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
  QBuffer buffer(&data);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  QImage image = reader.read();
  if (image.isNull()) {
    return nullptr;
  }
  return std::make_unique<QtBitmap>(image.convertToFormat(QImage::Format_ARGB32));
}

std::unique_ptr<Bitmap> QtCanvas::CloneBitmap(const Bitmap& source, int width, int height) {
  const QImage& image = static_cast<const QtBitmap&>(source).image();
  if (width <= 0 || height <= 0 || width > image.width() || height > image.height()) {
    return nullptr;
  }
  QImage copy = image.copy(0, 0, width, height).convertToFormat(QImage::Format_ARGB32);
  if (copy.isNull()) {
    return nullptr;
  }
  return std::make_unique<QtBitmap>(std::move(copy));
}

std::unique_ptr<Graphics> QtCanvas::BeginDrawing(Bitmap& bitmap) {
  return std::make_unique<QtGraphics>(*this, static_cast<QtBitmap&>(bitmap).image());
}

QString QtCanvas::ResolvedFace(std::u16string_view face) {
  std::lock_guard lock(mutex_);
  auto it = resolved_.find(face);
  if (it == resolved_.end()) {
    it = resolved_.emplace(std::u16string(face), ResolveFontFace(ToQString(face))).first;
  }
  return it->second;
}

QString QtCanvas::FamilyFor(std::u16string_view face) {
  const QString resolved = ResolvedFace(face);
  return resolved.isEmpty() ? ResolvedFace(GenericSansSerifFace()) : resolved;
}

QString QtCanvas::FamilyFor(std::u16string_view face, std::u16string_view text) {
  const QString family = FamilyFor(face);
  if (text.size() == 1 && DrawsBlank(family, text.front())) {
    return FallbackFamily(face, family);
  }
  return family;
}

bool QtCanvas::DrawsBlank(const QString& family, char16_t c) {
  if (DrawsNothing(c) || QChar(c).isSurrogate()) {
    return false;
  }
  std::lock_guard lock(mutex_);
  const auto key = std::make_pair(family, c);
  if (const auto it = blank_glyphs_.find(key); it != blank_glyphs_.end()) {
    return it->second;
  }
  QFont font(family);
  font.setPixelSize(64);
  const QRawFont raw = QRawFont::fromFont(font);
  bool blank = false;
  if (raw.isValid() && raw.supportsCharacter(QChar(c))) {
    const QList<quint32> glyphs = raw.glyphIndexesForString(QString(QChar(c)));
    blank = !glyphs.isEmpty() && raw.pathForGlyph(glyphs.front()).isEmpty();
  }
  blank_glyphs_.emplace(key, blank);
  return blank;
}

bool QtCanvas::HasGlyph(const QString& family, char32_t c) {
  {
    std::lock_guard lock(mutex_);
    if (const auto it = has_glyph_.find({family, c}); it != has_glyph_.end()) {
      return it->second;
    }
  }
  // Lay the character out as drawing would, fallback faces included: glyph 0
  // is the box a face shows for what it lacks.
  QFont font(family);
  font.setPixelSize(64);
  QTextLayout layout(QString::fromUcs4(&c, 1), font);
  layout.beginLayout();
  layout.createLine();
  layout.endLayout();
  const QList<QGlyphRun> runs = layout.glyphRuns();
  bool found = !runs.isEmpty();
  for (const QGlyphRun& run : runs) {
    const QList<quint32> glyphs = run.glyphIndexes();
    found = found && run.rawFont().isValid() && !glyphs.isEmpty() &&
            std::find(glyphs.begin(), glyphs.end(), 0u) == glyphs.end();
  }
  std::lock_guard lock(mutex_);
  has_glyph_.emplace(std::make_pair(family, c), found);
  return found;
}

std::u16string QtCanvas::MissingGlyphs(std::u16string_view text, const Font& font) {
  std::u16string missing;
  const QString qtext = ToQString(text);
  for (qsizetype i = 0; i < qtext.size();) {
    const qsizetype n =
        qtext[i].isHighSurrogate() && i + 1 < qtext.size() && qtext[i + 1].isLowSurrogate() ? 2 : 1;
    const char32_t c = n == 2 ? QChar::surrogateToUcs4(qtext[i], qtext[i + 1]) : qtext[i].unicode();
    const std::u16string_view character =
        text.substr(static_cast<std::size_t>(i), static_cast<std::size_t>(n));
    i += n;
    if (DrawsNothing(c) || missing.find(character) != std::u16string::npos) {
      continue;
    }
    if (!HasGlyph(FamilyFor(font.face, character), c)) {
      missing.append(character);
    }
  }
  return missing;
}

QString QtCanvas::FallbackFamily(std::u16string_view face, const QString& family) {
  const QStringList installed = QFontDatabase::families();
  bool after = false;
  for (const QString& candidate : FontSubstitutes(ToQString(face))) {
    if (after && installed.contains(candidate, Qt::CaseInsensitive)) {
      return candidate;
    }
    after = after || candidate.compare(family, Qt::CaseInsensitive) == 0;
  }
  return JapaneseSansSerifFace();
}

bool QtCanvas::HasFontFace(std::u16string_view face) {
  return !ResolvedFace(face).isEmpty();
}

std::u16string QtCanvas::GenericSansSerifFace() {
  return FromQString(JapaneseSansSerifFace());
}

bool QtCanvas::CanEncode(ImageFormat format) {
  return !WriterFormat(format).isEmpty();
}

std::optional<std::string> QtCanvas::EncodeImage(const Bitmap& bitmap, ImageFormat format) {
  const QByteArray writer_format = WriterFormat(format);
  if (writer_format.isEmpty()) {
    return std::nullopt;
  }
  QByteArray encoded;
  QBuffer buffer(&encoded);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, writer_format);
  if (!writer.write(static_cast<const QtBitmap&>(bitmap).image())) {
    return std::nullopt;
  }
  return encoded.toStdString();
}

}  // namespace hoshizora
