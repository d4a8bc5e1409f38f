#include "platform/qt/qt_canvas.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QImageReader>
#include <QRawFont>
#include <algorithm>

#include <sys/stat.h>

#include "encoding/default_telegram.h"
#include "imaging/drawing_helpers.h"
#include "imaging/form_images.h"
#include "imaging/text_listing.h"
#include "platform/paths.h"
#include "platform/qt/font_substitutes.h"
#include "support/recording_canvas.h"
#include "support/temp_dir.h"

namespace hoshizora {
namespace {

namespace fs = std::filesystem;

bool IsInk(QRgb pixel) {
  return qGray(pixel) < 128;
}

// Counts dark pixels inside and outside a rectangle.
std::pair<int, int> InkInsideOutside(const QImage& image, const QRect& box) {
  int inside = 0, outside = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (IsInk(image.pixel(x, y))) {
        (box.contains(x, y) ? inside : outside)++;
      }
    }
  }
  return {inside, outside};
}

class QtCanvasTest : public ::testing::Test {
 protected:
  QImage Draw(const std::function<void(Graphics&)>& draw, int w = 200, int h = 200) {
    auto bitmap = canvas.CreateBitmap(w, h);
    {
      auto g = canvas.BeginDrawing(*bitmap);
      g->Clear(kOpaqueWhite);
      draw(*g);
    }
    return static_cast<QtBitmap&>(*bitmap).image();
  }
  QtCanvas canvas;
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

TEST_F(QtCanvasTest, UprightCharacterInksItsCellOnly) {
  const Font font = CreateFontOrSansSerif(canvas, kBrushScriptFace, 25);
  const QImage image = Draw([&](Graphics& g) { DrawCellChar(g, font, u'ア', 80, 60); });
  const auto [inside, outside] = InkInsideOutside(image, QRect(80, 60, 42, 42));
  EXPECT_GT(inside, 20);
  EXPECT_EQ(outside, 0);
}

TEST_F(QtCanvasTest, EveryBodyCharacterLeavesInk) {
  // Some brush faces map punctuation to empty glyphs; those must come from
  // another face rather than leave a blank cell.
  const Font font = CreateFontOrSansSerif(canvas, kBrushScriptFace, 25);
  std::u16string seen;
  for (char16_t c : MakeDefaultTelegram(std::nullopt).body + u"０１？！・ー") {
    if (seen.find(c) != std::u16string::npos) {
      continue;
    }
    seen.push_back(c);
    const QImage image = Draw([&](Graphics& g) { DrawCellChar(g, font, c, 80, 60); });
    EXPECT_GT(InkInsideOutside(image, QRect(0, 0, 200, 200)).first, 3) << std::hex << int{c};
  }
}

TEST_F(QtCanvasTest, TurnedBracketStaysNearItsCell) {
  const Font font = CreateFontOrSansSerif(canvas, kGothicFace, 18);
  const QImage upright = Draw([&](Graphics& g) {
    g.DrawString(u"」", font, kOpaqueBlack, {80, 60, 0, 0}, nullptr);
  });
  const QImage turned = Draw([&](Graphics& g) { DrawCellChar(g, font, u'」', 80, 60); });
  EXPECT_NE(upright, turned);
  const auto [inside, outside] = InkInsideOutside(turned, QRect(60, 40, 60, 60));
  EXPECT_GT(inside, 5);
  EXPECT_EQ(outside, 0);
  // 」 upright has its stroke at the bottom right; turned clockwise, at the bottom left.
  QRect ink;
  for (int y = 0; y < turned.height(); ++y) {
    for (int x = 0; x < turned.width(); ++x) {
      if (IsInk(turned.pixel(x, y))) {
        ink |= QRect(x, y, 1, 1);
      }
    }
  }
  EXPECT_GT(ink.width(), ink.height() / 2);
}

TEST_F(QtCanvasTest, MeasuringGrowsWithTheText) {
  const Font font = CreateFontOrSansSerif(canvas, kGothicFace, 14);
  auto bitmap = canvas.CreateBitmap(10, 10);
  auto g = canvas.BeginDrawing(*bitmap);
  const SizeF one = g->MeasureString(u"ア", font);
  const SizeF ten = g->MeasureString(u"アアアアアアアアアア", font);
  EXPECT_GT(one.width, 14);
  EXPECT_NEAR(ten.width - one.width, 9 * 14, 2);
  EXPECT_GE(one.height, 14);
}

TEST_F(QtCanvasTest, CentredStringStaysInItsRectangle) {
  const Font font = CreateFontOrSansSerif(canvas, kGothicFace, 22);
  const StringFormat centred{StringFormat::Align::kCenter, StringFormat::Align::kNear};
  const QImage image = Draw([&](Graphics& g) {
    g.DrawString(u"2/69", font, kOpaqueBlack, {0, 100, 200, 30}, &centred);
  });
  const auto [inside, outside] = InkInsideOutside(image, QRect(50, 100, 100, 30));
  EXPECT_GT(inside, 20);
  EXPECT_EQ(outside, 0);
}

TEST_F(QtCanvasTest, SavesAndLoadsJpegs) {
  testing::TempDir dir;
  const int jpeg = FindJpegEncoder(canvas);
  ASSERT_GE(jpeg, 0);
  auto bitmap = canvas.CreateBitmap(64, 48);
  canvas.BeginDrawing(*bitmap)->Clear(kOpaqueWhite);
  const std::filesystem::path path = dir.path() / "和文 電報.jpg";
  ASSERT_TRUE(canvas.SaveImage(*bitmap, path, jpeg));
  QImageReader reader(QString::fromStdString(path.native()));
  EXPECT_EQ(reader.format(), "jpeg");
  EXPECT_EQ(reader.size(), QSize(64, 48));

  auto loaded = canvas.LoadBitmap(path);
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->Width(), 64);
  EXPECT_EQ(canvas.CloneBitmap(*loaded, 64, 48)->Height(), 48);
  EXPECT_EQ(canvas.CloneBitmap(*loaded, 65, 48), nullptr);

