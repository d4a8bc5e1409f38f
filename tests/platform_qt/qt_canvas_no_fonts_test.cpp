// The Qt canvas on a system without Japanese fonts. Qt reads its font list
// once per process, so the check runs in a child process of this test
// program whose fontconfig knows only DejaVu.

#include <gtest/gtest.h>

#include <filesystem>

#include "imaging/drawing_helpers.h"
#include "imaging/text_listing.h"
#include "platform/posix/posix_system.h"
#include "platform/qt/font_substitutes.h"
#include "platform/qt/qt_canvas.h"
#include "support/temp_dir.h"

namespace hoshizora {
namespace {

namespace fs = std::filesystem;

constexpr const char* kLatinFontsOnly = "/usr/share/fonts/truetype/dejavu";

// Run only in the child (see below), where no Japanese face is installed.
TEST(QtCanvasWithoutJapaneseFonts, DISABLED_KanaAndKanjiAreReportedMissing) {
  ASSERT_TRUE(ResolveFontFace("MS Gothic").isEmpty()) << "the child still sees Japanese faces";
  QtCanvas canvas;
  const Font gothic = CreateFontOrSansSerif(canvas, kGothicFace, 18);
  ASSERT_TRUE(gothic.valid) << "a Latin face stands in";
  EXPECT_EQ(canvas.MissingGlyphs(u"[ホレ]アイ 和文ABC　1\r\n", gothic), u"ホレアイ和文");

  testing::TempDir dir;
  PosixSystem system;
  const ImageOutcome o =
      WriteTextListingImage(canvas, system, u"ア\nB", 700, 20, dir.path() / "listing");
  EXPECT_EQ(o.status, ImageStatus::kWritten);
  EXPECT_EQ(o.undrawable, u"電報出力ア");
  EXPECT_EQ(o.missing_faces, std::vector<std::u16string>{u"MS Gothic"});
}

TEST(QtCanvasWithoutJapaneseFonts, ChildProcessSeesEveryJapaneseCharacterMissing) {
  if (!fs::is_directory(kLatinFontsOnly)) {
    GTEST_SKIP() << "no DejaVu fonts at " << kLatinFontsOnly << " to run without Japanese faces";
  }
  testing::TempDir dir;
  const fs::path config = dir.path() / "fonts.conf";
  testing::WriteFileBytes(config, std::string("<?xml version=\"1.0\"?>\n<fontconfig><dir>") +
                                      kLatinFontsOnly + "</dir><cachedir>" +
                                      (dir.path() / "cache").string() +
                                      "</cachedir></fontconfig>\n");
  const fs::path log = dir.path() / "child.log";
  PosixSystem system;
  const ProcessResult r =
      system.RunProcess({"/bin/sh", "-c",
                         "FONTCONFIG_FILE=\"$1\" exec \"$0\" --gtest_also_run_disabled_tests "
                         "--gtest_filter='QtCanvasWithoutJapaneseFonts.DISABLED_*' > \"$2\" 2>&1",
                         system.ExecutablePath(), config, log},
                        nullptr);
  ASSERT_EQ(r.kind, ProcessResult::Kind::kExited);
  EXPECT_EQ(r.exit_code, 0) << testing::ReadFileBytes(log);
  EXPECT_NE(testing::ReadFileBytes(log).find("[  PASSED  ] 1 test"), std::string::npos)
      << testing::ReadFileBytes(log);
}

}  // namespace
}  // namespace hoshizora
