#include "history/history_file.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"
#include "support/test_system.h"

namespace hoshizora {
namespace {

namespace fs = std::filesystem;
using testing::ReadFileBytes;
using testing::WriteFileBytes;

HistoryRecord Record(int score) {
  HistoryRecord record;
  record.time = LocalTime{2026, 12, 7, 21, 4, 9};
  record.key_name = u"和文電報_20261207_210000_telegram.txt";
  record.seed = 18446744073709551615u;
  record.cpm = 60;
  record.effective_cpm = 40;
  record.score = score;
  record.pass_mark = 80;
  record.substitutions = 2;
  record.omissions = 1;
  record.insertions = 1;
  record.characters = {{u"ア", {3, 0}}, {u"ン", {2, 2}}, {u"゛", {4, 1}}};
  record.confusions = {{{u"ン", u"ソ"}, 2}};
  return record;
}

// An append that dies half way through its line, as a crash would.
class CrashingSystem : public testing::TestSystem {
 public:
  using TestSystem::TestSystem;
  bool AppendFile(const fs::path& path, std::string_view bytes) override {
    if (crash) {
      TestSystem::AppendFile(path, bytes.substr(0, bytes.size() / 2));
      return false;
    }
    return TestSystem::AppendFile(path, bytes);
  }
  bool crash = false;
};

class HistoryFileTest : public ::testing::Test {
 protected:
  testing::TempDir dir;
  fs::path file = dir.path() / "data" / "hoshizora" / "history.csv";
  CrashingSystem system{dir.path() / "hoshizora-cli"};
};

TEST(HistoryCsvTest, RecordsRoundTripThroughTheirLine) {
  HistoryRecord unknowns;  // no clock, key, seed or speed; no tallies
  HistoryRecord awkward = Record(0);
  // Characters a copy may hold that would split a cell, an item or a line,
  // a lone surrogate and a pair.
  awkward.key_name = u"a \"quoted\", name.txt";
  awkward.confusions = {{{u"ア", u","}, 1},    {{u"イ", u"\""}, 1},     {{u"ウ", u":"}, 1},
                        {{u"エ", u">"}, 1},    {{u"オ", u"\\"}, 1},     {{u"カ", u" "}, 1},
                        {{u"キ", u"\n"}, 1},   {{u"ク", u"\xD800"}, 1}, {{u"ケ", u"😀"}, 1},
                        {{u"/", u"\u2028"}, 3}};
  HistoryRecord sent = Record(88);
  sent.kind = HistoryKind::kSending;
  for (const HistoryRecord& record : {Record(97), unknowns, awkward, sent}) {
    const std::string line = FormatHistoryLine(record);
    ASSERT_TRUE(line.ends_with('\n'));
    EXPECT_EQ(line.find('\n'), line.size() - 1) << line;
    const auto parsed = ParseHistoryLine(std::string_view(line).substr(0, line.size() - 1));
    ASSERT_TRUE(parsed) << line;
    EXPECT_EQ(*parsed, record) << line;
  }
  EXPECT_EQ(FormatHistoryLine(Record(97)),
            "2026-12-07 21:04:09,和文電報_20261207_210000_telegram.txt,18446744073709551615,60,40,"
            "97,80,2,1,1,\"゛:4/1 ア:3/0 ン:2/2\",\"ン>ソ:2\",reception\n");
}

TEST(HistoryCsvTest, DamagedAndForeignLinesAreSkippedAndCounted) {
  const std::string good = FormatHistoryLine(Record(90));
  const std::string good_line = good.substr(0, good.size() - 1);
  const char* damaged[] = {
      "",  // blank lines are not counted
      "name,age,city",
      "2026-12-07 21:04:09,k,,,,97,80,0,0,0,\"\"",                    // a field short
      "2026-13-07 21:04:09,k,,,,97,80,0,0,0,\"\",\"\"",               // month 13
      "2026-12-07 21:04:09,k,,,,101,80,0,0,0,\"\",\"\"",              // score over 100
      "2026-12-07 21:04:09,k,x,,,97,80,0,0,0,\"\",\"\"",              // seed not a number
      "2026-12-07 21:04:09,k,,,,97,80,0,0,0,\"ア:1/2\",\"\"",         // more errors than heard
      "2026-12-07 21:04:09,k,,,,97,80,0,0,0,\"ア:1/0 ア:1/0\",\"\"",  // a character twice
      "2026-12-07 21:04:09,k,,,,97,80,0,0,0,\"\",\"ン>:1\"",          // nothing written
      "2026-12-07 21:04:09,k,,,,97,80,0,0,0,\"\\12\",\"\"",           // a short escape
      "2026-12-07 21:04:09,k,,,,97,80,0,0,0,\"\",\"ン>ソ:1",          // an open quote
      "2026-12-07 21:04:09,\xFF,,,,97,80,0,0,0,\"\",\"\"",            // not UTF-8
      "2026-12-07 21:04:09,k,,,,97,80,0,0,0,\"\",\"\",dictation",     // a kind not known
  };
  // As a spreadsheet may save it: a byte order mark and CR LF; a history
  // begun before the kind column, whose lines are receptions.
  std::string bytes = "\xEF\xBB\xBF" + std::string(kFirstHistoryHeader) + "\r\n" +
                      good_line.substr(0, good_line.rfind(',')) + "\r\n";
  for (const char* line : damaged) {
    bytes += std::string(line) + "\n";
  }
  const std::string later = FormatHistoryLine(Record(95));
  bytes += later.substr(0, later.size() - 1) + ",a column added later\n";
  const HistoryParse parse = ParseHistoryFile(bytes);
  EXPECT_EQ(parse.skipped, static_cast<int>(std::size(damaged)) - 1) << "all but the blank line";
  EXPECT_EQ(parse.records, (std::vector<HistoryRecord>{Record(90), Record(95)}));
  EXPECT_TRUE(parse.ends_with_line_feed);
}

TEST_F(HistoryFileTest, AppendsWholeLinesAndRecoversFromALineCutShort) {
  EXPECT_EQ(ReadHistory(system, file).status, HistoryRead::Status::kMissing);
  ASSERT_EQ(AppendHistory(system, file, Record(91)).result, HistoryAppend::Result::kAppended);
  EXPECT_EQ(ReadFileBytes(file), std::string(kHistoryHeader) + "\n" + FormatHistoryLine(Record(91)))
      << "a new file starts with its header, in the folder made for it";

  system.crash = true;
  EXPECT_EQ(AppendHistory(system, file, Record(92)).result, HistoryAppend::Result::kFailed);
  HistoryRead read = ReadHistory(system, file);
  EXPECT_EQ(read.records, std::vector<HistoryRecord>{Record(91)}) << "the cut line is not a record";
  EXPECT_EQ(read.skipped, 1);

  system.crash = false;
  const HistoryAppend after = AppendHistory(system, file, Record(93));
  EXPECT_EQ(after.result, HistoryAppend::Result::kAppended);
  EXPECT_EQ(after.skipped, 1);
  read = ReadHistory(system, file);
  EXPECT_EQ(read.records, (std::vector<HistoryRecord>{Record(91), Record(93)}))
      << "the next record starts on a line of its own";
  EXPECT_TRUE(ReadFileBytes(file).ends_with(FormatHistoryLine(Record(93))));
}

TEST_F(HistoryFileTest, StaysWithinItsBoundDroppingTheOldestThroughTheStagedWrite) {
  constexpr std::size_t kBound = 5;
  for (int score = 0; score < 8; ++score) {
    const HistoryAppend append = AppendHistory(system, file, Record(score), kBound);
    EXPECT_EQ(append.result,
              score < 5 ? HistoryAppend::Result::kAppended : HistoryAppend::Result::kRewritten);
  }
  std::vector<HistoryRecord> newest;
  for (int score = 3; score < 8; ++score) {
    newest.push_back(Record(score));
  }
  EXPECT_EQ(ReadHistory(system, file).records, newest);
  EXPECT_EQ(system.replaced.size(), 3u);
  EXPECT_TRUE(ReadFileBytes(file).starts_with(std::string(kHistoryHeader) + "\n"));

  // A rewrite that fails leaves the file as it was.
  const std::string before = ReadFileBytes(file);
  system.replace_fails = true;
  EXPECT_EQ(AppendHistory(system, file, Record(9), kBound).result, HistoryAppend::Result::kFailed);
  EXPECT_EQ(ReadFileBytes(file), before);
}

TEST_F(HistoryFileTest, UnreadableHistoryIsReportedAndNotAppendedTo) {
  fs::create_directories(file);  // a folder where the file should be
  EXPECT_EQ(ReadHistory(system, file).status, HistoryRead::Status::kUnreadable);
  EXPECT_EQ(AppendHistory(system, file, Record(50)).result, HistoryAppend::Result::kFailed);
  EXPECT_EQ(AppendHistory(system, fs::path(), Record(50)).result, HistoryAppend::Result::kFailed);
}

}  // namespace
}  // namespace hoshizora
