#include <gtest/gtest.h>

#include "audio/sample_telegram.h"
#include "audio/wav_writer.h"
#include "platform/posix/posix_system.h"
#include "support/sha256.h"
#include "support/temp_dir.h"

namespace hoshizora {
namespace {

using testing::ReadWholeFile;
using testing::TempDir;

// The checksum `sha256sum` gave for the WAV that `hoshizora-cli output` wrote
// for the sample telegram (440 Hz, 100 CPM) at kPinnedRunTime, before any
// keying option existed. With the options off, every byte must stay.
constexpr char kPinnedSampleWavSha256[] =
    "cb928ee867670881e2d0a933101901968d3e156e23f1c524ae0b9f6bc3e48868";

TEST(SampleTelegramWavTest, DefaultKeyingKeepsThePinnedBytes) {
  TempDir dir;
  PosixSystem system;
  const WavResult r =
      WriteMorseWav(system, dir.path() / "sample", testing::SampleCodeText(), 440, 100);
  ASSERT_EQ(r.status, WavStatus::kWritten);
  const std::string bytes = ReadWholeFile(dir.path() / "sample.wav");
  EXPECT_EQ(testing::Sha256Hex(bytes), kPinnedSampleWavSha256);
}

}  // namespace
}  // namespace hoshizora
