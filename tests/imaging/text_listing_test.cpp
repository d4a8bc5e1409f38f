#include "imaging/text_listing.h"

#include <gtest/gtest.h>

#include "support/recording_canvas.h"

namespace hoshizora {
namespace {

using testing::PictureFiles;
using testing::RecordingCanvas;

std::u16string Lines(int n) {
  std::u16string text;
  for (int i = 0; i < n; ++i) {
    text += u"行" + std::u16string(1, static_cast<char16_t>(u'A' + i % 26)) + u"\n";
  }
  return text;
}

TEST(TextListing, HeaderAndLinesArePlaced) {
  RecordingCanvas canvas;
  PictureFiles files;
  const ImageOutcome o = WriteTextListingImage(canvas, files, u"一二六\n\nア", 700, 20, u"/out/x");
  EXPECT_EQ(o.status, ImageStatus::kWritten);
  EXPECT_EQ(o.written, std::vector<std::filesystem::path>{"/out/x.jpg"});
  ASSERT_EQ(files.replaced.size(), 1u);
  EXPECT_EQ(files.replaced[0],
            std::make_pair(std::filesystem::path(u"/out/x.jpg"), std::string("picture")));
  ASSERT_EQ(canvas.encoded.size(), 1u);
  EXPECT_EQ(canvas.encoded[0].format, ImageFormat::kJpeg);
  EXPECT_EQ(canvas.encoded[0].width, 1280);
  EXPECT_EQ(canvas.encoded[0].height, 720);
  EXPECT_EQ(canvas.clears, std::vector<std::uint32_t>{0xFFFFFFFF});
  ASSERT_EQ(canvas.strings.size(), 4u);
  EXPECT_EQ(canvas.strings[0].text, u"電報出力 /out/x  CPM: 20  Freq: 700");
  EXPECT_EQ(canvas.strings[0].x, 20);
  EXPECT_EQ(canvas.strings[0].y, 20);
  EXPECT_EQ(canvas.strings[0].face, u"MS Gothic");
  EXPECT_EQ(canvas.strings[0].pixel_size, 14);
  EXPECT_EQ(canvas.strings[1].text, u"一二六");
  EXPECT_EQ(canvas.strings[1].y, 68);
  EXPECT_EQ(canvas.strings[2].text, u"");
  EXPECT_EQ(canvas.strings[2].y, 92);
  EXPECT_EQ(canvas.strings[3].text, u"ア");
  EXPECT_EQ(canvas.strings[3].y, 116);
}

TEST(TextListing, CharactersNoFaceHasAreReported) {
  RecordingCanvas canvas;
  PictureFiles files;
  canvas.undrawable = u"報アイ";
  canvas.installed_faces.clear();
  const ImageOutcome o = WriteTextListingImage(canvas, files, u"アイ\nABア", 700, 20, u"/out/x");
  EXPECT_EQ(o.status, ImageStatus::kWritten) << "the picture is still saved";
  EXPECT_EQ(o.undrawable, u"報アイ");
  EXPECT_EQ(o.missing_faces, std::vector<std::u16string>{u"MS Gothic"});

  RecordingCanvas complete;
  const ImageOutcome fine = WriteTextListingImage(complete, files, u"アイ", 700, 20, u"/out/x");
  EXPECT_TRUE(fine.undrawable.empty());
  EXPECT_TRUE(fine.missing_faces.empty());
}

TEST(TextListing, HeaderNamesTheKeyingOptionsThatAreOn) {
  const std::pair<KeyingOptions, std::u16string_view> cases[] = {
      {{}, u""},
      {{.rise_ms = 5}, u"  Rise: 5 ms"},
      {{.effective_cpm = 50}, u"  Eff: 50"},
      {{.rise_ms = 20, .effective_cpm = 35}, u"  Rise: 20 ms  Eff: 35"},
  };
  for (const auto& [keying, label] : cases) {
    RecordingCanvas canvas;
    PictureFiles files;
    WriteTextListingImage(canvas, files, u"ア", 700, 100, u"/out/x", keying);
    ASSERT_EQ(canvas.strings.size(), 2u);
    EXPECT_EQ(canvas.strings[0].text,
              u"電報出力 /out/x  CPM: 100  Freq: 700" + std::u16string(label));
    EXPECT_EQ(canvas.strings[1].y, 68) << "the lines stay where they were";
  }
}

TEST(TextListing, TwentySixLinesFitAndMoreShowTheCutMark) {
  {
    RecordingCanvas canvas;
    PictureFiles files;
    WriteTextListingImage(canvas, files, Lines(26), 440, 100, u"/b");
    ASSERT_EQ(canvas.strings.size(), 27u);
    EXPECT_EQ(canvas.strings.back().y, 668);
    EXPECT_EQ(canvas.strings.back().text, u"行Z");
  }
  {
    RecordingCanvas canvas;
    PictureFiles files;
    WriteTextListingImage(canvas, files, Lines(27), 440, -5, u"/b");
    ASSERT_EQ(canvas.strings.size(), 27u);
    EXPECT_EQ(canvas.strings[0].text, u"電報出力 /b  CPM: -5  Freq: 440");
    EXPECT_EQ(canvas.strings[25].text, u"行Y");
    EXPECT_EQ(canvas.strings.back().y, 668);
    EXPECT_EQ(canvas.strings.back().text, u"...(省略)");
  }
}

TEST(TextListing, FailuresAreShownAndReported) {
  RecordingCanvas canvas;
  PictureFiles files;
  canvas.formats = {ImageFormat::kPng};
  EXPECT_EQ(WriteTextListingImage(canvas, files, u"ア", 440, 100, u"/b").status,
            ImageStatus::kNoJpegEncoder);
  EXPECT_TRUE(files.replaced.empty());

  canvas.formats = {ImageFormat::kJpeg};
  files.replace_fails = [](const std::filesystem::path&) { return true; };
  const ImageOutcome o = WriteTextListingImage(canvas, files, u"ア", 440, 100, u"/b");
  EXPECT_EQ(o.status, ImageStatus::kSaveFailed);
  EXPECT_EQ(o.failed, std::vector<std::filesystem::path>{"/b.jpg"});
}

}  // namespace
}  // namespace hoshizora
