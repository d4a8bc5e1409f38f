#pragma once
// What every Canvas adapter must do, run against each of them. An adapter's
// test file defines a factory type with a `canvas` member (a live Canvas, with
// whatever session it needs) and a static Pixels(const Bitmap&) giving every
// pixel as ARGB, row after row, then instantiates the suite:
//   INSTANTIATE_TYPED_TEST_SUITE_P(Qt, CanvasContract, QtFactory);

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "check/check_result.h"
#include "check/marked_form.h"
#include "encoding/default_telegram.h"
#include "imaging/drawing_helpers.h"
#include "imaging/form_images.h"
#include "support/native_system.h"
#include "support/temp_dir.h"

namespace hoshizora::testing {

struct Box {
  int x0, y0, x1, y1;  // x1 and y1 excluded
  bool Contains(int x, int y) const { return x >= x0 && x < x1 && y >= y0 && y < y1; }
};

// Black text, not the form's dark red lines: every channel dark.
inline bool IsInk(std::uint32_t argb) {
  const std::uint32_t r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
  return std::max({r, g, b}) < 110;
}

// Anything but the paper: the form's lines, which a second JPEG pass darkens.
inline bool IsMarked(std::uint32_t argb) {
  const std::uint32_t r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
  return std::min({r, g, b}) < 200;
}

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;

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

template <typename Factory>
class CanvasContract : public ::testing::Test {
 protected:
  Picture Pixels(const Bitmap& bitmap) {
    return Picture{bitmap.Width(), bitmap.Height(), Factory::Pixels(bitmap)};
  }
  Picture Draw(const std::function<void(Graphics&)>& draw, int w = 200, int h = 200) {
    auto bitmap = canvas.CreateBitmap(w, h);
    {
      auto g = canvas.BeginDrawing(*bitmap);
      g->Clear(kOpaqueWhite);
      draw(*g);
    }
    return Pixels(*bitmap);
  }

