// hoshizora-cli run as a process, checked by the bytes it leaves behind.

#include <gtest/gtest.h>

#include <unistd.h>
#include "base/little_endian.h"
#include "cli/cli_copy.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <vector>

#include "audio/wav_writer.h"
#include "platform/paths.h"
#include "platform/posix/posix_system.h"
#include "practice/practice_telegram.h"
#include "support/program_run.h"
#include "support/temp_dir.h"
#include "telegram_file/telegram_file_commands.h"
#include "telegram_file/telegram_text_format.h"

namespace hoshizora {
namespace {

namespace fs = std::filesystem;
using testing::ReadFileBytes;
using testing::TempDir;
using testing::WriteFileBytes;

// Runs the command line here, as the test runs; no run may take longer than
// a minute: a hang is a failure too.
testing::ProgramRun Cli(const fs::path& cli, const std::vector<std::string>& args,
                        const std::string& input = "/dev/null") {
  const TempDir scratch;
  testing::ProgramStart start{.argv = {cli.string()}, .scratch = scratch.path(), .input = input};
  start.argv.insert(start.argv.end(), args.begin(), args.end());
  return testing::RunProgram(std::move(start));
}

std::vector<fs::path> Entries(const fs::path& dir) {
  std::vector<fs::path> out;
  for (const auto& e : fs::directory_iterator(dir)) {
    out.push_back(e.path());
  }
  std::sort(out.begin(), out.end());
  return out;
}

// Width and height from a JPEG's frame header.
std::pair<int, int> JpegSize(const std::string& b) {
  if (b.size() < 4 || static_cast<unsigned char>(b[0]) != 0xFF ||
      static_cast<unsigned char>(b[1]) != 0xD8) {
    return {0, 0};
  }
  std::size_t i = 2;
  while (i + 9 < b.size()) {
    const auto marker = static_cast<unsigned char>(b[i + 1]);
    const std::size_t length =
        (static_cast<unsigned char>(b[i + 2]) << 8) | static_cast<unsigned char>(b[i + 3]);
    if (marker >= 0xC0 && marker <= 0xC2) {
      const int h =
          (static_cast<unsigned char>(b[i + 5]) << 8) | static_cast<unsigned char>(b[i + 6]);
      const int w =
          (static_cast<unsigned char>(b[i + 7]) << 8) | static_cast<unsigned char>(b[i + 8]);
      return {w, h};
    }
    i += 2 + length;
  }
  return {0, 0};
}

// A program folder of the test's own: the command line, the form template and,
// when given, a stand-in encoder.
class CliProcessTest : public ::testing::Test {
 protected:
  CliProcessTest() {
    fs::create_directories(program);
    fs::create_directories(out);
    testing::CopyCliAndTemplate(cli, program);
    const TelegramFields fields{u"一二",
                                u"一 二,三",
                                u"第五号",
                                u"コ8,19",
                                u"ミドリケン」ハナシ」",
                                u"[ホレ]アイウエオ" + std::u16string(120, u'カ') + u"[ラタ]"};
    WriteFileBytes(telegram, SerializeTelegramText(fields));
  }
  void PlaceEncoder(const std::string& script) {
    WriteFileBytes(program / "lame", "#!/bin/sh\n" + script);
    fs::permissions(program / "lame", fs::perms::owner_all);
  }

