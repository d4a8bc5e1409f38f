// hoshizora-cli installed under a prefix it may not write to, as a package
// puts it: run as a process with a home of the test's own.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "audio/wav_writer.h"
#include "cli/cli_copy.h"
#include "platform/posix/posix_system.h"
#include "support/program_run.h"
#include "support/temp_dir.h"
#include "telegram_file/telegram_text_format.h"

namespace hoshizora {
namespace {

namespace fs = std::filesystem;
using testing::ProgramRun;

// Every path under `root` with its size and time: what a write would change.
std::map<fs::path, std::pair<std::uintmax_t, fs::file_time_type>> Snapshot(const fs::path& root) {
  std::map<fs::path, std::pair<std::uintmax_t, fs::file_time_type>> all;
  for (const auto& e : fs::recursive_directory_iterator(root)) {
    all[e.path()] = {e.is_regular_file() ? e.file_size() : 0, e.last_write_time()};
  }
  return all;
}

std::vector<fs::path> Entries(const fs::path& dir) {
  std::vector<fs::path> out;
  for (const auto& e : fs::directory_iterator(dir)) {
    out.push_back(e.path());
  }
  std::sort(out.begin(), out.end());
  return out;
}

// <prefix>/bin holds the programs and the encoder, <prefix>/share/hoshizora
// the template; the user works in a folder of their own.
class CliInstalledTest : public ::testing::Test {
 protected:
  CliInstalledTest() {
    fs::create_directories(bin);
    fs::create_directories(share);
    fs::create_directories(work);
    fs::create_directories(config / "hoshizora");
    testing::CopyCliAndTemplate(bin / "hoshizora-cli", share);
    // Keeps a copy of the WAV it was given, then makes a real MP3 (a copy of
    // the WAV would not pass for one).
    testing::WriteFileBytes(bin / "lame", "#!/bin/sh\ncp \"$1\" '" + given.string() +
                                              "'\nexec /usr/bin/lame --quiet \"$1\" \"$2\"\n");
    fs::permissions(bin / "lame", fs::perms::owner_all);
    testing::WriteFileBytes(telegram, SerializeTelegramText({u"", u"一 二,三", u"第五号", u"", u"",
                                                             u"[ホレ]アイ[ラタ]"}));
  }
  ProgramRun Cli(const std::vector<std::string>& args) {
    std::vector<std::string> argv{(bin / "hoshizora-cli").string()};
    argv.insert(argv.end(), args.begin(), args.end());
    return testing::RunProgram(argv,
                               {"PATH=/usr/bin:/bin", "LANG=C.UTF-8", "HOME=" + home.string(),
                                "XDG_CONFIG_HOME=" + config.string()},
                               work, dir.path());
  }

  testing::TempDir dir;
  fs::path prefix = dir.path() / "usr";
  fs::path bin = prefix / "bin";
  fs::path share = prefix / "share" / "hoshizora";
  fs::path home = dir.path() / "home";
  fs::path config = home / "cfg";
  fs::path work = dir.path() / "work";
  fs::path telegram = dir.path() / "t.txt";
  fs::path given = dir.path() / "given.wav";
};

TEST_F(CliInstalledTest, WritesIntoTheCurrentFolderWithTheUsersSettings) {
  testing::WriteFileBytes(config / "hoshizora" / "settings.ini",
                          "[General]\nFreqHz=700\nCpm=120\n");
  const auto before = Snapshot(prefix);
  const ProgramRun run = Cli({"output", telegram.string()});
  ASSERT_EQ(run.status, 0) << run.err;

  const auto folders = Entries(work);
  ASSERT_EQ(folders.size(), 1u);
  const fs::path folder = folders[0];
  const std::string name = folder.filename().string();
  EXPECT_EQ(Entries(folder),
            (std::vector<fs::path>{folder / (name + ".jpg"), folder / (name + ".mp3"),
                                   folder / (name + "_1.jpg")}))
      << "the encoder beside the executable and the template under share/ were found";
  EXPECT_NE(run.out.find("complete: 3 files in " + folder.string() + "\n"), std::string::npos)
      << run.out;

  PosixSystem system;
  WriteMorseWav(system, dir.path() / "expected",
                u"-... .--. .---- ..--- ...-- -. .-. ..... "
                u" -..--- --.-- .-  ...-. ",
                700, 120);
  // The stand-in encoder kept a copy of the WAV it was given.
  EXPECT_TRUE(testing::ReadFileBytes(given) == testing::ReadFileBytes(dir.path() / "expected.wav"))
      << "700 Hz at 120 characters a minute, from the config folder";
  EXPECT_EQ(Snapshot(prefix), before) << "nothing written under the prefix";
}

TEST_F(CliInstalledTest, OutStillChoosesTheFolderAndNothingIsSaved) {
  const fs::path elsewhere = dir.path() / "elsewhere";
  fs::create_directories(elsewhere);
  const ProgramRun run = Cli({"output", telegram.string(), "--out", elsewhere.string(), "--quiet"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(Entries(work).empty());
  ASSERT_EQ(Entries(elsewhere).size(), 1u);
  EXPECT_FALSE(fs::exists(config / "hoshizora" / "settings.ini")) << "the command line never saves";
  EXPECT_FALSE(fs::exists(bin / "settings.ini"));
}

}  // namespace
}  // namespace hoshizora
