#include "platform/win32/win32_player.h"
#include "platform/win32/win32_recorder.h"

#include <gtest/gtest.h>

#include <optional>

#include "audio/wav_writer.h"
#include "support/temp_dir.h"
#include "support/test_system.h"

// After the ports: <windows.h> renames CreateFile, LoadBitmap and the like.
#include <windows.h>

namespace hoshizora {
namespace {

// Runs the thread's messages until the player reports, or a bound passes.
std::optional<bool> WaitForReport(std::optional<bool>& report) {
  for (int i = 0; i < 1000 && !report; ++i) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      DispatchMessageW(&msg);
    }
    Sleep(10);
  }
  return report;
}

// Whether Wine has a sound device or not, a playback ends with one report on
// the thread that made the player, and a stopped one with none.
TEST(Win32Player, ReportsTheEndOnItsOwnThreadAndNothingAfterStop) {
  testing::TempDir dir;
  testing::TestSystem system{dir.path() / "hoshizora.exe"};
  ASSERT_EQ(WriteMorseWav(system, dir.path() / "dit", u" .- ", 440, 200).status,
            WavStatus::kWritten);
  const auto wav = dir.path() / "dit.wav";

  Win32Player player;
  std::optional<bool> report;
  DWORD reported_on = 0;
  player.SetDoneHandler([&](bool played) {
    report = played;
    reported_on = GetCurrentThreadId();
  });
  EXPECT_FALSE(player.Play(dir.path() / "missing.wav"));
  EXPECT_FALSE(player.Play(dir.path()));

  ASSERT_TRUE(player.Play(wav));
  ASSERT_TRUE(WaitForReport(report).has_value());
  EXPECT_EQ(reported_on, GetCurrentThreadId());

  report.reset();
  ASSERT_TRUE(player.Play(wav));
  player.Stop();
  for (int i = 0; i < 20; ++i) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      DispatchMessageW(&msg);
    }
    Sleep(10);
  }
  EXPECT_FALSE(report.has_value()) << "a stopped playback is not reported";
}

// With an input device or without one (Wine often has none), a recorder
// either refuses to start or gives back mono 16-bit at its rate; stopping
// what never started gives nothing, and a second start begins afresh.
TEST(Win32Recorder, StartsCleanlyOrRefusesAndStopsOnce) {
  Win32Recorder recorder;
  EXPECT_FALSE(recorder.Stop().has_value());
  for (int round = 0; round < 2; ++round) {
    if (!recorder.Start()) {
      EXPECT_FALSE(recorder.Stop().has_value()) << "a refused start leaves nothing to stop";
      continue;
    }
    Sleep(300);
    const std::optional<Recording> taken = recorder.Stop();
    ASSERT_TRUE(taken.has_value());
    EXPECT_EQ(taken->rate, 44100);
    EXPECT_LE(taken->samples.size(), 44100u) << "a third of a second, not more than a second";
    EXPECT_FALSE(recorder.Stop().has_value());
  }
}

}  // namespace
}  // namespace hoshizora
