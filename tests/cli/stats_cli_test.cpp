#include "cli/stats_cli.h"

#include <gtest/gtest.h>

#include <sstream>

#include "cli/check_cli.h"
#include "history/history_file.h"
#include "platform/ini_file.h"
#include "support/recording_canvas.h"
#include "support/temp_dir.h"
#include "support/test_system.h"
#include "telegram_file/telegram_text_format.h"

namespace hoshizora {
namespace {

namespace fs = std::filesystem;

HistoryRecord Record(int score, CharacterTallies characters, ConfusionTallies confusions) {
  HistoryRecord record;
  record.time = LocalTime{2026, 12, 7, 21, 0, score % 60};
  record.score = score;
  record.pass_mark = 80;
  record.characters = std::move(characters);
  record.confusions = std::move(confusions);
  return record;
}

class StatsCliTest : public ::testing::Test {
 protected:
  StatsCliTest() { testing::PlaceFormTemplate(program); }

  int Run(const std::vector<std::string>& args) {
    out_.str("");
    err_.str("");
    CliSetup setup;
    setup.folders = PortableFolders(program);
    return RunStatsCli(
        args, out_, err_, system, [this]() -> Canvas& { return canvas; }, setup);
  }
  void Add(const HistoryRecord& record) {
    ASSERT_EQ(AppendHistory(system, program / "history.csv", record).result,
              HistoryAppend::Result::kAppended);
  }
  void AddThree() {
    Add(Record(70, {{u"ン", {2, 2}}, {u"ア", {4, 0}}, {u"シ", {2, 1}}}, {{{u"ン", u"ソ"}, 2}}));
    Add(Record(85, {{u"シ", {2, 1}}, {u"\"", {1, 1}}}, {{{u"シ", u"ツ"}, 1}, {{u"\"", u"\\"}, 1}}));
    Add(Record(90, {{u"ア", {1, 0}}, {u"ツ", {4, 1}}}, {{{u"ツ", u"シ"}, 1}}));
  }

