// hoshizora-cli with an encoder that harms the WAV it is given, on a file
// system without hard links (a preloaded library refuses them): the WAV
// comes through whole, and only a whole WAV is named.

#include <gtest/gtest.h>

#include <filesystem>

#include "cli/cli_copy.h"
#include "support/program_run.h"
#include "support/temp_dir.h"
#include "telegram_file/telegram_text_format.h"

namespace hoshizora {
namespace {

namespace fs = std::filesystem;
using testing::ReadFileBytes;
using testing::WriteFileBytes;

class CliEncoderGuardTest : public ::testing::Test {
 protected:
  CliEncoderGuardTest() {
    fs::create_directories(program);
    testing::CopyCliAndTemplate(program / "hoshizora-cli", program);
    WriteFileBytes(telegram, SerializeTelegramText(
                                 {u"", u"一 二,三", u"第五号", u"", u"", u"[ホレ]アイ[ラタ]"}));
  }

  // Runs `output` into a new folder under `out` with hard links refused.
  testing::ProgramRun Output(const fs::path& out) {
    fs::create_directories(out);
    return testing::RunProgram(
        {(program / "hoshizora-cli").string(), "output", telegram.string(), "--out", out.string()},
        // A sanitizer build would refuse a preloaded library that comes before
        // its runtime; the shim only wraps two calls, so the order is harmless.
        {"PATH=/usr/bin:/bin", "LANG=ja_JP.UTF-8", "LD_PRELOAD=" HOSHIZORA_LINK_REFUSING_SHIM,
         "ASAN_OPTIONS=verify_asan_link_order=0"},
        dir.path(), dir.path());
  }

  testing::TempDir dir;
  fs::path program = dir.path() / "program";
  fs::path telegram = dir.path() / "t.txt";
  fs::path given = dir.path() / "given.wav";
};

TEST_F(CliEncoderGuardTest, TheShimRefusesHardLinks) {
  WriteFileBytes(dir.path() / "a", "a");
  const auto run =
      testing::RunProgram({"/bin/ln", (dir.path() / "a").string(), (dir.path() / "b").string()},
                          {"LD_PRELOAD=" HOSHIZORA_LINK_REFUSING_SHIM}, dir.path(), dir.path());
  EXPECT_NE(run.status, 0);
  EXPECT_FALSE(fs::exists(dir.path() / "b"));
}

TEST_F(CliEncoderGuardTest, AnEncoderThatHarmsTheWavNeverCostsIt) {
  const char* const harms[] = {
      "rm \"$1\"",
      ": > \"$1\"",
      "truncate -s $(( $(stat -c %s \"$1\") / 2 )) \"$1\"",
  };
  int n = 0;
  for (const char* harm : harms) {
    SCOPED_TRACE(harm);
    // The encoder keeps a copy of what it was given, then harms it and fails.
    WriteFileBytes(program / "lame",
                   "#!/bin/sh\ncp \"$1\" '" + given.string() + "'\n" + harm + "\nexit 1\n");
    fs::permissions(program / "lame", fs::perms::owner_all);
    const fs::path out = dir.path() / ("out" + std::to_string(n++));
    const testing::ProgramRun run = Output(out);
    EXPECT_EQ(run.status, 1) << run.err;
    ASSERT_EQ(std::distance(fs::directory_iterator(out), fs::directory_iterator()), 1);
    const fs::path folder = fs::directory_iterator(out)->path();
    const fs::path wav = folder / (folder.filename().string() + ".wav");
    ASSERT_TRUE(fs::exists(wav));
    EXPECT_TRUE(ReadFileBytes(wav) == ReadFileBytes(given)) << "the WAV is not the one written";
    EXPECT_NE(run.out.find(wav.string() + "\n"), std::string::npos) << run.out;
    EXPECT_NE(run.err.find("WAVファイルを残しました"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("WAVファイルも残っていません"), std::string::npos) << run.err;
    for (const auto& e : fs::directory_iterator(folder)) {
      EXPECT_NE(e.path().filename().string().front(), '.') << "a guard copy was left";
    }
  }
}

}  // namespace
}  // namespace hoshizora
