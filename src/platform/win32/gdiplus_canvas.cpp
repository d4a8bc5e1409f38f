#include "platform/win32/gdiplus_canvas.h"

#include <windows.h>

// GDI+ needs IStream, which a lean <windows.h> leaves out.
#include <objidl.h>

#include <gdiplus.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <optional>

#include "base/unicode.h"
#include "platform/win32/font_fallback.h"

namespace hoshizora {
namespace {

namespace gp = Gdiplus;
namespace flat = Gdiplus::DllExports;

std::wstring Wide(std::u16string_view text) {
  return std::wstring(text.begin(), text.end());
}

std::u16string FromWide(const wchar_t* text) {
  const std::wstring_view view(text);
  return std::u16string(view.begin(), view.end());
}

// GDI+ takes text up to its terminator; a character 0 inside ends it there too.
std::wstring UpToTerminator(std::u16string_view text) {
  return Wide(text.substr(0, text.find(char16_t{0})));
}

struct EncoderList {
  std::vector<gp::ImageCodecInfo> encoders;
  std::vector<BYTE> storage;
};

EncoderList ReadEncoders() {
  EncoderList list;
  UINT count = 0;
  UINT size = 0;
  if (flat::GdipGetImageEncodersSize(&count, &size) != gp::Ok || count == 0 || size == 0) {
    return list;
  }
  list.storage.resize(size);
  auto* infos = reinterpret_cast<gp::ImageCodecInfo*>(list.storage.data());
  if (flat::GdipGetImageEncoders(count, size, infos) != gp::Ok) {
    return list;
  }
  list.encoders.assign(infos, infos + count);
  return list;
}

// The first installed encoder of the format's MIME type.
std::optional<CLSID> EncoderFor(ImageFormat format) {
  const std::wstring_view mime = format == ImageFormat::kJpeg ? L"image/jpeg" : L"image/png";
  for (const gp::ImageCodecInfo& encoder : ReadEncoders().encoders) {
    if (encoder.MimeType != nullptr && mime == encoder.MimeType) {
      return encoder.Clsid;
    }
  }
  return std::nullopt;
}

std::unique_ptr<Bitmap> Own(gp::GpBitmap* bitmap) {
  if (bitmap == nullptr) {
    return nullptr;
  }
  return std::make_unique<GdiplusBitmap>(bitmap);
}

class GdiplusGraphics : public Graphics {
 public:
  GdiplusGraphics(GdiplusCanvas& canvas, gp::GpBitmap* bitmap) : canvas_(canvas) {
    if (flat::GdipGetImageGraphicsContext(bitmap, &graphics_) != gp::Ok) {
      graphics_ = nullptr;
    }
  }

  ~GdiplusGraphics() override {
    for (auto& [key, font] : fonts_) {
      if (font != nullptr) {
        flat::GdipDeleteFont(font);
      }
    }
    for (auto& [key, format] : formats_) {
      if (format != nullptr) {
        flat::GdipDeleteStringFormat(format);
      }
    }
    if (brush_ != nullptr) {
      flat::GdipDeleteBrush(brush_);
    }
    if (pen_ != nullptr) {
      flat::GdipDeletePen(pen_);
    }
    if (graphics_ != nullptr) {
      flat::GdipDeleteGraphics(graphics_);
    }
  }

  GdiplusGraphics(const GdiplusGraphics&) = delete;
  GdiplusGraphics& operator=(const GdiplusGraphics&) = delete;

  void Clear(std::uint32_t argb) override {
    if (graphics_ != nullptr) {
      flat::GdipGraphicsClear(graphics_, argb);
    }
  }

  void DrawString(std::u16string_view text, const Font& font, std::uint32_t argb,
                  const RectF& layout, const StringFormat* format) override {
    const std::wstring wide = UpToTerminator(text);
    if (graphics_ == nullptr || !font.valid || wide.empty()) {
      return;
    }
    gp::GpFont* gp_font = FontFor(font, text);
    gp::GpBrush* brush = BrushFor(argb);
    if (gp_font == nullptr || brush == nullptr) {
      return;
    }
    const gp::RectF rect(layout.x, layout.y, layout.width, layout.height);
    flat::GdipDrawString(graphics_, wide.c_str(), static_cast<INT>(wide.size()), gp_font, &rect,
                         format != nullptr ? FormatFor(*format) : nullptr, brush);
  }

