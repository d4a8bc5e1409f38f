// The audio step with the stand-in encoder, a real program started the way
// the real encoder is: what Windows runs where the shell-script stand-ins of
// telegram_audio_test.cpp cannot.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>
#include <vector>

#include "audio/telegram_audio.h"
#include "platform/paths.h"
#include "support/stand_in_encoder.h"
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

// An executable folder (with Japanese characters, a blank and what a shell
// would expand in its name) and an output base path inside it. A quote
// cannot be in a Windows file name.
#ifdef _WIN32
constexpr char16_t kProgramFolder[] = u"プログラム $dir %PATH% 'q'";
#else
constexpr char16_t kProgramFolder[] = u"プログラム $dir \"q\"";
#endif

class TelegramAudioStandInTest : public ::testing::Test {
 protected:
  TelegramAudioStandInTest()
      : program(dir.path() / kProgramFolder),
        system(program / "hoshizora"),
        base(program / u"和文電報_1 x" / u"和文電報_1 x") {
    fs::create_directories(program / u"和文電報_1 x");
  }

  // The stand-in encoder doing `mode` (see stand_in_encoder.cpp).
  fs::path PlaceEncoder(const std::string& mode) {
    return testing::PlaceStandInEncoder(program, mode);
  }

  AudioOutcome Run(const CancelFlag* cancel = nullptr) {
    return WriteTelegramAudio(system, {u"-.- .. ？ ", 800, 200, base, program}, cancel);
  }

  fs::path Wav() const { return WithSuffix(base, u".wav"); }
  fs::path Mp3() const { return WithSuffix(base, u".mp3"); }

  std::vector<fs::path> Listing() const {
    std::vector<fs::path> names;
    for (const auto& e : fs::directory_iterator(base.parent_path())) {
      names.push_back(e.path().filename());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  TempDir dir;
  fs::path program;
  TestSystem system;
  fs::path base;
};

TEST_F(TelegramAudioStandInTest, SuccessfulEncoderReplacesTheWav) {
  // The stand-in writes its arguments beside itself so the test sees them arrive intact.
  const fs::path encoder = PlaceEncoder("mp3 args");
  const AudioOutcome o = Run();
  EXPECT_EQ(o.kind, Kind::kMp3Written);
  EXPECT_EQ(o.audio_path, Mp3());
  EXPECT_EQ(Listing(), std::vector<fs::path>{Mp3().filename()});
  const auto line = [](const fs::path& p) {
    const std::u8string text = p.u8string();
    return std::string(text.begin(), text.end()) + "\n";
  };
  fs::path lines = encoder;
  lines.replace_extension(".args");
  EXPECT_EQ(ReadFileBytes(lines), line(encoder) + line(Wav()) + line(Mp3()));
  ASSERT_EQ(system.started.size(), 1u);
  EXPECT_EQ(system.started[0].size(), 3u);
}

// Whatever a failing encoder leaves, on whatever file system, the user keeps
// the WAV, whole, and nothing that only looks like an MP3.
TEST_F(TelegramAudioStandInTest, EveryFailingEncoderLeavesTheWavAndNoMp3) {
  Run();
  const std::string wav = ReadFileBytes(Wav());
  fs::remove(Wav());
  struct Case {
    const char* mode;
    int exit_code;
  };
  const Case cases[] = {
      {"exit 0", kEncoderOutputIncomplete},
      {"empty", kEncoderOutputIncomplete},
      {"junk", kEncoderOutputIncomplete},
      {"partial", 1},
      {"exit 3", 3},
      {"lose 2", 2},
      {"blank 1", 1},
      {"halve 1", 1},
      {"xing", kEncoderOutputIncomplete},
  };
  for (const bool links : {true, false}) {
    system.links_fail = !links;  // FAT32, exFAT
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.mode) + (links ? "" : ", no hard links"));
      PlaceEncoder(c.mode);
      const AudioOutcome o = Run();
      EXPECT_EQ(o.kind, Kind::kWavOnlyEncoderFailed);
      EXPECT_EQ(o.encoder_exit_code, c.exit_code);
      EXPECT_EQ(o.audio_path, Wav());
      EXPECT_EQ(Listing(), std::vector<fs::path>{Wav().filename()});
      EXPECT_TRUE(fs::exists(Wav()) && ReadFileBytes(Wav()) == wav) << "not the WAV written";
    }
  }
}

TEST_F(TelegramAudioStandInTest, EncoderThatCannotStartIsAFailureNotACrash) {
  // A file of the encoder's name that is no program it could start.
  const fs::path encoder = PlaceEncoder("exit 0");
  WriteFileBytes(encoder, "MZ, but not a program");
  const AudioOutcome o = Run();
  EXPECT_EQ(o.kind, Kind::kWavOnlyEncoderFailed);
  EXPECT_EQ(o.encoder_exit_code, kEncoderNotStarted);
  EXPECT_TRUE(fs::exists(Wav()));
}

TEST_F(TelegramAudioStandInTest, EncoderIsNeverLookedForElsewhere) {
  // An encoder in the current folder must not be used.
  const auto old = fs::current_path();
  fs::current_path(dir.path());
  testing::PlaceStandInEncoder(dir.path(), "mp3");
  const AudioOutcome o = Run();
  fs::current_path(old);
  EXPECT_EQ(o.kind, Kind::kWavOnlyNoEncoder);
  EXPECT_TRUE(system.started.empty());
}

TEST_F(TelegramAudioStandInTest, CancelEndsAHungEncoderAndKeepsTheWav) {
  PlaceEncoder("hang");
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

}  // namespace
}  // namespace hoshizora
