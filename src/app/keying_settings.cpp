#include "app/keying_settings.h"

#include <algorithm>
#include <string>

namespace hoshizora {
namespace {

constexpr const char* kSection = "General";

}  // namespace

int BoundRiseMs(int ms) {
  return std::clamp(ms, 0, kMaxRiseMs);
}

int BoundEffectiveCpm(int cpm, int speed) {
  if (cpm <= 0) {
    return 0;
  }
  const int bounded = std::max(cpm, kMinEffectiveCpm);
  return bounded < speed ? bounded : 0;
}

KeyingOptions BoundKeying(const KeyingOptions& keying, int speed) {
  return {.rise_ms = BoundRiseMs(keying.rise_ms),
          .effective_cpm = BoundEffectiveCpm(keying.effective_cpm, speed)};
}

KeyingOptions ReadKeyingSettings(SettingsStore& store, int speed) {
  return BoundKeying({.rise_ms = store.ReadInt(kSection, "RiseMs", 0),
                      .effective_cpm = store.ReadInt(kSection, "EffectiveCpm", 0)},
                     speed);
}

void WriteKeyingSettings(SettingsStore& store, const KeyingOptions& keying) {
  store.WriteString(kSection, "RiseMs", std::to_string(keying.rise_ms));
  store.WriteString(kSection, "EffectiveCpm", std::to_string(keying.effective_cpm));
}

}  // namespace hoshizora
