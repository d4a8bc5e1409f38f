#include "platform/win32/gdiplus_canvas.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "check/check_result.h"
#include "check/marked_form.h"
#include "encoding/default_telegram.h"
#include "encoding/telegram_signs.h"
#include "imaging/drawing_helpers.h"
#include "imaging/form_images.h"
#include "platform/win32/font_fallback.h"
#include "support/temp_dir.h"

namespace hoshizora {
namespace {

namespace fs = std::filesystem;

struct Box {
  int x0, y0, x1, y1;  // x1 and y1 excluded
  bool Contains(int x, int y) const { return x >= x0 && x < x1 && y >= y0 && y < y1; }
};

// Black text, not the form's dark red lines: every channel dark.
bool IsInk(std::uint32_t argb) {
  const std::uint32_t r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
  return std::max({r, g, b}) < 110;
}

// Anything but the paper: the form's lines, which a second JPEG pass darkens.
bool IsMarked(std::uint32_t argb) {
  const std::uint32_t r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
  return std::min({r, g, b}) < 200;
}

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;

  explicit Picture(const Bitmap& bitmap)
      : width(bitmap.Width()),
        height(bitmap.Height()),
        pixels(static_cast<const GdiplusBitmap&>(bitmap).ReadPixels()) {}
  std::uint32_t at(int x, int y) const {
    return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                  static_cast<std::size_t>(x)];
  }
  // Ink pixels inside a box; `ignore` drops pixels marked there already.
  int InkIn(const Box& box, const Picture* ignore = nullptr) const {
    int count = 0;
    for (int y = std::max(0, box.y0); y < std::min(height, box.y1); ++y) {
      for (int x = std::max(0, box.x0); x < std::min(width, box.x1); ++x) {
        count += IsInk(at(x, y)) && (ignore == nullptr || !IsMarked(ignore->at(x, y)));
      }
    }
    return count;
  }
  int InkOutside(const std::vector<Box>& boxes, const Picture* ignore = nullptr) const {
    int count = 0;
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const bool inside =
            std::any_of(boxes.begin(), boxes.end(), [&](const Box& b) { return b.Contains(x, y); });
        count += !inside && IsInk(at(x, y)) && (ignore == nullptr || !IsMarked(ignore->at(x, y)));
      }
    }
    return count;
  }
  Box InkBounds() const {
    Box b{width, height, 0, 0};
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        if (IsInk(at(x, y))) {
          b = {std::min(b.x0, x), std::min(b.y0, y), std::max(b.x1, x + 1), std::max(b.y1, y + 1)};
        }
      }
    }
    return b;
  }
};

fs::path AssetsFolder() {
  return fs::path(HOSHIZORA_ASSETS_DIR);
}

class GdiplusCanvasTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(session.started()); }

  Picture Draw(const std::function<void(Graphics&)>& draw, int w = 200, int h = 200) {
    auto bitmap = canvas.CreateBitmap(w, h);
    {
      auto g = canvas.BeginDrawing(*bitmap);
      g->Clear(kOpaqueWhite);
      draw(*g);
    }
    return Picture(*bitmap);
  }

  GdiplusSession session;
  GdiplusCanvas canvas;
};

TEST(FontFallbackTest, DesignFacesFallBackToFacesWithKana) {
  const auto gothic = FontFallbackChain(u"MS Gothic");
  ASSERT_GE(gothic.size(), 3u);
  EXPECT_EQ(gothic[0], u"MS Gothic");
  EXPECT_EQ(gothic[1], u"IPAGothic");
  const auto brush = FontFallbackChain(u"HGP行書体");
  EXPECT_EQ(brush[0], u"HGP行書体");
  // Every design face ends in the faces of a Japanese Windows and of the test prefix.
  for (const auto& chain : {gothic, brush, FontFallbackChain(u"MS UI Gothic")}) {
    for (std::u16string_view face : {u"Meiryo", u"Yu Gothic", u"MS Mincho", u"IPAPGothic"}) {
      EXPECT_EQ(std::count(chain.begin(), chain.end(), face), 1) << chain[0].size();
    }
  }
  // A brush face before any Gothic for the brush script.
  const auto at = [&](std::u16string_view face) {
    return std::find(brush.begin(), brush.end(), face) - brush.begin();
  };
  EXPECT_LT(at(u"AoyagiKouzanFontT"), at(u"IPAMincho"));
  EXPECT_LT(at(u"IPAMincho"), at(u"MS Gothic"));
  EXPECT_EQ(FontFallbackChain(u"No Such Face"), std::vector<std::u16string>{u"No Such Face"});
}

