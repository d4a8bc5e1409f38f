#include "audio/telegram_audio.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <thread>

#include "platform/paths.h"
#include "support/temp_dir.h"
#include "support/test_system.h"

namespace hoshizora {
namespace {

namespace fs = std::filesystem;
using testing::ReadFileBytes;
using testing::TempDir;
using testing::TestSystem;
using testing::WriteFileBytes;
using Kind = AudioOutcome::Kind;

// Whether a process still runs (a zombie has ended: only its parent's reaping is left).
bool Running(const std::string& pid) {
  const std::string stat = ReadFileBytes(fs::path("/proc") / pid / "stat");
  const std::size_t paren = stat.rfind(')');
  return paren != std::string::npos && paren + 2 < stat.size() && stat[paren + 2] != 'Z';
}

// MPEG-1 Layer III frames (64 kbps, 44.1 kHz, mono, 208 bytes, 1152 samples
// each), enough to cover `samples`: what a real encoder's output looks like
// to the whole-MP3 check.
std::string Mp3Frames(std::uint64_t samples) {
  std::string frame(208, '\0');
  frame.replace(0, 4, "\xFF\xFB\x50\xC4");
  std::string s;
  for (std::uint64_t n = 0; n < samples / 1152 + 2; ++n) {
    s += frame;
  }
  return s;
}

// An executable folder (with Japanese characters and a blank in its name) and
// an output base path inside it.
class TelegramAudioTest : public ::testing::Test {
 protected:
  TelegramAudioTest()
      : program(dir.path() / "プログラム $dir \"q\""),
        system(program / "hoshizora"),
        base(program / "和文電報_1 x" / "和文電報_1 x") {
    fs::create_directories(program / "和文電報_1 x");
  }

  void PlaceEncoder(const std::string& script, fs::perms perms = fs::perms::owner_all) {
    WriteFileBytes(program / "lame", "#!/bin/sh\n" + script);
    fs::permissions(program / "lame", perms);
  }

  AudioOutcome Run(const CancelFlag* cancel = nullptr) {
    return WriteTelegramAudio(system, {kCode, 800, kSpeed, base, program}, cancel);
  }

  // Runs with a cancel that comes after `delay`.
  AudioOutcome RunCancelledAfter(std::chrono::milliseconds delay) {
    CancelFlag cancel{false};
    std::thread canceller([&] {
      std::this_thread::sleep_for(delay);
      cancel = true;
    });
    const AudioOutcome o = Run(&cancel);
    canceller.join();
    return o;
  }

  // A whole MP3 of the run's audio, for stand-ins to copy: "$good".
  std::string GoodMp3() {
    PosixSystem real;
    const WavResult wav = WriteMorseWav(real, dir.path() / "reference", kCode, 800, kSpeed);
    EXPECT_EQ(wav.status, WavStatus::kWritten);
    const std::string mp3 = Mp3Frames(wav.samples);
    WriteFileBytes(dir.path() / "good.mp3", mp3);
    return mp3;
  }

  // The stand-in encoder's script, with $good naming a whole MP3 to copy.
  void PlaceStandIn(const std::string& script) {
    GoodMp3();
    PlaceEncoder("good='" + (dir.path() / "good.mp3").string() + "'\n" + script);
  }

  // After a failure: the WAV is the result, nothing the encoder wrote and no
  // helper file is left.
  void ExpectOnlyTheWav(const AudioOutcome& o) {
    EXPECT_EQ(o.audio_path, Wav());
    EXPECT_TRUE(fs::exists(Wav()));
    EXPECT_EQ(fs::exists(Wav()) ? fs::file_size(Wav()) : 0, wav_size);
    EXPECT_FALSE(fs::exists(Mp3()));
    EXPECT_EQ(Listing(), std::vector<fs::path>{Wav().filename()});
  }

