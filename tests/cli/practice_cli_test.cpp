#include "cli/practice_cli.h"

#include <gtest/gtest.h>

#include <sstream>

#include "history/history_file.h"
#include "platform/ini_file.h"
#include "practice/practice_telegram.h"
#include "support/recording_canvas.h"
#include "support/temp_dir.h"
#include "support/test_system.h"
#include "telegram_file/telegram_file_commands.h"

namespace hoshizora {
namespace {

namespace fs = std::filesystem;

class PracticeCliTest : public ::testing::Test {
 protected:
  PracticeCliTest() {
    testing::PlaceFormTemplate(program);
    fs::create_directories(out);
  }
  PracticePlan Plan(const std::vector<std::string>& args) {
    auto built = BuildPracticePlan(args, system, settings, PortableFolders(program));
    if (auto* refusal = std::get_if<CliRefusal>(&built)) {
      ADD_FAILURE() << refusal->message;
      return {};
    }
    return std::get<PracticePlan>(built);
  }
  std::string Refusal(const std::vector<std::string>& args) {
    auto built = BuildPracticePlan(args, system, settings, PortableFolders(program));
    const auto* refusal = std::get_if<CliRefusal>(&built);
    return refusal != nullptr ? refusal->message : "(no refusal)";
  }
  // A whole practice command with a recording canvas and seeds from 7 up.
  int Run(const std::vector<std::string>& args) {
    stdout_.str("");
    return RunPracticeCli(
        args, stdout_, stderr_, system, settings, [this]() -> Canvas& { return canvas; },
        [this] { return fresh_seeds_++; });
  }
  std::string Printed() const { return stdout_.str(); }
  static TelegramFields Load(System& system, const fs::path& path) {
    const TelegramFileRead read = LoadTelegramFile(system, path);
    EXPECT_EQ(read.status, FileRead::Status::kRead) << path;
    return read.fields;
  }

