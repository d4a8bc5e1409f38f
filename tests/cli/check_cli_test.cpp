// hoshizora-cli check run as a process: what it prints, and what it writes.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/cli_copy.h"
#include "support/program_run.h"
#include "support/temp_dir.h"
#include "telegram_file/telegram_text_format.h"

namespace hoshizora {
namespace {

namespace fs = std::filesystem;
using testing::ProgramRun;

class CheckCliTest : public ::testing::Test {
 protected:
  CheckCliTest() {
    fs::create_directories(program);
    fs::create_directories(work);
    fs::create_directories(scratch);
    testing::CopyCliAndTemplate(program / "hoshizora-cli", program);
    testing::WriteFileBytes(work / "key.txt",
                            SerializeTelegramText({u"九", u"七〇", u"五九", u"コ1", u"ミドリ」",
                                                   u"[ホレ]アイウエオカキクケ[ラタ]"}));
    // 2 substitutions, カ left out, サ added.
    testing::WriteFileBytes(work / "copy.txt", "アケウコオキクケサ\n");
  }
  ProgramRun Check(const std::vector<std::string>& args) {
    std::vector<std::string> argv{(program / "hoshizora-cli").string(), "check"};
    argv.insert(argv.end(), args.begin(), args.end());
    return testing::RunProgram(
        argv, {"PATH=/usr/bin:/bin", "LANG=C.UTF-8", "HOME=" + home.string()}, work, scratch);
  }
  std::vector<fs::path> WorkFiles() const {
    std::vector<fs::path> files;
    for (const auto& e : fs::directory_iterator(work)) {
      files.push_back(e.path().filename());
    }
    std::sort(files.begin(), files.end());
    return files;
  }

  testing::TempDir dir;
  fs::path program = dir.path() / "program";
  fs::path work = dir.path() / "work";
  fs::path scratch = dir.path() / "scratch";
  fs::path home = dir.path();
};

TEST_F(CheckCliTest, JsonHasEveryErrorTheSchemeOfTheSettingsAndThePages) {
  testing::WriteFileBytes(program / "settings.ini", "[Check]\nSubstitution=2\nPassMark=97\n");
  const ProgramRun run = Check({"key.txt", "copy.txt", "--json"});
  ASSERT_EQ(run.status, 0) << run.err;
  const fs::path page = work / "key_採点_1.jpg";
  EXPECT_EQ(run.out,
            "{\"score\": 94, \"pass\": false, \"pass_mark\": 97, \"substitutions\": 2, "
            "\"omissions\": 1, \"insertions\": 1, \"errors\": ["
            "{\"kind\": \"substitution\", \"field\": \"body\", \"position\": 1, "
            "\"expected\": \"イ\", \"got\": \"ケ\"}, "
            "{\"kind\": \"substitution\", \"field\": \"body\", \"position\": 3, "
            "\"expected\": \"エ\", \"got\": \"コ\"}, "
            "{\"kind\": \"omission\", \"field\": \"body\", \"position\": 5, "
            "\"expected\": \"カ\", \"got\": \"\"}, "
            "{\"kind\": \"insertion\", \"field\": \"body\", \"position\": 9, "
            "\"expected\": \"\", \"got\": \"サ\"}], "
            "\"pictures\": [\"" +
                page.string() + "\"]}\n");
  EXPECT_TRUE(testing::ReadFileBytes(page).starts_with("\xFF\xD8\xFF"));
}

TEST_F(CheckCliTest, TextReportReadsTheCopyFromStandardInput) {
  // Standard input is empty: every character of the body is left out.
  const ProgramRun run = Check({"key.txt", "--out", scratch.string()});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(
      run.out.starts_with("score: 91/100, pass (80)\n"
                          "0 substitutions, 9 omissions, 0 insertions\n"))
      << run.out;
  EXPECT_NE(run.out.find("body 1: ア left out (omission)\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find((scratch / "key_採点_1.jpg").string() + "\n"), std::string::npos);
  EXPECT_TRUE(fs::exists(scratch / "key_採点_1.jpg"));
}

TEST_F(CheckCliTest, BadInputExitsTwoAndWritesNothing) {
  testing::WriteFileBytes(work / "tagless.txt", "アイウ\n");
  testing::WriteFileBytes(work / "latin1.txt", "\xB1\xB2\n");
  testing::WriteFileBytes(work / "large.txt", std::string(1024 * 1024 + 1, 'a'));
  const std::vector<fs::path> before = WorkFiles();
  const std::vector<std::vector<std::string>> refused = {
      {},
      {"missing.txt", "copy.txt"},
      {"tagless.txt", "copy.txt"},
      {"key.txt", "latin1.txt"},
      {"key.txt", "large.txt"},
      {"key.txt", "missing.txt"},
      {"key.txt", "copy.txt", "--out", "nowhere"},
      {"key.txt", "copy.txt", "--colour"},
      {"key.txt", "copy.txt", "extra"},
  };
  for (const auto& args : refused) {
    const ProgramRun run = Check(args);
    const std::string what = args.empty() ? "(none)" : args.back();
    EXPECT_EQ(run.status, 2) << what;
    EXPECT_EQ(run.out, "") << what;
    EXPECT_TRUE(run.err.starts_with("hoshizora-cli: ")) << what << ": " << run.err;
  }
  EXPECT_EQ(WorkFiles(), before);

  const ProgramRun help = Check({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(help.out.starts_with("Usage: hoshizora-cli check KEY.txt")) << help.out;
}

}  // namespace
}  // namespace hoshizora