  TempDir dir;
  fs::path program = dir.path() / "プログラム";
  fs::path cli = program / "hoshizora-cli";
  fs::path out = dir.path() / "出力 先";
  fs::path telegram = dir.path() / "telegraph.txt";
};

TEST_F(CliProcessTest, SampleTelegramWritesOneFolderOfFiles) {
  fs::create_symlink("/usr/bin/lame", program / "lame");
  const testing::ProgramRun run = Cli(cli, {"output", "--out", out.string()});
  ASSERT_EQ(run.status, 0) << run.out;
  const auto folders = Entries(out);
  ASSERT_EQ(folders.size(), 1u);
  const std::string name = folders[0].filename().string();
  EXPECT_TRUE(name.starts_with("和文電報_"));
  EXPECT_EQ(name.size(), std::string("和文電報_").size() + 15);
  const auto files = Entries(folders[0]);
  ASSERT_EQ(files.size(), 5u);
  EXPECT_EQ(files[0].filename(), name + ".jpg");
  EXPECT_EQ(files[1].filename(), name + ".mp3");
  EXPECT_EQ(files[2].filename(), name + "_1.jpg");
  EXPECT_EQ(files[4].filename(), name + "_3.jpg");
  EXPECT_EQ(JpegSize(ReadFileBytes(files[0])), std::make_pair(1280, 720));
  const auto form = JpegSize(ReadFileBytes(files[2]));
  EXPECT_GT(form.first, 600);
  EXPECT_GT(form.second, form.first);
  EXPECT_GT(fs::file_size(files[1]), 10000u);
  EXPECT_NE(run.out.find("complete: 5 files in "), std::string::npos);
  for (const auto& f : files) {
    EXPECT_NE(run.out.find(f.string() + "\n"), std::string::npos) << f;
  }
}

// The telegram keyed as its codes, spelled out here rather than computed by
// the chain under test.
constexpr std::u16string_view kKeyedCodes =
    u"-... .--. .---- ..--- ...-- -. .-. ..... "  // ハツ一二三 タナ五
    u" -..--- --.-- .-  ...-. ";                  // [ホレ]アイ[ラタ]

TEST_F(CliProcessTest, WavCarriesExactlyTheKeyedTelegram) {
  WriteFileBytes(telegram, SerializeTelegramText(
                               {u"", u"一 二,三", u"第五号", u"", u"", u"[ホレ]アイ[ラタ]"}));
  const testing::ProgramRun run = Cli(cli, {"output", telegram.string(), "--freq", "700", "--cpm",
                                            "１２０", "--out", out.string()});
  ASSERT_EQ(run.status, 0) << run.out;
  const fs::path folder = Entries(out).at(0);
  const std::string wav = ReadFileBytes(folder / (folder.filename().string() + ".wav"));
  PosixSystem system;
  const WavResult expected = WriteMorseWav(system, dir.path() / "expected", kKeyedCodes, 700, 120);
  ASSERT_EQ(wav.size(), 44 + 2 * expected.samples);
  EXPECT_EQ(ReadLe(wav, 40, 4), 2 * expected.samples);
  EXPECT_EQ(ReadLe(wav, 4, 4), 36 + 2 * expected.samples);
  EXPECT_TRUE(wav == ReadFileBytes(dir.path() / "expected.wav"));
  EXPECT_EQ(Entries(folder).size(), 1u + 1u + 1u) << "WAV, listing and one form page";
}

TEST_F(CliProcessTest, KeyingFlagsShapeTheWav) {
  WriteFileBytes(telegram, SerializeTelegramText(
                               {u"", u"一 二,三", u"第五号", u"", u"", u"[ホレ]アイ[ラタ]"}));
  const testing::ProgramRun run =
      Cli(cli, {"output", telegram.string(), "--freq", "700", "--cpm", "120", "--rise-ms", "5",
                "--effective-cpm", "60", "--out", out.string()});
  ASSERT_EQ(run.status, 0) << run.out;
  const fs::path folder = Entries(out).at(0);
  const std::string wav = ReadFileBytes(folder / (folder.filename().string() + ".wav"));
  PosixSystem system;
  const KeyingOptions keying{.rise_ms = 5, .effective_cpm = 60};
  WriteMorseWav(system, dir.path() / "shaped", kKeyedCodes, 700, 120, {}, keying);
  WriteMorseWav(system, dir.path() / "plain", kKeyedCodes, 700, 120);
  EXPECT_TRUE(wav == ReadFileBytes(dir.path() / "shaped.wav"));
  EXPECT_GT(wav.size(), ReadFileBytes(dir.path() / "plain.wav").size()) << "wider gaps";
}

TEST_F(CliProcessTest, SecondRunNeverOverwritesTheFirst) {
  ASSERT_EQ(Cli(cli, {"output", telegram.string(), "--out", out.string()}).status, 0);
  ASSERT_EQ(Cli(cli, {"output", telegram.string(), "--out", out.string()}).status, 0);
  const auto folders = Entries(out);
  ASSERT_EQ(folders.size(), 2u);
  for (const auto& folder : folders) {
    EXPECT_EQ(Entries(folder).size(), 5u) << folder;
  }
}

TEST_F(CliProcessTest, BadArgumentsWriteNothing) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"output", "--freq", "5000", "--out", out.string()},
        {"output", "--cpm", "abc", "--out", out.string()},
        {"output", "--freq", "1,500", "--out", out.string()},
        {"output", "--rise-ms", "21", "--out", out.string()},
        {"output", "--cpm", "60", "--effective-cpm", "61", "--out", out.string()},
        {"output", "--cpm"},
        {"output", "--bogus"},
        {"output", (dir.path() / "missing.txt").string()},
        {"nothing"}}) {
    EXPECT_EQ(Cli(cli, args).status, 2) << args.back();
  }
  EXPECT_TRUE(Entries(out).empty());
}