  testing::TempDir dir;
  fs::path program = dir.path() / "program";
  fs::path out = dir.path() / "出力";
  testing::TestSystem system{program / "hoshizora-cli"};
  IniFileStore settings{system, program / "settings.ini"};
  testing::RecordingCanvas canvas;
  std::ostringstream stdout_;
  std::ostringstream stderr_;
  std::uint64_t fresh_seeds_ = 7;
};

TEST_F(PracticeCliTest, PlanFromFlagsAndDefaults) {
  testing::WriteFileBytes(program / "settings.ini", "[General]\nFreqHz=650\nCpm=90\n");
  const PracticePlan defaults = Plan({});
  EXPECT_EQ(defaults.count, 1);
  EXPECT_EQ(defaults.seed, std::nullopt);
  EXPECT_EQ(defaults.options.mode, PracticeMode::kWords);
  EXPECT_EQ(defaults.options.length.min, 60);
  EXPECT_EQ(defaults.options.length.max, 130);
  EXPECT_EQ(defaults.request.frequency, 650) << "the tone comes from settings.ini, as for output";
  EXPECT_EQ(defaults.request.speed, 90);
  EXPECT_EQ(defaults.request.output_root, program) << "a portable copy writes beside itself";
  EXPECT_EQ(defaults.request.program_folder, program);

  const PracticePlan full =
      Plan({"--out", out.string(), "--count", "100", "--groups", "--chars", "アイウ", "--length",
            "20-40", "--seed", "18446744073709551615", "--freq", "700", "--cpm", "120"});
  EXPECT_EQ(full.count, 100);
  EXPECT_EQ(full.seed, 18446744073709551615u);
  EXPECT_EQ(full.options.mode, PracticeMode::kGroups);
  EXPECT_EQ(full.options.group_characters, u"アイウ");
  EXPECT_EQ(full.options.length.min, 20);
  EXPECT_EQ(full.options.length.max, 40);
  EXPECT_EQ(full.request.frequency, 700);
  EXPECT_EQ(full.request.speed, 120);
  EXPECT_EQ(full.request.output_root, out);
  EXPECT_EQ(Plan({"--groups"}).options.group_characters, kBasicKana);
  EXPECT_EQ(Plan({"--seed", "0"}).seed, 0u);
}

TEST_F(PracticeCliTest, BadOptionsAreRefusedWithAReason) {
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"--count", "0"}, "--count needs a number from 1 to 100"},
      {{"--count", "101"}, "--count needs a number from 1 to 100"},
      {{"--count", "3x"}, "--count needs a number from 1 to 100"},
      {{"--count", "-1"}, "--count needs a number from 1 to 100"},
      {{"--seed", "18446744073709551616"}, "--seed needs a number from 0 to 18446744073709551615"},
      {{"--seed", "0x2a"}, "--seed needs a number from 0 to 18446744073709551615"},
      {{"--seed", ""}, "--seed needs a number from 0 to 18446744073709551615"},
      {{"--length", "60"}, "(no refusal)"},
      {{"--length", "60..130"}, "--length needs MIN-MAX counted characters, such as 60-130"},
      {{"--length", "5-60"}, "--length 5-60: MIN and MAX must lie within 10-1000"},
      {{"--length", "130-60"}, "--length 130-60: MIN is larger than MAX"},
      {{"--groups", "--length", "61-64"},
       "--length 61-64: --groups needs a multiple of 5 within the range"},
      {{"--chars", "アイ"}, "--chars needs --groups"},
      {{"--groups", "--chars", ""}, "--chars needs at least one character"},
      {{"--groups", "--chars", "ア イ"},
       "--chars: blanks, line breaks and ? cannot be group characters"},
      {{"--groups", "--chars", "ア。「。"}, "--chars: no Morse code for 。 「"},
      {{"--count"}, "--count needs a value"},
      {{"--out"}, "--out needs a value"},
      {{"--bogus"}, "unknown option '--bogus'"},
      {{"telegram.txt"}, "unexpected argument 'telegram.txt'"},
  };
  for (const auto& [args, reason] : cases) {
    const std::string expected = reason == "(no refusal)" ? reason : "hoshizora-cli: " + reason;
    EXPECT_EQ(Refusal(args), expected) << args.back();
  }
  // The tone and --out are refused as output refuses them.
  EXPECT_EQ(Refusal({"--freq", "99"}),
            "hoshizora-cli: the frequency (Hz) must be a number from 100 to 2000.");
  EXPECT_NE(Refusal({"--out", (dir.path() / "none").string()}).find("no such folder"),
            std::string::npos);
}

// A batch without --seed takes one fresh seed and counts up from it; each
// folder's answer key holds the telegram of its seed.
TEST_F(PracticeCliTest, BatchOfFoldersWithTheirAnswerKeys) {
  ASSERT_EQ(Run({"--count", "2", "--groups", "--length", "20-30", "--out", out.string()}), 0)
      << stderr_.str();
  const fs::path first = out / "和文電報_20240131_090507";
  const fs::path second = out / "和文電報_20240131_090507_2";
  const fs::path first_key = first / "和文電報_20240131_090507_telegram.txt";
  const fs::path second_key = second / "和文電報_20240131_090507_2_telegram.txt";
  PracticeOptions options;
  options.mode = PracticeMode::kGroups;
  options.length = {20, 30};
  const TelegramFields made = MakePracticeTelegram(options, 7);
  const TelegramFields loaded = Load(system, first_key);
  EXPECT_EQ(loaded.count, made.count);
  EXPECT_EQ(loaded.station, made.station);
  EXPECT_EQ(loaded.number, made.number);
  EXPECT_EQ(loaded.time, made.time);
  EXPECT_EQ(loaded.addressee, made.addressee);
  EXPECT_EQ(loaded.body, made.body);
  EXPECT_EQ(Load(system, second_key).body, MakePracticeTelegram(options, 8).body);
  EXPECT_EQ(fresh_seeds_, 8u) << "one fresh seed for the whole batch";

  const std::string printed = Printed();
  EXPECT_TRUE(printed.starts_with("seed: 7\n")) << printed;
  EXPECT_NE(printed.find(first_key.string() + "\ncomplete: "), std::string::npos) << printed;
  EXPECT_NE(printed.find(" files in " + first.string() + " (seed 7)\n"), std::string::npos);
  EXPECT_NE(printed.find(" files in " + second.string() + " (seed 8)\n"), std::string::npos);
}