TEST(FontFallbackTest, PicksTheFirstInstalledAndTheOneAfter) {
  const std::vector<std::u16string> chain{u"A Face", u"B Face", u"C Face", u"D Face"};
  const auto installed = [](std::u16string_view f) { return f == u"B Face" || f == u"D Face"; };
  EXPECT_EQ(FirstInstalledFace(chain, installed), u"B Face");
  EXPECT_EQ(NextInstalledFace(chain, u"b face", installed), u"D Face");
  EXPECT_EQ(NextInstalledFace(chain, u"D Face", installed), u"");
  EXPECT_EQ(NextInstalledFace(chain, u"E Face", installed), u"");
  EXPECT_EQ(FirstInstalledFace(chain, [](std::u16string_view) { return false; }), u"");
}

TEST_F(GdiplusCanvasTest, EveryFaceDrawsKanaAndKanji) {
  EXPECT_TRUE(canvas.HasFontFace(u"MS Gothic"));
  EXPECT_TRUE(canvas.HasFontFace(u"HGP行書体"));
  EXPECT_FALSE(canvas.HasFontFace(u"No Such Face 123"));
  EXPECT_FALSE(canvas.GenericSansSerifFace().empty());
  for (std::u16string_view face : {u"MS Gothic", u"MS UI Gothic", u"HGP行書体", u"No Such Face"}) {
    const Font font = CreateFontOrSansSerif(canvas, face, 25);
    for (std::u16string_view text : {u"ア", u"漢"}) {
      const Picture p = Draw([&](Graphics& g) {
        g.DrawString(text, font, kOpaqueBlack, {80, 60, 0, 0}, nullptr);
      });
      EXPECT_GT(p.InkIn({80, 60, 122, 102}), 20) << face.size();
    }
  }
}

TEST_F(GdiplusCanvasTest, UprightCharacterInksItsCellOnly) {
  const Font font = CreateFontOrSansSerif(canvas, kBrushScriptFace, 25);
  const Picture p = Draw([&](Graphics& g) { DrawCellChar(g, font, u'ア', 80, 60); });
  EXPECT_GT(p.InkIn({80, 60, 122, 102}), 20);
  EXPECT_EQ(p.InkOutside({{80, 60, 122, 102}}), 0);
}

TEST_F(GdiplusCanvasTest, EveryBodyCharacterLeavesInk) {
  // The brush face leaves some punctuation blank; those come from the next face.
  const Font font = CreateFontOrSansSerif(canvas, kBrushScriptFace, 25);
  std::u16string seen;
  for (char16_t c : MakeDefaultTelegram(std::nullopt).body + u"０１？！・ー（）") {
    if (seen.find(c) != std::u16string::npos) {
      continue;
    }
    seen.push_back(c);
    const Picture p = Draw([&](Graphics& g) { DrawCellChar(g, font, c, 80, 60); });
    EXPECT_GT(p.InkIn({0, 0, 200, 200}), 3) << std::hex << int{c};
  }
}

TEST_F(GdiplusCanvasTest, TurnedBracketStaysNearItsCell) {
  const Font font = CreateFontOrSansSerif(canvas, kGothicFace, 18);
  const Picture upright = Draw([&](Graphics& g) {
    g.DrawString(u"」", font, kOpaqueBlack, {80, 60, 0, 0}, nullptr);
  });
  const Picture turned = Draw([&](Graphics& g) { DrawCellChar(g, font, u'」', 80, 60); });
  EXPECT_NE(upright.pixels, turned.pixels);
  EXPECT_GT(turned.InkIn({60, 40, 120, 100}), 5);
  EXPECT_EQ(turned.InkOutside({{60, 40, 120, 100}}), 0);
  // 」 upright is a tall stroke on the right; turned clockwise it lies flat.
  const Box up = upright.InkBounds();
  const Box down = turned.InkBounds();
  EXPECT_GT(up.y1 - up.y0, up.x1 - up.x0);
  EXPECT_GT(down.x1 - down.x0, down.y1 - down.y0);
}

TEST_F(GdiplusCanvasTest, TransformsArePrependedAndRestored) {
  const Font font = CreateFontOrSansSerif(canvas, kGothicFace, 20);
  const Picture p = Draw([&](Graphics& g) {
    g.SaveState();
    g.Translate(150, 20);
    g.Rotate(90);
    g.Translate(0, 40);  // in the turned space: 40 to the left on the picture
    g.DrawString(u"ア", font, kOpaqueBlack, {0, 0, 0, 0}, nullptr);
    g.RestoreState();
    g.DrawString(u"ア", font, kOpaqueBlack, {20, 150, 0, 0}, nullptr);
  });
  // (u, v) lands at (150 - 40 - v, 20 + u): left of x 110, below y 20.
  EXPECT_GT(p.InkIn({80, 20, 110, 50}), 20);
  EXPECT_GT(p.InkIn({20, 150, 50, 180}), 20);
  EXPECT_EQ(p.InkOutside({{80, 20, 110, 50}, {20, 150, 50, 180}}), 0);
}