TEST_F(CliProcessTest, FailingEncoderKeepsTheWavAndExitsOne) {
  PlaceEncoder("exit 1\n");
  const testing::ProgramRun run = Cli(cli, {"output", telegram.string(), "--out", out.string()});
  EXPECT_EQ(run.status, 1);
  const fs::path folder = Entries(out).at(0);
  EXPECT_TRUE(fs::exists(folder / (folder.filename().string() + ".wav")));
  EXPECT_NE(run.out.find("incomplete:"), std::string::npos);
}

// A body longer than the field reads is keyed cut, and the run says so and
// fails: the tail of the telegram is missing from every file.
TEST_F(CliProcessTest, CutBodyIsIncompleteAndSaysWhatItDropped) {
  // Kanji have no code, so the audio stays short.
  WriteFileBytes(telegram,
                 SerializeTelegramText(
                     {u"", u"", u"", u"", u"", u"[ホレ]アイ[ラタ]" + std::u16string(4990, u'漢')}));
  const testing::ProgramRun run = testing::RunProgram(
      {cli.string(), "output", telegram.string(), "--out", out.string(), "--quiet"},
      {"PATH=/usr/bin:/bin", "LANG=ja_JP.UTF-8", "HOME=" + dir.path().string()}, dir.path(),
      dir.path());
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find(
                "本文が長すぎるため、先頭の4095文字だけを使い、残りの905文字は使いませんでした。"),
            std::string::npos)
      << run.err;
  EXPECT_NE(run.out.find("未完了: 3 個のファイルを "), std::string::npos) << run.out;
}

// Settings the program cannot read are said once, on stderr, and left alone;
// the runs go on at the defaults. Root reads a file of mode 000, so there
// only a folder in the settings file's place is tried.
TEST_F(CliProcessTest, UnreadableSettingsAreSaidOnceAndLeftAlone) {
  const fs::path settings = program / "settings.ini";
  const std::string said = "設定ファイルを読み込めなかったため、既定の設定を使います";
  std::vector<std::string> kinds{"folder"};
  if (geteuid() != 0) {
    kinds.push_back("mode 000");
  } else {
    std::cout << "[   NOTE   ] run as root: a settings file of mode 000 was not tried\n";
  }
  for (const std::string& kind : kinds) {
    SCOPED_TRACE(kind);
    if (kind == "folder") {
      fs::create_directory(settings);
    } else {
      WriteFileBytes(settings, "[General]\nCpm=150\n");
      fs::permissions(settings, fs::perms::none);
    }
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"output", "--quiet"},
          {"practice", "--count", "2", "--length", "10-10", "--groups"}}) {
      std::vector<std::string> argv{cli.string()};
      argv.insert(argv.end(), args.begin(), args.end());
      argv.insert(argv.end(), {"--out", out.string()});
      const testing::ProgramRun run = testing::RunProgram(
          argv, {"PATH=/usr/bin:/bin", "LANG=ja_JP.UTF-8", "HOME=" + dir.path().string()},
          dir.path(), dir.path());
      EXPECT_EQ(run.status, 0) << run.err;
      const std::size_t first = run.err.find(said);
      EXPECT_NE(first, std::string::npos) << run.err;
      EXPECT_EQ(run.err.find(said, first + 1), std::string::npos) << "said once: " << run.err;
    }
    if (kind == "folder") {
      EXPECT_TRUE(fs::is_empty(settings));
      fs::remove(settings);
    } else {
      fs::permissions(settings, fs::perms::owner_read);
      EXPECT_EQ(ReadFileBytes(settings), "[General]\nCpm=150\n");
    }
  }
}

