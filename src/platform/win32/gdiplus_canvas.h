#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/canvas.h"

namespace Gdiplus {
class GpBitmap;
}  // namespace Gdiplus

namespace hoshizora {

// GDI+ from construction to destruction; every GdiplusCanvas call needs one
// alive. Sessions may nest.
class GdiplusSession {
 public:
  GdiplusSession();
  ~GdiplusSession();
  GdiplusSession(const GdiplusSession&) = delete;
  GdiplusSession& operator=(const GdiplusSession&) = delete;

  bool started() const { return started_; }

 private:
  std::uintptr_t token_ = 0;
  bool started_ = false;
};

// A GDI+ bitmap, owned.
class GdiplusBitmap : public Bitmap {
 public:
  explicit GdiplusBitmap(Gdiplus::GpBitmap* bitmap);
  ~GdiplusBitmap() override;
  GdiplusBitmap(const GdiplusBitmap&) = delete;
  GdiplusBitmap& operator=(const GdiplusBitmap&) = delete;

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  Gdiplus::GpBitmap* native() const { return bitmap_; }

  // Every pixel as ARGB, row after row; empty when the bits cannot be read.
  std::vector<std::uint32_t> ReadPixels() const;

 private:
  Gdiplus::GpBitmap* bitmap_;
  int width_ = 0;
  int height_ = 0;
};

// The Canvas port on GDI+ (flat interface). Design faces resolve through
// their fallback chains, since GDI+ draws nothing with a missing family.
// Several threads may draw at once, each on its own bitmap.
class GdiplusCanvas : public Canvas {
 public:
  std::unique_ptr<Bitmap> CreateBitmap(int width, int height) override;
  std::unique_ptr<Bitmap> DecodeBitmap(std::string_view bytes) override;
  std::unique_ptr<Bitmap> CloneBitmap(const Bitmap& source, int width, int height) override;
  std::unique_ptr<Graphics> BeginDrawing(Bitmap& bitmap) override;
  bool HasFontFace(std::u16string_view face) override;
  std::u16string GenericSansSerifFace() override;
  bool CanEncode(ImageFormat format) override;
  std::optional<std::string> EncodeImage(const Bitmap& bitmap, ImageFormat format) override;

  // The installed family that draws a design face, or the generic sans-serif.
  std::u16string FamilyFor(std::u16string_view face);
  // The family to draw `text` in: FamilyFor(face), unless `text` is one
  // visible character whose outline in that family is empty (brush faces
  // leave some punctuation blank); then the next family of the face's chain
  // that draws it.
  std::u16string FamilyFor(std::u16string_view face, std::u16string_view text);

 private:
  // Each of these expects mutex_ held.
  bool InstalledLocked(std::u16string_view family);
  std::u16string GenericLocked();
  std::u16string FamilyLocked(std::u16string_view face);
  bool DrawsBlankLocked(const std::u16string& family, char16_t c);

  std::mutex mutex_;
  std::map<std::u16string, bool, std::less<>> installed_;
  std::map<std::u16string, std::u16string, std::less<>> resolved_;
  std::map<std::pair<std::u16string, char16_t>, std::u16string> per_character_;
  std::map<std::pair<std::u16string, char16_t>, bool> blank_glyphs_;
  std::u16string generic_;
  bool generic_known_ = false;
};

}  // namespace hoshizora
