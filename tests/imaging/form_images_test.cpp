#include "imaging/form_images.h"

#include <gtest/gtest.h>

#include "support/recording_canvas.h"

namespace hoshizora {
namespace {

using testing::DrawnString;
using testing::RecordingCanvas;

std::u16string Kana(int n) {
  const std::u16string_view kana = u"アイウエオカキクケコ";
  std::u16string out;
  for (int i = 0; i < n; ++i) {
    out.push_back(kana[static_cast<std::size_t>(i) % kana.size()]);
  }
  return out;
}

class FormImagesTest : public ::testing::Test {
 protected:
  ImageOutcome Write(const std::u16string& body) {
    fields.body = body;
    return WriteFormImages(canvas, files, {u"/opt/app", u"/out/和文電報_T", u"和文電報_T"}, fields);
  }
  // Strings of one page (page bitmaps follow the template, which is bitmap 1).
  std::vector<DrawnString> Page(int page) const { return canvas.On(page + 1); }
  static std::vector<DrawnString> At(const std::vector<DrawnString>& strings, float x) {
    std::vector<DrawnString> out;
    for (const auto& s : strings) {
      if (s.x == x && !s.has_format) {
        out.push_back(s);
      }
    }
    return out;
  }
  static std::vector<DrawnString> InFace(const std::vector<DrawnString>& strings,
                                         std::u16string_view face) {
    std::vector<DrawnString> out;
    for (const auto& s : strings) {
      if (s.face == face) {
        out.push_back(s);
      }
    }
    return out;
  }