// --out must name a folder that is there; anything else is a bad argument.
TEST_F(CliProcessTest, OutThatIsNoFolderIsABadArgument) {
  WriteFileBytes(dir.path() / "file", "x");
  for (const std::string& bad :
       {std::string(), (dir.path() / "file").string(), (dir.path() / "missing").string()}) {
    EXPECT_EQ(Cli(cli, {"output", "--out", bad}).status, 2) << bad;
  }
  EXPECT_TRUE(Entries(out).empty());
  EXPECT_EQ(Entries(dir.path()).size(), 4u) << "nothing made beside them either";
}

// Side files and input that are folders, FIFOs or endless devices neither stop
// nor stall the command line.
TEST_F(CliProcessTest, StrangeSideFilesAndInputNeitherAbortNorHang) {
  fs::create_directory(program / "settings.ini");
  EXPECT_EQ(Cli(cli, {"output", telegram.string(), "--out", out.string()}).status, 0);
  fs::remove(program / "settings.ini");
  fs::create_symlink("/dev/zero", program / "settings.ini");
  EXPECT_EQ(Cli(cli, {"output", telegram.string(), "--out", out.string()}).status, 0);

  const fs::path fifo = dir.path() / "fifo";
  PosixSystem system;
  ASSERT_EQ(system.RunProcess({"/usr/bin/mkfifo", fifo}, nullptr).exit_code, 0);
  EXPECT_EQ(Cli(cli, {"output", fifo.string(), "--out", out.string()}).status, 2);
  EXPECT_EQ(Cli(cli, {"output", "/dev/zero", "--out", out.string()}).status, 2);
  EXPECT_EQ(Cli(cli, {"encode"}, dir.path().string()).status, 2) << "stdin is a folder";
  EXPECT_EQ(Cli(cli, {"encode"}, "/dev/zero").status, 2) << "stdin never ends";
  EXPECT_EQ(Entries(out).size(), 2u);
}

// Shift_JIS folder names, as an unzipped Windows archive leaves them: the
// program folder's side files and --out are used by their bytes.
TEST_F(CliProcessTest, FolderNamesThatAreNotUtf8) {
  const fs::path sjis = dir.path() / "\x93\x64\x95\xf1";
  fs::rename(program, sjis);
  WriteFileBytes(sjis / "settings.ini", "[General]\nFreqHz=700\nCpm=120\n");
  WriteFileBytes(telegram, SerializeTelegramText(
                               {u"", u"一 二,三", u"第五号", u"", u"", u"[ホレ]アイ[ラタ]"}));
  const fs::path target = sjis / "\x8f\x6f";  // 出 in Shift_JIS
  fs::create_directory(target);
  const testing::ProgramRun run =
      Cli(sjis / "hoshizora-cli", {"output", telegram.string(), "--out", target.string()});
  ASSERT_EQ(run.status, 0) << run.out;
  const fs::path folder = Entries(target).at(0);
  EXPECT_EQ(Entries(folder).size(), 3u) << "the form template was found";
  PosixSystem system;
  WriteMorseWav(system, dir.path() / "expected", kKeyedCodes, 700, 120);
  EXPECT_TRUE(ReadFileBytes(folder / (folder.filename().string() + ".wav")) ==
              ReadFileBytes(dir.path() / "expected.wav"))
      << "the settings were read";
  EXPECT_NE(run.out.find(folder.native() + "\n"), std::string::npos) << "printed as its bytes";
}

// The folders a practice batch printed, each with the seed it says it used:
// "complete: N files in FOLDER (seed S)".
std::vector<std::pair<fs::path, std::uint64_t>> PracticeFolders(const std::string& printed) {
  std::vector<std::pair<fs::path, std::uint64_t>> folders;
  const std::string in = " files in ";
  const std::string seed = " (seed ";
  for (std::size_t at = 0; (at = printed.find("complete: ", at)) != std::string::npos;) {
    const std::size_t folder = printed.find(in, at) + in.size();
    const std::size_t end = printed.find(seed, folder);
    folders.emplace_back(printed.substr(folder, end - folder),
                         std::stoull(printed.substr(end + seed.size())));
    at = end;
  }
  return folders;
}