  Factory factory;
  Canvas& canvas = factory.canvas;
};

TYPED_TEST_SUITE_P(CanvasContract);

TYPED_TEST_P(CanvasContract, UprightCharacterInksItsCellOnly) {
  const Font font = CreateFontOrSansSerif(this->canvas, kBrushScriptFace, 25);
  const Picture p = this->Draw([&](Graphics& g) { DrawCellChar(g, font, u'ア', 80, 60); });
  EXPECT_GT(p.InkIn({80, 60, 122, 102}), 20);
  EXPECT_EQ(p.InkOutside({{80, 60, 122, 102}}), 0);
}

// Brush faces leave some punctuation blank; those come from another face
// rather than leave a blank cell.
TYPED_TEST_P(CanvasContract, EveryBodyCharacterLeavesInk) {
  const Font font = CreateFontOrSansSerif(this->canvas, kBrushScriptFace, 25);
  std::u16string seen;
  for (char16_t c : MakeDefaultTelegram(std::nullopt).body + u"０１？！・ー（）") {
    if (seen.find(c) != std::u16string::npos) {
      continue;
    }
    seen.push_back(c);
    const Picture p = this->Draw([&](Graphics& g) { DrawCellChar(g, font, c, 80, 60); });
    EXPECT_GT(p.InkIn({0, 0, 200, 200}), 3) << std::hex << int{c};
  }
}

TYPED_TEST_P(CanvasContract, TurnedBracketStaysNearItsCell) {
  const Font font = CreateFontOrSansSerif(this->canvas, kGothicFace, 18);
  const Picture upright = this->Draw([&](Graphics& g) {
    g.DrawString(u"」", font, kOpaqueBlack, {80, 60, 0, 0}, nullptr);
  });
  const Picture turned = this->Draw([&](Graphics& g) { DrawCellChar(g, font, u'」', 80, 60); });
  EXPECT_GT(turned.InkIn({60, 40, 120, 100}), 5);
  EXPECT_EQ(turned.InkOutside({{60, 40, 120, 100}}), 0);
  // 」 upright is a tall stroke on the right; turned clockwise it lies flat.
  const Box up = upright.InkBounds();
  const Box down = turned.InkBounds();
  EXPECT_GT(up.y1 - up.y0, up.x1 - up.x0);
  EXPECT_GT(down.x1 - down.x0, down.y1 - down.y0);
}

TYPED_TEST_P(CanvasContract, TransformsArePrependedAndRestored) {
  const Font font = CreateFontOrSansSerif(this->canvas, kGothicFace, 20);
  const Picture p = this->Draw([&](Graphics& g) {
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

TYPED_TEST_P(CanvasContract, MeasuringAndCentring) {
  const Font font = CreateFontOrSansSerif(this->canvas, kGothicFace, 14);
  auto bitmap = this->canvas.CreateBitmap(10, 10);
  auto g = this->canvas.BeginDrawing(*bitmap);
  const SizeF one = g->MeasureString(u"ア", font);
  const SizeF ten = g->MeasureString(u"アアアアアアアアアア", font);
  EXPECT_GT(one.width, 14);
  EXPECT_NEAR(ten.width - one.width, 9 * 14, 2);
  EXPECT_GE(one.height, 14);

  const Font number = CreateFontOrSansSerif(this->canvas, kGothicFace, 22);
  const StringFormat centred{StringFormat::Align::kCenter, StringFormat::Align::kNear};
  const Picture p = this->Draw([&](Graphics& gr) {
    gr.DrawString(u"2/69", number, kOpaqueBlack, {0, 100, 200, 30}, &centred);
  });
  EXPECT_GT(p.InkIn({50, 100, 150, 130}), 20);
  EXPECT_EQ(p.InkOutside({{50, 100, 150, 130}}), 0);
}

TYPED_TEST_P(CanvasContract, EncodesAndDecodesJpegAndPng) {
  auto bitmap = this->canvas.CreateBitmap(64, 48);
  ASSERT_NE(bitmap, nullptr);
  this->canvas.BeginDrawing(*bitmap)->Clear(kOpaqueWhite);
  for (const auto& [format, magic] : {std::pair{ImageFormat::kJpeg, std::string("\xFF\xD8\xFF")},
                                      std::pair{ImageFormat::kPng, std::string("\x89PNG")}}) {
    ASSERT_TRUE(this->canvas.CanEncode(format)) << magic;
    const std::optional<std::string> bytes = this->canvas.EncodeImage(*bitmap, format);
    ASSERT_TRUE(bytes.has_value()) << magic;
    EXPECT_TRUE(bytes->starts_with(magic));
    const auto decoded = this->canvas.DecodeBitmap(*bytes);
    ASSERT_NE(decoded, nullptr) << magic;
    EXPECT_EQ(decoded->Width(), 64);
    EXPECT_EQ(decoded->Height(), 48);
    EXPECT_EQ(this->Pixels(*decoded).at(10, 10), 0xFFFFFFFFu);
    EXPECT_EQ(this->canvas.CloneBitmap(*decoded, 64, 48)->Height(), 48);
    EXPECT_EQ(this->canvas.CloneBitmap(*decoded, 65, 48), nullptr);
  }
  EXPECT_EQ(this->canvas.DecodeBitmap("\xFF\xD8\xFF\xE0 broken"), nullptr);
  EXPECT_EQ(this->canvas.DecodeBitmap(""), nullptr);
}

// The pictures go through the System: a template cut short is no template,
// and a page that cannot be put under its name leaves nothing there, not
// even part of itself, while the other pages are written.
TYPED_TEST_P(CanvasContract, PicturesAreReadAndWrittenWhole) {
  TempDir dir;
  NativeSystem system;
  auto form = this->canvas.CreateBitmap(764, 1080);
  {
    auto g = this->canvas.BeginDrawing(*form);
    g->Clear(kOpaqueWhite);
    const Font font = CreateFontOrSansSerif(this->canvas, kGothicFace, 40);
    for (int row = 0; row < 20; ++row) {
      g->DrawString(u"和文電報受信用紙", font, kOpaqueBlack, RectF{0, 50.0f * row, 0, 0}, nullptr);
    }
  }
  const std::filesystem::path template_path = dir.path() / u"和文電報受信用紙.jpg";
  ASSERT_TRUE(SavePicture(this->canvas, system, *form, ImageFormat::kJpeg, template_path));
  const std::string whole = ReadFileBytes(template_path);
  TelegramFields fields = MakeDefaultTelegram(std::nullopt);
  const FormDestination where{dir.path(), dir.path(), u"和文電報_x"};
  WriteFileBytes(template_path, whole.substr(0, whole.size() - 2));
  EXPECT_EQ(WriteFormImages(this->canvas, system, where, fields).status,
            ImageStatus::kNoFormTemplate);

  WriteFileBytes(template_path, whole);
  std::filesystem::create_directory(dir.path() / u"和文電報_x_2.jpg");
  const ImageOutcome pages = WriteFormImages(this->canvas, system, where, fields);
  EXPECT_EQ(pages.status, ImageStatus::kSaveFailed);
  EXPECT_EQ(pages.failed, std::vector<std::filesystem::path>{dir.path() / u"和文電報_x_2.jpg"});
  std::set<std::filesystem::path> left;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    left.insert(entry.path().filename());
  }
  EXPECT_EQ(left, (std::set<std::filesystem::path>{u"和文電報受信用紙.jpg", u"和文電報_x_1.jpg",
                                                   u"和文電報_x_2.jpg", u"和文電報_x_3.jpg"}))
      << "no staged part left beside them";
  EXPECT_TRUE(std::filesystem::is_empty(dir.path() / u"和文電報_x_2.jpg"));
  const auto page = this->canvas.DecodeBitmap(ReadFileBytes(dir.path() / u"和文電報_x_1.jpg"));
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->Width(), 764);
}

// The red of the marks, as it comes out of the JPEG; the template's own lines
// are a dark brown red, far darker.
inline int RedIn(const Picture& picture, const Box& box) {
  int red = 0;
  for (int y = box.y0; y < box.y1; ++y) {
    for (int x = box.x0; x < box.x1; ++x) {
      const std::uint32_t argb = picture.at(x, y);
      const std::uint32_t r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
      red += r > 170 && g < 110 && b < 110 ? 1 : 0;
    }
  }
  return red;
}

// ウ written as メ (cell 3), サ left out (its own cell, 10), ン added after ナ
// (cell 21): red there and in no other cell; with every character right, in
// none. (The JPEG encoders brighten the template's lines differently, so only
// the inside of each cell is looked at.)
TYPED_TEST_P(CanvasContract, MarkedFormHasRedOnlyInTheCellsOfTheErrors) {
  TempDir dir;
  NativeSystem system;
  TelegramFields key;
  key.body = u"[ホレ]アイウエオカキクケコサシスセソタチツテトナニヌネノハヒフヘホ[ラタ]";
  CheckCopy copy;
  copy.fields.body = u"アイウメオカキクケコシスセソタチツテトナンニヌネノハヒフヘホ";
  const CheckResult result = ScoreCopy(key, copy, {});
  const MarkedFormDestination where{HOSHIZORA_ASSETS_DIR, dir.path(), u"key_採点"};
  const ImageOutcome outcome = WriteMarkedForm(this->canvas, system, where, key, copy, result);
  ASSERT_EQ(outcome.status, ImageStatus::kWritten);
  ASSERT_EQ(outcome.written, std::vector<std::filesystem::path>{dir.path() / u"key_採点_1.jpg"});
  const auto bitmap = this->canvas.DecodeBitmap(ReadFileBytes(outcome.written[0]));
  ASSERT_NE(bitmap, nullptr);
  const Picture page = this->Pixels(*bitmap);
  for (int i = 0; i < 60; ++i) {
    const int x = 400 - 42 * (i / 10);
    const int y = 495 + 42 * (i % 10);
    if (i == 3 || i == 10 || i == 21) {
      EXPECT_GT(RedIn(page, {x, y, x + 42, y + 42}), 30) << "cell " << i;
    } else {
      // The expected character beside a circle may reach the corner of the
      // cell to its right.
      EXPECT_EQ(RedIn(page, {x + 10, y + 12, x + 40, y + 40}), 0) << "cell " << i;
    }
    // The copied characters stand in the middle of their cells, by their ink.
    if (i < 30 && i != 10) {
      EXPECT_GT(page.InkIn({x + 4, y + 4, x + 38, y + 38}), 8) << "cell " << i;
    }
  }
  EXPECT_GT(RedIn(page, {86, 705, 170, 915}), 100) << "the score in 備考";

  CheckCopy right;
  right.fields.body = key.body;
  const MarkedFormDestination again{HOSHIZORA_ASSETS_DIR, dir.path(), u"right"};
  const ImageOutcome clean =
      WriteMarkedForm(this->canvas, system, again, key, right, ScoreCopy(key, right, {}));
  ASSERT_EQ(clean.written.size(), 1u);
  const auto clean_page = this->canvas.DecodeBitmap(ReadFileBytes(clean.written[0]));
  ASSERT_NE(clean_page, nullptr);
  const Picture clean_cells = this->Pixels(*clean_page);
  for (int i = 0; i < 60; ++i) {
    const int x = 400 - 42 * (i / 10);
    const int y = 495 + 42 * (i % 10);
    EXPECT_EQ(RedIn(clean_cells, {x + 10, y + 12, x + 40, y + 40}), 0) << "cell " << i;
  }
}

REGISTER_TYPED_TEST_SUITE_P(CanvasContract, UprightCharacterInksItsCellOnly,
                            EveryBodyCharacterLeavesInk, TurnedBracketStaysNearItsCell,
                            TransformsArePrependedAndRestored, MeasuringAndCentring,
                            EncodesAndDecodesJpegAndPng, PicturesAreReadAndWrittenWhole,
                            MarkedFormHasRedOnlyInTheCellsOfTheErrors);

}  // namespace hoshizora::testing
