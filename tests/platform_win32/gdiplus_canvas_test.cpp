#include "platform/win32/gdiplus_canvas.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "encoding/telegram_signs.h"
#include "platform/win32/font_fallback.h"
#include "support/canvas_contract.h"

namespace hoshizora {
namespace {

namespace fs = std::filesystem;
using testing::Box;
using testing::Picture;

fs::path AssetsFolder() {
  return fs::path(HOSHIZORA_ASSETS_DIR);
}

struct GdiplusFactory {
  static std::vector<std::uint32_t> Pixels(const Bitmap& bitmap) {
    return static_cast<const GdiplusBitmap&>(bitmap).ReadPixels();
  }
  GdiplusSession session;
  GdiplusCanvas canvas;
};

class GdiplusCanvasTest : public testing::CanvasContract<GdiplusFactory> {
 protected:
  void SetUp() override { ASSERT_TRUE(factory.session.started()); }
  GdiplusCanvas& canvas = factory.canvas;
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

TEST_F(GdiplusCanvasTest, TextEndsAtACharacterZero) {
  const Font font = CreateFontOrSansSerif(canvas, kGothicFace, 14);
  auto bitmap = canvas.CreateBitmap(10, 10);
  auto g = canvas.BeginDrawing(*bitmap);
  const SizeF one = g->MeasureString(u"ア", font);
  const std::u16string cut{u'ア', char16_t{0}, u'ア'};
  EXPECT_FLOAT_EQ(g->MeasureString(cut, font).width, one.width);
  EXPECT_EQ(g->MeasureString(u"", font).width, 0);
}

TEST_F(GdiplusCanvasTest, SampleFormPageHasInkInItsCells) {
  testing::TempDir dir;
  fs::copy_file(AssetsFolder() / u"和文電報受信用紙.jpg", dir.path() / u"和文電報受信用紙.jpg");
  const TelegramFields fields = MakeDefaultTelegram(std::nullopt);
  const FormDestination where{dir.path(), dir.path(), u"和文電報_x"};
  testing::NativeSystem system;
  const ImageOutcome outcome = WriteFormImages(canvas, system, where, fields);
  ASSERT_EQ(outcome.status, ImageStatus::kWritten);
  ASSERT_EQ(outcome.written.size(), 3u);
  EXPECT_TRUE(outcome.failed.empty());

  const auto page_bitmap = canvas.DecodeBitmap(testing::ReadFileBytes(outcome.written[0]));
  const auto form_bitmap =
      canvas.DecodeBitmap(testing::ReadFileBytes(dir.path() / u"和文電報受信用紙.jpg"));
  ASSERT_NE(page_bitmap, nullptr);
  ASSERT_NE(form_bitmap, nullptr);
  ASSERT_EQ(page_bitmap->Width(), 764);
  ASSERT_EQ(page_bitmap->Height(), 1080);
  const Picture page = Pixels(*page_bitmap);
  const Picture form = Pixels(*form_bitmap);

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

namespace testing {
INSTANTIATE_TYPED_TEST_SUITE_P(Gdiplus, CanvasContract, GdiplusFactory);
}  // namespace testing
}  // namespace hoshizora