// Each folder of a batch is a whole output run plus its answer key, which
// loads back into the telegram of the seed it was made from.
TEST_F(CliProcessTest, PracticeBatchOfThreeWithAnswerKeys) {
  const testing::ProgramRun run =
      Cli(cli, {"practice", "--count", "3", "--seed", "42", "--out", out.string()});
  ASSERT_EQ(run.status, 0) << run.out;
  EXPECT_TRUE(run.out.starts_with("seed: 42\n")) << run.out;
  const auto folders = PracticeFolders(run.out);
  ASSERT_EQ(folders.size(), 3u) << run.out;
  EXPECT_EQ(Entries(out).size(), 3u);
  PosixSystem system;
  for (std::size_t i = 0; i < folders.size(); ++i) {
    const auto& [folder, seed] = folders[i];
    SCOPED_TRACE(folder.string());
    EXPECT_EQ(seed, 42 + i);
    EXPECT_EQ(folder.parent_path(), out);
    const std::string name = folder.filename().string();
    EXPECT_TRUE(fs::exists(folder / (name + ".wav")) || fs::exists(folder / (name + ".mp3")));
    EXPECT_EQ(JpegSize(ReadFileBytes(folder / (name + ".jpg"))), std::make_pair(1280, 720));
    const auto form = JpegSize(ReadFileBytes(folder / (name + "_1.jpg")));
    EXPECT_GT(form.second, form.first) << "a form page";
    const TelegramFileRead key = LoadTelegramFile(system, folder / (name + "_telegram.txt"));
    ASSERT_EQ(key.status, FileRead::Status::kRead);
    const TelegramFields made = MakePracticeTelegram({}, seed);
    EXPECT_EQ(key.fields.count, made.count);
    EXPECT_EQ(key.fields.station, made.station);
    EXPECT_EQ(key.fields.number, made.number);
    EXPECT_EQ(key.fields.time, made.time);
    EXPECT_EQ(key.fields.addressee, made.addressee);
    EXPECT_EQ(key.fields.body, made.body);
  }
  EXPECT_NE(folders[0].first, folders[1].first);

  // The same seeds again give the same keys, byte for byte.
  const fs::path again = dir.path() / "again";
  fs::create_directory(again);
  const testing::ProgramRun second =
      Cli(cli, {"practice", "--count", "2", "--seed", "43", "--out", again.string()});
  ASSERT_EQ(second.status, 0) << second.out;
  const auto repeated = PracticeFolders(second.out);
  ASSERT_EQ(repeated.size(), 2u);
  for (std::size_t i = 0; i < repeated.size(); ++i) {
    const auto key = [](const fs::path& folder) {
      return ReadFileBytes(folder / (folder.filename().string() + "_telegram.txt"));
    };
    EXPECT_EQ(repeated[i].second, folders[i + 1].second);
    EXPECT_EQ(key(repeated[i].first), key(folders[i + 1].first));
  }
}

TEST_F(CliProcessTest, PracticeBadOptionsWriteNothing) {
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"practice", "--count", "0", "--out", out.string()},
        {"practice", "--length", "5-60", "--out", out.string()},
        {"practice", "--chars", "アイ", "--out", out.string()},
        {"practice", "--groups", "--chars", "ア。", "--out", out.string()},
        {"practice", "--seed", "-1", "--out", out.string()},
        {"practice", "--freq", "5000", "--out", out.string()},
        {"practice", "--out", (dir.path() / "missing").string()}}) {
    const testing::ProgramRun run = Cli(cli, args);
    EXPECT_EQ(run.status, 2) << args[1];
    EXPECT_EQ(run.out, "") << args[1];
  }
  EXPECT_TRUE(Entries(out).empty());
}

// A small tmpfs as the output folder, so that the disk fills up part way
// through a run. Only root may mount one; elsewhere the test says so and is
// skipped.
class CliFullDiskTest : public CliProcessTest {
 protected:
  ~CliFullDiskTest() override {
    if (mounted_) {
      system_.RunProcess({"/usr/bin/umount", "-l", disk}, nullptr);
    }
  }

  // Mounts a fresh tmpfs of `bytes` at `disk`; false when that is not allowed here.
  bool MountDisk(std::uintmax_t bytes) {
    if (mounted_) {
      system_.RunProcess({"/usr/bin/umount", "-l", disk}, nullptr);
      mounted_ = false;
    }
    fs::create_directories(disk);
    const ProcessResult r = system_.RunProcess(
        {"/usr/bin/mount", "-t", "tmpfs", "-o", "size=" + std::to_string(bytes), "tmpfs", disk},
        nullptr);
    mounted_ = r.kind == ProcessResult::Kind::kExited && r.exit_code == 0;
    return mounted_;
  }