  std::vector<fs::path> Listing() const {
    std::vector<fs::path> names;
    for (const auto& e : fs::directory_iterator(base.parent_path())) {
      names.push_back(e.path().filename());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  static constexpr std::u16string_view kCode = u"-.- .. ？ ";
  static constexpr std::int32_t kSpeed = 200;

  fs::path Wav() const { return WithSuffix(base, u".wav"); }
  fs::path Mp3() const { return WithSuffix(base, u".mp3"); }

  TempDir dir;
  fs::path program;
  TestSystem system;
  fs::path base;
  std::uintmax_t wav_size = WavBytes();

 private:
  static std::uintmax_t WavBytes() {
    TempDir scratch;
    PosixSystem real;
    const WavResult wav = WriteMorseWav(real, scratch.path() / "w", kCode, 800, kSpeed);
    return 44 + 2 * wav.samples;
  }
};

TEST_F(TelegramAudioTest, WithoutAnEncoderTheWavIsTheResult) {
  const AudioOutcome o = Run();
  EXPECT_EQ(o.kind, Kind::kWavOnlyNoEncoder);
  EXPECT_TRUE(fs::exists(Wav()));
  EXPECT_FALSE(fs::exists(Mp3()));
  EXPECT_EQ(o.audio_path, Wav());
  EXPECT_TRUE(system.started.empty());
}

TEST_F(TelegramAudioTest, SuccessfulEncoderReplacesTheWav) {
  // The stand-in writes its arguments beside it so the test sees them arrive intact.
  PlaceStandIn(
      "test -f \"$1\" || exit 3\nprintf '%s\\n' \"$0\" \"$1\" \"$2\" > \"$0.args\"\n"
      "cat \"$good\" > \"$2\"\n");
  const AudioOutcome o = Run();
  EXPECT_EQ(o.kind, Kind::kMp3Written);
  EXPECT_EQ(o.audio_path, Mp3());
  EXPECT_EQ(ReadFileBytes(Mp3()), ReadFileBytes(dir.path() / "good.mp3"));
  EXPECT_EQ(Listing(), std::vector<fs::path>{Mp3().filename()});
  const std::string expected =
      (program / "lame").string() + "\n" + Wav().string() + "\n" + Mp3().string() + "\n";
  EXPECT_EQ(ReadFileBytes(program / "lame.args"), expected);
  ASSERT_EQ(system.started.size(), 1u);
  EXPECT_EQ(system.started[0].size(), 3u);
}

// Stand-ins that fail in every way seen: whatever they leave, on whatever
// file system, the user keeps the WAV, whole, and nothing that only looks
// like an MP3.
TEST_F(TelegramAudioTest, EveryFailingEncoderLeavesTheWavAndNoMp3) {
  struct Case {
    const char* name;
    const char* script;
    int exit_code;
  };
  const std::string good = GoodMp3();
  // The tail lost between two frames.
  WriteFileBytes(dir.path() / "cut.mp3", good.substr(0, good.size() * 955 / 1000 / 208 * 208));
  const Case cases[] = {
      {"no MP3", "exit 0\n", kEncoderOutputIncomplete},
      {"empty MP3", ": > \"$2\"\n", kEncoderOutputIncomplete},
      {"junk", "echo 'not audio at all' > \"$2\"\n", kEncoderOutputIncomplete},
      {"truncated", "head -c 300 \"$good\" > \"$2\"\n", kEncoderOutputIncomplete},
      {"tail cut between frames", "cat \"${good%/*}/cut.mp3\" > \"$2\"\n",
       kEncoderOutputIncomplete},
      {"exit 1", "cat \"$good\" > \"$2\"\nexit 1\n", 1},
      {"crash", "head -c 300 \"$good\" > \"$2\"\nkill -SEGV $$\n", 128 + 11},
      {"deletes the WAV, junk", "rm \"$1\"\necho junk > \"$2\"\n", kEncoderOutputIncomplete},
      {"deletes the WAV, fails", "rm \"$1\"\nexit 2\n", 2},
      {"deletes the WAV, crashes", "rm \"$1\"\nhead -c 300 \"$good\" > \"$2\"\nkill -KILL $$\n",
       128 + 9},
      {"empties the WAV, fails", ": > \"$1\"\nexit 1\n", 1},
      {"cuts the WAV in half, fails",
       "truncate -s $(( $(stat -c %s \"$1\") / 2 )) \"$1\"\nexit 1\n", 1},
      {"cuts the WAV in half, junk MP3",
       "truncate -s $(( $(stat -c %s \"$1\") / 2 )) \"$1\"\necho junk > \"$2\"\n",
       kEncoderOutputIncomplete},
      {"writes over the WAV's header, fails",
       "printf 'RIFX' | dd of=\"$1\" conv=notrunc 2>/dev/null\nexit 1\n", 1},
  };
  for (const bool links : {true, false}) {
    system.links_fail = !links;  // FAT32, exFAT
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (links ? "" : ", no hard links"));
      fs::remove(Mp3());
      PlaceStandIn(c.script);
      const AudioOutcome o = Run();
      EXPECT_EQ(o.kind, Kind::kWavOnlyEncoderFailed);
      EXPECT_EQ(o.encoder_exit_code, c.exit_code);
      ExpectOnlyTheWav(o);
    }
  }
}

TEST_F(TelegramAudioTest, AnEncoderThatDeletesTheWavButWritesAWholeMp3Succeeds) {
  PlaceStandIn("rm \"$1\"\ncat \"$good\" > \"$2\"\n");
  const AudioOutcome o = Run();
  EXPECT_EQ(o.kind, Kind::kMp3Written);
  EXPECT_EQ(Listing(), std::vector<fs::path>{Mp3().filename()});
}

// Where not even a copy fits beside the WAV, a hard link still outlives a
// deletion; with neither, an encoder may take the WAV, and then it is not
// claimed. A WAV cut short is removed rather than passed off as the recording.
TEST_F(TelegramAudioTest, WithoutACopyTheWavIsGuardedAsFarAsCanBe) {
  system.copies_fail = true;
  PlaceStandIn("rm \"$1\"\nexit 1\n");
  ExpectOnlyTheWav(Run());

  system.links_fail = true;
  const AudioOutcome lost = Run();
  EXPECT_EQ(lost.kind, Kind::kWavOnlyEncoderFailed);
  EXPECT_TRUE(lost.audio_path.empty());
  EXPECT_TRUE(Listing().empty());

  PlaceStandIn(": > \"$1\"\nexit 1\n");
  const AudioOutcome emptied = Run();
  EXPECT_TRUE(emptied.audio_path.empty());
  EXPECT_TRUE(Listing().empty()) << "an empty WAV is no recording";

  PlaceStandIn("exit 1\n");
  EXPECT_EQ(Run().audio_path, Wav()) << "an encoder that leaves it alone still leaves the WAV";
}

// Under a parent that ignores SIGCHLD the system reaps the encoder and its
// exit status is gone: even a whole-looking MP3 is not taken on a guess.
TEST_F(TelegramAudioTest, AnEncoderWhoseExitStatusIsLostNeverCountsAsSuccess) {
  const auto old = std::signal(SIGCHLD, SIG_IGN);
  PlaceStandIn("cat \"$good\" > \"$2\"\n");
  const AudioOutcome whole = Run();
  PlaceStandIn("head -c 300 \"$good\" > \"$2\"\nkill -SEGV $$\n");
  const AudioOutcome crashed = Run();
  CancelFlag never{false};
  const AudioOutcome polled = Run(&never);
  std::signal(SIGCHLD, old);
  for (const AudioOutcome& o : {whole, crashed, polled}) {
    EXPECT_EQ(o.kind, Kind::kWavOnlyEncoderFailed);
    EXPECT_EQ(o.encoder_exit_code, kEncoderStatusLost);
  }
  ExpectOnlyTheWav(polled);
}

TEST_F(TelegramAudioTest, EncoderThatCannotStartIsAFailureNotACrash) {
  PlaceEncoder("exit 0\n", fs::perms::owner_read | fs::perms::owner_write);
  const AudioOutcome o = Run();
  EXPECT_EQ(o.kind, Kind::kWavOnlyEncoderFailed);
  EXPECT_EQ(o.encoder_exit_code, -1);
  EXPECT_TRUE(fs::exists(Wav()));
}

// The encoder ran, but how it ended is unknown (the parent ignored SIGCHLD):
// that is never a success, so the WAV stays.
TEST_F(TelegramAudioTest, LostExitStatusKeepsTheWav) {
  PlaceEncoder("cp \"$1\" \"$2\"\n");
  system.process_result = ProcessResult{ProcessResult::Kind::kLost, -1};
  const AudioOutcome o = Run();
  EXPECT_EQ(o.kind, Kind::kWavOnlyEncoderFailed);
  EXPECT_EQ(o.encoder_exit_code, kEncoderStatusLost);
  EXPECT_TRUE(fs::exists(Wav()));
  EXPECT_EQ(o.audio_path, Wav());
}

TEST_F(TelegramAudioTest, EncoderIsNeverLookedForElsewhere) {
  // A "lame" in the current folder must not be used.
  const auto old = fs::current_path();
  fs::current_path(dir.path());
  WriteFileBytes(dir.path() / "lame", "#!/bin/sh\n: > \"$2\"\n");
  fs::permissions(dir.path() / "lame", fs::perms::owner_all);
  const AudioOutcome o = Run();
  fs::current_path(old);
  EXPECT_EQ(o.kind, Kind::kWavOnlyNoEncoder);
  EXPECT_TRUE(system.started.empty());
}

TEST_F(TelegramAudioTest, UnwritableWavStartsNoEncoder) {
  PlaceEncoder("exit 0\n");
  base = program / "no such folder" / "x";
  const AudioOutcome o = Run();
  EXPECT_EQ(o.kind, Kind::kFailed);
  EXPECT_EQ(o.wav_status, WavStatus::kCannotCreate);
  EXPECT_TRUE(o.audio_path.empty());
  EXPECT_TRUE(system.started.empty());

  const AudioOutcome bad_speed =
      WriteTelegramAudio(system, {u".", 800, -10, base, program}, nullptr);
  EXPECT_EQ(bad_speed.kind, Kind::kFailed);
  EXPECT_EQ(bad_speed.wav_status, WavStatus::kBadSpeed);
}

TEST_F(TelegramAudioTest, CancelEndsAHungEncoderAndKeepsTheWav) {
  PlaceStandIn("head -c 300 \"$good\" > \"$2\"\nexec sleep 60\n");
  const auto start = std::chrono::steady_clock::now();
  const AudioOutcome o = RunCancelledAfter(std::chrono::milliseconds(200));
  EXPECT_EQ(o.kind, Kind::kCancelled);
  ExpectOnlyTheWav(o);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
}

TEST_F(TelegramAudioTest, CancelBeforeTheWavIsWholeLeavesNothingAndStartsNoEncoder) {
  PlaceStandIn("cat \"$good\" > \"$2\"\n");
  CancelFlag cancel{true};
  const AudioOutcome o = Run(&cancel);
  EXPECT_EQ(o.kind, Kind::kFailed);
  EXPECT_EQ(o.wav_status, WavStatus::kCancelled);
  EXPECT_TRUE(o.audio_path.empty());
  EXPECT_TRUE(Listing().empty());
  EXPECT_TRUE(system.started.empty());
}

// A wrapper script's children go with it on cancel, even one that ignores SIGTERM.
TEST_F(TelegramAudioTest, CancelEndsEverythingTheEncoderStarted) {
  for (const char* script : {"sleep 60 &\necho $! > \"$0.child\"\nwait\n",
                             "trap '' TERM\nsleep 60 &\necho $! > \"$0.child\"\nwait\n"}) {
    SCOPED_TRACE(script);
    fs::remove(program / "lame.child");
    PlaceStandIn(script);
    const AudioOutcome o = RunCancelledAfter(std::chrono::milliseconds(300));
    EXPECT_EQ(o.kind, Kind::kCancelled);
    ExpectOnlyTheWav(o);
    std::string child = ReadFileBytes(program / "lame.child");
    ASSERT_FALSE(child.empty());
    child.pop_back();
    // The group is killed before the call returns; allow the kernel a moment.
    for (int i = 0; i < 100 && Running(child); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_FALSE(Running(child)) << "the wrapper's child " << child << " survived";
  }
}

TEST_F(TelegramAudioTest, RealEncoderWritesADecodableMp3OfTheSameLength) {
  ASSERT_TRUE(fs::exists("/usr/bin/lame")) << "scripts/bootstrap installs lame";
  fs::create_symlink("/usr/bin/lame", program / "lame");
  const AudioOutcome o =
      WriteTelegramAudio(system, {u"-.-. ？ .. --- ", 800, 100, base, program}, nullptr);
  ASSERT_EQ(o.kind, Kind::kMp3Written);
  ASSERT_TRUE(fs::exists(Mp3()));
  EXPECT_FALSE(fs::exists(Wav()));

  const fs::path decoded = program / "decoded.wav";
  PosixSystem real;
  const ProcessResult r =
      real.RunProcess({"/usr/bin/lame", "--quiet", "--decode", Mp3(), decoded}, nullptr);
  ASSERT_EQ(r.kind, ProcessResult::Kind::kExited);
  ASSERT_EQ(r.exit_code, 0);
  // The same Code text written as a plain WAV gives the length the MP3 must keep.
  const WavResult reference =
      WriteMorseWav(real, program / "reference", u"-.-. ？ .. --- ", 800, 100);
  ASSERT_EQ(reference.status, WavStatus::kWritten);
  const auto expected_samples = reference.samples;
  const double wav_seconds = static_cast<double>(expected_samples) / 44100.0;
  const double mp3_seconds = static_cast<double>(fs::file_size(decoded) - 44) / 2.0 / 44100.0;
  EXPECT_NEAR(mp3_seconds, wav_seconds, 0.1);
}

}  // namespace
}  // namespace hoshizora
