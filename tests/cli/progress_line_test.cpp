#include "cli/progress_line.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

namespace hoshizora {
namespace {

TEST(ProgressLine, StepBarPercentageAndTime) {
  EXPECT_EQ(RenderProgressLine("Writing audio", 0.456, 7.9, 60, 0),
            "Writing audio [============>                 ]  45% 0:07");
  EXPECT_EQ(RenderProgressLine("", 1.0, 0, 30, 0), "[=================] 100% 0:00");
}

TEST(ProgressLine, PercentageIsClampedAndNeverRoundedUpToDone) {
  const auto percent = [](double share) {
    const std::string line = RenderProgressLine("x", share, 0, 80, 0);
    return line.substr(line.size() - 9, 4);
  };
  EXPECT_EQ(percent(0), "  0%");
  EXPECT_EQ(percent(0.999), " 99%");
  EXPECT_EQ(percent(1), "100%");
  EXPECT_EQ(percent(1.7), "100%");
  EXPECT_EQ(percent(-0.2), "  0%");
  EXPECT_EQ(percent(std::nan("")), " --%");
}

TEST(ProgressLine, ElapsedTimeInMinutesThenHours) {
  const auto elapsed = [](double seconds) {
    const std::string line = RenderProgressLine("x", 0.5, seconds, 80, 0);
    return line.substr(line.rfind(' ') + 1);
  };
  EXPECT_EQ(elapsed(0), "0:00");
  EXPECT_EQ(elapsed(65.9), "1:05");
  EXPECT_EQ(elapsed(3599), "59:59");
  EXPECT_EQ(elapsed(3723), "1:02:03");
  EXPECT_EQ(elapsed(-5), "0:00");
  EXPECT_EQ(elapsed(std::nan("")), "0:00");
  EXPECT_EQ(elapsed(1e300), "100:00:00");
}

TEST(ProgressLine, BusyBlockRunsOutAndBack) {
  const std::string step = "MP3に変換しています";
  const auto bar = [&](unsigned tick) {
    const std::string line = RenderProgressLine(step, std::nullopt, 12, 80, tick);
    EXPECT_TRUE(line.ends_with("  --% 0:12")) << line;
    return line.substr(line.find('['), 32);
  };
  EXPECT_EQ(bar(0), "[<=>" + std::string(27, ' ') + "]");
  EXPECT_EQ(bar(1), "[ <=>" + std::string(26, ' ') + "]");
  EXPECT_EQ(bar(27), "[" + std::string(27, ' ') + "<=>]");
  EXPECT_EQ(bar(28), bar(26));
  EXPECT_EQ(bar(54), bar(0));
  EXPECT_EQ(bar(54u * 1000 + 5), bar(5));
}

TEST(ProgressLine, NarrowTerminalsShrinkTheBarThenCutTheStepThenDropTheBar) {
  const std::string step = "音声ファイルを書いています";  // 26 columns
  EXPECT_EQ(RenderProgressLine(step, 0.456, 7, 40, 0), "音声ファイルを… [===>      ]  45% 0:07");
  EXPECT_EQ(RenderProgressLine(step, 0.456, 7, 20, 0), "音声フ…  45% 0:07");
  EXPECT_EQ(RenderProgressLine(step, 0.456, 7, 11, 0), " 45% 0:07");
  EXPECT_EQ(RenderProgressLine(step, 0.456, 7, 0, 0), "");

  for (const std::string& text : {step, std::string("Drawing form pages"), std::string()}) {
    for (int width = -1; width <= 120; ++width) {
      for (const auto share : {std::optional<double>(0.3), std::optional<double>()}) {
        const std::string line = RenderProgressLine(text, share, 4000, width, 13);
        EXPECT_LE(DisplayColumns(line), std::max(0, width - 1)) << width << " " << line;
      }
    }
  }
}

TEST(ProgressLine, StepCannotBreakTheLine) {
  EXPECT_EQ(RenderProgressLine("a\nb\x1b[2J", 0, 0, 80, 0).substr(0, 9), "a b [2J [");
  EXPECT_EQ(RenderProgressLine("\xff\xe3\x81", 0, 0, 80, 0).substr(0, 4), "??? ");
  // A cut never splits a character: only whole ones and the ellipsis remain.
  const std::string cut = RenderProgressLine("ああああああああああ", 0, 0, 30, 0);
  EXPECT_EQ(cut.substr(0, cut.find(' ')), "ああああああああ…");
}

TEST(ProgressLine, ColumnsOfWideNarrowAndCombiningCharacters) {
  EXPECT_EQ(DisplayColumns("abc"), 3);
  EXPECT_EQ(DisplayColumns("ア"), 2);
  EXPECT_EQ(DisplayColumns("ｱ"), 1);           // half-width katakana
  EXPECT_EQ(DisplayColumns("\U0002000B"), 2);  // outside the BMP
  EXPECT_EQ(DisplayColumns("か\u3099"), 2);    // combining voiced mark
  EXPECT_EQ(DisplayColumns("e\u0301"), 1);
  EXPECT_EQ(DisplayColumns("［ホレ］"), 8);
  EXPECT_EQ(DisplayColumns("\xed\xa0\x80"), 3);  // an encoded surrogate is three bad bytes
}

}  // namespace
}  // namespace hoshizora