TEST_F(GdiplusCanvasTest, MeasuringGrowsWithTheText) {
  const Font font = CreateFontOrSansSerif(canvas, kGothicFace, 14);
  auto bitmap = canvas.CreateBitmap(10, 10);
  auto g = canvas.BeginDrawing(*bitmap);
  const SizeF one = g->MeasureString(u"ア", font);
  const SizeF ten = g->MeasureString(u"アアアアアアアアアア", font);
  EXPECT_GT(one.width, 14);
  EXPECT_NEAR(ten.width - one.width, 9 * 14, 2);
  EXPECT_GE(one.height, 14);
  // The text ends at a character 0, as GDI+ reads it.
  const std::u16string cut{u'ア', char16_t{0}, u'ア'};
  EXPECT_FLOAT_EQ(g->MeasureString(cut, font).width, one.width);
  EXPECT_EQ(g->MeasureString(u"", font).width, 0);
}

TEST_F(GdiplusCanvasTest, CentredStringStaysInItsRectangle) {
  const Font font = CreateFontOrSansSerif(canvas, kGothicFace, 22);
  const StringFormat centred{StringFormat::Align::kCenter, StringFormat::Align::kNear};
  const Picture p = Draw([&](Graphics& g) {
    g.DrawString(u"2/69", font, kOpaqueBlack, {0, 100, 200, 30}, &centred);
  });
  EXPECT_GT(p.InkIn({50, 100, 150, 130}), 20);
  EXPECT_EQ(p.InkOutside({{50, 100, 150, 130}}), 0);
}

TEST_F(GdiplusCanvasTest, SavesAndLoadsJpegs) {
  testing::TempDir dir;
  const int jpeg = FindJpegEncoder(canvas);
  ASSERT_GE(jpeg, 0);
  auto bitmap = canvas.CreateBitmap(64, 48);
  ASSERT_NE(bitmap, nullptr);
  canvas.BeginDrawing(*bitmap)->Clear(kOpaqueWhite);
  const fs::path path = dir.path() / u"和文 電報.jpg";
  ASSERT_TRUE(canvas.SaveImage(*bitmap, path, jpeg));
  EXPECT_EQ(testing::ReadFileBytes(path).substr(0, 3), "\xFF\xD8\xFF");

  auto loaded = canvas.LoadBitmap(path);
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->Width(), 64);
  EXPECT_EQ(loaded->Height(), 48);
  EXPECT_EQ(Picture(*loaded).at(10, 10), 0xFFFFFFFFu);
  EXPECT_EQ(canvas.CloneBitmap(*loaded, 64, 48)->Height(), 48);
  EXPECT_EQ(canvas.CloneBitmap(*loaded, 65, 48), nullptr);
  // The file is not held open by the bitmap read from it.
  EXPECT_TRUE(fs::remove(path));

  EXPECT_FALSE(canvas.SaveImage(*bitmap, dir.path() / "missing" / "x.jpg", jpeg));
  EXPECT_FALSE(canvas.SaveImage(*bitmap, dir.path() / "x.jpg", 99));
  testing::WriteFileBytes(dir.path() / "bad.jpg", "\xFF\xD8\xFF\xE0 truncated");
  EXPECT_EQ(canvas.LoadBitmap(dir.path() / "bad.jpg"), nullptr);
  EXPECT_EQ(canvas.LoadBitmap(dir.path() / "none.jpg"), nullptr);
}