  // What a run on a full disk may leave: only files it printed, each whole (a
  // WAV whose header counts its data, a JPEG that ends), nothing hidden.
  void ExpectOnlyWholeListedFiles(const testing::ProgramRun& run) {
    for (const auto& e : fs::recursive_directory_iterator(disk)) {
      if (!e.is_regular_file()) {
        continue;
      }
      const fs::path file = e.path();
      SCOPED_TRACE(file.string());
      EXPECT_FALSE(file.filename().string().starts_with(".")) << "a hidden leftover";
      EXPECT_NE(run.out.find(file.string() + "\n"), std::string::npos) << "not listed";
      const std::string bytes = ReadFileBytes(file);
      if (file.extension() == ".wav") {
        ASSERT_GE(bytes.size(), 44u);
        EXPECT_EQ(ReadLe(bytes, 40, 4), bytes.size() - 44) << "the header lies";
      } else if (file.extension() == ".jpg") {
        EXPECT_TRUE(bytes.ends_with("\xFF\xD9")) << "a cut picture";
      } else {
        ADD_FAILURE() << "unexpected file";
      }
    }
  }

  // The bytes of every file a run wrote into a folder of `out`, in 4 KiB pages.
  static std::uintmax_t PagesOf(const fs::path& folder, const std::string& extension) {
    std::uintmax_t total = 0;
    for (const auto& e : fs::directory_iterator(folder)) {
      if (e.path().extension() == extension) {
        total += (fs::file_size(e.path()) + 4095) / 4096 * 4096;
      }
    }
    return total;
  }

  PosixSystem system_;
  fs::path disk = dir.path() / "disk";
  bool mounted_ = false;
};

TEST_F(CliFullDiskTest, AFullDiskNeverLeavesAPartFileOrLosesTheWav) {
  if (!MountDisk(64 * 1024)) {
    GTEST_SKIP() << "cannot mount a tmpfs here (needs root); the full-disk case was not run";
  }
  // The sizes of a whole run: WAV and pictures without an encoder, then the MP3.
  ASSERT_EQ(Cli(cli, {"output", telegram.string(), "--out", out.string()}).status, 0);
  const fs::path plain = Entries(out).at(0);
  fs::create_symlink("/usr/bin/lame", program / "lame");
  ASSERT_EQ(Cli(cli, {"output", telegram.string(), "--out", out.string()}).status, 0);
  const fs::path encoded = Entries(out).at(1);
  const std::uintmax_t wav = PagesOf(plain, ".wav");
  const std::uintmax_t jpegs = PagesOf(plain, ".jpg");
  const std::uintmax_t mp3 = PagesOf(encoded, ".mp3");
  ASSERT_GT(mp3, 16 * 1024u);

  // Room for the WAV and the pictures, not for the MP3 besides: the WAV stays.
  ASSERT_TRUE(MountDisk(wav + jpegs + mp3 / 2));
  testing::ProgramRun run = Cli(cli, {"output", telegram.string(), "--out", disk.string()});
  EXPECT_EQ(run.status, 1) << run.out;
  ExpectOnlyWholeListedFiles(run);
  const auto folders = Entries(disk);
  ASSERT_EQ(folders.size(), 1u);
  EXPECT_TRUE(fs::exists(folders[0] / (folders[0].filename().string() + ".wav")));

  // Room for half the WAV: whatever fails, nothing broken is left.
  for (const std::uintmax_t room : {jpegs + wav / 2, wav / 2, std::uintmax_t{64 * 1024}}) {
    SCOPED_TRACE(room);
    ASSERT_TRUE(MountDisk(room));
    run = Cli(cli, {"output", telegram.string(), "--out", disk.string()});
    EXPECT_EQ(run.status, 1) << run.out;
    ExpectOnlyWholeListedFiles(run);
  }
}

TEST_F(CliProcessTest, VersionAndHelp) {
  EXPECT_EQ(Cli(cli, {"--version"}).out, "hoshizora-cli 0.1.0\n");
  const std::string help = Cli(cli, {"--help"}).out;
  EXPECT_NE(help.find("output [TELEGRAM.txt]"), std::string::npos);
  EXPECT_NE(help.find("practice [--count N]"), std::string::npos);
}

}  // namespace
}  // namespace hoshizora
