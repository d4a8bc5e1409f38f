#include "imaging/drawing_helpers.h"

#include <gtest/gtest.h>

#include "support/recording_canvas.h"

namespace hoshizora {
namespace {

using testing::RecordingCanvas;

class DrawingHelpersTest : public ::testing::Test {
 protected:
  RecordingCanvas canvas;
  std::unique_ptr<Bitmap> bitmap = canvas.CreateBitmap(100, 100);
  std::unique_ptr<Graphics> g = canvas.BeginDrawing(*bitmap);
};

TEST_F(DrawingHelpersTest, FontFallsBackToTheGenericSansSerif) {
  EXPECT_EQ(CreateFontOrSansSerif(canvas, u"MS Gothic", 14).face, u"MS Gothic");
  const Font fallback = CreateFontOrSansSerif(canvas, u"No Such Face", 17);
  EXPECT_TRUE(fallback.valid);
  EXPECT_EQ(fallback.face, u"Sans");
  EXPECT_EQ(fallback.pixel_size, 17);
  canvas.generic_face.clear();
  EXPECT_FALSE(CreateFontOrSansSerif(canvas, u"No Such Face", 17).valid);
}

// The template is read once, bounded, and refused before decoding when it
// stops short: a decoder would fill the rest with grey and the pages would
// look whole.
TEST_F(DrawingHelpersTest, TemplateComesFromTheProgramFolderWhole) {
  testing::PictureFiles files;
  EXPECT_NE(LoadFormTemplate(canvas, files, "/opt/hoshizora"), nullptr);
  EXPECT_EQ(files.reads.back(), u"/opt/hoshizora/和文電報受信用紙.jpg");
  canvas.template_available = false;
  EXPECT_EQ(LoadFormTemplate(canvas, files, "/opt/hoshizora"), nullptr);
  canvas.template_available = true;
  files.template_bytes = std::string("\xFF\xD8\xFF\xE0", 4) + "\xFF\xDA scan, no end";
  EXPECT_EQ(LoadFormTemplate(canvas, files, "/opt/hoshizora"), nullptr);
  files.template_bytes.clear();
  EXPECT_EQ(LoadFormTemplate(canvas, files, "/opt/hoshizora"), nullptr) << "missing";
  EXPECT_EQ(canvas.decoded.size(), 2u) << "neither the cut nor the missing file is decoded";
}

// One rule for what leaves no ink, which both canvases and the glyph check
// follow: blanks, controls and format marks, but not a replacement
// character or half a surrogate pair, which draw a box.
TEST(DrawsNothing, BlanksControlsAndFormatMarksOnly) {
  for (char32_t c : {U' ', U'\t', U'\x7F', U'\xA0', U'\xAD', U'\u3000', U'\u200B', U'\u200F',
                     U'\u2028', U'\u202E', U'\u2066', U'\uFEFF', U'\uFFFB'}) {
    EXPECT_TRUE(DrawsNothing(c)) << std::hex << static_cast<int>(c);
  }
  for (char32_t c : {U'ア', U'A', U'」', U'\u2010', U'\uFFFD', char32_t{0xD800}, U'\U0002000B'}) {
    EXPECT_FALSE(DrawsNothing(c)) << std::hex << static_cast<int>(c);
  }
}

TEST_F(DrawingHelpersTest, BracketsAreTurnedAndPlacedByTheFormula) {
  const Font font{u"MS Gothic", 18, true};
  DrawCellChar(*g, font, u'ア', 100, 200);
  DrawCellChar(*g, font, u'」', 100, 200);
  DrawCellChar(*g, font, u'カ', 100, 242);
  ASSERT_EQ(canvas.strings.size(), 3u);
  EXPECT_EQ(canvas.strings[0].x, 100);
  EXPECT_EQ(canvas.strings[0].y, 200);
  EXPECT_EQ(canvas.strings[0].rotation, 0);
  // W = 18, H = 22.5 on this canvas: (x + (H - W) / 2 + 20, y + (W - H) / 2).
  EXPECT_FLOAT_EQ(canvas.strings[1].x, 100 + 2.25f + 20);
  EXPECT_FLOAT_EQ(canvas.strings[1].y, 200 - 2.25f);
  EXPECT_EQ(canvas.strings[1].rotation, 90);
  EXPECT_EQ(canvas.strings[2].rotation, 0) << "the turn is undone after the bracket";
  EXPECT_EQ(canvas.strings[2].x, 100);

  for (char16_t c : kBracketSet) {
    DrawCellChar(*g, font, c, 0, 0);
    EXPECT_EQ(canvas.strings.back().rotation, 90);
  }
  for (char16_t c : std::u16string_view(u"()[]{}<>、。ー")) {
    DrawCellChar(*g, font, c, 0, 0);
    EXPECT_EQ(canvas.strings.back().rotation, 0);
  }
}

TEST_F(DrawingHelpersTest, ColumnsStepDownFromTheirStart) {
  DrawColumn(canvas, *g, u"アイウエ", 529, 350, 23);
  ASSERT_EQ(canvas.strings.size(), 4u);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(canvas.strings[i].x, 529);
    EXPECT_EQ(canvas.strings[i].y, 350 + 23 * i);
    EXPECT_EQ(canvas.strings[i].pixel_size, 18);
    EXPECT_EQ(canvas.strings[i].face, u"MS Gothic");
  }
  DrawSmallColumn(canvas, *g, u"一二", 430, 14);
  EXPECT_EQ(canvas.strings[4].y, 362);
  EXPECT_EQ(canvas.strings[5].y, 382);
  EXPECT_EQ(canvas.strings[5].pixel_size, 14);
  DrawColumn(canvas, *g, u"", 0, 0, 23);
  EXPECT_EQ(canvas.strings.size(), 6u);
}

TEST_F(DrawingHelpersTest, ColumnsFallBackWhenGothicIsMissing) {
  canvas.installed_faces.clear();
  DrawColumn(canvas, *g, u"ア", 10, 10, 23);
  ASSERT_EQ(canvas.strings.size(), 1u) << "a missing face must not leave a field blank";
  EXPECT_EQ(canvas.strings[0].face, u"Sans");
}

TEST_F(DrawingHelpersTest, WrapLinesBreaksAtLineFeedsAndWidth) {
  const Font font{u"MS Gothic", 10, true};  // 124 characters fit in 1240 px
  using Lines = std::vector<std::u16string>;
  EXPECT_EQ(WrapLines(*g, font, u"AB\r\nD"), (Lines{u"AB", u"D"}));
  EXPECT_EQ(WrapLines(*g, font, u"\n\n"), (Lines{u"", u""}));
  EXPECT_EQ(WrapLines(*g, font, u"A\n"), (Lines{u"A"}));
  EXPECT_EQ(WrapLines(*g, font, u""), Lines{});
  const std::u16string long_line(124 + 5, u'x');
  EXPECT_EQ(WrapLines(*g, font, long_line),
            (Lines{std::u16string(124, u'x'), std::u16string(5, u'x')}));
  const Font huge{u"MS Gothic", 2000, true};
  EXPECT_EQ(WrapLines(*g, huge, u"AB"), (Lines{u"A", u"B"}))
      << "a character wider than the limit stands alone";
}

// The line-by-line search must give what measuring after every character gives.
TEST_F(DrawingHelpersTest, WrapLinesMatchesMeasuringEveryCharacter) {
  const auto greedy = [&](const Font& font, std::u16string_view text) {
    std::vector<std::u16string> lines;
    std::u16string current;
    for (char16_t c : text) {
      if (c == u'\r') {
        continue;
      }
      if (c == u'\n') {
        lines.push_back(current);
        current.clear();
      } else if (g->MeasureString(current + c, font).width <= 1240) {
        current.push_back(c);
      } else if (current.empty()) {
        lines.emplace_back(1, c);
      } else {
        lines.push_back(current);
        current.assign(1, c);
      }
    }
    if (!current.empty()) {
      lines.push_back(current);
    }
    return lines;
  };
  std::u16string text;
  for (int i = 0; i < 3000; ++i) {
    text.push_back(i % 397 == 0 ? u'\n'
                                : (i % 211 == 0 ? u'\r' : static_cast<char16_t>(u'ア' + i % 50)));
  }
  for (float size : {1.0f, 9.0f, 14.0f, 31.0f, 620.0f, 1240.0f, 1241.0f}) {
    const Font font{u"MS Gothic", size, true};
    EXPECT_EQ(WrapLines(*g, font, text), greedy(font, text)) << size;
    EXPECT_EQ(WrapLines(*g, font, u"\n\nア\n"), greedy(font, u"\n\nア\n")) << size;
  }
}

}  // namespace
}  // namespace hoshizora