  testing::TempDir dir;
  fs::path program = dir.path() / "program";
  testing::TestSystem system{program / "hoshizora-cli"};
  testing::RecordingCanvas canvas;
  std::ostringstream out_;
  std::ostringstream err_;
};

TEST_F(StatsCliTest, WithoutHistorySaysSoAndSucceeds) {
  EXPECT_EQ(Run({}), 0);
  EXPECT_TRUE(out_.str().starts_with("no practice history yet")) << out_.str();
  EXPECT_NE(out_.str().find((program / "history.csv").string()), std::string::npos);
  EXPECT_EQ(Run({"--json"}), 0);
  EXPECT_EQ(out_.str(),
            "{\"checks\": 0, \"characters\": [], \"confusions\": [], \"scores\": []}\n");
  EXPECT_EQ(Run({"--chart", (dir.path() / "c.png").string()}), 0);
  EXPECT_TRUE(canvas.encoded.empty());
}

TEST_F(StatsCliTest, JsonListsCharactersAndConfusionsWorstFirst) {
  AddThree();
  EXPECT_EQ(Run({"--json"}), 0);
  // " 1/1 and ン 2/2 at rate 1, ン first for more errors; シ 2/4; ツ 1/4; ア 0/5.
  EXPECT_EQ(out_.str(),
            "{\"checks\": 3, \"characters\": ["
            "{\"character\": \"ン\", \"heard\": 2, \"errors\": 2, \"rate\": 1.0000}, "
            "{\"character\": \"\\\"\", \"heard\": 1, \"errors\": 1, \"rate\": 1.0000}, "
            "{\"character\": \"シ\", \"heard\": 4, \"errors\": 2, \"rate\": 0.5000}, "
            "{\"character\": \"ツ\", \"heard\": 4, \"errors\": 1, \"rate\": 0.2500}, "
            "{\"character\": \"ア\", \"heard\": 5, \"errors\": 0, \"rate\": 0.0000}], "
            "\"confusions\": ["
            "{\"expected\": \"ン\", \"got\": \"ソ\", \"count\": 2}, "
            "{\"expected\": \"\\\"\", \"got\": \"\\\\\", \"count\": 1}, "
            "{\"expected\": \"シ\", \"got\": \"ツ\", \"count\": 1}, "
            "{\"expected\": \"ツ\", \"got\": \"シ\", \"count\": 1}], "
            "\"scores\": [70, 85, 90]}\n");

  // A sending in between is left out of the copies, and shown alone with --sending.
  HistoryRecord sent = Record(60, {{u"ヲ", {1, 1}}}, {});
  sent.kind = HistoryKind::kSending;
  Add(sent);
  EXPECT_EQ(Run({"--last", "1", "--json"}), 0);
  EXPECT_EQ(out_.str(),
            "{\"checks\": 1, \"characters\": ["
            "{\"character\": \"ツ\", \"heard\": 4, \"errors\": 1, \"rate\": 0.2500}, "
            "{\"character\": \"ア\", \"heard\": 1, \"errors\": 0, \"rate\": 0.0000}], "
            "\"confusions\": [{\"expected\": \"ツ\", \"got\": \"シ\", \"count\": 1}], "
            "\"scores\": [90]}\n");
  EXPECT_EQ(Run({"--sending", "--json"}), 0);
  EXPECT_EQ(out_.str(),
            "{\"checks\": 1, \"characters\": ["
            "{\"character\": \"ヲ\", \"heard\": 1, \"errors\": 1, \"rate\": 1.0000}], "
            "\"confusions\": [], \"scores\": [60]}\n");
}

TEST_F(StatsCliTest, ReportNotesSkippedLinesAndDrawsTheChart) {
  AddThree();
  std::ofstream(program / "history.csv", std::ios::app) << "not a record\n";
  EXPECT_EQ(Run({"--chart", (dir.path() / "chart.png").string()}), 0);
  EXPECT_EQ(out_.str(),
            "checks: 3\n"
            "scores: first 70, best 90, last 90, mean of the last 3 81.7\n"
            "weakest characters (written wrong / heard):\n"
            "  ン  2/2  100%\n"
            "  \"  1/1  100%\n"
            "  シ  2/4  50%\n"
            "  ツ  1/4  25%\n"
            "confusions (expected -> written):\n"
            "  ン -> ソ  2\n"
            "  \" -> \\  1\n"
            "  シ -> ツ  1\n"
            "  ツ -> シ  1\n" +
                (dir.path() / "chart.png").string() + "\n");
  EXPECT_NE(err_.str().find("skipped 1 damaged or foreign lines"), std::string::npos) << err_.str();

  ASSERT_EQ(canvas.encoded.size(), 1u);
  EXPECT_EQ(canvas.encoded[0].format, ImageFormat::kPng);
  EXPECT_TRUE(fs::exists(dir.path() / "chart.png"));
  // One bar per character written wrong, worst first, as tall as its rate.
  std::vector<float> bars;
  for (const auto& shape : canvas.shapes) {
    if (shape.kind == testing::DrawnShape::Kind::kRectangle && shape.argb == 0xFF933534) {
      bars.push_back(shape.y2 - shape.y1);
    }
  }
  ASSERT_EQ(bars.size(), 4u);
  EXPECT_FLOAT_EQ(bars[0], bars[1]);
  EXPECT_FLOAT_EQ(bars[2], bars[0] / 2);
  EXPECT_FLOAT_EQ(bars[3], bars[0] / 4);

  canvas.formats = {ImageFormat::kJpeg};
  EXPECT_EQ(Run({"--chart", (dir.path() / "chart2.png").string()}), 1) << "no PNG encoder";
}

TEST_F(StatsCliTest, BadArgumentsAndUnreadableHistoryExitTwo) {
  for (const std::vector<std::string>& args : {std::vector<std::string>{"--last", "0"},
                                               {"--last", "10001"},
                                               {"--last", "x"},
                                               {"--last"},
                                               {"--chart"},
                                               {"--bogus"},
                                               {"extra"}}) {
    EXPECT_EQ(Run(args), 2) << args[0];
    EXPECT_TRUE(out_.str().empty());
  }
  EXPECT_EQ(Run({"--help"}), 0);
  EXPECT_TRUE(out_.str().starts_with("Usage: hoshizora-cli stats")) << out_.str();
  fs::create_directories(program / "history.csv");
  EXPECT_EQ(Run({}), 2);
  EXPECT_NE(err_.str().find("cannot read the practice history"), std::string::npos);
}

TEST_F(StatsCliTest, CheckRecordsEachScoredCopyUnlessToldNot) {
  const fs::path key = dir.path() / "key.txt";
  const fs::path copy = dir.path() / "copy.txt";
  testing::WriteFileBytes(key, SerializeTelegramText({u"三", u"五九", u"七〇", u"コ1", u"ミ」",
                                                      u"[ホレ]アイウ[ラタ]"}));
  testing::WriteFileBytes(copy, "アエ\n");  // イ written as エ, ウ left out
  IniFileStore settings{system, program / "settings.ini"};
  CliSetup setup;
  setup.folders = PortableFolders(program);
  const auto check = [&](std::vector<std::string> args) {
    std::istringstream in;
    std::ostringstream out;
    err_.str("");
    args.insert(args.begin(), {key.string(), copy.string(), "--out", dir.path().string()});
    return RunCheckCli(
        args, in, out, err_, system, settings, [this]() -> Canvas& { return canvas; }, setup);
  };
  EXPECT_EQ(check({"--json"}), 0);
  EXPECT_EQ(err_.str(), "");
  EXPECT_EQ(check({"--no-history"}), 0);
  std::ofstream(program / "history.csv", std::ios::app) << "damaged";  // and cut short
  EXPECT_EQ(check({"--quiet"}), 0);
  EXPECT_NE(err_.str().find("skipped 1 damaged or foreign lines"), std::string::npos) << err_.str();
  testing::WriteFileBytes(key, "no tags");
  EXPECT_EQ(check({}), 2);

  const HistoryRead read = ReadHistory(system, program / "history.csv");
  ASSERT_EQ(read.records.size(), 2u) << "two scored and recorded copies";
  EXPECT_EQ(read.records[0], read.records[1]);
  const HistoryRecord& record = read.records[0];
  EXPECT_EQ(record.time, system.now);
  EXPECT_EQ(record.key_name, u"key.txt");
  EXPECT_EQ(record.score, 98);
  EXPECT_EQ(record.substitutions, 1);
  EXPECT_EQ(record.omissions, 1);
  EXPECT_EQ(record.characters,
            (CharacterTallies{{u"ア", {1, 0}}, {u"イ", {1, 1}}, {u"ウ", {1, 1}}}));
  EXPECT_EQ(record.confusions, (ConfusionTallies{{{u"イ", u"エ"}, 1}}));
}

}  // namespace
}  // namespace hoshizora
