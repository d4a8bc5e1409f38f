#include "cli/console_sink.h"

#include <gtest/gtest.h>

#include <sstream>

#include "cli/japanese_run.h"
#include "support/terminal_screen.h"

namespace hoshizora {
namespace {

using namespace std::chrono_literals;
using testing::TerminalScreen;
using Lines = std::vector<std::string>;

// The sink on a terminal of `columns` columns, its clock the test's.
class ConsoleBarTest : public ::testing::Test {
 protected:
  ConsoleSink Sink(ConsoleProgress::Style style) {
    return ConsoleSink(err, [this] { return now; }, {style, [this] { return columns; }});
  }
  Lines Screen() const { return TerminalScreen(err.str()); }

  testing::JapaneseRun japanese;  // the run's texts as they are
  std::chrono::steady_clock::time_point now{};
  int columns = 80;
  std::ostringstream err;
};

TEST_F(ConsoleBarTest, OneLineRedrawnInPlaceOnceTheRunTakesAWhile) {
  ConsoleSink sink = Sink(ConsoleProgress::Style::kBar);
  sink.Report(u"テキスト画像を作成中", 0.0);
  now += 400ms;
  sink.Tick();
  EXPECT_EQ(err.str(), "") << "short runs stay quiet";

  now += 100ms;
  sink.Tick();
  EXPECT_EQ(Screen(), Lines{"テキスト画像を作成中 [                              ]   0% 0:00"});
  now += 1s;
  sink.Report(u"受信用紙 2/3 を作成中", 1.0 / 3);
  EXPECT_EQ(Screen(), Lines{"受信用紙 2/3 を作成中 [=========>                    ]  33% 0:01"});
  EXPECT_EQ(err.str().find('\n'), std::string::npos) << "never a new line";

  // A narrower window: the shorter line leaves nothing of the longer one.
  columns = 40;
  sink.Tick();
  const Lines screen = Screen();
  ASSERT_EQ(screen.size(), 1u);
  EXPECT_LT(DisplayColumns(screen[0]), 40);
  EXPECT_TRUE(screen[0].ends_with("33% 0:01")) << screen[0];
}

TEST_F(ConsoleBarTest, BusyBlockMovesWhileTheShareIsUnknown) {
  ConsoleSink sink = Sink(ConsoleProgress::Style::kBar);
  now += 1s;
  sink.Report(u"音声を書き込み、MP3に変換中", ProgressReporter::kUnknownShare);
  const Lines first = Screen();
  sink.Tick();
  const Lines second = Screen();
  now += 2s;
  sink.Tick();
  const Lines third = Screen();
  ASSERT_EQ(first.size(), 1u);
  EXPECT_NE(first[0].find("<=>"), std::string::npos) << first[0];
  EXPECT_TRUE(first[0].ends_with("--% 0:01")) << first[0];
  EXPECT_NE(first, second) << "the block moved";
  EXPECT_EQ(first[0].substr(first[0].size() - 8), second[0].substr(second[0].size() - 8));
  EXPECT_TRUE(third[0].ends_with("--% 0:03")) << "the clock runs on";
}

TEST_F(ConsoleBarTest, MessagesTakeTheBarsLineAndTheEndWipesIt) {
  ConsoleSink sink = Sink(ConsoleProgress::Style::kBar);
  now += 1s;
  sink.Report(u"受信用紙 1/3 を作成中", 0.0);
  sink.ShowMessage(u"和文電報JPEGの保存に失敗しました。", u"エラー", MessageIcon::kError);
  EXPECT_EQ(Screen(), Lines{"エラー: 和文電報JPEGの保存に失敗しました。"});
  sink.Tick();
  EXPECT_EQ(Screen().size(), 2u) << "the bar comes back below the message";

  sink.EndProgress();
  sink.Report(u"受信用紙 2/3 を作成中", 1.0 / 3);
  sink.Tick();
  sink.ShowMessage(u"出力が完了しました。", u"完了", MessageIcon::kNone);
  EXPECT_EQ(Screen(),
            (Lines{"エラー: 和文電報JPEGの保存に失敗しました。", "完了: 出力が完了しました。"}));
}

TEST_F(ConsoleBarTest, QuietShowsMessagesButNoProgress) {
  ConsoleSink sink = Sink(ConsoleProgress::Style::kNone);
  now += 2s;
  sink.Report(u"受信用紙 1/3 を作成中", 0.0);
  sink.Report(u"音声を書き込み、MP3に変換中", ProgressReporter::kUnknownShare);
  sink.Tick();
  EXPECT_EQ(err.str(), "");
  sink.ShowMessage(u"出力が完了しました。", u"完了", MessageIcon::kNone);
  EXPECT_EQ(err.str(), "完了: 出力が完了しました。\n");
}

// Plain lines (stderr is a file): a line for each step, never repeated; a
// step begun inside the quiet period gets its line once the period is over.
TEST_F(ConsoleBarTest, PlainLinesPrintEachStepOnce) {
  ConsoleSink sink = Sink(ConsoleProgress::Style::kLines);
  sink.Report(u"テキスト画像を作成中", 0.0);
  now += 200ms;
  sink.Report(u"音声を書き込み、MP3に変換中", ProgressReporter::kUnknownShare);
  sink.Tick();
  EXPECT_EQ(err.str(), "") << "short runs stay quiet";
  now += 400ms;
  sink.Tick();
  sink.Tick();
  sink.Report(u"音声を書き込み、MP3に変換中", ProgressReporter::kUnknownShare);
  sink.Report(u"受信用紙 1/2 を作成中", 0.5);
  EXPECT_EQ(err.str(),
            "hoshizora-cli: 音声を書き込み、MP3に変換中\n"
            "hoshizora-cli: 受信用紙 1/2 を作成中 (50%)\n");
}

}  // namespace
}  // namespace hoshizora
