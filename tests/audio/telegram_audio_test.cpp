#include "audio/telegram_audio.h"

#include <gtest/gtest.h>

#include <chrono>
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
    return WriteTelegramAudio(system, {u"-.- .. ？ ", 800, 200, base, program}, cancel);
  }

  fs::path Wav() const { return WithSuffix(base, u".wav"); }
  fs::path Mp3() const { return WithSuffix(base, u".mp3"); }

  TempDir dir;
  fs::path program;
  TestSystem system;
  fs::path base;
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
  // The stand-in writes its arguments into the MP3 so the test sees them arrive intact.
  PlaceEncoder("test -f \"$1\" || exit 3\nprintf '%s\\n' \"$0\" \"$1\" \"$2\" > \"$2\"\n");
  const AudioOutcome o = Run();
  EXPECT_EQ(o.kind, Kind::kMp3Written);
  EXPECT_FALSE(fs::exists(Wav()));
  EXPECT_EQ(o.audio_path, Mp3());
  const std::string expected =
      (program / "lame").string() + "\n" + Wav().string() + "\n" + Mp3().string() + "\n";
  EXPECT_EQ(ReadFileBytes(Mp3()), expected);
  ASSERT_EQ(system.started.size(), 1u);
  EXPECT_EQ(system.started[0].size(), 3u);
}

TEST_F(TelegramAudioTest, ExitZeroWithoutAnMp3KeepsTheWav) {
  PlaceEncoder("exit 0\n");
  const AudioOutcome o = Run();
  EXPECT_EQ(o.kind, Kind::kWavOnlyEncoderFailed);
  EXPECT_EQ(o.encoder_exit_code, 0);
  EXPECT_TRUE(fs::exists(Wav()));

  PlaceEncoder(": > \"$2\"\nexit 0\n");  // an empty MP3 is no MP3
  EXPECT_EQ(Run().kind, Kind::kWavOnlyEncoderFailed);
  EXPECT_TRUE(fs::exists(Wav()));
}

TEST_F(TelegramAudioTest, FailingEncoderKeepsBothFiles) {
  PlaceEncoder("echo partial > \"$2\"\nexit 1\n");
  const AudioOutcome o = Run();
  EXPECT_EQ(o.kind, Kind::kWavOnlyEncoderFailed);
  EXPECT_EQ(o.encoder_exit_code, 1);
  EXPECT_TRUE(fs::exists(Wav()));
  EXPECT_TRUE(fs::exists(Mp3()));
  EXPECT_EQ(o.audio_path, Wav());
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
  PlaceEncoder("exec sleep 60\n");
  CancelFlag cancel{false};
  std::thread canceller([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    cancel = true;
  });
  const auto start = std::chrono::steady_clock::now();
  const AudioOutcome o = Run(&cancel);
  canceller.join();
  EXPECT_EQ(o.kind, Kind::kCancelled);
  EXPECT_TRUE(fs::exists(Wav()));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
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