  SizeF MeasureString(std::u16string_view text, const Font& font) override {
    const std::wstring wide = UpToTerminator(text);
    if (graphics_ == nullptr || !font.valid || wide.empty()) {
      return {};
    }
    gp::GpFont* gp_font = FontFor(font, text);
    if (gp_font == nullptr) {
      return {};
    }
    const gp::RectF layout(0, 0, 0, 0);
    gp::RectF box;
    INT fitted = 0;
    INT lines = 0;
    if (flat::GdipMeasureString(graphics_, wide.c_str(), static_cast<INT>(wide.size()), gp_font,
                                &layout, nullptr, &box, &fitted, &lines) != gp::Ok) {
      return {};
    }
    return SizeF{box.Width, box.Height};
  }

  RectF InkBounds(std::u16string_view text, const Font& font) override {
    const SizeF box = MeasureString(text, font);
    if (box.width <= 0 || box.height <= 0) {
      return {};
    }
    // Drawn as DrawString draws it, on a scratch bitmap with room on every
    // side, then looked for: metrics only guess where a face puts its ink.
    const float pad = font.pixel_size * 2;
    auto scratch = canvas_.CreateBitmap(static_cast<int>(box.width + 2 * pad) + 1,
                                        static_cast<int>(box.height + 2 * pad) + 1);
    if (!scratch) {
      return {};
    }
    {
      auto g = canvas_.BeginDrawing(*scratch);
      g->Clear(0);
      g->DrawString(text, font, kOpaqueBlack, RectF{pad, pad, 0, 0}, nullptr);
    }
    const std::vector<std::uint32_t> pixels = static_cast<GdiplusBitmap&>(*scratch).ReadPixels();
    return InkBox(pixels, scratch->Width(), pad);
  }

  void DrawLine(PointF from, PointF to, std::uint32_t argb, float width) override {
    if (gp::GpPen* pen = PenFor(argb, width)) {
      flat::GdipDrawLine(graphics_, pen, from.x, from.y, to.x, to.y);
    }
  }

  void DrawEllipse(const RectF& box, std::uint32_t argb, float width) override {
    if (gp::GpPen* pen = PenFor(argb, width)) {
      flat::GdipDrawEllipse(graphics_, pen, box.x, box.y, box.width, box.height);
    }
  }

  void FillRectangle(const RectF& box, std::uint32_t argb) override {
    gp::GpBrush* brush = graphics_ != nullptr ? BrushFor(argb) : nullptr;
    if (brush != nullptr) {
      flat::GdipFillRectangle(graphics_, brush, box.x, box.y, box.width, box.height);
    }
  }

  void SaveState() override {
    gp::GraphicsState state = 0;
    if (graphics_ != nullptr && flat::GdipSaveGraphics(graphics_, &state) == gp::Ok) {
      states_.push_back(state);
    }
  }

  void RestoreState() override {
    if (graphics_ != nullptr && !states_.empty()) {
      flat::GdipRestoreGraphics(graphics_, states_.back());
      states_.pop_back();
    }
  }

  void Translate(float dx, float dy) override {
    if (graphics_ != nullptr) {
      flat::GdipTranslateWorldTransform(graphics_, dx, dy, gp::MatrixOrderPrepend);
    }
  }

  void Rotate(float degrees) override {
    if (graphics_ != nullptr) {
      flat::GdipRotateWorldTransform(graphics_, degrees, gp::MatrixOrderPrepend);
    }
  }

 private:
  // Fonts live as long as the graphics: a page asks for the same few again
  // and again. Not shared between graphics, as GDI+ objects may not be used
  // by two threads at once.
  gp::GpFont* FontFor(const Font& font, std::u16string_view text) {
    auto key = std::make_pair(canvas_.FamilyFor(font.face, text), font.pixel_size);
    if (const auto it = fonts_.find(key); it != fonts_.end()) {
      return it->second;
    }
    gp::GpFont* created = nullptr;
    gp::GpFontFamily* family = nullptr;
    const std::wstring name = Wide(key.first);
    if (flat::GdipCreateFontFamilyFromName(name.c_str(), nullptr, &family) == gp::Ok) {
      if (flat::GdipCreateFont(family, font.pixel_size, gp::FontStyleRegular, gp::UnitPixel,
                               &created) != gp::Ok) {
        created = nullptr;
      }
      flat::GdipDeleteFontFamily(family);
    }
    fonts_.emplace(std::move(key), created);
    return created;
  }