  RecordingCanvas canvas;
  testing::PictureFiles files;
  TelegramFields fields;
};

TEST_F(FormImagesTest, ThreeCharactersGiveOnePage) {
  const ImageOutcome o = Write(u"[ホレ]アイウ[ラタ]");
  EXPECT_EQ(o.status, ImageStatus::kWritten);
  ASSERT_EQ(files.replaced.size(), 1u);
  EXPECT_EQ(files.replaced[0].first, u"/out/和文電報_T/和文電報_T_1.jpg");
  EXPECT_EQ(canvas.encoded[0].width, 764);
  EXPECT_EQ(canvas.encoded[0].format, ImageFormat::kJpeg);
  EXPECT_EQ(files.reads, std::vector<std::filesystem::path>{u"/opt/app/和文電報受信用紙.jpg"});
  EXPECT_EQ(canvas.decoded, std::vector<std::string>{"form"});
  const auto body = InFace(Page(1), u"HGP行書体");
  ASSERT_EQ(body.size(), 3u);
  EXPECT_EQ(body[0].text, u"ア");
  EXPECT_EQ(body[0].pixel_size, 25);
  EXPECT_EQ(std::make_pair(body[0].x, body[0].y), std::make_pair(400.f, 495.f));
  EXPECT_EQ(std::make_pair(body[1].x, body[1].y), std::make_pair(400.f, 537.f));
  EXPECT_EQ(std::make_pair(body[2].x, body[2].y), std::make_pair(400.f, 579.f));
  const DrawnString number = Page(1).front();
  EXPECT_EQ(number.text, u"1/1");
  EXPECT_TRUE(number.has_format);
  EXPECT_EQ(number.format.horizontal, StringFormat::Align::kCenter);
  EXPECT_EQ(number.format.vertical, StringFormat::Align::kNear);
  EXPECT_EQ(number.layout.x, 764 / 2 - 130);
  EXPECT_EQ(number.layout.y, 1080 - 60);
  EXPECT_EQ(number.layout.width, 200);
  EXPECT_EQ(number.layout.height, 30);
  EXPECT_EQ(number.pixel_size, 22);
}

TEST_F(FormImagesTest, SixtyFillAPageAndSixtyOneTakeTwo) {
  Write(u"[ホレ]" + Kana(60) + u"[ラタ]");
  const auto full = InFace(Page(1), u"HGP行書体");
  ASSERT_EQ(full.size(), 60u);
  EXPECT_EQ(std::make_pair(full[10].x, full[10].y), std::make_pair(358.f, 495.f));
  EXPECT_EQ(std::make_pair(full[59].x, full[59].y), std::make_pair(190.f, 873.f));

  canvas = RecordingCanvas();
  files.replaced.clear();
  const ImageOutcome o = Write(u"[ホレ]" + Kana(60) + u"サ[ラタ]");
  ASSERT_EQ(files.replaced.size(), 2u);
  EXPECT_EQ(files.replaced[0].first, u"/out/和文電報_T/和文電報_T_1.jpg");
  EXPECT_EQ(files.replaced[1].first, u"/out/和文電報_T/和文電報_T_2.jpg");
  EXPECT_EQ(o.written.size(), 2u);
  const auto second = InFace(Page(2), u"HGP行書体");
  ASSERT_EQ(second.size(), 1u);
  EXPECT_EQ(second[0].text, u"サ");
  EXPECT_EQ(std::make_pair(second[0].x, second[0].y), std::make_pair(400.f, 495.f));
  EXPECT_EQ(Page(2).front().text, u"2/2");
}

TEST_F(FormImagesTest, LineBreaksTakeNoCellsButBlanksDo) {
  Write(u"前置き[ホレ]ア\r\nイ ウ[ラタ]後");
  const auto body = InFace(Page(1), u"HGP行書体");
  ASSERT_EQ(body.size(), 4u);
  EXPECT_EQ(body[1].text, u"イ");
  EXPECT_EQ(body[2].text, u" ");
  EXPECT_EQ(body[3].y, 495 + 3 * 42);
}

TEST_F(FormImagesTest, NoBodyWritesNothingAndSaysNothing) {
  for (const std::u16string body : {u"アイウ", u"[ラタ]ア[ホレ]", u"[ホレ]アイ"}) {
    EXPECT_EQ(Write(body).status, ImageStatus::kNothingToDraw);
  }
  EXPECT_TRUE(files.replaced.empty());
  EXPECT_TRUE(files.reads.empty());
  EXPECT_EQ(Write(u"[ホレ]\r\n[ラタ]").status, ImageStatus::kNothingToDraw);
  EXPECT_TRUE(files.replaced.empty());
}

TEST_F(FormImagesTest, HeaderFieldsAreColumns) {
  fields.count = u"一二六";
  fields.station = u"五四三二一";
  fields.number = u"一九";
  fields.time = u"コ8,1９，";
  Write(u"[ホレ]ア[ラタ]");
  const auto page = Page(1);
  const auto count = At(page, 529);
  ASSERT_EQ(count.size(), 3u);
  EXPECT_EQ(count[0].y, 350);
  EXPECT_EQ(count[2].y, 350 + 46);
  const auto station = At(page, 460);
  ASSERT_EQ(station.size(), 5u);
  EXPECT_EQ(station[0].y, 350);
  EXPECT_EQ(station[0].pixel_size, 18);
  EXPECT_EQ(At(page, 400).size(), 2u + 1u) << "number, and the first body cell";
  const auto time = At(page, 327);
  ASSERT_EQ(time.size(), 4u);
  EXPECT_EQ(time[0].text + time[1].text + time[2].text + time[3].text, u"コ81９");
}

TEST_F(FormImagesTest, LongStationsUseSmallColumns) {
  fields.station = u"一二三四五六";
  Write(u"[ホレ]ア[ラタ]");
  auto station = At(Page(1), 460);
  ASSERT_EQ(station.size(), 6u);
  EXPECT_EQ(station[0].y, 362);
  EXPECT_EQ(station[5].y, 362 + 100);
  EXPECT_EQ(station[0].pixel_size, 14);
  EXPECT_TRUE(At(Page(1), 430).empty());

  canvas = RecordingCanvas();
  fields.station = u"一二三四五六七八九";
  Write(u"[ホレ]ア[ラタ]");
  EXPECT_EQ(At(Page(1), 460).size(), 6u);
  const auto rest = At(Page(1), 430);
  ASSERT_EQ(rest.size(), 3u);
  EXPECT_EQ(rest[0].text, u"七");
  EXPECT_EQ(rest[0].y, 362);
}

TEST_F(FormImagesTest, AddresseePiecesEndInTheirBracket) {
  fields.addressee = u"ミドリケン」ハナシ」ヤマノ サクラ」余り";
  Write(u"[ホレ]ア[ラタ]");
  const auto page = Page(1);
  // Upright characters stand at the column's x; each turned 」 lies beside it.
  EXPECT_EQ(At(page, 560).size(), 5u);
  EXPECT_EQ(At(page, 560)[0].y, 520);
  EXPECT_EQ(At(page, 560)[1].y, 547);
  EXPECT_EQ(At(page, 520).size(), 3u);
  EXPECT_EQ(At(page, 480).size(), 7u);
  EXPECT_TRUE(At(page, 440).empty()) << "text after the last 」 is not drawn";
  // The closing bracket of each piece is turned.
  int turned = 0;
  for (const auto& s : page) {
    turned += s.rotation == 90 ? 1 : 0;
  }
  EXPECT_EQ(turned, 3);

  canvas = RecordingCanvas();
  fields.addressee = u"ミドリケン ハナシ";
  Write(u"[ホレ]ア[ラタ]");
  EXPECT_TRUE(At(Page(1), 560).empty());
}

TEST_F(FormImagesTest, FailuresAreShownAndCounted) {
  canvas.formats = {ImageFormat::kPng};
  EXPECT_EQ(Write(u"[ホレ]ア[ラタ]").status, ImageStatus::kNoJpegEncoder);
  EXPECT_TRUE(files.reads.empty());
  canvas.formats = {ImageFormat::kJpeg};
  canvas.template_available = false;
  EXPECT_EQ(Write(u"[ホレ]ア[ラタ]").status, ImageStatus::kNoFormTemplate);
  EXPECT_TRUE(files.replaced.empty());

  canvas.template_available = true;
  files.replace_fails = [](const std::filesystem::path& path) {
    return path.filename() == u"和文電報_T_1.jpg";
  };
  const ImageOutcome o = Write(u"[ホレ]" + Kana(61) + u"[ラタ]");
  EXPECT_EQ(o.status, ImageStatus::kSaveFailed);
  EXPECT_EQ(o.failed, std::vector<std::filesystem::path>{u"/out/和文電報_T/和文電報_T_1.jpg"});
  EXPECT_EQ(o.written, std::vector<std::filesystem::path>{u"/out/和文電報_T/和文電報_T_2.jpg"});
}

TEST_F(FormImagesTest, ProgressCanStopBetweenPages) {
  fields.body = u"[ホレ]" + Kana(4095 - 8) + u"[ラタ]";
  std::vector<int> seen;
  const ImageOutcome o =
      WriteFormImages(canvas, files, {"/a", "/b", u"c"}, fields, [&](int page, int pages) {
        EXPECT_EQ(pages, 69);
        seen.push_back(page);
        return page < 3;
      });
  EXPECT_EQ(o.status, ImageStatus::kCancelled);
  EXPECT_EQ(seen, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(files.replaced.size(), 2u);
}

// Without a Japanese face the pictures are saved full of empty boxes: the
// outcome must say which characters and which faces are missing.
TEST_F(FormImagesTest, CharactersNoFaceHasAreReportedWithTheMissingFaces) {
  canvas.undrawable = u"アイ東京";
  canvas.installed_faces = {u"MS Gothic"};
  fields.station = u"東京";
  fields.addressee = u"東京「ア」の先";  // only the part up to 」 is drawn
  ImageOutcome o = Write(u"前[ホレ]アイ ア[ラタ]イ");
  EXPECT_EQ(o.status, ImageStatus::kWritten);
  EXPECT_EQ(o.undrawable, u"アイ東京");
  EXPECT_EQ(o.missing_faces, std::vector<std::u16string>{u"HGP行書体"})
      << "MS Gothic is installed; its missing glyphs name no face";

  // Text that is not drawn (outside the signs, after the last 」) is not counted.
  canvas.undrawable = u"前先";
  fields.station.clear();
  EXPECT_EQ(Write(u"前[ホレ]アイ[ラタ]").undrawable, u"");

  // No face at all: every visible character is missing, blanks are not.
  canvas.generic_face.clear();
  canvas.installed_faces.clear();
  fields = TelegramFields{};
  fields.count = u"5";
  o = Write(u"[ホレ]ア　イ\r\n[ラタ]");
  EXPECT_EQ(o.undrawable, u"アイ51/") << "the signs are not drawn";
  EXPECT_EQ(o.missing_faces, (std::vector<std::u16string>{u"HGP行書体", u"MS Gothic"}));
}

TEST_F(FormImagesTest, OddInputDoesNotCrash) {
  fields.station = std::u16string(99, u'局');
  fields.addressee.clear();
  for (int i = 0; i < 30; ++i) {
    fields.addressee += u"ア」";
  }
  fields.time = std::u16string{char16_t{0xD800}, char16_t{1}, u'\t'};
  const ImageOutcome o = Write(u"[ホレ]" + Kana(4095 - 8) + u"[ラタ]");
  EXPECT_EQ(o.written.size(), 69u);
  EXPECT_EQ(At(Page(1), 560 - 40 * 29).size(), 1u) << "the thirtieth piece is drawn too";
}

}  // namespace
}  // namespace hoshizora