TEST_F(GdiplusCanvasTest, SampleFormPageHasInkInItsCells) {
  testing::TempDir dir;
  fs::copy_file(AssetsFolder() / u"和文電報受信用紙.jpg", dir.path() / u"和文電報受信用紙.jpg");
  const TelegramFields fields = MakeDefaultTelegram(std::nullopt);
  const FormDestination where{dir.path(), dir.path(), u"和文電報_x"};
  const ImageOutcome outcome = WriteFormImages(canvas, where, fields);
  ASSERT_EQ(outcome.status, ImageStatus::kWritten);
  ASSERT_EQ(outcome.written.size(), 3u);
  EXPECT_TRUE(outcome.failed.empty());

  const auto page_bitmap = canvas.LoadBitmap(outcome.written[0]);
  const auto form_bitmap = canvas.LoadBitmap(dir.path() / u"和文電報受信用紙.jpg");
  ASSERT_NE(page_bitmap, nullptr);
  ASSERT_NE(form_bitmap, nullptr);
  ASSERT_EQ(page_bitmap->Width(), 764);
  ASSERT_EQ(page_bitmap->Height(), 1080);
  const Picture page(*page_bitmap);
  const Picture form(*form_bitmap);

  // Body cells: ink in every cell of page 1 (brackets turn and reach into the
  // column on their left, so their box is wider).
  const auto span = FindTelegramBody(fields.body);
  ASSERT_TRUE(span.has_value());
  const std::u16string body = fields.body.substr(span->begin, span->end - span->begin);
  std::vector<Box> expected;
  for (int i = 0; i < 60; ++i) {
    const int x = 400 - 42 * (i / 10);
    const int y = 495 + 42 * (i % 10);
    const char16_t c = body[static_cast<std::size_t>(i)];
    const bool turned = kBracketSet.find(c) != std::u16string_view::npos;
    const Box cell{turned ? x - 21 : x, y, x + 42, y + 42};
    expected.push_back(cell);
    EXPECT_GT(page.InkIn(cell, &form), c == u'、' ? 3 : 8) << "cell " << i;
  }
  // Header columns: count, station, number, time; the addressee's three pieces.
  // Each piece ends in a turned 」, which reaches left of its column.
  const std::vector<Box> columns{{529, 350, 559, 480}, {460, 350, 490, 480}, {400, 350, 430, 480},
                                 {327, 350, 357, 480}, {540, 520, 590, 840}, {500, 520, 550, 840},
                                 {460, 520, 510, 840}};
  for (const Box& column : columns) {
    EXPECT_GT(page.InkIn(column, &form), 20) << column.x0;
    expected.push_back(column);
  }
  const Box page_number{382 - 130, 1020, 382 + 70, 1050};
  EXPECT_GT(page.InkIn(page_number, &form), 20);
  expected.push_back(page_number);
  // Everything else keeps the form as it was.
  EXPECT_EQ(page.InkOutside(expected, &form), 0);
}

}  // namespace
}  // namespace hoshizora

namespace hoshizora {
namespace {

bool IsMarkRed(std::uint32_t argb) {
  const std::uint32_t r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
  return r > 170 && g < 110 && b < 110;
}

int RedIn(const Picture& picture, const Box& box) {
  int red = 0;
  for (int y = box.y0; y < box.y1; ++y) {
    for (int x = box.x0; x < box.x1; ++x) {
      red += IsMarkRed(picture.at(x, y)) ? 1 : 0;
    }
  }
  return red;
}

// The marked form drawn by GDI+: ウ written as メ (cell 3), サ left out (its
// own cell, 10), ン added after ナ (cell 21); red there and in no other cell.
TEST_F(GdiplusCanvasTest, MarkedFormHasRedOnlyInTheCellsOfTheErrors) {
  testing::TempDir dir;
  TelegramFields key;
  key.body = u"[ホレ]アイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホ[ラタ]";
  CheckCopy copy;
  copy.fields.body = u"アイウメオカキクケコシスセソタチツテトナンニヌネノハヒフヘホ";
  const CheckResult result = ScoreCopy(key, copy, {});
  const MarkedFormDestination where{AssetsFolder(), dir.path(), u"key_採点"};
  const ImageOutcome outcome = WriteMarkedForm(canvas, where, key, copy, result);
  ASSERT_EQ(outcome.status, ImageStatus::kWritten);
  ASSERT_EQ(outcome.written.size(), 1u);
  EXPECT_EQ(outcome.written[0], dir.path() / u"key_採点_1.jpg");
  const auto bitmap = canvas.LoadBitmap(outcome.written[0]);
  ASSERT_NE(bitmap, nullptr);
  const Picture page(*bitmap);
  for (int i = 0; i < 60; ++i) {
    const int x = 400 - 42 * (i / 10);
    const int y = 495 + 42 * (i % 10);
    if (i == 3 || i == 10 || i == 21) {
      EXPECT_GT(RedIn(page, {x, y, x + 42, y + 42}), 30) << "cell " << i;
    } else {
      EXPECT_EQ(RedIn(page, {x + 10, y + 12, x + 40, y + 40}), 0) << "cell " << i;
    }
    // The copied characters stand in the middle of their cells, by their ink.
    if (i < 30 && i != 10) {
      const Box inner{x + 4, y + 4, x + 38, y + 38};
      EXPECT_GT(page.InkIn(inner), 8) << "cell " << i;
    }
  }
  EXPECT_GT(RedIn(page, {86, 705, 170, 915}), 100) << "the score in 備考";
}

}  // namespace
}  // namespace hoshizora
