#pragma once

#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/canvas.h"
#include "support/native_system.h"

namespace hoshizora::testing {

// One string drawn: where its layout origin landed on the picture, and how it
// was turned.
struct DrawnString {
  int bitmap = 0;  // which bitmap (in order of creation, from 1)
  std::u16string text;
  std::u16string face;
  float pixel_size = 0;
  float x = 0;  // the layout rectangle's corner after the transform
  float y = 0;
  float rotation = 0;  // degrees, clockwise
  RectF layout;
  bool has_format = false;
  StringFormat format;
};

// A line, an ellipse's box or a filled rectangle, where it landed on the
// picture (unturned boxes only).
struct DrawnShape {
  enum class Kind { kLine, kEllipse, kRectangle };
  int bitmap = 0;
  Kind kind = Kind::kLine;
  float x1 = 0;  // a line's ends; a box's corners
  float y1 = 0;
  float x2 = 0;
  float y2 = 0;
  std::uint32_t argb = 0;
  float width = 0;
};

struct EncodedImage {
  int bitmap = 0;
  ImageFormat format = ImageFormat::kJpeg;
  int width = 0;
  int height = 0;
};

// A Canvas that records instead of drawing. Text measures as pixel_size per
// character wide and 1.25 × pixel_size high.
class RecordingCanvas : public Canvas {
 public:
  class FakeBitmap : public Bitmap {
   public:
    FakeBitmap(int id, int w, int h) : id(id), w(w), h(h) {}
    int Width() const override { return w; }
    int Height() const override { return h; }
    int id;
    int w;
    int h;
  };

  std::unique_ptr<Bitmap> CreateBitmap(int width, int height) override {
    return std::make_unique<FakeBitmap>(++bitmaps_created, width, height);
  }
  // Any bytes decode as the form template, unless it is made unavailable.
  std::unique_ptr<Bitmap> DecodeBitmap(std::string_view bytes) override {
    decoded.emplace_back(bytes);
    if (!template_available) {
      return nullptr;
    }
    return std::make_unique<FakeBitmap>(++bitmaps_created, template_width, template_height);
  }
  std::unique_ptr<Bitmap> CloneBitmap(const Bitmap& source, int width, int height) override {
    if (width > source.Width() || height > source.Height()) {
      return nullptr;
    }
    return std::make_unique<FakeBitmap>(++bitmaps_created, width, height);
  }
  std::unique_ptr<Graphics> BeginDrawing(Bitmap& bitmap) override;
  bool HasFontFace(std::u16string_view face) override {
    return installed_faces.count(std::u16string(face)) != 0;
  }
  std::u16string GenericSansSerifFace() override { return generic_face; }
  std::u16string MissingGlyphs(std::u16string_view text, const Font&) override {
    std::u16string missing;
    for (char16_t c : text) {
      if (undrawable.find(c) != std::u16string::npos && missing.find(c) == std::u16string::npos) {
        missing.push_back(c);
      }
    }
    return missing;
  }
  bool CanEncode(ImageFormat format) override { return formats.count(format) != 0; }
  std::optional<std::string> EncodeImage(const Bitmap& bitmap, ImageFormat format) override {
    if (!CanEncode(format)) {
      return std::nullopt;
    }
    const auto& b = static_cast<const FakeBitmap&>(bitmap);
    encoded.push_back({b.id, format, b.w, b.h});
    return "picture";
  }

  // Strings drawn on one bitmap, in order.
  std::vector<DrawnString> On(int bitmap) const {
    std::vector<DrawnString> out;
    for (const auto& s : strings) {
      if (s.bitmap == bitmap) {
        out.push_back(s);
      }
    }
    return out;
  }

  // Settings.
  std::set<std::u16string> installed_faces = {u"MS Gothic", u"HGP行書体"};
  std::u16string generic_face = u"Sans";
  std::set<ImageFormat> formats = {ImageFormat::kJpeg, ImageFormat::kPng};
  bool template_available = true;
  int template_width = 764;
  int template_height = 1080;
  std::u16string undrawable;  // characters no face of this canvas has

  // Records.
  int bitmaps_created = 0;
  std::vector<std::uint32_t> clears;
  std::vector<DrawnString> strings;
  std::vector<DrawnShape> shapes;
  std::vector<EncodedImage> encoded;
  std::vector<std::string> decoded;
};

// The files the picture writers read and write, kept in memory: every read
// finds `template_bytes` (nothing when empty), every replace is kept unless
// `replace_fails` refuses its path.
class PictureFiles : public NativeSystem {
 public:
  FileRead ReadFile(const std::filesystem::path& path, std::uintmax_t) override {
    reads.push_back(path);
    if (template_bytes.empty()) {
      return {};
    }
    return {FileRead::Status::kRead, template_bytes};
  }
  bool ReplaceFile(const std::filesystem::path& path, std::string_view bytes) override {
    if (replace_fails && replace_fails(path)) {
      return false;
    }
    replaced.emplace_back(path, bytes);
    return true;
  }