  gp::GpBrush* BrushFor(std::uint32_t argb) {
    if (brush_ != nullptr && brush_argb_ == argb) {
      return brush_;
    }
    if (brush_ != nullptr) {
      flat::GdipDeleteBrush(brush_);
      brush_ = nullptr;
    }
    gp::GpSolidFill* fill = nullptr;
    if (flat::GdipCreateSolidFill(argb, &fill) == gp::Ok) {
      brush_ = fill;
      brush_argb_ = argb;
    }
    return brush_;
  }

  // One pen at a time, kept while the colour and width stay; shapes are
  // smoothed, which leaves text as it was.
  gp::GpPen* PenFor(std::uint32_t argb, float width) {
    if (graphics_ == nullptr) {
      return nullptr;
    }
    if (pen_ != nullptr && pen_argb_ == argb && pen_width_ == width) {
      return pen_;
    }
    if (pen_ != nullptr) {
      flat::GdipDeletePen(pen_);
      pen_ = nullptr;
    }
    if (flat::GdipCreatePen1(argb, width, gp::UnitPixel, &pen_) != gp::Ok) {
      pen_ = nullptr;
      return nullptr;
    }
    flat::GdipSetPenStartCap(pen_, gp::LineCapRound);
    flat::GdipSetPenEndCap(pen_, gp::LineCapRound);
    flat::GdipSetSmoothingMode(graphics_, gp::SmoothingModeAntiAlias);
    pen_argb_ = argb;
    pen_width_ = width;
    return pen_;
  }

  gp::GpStringFormat* FormatFor(const StringFormat& format) {
    const auto key = std::make_pair(format.horizontal, format.vertical);
    if (const auto it = formats_.find(key); it != formats_.end()) {
      return it->second;
    }
    const auto alignment = [](StringFormat::Align align) {
      return align == StringFormat::Align::kCenter ? gp::StringAlignmentCenter
                                                   : gp::StringAlignmentNear;
    };
    gp::GpStringFormat* created = nullptr;
    if (flat::GdipCreateStringFormat(0, LANG_NEUTRAL, &created) == gp::Ok) {
      flat::GdipSetStringFormatAlign(created, alignment(format.horizontal));
      flat::GdipSetStringFormatLineAlign(created, alignment(format.vertical));
    } else {
      created = nullptr;
    }
    formats_.emplace(key, created);
    return created;
  }

  GdiplusCanvas& canvas_;
  gp::GpGraphics* graphics_ = nullptr;
  std::map<std::pair<std::u16string, float>, gp::GpFont*> fonts_;
  std::map<std::pair<StringFormat::Align, StringFormat::Align>, gp::GpStringFormat*> formats_;
  gp::GpBrush* brush_ = nullptr;
  std::uint32_t brush_argb_ = 0;
  gp::GpPen* pen_ = nullptr;
  std::uint32_t pen_argb_ = 0;
  float pen_width_ = 0;
  std::vector<gp::GraphicsState> states_;
};

}  // namespace

GdiplusSession::GdiplusSession() {
  const gp::GdiplusStartupInput input;
  ULONG_PTR token = 0;
  started_ = gp::GdiplusStartup(&token, &input, nullptr) == gp::Ok;
  token_ = token;
}

GdiplusSession::~GdiplusSession() {
  if (started_) {
    gp::GdiplusShutdown(token_);
  }
}

GdiplusBitmap::GdiplusBitmap(gp::GpBitmap* bitmap) : bitmap_(bitmap) {
  UINT width = 0;
  UINT height = 0;
  flat::GdipGetImageWidth(bitmap_, &width);
  flat::GdipGetImageHeight(bitmap_, &height);
  width_ = static_cast<int>(width);
  height_ = static_cast<int>(height);
}

GdiplusBitmap::~GdiplusBitmap() {
  flat::GdipDisposeImage(bitmap_);
}

std::vector<std::uint32_t> GdiplusBitmap::ReadPixels() const {
  std::vector<std::uint32_t> pixels;
  const gp::Rect all(0, 0, width_, height_);
  gp::BitmapData data{};
  if (width_ <= 0 || height_ <= 0 ||
      flat::GdipBitmapLockBits(bitmap_, &all, gp::ImageLockModeRead, PixelFormat32bppARGB, &data) !=
          gp::Ok) {
    return pixels;
  }
  pixels.resize(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_));
  const auto* rows = static_cast<const BYTE*>(data.Scan0);
  for (int y = 0; y < height_; ++y) {
    std::memcpy(pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_),
                rows + static_cast<std::ptrdiff_t>(y) * data.Stride,
                static_cast<std::size_t>(width_) * sizeof(std::uint32_t));
  }
  flat::GdipBitmapUnlockBits(bitmap_, &data);
  return pixels;
}