  EXPECT_FALSE(canvas.SaveImage(*bitmap, dir.path() / "missing" / "x.jpg", jpeg));
  testing::WriteFileBytes(dir.path() / "bad.jpg", "\xFF\xD8\xFF\xE0 truncated");
  EXPECT_EQ(canvas.LoadBitmap(dir.path() / "bad.jpg"), nullptr);
  EXPECT_EQ(canvas.LoadBitmap(dir.path() / "none.jpg"), nullptr);
  EXPECT_EQ(canvas.LoadBitmap(dir.path()), nullptr) << "a folder";
  EXPECT_EQ(canvas.LoadBitmap("/dev/zero"), nullptr) << "a device must not be read without end";
  const std::filesystem::path fifo = dir.path() / "template.jpg";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(canvas.LoadBitmap(fifo), nullptr) << "a FIFO must not block the run";
}

// An unzipped Windows archive can leave a folder named in Shift_JIS bytes.
TEST_F(QtCanvasTest, PathsThatAreNotUtf8WorkBothWays) {
  testing::TempDir dir;
  const std::filesystem::path folder = dir.path() / "\x93\x64\x95\xf1";
  std::filesystem::create_directory(folder);
  auto bitmap = canvas.CreateBitmap(8, 8);
  canvas.BeginDrawing(*bitmap)->Clear(kOpaqueWhite);
  ASSERT_TRUE(canvas.SaveImage(*bitmap, folder / "x.jpg", FindJpegEncoder(canvas)));
  EXPECT_TRUE(std::filesystem::exists(folder / "x.jpg"));
  const auto loaded = canvas.LoadBitmap(folder / "x.jpg");
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->Width(), 8);
}

TEST_F(QtCanvasTest, ListingPictureIsA1280By720JpegWithText) {
  testing::TempDir dir;
  const ImageOutcome o = WriteTextListingImage(canvas, u"一二六\n[ホレ]アイウ[ラタ]", 800, 100,
                                               dir.path() / "和文電報_x");
  ASSERT_EQ(o.status, ImageStatus::kWritten);
  QImage image(QString::fromStdString((dir.path() / "和文電報_x.jpg").native()));
  ASSERT_EQ(image.size(), QSize(1280, 720));
  // Ink in the header row and the first two lines; the bottom half stays white.
  EXPECT_GT(InkInsideOutside(image, QRect(0, 15, 1280, 100)).first, 100);
  EXPECT_EQ(InkInsideOutside(image, QRect(0, 0, 1280, 360)).second, 0);
}

