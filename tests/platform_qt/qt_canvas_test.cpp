#include "platform/qt/qt_canvas.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QRawFont>

#include "imaging/text_listing.h"
#include "platform/qt/font_substitutes.h"
#include "support/canvas_contract.h"

namespace hoshizora {
namespace {

using testing::NativeSystem;

struct QtFactory {
  static std::vector<std::uint32_t> Pixels(const Bitmap& bitmap) {
    const QImage image =
        static_cast<const QtBitmap&>(bitmap).image().convertToFormat(QImage::Format_ARGB32);
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < image.height(); ++y) {
      const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
      pixels.insert(pixels.end(), row, row + image.width());
    }
    return pixels;
  }
  QtCanvas canvas;
};

// Counts dark pixels inside and outside a rectangle.
std::pair<int, int> InkInsideOutside(const QImage& image, const QRect& box) {
  int inside = 0, outside = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (qGray(image.pixel(x, y)) < 128) {
        (box.contains(x, y) ? inside : outside)++;
      }
    }
  }
  return {inside, outside};
}

class QtCanvasTest : public ::testing::Test {
 protected:
  QtCanvas canvas;
  NativeSystem system;
};

TEST_F(QtCanvasTest, DesignFacesMapToInstalledJapaneseFaces) {
  EXPECT_EQ(ResolveFontFace("MS Gothic"), "IPAGothic");
  EXPECT_EQ(ResolveFontFace("MS UI Gothic"), "IPAPGothic");
  EXPECT_EQ(ResolveFontFace("HGP行書体"), "AoyagiKouzanFontT");
  EXPECT_TRUE(canvas.HasFontFace(u"MS Gothic"));
  EXPECT_FALSE(canvas.HasFontFace(u"No Such Face 123"));
  // Every face the pictures use has real kana glyphs.
  for (const QString face : {"MS Gothic", "HGP行書体", "No Such Face 123"}) {
    QFont font(canvas.FamilyFor(FromQString(face)));
    font.setPixelSize(25);
    const QRawFont raw = QRawFont::fromFont(font);
    EXPECT_TRUE(raw.supportsCharacter(QChar(u'ア'))) << face.toStdString();
    EXPECT_TRUE(raw.supportsCharacter(QChar(u'漢'))) << face.toStdString();
  }
}

TEST_F(QtCanvasTest, ListingPictureIsA1280By720JpegWithText) {
  testing::TempDir dir;
  const ImageOutcome o = WriteTextListingImage(canvas, system, u"一二六\n[ホレ]アイウ[ラタ]", 800,
                                               100, dir.path() / "和文電報_x");
  ASSERT_EQ(o.status, ImageStatus::kWritten);
  QImage image(QString::fromStdString((dir.path() / "和文電報_x.jpg").native()));
  ASSERT_EQ(image.size(), QSize(1280, 720));
  // Ink in the header row and the first two lines; the bottom half stays white.
  EXPECT_GT(InkInsideOutside(image, QRect(0, 15, 1280, 100)).first, 100);
  EXPECT_EQ(InkInsideOutside(image, QRect(0, 0, 1280, 360)).second, 0);
}

TEST_F(QtCanvasTest, OddTextDrawsWithoutHarm) {
  testing::TempDir dir;
  TelegramFields fields;
  const std::u16string odd{u'ア',          char16_t{0xD800}, char16_t{0}, u'\t', char16_t{0xDFFF},
                           char16_t{0x1B}, char16_t{0xFFFF}, u'」'};
  fields.body = u"[ホレ]" + odd + odd + u"[ラタ]";
  fields.station = odd + odd;
  fields.addressee = odd + u"」" + odd;
  fields.time = odd;
  const FormDestination where{dir.path(), dir.path(), u"和文電報_x"};
  auto form = canvas.CreateBitmap(764, 1080);
  canvas.BeginDrawing(*form)->Clear(kOpaqueWhite);
  ASSERT_TRUE(
      SavePicture(canvas, system, *form, ImageFormat::kJpeg, dir.path() / "和文電報受信用紙.jpg"));
  const ImageOutcome pages = WriteFormImages(canvas, system, where, fields);
  EXPECT_EQ(pages.status, ImageStatus::kWritten);
  ASSERT_EQ(pages.written.size(), 1u);
  EXPECT_EQ(QImage(QString::fromStdString(pages.written[0].native())).size(), QSize(764, 1080));
  EXPECT_EQ(WriteTextListingImage(canvas, system, fields.body + u"\n" + odd, 440, 100,
                                  dir.path() / "listing")
                .status,
            ImageStatus::kWritten);
}

TEST_F(QtCanvasTest, ListsOnlyCharactersNoInstalledFaceCanDraw) {
  const Font gothic = CreateFontOrSansSerif(canvas, kGothicFace, 18);
  const Font brush = CreateFontOrSansSerif(canvas, kBrushScriptFace, 25);
  const std::u16string telegram = u"[ホレ]アイウ　和文電報、ABC 123「」？\r\n";
  EXPECT_EQ(canvas.MissingGlyphs(telegram, gothic), u"");
  EXPECT_EQ(canvas.MissingGlyphs(telegram, brush), u"");
  // Unassigned code points, in the basic plane and beyond it (a pair stays whole).
  const std::u16string unassigned = u"ア\u0378\U0002FFFDア\u0378\u200F\u202E";
  EXPECT_EQ(canvas.MissingGlyphs(unassigned, gothic), u"\u0378\U0002FFFD")
      << "each once; bidi marks draw nothing and are not listed";
}

}  // namespace

namespace testing {
INSTANTIATE_TYPED_TEST_SUITE_P(Qt, CanvasContract, QtFactory);
}  // namespace testing
}  // namespace hoshizora