std::unique_ptr<Bitmap> GdiplusCanvas::CreateBitmap(int width, int height) {
  gp::GpBitmap* bitmap = nullptr;
  if (width <= 0 || height <= 0 ||
      flat::GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, nullptr, &bitmap) !=
          gp::Ok) {
    return nullptr;
  }
  return Own(bitmap);
}

std::unique_ptr<Bitmap> GdiplusCanvas::DecodeBitmap(std::string_view bytes) {
  if (bytes.empty() || bytes.size() > std::numeric_limits<UINT>::max()) {
    return nullptr;
  }
  IStream* stream = SHCreateMemStream(reinterpret_cast<const BYTE*>(bytes.data()),
                                      static_cast<UINT>(bytes.size()));
  if (stream == nullptr) {
    return nullptr;
  }
  gp::GpBitmap* decoded = nullptr;
  gp::GpBitmap* copy = nullptr;
  // A copy in memory: GDI+ reads the stream for as long as the bitmap made
  // from it lives, and decodes lazily, so broken bytes show up here.
  UINT width = 0;
  UINT height = 0;
  if (flat::GdipCreateBitmapFromStream(stream, &decoded) == gp::Ok) {
    if (flat::GdipGetImageWidth(decoded, &width) != gp::Ok ||
        flat::GdipGetImageHeight(decoded, &height) != gp::Ok || width == 0 || height == 0 ||
        flat::GdipCloneBitmapAreaI(0, 0, static_cast<INT>(width), static_cast<INT>(height),
                                   PixelFormat32bppARGB, decoded, &copy) != gp::Ok) {
      copy = nullptr;
    }
    flat::GdipDisposeImage(decoded);
  }
  stream->Release();
  return Own(copy);
}

std::unique_ptr<Bitmap> GdiplusCanvas::CloneBitmap(const Bitmap& source, int width, int height) {
  const auto& bitmap = static_cast<const GdiplusBitmap&>(source);
  if (width <= 0 || height <= 0 || width > bitmap.Width() || height > bitmap.Height()) {
    return nullptr;
  }
  gp::GpBitmap* copy = nullptr;
  if (flat::GdipCloneBitmapAreaI(0, 0, width, height, PixelFormat32bppARGB, bitmap.native(),
                                 &copy) != gp::Ok) {
    return nullptr;
  }
  return Own(copy);
}

std::unique_ptr<Graphics> GdiplusCanvas::BeginDrawing(Bitmap& bitmap) {
  return std::make_unique<GdiplusGraphics>(*this, static_cast<GdiplusBitmap&>(bitmap).native());
}

bool GdiplusCanvas::InstalledLocked(std::u16string_view family) {
  if (const auto it = installed_.find(family); it != installed_.end()) {
    return it->second;
  }
  gp::GpFontFamily* found = nullptr;
  const std::wstring name = Wide(family);
  const bool installed =
      flat::GdipCreateFontFamilyFromName(name.c_str(), nullptr, &found) == gp::Ok;
  if (installed) {
    flat::GdipDeleteFontFamily(found);
  }
  installed_.emplace(std::u16string(family), installed);
  return installed;
}

std::u16string GdiplusCanvas::GenericLocked() {
  if (generic_known_) {
    return generic_;
  }
  generic_known_ = true;
  generic_ = FirstInstalledFace(SansSerifFallbackChain(),
                                [this](std::u16string_view f) { return InstalledLocked(f); });
  if (generic_.empty()) {
    // No Japanese face at all: the platform's own sans-serif still draws Latin.
    gp::GpFontFamily* family = nullptr;
    if (flat::GdipGetGenericFontFamilySansSerif(&family) == gp::Ok) {
      WCHAR name[LF_FACESIZE] = {};
      if (flat::GdipGetFamilyName(family, name, LANG_NEUTRAL) == gp::Ok) {
        generic_ = FromWide(name);
      }
      flat::GdipDeleteFontFamily(family);
    }
  }
  return generic_;
}

std::u16string GdiplusCanvas::FamilyLocked(std::u16string_view face) {
  if (const auto it = resolved_.find(face); it != resolved_.end()) {
    return it->second;
  }
  std::u16string family = FirstInstalledFace(
      FontFallbackChain(face), [this](std::u16string_view f) { return InstalledLocked(f); });
  if (family.empty()) {
    family = GenericLocked();
  }
  resolved_.emplace(std::u16string(face), family);
  return family;
}