TEST_F(QtCanvasTest, OddTextDrawsWithoutHarm) {
  testing::TempDir dir;
  testing::WriteFileBytes(dir.path() / "和文電報受信用紙.jpg", "\xFF\xD8\xFF\xE0 truncated");
  TelegramFields fields;
  const std::u16string odd{u'ア',          char16_t{0xD800}, char16_t{0}, u'\t', char16_t{0xDFFF},
                           char16_t{0x1B}, char16_t{0xFFFF}, u'」'};
  fields.body = u"[ホレ]" + odd + odd + u"[ラタ]";
  fields.station = odd + odd;
  fields.addressee = odd + u"」" + odd;
  fields.time = odd;
  const FormDestination where{dir.path(), dir.path(), u"和文電報_x"};
  // A truncated template is no template: nothing is written.
  EXPECT_EQ(WriteFormImages(canvas, where, fields).status, ImageStatus::kNoFormTemplate);

  auto form = canvas.CreateBitmap(764, 1080);
  canvas.BeginDrawing(*form)->Clear(kOpaqueWhite);
  ASSERT_TRUE(
      canvas.SaveImage(*form, dir.path() / "和文電報受信用紙.jpg", FindJpegEncoder(canvas)));
  const ImageOutcome pages = WriteFormImages(canvas, where, fields);
  EXPECT_EQ(pages.status, ImageStatus::kWritten);
  ASSERT_EQ(pages.written.size(), 1u);
  EXPECT_EQ(QImage(QString::fromStdString(pages.written[0].native())).size(), QSize(764, 1080));
  EXPECT_EQ(
      WriteTextListingImage(canvas, fields.body + u"\n" + odd, 440, 100, dir.path() / "listing")
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

// A picture cut short (a copy that stopped, a download that broke off) would
// be drawn on as if whole, its lower part grey: it is no picture.
TEST_F(QtCanvasTest, PicturesCutShortAreNotLoaded) {
  testing::TempDir dir;
  auto bitmap = canvas.CreateBitmap(300, 400);
  {
    auto g = canvas.BeginDrawing(*bitmap);
    g->Clear(kOpaqueWhite);
    const Font font = CreateFontOrSansSerif(canvas, kGothicFace, 40);
    for (int row = 0; row < 8; ++row) {
      g->DrawString(u"和文電報受信用紙", font, kOpaqueBlack, RectF{0, 50.0f * row, 0, 0}, nullptr);
    }
  }
  const std::vector<std::string> types = canvas.ImageEncoderMimeTypes();
  for (const std::string type : {"image/jpeg", "image/png"}) {
    SCOPED_TRACE(type);
    const auto at = std::find(types.begin(), types.end(), type);
    ASSERT_NE(at, types.end());
    const fs::path whole = dir.path() / "whole";
    ASSERT_TRUE(canvas.SaveImage(*bitmap, whole, static_cast<int>(at - types.begin())));
    ASSERT_TRUE(canvas.LoadBitmap(whole));
    const std::string bytes = testing::ReadFileBytes(whole);
    for (std::size_t keep : {bytes.size() / 2, bytes.size() - 2}) {
      testing::WriteFileBytes(dir.path() / "cut", bytes.substr(0, keep));
      EXPECT_FALSE(canvas.LoadBitmap(dir.path() / "cut")) << keep << " of " << bytes.size();
    }
  }
  // Such a reception form is no template: nothing is drawn on it.
  canvas.SaveImage(*bitmap, dir.path() / "和文電報受信用紙.jpg", FindJpegEncoder(canvas));
  const std::string form = testing::ReadFileBytes(dir.path() / "和文電報受信用紙.jpg");
  testing::WriteFileBytes(dir.path() / "和文電報受信用紙.jpg", form.substr(0, form.size() - 2));
  TelegramFields fields;
  fields.body = u"[ホレ]アイウ[ラタ]";
  const ImageOutcome pages =
      WriteFormImages(canvas, {dir.path(), dir.path(), u"和文電報_x"}, fields);
  EXPECT_EQ(pages.status, ImageStatus::kNoFormTemplate);
  EXPECT_TRUE(pages.written.empty());
}

}  // namespace
}  // namespace hoshizora