  std::string template_bytes = "form";
  std::function<bool(const std::filesystem::path&)> replace_fails;
  std::vector<std::filesystem::path> reads;
  std::vector<std::pair<std::filesystem::path, std::string>> replaced;
};

class RecordingGraphics : public Graphics {
 public:
  RecordingGraphics(RecordingCanvas& canvas, int bitmap) : canvas_(canvas), bitmap_(bitmap) {}

  void Clear(std::uint32_t argb) override { canvas_.clears.push_back(argb); }
  void DrawString(std::u16string_view text, const Font& font, std::uint32_t, const RectF& layout,
                  const StringFormat* format) override {
    if (!font.valid) {
      return;
    }
    DrawnString s;
    s.bitmap = bitmap_;
    s.text = std::u16string(text);
    s.face = font.face;
    s.pixel_size = font.pixel_size;
    s.x = m_.a * layout.x + m_.c * layout.y + m_.e;
    s.y = m_.b * layout.x + m_.d * layout.y + m_.f;
    s.rotation = std::round(std::atan2(m_.b, m_.a) * 180.0f / 3.14159265f);
    s.layout = layout;
    s.has_format = format != nullptr;
    if (format != nullptr) {
      s.format = *format;
    }
    canvas_.strings.push_back(std::move(s));
  }
  SizeF MeasureString(std::u16string_view text, const Font& font) override {
    return SizeF{static_cast<float>(text.size()) * font.pixel_size, font.pixel_size * 1.25f};
  }
  // Ink fills a square of the em size a sixth of it in from the corner.
  RectF InkBounds(std::u16string_view text, const Font& font) override {
    const float em = font.pixel_size;
    return text.empty() ? RectF{} : RectF{em / 6, em / 6, em * static_cast<float>(text.size()), em};
  }
  void DrawLine(PointF from, PointF to, std::uint32_t argb, float width) override {
    Record(DrawnShape::Kind::kLine, Map(from), Map(to), argb, width);
  }
  void DrawEllipse(const RectF& box, std::uint32_t argb, float width) override {
    Record(DrawnShape::Kind::kEllipse, Map({box.x, box.y}),
           Map({box.x + box.width, box.y + box.height}), argb, width);
  }
  void FillRectangle(const RectF& box, std::uint32_t argb) override {
    Record(DrawnShape::Kind::kRectangle, Map({box.x, box.y}),
           Map({box.x + box.width, box.y + box.height}), argb, 0);
  }
  void SaveState() override { stack_.push_back(m_); }
  void RestoreState() override {
    if (!stack_.empty()) {
      m_ = stack_.back();
      stack_.pop_back();
    }
  }
  // Prepended, as the port requires: the new transform applies first.
  void Translate(float dx, float dy) override {
    m_.e += m_.a * dx + m_.c * dy;
    m_.f += m_.b * dx + m_.d * dy;
  }
  void Rotate(float degrees) override {
    const float r = degrees * 3.14159265f / 180.0f;
    const float cs = std::round(std::cos(r) * 1e6f) / 1e6f;
    const float sn = std::round(std::sin(r) * 1e6f) / 1e6f;
    const Matrix m = m_;
    m_.a = m.a * cs + m.c * sn;
    m_.c = -m.a * sn + m.c * cs;
    m_.b = m.b * cs + m.d * sn;
    m_.d = -m.b * sn + m.d * cs;
  }

 private:
  struct Matrix {
    float a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;
  };
  PointF Map(PointF p) const {
    return {m_.a * p.x + m_.c * p.y + m_.e, m_.b * p.x + m_.d * p.y + m_.f};
  }
  void Record(DrawnShape::Kind kind, PointF a, PointF b, std::uint32_t argb, float width) {
    canvas_.shapes.push_back({bitmap_, kind, a.x, a.y, b.x, b.y, argb, width});
  }

  RecordingCanvas& canvas_;
  int bitmap_;
  Matrix m_;
  std::vector<Matrix> stack_;
};

// Leaves a form template in the folder (made when missing) for a run on the
// recording canvas, which decodes any bytes as the template.
inline void PlaceFormTemplate(const std::filesystem::path& folder) {
  std::filesystem::create_directories(folder);
  std::ofstream(folder / u"和文電報受信用紙.jpg", std::ios::binary) << "form";
}

inline std::unique_ptr<Graphics> RecordingCanvas::BeginDrawing(Bitmap& bitmap) {
  return std::make_unique<RecordingGraphics>(*this, static_cast<FakeBitmap&>(bitmap).id);
}

}  // namespace hoshizora::testing