bool GdiplusCanvas::DrawsBlankLocked(const std::u16string& family, char16_t c) {
  const auto key = std::make_pair(family, c);
  if (const auto it = blank_glyphs_.find(key); it != blank_glyphs_.end()) {
    return it->second;
  }
  // GDI+ has no glyph query; the outline of the character as a path tells
  // whether the face draws anything for it.
  bool blank = false;
  gp::GpFontFamily* font_family = nullptr;
  const std::wstring name = Wide(family);
  if (flat::GdipCreateFontFamilyFromName(name.c_str(), nullptr, &font_family) == gp::Ok) {
    gp::GpPath* outline = nullptr;
    gp::GpStringFormat* format = nullptr;  // Wine's path strings insist on one
    if (flat::GdipCreatePath(gp::FillModeAlternate, &outline) == gp::Ok &&
        flat::GdipCreateStringFormat(0, LANG_NEUTRAL, &format) == gp::Ok) {
      const wchar_t text[] = {static_cast<wchar_t>(c), L'\0'};
      const gp::RectF layout(0, 0, 0, 0);
      INT points = 0;
      blank = flat::GdipAddPathString(outline, text, 1, font_family, gp::FontStyleRegular, 64,
                                      &layout, format) == gp::Ok &&
              flat::GdipGetPointCount(outline, &points) == gp::Ok && points == 0;
    }
    if (format != nullptr) {
      flat::GdipDeleteStringFormat(format);
    }
    if (outline != nullptr) {
      flat::GdipDeletePath(outline);
    }
    flat::GdipDeleteFontFamily(font_family);
  }
  blank_glyphs_.emplace(key, blank);
  return blank;
}

std::u16string GdiplusCanvas::FamilyFor(std::u16string_view face) {
  std::lock_guard lock(mutex_);
  return FamilyLocked(face);
}

std::u16string GdiplusCanvas::FamilyFor(std::u16string_view face, std::u16string_view text) {
  std::lock_guard lock(mutex_);
  std::u16string family = FamilyLocked(face);
  // Half a surrogate pair has no outline of its own to ask for.
  if (text.size() != 1 || DrawsNothing(text.front()) || IsSurrogate(text.front())) {
    return family;
  }
  const char16_t c = text.front();
  const auto key = std::make_pair(std::u16string(face), c);
  if (const auto it = per_character_.find(key); it != per_character_.end()) {
    return it->second;
  }
  std::u16string chosen = family;
  if (DrawsBlankLocked(family, c)) {
    // The rest of the face's chain, then the generic sans-serif; when none
    // draws the character, the face's own family stays.
    std::vector<std::u16string> chain = FontFallbackChain(face);
    chain.push_back(GenericLocked());
    std::u16string next = NextInstalledFace(chain, family, [this, c](std::u16string_view f) {
      return InstalledLocked(f) && !DrawsBlankLocked(std::u16string(f), c);
    });
    if (!next.empty()) {
      chosen = std::move(next);
    }
  }
  per_character_.emplace(key, chosen);
  return chosen;
}

bool GdiplusCanvas::HasFontFace(std::u16string_view face) {
  std::lock_guard lock(mutex_);
  return !FirstInstalledFace(FontFallbackChain(face), [this](std::u16string_view f) {
            return InstalledLocked(f);
          }).empty();
}

std::u16string GdiplusCanvas::GenericSansSerifFace() {
  std::lock_guard lock(mutex_);
  return GenericLocked();
}

bool GdiplusCanvas::CanEncode(ImageFormat format) {
  return EncoderFor(format).has_value();
}

std::optional<std::string> GdiplusCanvas::EncodeImage(const Bitmap& bitmap, ImageFormat format) {
  const std::optional<CLSID> clsid = EncoderFor(format);
  IStream* stream = nullptr;
  if (!clsid || CreateStreamOnHGlobal(nullptr, TRUE, &stream) != S_OK) {
    return std::nullopt;
  }
  std::optional<std::string> encoded;
  HGLOBAL memory = nullptr;
  STATSTG stat = {};
  if (flat::GdipSaveImageToStream(static_cast<const GdiplusBitmap&>(bitmap).native(), stream,
                                  &*clsid, nullptr) == gp::Ok &&
      stream->Stat(&stat, STATFLAG_NONAME) == S_OK &&
      GetHGlobalFromStream(stream, &memory) == S_OK) {
    if (const void* data = GlobalLock(memory)) {
      encoded.emplace(static_cast<const char*>(data),
                      static_cast<std::size_t>(stat.cbSize.QuadPart));
      GlobalUnlock(memory);
    }
  }
  stream->Release();
  return encoded;
}

}  // namespace hoshizora