TEST_F(PracticeCliTest, RefusedOptionsWriteNothing) {
  EXPECT_EQ(Run({"--count", "2", "--length", "5-20", "--out", out.string()}), 2);
  EXPECT_EQ(Run({"--count", "2", "--cpm", "10", "--out", out.string()}), 2);
  EXPECT_TRUE(fs::is_empty(out));
  EXPECT_TRUE(Printed().empty()) << "not even the seed";
  EXPECT_EQ(fresh_seeds_, 7u);
}

// An answer key that cannot be written makes the run incomplete, and the
// batch stops there rather than leave more folders without keys.
TEST_F(PracticeCliTest, UnwritableAnswerKeyStopsTheBatch) {
  system.replace_fails_for = [](const fs::path& path) {
    return path.u8string().ends_with(u8"_telegram.txt");
  };
  EXPECT_EQ(Run({"--count", "3", "--seed", "42", "--out", out.string()}), 1);
  EXPECT_EQ(std::distance(fs::directory_iterator(out), fs::directory_iterator()), 1);
  EXPECT_NE(Printed().find(", 1 failed (seed 42)\n"), std::string::npos) << Printed();
  EXPECT_NE(stderr_.str().find("hoshizora-cli: stopped after 1 of 3 practice telegrams"),
            std::string::npos)
      << stderr_.str();
}

// --focus weak takes its weights from the history beside the settings once,
// before the batch; without a history the batch is the plain one.
TEST_F(PracticeCliTest, FocusWeakLeansOnTheHistoryAndIsPlainWithoutOne) {
  EXPECT_EQ(Refusal({"--focus", "strong"}), "hoshizora-cli: --focus needs 'weak'");
  PracticeOptions options;
  options.mode = PracticeMode::kGroups;
  const auto body_of_run = [&](const fs::path& folder) {
    fs::create_directories(folder);
    EXPECT_EQ(Run({"--groups", "--focus", "weak", "--seed", "3", "--out", folder.string()}), 0)
        << stderr_.str();
    const fs::path run = fs::directory_iterator(folder)->path();
    return Load(system, run / (run.filename().string() + "_telegram.txt")).body;
  };

  const std::u16string plain = body_of_run(out / "plain");
  EXPECT_EQ(plain, MakePracticeTelegram(options, 3).body);
  EXPECT_NE(Printed().find("seed: 3\nfocus: no practice history yet; plain practice\n"),
            std::string::npos)
      << Printed();

  HistoryRecord record;
  record.score = 60;
  record.characters = {{u"ア", {3, 3}}, {u"イ", {3, 0}}};
  ASSERT_EQ(AppendHistory(system, program / "history.csv", record).result,
            HistoryAppend::Result::kAppended);
  options.focus = {{u"ア", kPlainFocusWeight * kWeakestFocusFactor}};
  const std::u16string focused = body_of_run(out / "focused");
  EXPECT_EQ(focused, MakePracticeTelegram(options, 3).body);
  EXPECT_NE(focused, plain) << "the same seed, but leaning on ア";
  EXPECT_EQ(body_of_run(out / "again"), focused) << "the same seed and history, the same batch";
  EXPECT_NE(Printed().find("focus: weak characters ア (from 1 checks)\n"), std::string::npos)
      << Printed();
}

}  // namespace
}  // namespace hoshizora
