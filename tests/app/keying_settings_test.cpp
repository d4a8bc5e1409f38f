#include "app/keying_settings.h"

#include <gtest/gtest.h>

namespace hoshizora {
namespace {

TEST(KeyingSettingsTest, RiseIsMovedToItsNearerBound) {
  const std::pair<int, int> cases[] = {{-3, 0},  {0, 0},   {1, 1},   {5, 5},
                                       {20, 20}, {21, 20}, {999, 20}};
  for (const auto& [read, bounded] : cases) {
    EXPECT_EQ(BoundRiseMs(read), bounded) << read;
  }
}

TEST(KeyingSettingsTest, EffectiveSpeedLiesBelowTheKeyingSpeedOrIsOff) {
  struct Case {
    int read, speed, bounded;
  };
  const Case cases[] = {
      {0, 100, 0},  // missing or unreadable
      {-5, 100, 0},  {5, 100, 20},  {20, 100, 20}, {50, 100, 50},
      {99, 100, 99}, {100, 100, 0},  // the keying speed itself: plain spacing
      {300, 100, 0},                 // above it: moved to the speed, which is off
      {20, 20, 0},   {5, 21, 20},   {200, 200, 0}, {199, 200, 199},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BoundEffectiveCpm(c.read, c.speed), c.bounded) << c.read << " at " << c.speed;
  }
  const KeyingOptions bounded = BoundKeying({.rise_ms = 50, .effective_cpm = 60}, 50);
  EXPECT_EQ(bounded.rise_ms, 20);
  EXPECT_EQ(bounded.effective_cpm, 0) << "the speed was lowered below the effective speed";
}

}  // namespace
}  // namespace hoshizora
